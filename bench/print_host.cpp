// Runs one print request through a built libPLENWICKDLL.so the way the Java
// side does, without a virtual machine around it, so that the time and
// memory measured are the library's own: loads the library, finds the
// print method by its JNI name and calls it with a String[] of the
// arguments.
//
//   print_host LIBRARY ARGUMENT...
#include <dlfcn.h>
#include <jni.h>

#include <cstdio>

#include "host_jni.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: print_host LIBRARY ARGUMENT...\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
    return 2;
  }
  typedef jboolean(JNICALL * PlenwickFn)(JNIEnv*, jclass, jobjectArray);
  auto plenwick = reinterpret_cast<PlenwickFn>(dlsym(library, "Java_doc_NativeWindows_plenwick"));
  if (!plenwick) {
    fprintf(stderr, "%s does not export the print method\n", argv[1]);
    return 2;
  }
  plenwick_host::HostJni jni(argc - 2, argv + 2);
  jboolean printed = plenwick(jni.env(), nullptr, jni.arguments());
  bool balanced = jni.Balanced();
  if (!balanced) fprintf(stderr, "JNI misuse: %s\n", jni.Counts().c_str());
  dlclose(library);
  return printed && balanced ? 0 : 1;
}
