// The names under which PLENWICKDLL.dll exports its JNI entry points, as a
// Java virtual machine looks them up. 32-bit Windows decorates a __stdcall
// name with a leading underscore and the bytes of its arguments; 64-bit
// Windows has one calling convention and keeps the plain name.
#pragma once

#if defined(_WIN64) || !defined(_WIN32)
#define PLENWICK_JNI_EXPORT_NAME(method, argumentBytes) "Java_doc_NativeWindows_" method
#else
#define PLENWICK_JNI_EXPORT_NAME(method, argumentBytes) \
  "_Java_doc_NativeWindows_" method "@" #argumentBytes
#endif
