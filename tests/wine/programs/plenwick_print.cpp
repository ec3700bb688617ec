// Runs one print request through PLENWICKDLL.dll the way the Java side
// does: loads the DLL, finds the print method by its decorated export name
// and calls it with a String[] of the command-line arguments, through a
// JNI environment of its own that holds only the functions the library may
// use. Exits non-zero when the library misused a string or a reference.
//
// For tests, PLENWICK_ANSWER="CAPTION=retry" (or =cancel, =ok) answers the
// message box with that caption when it comes, and prints what it said as
// a line "box CAPTION: TEXT". PLENWICK_REPEAT=N makes the same request N
// times in this one process, as a long-running virtual machine would, and
// prints the process's GDI objects, USER objects, kernel handles and
// private bytes after the 20th request and after the last. PLENWICK_BETWEEN=
// FILE holds each next request until FILE.N exists (N: the request just
// made), so that a test can change the printer between the requests of one
// process.
#include <jni.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../answer_box.h"
#include "platform/win32.h"
// After the platform include, which it needs.
#include <psapi.h>

namespace {

struct FakeObject {
  std::string text;                    // a String
  std::vector<FakeObject*> elements;   // a String[]
};

struct Counts {
  int gets = 0, releases = 0, elementFetches = 0, deletes = 0;
} g_counts;

FakeObject* AsObject(jobject object) { return reinterpret_cast<FakeObject*>(object); }

jsize JNICALL GetArrayLength(JNIEnv*, jarray array) {
  return static_cast<jsize>(AsObject(array)->elements.size());
}

jobject JNICALL GetObjectArrayElement(JNIEnv*, jobjectArray array, jsize index) {
  ++g_counts.elementFetches;
  return reinterpret_cast<jobject>(AsObject(array)->elements.at(index));
}

const char* JNICALL GetStringUTFChars(JNIEnv*, jstring string, jboolean* isCopy) {
  ++g_counts.gets;
  if (isCopy) *isCopy = JNI_TRUE;
  const std::string& text = AsObject(string)->text;
  char* copy = new char[text.size() + 1];
  memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

void JNICALL ReleaseStringUTFChars(JNIEnv*, jstring, const char* chars) {
  ++g_counts.releases;
  delete[] chars;
}

void JNICALL DeleteLocalRef(JNIEnv*, jobject) { ++g_counts.deletes; }

// Starts the answering thread that PLENWICK_ANSWER asks for.
std::thread StartAnswering(std::string* caption, std::string* text) {
  const char* request = getenv("PLENWICK_ANSWER");
  if (!request || !strchr(request, '=')) return std::thread();
  const char* equals = strchr(request, '=');
  *caption = std::string(request, static_cast<size_t>(equals - request));
  std::string answer = equals + 1;
  WPARAM button = answer == "cancel" ? IDCANCEL : answer == "retry" ? IDRETRY : IDOK;
  return plenwick_wine::AnswerBox(caption->c_str(), button, text);
}

const int kSettledRequests = 20;

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

}  // namespace

int main(int argc, char** argv) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  if (!dll) {
    fprintf(stderr, "cannot load PLENWICKDLL.dll: error %lu\n", GetLastError());
    return 2;
  }
  typedef jboolean(JNICALL * PlenwickFn)(JNIEnv*, jclass, jobjectArray);
  auto plenwick = reinterpret_cast<PlenwickFn>(
      reinterpret_cast<void*>(GetProcAddress(dll, "_Java_doc_NativeWindows_plenwick@12")));
  if (!plenwick) {
    fprintf(stderr, "PLENWICKDLL.dll does not export the print method\n");
    return 2;
  }

  JNINativeInterface_ table;
  memset(&table, 0, sizeof table);  // any other function would crash: the library must not call it
  table.GetArrayLength = GetArrayLength;
  table.GetObjectArrayElement = GetObjectArrayElement;
  table.GetStringUTFChars = GetStringUTFChars;
  table.ReleaseStringUTFChars = ReleaseStringUTFChars;
  table.DeleteLocalRef = DeleteLocalRef;
  JNIEnv env;
  env.functions = &table;

  std::vector<std::unique_ptr<FakeObject>> strings;
  FakeObject array;
  for (int i = 1; i < argc; ++i) {
    strings.push_back(std::make_unique<FakeObject>());
    strings.back()->text = argv[i];
    array.elements.push_back(strings.back().get());
  }
  std::string caption, boxText;
  std::thread answering = StartAnswering(&caption, &boxText);
  const char* repeat = getenv("PLENWICK_REPEAT");
  int requests = repeat ? atoi(repeat) : 1;
  jboolean result = JNI_TRUE;
  for (int request = 1; request <= requests; ++request) {
    if (plenwick(&env, nullptr, reinterpret_cast<jobjectArray>(&array)) != JNI_TRUE) {
      result = JNI_FALSE;
    }
    if (repeat && (request == kSettledRequests || request == requests)) PrintResources(request);
    if (request < requests) WaitBetween(request);
  }
  if (answering.joinable()) {
    answering.join();
    printf("box %s: %s\n", caption.c_str(), boxText.c_str());
  }

  int n = (argc - 1) * requests;
  bool balanced = g_counts.gets == n && g_counts.releases == n && g_counts.elementFetches == n &&
                  g_counts.deletes == n;
  if (!balanced) {
    fprintf(stderr, "JNI misuse: %d elements, %d fetched, %d gets, %d releases, %d deletes\n", n,
            g_counts.elementFetches, g_counts.gets, g_counts.releases, g_counts.deletes);
  }
  FreeLibrary(dll);
  return result == JNI_TRUE && balanced ? 0 : 1;
}
