// PLENWICKDLL.dll loaded as the Java virtual machine loads it: LoadLibraryA,
// then each of the seven entry points by its export name (decorated on
// 32-bit Windows, plain on 64-bit). The console host, the repeating host
// and the programs and tests under Wine all load it through this.
#pragma once

#include <jni.h>

#include <string>

#include "bridge/export_names.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick_host {

using UniqueModule = plenwick::UniqueAny<HMODULE, FreeLibrary>;

class PlenwickDll {
 public:
  jint(JNICALL* getver)(JNIEnv*, jclass) = nullptr;
  jstring(JNICALL* get_printer_name)(JNIEnv*, jclass) = nullptr;
  jboolean(JNICALL* plenwick_setup)(JNIEnv*, jclass) = nullptr;
  jboolean(JNICALL* plenwick)(JNIEnv*, jclass, jobjectArray) = nullptr;
  jboolean(JNICALL* shellexec)(JNIEnv*, jclass, jobjectArray) = nullptr;
  jboolean(JNICALL* launch_document)(JNIEnv*, jclass, jstring, jstring) = nullptr;
  jstring(JNICALL* read_registry_string)(JNIEnv*, jclass, jint, jstring, jstring) = nullptr;

  // Loads the DLL from beside the program or the DLL search path; the DLL
  // stays loaded while this lives. Loaded() says whether it and all seven
  // entry points were found, Problem() why not.
  PlenwickDll() { Load(); }
  PlenwickDll(const PlenwickDll&) = delete;
  PlenwickDll& operator=(const PlenwickDll&) = delete;

  bool Loaded() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }

  // The DLL loaded once and kept for the life of the process, as a virtual
  // machine keeps it; null when it cannot be used.
  static const PlenwickDll* Get() {
    static const PlenwickDll* dll = new PlenwickDll();
    return dll->Loaded() ? dll : nullptr;
  }

 private:
  template <typename Function>
  bool Find(const char* name, Function& function) {
    function =
        reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    if (!function) problem_ = std::string("PLENWICKDLL.dll does not export ") + name;
    return function != nullptr;
  }

  void Load() {
    module_.reset(LoadLibraryA("PLENWICKDLL.dll"));
    if (!module_) {
      problem_ = "cannot load PLENWICKDLL.dll: error " + std::to_string(GetLastError());
      return;
    }
    bool found = Find(PLENWICK_JNI_EXPORT_NAME("getver", 8), getver) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("get_1printer_1name", 8), get_printer_name) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("plenwick_1setup", 8), plenwick_setup) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("plenwick", 12), plenwick) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("shellexec", 12), shellexec) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("launch_1document", 16), launch_document) &&
                 Find(PLENWICK_JNI_EXPORT_NAME("read_1registry_1string", 20), read_registry_string);
    if (!found) module_.reset();
  }

  UniqueModule module_;
  std::string problem_;
};

}  // namespace plenwick_host
