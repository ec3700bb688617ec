// The message box: the caption, the text, an icon and the buttons of the
// Win32 MB_ value, answering the Win32 id of the button pressed.
#include <algorithm>
#include <cstdio>

#include "dialog_program/dialogs.h"

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
    case 1:
      return {{"_OK", kIdOk}, {"_Cancel", kIdCancel}};
    case 2:
      return {{"_Abort", 3}, {"_Retry", 4}, {"_Ignore", 5}};
    case 3:
      return {{"_Yes", 6}, {"_No", 7}, {"_Cancel", kIdCancel}};
    case 4:
      return {{"_Yes", 6}, {"_No", 7}};
    case 5:
      return {{"_Retry", 4}, {"_Cancel", kIdCancel}};
    case 6:
      return {{"_Cancel", kIdCancel}, {"_Try Again", 10}, {"_Continue", 11}};
    default:
      if (value != 0)
        std::fprintf(stderr, "plenwick-dialogs: buttons %d unknown, OK shown\n", value);
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
  GtkWidget* row =
      gtk_widget_get_parent(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog)));
  if (!name || !GTK_IS_BOX(row)) return;
  GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
  gtk_widget_set_valign(image, GTK_ALIGN_START);
  gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
  gtk_box_reorder_child(GTK_BOX(row), image, 0);
  gtk_widget_show(image);
}

// The tallest the text may make the box: half the screen, so the buttons of
// a box with a long text stay on it; the rest of the text scrolls.
int MaxTextHeight() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return 400;
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  return std::max(200, area.height / 2);
}

constexpr int kTextChars = 60;

// Characters in the longest line of the text.
int LongestLine(const std::string& text) {
  long longest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find('\n', start), text.size());
    longest =
        std::max(longest, g_utf8_strlen(text.data() + start, static_cast<gssize>(end - start)));
    start = end + 1;
  }
  return static_cast<int>(std::min<long>(longest, kTextChars));
}

// The text in a scrolled window of its natural height up to MaxTextHeight,
// in place of the box's own label, which would grow past the screen.
void AddText(GtkWidget* dialog, const std::string& text) {
  GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
  GList* children = gtk_container_get_children(GTK_CONTAINER(area));
  for (GList* child = children; child; child = child->next)
    gtk_widget_hide(GTK_WIDGET(child->data));
  g_list_free(children);
  GtkWidget* label = gtk_label_new(Shown(text).c_str());
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  // A word longer than the line (a path, a run of one character) breaks too.
  gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
  // A width of its own: left to find one, GTK measures a wrapped label at
  // one width after another, which takes half a minute for a long word.
  int width = std::min(kTextChars, LongestLine(text));
  gtk_label_set_width_chars(GTK_LABEL(label), width);
  gtk_label_set_max_width_chars(GTK_LABEL(label), width);
  gtk_label_set_xalign(GTK_LABEL(label), 0);
  gtk_label_set_yalign(GTK_LABEL(label), 0);
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_propagate_natural_width(GTK_SCROLLED_WINDOW(scroller), TRUE);
  gtk_scrolled_window_set_propagate_natural_height(GTK_SCROLLED_WINDOW(scroller), TRUE);
  gtk_scrolled_window_set_max_content_height(GTK_SCROLLED_WINDOW(scroller), MaxTextHeight());
  gtk_container_add(GTK_CONTAINER(scroller), label);
  gtk_box_pack_start(GTK_BOX(area), scroller, TRUE, TRUE, 0);
  gtk_widget_show_all(scroller);
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
    if (verb == "caption")
      settings.caption = Field(message, 1);
    else if (verb == "text")
      settings.text = Field(message, 1);
    else if (verb == "icon")
      settings.icon = Field(message, 1);
    else if (verb == "buttons")
      settings.buttons = NumberField(message, 1, 0);
    else if (verb == "default")
      settings.default_index = NumberField(message, 1, 0);
    else if (verb == "close")
      settings.close_answer = NumberField(message, 1, -1);
  }
  return settings;
}

}  // namespace

int RunMessageBox(const std::vector<Message>& messages) {
  MessageBoxSettings settings = SettingsOf(messages);
  std::vector<Button> buttons = ButtonsOf(settings.buttons);
  int close_answer = settings.close_answer >= 0 ? settings.close_answer : CloseAnswerOf(buttons);
  UniqueWidget dialog(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, TypeOf(settings.icon),
                                             GTK_BUTTONS_NONE, nullptr));
  AddText(dialog.get(), settings.text);
  gtk_window_set_title(GTK_WINDOW(dialog.get()), Shown(settings.caption).c_str());
  gtk_window_set_position(GTK_WINDOW(dialog.get()), GTK_WIN_POS_CENTER);
  AddIcon(dialog.get(), settings.icon);
  for (const Button& button : buttons)
    gtk_dialog_add_button(GTK_DIALOG(dialog.get()), button.label, button.id);
  // MB_DEFBUTTON2 on a one-button box means that one button, as on Windows.
  size_t chosen =
      settings.default_index >= 0 && static_cast<size_t>(settings.default_index) < buttons.size()
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
