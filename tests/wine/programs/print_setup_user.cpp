// Plays a user of the host application against PLENWICKDLL.dll, all in one
// process so that the printer selection lasts from step to step: opens Print
// Setup through the setup method and answers the real dialog from another
// thread as a user would (picks a printer, an orientation, a paper size,
// presses OK or Cancel), asks for the printer name, runs print requests.
//
//   print_setup_user.exe TRANSCRIPT STEP...
//
//   name            the printer-name method
//   cancel          Print Setup, answered with Cancel
//   ok[:printer=NAME][:landscape|:portrait][:paper=CODE][:hold]
//                   Print Setup with these choices, answered with OK. With
//                   hold, once the choices are made it writes TRANSCRIPT.ready
//                   and waits for TRANSCRIPT.stop before pressing OK, so that
//                   the dialog can be looked at.
//   print ARG...    a print request of these space-separated arguments
//
// Each step appends one line to TRANSCRIPT (a file, since a program inside
// Wine's virtual desktop has no console to write to), for example
//   setup: opened on PDF, portrait, A4 (9); chose PDF2, landscape, A4 (9); returned true
// The last line says whether the library gave back every JNI string it
// took ("end: JNI balanced"). Exits non-zero when a step could not be
// carried out or the library misused a JNI string.
#include <jni.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../../support/fake_jni.h"
#include "../plenwick_dll.h"
#include "platform/win32.h"
// after the platform include: it needs the Windows types
#include <dlgs.h>

namespace {

using plenwick_test::FakeJni;
using plenwick_test::PlenwickDll;

// The Print Setup dialog's printer list, orientation buttons and paper list.
const int kPrinterList = cmb1;
const int kPaperList = cmb2;
const int kPortrait = rad1;
const int kLandscape = rad2;

struct Choices {
  std::string printer;  // empty: keep the one the dialog opens on
  int orientation = 0;  // kPortrait, kLandscape or 0 to keep
  int paper = 0;        // a DMPAPER_ code, 0 to keep
  bool press_ok = false;
  bool hold = false;
};

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SelectedText(HWND combo) {
  LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return "(none)";
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return "(none)";
  std::vector<char> text(static_cast<size_t>(length) + 1);
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

// "PDF2, landscape, Letter (1)": what the dialog shows now.
std::string Describe(HWND dialog) {
  HWND paper = GetDlgItem(dialog, kPaperList);
  LRESULT index = SendMessageA(paper, CB_GETCURSEL, 0, 0);
  LRESULT code = index == CB_ERR ? 0 : SendMessageA(paper, CB_GETITEMDATA, index, 0);
  return SelectedText(GetDlgItem(dialog, kPrinterList)) + ", " +
         (IsDlgButtonChecked(dialog, kLandscape) == BST_CHECKED ? "landscape" : "portrait") + ", " +
         SelectedText(paper) + " (" + std::to_string(code) + ")";
}

// Makes the list show this entry and tells the dialog, as a user's pick does.
bool Pick(HWND dialog, int id, LRESULT index) {
  HWND combo = GetDlgItem(dialog, id);
  if (index < 0 || SendMessageA(combo, CB_SETCURSEL, index, 0) == CB_ERR) return false;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return true;
}

LRESULT PaperIndex(HWND dialog, int code) {
  HWND combo = GetDlgItem(dialog, kPaperList);
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageA(combo, CB_GETITEMDATA, i, 0) == code) return i;
  }
  return CB_ERR;
}

// The dialog once it is shown with its printer list filled (about thirty
// seconds at most), or null.
HWND WaitForDialog() {
  for (int tries = 0; tries < 600; ++tries, Sleep(50)) {
    HWND dialog = FindWindowA(nullptr, "Print Setup");
    if (dialog && IsWindowVisible(dialog) &&
        SendDlgItemMessageA(dialog, kPrinterList, CB_GETCURSEL, 0, 0) != CB_ERR) {
      return dialog;
    }
  }
  return nullptr;
}

// Answers the dialog; report receives what it showed and what was chosen.
// Anything that cannot be chosen ends the dialog with Cancel.
void AnswerDialog(const Choices& choices, const std::string& transcript, std::string* report) {
  HWND dialog = WaitForDialog();
  if (!dialog) {
    *report = "no dialog";
    return;
  }
  *report = "opened on " + Describe(dialog);
  bool chosen = true;
  if (choices.press_ok) {
    if (!choices.printer.empty()) {
      chosen = Pick(
          dialog, kPrinterList,
          SendDlgItemMessageA(dialog, kPrinterList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(choices.printer.c_str())));
    }
    if (chosen && choices.orientation) {
      SendDlgItemMessageA(dialog, choices.orientation, BM_CLICK, 0, 0);
    }
    if (chosen && choices.paper)
      chosen = Pick(dialog, kPaperList, PaperIndex(dialog, choices.paper));
    *report += chosen ? "; chose " + Describe(dialog) : "; could not choose, cancelled";
  } else {
    *report += "; cancelled";
  }
  if (chosen && choices.hold) {
    FILE* ready = fopen((transcript + ".ready").c_str(), "w");
    if (ready) fclose(ready);
    for (int tries = 0; tries < 1200 && !FileExists(transcript + ".stop"); ++tries) Sleep(50);
  }
  WPARAM button = chosen && choices.press_ok ? IDOK : IDCANCEL;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, static_cast<int>(button))));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

bool ParseSetup(const std::string& step, Choices* choices) {
  std::vector<std::string> parts = Split(step, ':');
  if (parts.empty() || (parts[0] != "ok" && parts[0] != "cancel")) return false;
  choices->press_ok = parts[0] == "ok";
  for (size_t i = 1; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.rfind("printer=", 0) == 0) {
      choices->printer = part.substr(8);
    } else if (part == "landscape" || part == "portrait") {
      choices->orientation = part == "landscape" ? kLandscape : kPortrait;
    } else if (part.rfind("paper=", 0) == 0) {
      choices->paper = atoi(part.c_str() + 6);
    } else if (part == "hold") {
      choices->hold = true;
    } else {
      return false;
    }
  }
  return true;
}

class User {
 public:
  User(const PlenwickDll& dll, std::string transcript)
      : dll_(dll), transcript_(std::move(transcript)) {}

  bool Run(const std::string& step) {
    Choices choices;
    if (step == "name") return Write("name: " + jni_.Text(dll_.get_printer_name(env_, nullptr)));
    if (step.rfind("print ", 0) == 0) return Print(Split(step.substr(6), ' '), step);
    if (ParseSetup(step, &choices)) return Setup(choices);
    Write("unknown step: " + step);
    return false;
  }

  // Writes the closing line; false when the library misused a JNI string.
  bool End() {
    bool balanced = jni_.Faults().empty() && jni_.Unbalanced().empty();
    Write(balanced ? "end: JNI balanced" : "end: JNI misused");
    return balanced;
  }

 private:
  bool Setup(const Choices& choices) {
    std::string report;
    std::thread answering(AnswerDialog, choices, transcript_, &report);
    jboolean confirmed = dll_.plenwick_setup(env_, nullptr);
    answering.join();
    Write("setup: " + report + "; returned " + (confirmed ? "true" : "false"));
    return report.find("opened on") == 0 && report.find("could not") == std::string::npos;
  }

  bool Print(const std::vector<std::string>& args, const std::string& step) {
    std::vector<jstring> strings;
    for (const std::string& arg : args) strings.push_back(jni_.String(arg));
    jboolean result = dll_.plenwick(env_, nullptr, jni_.Array(strings));
    return Write(step + ": returned " + (result ? "true" : "false"));
  }

  bool Write(const std::string& line) {
    FILE* file = fopen(transcript_.c_str(), "ab");
    if (!file) return false;
    fprintf(file, "%s\n", line.c_str());
    return fclose(file) == 0;
  }

  const PlenwickDll& dll_;
  std::string transcript_;
  FakeJni jni_{true};
  JNIEnv* env_ = jni_.env();
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: print_setup_user TRANSCRIPT STEP...\n");
    return 2;
  }
  const PlenwickDll* dll = PlenwickDll::Get();
  if (!dll) {
    fprintf(stderr, "cannot load PLENWICKDLL.dll or one of its entry points\n");
    return 2;
  }
  User user(*dll, argv[1]);
  bool ok = true;
  for (int i = 2; i < argc; ++i) ok = user.Run(argv[i]) && ok;
  return user.End() && ok ? 0 : 1;
}
