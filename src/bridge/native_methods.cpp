#include "bridge/native_methods.h"

#include <cstdint>

#include "bridge/jni_utf_string.h"
#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "core/print_request.h"
#include "device/printer_selection.h"
#include "services/registry_read.h"
#include "services/shell_launch.h"

// Every entry point takes its strings through JniUtfString: a private copy
// per string, given back before the method returns and before a result
// string is made. The receiver is never used.
//
// Null references and unavailable characters are refused without a crash:
// - a null array is a list without elements (GetArrayLength is not called);
// - a null element is skipped (plenwick writes a log line for it);
// - characters the machine cannot hand out end the method's work: the
//   machine is out of memory, so nothing more is fetched, everything held
//   is given back, and a String method returns null instead of a result.
namespace {

using plenwick::JniUtfString;

jsize ArrayLength(JNIEnv* env, jobjectArray array) {
  return array ? env->GetArrayLength(array) : 0;
}

// Hands the elements' private copies (null for a null element) to work in
// ascending order; each element is given back before the next is fetched.
template <typename Work>
void ForEachElement(JNIEnv* env, jobjectArray array, jsize length, Work work) {
  for (jsize i = 0; i < length; ++i) {
    JniUtfString element(env, static_cast<jstring>(env->GetObjectArrayElement(array, i)));
    if (element.Unavailable()) return;
    work(static_cast<int>(i), element.get());
  }
}

jboolean ToJava(bool value) { return value ? JNI_TRUE : JNI_FALSE; }

// Nothing may be thrown into the virtual machine. The only exception the
// library's work can meet is a failed allocation deep inside a print
// request or a name query; it ends the method with its fallback result,
// and the owners on the way out give back what they held.
template <typename Result, typename Work>
Result WithoutExceptions(Result fallback, Work work) {
  try {
    return work();
  } catch (...) {
    plenwick::DebugLog("native method stopped: out of memory\n");
    return fallback;
  }
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv*, jclass) { return 1; }

JNIEXPORT jstring JNICALL Java_doc_NativeWindows_get_1printer_1name(JNIEnv* env, jclass) {
  return WithoutExceptions<jstring>(
      nullptr, [env] { return env->NewStringUTF(plenwick::GetSelectedPrinterName().c_str()); });
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick_1setup(JNIEnv*, jclass) {
  return ToJava(plenwick::ShowPrintSetup());
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick(JNIEnv* env, jclass,
                                                           jobjectArray arguments) {
  return WithoutExceptions<jboolean>(JNI_TRUE, [env, arguments] {
    jsize count = ArrayLength(env, arguments);
    plenwick::PrintJob job;
    plenwick::BeginPrintRequest(job, static_cast<int>(count));
    ForEachElement(env, arguments, count, [&job](int index, char* argument) {
      if (!argument) {
        plenwick::DebugLog("argv[%d] is null: skipped\n", index);
        return;
      }
      plenwick::HandlePrintArgument(job, index, argument);
    });
    return JNI_TRUE;
  });
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_shellexec(JNIEnv* env, jclass,
                                                            jobjectArray commands) {
  ForEachElement(env, commands, ArrayLength(env, commands), [](int, char* command) {
    if (command) plenwick::LaunchShellCommand(command, nullptr, true);
  });
  return JNI_TRUE;
}

// A null verb is no verb (the file's default); a null command launches
// nothing.
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_launch_1document(JNIEnv* env, jclass,
                                                                   jstring verb, jstring command) {
  JniUtfString verbText(env, verb);
  JniUtfString commandText(env, command, !verbText.Unavailable());
  if (!verbText.Unavailable() && !commandText.Unavailable() && commandText.get()) {
    const char* shellVerb = verbText.get() ? plenwick::ShellVerb(verbText.get()) : nullptr;
    plenwick::LaunchShellCommand(commandText.get(), shellVerb, false);
  }
  verbText.GiveBack();
  commandText.GiveBack();
  return JNI_TRUE;
}

// The root key int is the 32-bit handle value of the key, sign-extended
// where handles are wider, as the predefined keys are. A null sub key or
// value name gives an error text without touching the registry.
JNIEXPORT jstring JNICALL Java_doc_NativeWindows_read_1registry_1string(JNIEnv* env, jclass,
                                                                        jint rootKey,
                                                                        jstring subKey,
                                                                        jstring valueName) {
  JniUtfString subKeyText(env, subKey);
  JniUtfString valueNameText(env, valueName, !subKeyText.Unavailable());
  bool unavailable = subKeyText.Unavailable() || valueNameText.Unavailable();
  plenwick::RegistryText result;
  if (unavailable) {
    result.text[0] = '\0';
  } else if (!subKeyText.get() || !valueNameText.get()) {
    plenwick::CopyText(result.text, "**ERROR** read_registry_string() null sub key or value name");
  } else {
    HKEY root = reinterpret_cast<HKEY>(static_cast<intptr_t>(rootKey));
    plenwick::ReadRegistryString(root, subKeyText.get(), valueNameText.get(), result);
  }
  subKeyText.GiveBack();
  valueNameText.GiveBack();
  return unavailable ? nullptr : env->NewStringUTF(result.text);
}
}
