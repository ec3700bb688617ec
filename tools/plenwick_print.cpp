// plenwick_print: prints report files through PLENWICKDLL.dll from a
// console, the way the Java side does. It loads the DLL, finds the print
// method by its export name (decorated on 32-bit Windows, plain on 64-bit
// Windows) and calls it with a String[] of its arguments, through a JNI
// environment of its own (host_jni.h).
//
//   plenwick_print [OPTIONS] REPORT...
//
// Exits 0 when the request ran and every string was given back, 1 when the
// library misused a string or a reference, 2 when the DLL cannot be used.
// PLENWICK_ANSWER="CAPTION=retry" (or =cancel, =ok) answers the message box
// with that caption when it comes, for runs without a user, and prints what
// it said as a line "box CAPTION: TEXT".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "answer_box.h"
#include "dll_loader.h"
#include "host_jni.h"
#include "platform/win32.h"

namespace {

const char kUsage[] =
    "Usage: plenwick_print [OPTIONS] REPORT...\n"
    "Prints report files through PLENWICKDLL.dll (beside this program or on\n"
    "the DLL search path) on the selected Windows printer, as the Java side\n"
    "calls it. The arguments are the print request, exactly as the Java side\n"
    "passes them: options introduced by '-' or '/' (-copies=2,\n"
    "-orientation=landscape, -point=9, -printer_id=NAME, -disposition=scratch,\n"
    "...) and report file names.\n"
    "\n"
    "  --help   this text\n"
    "\n"
    "PLENWICK_ANSWER=\"CAPTION=retry|cancel|ok\" answers the message box with\n"
    "that caption; PLENWICK_DEBUG=FILE writes the library's log to FILE.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || strcmp(argv[1], "--help") == 0) {
    fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  plenwick_host::PlenwickDll dll;
  if (!dll.Loaded()) {
    fprintf(stderr, "%s\n", dll.Problem().c_str());
    return 2;
  }

  plenwick_host::HostJni jni(argc - 1, argv + 1);
  std::string caption, boxText;
  std::thread answering = plenwick_host::AnswerAsAsked(&caption, &boxText);
  jboolean result = dll.plenwick(jni.env(), nullptr, jni.arguments());
  if (answering.joinable()) {
    answering.join();
    printf("box %s: %s\n", caption.c_str(), boxText.c_str());
  }
  if (!jni.Balanced()) fprintf(stderr, "JNI misuse: %s\n", jni.Counts().c_str());
  return result == JNI_TRUE && jni.Balanced() ? 0 : 1;
}
