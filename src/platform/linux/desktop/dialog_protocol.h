// What the Linux library and its dialog program say to each other over the
// program's standard input and output. The library starts the program with
// one argument, the kind of dialog, and sends one message a line; the
// program answers the same way.
//
// A message is a verb and its fields, separated by tabs and ended by a line
// break. A field escapes a backslash, tab and line break as "\\", "\t" and
// "\n", so any text crosses whole, however long.
//
// plenwick-dialogs message: a message box, answered once.
//   library: caption <text> | text <text> | buttons <MB_ buttons value 0..6>
//            | icon <error|warning|question|information|none>
//            | default <0..3, the MB_DEFBUTTON index> | close <the answer closing the box gives>
//            | show
//   program: answer <IDOK, IDCANCEL, ... as a number>
//
// plenwick-dialogs setup: the Print Setup dialog, answered once.
//   library: printer <name> <description>  (one a destination, in the order listed)
//            | paper <printer name> <paper code> <paper name>  (the printer's papers)
//            | selected <printer name> <paper code> <orientation: 1 portrait, 2 landscape>
//            | show
//   program: ok <printer name> <paper code> <orientation> | cancel
//
// plenwick-dialogs dialog: a modeless dialog made from a template, which
// lives until the library closes the program's input.
//   library: caption <text> | text <id> <text> | button <id> <text> <1 when it is the default>
//            | show   (then, while it lives: caption <text> | text <id> <text>)
//   program: ready (once the window is up) | command <id> (a button, or Escape/closing: 2)
//
// Whatever the kind, a program that cannot open the display (or fails in
// any way) ends without answering, and the library takes its answers for a
// machine without a display. The program's exit status says why: 0 it
// answered (or a dialog's input was closed), 2 no kind it knows, 3 no
// display, 4 the input ended before "show".
#pragma once

#include <string>
#include <vector>

namespace dialog_protocol {

// The name the program is installed under, beside the library.
constexpr char kProgramName[] = "plenwick-dialogs";

// A line of the verb and fields, escaped, with its line break.
std::string Line(const std::vector<std::string>& fields);
// The verb and fields of a line (with or without its line break).
std::vector<std::string> Fields(const std::string& line);

}  // namespace dialog_protocol
