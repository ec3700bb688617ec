#include "bridge/native_methods.h"

#include <cstdint>
#include <exception>
#include <mutex>

#include "bridge/jni_string.h"
#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "core/user_notice.h"
#include "device/printer_selection.h"
#include "request/print_request.h"
#include "services/registry_read.h"
#include "services/shell_launch.h"

// Every entry point takes its strings through JniString: a private copy
// per string in UTF-8, given back before the method returns
// and before a result string is made, which NewJavaString converts back to
// UTF-16. The receiver is never used.
//
// Null references and unavailable characters are refused without a crash:
// - a null array is a list without elements (GetArrayLength is not called);
// - a null element is skipped (plenwick writes a log line for it);
// - characters the machine cannot hand out end the method's work: the
//   machine is out of memory, so nothing more is fetched, everything held
//   is given back, and a String method returns null instead of a result.
namespace {

using plenwick::JniString;

jsize ArrayLength(JNIEnv* env, jobjectArray array) {
  return array ? env->GetArrayLength(array) : 0;
}

// Hands the elements' private copies (null for a null element) to work in
// ascending order; each element is given back before the next is fetched.
template <typename Work>
void ForEachElement(JNIEnv* env, jobjectArray array, jsize length, Work work) {
  for (jsize i = 0; i < length; ++i) {
    JniString element(env, static_cast<jstring>(env->GetObjectArrayElement(array, i)));
    if (element.Unavailable()) return;
    work(static_cast<int>(i), element.get());
  }
}

jboolean ToJava(bool value) { return value ? JNI_TRUE : JNI_FALSE; }

// One request at a time, whatever the host does: printing, Print Setup and
// the printer-name query share the printer selection, the option table, the
// page state and the cancel dialog, so a second thread waits here until the
// first is done. The thread that holds the lock may come back, though: the
// cancel window's message pump and Print Setup run the application's own
// window procedures inside the call, and one of them may call us again. It
// must not wait for itself, so the lock knows the thread inside. The other
// methods keep their state within the call and run beside a print.
std::mutex& RequestLock() {
  static std::mutex lock;
  return lock;
}
thread_local bool t_insideRequest = false;

// Holds the request lock, and marks the thread as inside for that time.
class RequestScope {
 public:
  RequestScope() : hold_(RequestLock()) { t_insideRequest = true; }
  ~RequestScope() { t_insideRequest = false; }
  RequestScope(const RequestScope&) = delete;
  RequestScope& operator=(const RequestScope&) = delete;

 private:
  std::lock_guard<std::mutex> hold_;
};

// A print or Print Setup asked for from inside one on the same thread is
// refused at once: it would change the selection and the page state under
// the print that is running.
bool RefusedInside(const char* method) {
  if (!t_insideRequest) return false;
  plenwick::DebugLog("%s refused: a print is already running on this thread\n", method);
  plenwick::TellUser("a print is already running on this thread");
  return true;
}

// Nothing may be thrown into the virtual machine: an exception that leaves
// a native method ends the process. Whatever the work throws (a failed
// allocation, a thread or process that could not be made) ends the method
// with the answer of its failure path, after a log line; the owners on the
// way out give back what they held, the request lock included.
template <typename Work, typename Fallback>
auto WithoutExceptions(const char* method, Work work, Fallback fallback) -> decltype(work()) {
  try {
    return work();
  } catch (const std::exception& error) {
    plenwick::DebugLog("%s stopped: %s\n", method, error.what());
  } catch (...) {
    plenwick::DebugLog("%s stopped: unknown exception\n", method);
  }
  try {
    return fallback();
  } catch (...) {
    return decltype(work()){};
  }
}

template <typename Result>
auto Answer(Result result) {
  return [result] { return result; };
}

// The error text of a String method that stopped; null when even that
// cannot be made.
auto ErrorText(JNIEnv* env, const char* text) {
  return [env, text] { return plenwick::NewJavaString(env, text); };
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_doc_NativeWindows_getver(JNIEnv*, jclass) { return 1; }

JNIEXPORT jstring JNICALL Java_doc_NativeWindows_get_1printer_1name(JNIEnv* env, jclass) {
  return WithoutExceptions(
      "get_printer_name",
      [env] {
        std::string name;
        if (t_insideRequest) {
          // The printer of the print running on this thread, as it is.
          name = plenwick::GetSelectedPrinterName();
        } else {
          RequestScope oneAtATime;
          plenwick::RefreshPrinterSelection();
          name = plenwick::GetSelectedPrinterName();
        }
        return plenwick::NewJavaString(env, name.c_str());
      },
      ErrorText(env, "**ERROR** Java_doc_LocalPrint_get_1printer_1name() stopped"));
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick_1setup(JNIEnv*, jclass) {
  return WithoutExceptions(
      "plenwick_setup",
      []() -> jboolean {
        if (RefusedInside("plenwick_setup")) return JNI_FALSE;
        RequestScope oneAtATime;
        plenwick::RefreshPrinterSelection();
        return ToJava(plenwick::ShowPrintSetup());
      },
      Answer<jboolean>(JNI_FALSE));
}

// A request that stops keeps the report it was printing: it is deleted only
// after its document was spooled to the end.
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_plenwick(JNIEnv* env, jclass,
                                                           jobjectArray arguments) {
  return WithoutExceptions(
      "plenwick",
      [env, arguments]() -> jboolean {
        if (RefusedInside("plenwick")) return JNI_FALSE;
        RequestScope oneAtATime;
        jsize count = ArrayLength(env, arguments);
        plenwick::RunPrintRequest(
            static_cast<int>(count), [env, arguments](int index, auto handle) {
              JniString element(env,
                                static_cast<jstring>(env->GetObjectArrayElement(arguments, index)));
              if (element.Unavailable()) return false;
              handle(element.get());
              return true;
            });
        return JNI_TRUE;
      },
      Answer<jboolean>(JNI_TRUE));
}

JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_shellexec(JNIEnv* env, jclass,
                                                            jobjectArray commands) {
  return WithoutExceptions(
      "shellexec",
      [env, commands]() -> jboolean {
        ForEachElement(env, commands, ArrayLength(env, commands), [](int, char* command) {
          if (command) plenwick::LaunchShellCommand(command, nullptr, true);
        });
        return JNI_TRUE;
      },
      Answer<jboolean>(JNI_TRUE));
}

// A null verb is no verb (the file's default); a null command launches
// nothing.
JNIEXPORT jboolean JNICALL Java_doc_NativeWindows_launch_1document(JNIEnv* env, jclass,
                                                                   jstring verb, jstring command) {
  return WithoutExceptions(
      "launch_document",
      [env, verb, command]() -> jboolean {
        JniString verbText(env, verb);
        JniString commandText(env, command, !verbText.Unavailable());
        if (!verbText.Unavailable() && !commandText.Unavailable() && commandText.get()) {
          const char* shellVerb = verbText.get() ? plenwick::ShellVerb(verbText.get()) : nullptr;
          plenwick::LaunchShellCommand(commandText.get(), shellVerb, false);
        }
        verbText.GiveBack();
        commandText.GiveBack();
        return JNI_TRUE;
      },
      Answer<jboolean>(JNI_TRUE));
}

// The root key int is the 32-bit handle value of the key, sign-extended
// where handles are wider, as the predefined keys are. A null sub key or
// value name gives an error text without touching the registry.
JNIEXPORT jstring JNICALL Java_doc_NativeWindows_read_1registry_1string(JNIEnv* env, jclass,
                                                                        jint rootKey,
                                                                        jstring subKey,
                                                                        jstring valueName) {
  return WithoutExceptions(
      "read_registry_string",
      [env, rootKey, subKey, valueName]() -> jstring {
        JniString subKeyText(env, subKey);
        JniString valueNameText(env, valueName, !subKeyText.Unavailable());
        bool unavailable = subKeyText.Unavailable() || valueNameText.Unavailable();
        plenwick::RegistryText result;
        if (unavailable) {
          result.text[0] = '\0';
        } else if (!subKeyText.get() || !valueNameText.get()) {
          plenwick::CopyText(result.text,
                             "**ERROR** read_registry_string() null sub key or value name");
        } else {
          HKEY root = reinterpret_cast<HKEY>(static_cast<intptr_t>(rootKey));
          plenwick::ReadRegistryString(root, subKeyText.get(), valueNameText.get(), result);
        }
        subKeyText.GiveBack();
        valueNameText.GiveBack();
        return unavailable ? nullptr : plenwick::NewJavaString(env, result.text);
      },
      ErrorText(env, "**ERROR** read_registry_string() stopped"));
}
}
