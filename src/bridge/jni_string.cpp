#include "bridge/jni_string.h"

#include <new>

#include "platform/win32.h"

namespace plenwick {
namespace {

// The ANSI text of length UTF-16 units, zero-terminated; null when there is
// no memory for it. Best-fit look-alikes are refused, so that no character
// turns into another one that means something to a file name or command
// line ('\\', '"', '/'); each becomes '?' as an unmappable one does.
std::unique_ptr<char[]> ToAnsi(const jchar* chars, jsize length) {
  auto units = reinterpret_cast<LPCWSTR>(chars);
  // A machine whose ANSI code page is UTF-8 has no best fit, and refuses
  // the flag: there every character converts.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  int size = 0;
  if (length > 0) {
    size = WideCharToMultiByte(CP_ACP, flags, units, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
      flags = 0;
      size = WideCharToMultiByte(CP_ACP, flags, units, length, nullptr, 0, nullptr, nullptr);
    }
    if (size <= 0) return nullptr;
  }
  std::unique_ptr<char[]> ansi(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
  if (!ansi) return nullptr;
  if (size > 0 && WideCharToMultiByte(CP_ACP, flags, units, length, ansi.get(), size, nullptr,
                                      nullptr) != size) {
    return nullptr;
  }
  for (int i = 0; i < size; ++i) {
    if (ansi[i] == '\0') ansi[i] = '?';
  }
  ansi[size] = '\0';
  return ansi;
}

}  // namespace

JniString::JniString(JNIEnv* env, jstring string, bool obtain)
    : ref_{env, string}, held_{env, string, nullptr} {
  if (!string) return;
  if (!obtain) {
    unavailable_ = true;
    return;
  }
  jsize length = env->GetStringLength(string);
  jboolean isCopy = JNI_FALSE;
  const jchar* chars = env->GetStringChars(string, &isCopy);
  if (!chars) {
    unavailable_ = true;
    return;
  }
  held_.chars = chars;
  copy_ = ToAnsi(chars, length);
  unavailable_ = !copy_;
  if (isCopy != JNI_TRUE) held_.reset();
}

void JniString::GiveBack() {
  held_.reset();
  ref_.reset();
}

jstring NewJavaString(JNIEnv* env, const char* ansi) {
  int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
  if (length <= 0) return nullptr;
  std::unique_ptr<WCHAR[]> units(new (std::nothrow) WCHAR[static_cast<size_t>(length)]);
  if (!units || MultiByteToWideChar(CP_ACP, 0, ansi, -1, units.get(), length) != length) {
    return nullptr;
  }
  // The terminator is not part of the Java string.
  return env->NewString(reinterpret_cast<const jchar*>(units.get()), length - 1);
}

}  // namespace plenwick
