// plenwick_print: prints report files through PLENWICKDLL.dll from a
// console, the way the Java side does. It loads the DLL, finds the print
// method by its decorated export name and calls it with a String[] of its
// arguments, through a JNI environment of its own (host_jni.h).
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

typedef jboolean(JNICALL* PrintMethod)(JNIEnv*, jclass, jobjectArray);

// Starts the answering thread that PLENWICK_ANSWER asks for.
std::thread StartAnswering(std::string* caption, std::string* text) {
  const char* request = getenv("PLENWICK_ANSWER");
  const char* equals = request ? strchr(request, '=') : nullptr;
  if (!equals) return std::thread();
  *caption = std::string(request, static_cast<size_t>(equals - request));
  std::string answer = equals + 1;
  WPARAM button = answer == "cancel" ? IDCANCEL : answer == "retry" ? IDRETRY : IDOK;
  return plenwick_host::AnswerBox(caption->c_str(), button, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || strcmp(argv[1], "--help") == 0) {
    fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  if (!dll) {
    fprintf(stderr, "cannot load PLENWICKDLL.dll: error %lu\n", GetLastError());
    return 2;
  }
  auto print = reinterpret_cast<PrintMethod>(
      reinterpret_cast<void*>(GetProcAddress(dll, "_Java_doc_NativeWindows_plenwick@12")));
  if (!print) {
    fprintf(stderr, "PLENWICKDLL.dll does not export the print method\n");
    return 2;
  }

  plenwick_host::HostJni jni(argc - 1, argv + 1);
  std::string caption, boxText;
  std::thread answering = StartAnswering(&caption, &boxText);
  jboolean result = print(jni.env(), nullptr, jni.arguments());
  if (answering.joinable()) {
    answering.join();
    printf("box %s: %s\n", caption.c_str(), boxText.c_str());
  }
  if (!jni.Balanced()) fprintf(stderr, "JNI misuse: %s\n", jni.Counts().c_str());
  FreeLibrary(dll);
  return result == JNI_TRUE && jni.Balanced() ? 0 : 1;
}
