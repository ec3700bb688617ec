// The message box: the caption, the text, an icon and the buttons of the
// Win32 MB_ value, answering the Win32 id of the button pressed.
#include <cstdio>

#include "platform/linux/desktop/program/dialogs.h"

namespace plenwick_dialogs {
namespace {

struct Button {
  const char* label;
  int id;  // IDOK, IDCANCEL, ...
};

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// The buttons of MB_OK .. MB_CANCELTRYCONTINUE, in the order Windows shows them.
std::vector<Button> ButtonsOf(int value) {
  switch (value) {
    case 1: return {{"_OK", kIdOk}, {"_Cancel", kIdCancel}};
    case 2: return {{"_Abort", 3}, {"_Retry", 4}, {"_Ignore", 5}};
    case 3: return {{"_Yes", 6}, {"_No", 7}, {"_Cancel", kIdCancel}};
    case 4: return {{"_Yes", 6}, {"_No", 7}};
    case 5: return {{"_Retry", 4}, {"_Cancel", kIdCancel}};
    case 6: return {{"_Cancel", kIdCancel}, {"_Try Again", 10}, {"_Continue", 11}};
    default:
      if (value != 0) std::fprintf(stderr, "plenwick-dialogs: buttons %d unknown, OK shown\n", value);
      return {{"_OK", kIdOk}};
  }
}

GtkMessageType TypeOf(const std::string& icon) {
  if (icon == "error") return GTK_MESSAGE_ERROR;
  if (icon == "warning") return GTK_MESSAGE_WARNING;
  if (icon == "question") return GTK_MESSAGE_QUESTION;
  if (icon == "information") return GTK_MESSAGE_INFO;
  return GTK_MESSAGE_OTHER;
}

// What closing the box answers when the library does not say: Cancel where
// there is one, as on Windows, else the last button (OK, No, Ignore).
int CloseAnswerOf(const std::vector<Button>& buttons) {
  for (const Button& button : buttons)
    if (button.id == kIdCancel) return kIdCancel;
  return buttons.back().id;
}

const char* IconNameOf(const std::string& icon) {
  if (icon == "error") return "dialog-error";
  if (icon == "warning") return "dialog-warning";
  if (icon == "question") return "dialog-question";
  if (icon == "information") return "dialog-information";
  return nullptr;
}

// GTK 3 message boxes show no picture of their type; a Windows user looks
// for the stop sign or the exclamation mark, so it goes left of the text.
void AddIcon(GtkWidget* dialog, const std::string& icon) {
  const char* name = IconNameOf(icon);
  GtkWidget* row = gtk_widget_get_parent(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog)));
  if (!name || !GTK_IS_BOX(row)) return;
  GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
  gtk_widget_set_valign(image, GTK_ALIGN_START);
  gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
  gtk_box_reorder_child(GTK_BOX(row), image, 0);
  gtk_widget_show(image);
}

struct MessageBoxSettings {
  std::string caption;
  std::string text;
  std::string icon;
  int buttons = 0;
  int default_index = 0;
  int close_answer = -1;  // none given
};

MessageBoxSettings SettingsOf(const std::vector<Message>& messages) {
  MessageBoxSettings settings;
  for (const Message& message : messages) {
    const std::string& verb = message[0];
    if (verb == "caption") settings.caption = Field(message, 1);
    else if (verb == "text") settings.text = Field(message, 1);
    else if (verb == "icon") settings.icon = Field(message, 1);
    else if (verb == "buttons") settings.buttons = NumberField(message, 1, 0);
    else if (verb == "default") settings.default_index = NumberField(message, 1, 0);
    else if (verb == "close") settings.close_answer = NumberField(message, 1, -1);
  }
  return settings;
}

}  // namespace

int RunMessageBox(const std::vector<Message>& messages) {
  MessageBoxSettings settings = SettingsOf(messages);
  std::vector<Button> buttons = ButtonsOf(settings.buttons);
  int close_answer = settings.close_answer >= 0 ? settings.close_answer : CloseAnswerOf(buttons);
  // The text goes in as an argument, never as a format: a '%' in it is text.
  UniqueWidget dialog(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, TypeOf(settings.icon),
                                             GTK_BUTTONS_NONE, "%s", settings.text.c_str()));
  gtk_window_set_title(GTK_WINDOW(dialog.get()), settings.caption.c_str());
  gtk_window_set_position(GTK_WINDOW(dialog.get()), GTK_WIN_POS_CENTER);
  AddIcon(dialog.get(), settings.icon);
  for (const Button& button : buttons) gtk_dialog_add_button(GTK_DIALOG(dialog.get()), button.label, button.id);
  // MB_DEFBUTTON2 on a one-button box means that one button, as on Windows.
  size_t chosen = settings.default_index >= 0 && static_cast<size_t>(settings.default_index) < buttons.size()
                      ? static_cast<size_t>(settings.default_index)
                      : 0;
  int default_id = buttons[chosen].id;
  gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), default_id);
  gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog.get()), default_id));
  // Every button's response is its Win32 id (all positive); Escape and
  // closing give GTK's own negative responses.
  int response = gtk_dialog_run(GTK_DIALOG(dialog.get()));
  Answer({"answer", std::to_string(response > 0 ? response : close_answer)});
  return kDone;
}

}  // namespace plenwick_dialogs
