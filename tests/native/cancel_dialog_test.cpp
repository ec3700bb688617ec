#include "render/cancel_dialog.h"

#include "test_support.h"

namespace {

class CancelDialogTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    plenwick::ClearAbortFlag();
  }

  static std::string ItemText(HWND dialog, int id) {
    char text[200];
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
};

TEST_F(CancelDialogTest, CreatedFromTheTemplateWithItsOwnerAndSpoolingCaption) {
  HWND owner = reinterpret_cast<HWND>(0x4242);
  simwin::SetFocusWindow(owner);
  plenwick::CancelDialog dialog(GetFocus(), false);
  ASSERT_TRUE(dialog.Exists());
  const simwin::WindowInfo* info = simwin::FindWindowInfo(dialog.window());
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->templateName, "AbrtDlg");
  EXPECT_EQ(info->instance, plenwick::g_moduleInstance);
  EXPECT_EQ(info->owner, owner);
  EXPECT_EQ(info->caption, "Spooling");
  EXPECT_EQ(ItemText(dialog.window(), 100), "Printing...");

  dialog.SetProgressText("report.txt (page 1)");
  EXPECT_EQ(ItemText(dialog.window(), 100), "report.txt (page 1)");
}

TEST_F(CancelDialogTest, ButtonEnterAndEscapeAllAbandonTheDocument) {
  const struct {
    const char* what;
    void (*press)(HWND);
  } inputs[] = {
      {"Cancel button", [](HWND d) { simwin::PressDialogButton(d, IDCANCEL); }},
      {"OK command", [](HWND d) { simwin::PressDialogButton(d, IDOK); }},
      {"Enter", [](HWND d) { simwin::PressKey(d, VK_RETURN); }},
      {"Escape", [](HWND d) { simwin::PressKey(d, VK_ESCAPE); }},
  };
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.what);
    plenwick::ClearAbortFlag();
    plenwick::CancelDialog dialog(nullptr, false);
    ASSERT_TRUE(dialog.Exists());
    EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
    input.press(dialog.window());
    EXPECT_EQ(AbrtProc(nullptr, 0), FALSE);
    EXPECT_TRUE(plenwick::AbortRequested());
    EXPECT_EQ(simwin::QueuedMessageCount(), 0u);
    EXPECT_TRUE(simwin::DispatchedMessages().empty());  // served as dialog messages
    EXPECT_EQ(AbrtProc(nullptr, 0), FALSE);             // and it stays set
  }
}

TEST_F(CancelDialogTest, DialogProcedureAnswersOnlyInitAndCommands) {
  HWND window = reinterpret_cast<HWND>(0x77);
  for (UINT message : {WM_NULL, WM_DESTROY, WM_KEYDOWN, WM_TIMER, WM_USER}) {
    EXPECT_EQ(AbrtDlgP(window, message, 0, 0), FALSE) << message;
  }
  EXPECT_FALSE(plenwick::AbortRequested());
  EXPECT_EQ(AbrtDlgP(window, WM_INITDIALOG, 0, 0), TRUE);
  EXPECT_FALSE(plenwick::AbortRequested());
  // Only the low 16 bits of the message count.
  EXPECT_EQ(AbrtDlgP(window, 0x10000 | WM_COMMAND, 0, 0), TRUE);
  EXPECT_TRUE(plenwick::AbortRequested());
}

TEST_F(CancelDialogTest, WithoutDialogMessagesArePumpedAndPrintingGoesOn) {
  for (bool noWindows : {true, false}) {
    SCOPED_TRACE(noWindows ? "no windows" : "creation failed");
    plenwick_test::FreshMachine();
    if (!noWindows) simwin::FailNextCreateDialog();
    plenwick::CancelDialog dialog(nullptr, noWindows);
    EXPECT_FALSE(dialog.Exists());
    EXPECT_EQ(simwin::OpenHandleCount(), 0u);
    dialog.SetProgressText("report.txt (page 1)");
    PostMessageA(nullptr, WM_USER, 1, 0);
    PostMessageA(nullptr, WM_USER + 1, 2, 0);
    EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
    EXPECT_EQ(simwin::QueuedMessageCount(), 0u);
    ASSERT_EQ(simwin::DispatchedMessages().size(), 2u);
    EXPECT_EQ(simwin::DispatchedMessages()[1].message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(simwin::TranslatedMessageCount(), 2u);
  }
}

TEST_F(CancelDialogTest, OtherWindowsMessagesAreDispatchedWhileTheDialogIsUp) {
  plenwick::CancelDialog dialog(nullptr, false);
  PostMessageA(nullptr, WM_USER, 0, 0);
  PostMessageA(dialog.window(), WM_USER, 0, 0);
  EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
  ASSERT_EQ(simwin::DispatchedMessages().size(), 1u);
  EXPECT_EQ(simwin::DispatchedMessages()[0].hwnd, nullptr);
  EXPECT_EQ(simwin::QueuedMessageCount(), 0u);
}

TEST_F(CancelDialogTest, OwnerDestroysTheDialogAndTheFlagOutlivesIt) {
  size_t before = simwin::OpenHandleCount();
  HWND window;
  {
    plenwick::CancelDialog dialog(nullptr, false);
    window = dialog.window();
    EXPECT_EQ(simwin::OpenHandleCount(), before + 1);
    simwin::PressDialogButton(window, IDCANCEL);
    EXPECT_EQ(AbrtProc(nullptr, 0), FALSE);
  }
  EXPECT_EQ(simwin::OpenHandleCount(), before);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(plenwick::AbortRequested());  // cleared only when the next file starts
  plenwick::ClearAbortFlag();
  PostMessageA(nullptr, WM_USER, 0, 0);
  EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);  // the next file starts clear

  // A press that was still queued when the dialog went is gone with it.
  {
    plenwick::CancelDialog dialog(nullptr, false);
    simwin::PressDialogButton(dialog.window(), IDCANCEL);
  }
  EXPECT_EQ(AbrtProc(nullptr, 0), TRUE);
}

}  // namespace
