// The real PLENWICKDLL.dll, loaded as the Java virtual machine loads it:
// LoadLibraryA, then each entry point by its decorated 32-bit name.
#pragma once

#include <jni.h>

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
    return module && Find(module, "_Java_doc_NativeWindows_getver@8", getver) &&
           Find(module, "_Java_doc_NativeWindows_get_1printer_1name@8", get_printer_name) &&
           Find(module, "_Java_doc_NativeWindows_plenwick_1setup@8", plenwick_setup) &&
           Find(module, "_Java_doc_NativeWindows_plenwick@12", plenwick) &&
           Find(module, "_Java_doc_NativeWindows_shellexec@12", shellexec) &&
           Find(module, "_Java_doc_NativeWindows_launch_1document@16", launch_document) &&
           Find(module, "_Java_doc_NativeWindows_read_1registry_1string@20", read_registry_string);
  }
};

}  // namespace plenwick_test
