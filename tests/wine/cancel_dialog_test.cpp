// The cancel dialog on the real Windows API: the template in the DLL's
// resources, its exported procedures, and the library's own dialog code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

struct Item {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  std::string className;  // #128 button, #130 static
  std::string text;
  bool operator==(const Item& o) const {
    return style == o.style && x == o.x && y == o.y && cx == o.cx && cy == o.cy && id == o.id &&
           className == o.className && text == o.text;
  }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
  return out << item.text << " id " << item.id << " " << item.className << " style " << std::hex
             << item.style << std::dec << " at " << item.x << "," << item.y << " " << item.cx
             << "x" << item.cy;
}

TEST(WineCancelDialog, DllTemplateIsLaidOutInDialogUnits) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr);
  HRSRC found = FindResourceA(dll, "AbrtDlg", RT_DIALOG);
  ASSERT_NE(found, nullptr);
  TemplateReader in(static_cast<const BYTE*>(LockResource(LoadResource(dll, found))));

  EXPECT_EQ(in.Dword(), static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME |
                                           DS_SETFONT));  // and no system menu
  EXPECT_EQ(in.Dword(), 0u);
  WORD items = in.Word();
  short frame[4];
  for (short& value : frame) value = static_cast<short>(in.Word());
  EXPECT_EQ(std::vector<short>(frame, frame + 4), (std::vector<short>{89, 42, 137, 72}));
  EXPECT_EQ(in.Text(), "");  // no menu
  EXPECT_EQ(in.Text(), "");  // the standard dialog class
  EXPECT_EQ(in.Text(), "Spooling...");
  EXPECT_EQ(in.Word(), 8);
  EXPECT_EQ(in.Text(), "System");

  const DWORD child = WS_CHILD | WS_VISIBLE;
  const std::vector<Item> expected{
      {child | SS_CENTER | WS_GROUP, 4, 4, 124, 8, 100, "#130", "Printing..."},
      {child | SS_CENTER | WS_GROUP, 16, 14, 102, 10, 0xFFFF, "#130", "Press to cancel job"},
      {child | BS_DEFPUSHBUTTON | WS_TABSTOP, 51, 31, 28, 16, IDCANCEL, "#128", "&Cancel"},
      {child | SS_LEFT | WS_GROUP, 48, 55, 41, 8, 0xFFFF, "#130", "Plenwick 2.5"},
  };
  ASSERT_EQ(items, expected.size());
  for (const Item& want : expected) {
    in.AlignToDword();
    Item item{};
    item.style = in.Dword();
    in.Dword();  // extended style
    item.x = static_cast<short>(in.Word());
    item.y = static_cast<short>(in.Word());
    item.cx = static_cast<short>(in.Word());
    item.cy = static_cast<short>(in.Word());
    item.id = in.Word();
    item.className = in.Text();
    item.text = in.Text();
    EXPECT_EQ(in.Word(), 0);  // no creation data
    EXPECT_EQ(item, want);
  }
}

// The DLL's exported procedures, as a host that makes the dialog itself
// would use them. The abort flag lives inside the DLL: it is clear until
// the command arrives, and this test is the only one that sets it.
TEST(WineCancelDialog, ExportedProceduresServeTheDllDialog) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr);
  auto dialogProc = reinterpret_cast<DialogProc>(reinterpret_cast<void*>(GetProcAddress(dll, "AbrtDlgP")));
  auto abortProc = reinterpret_cast<AbortProcFn>(reinterpret_cast<void*>(GetProcAddress(dll, "AbrtProc")));
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
