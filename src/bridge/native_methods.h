// The native methods of the Java class doc.NativeWindows.
#pragma once

#include <jni.h>

extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv* env, jclass receiver);
JNIEXPORT jstring JNICALL Java_doc_NativeWindows_get_1printer_1name(JNIEnv* env, jclass receiver);
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick_1setup(JNIEnv* env, jclass receiver);
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick(JNIEnv* env, jclass receiver,
                                                           jobjectArray arguments);
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_shellexec(JNIEnv* env, jclass receiver,
                                                            jobjectArray commands);
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_launch_1document(JNIEnv* env, jclass receiver,
                                                                   jstring verb, jstring command);
JNIEXPORT jstring JNICALL Java_doc_NativeWindows_read_1registry_1string(
    JNIEnv* env, jclass receiver, jint rootKey, jstring subKey, jstring valueName);
}
