/* Machine-dependent JNI types for the 32-bit Windows build. The entry
   points are exported by the module-definition file, so JNIEXPORT adds
   nothing; JNICALL is the callee-pops convention of 32-bit Windows JNI. */
#ifndef PLENWICK_JNI_MD_H
#define PLENWICK_JNI_MD_H

#define JNIEXPORT
#define JNIIMPORT
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
