// The native methods of the Java class doc.NativeWindows.
#pragma once

#include <jni.h>

extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv* env, jclass receiver);

}
