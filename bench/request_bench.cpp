// One whole print request on the simulated Windows, as the Java side makes
// it: the report goes through the exported print method and the library's
// every platform call lands in the test double, which counts them. Prints
// one line of figures for scripts/bench:
//
//   seconds=S bytes=B pages=P lines=L textout=T selects=F
//
//   request_bench REPORT [OPTION...]
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "bridge/native_methods.h"
#include "fake_jni.h"
#include "machine.h"
#include "simwin/control.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: request_bench REPORT [OPTION...]\n");
    return 2;
  }
  struct stat info {};
  if (stat(argv[1], &info) != 0) {
    perror(argv[1]);
    return 2;
  }
  plenwick_test::FreshMachine();
  plenwick_test::FakeJni jni(true);
  std::vector<jstring> arguments{jni.String("-interactive=none")};
  for (int i = 2; i < argc; ++i) arguments.push_back(jni.String(argv[i]));
  arguments.push_back(jni.String(argv[1]));
  jobjectArray request = jni.Array(arguments);

  auto start = std::chrono::steady_clock::now();
  jboolean printed = Java_doc_NativeWindows_plenwick(jni.env(), nullptr, request);
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  // A printed line is a row of a page that got text.
  size_t pages = 0, lines = 0, textOuts = 0;
  for (const simwin::SpooledDocument& document : simwin::Documents()) {
    for (const simwin::SpooledPage& page : document.pages) {
      std::set<int> rows;
      for (const simwin::GdiEvent& text : page.texts) rows.insert(text.y);
      ++pages;
      lines += rows.size();
      textOuts += page.texts.size();
    }
  }
  printf("seconds=%.6f bytes=%lld pages=%zu lines=%zu textout=%zu selects=%zu\n", elapsed.count(),
         static_cast<long long>(info.st_size), pages, lines, textOuts, simwin::SelectObjectCalls());
  return printed ? 0 : 1;
}
