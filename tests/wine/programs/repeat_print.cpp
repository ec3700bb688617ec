// Makes one print request through PLENWICKDLL.dll several times in this one
// process, as a long-running virtual machine would, for the soak and the
// spooler fault tests:
//
//   PLENWICK_REPEAT=N repeat_print.exe [OPTIONS] REPORT...
//
// After the 20th request and after the last it prints the process's GDI
// objects, USER objects, kernel handles and memory. PLENWICK_BETWEEN=FILE
// holds each next request until FILE.N exists (N: the request just made),
// so that a test can change the printer between the requests.
// PLENWICK_ANSWER="CAPTION=retry|cancel|ok" answers the first message box
// with that caption, as the console host does.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "answer_box.h"
#include "dll_loader.h"
#include "host_jni.h"
#include "platform/win32.h"
// After the platform include, which it needs.
#include <psapi.h>

namespace {

const int kSettledRequests = 20;

// What the process holds, as a long-running host would watch it.
void PrintResources(int request) {
  HANDLE self = GetCurrentProcess();
  DWORD handles = 0;
  GetProcessHandleCount(self, &handles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  printf("after %d requests: gdi=%lu user=%lu handles=%lu private=%lu pagefile=%lu working=%lu\n",
         request, static_cast<unsigned long>(GetGuiResources(self, GR_GDIOBJECTS)),
         static_cast<unsigned long>(GetGuiResources(self, GR_USEROBJECTS)),
         static_cast<unsigned long>(handles), static_cast<unsigned long>(memory.PrivateUsage),
         static_cast<unsigned long>(memory.PagefileUsage),
         static_cast<unsigned long>(memory.WorkingSetSize));
  fflush(stdout);
}

void WaitBetween(int request) {
  const char* between = getenv("PLENWICK_BETWEEN");
  if (!between) return;
  printf("request %d done\n", request);
  fflush(stdout);
  std::string flag = std::string(between) + "." + std::to_string(request);
  for (int i = 0; i < 1200 && GetFileAttributesA(flag.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  plenwick_host::PlenwickDll dll;
  if (!dll.Loaded()) {
    fprintf(stderr, "%s\n", dll.Problem().c_str());
    return 2;
  }
  const char* repeat = getenv("PLENWICK_REPEAT");
  int requests = repeat ? atoi(repeat) : 1;
  std::string caption, boxText;
  std::thread answering = plenwick_host::AnswerAsAsked(&caption, &boxText);
  bool sound = true;
  for (int request = 1; request <= requests; ++request) {
    plenwick_host::HostJni jni(argc - 1, argv + 1);
    if (dll.plenwick(jni.env(), nullptr, jni.arguments()) != JNI_TRUE) sound = false;
    if (!jni.Balanced()) {
      fprintf(stderr, "request %d: JNI misuse: %s\n", request, jni.Counts().c_str());
      sound = false;
    }
    if (request == kSettledRequests || request == requests) PrintResources(request);
    if (request < requests) WaitBetween(request);
  }
  if (answering.joinable()) {
    answering.join();
    printf("box %s: %s\n", caption.c_str(), boxText.c_str());
  }
  return sound ? 0 : 1;
}
