// plenwick_print (plenwick-print on Linux): prints report files through the
// library from a console, the way the Java side does, so that a printer can
// be tried with the application's own options without Java. It loads
// PLENWICKDLL.dll (or libPLENWICKDLL.so), finds the print method by its
// export name (decorated on 32-bit Windows, plain elsewhere) and calls it
// with a String[] of its arguments, through a JNI environment of its own
// (host_jni.h).
//
//   plenwick_print [OPTIONS] REPORT...
//
// As lp does, it exits 0 when every report was printed (handed to the
// spooler whole), and 1 when one was not, the library's reason on standard
// error; 2 when the library cannot be used or the arguments are missing,
// 3 when the library misused a string or a reference.
// PLENWICK_ANSWER="CAPTION=retry" (or =cancel, =ok) answers the message box
// with that caption when it comes, for runs without a user, and prints what
// it said as a line "box CAPTION: TEXT" (Windows).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "core/user_notice.h"
#include "host_jni.h"

#ifdef _WIN32
#include "answer_box.h"
#include "dll_loader.h"
#include "platform/win32.h"
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#endif

namespace {

enum ExitStatus { kPrinted = 0, kNotPrinted = 1, kCannotRun = 2, kMisused = 3 };

#ifdef _WIN32
#define HOST_PROGRAM "plenwick_print"
const char kUsage[] =
    "Usage: plenwick_print [OPTIONS] REPORT...\n"
    "Prints report files through PLENWICKDLL.dll (beside this program or on the\n"
    "DLL search path) on a Windows printer, as the Java application does: the\n"
    "arguments are the print request, exactly as the application passes them to\n"
    "NativeWindows.plenwick.\n"
#else
#define HOST_PROGRAM "plenwick-print"
const char kUsage[] =
    "Usage: plenwick-print [OPTIONS] REPORT...\n"
    "Prints report files through libPLENWICKDLL.so on a CUPS printer (of the\n"
    "print server CUPS_SERVER names, else the local one), as the Java\n"
    "application does: the arguments are the print request, exactly as the\n"
    "application passes them to NativeWindows.plenwick.\n"
#endif
    "\n"
    "Options begin with '-' or '/' and apply to the reports after them:\n"
    "  -printer_id=NAME        the printer (default: the selected one)\n"
    "  -copies=N  -point=N  -font=FACE  -orientation=Landscape  -form_id=A4\n"
    "  -disposition=SCRATCH    delete each report once it printed\n"
    "  -output=FILE|FOLDER/    write the reports to files instead of the printer\n"
    "  -interactive=none       no window while printing\n"
    "  -log=FILE               the library's diagnostic log\n"
#ifdef _WIN32
    "Every option is described in options.md, beside this program.\n"
#else
    "Every option is described in /usr/share/doc/libplenwickdll-jni/options.md.\n"
#endif
    "\n"
    "  --help   this text\n"
    "\n"
    "Exit status: 0 when every report was printed; 1 when one was not, the\n"
    "reason on standard error (\"plenwick: REPORT not printed: WHY\"); 2 when\n"
    "the library cannot be loaded or no argument is given.\n"
#ifdef _WIN32
    "PLENWICK_ANSWER=\"CAPTION=retry|cancel|ok\" answers the message box with\n"
    "that caption, for runs without a user.\n"
#endif
    ;

// The lines the library tells, and whether one said a report was not
// printed. Filled while the request runs. A line longer than any the
// library tells (another program's output) is not kept, only skipped to
// its end.
std::string g_pending;  // a line not yet ended
bool g_skipping = false;
bool g_notPrinted = false;

void NoteTold(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (text[i] != '\n') {
      if (g_pending.size() < plenwick::kUserNoticeCapacity) {
        g_pending += text[i];
      } else {
        g_skipping = true;
      }
      continue;
    }
    if (!g_skipping && plenwick::SaysNotPrinted(g_pending.c_str())) g_notPrinted = true;
    g_pending.clear();
    g_skipping = false;
  }
}

#ifdef _WIN32

// OutputDebugStringA raises this exception for a debugger; without one the
// process's own vectored handlers see it first, then the system passes the
// text to a debug output viewer as always.
constexpr DWORD kDebugPrintException = 0x40010006;  // DBG_PRINTEXCEPTION_C

LONG CALLBACK CatchDebugString(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD* record = exception->ExceptionRecord;
  if (record->ExceptionCode == kDebugPrintException && record->NumberParameters >= 2) {
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    if (text && length > 0) {
      length = strnlen(text, length);
      fwrite(text, 1, length, stderr);
      fflush(stderr);
      NoteTold(text, length);
    }
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// The library's lines, on standard error too, while the request runs.
class ToldLines {
 public:
  ToldLines() : handler_(AddVectoredExceptionHandler(1, CatchDebugString)) {}
  ~ToldLines() {
    if (handler_) RemoveVectoredExceptionHandler(handler_);
  }
  ToldLines(const ToldLines&) = delete;
  ToldLines& operator=(const ToldLines&) = delete;
  void Finish() {}

 private:
  void* handler_;
};

#else

// The Linux library writes its lines to standard error itself. While the
// request runs, standard error is a pipe whose every byte this passes on
// to the real one, reading the lines as they go.
class ToldLines {
 public:
  ToldLines() {
    // Programs the library starts get standard error, never these ends.
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    fflush(stderr);
    saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved_ < 0 || dup2(ends[1], STDERR_FILENO) < 0) {
      close(ends[0]);
      close(ends[1]);
      if (saved_ >= 0) close(saved_);
      saved_ = -1;
      return;
    }
    close(ends[1]);
    read_ = ends[0];
    pump_ = std::thread([this] { Pump(); });
  }
  ~ToldLines() { Finish(); }
  ToldLines(const ToldLines&) = delete;
  ToldLines& operator=(const ToldLines&) = delete;

  // Standard error is itself again, and every line was read. A program the
  // library started that still holds the pipe is not waited for.
  void Finish() {
    if (saved_ < 0) return;
    fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    done_ = true;
    if (pump_.joinable()) pump_.join();
    close(read_);
    close(saved_);
    saved_ = -1;
  }

 private:
  // Passes what comes on to the real standard error (saved_), until every
  // writer is gone or, once the request has ended, nothing more comes.
  void Pump() {
    char buffer[4096];
    for (;;) {
      pollfd ready{read_, POLLIN, 0};
      int got = poll(&ready, 1, 100);
      if (got == 0) {
        if (done_) return;
        continue;
      }
      if (got < 0) continue;  // a signal
      ssize_t count = read(read_, buffer, sizeof buffer);
      if (count <= 0) return;
      for (ssize_t written = 0, now; written < count; written += now) {
        now = write(saved_, buffer + written, static_cast<size_t>(count - written));
        if (now <= 0) break;
      }
      NoteTold(buffer, static_cast<size_t>(count));
    }
  }

  int saved_ = -1;  // the real standard error
  int read_ = -1;
  std::atomic<bool> done_{false};
  std::thread pump_;
};

using PrintMethod = jboolean(JNICALL*)(JNIEnv*, jclass, jobjectArray);

// The folder of this program, with its final '/'.
std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "./";
  std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.rfind('/') + 1);
}

// The library as the package installs it (PLENWICK_JNI_FOLDER, relative to
// this program's folder), else beside this program (a build tree).
class LinuxLibrary {
 public:
  LinuxLibrary() {
    std::string folder = ProgramFolder();
    std::string tried;
    for (std::string candidate :
         {folder + PLENWICK_JNI_FOLDER "/libPLENWICKDLL.so", folder + "libPLENWICKDLL.so"}) {
      handle_ = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle_) break;
      tried += "\n  " + std::string(dlerror());
    }
    if (!handle_) {
      problem_ = "cannot load libPLENWICKDLL.so:" + tried;
      return;
    }
    plenwick = reinterpret_cast<PrintMethod>(dlsym(handle_, "Java_doc_NativeWindows_plenwick"));
    if (!plenwick) problem_ = "libPLENWICKDLL.so does not export the print method";
  }
  // The library stays loaded until the process ends, as in a virtual
  // machine: a thread it started may still be running.
  LinuxLibrary(const LinuxLibrary&) = delete;
  LinuxLibrary& operator=(const LinuxLibrary&) = delete;

  bool Loaded() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  PrintMethod plenwick = nullptr;

 private:
  void* handle_ = nullptr;
  std::string problem_;
};

#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || strcmp(argv[1], "--help") == 0) {
    fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? kCannotRun : kPrinted;
  }
#ifdef _WIN32
  plenwick_host::PlenwickDll library;
#else
  LinuxLibrary library;
#endif
  if (!library.Loaded()) {
    fprintf(stderr, HOST_PROGRAM ": %s\n", library.Problem().c_str());
    return kCannotRun;
  }

  plenwick_host::HostJni jni(argc - 1, argv + 1);
  ToldLines told;
#ifdef _WIN32
  std::string caption, boxText;
  std::thread answering = plenwick_host::AnswerAsAsked(&caption, &boxText);
#endif
  library.plenwick(jni.env(), nullptr, jni.arguments());
  told.Finish();
#ifdef _WIN32
  if (answering.joinable()) {
    answering.join();
    printf("box %s: %s\n", caption.c_str(), boxText.c_str());
  }
#endif
  if (!jni.Balanced()) {
    fprintf(stderr, HOST_PROGRAM ": JNI misuse: %s\n", jni.Counts().c_str());
    return kMisused;
  }
  return g_notPrinted ? kNotPrinted : kPrinted;
}
