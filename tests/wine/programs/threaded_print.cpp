// Four threads of one host process calling PLENWICKDLL.dll's print and
// printer-name methods at once, as the threads of a Java server do:
//
//   threaded_print.exe ROUNDS PRINTER REPORT1 REPORT2 REPORT3 REPORT4
//
// Thread N prints REPORTN ROUNDS times on PRINTER, asking for the printer's
// name before each print; threads 1 and 3 print in landscape, 2 and 4 in
// portrait, so that options shared between requests would show. Each
// thread has a JNI environment of its own.
// Prints "thread N: ok" or what went wrong, and exits 0 when every call
// answered as a lone caller's would.
#include <jni.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../../support/fake_jni.h"
#include "../plenwick_dll.h"

namespace {

using plenwick_test::FakeJni;
using plenwick_test::PlenwickDll;

std::mutex g_output;

bool RunThread(const PlenwickDll& dll, int thread, int rounds, const std::string& printer,
               const std::string& report) {
  FakeJni jni(thread % 2 == 0);
  JNIEnv* env = jni.env();
  std::string problem;
  for (int round = 0; round < rounds && problem.empty(); ++round) {
    jstring name = dll.get_printer_name(env, nullptr);
    if (!name || jni.Text(name) != printer) {
      problem = "name was [" + (name ? jni.Text(name) : std::string("null")) + "]";
      break;
    }
    const char* orientation = thread % 2 ? "-orientation=landscape" : "-orientation=portrait";
    jobjectArray request = jni.Array({jni.String("-interactive=none"), jni.String("-point=10"),
                                      jni.String(orientation), jni.String(report)});
    if (dll.plenwick(env, nullptr, request) != JNI_TRUE) problem = "print returned false";
  }
  if (problem.empty() && !jni.Faults().empty()) problem = "JNI misuse: " + jni.Faults()[0];
  if (problem.empty() && !jni.Unbalanced().empty()) problem = "string not given back";
  std::lock_guard<std::mutex> hold(g_output);
  printf("thread %d: %s\n", thread, problem.empty() ? "ok" : problem.c_str());
  fflush(stdout);
  return problem.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    fprintf(stderr, "usage: threaded_print ROUNDS PRINTER REPORT1 REPORT2 REPORT3 REPORT4\n");
    return 2;
  }
  const PlenwickDll* dll = PlenwickDll::Get();
  if (!dll) {
    fprintf(stderr, "cannot load PLENWICKDLL.dll\n");
    return 2;
  }
  int rounds = atoi(argv[1]);
  std::string printer = argv[2];
  std::atomic<int> sound{0};
  std::atomic<int> waiting{4};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    std::string report = argv[3 + t];
    threads.emplace_back([&, t, report] {
      // All start together, so that the calls overlap from the first one.
      --waiting;
      while (waiting > 0) std::this_thread::yield();
      if (RunThread(*dll, t + 1, rounds, printer, report)) ++sound;
    });
  }
  for (std::thread& thread : threads) thread.join();
  return sound == 4 ? 0 : 1;
}
