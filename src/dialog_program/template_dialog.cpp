// A modeless dialog made from one of the library's templates (the cancel
// window): labels and buttons one under the other, which lives while the
// library keeps the program's input open and changes its texts meanwhile.
#include <gdk/gdkkeysyms.h>
#include <glib-unix.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include "platform/linux/desktop/dialog_protocol.h"
#include "dialog_program/dialogs.h"

namespace plenwick_dialogs {
namespace {

// IDCANCEL: what Escape and closing the window send, as a Win32 dialog does.
constexpr int kIdCancel = 2;

struct TemplateDialog {
  LineReader* reader = nullptr;
  GtkWidget* window = nullptr;
  std::map<int, GtkLabel*> labels;  // by item id
  bool ready_sent = false;
};

void SendCommand(int id) { Answer({"command", std::to_string(id)}); }

// Applies a message that changes the window; false for any other.
bool Apply(TemplateDialog* dialog, const Message& message) {
  const std::string& verb = message[0];
  if (verb == "caption") {
    gtk_window_set_title(GTK_WINDOW(dialog->window), Shown(Field(message, 1)).c_str());
    return true;
  }
  if (verb != "text") return false;
  auto found = dialog->labels.find(NumberField(message, 1, -1));
  if (found == dialog->labels.end()) {
    std::fprintf(stderr, "plenwick-dialogs: no text item %s\n", Field(message, 1).c_str());
    return true;
  }
  gtk_label_set_text(found->second, Shown(Field(message, 2)).c_str());
  return true;
}

GtkWidget* ItemLabel(const std::string& text) {
  GtkWidget* label = gtk_label_new(Shown(text).c_str());
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 40);
  gtk_widget_set_halign(label, GTK_ALIGN_CENTER);
  return label;
}

void OnButtonClicked(GtkButton* button, gpointer) {
  SendCommand(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "plenwick-id")));
}

GtkWidget* ItemButton(const Message& message, GtkWindow* window) {
  GtkWidget* button = gtk_button_new_with_mnemonic(GtkMnemonic(Shown(Field(message, 2))).c_str());
  g_object_set_data(G_OBJECT(button), "plenwick-id", GINT_TO_POINTER(NumberField(message, 1, 0)));
  g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), nullptr);
  gtk_widget_set_halign(button, GTK_ALIGN_CENTER);
  gtk_widget_set_size_request(button, 88, -1);
  if (Field(message, 3) == "1") {
    gtk_widget_set_can_default(button, TRUE);
    gtk_window_set_default(window, button);
    gtk_window_set_focus(window, button);
  }
  return button;
}

// The items in the library's order: the caption as the title, each text a
// centered label, each button centered.
void Build(TemplateDialog* dialog, const std::vector<Message>& messages) {
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 14);
  gtk_container_add(GTK_CONTAINER(dialog->window), box);
  for (const Message& message : messages) {
    if (message[0] == "text") {
      GtkWidget* label = ItemLabel(Field(message, 2));
      dialog->labels[NumberField(message, 1, -1)] = GTK_LABEL(label);
      gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
    } else if (message[0] == "button") {
      gtk_box_pack_start(GTK_BOX(box), ItemButton(message, GTK_WINDOW(dialog->window)), FALSE,
                         FALSE, 0);
    } else {
      Apply(dialog, message);
    }
  }
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  SendCommand(kIdCancel);
  return TRUE;
}

// The window stays: the library ends it by closing the program's input.
gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer) {
  SendCommand(kIdCancel);
  return TRUE;
}

gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer data) {
  auto* dialog = static_cast<TemplateDialog*>(data);
  if (!dialog->ready_sent) Answer({"ready"});
  dialog->ready_sent = true;
  return FALSE;
}

// What the library sends while the window lives; the end of its input ends
// the program.
gboolean OnInput(gint, GIOCondition, gpointer data) {
  auto* dialog = static_cast<TemplateDialog*>(data);
  bool more = dialog->reader->Fill();
  std::string line;
  while (dialog->reader->Take(&line)) Apply(dialog, dialog_protocol::Fields(line));
  if (more) return G_SOURCE_CONTINUE;
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

}  // namespace

int RunTemplateDialog(LineReader& reader, const std::vector<Message>& messages) {
  TemplateDialog dialog;
  dialog.reader = &reader;
  UniqueWidget window(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  dialog.window = window.get();
  gtk_window_set_resizable(GTK_WINDOW(dialog.window), FALSE);
  gtk_window_set_position(GTK_WINDOW(dialog.window), GTK_WIN_POS_CENTER);
  Build(&dialog, messages);
  g_signal_connect(dialog.window, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
  g_signal_connect(dialog.window, "delete-event", G_CALLBACK(OnDelete), nullptr);
  g_signal_connect(dialog.window, "map-event", G_CALLBACK(OnMapped), &dialog);
  // Lines that came with "show" in the same read wait in the reader; they
  // are applied before the window first appears.
  std::string line;
  while (reader.Take(&line)) Apply(&dialog, dialog_protocol::Fields(line));
  guint watch = g_unix_fd_add(
      STDIN_FILENO, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), OnInput, &dialog);
  gtk_widget_show_all(dialog.window);
  gtk_main();
  // The watch removed itself at the end of the input; any other way out of
  // the loop leaves it to remove here, before the dialog it points to goes.
  GSource* source = g_main_context_find_source_by_id(nullptr, watch);
  if (source) g_source_destroy(source);
  return kDone;
}

}  // namespace plenwick_dialogs
