// The real PLENWICKDLL.dll, loaded as the Java virtual machine loads it:
// LoadLibraryA, then each entry point by its export name (decorated on
// 32-bit Windows, plain on 64-bit).
#pragma once

#include <jni.h>

#include "bridge/export_names.h"
#include "platform/win32.h"

namespace plenwick_test {

struct PlenwickDll {
  jint(JNICALL* getver)(JNIEnv*, jclass) = nullptr;
  jstring(JNICALL* get_printer_name)(JNIEnv*, jclass) = nullptr;
  jboolean(JNICALL* plenwick_setup)(JNIEnv*, jclass) = nullptr;
  jboolean(JNICALL* plenwick)(JNIEnv*, jclass, jobjectArray) = nullptr;
  jboolean(JNICALL* shellexec)(JNIEnv*, jclass, jobjectArray) = nullptr;
  jboolean(JNICALL* launch_document)(JNIEnv*, jclass, jstring, jstring) = nullptr;
  jstring(JNICALL* read_registry_string)(JNIEnv*, jclass, jint, jstring, jstring) = nullptr;

  // Loads the DLL beside the test program once; false when it or one of
  // the seven names is missing.
  static const PlenwickDll* Get() {
    static PlenwickDll dll;
    static bool loaded = dll.Load();
    return loaded ? &dll : nullptr;
  }

 private:
  template <typename Function>
  static bool Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
  }

  bool Load() {
    HMODULE module = LoadLibraryA("PLENWICKDLL.dll");
    return module && Find(module, PLENWICK_JNI_EXPORT_NAME("getver", 8), getver) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("get_1printer_1name", 8), get_printer_name) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("plenwick_1setup", 8), plenwick_setup) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("plenwick", 12), plenwick) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("shellexec", 12), shellexec) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("launch_1document", 16), launch_document) &&
           Find(module, PLENWICK_JNI_EXPORT_NAME("read_1registry_1string", 20), read_registry_string);
  }
};

}  // namespace plenwick_test
