// The cancel dialog on the real Windows API: the template in the DLL's
// resources, its exported procedures, and the library's own dialog code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/win32.h"
#include "render/cancel_dialog.h"

namespace {

typedef INT_PTR(CALLBACK* DialogProc)(HWND, UINT, WPARAM, LPARAM);
typedef BOOL(CALLBACK* AbortProcFn)(HDC, int);

std::string WindowText(HWND window) {
  char text[200] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ItemText(HWND dialog, int id) {
  char text[200] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// Reads a dialog template as the resource compiler laid it out.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : base_(data), at_(data) {}
  WORD Word() {
    WORD value = static_cast<WORD>(at_[0] | (at_[1] << 8));
    at_ += 2;
    return value;
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  // A text or an ordinal (written "#n"); the templates hold ASCII only.
  std::string Text() {
    WORD first = Word();
    if (first == 0xFFFF) return "#" + std::to_string(Word());
    std::string text;
    for (WORD c = first; c != 0; c = Word()) text += static_cast<char>(c);
    return text;
  }
  void AlignToDword() {
    while ((at_ - base_) % 4) ++at_;
  }

 private:
  const BYTE* base_;
  const BYTE* at_;
};

// One item or the frame of a template, as one comparable line.
std::string Describe(DWORD style, const short box[4], int id, const std::string& cls,
                     const std::string& text) {
  char line[200];
  snprintf(line, sizeof line, "%s id %d class %s style %08lx at %d,%d size %dx%d", text.c_str(), id,
           cls.c_str(), static_cast<unsigned long>(style), box[0], box[1], box[2], box[3]);
  return line;
}

std::string ReadItem(TemplateReader& in) {
  in.AlignToDword();
  DWORD style = in.Dword();
  in.Dword();  // extended style
  short box[4];
  for (short& value : box) value = static_cast<short>(in.Word());
  int id = static_cast<short>(in.Word());
  std::string cls = in.Text();
  std::string text = in.Text();
  return in.Word() == 0 ? Describe(style, box, id, cls, text) : "creation data on " + text;
}

TEST(WineCancelDialog, DllTemplateIsLaidOutInDialogUnits) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr);
  HRSRC found = FindResourceA(dll, "AbrtDlg", RT_DIALOG);
  ASSERT_NE(found, nullptr);
  TemplateReader in(static_cast<const BYTE*>(LockResource(LoadResource(dll, found))));

  DWORD style = in.Dword();
  in.Dword();  // extended style
  WORD items = in.Word();
  short box[4];
  for (short& value : box) value = static_cast<short>(in.Word());
  std::string menu = in.Text(), cls = in.Text(), caption = in.Text();
  EXPECT_EQ(menu + cls, "");  // no menu, the standard dialog class
  const short frame[4] = {89, 42, 137, 72};
  // Pop-up, visible, caption, modal frame and no system menu.
  EXPECT_EQ(Describe(style, box, 0, "", caption),
            Describe(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, frame, 0, "",
                     "Spooling..."));
  EXPECT_EQ(in.Word(), 8);
  EXPECT_EQ(in.Text(), "System");

  const DWORD text = WS_CHILD | WS_VISIBLE | WS_GROUP;
  const short progress[4] = {4, 4, 124, 8}, hint[4] = {16, 14, 102, 10},
              button[4] = {51, 31, 28, 16}, version[4] = {48, 55, 41, 8};
  const std::string expected[] = {
      Describe(text | SS_CENTER, progress, 100, "#130", "Printing..."),
      Describe(text | SS_CENTER, hint, -1, "#130", "Press to cancel job"),
      Describe(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, button, IDCANCEL, "#128",
               "&Cancel"),
      Describe(text | SS_LEFT, version, -1, "#130", "Plenwick 2.5"),
  };
  ASSERT_EQ(items, 4);
  for (const std::string& item : expected) EXPECT_EQ(ReadItem(in), item);
}

// The DLL's exported procedures, as a host that makes the dialog itself
// would use them. The abort flag lives inside the DLL: it is clear until
// the command arrives, and this test is the only one that sets it.
TEST(WineCancelDialog, ExportedProceduresServeTheDllDialog) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr);
  auto dialogProc =
      reinterpret_cast<DialogProc>(reinterpret_cast<void*>(GetProcAddress(dll, "AbrtDlgP")));
  auto abortProc =
      reinterpret_cast<AbortProcFn>(reinterpret_cast<void*>(GetProcAddress(dll, "AbrtProc")));
  ASSERT_NE(dialogProc, nullptr);
  ASSERT_NE(abortProc, nullptr);
  EXPECT_EQ(abortProc(nullptr, 0), TRUE);  // no dialog yet: printing goes on

  HWND dialog = CreateDialogParamA(dll, "AbrtDlg", nullptr, dialogProc, 0);
  ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
  EXPECT_EQ(WindowText(dialog), "Spooling");
  EXPECT_EQ(ItemText(dialog, 100), "Printing...");
  EXPECT_EQ(abortProc(nullptr, 0), TRUE);
  ASSERT_TRUE(PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
  EXPECT_EQ(abortProc(nullptr, 0), FALSE);
  EXPECT_EQ(abortProc(nullptr, 0), FALSE);
  EXPECT_TRUE(DestroyWindow(dialog));
}

// The library's own code (linked into this program) on the DLL's template:
// the Cancel button, Enter and Escape all abandon the document.
TEST(WineCancelDialog, LibraryDialogIsMadeShownAndDestroyed) {
  plenwick::g_moduleInstance = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(plenwick::g_moduleInstance, nullptr);
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
  } inputs[] = {{"Cancel button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
                {"Enter", WM_KEYDOWN, VK_RETURN},
                {"Escape", WM_KEYDOWN, VK_ESCAPE}};
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.what);
    plenwick::ClearAbortFlag();
    HWND window;
    {
      plenwick::CancelDialog dialog(GetFocus(), false);
      ASSERT_TRUE(dialog.Exists()) << "error " << GetLastError();
      window = dialog.window();
      EXPECT_EQ(WindowText(window), "Spooling");
      dialog.SetProgressText("report.txt (page 1)");
      EXPECT_EQ(ItemText(window, 100), "report.txt (page 1)");
      EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
      ASSERT_TRUE(PostMessageA(window, input.message, input.wParam, 0));
      EXPECT_EQ(AbrtProc(nullptr, 0), FALSE);
    }
    EXPECT_FALSE(IsWindow(window));
  }
}

TEST(WineCancelDialog, TemplateMissingFromTheModuleLeavesNoDialog) {
  plenwick::g_moduleInstance = GetModuleHandleA(nullptr);  // this program has no such template
  plenwick::ClearAbortFlag();
  plenwick::CancelDialog dialog(nullptr, false);
  EXPECT_FALSE(dialog.Exists());
  dialog.SetProgressText("report.txt (page 1)");
  EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
}

}  // namespace
