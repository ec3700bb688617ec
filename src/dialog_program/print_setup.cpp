// The Print Setup dialog: a printer of the library's list, one of that
// printer's papers and an orientation; answers the choice, or cancel.
#include <gdk/gdkkeysyms.h>

#include <map>

#include "dialog_program/dialogs.h"

namespace plenwick_dialogs {
namespace {

struct Paper {
  std::string code;
  std::string name;
};

struct Printer {
  std::string name;
  std::string description;
};

struct SetupChoices {
  std::vector<Printer> printers;
  std::map<std::string, std::vector<Paper>> papers;  // by printer name
  std::string printer;
  std::string paper;
  bool landscape = false;
};

SetupChoices ChoicesOf(const std::vector<Message>& messages) {
  SetupChoices choices;
  for (const Message& message : messages) {
    const std::string& verb = message[0];
    if (verb == "printer" && !Field(message, 1).empty()) {
      choices.printers.push_back({Field(message, 1), Field(message, 2)});
    } else if (verb == "paper" && !Field(message, 2).empty()) {
      std::string name = Field(message, 3).empty() ? Field(message, 2) : Field(message, 3);
      choices.papers[Field(message, 1)].push_back({Field(message, 2), name});
    } else if (verb == "selected") {
      choices.printer = Field(message, 1);
      choices.paper = Field(message, 2);
      choices.landscape = NumberField(message, 3, 1) == 2;
    }
  }
  return choices;
}

struct SetupDialog {
  SetupChoices choices;
  GtkWidget* dialog = nullptr;
  GtkComboBoxText* printer = nullptr;
  GtkComboBoxText* paper = nullptr;
  GtkToggleButton* landscape = nullptr;
  GtkWidget* cancel = nullptr;
  // The paper asked for, kept across printers that lack it: it comes back
  // unchanged unless the user picks another.
  std::string paper_code;
};

const Printer* ChosenPrinter(const SetupDialog& setup) {
  int index = gtk_combo_box_get_active(GTK_COMBO_BOX(setup.printer));
  if (index < 0 || static_cast<size_t>(index) >= setup.choices.printers.size()) return nullptr;
  return &setup.choices.printers[static_cast<size_t>(index)];
}

// The chosen printer's papers, on the paper kept if it has it, else its first.
void FillPapers(SetupDialog* setup) {
  gtk_combo_box_text_remove_all(setup->paper);
  const Printer* printer = ChosenPrinter(*setup);
  if (!printer) return;
  auto found = setup->choices.papers.find(printer->name);
  if (found == setup->choices.papers.end() || found->second.empty()) return;
  for (const Paper& paper : found->second)
    gtk_combo_box_text_append(setup->paper, paper.code.c_str(), Shown(paper.name).c_str());
  if (!gtk_combo_box_set_active_id(GTK_COMBO_BOX(setup->paper), setup->paper_code.c_str()))
    gtk_combo_box_set_active(GTK_COMBO_BOX(setup->paper), 0);
}

void OnPrinterChanged(GtkComboBox*, gpointer data) { FillPapers(static_cast<SetupDialog*>(data)); }

void OnPaperChanged(GtkComboBox* combo, gpointer data) {
  const char* code = gtk_combo_box_get_active_id(combo);
  // Emptied while refilled: the paper kept stays.
  if (code) static_cast<SetupDialog*>(data)->paper_code = code;
}

// Enter is OK wherever the focus is, the printer list included (whose own
// Enter would open its menu), but for a focused Cancel button.
gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer data) {
  auto* setup = static_cast<SetupDialog*>(data);
  bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter ||
               event->keyval == GDK_KEY_ISO_Enter;
  if (!enter || (event->state & gtk_accelerator_get_default_mod_mask()) != 0) return FALSE;
  if (gtk_window_get_focus(GTK_WINDOW(widget)) == setup->cancel) return FALSE;
  if (!ChosenPrinter(*setup)) return FALSE;
  gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);
  return TRUE;
}

GtkWidget* RowLabel(const char* mnemonic, GtkWidget* target) {
  GtkWidget* label = gtk_label_new_with_mnemonic(mnemonic);
  gtk_label_set_mnemonic_widget(GTK_LABEL(label), target);
  gtk_widget_set_halign(label, GTK_ALIGN_START);
  return label;
}

std::string PrinterTitle(const Printer& printer) {
  if (printer.description.empty() || printer.description == printer.name) return printer.name;
  return printer.name + " \u2014 " + printer.description;
}

GtkWidget* PrinterRows(SetupDialog* setup) {
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 8);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  GtkWidget* printer = gtk_combo_box_text_new();
  GtkWidget* paper = gtk_combo_box_text_new();
  setup->printer = GTK_COMBO_BOX_TEXT(printer);
  setup->paper = GTK_COMBO_BOX_TEXT(paper);
  gtk_widget_set_hexpand(printer, TRUE);
  gtk_grid_attach(GTK_GRID(grid), RowLabel("_Printer:", printer), 0, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), printer, 1, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), RowLabel("P_aper:", paper), 0, 1, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), paper, 1, 1, 1, 1);
  for (const Printer& each : setup->choices.printers)
    gtk_combo_box_text_append_text(setup->printer, Shown(PrinterTitle(each)).c_str());
  return grid;
}

GtkWidget* OrientationFrame(SetupDialog* setup) {
  GtkWidget* frame = gtk_frame_new("Orientation");
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(box), 6);
  GtkWidget* portrait = gtk_radio_button_new_with_mnemonic(nullptr, "Po_rtrait");
  GtkWidget* landscape =
      gtk_radio_button_new_with_mnemonic_from_widget(GTK_RADIO_BUTTON(portrait), "_Landscape");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(setup->choices.landscape ? landscape : portrait),
                               TRUE);
  setup->landscape = GTK_TOGGLE_BUTTON(landscape);
  gtk_box_pack_start(GTK_BOX(box), portrait, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), landscape, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(frame), box);
  return frame;
}

// Opens on the selected printer (the first when it is not listed) and paper.
void SelectInitial(SetupDialog* setup) {
  int index = 0;
  for (size_t i = 0; i < setup->choices.printers.size(); ++i)
    if (setup->choices.printers[i].name == setup->choices.printer) index = static_cast<int>(i);
  setup->paper_code = setup->choices.paper;
  // Watched from the start: a selected paper the printer lacks gives way
  // to the first, and that is what OK must answer.
  g_signal_connect(setup->paper, "changed", G_CALLBACK(OnPaperChanged), setup);
  g_signal_connect(setup->printer, "changed", G_CALLBACK(OnPrinterChanged), setup);
  gtk_combo_box_set_active(GTK_COMBO_BOX(setup->printer),
                           setup->choices.printers.empty() ? -1 : index);
}

}  // namespace

int RunPrintSetup(const std::vector<Message>& messages) {
  SetupDialog setup;
  setup.choices = ChoicesOf(messages);
  UniqueWidget dialog(gtk_dialog_new());
  setup.dialog = dialog.get();
  gtk_window_set_title(GTK_WINDOW(setup.dialog), "Print Setup");
  gtk_window_set_modal(GTK_WINDOW(setup.dialog), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(setup.dialog), FALSE);
  gtk_window_set_position(GTK_WINDOW(setup.dialog), GTK_WIN_POS_CENTER);

  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(setup.dialog));
  gtk_box_set_spacing(GTK_BOX(content), 12);
  gtk_container_set_border_width(GTK_CONTAINER(content), 12);
  gtk_box_pack_start(GTK_BOX(content), PrinterRows(&setup), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(content), OrientationFrame(&setup), FALSE, FALSE, 0);
  setup.cancel = gtk_dialog_add_button(GTK_DIALOG(setup.dialog), "_Cancel", GTK_RESPONSE_CANCEL);
  GtkWidget* ok = gtk_dialog_add_button(GTK_DIALOG(setup.dialog), "_OK", GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(setup.dialog), GTK_RESPONSE_OK);
  SelectInitial(&setup);
  // With no printer there is nothing to choose: only Cancel is left.
  gtk_widget_set_sensitive(ok, !setup.choices.printers.empty());
  g_signal_connect(setup.dialog, "key-press-event", G_CALLBACK(OnKeyPress), &setup);
  gtk_widget_show_all(content);
  gtk_widget_grab_focus(GTK_WIDGET(setup.printer));

  int response = gtk_dialog_run(GTK_DIALOG(setup.dialog));
  const Printer* printer = ChosenPrinter(setup);
  if (response != GTK_RESPONSE_OK || !printer) {
    Answer({"cancel"});
    return kDone;
  }
  Answer({"ok", printer->name, setup.paper_code,
          gtk_toggle_button_get_active(setup.landscape) ? "2" : "1"});
  return kDone;
}

}  // namespace plenwick_dialogs
