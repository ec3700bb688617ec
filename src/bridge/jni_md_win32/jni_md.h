/* Machine-dependent JNI types for the Windows builds, 32-bit and 64-bit.
   The entry points are exported by the module-definition files, so
   JNIEXPORT adds nothing; JNICALL is the callee-pops convention of 32-bit
   Windows JNI, which 64-bit Windows (one calling convention) ignores.
   long is 32 bits on both, as the JDK's own Windows header has it. */
#ifndef PLENWICK_JNI_MD_H
#define PLENWICK_JNI_MD_H

#define JNIEXPORT
#define JNIIMPORT
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#ifdef __cplusplus
static_assert(sizeof(jint) == 4 && sizeof(jlong) == 8, "JNI integer widths");
#endif

#endif
