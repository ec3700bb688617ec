// plenwick-dialogs: the program that shows the Linux library's dialogs. It
// runs apart from the virtual machine so that GTK is initialised once, on
// this program's own main thread, whatever toolkit the application runs.
// What it reads and answers is dialog_protocol.h's line format.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

namespace plenwick_dialogs {

// How the program ends. Only kDone follows an answer; on any other status
// the library takes the answers of a machine without a display.
enum ExitStatus {
  kDone = 0,       // answered, or the library closed a template dialog's input
  kUsage = 2,      // no kind, or a kind this program does not know
  kNoDisplay = 3,  // GTK could not open a display
  kNoShow = 4,     // the input ended before "show"
};

// A verb and its fields.
using Message = std::vector<std::string>;

// Reads standard input a line at a time, however long the line, with no
// stdio buffer in between: a template dialog hands the same descriptor to
// the main loop, which must start exactly where this reader stopped.
class LineReader {
 public:
  // Waits for a whole line; false when the input has ended and nothing is
  // left (a last line without its line break still counts).
  bool Next(std::string* line);
  // Reads once what is waiting; false at the end of the input or an error.
  bool Fill();
  // A whole line already read, if there is one.
  bool Take(std::string* line);

 private:
  std::string pending_;
};

// The messages up to "show"; false when the input ends first.
bool ReadUntilShow(LineReader& reader, std::vector<Message>* messages);

// Field i of a message, or "" / the fallback when it is missing or no number.
std::string Field(const Message& message, size_t i);
int NumberField(const Message& message, size_t i, int fallback);

// Text as GTK may show it: bytes that are no UTF-8 become U+FFFD, where
// GTK would warn and show nothing. Answers keep the bytes as they came.
std::string Shown(const std::string& text);

// Writes one answer line and flushes it at once: the library waits for it.
void Answer(const std::vector<std::string>& fields);

// A dialog template's '&' mnemonic as GTK writes it: "&&" is a literal '&'
// and a literal '_' is doubled.
std::string GtkMnemonic(const std::string& text);

// A top-level window of ours, destroyed (with all it holds) when the scope
// ends.
struct WidgetDestroy {
  void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};
using UniqueWidget = std::unique_ptr<GtkWidget, WidgetDestroy>;

int RunMessageBox(const std::vector<Message>& messages);
int RunPrintSetup(const std::vector<Message>& messages);
int RunTemplateDialog(LineReader& reader, const std::vector<Message>& messages);

}  // namespace plenwick_dialogs
