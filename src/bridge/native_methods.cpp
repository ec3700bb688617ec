#include "bridge/native_methods.h"

extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv*, jclass) { return 1; }

}
