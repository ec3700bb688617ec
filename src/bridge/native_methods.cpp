#include "bridge/native_methods.h"

// Until the bridge marshals arguments, the methods other than getver answer
// without doing anything.
extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv*, jclass) { return 1; }

JNIEXPORT jstring JNICALL Java_doc_NativeWindows_get_1printer_1name(JNIEnv*, jclass) {
  return nullptr;
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick_1setup(JNIEnv*, jclass) {
  return JNI_FALSE;
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick(JNIEnv*, jclass, jobjectArray) {
  return JNI_TRUE;
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_shellexec(JNIEnv*, jclass, jobjectArray) {
  return JNI_TRUE;
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_launch_1document(JNIEnv*, jclass, jstring,
                                                                   jstring) {
  return JNI_TRUE;
}

JNIEXPORT jstring JNICALL Java_doc_NativeWindows_read_1registry_1string(JNIEnv*, jclass, jint,
                                                                        jstring, jstring) {
  return nullptr;
}
}
