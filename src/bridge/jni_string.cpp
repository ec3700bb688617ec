#include "bridge/jni_string.h"

#include <new>

#include "core/wide_name.h"
#include "platform/win32.h"

namespace plenwick {
namespace {

// The UTF-8 text of length UTF-16 units, zero-terminated; null when there
// is no memory for it. Every character comes through; an unpaired
// surrogate, which no encoding holds, becomes U+FFFD.
std::unique_ptr<char[]> ToUtf8(const jchar* chars, jsize length) {
  auto units = reinterpret_cast<LPCWSTR>(chars);
  int size = 0;
  if (length > 0) {
    size = WideCharToMultiByte(CP_UTF8, 0, units, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return nullptr;
  }
  std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
  if (!text) return nullptr;
  if (size > 0 &&
      WideCharToMultiByte(CP_UTF8, 0, units, length, text.get(), size, nullptr, nullptr) != size) {
    return nullptr;
  }
  for (int i = 0; i < size; ++i) {
    if (text[i] == '\0') text[i] = '?';
  }
  text[size] = '\0';
  return text;
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
  copy_ = ToUtf8(chars, length);
  unavailable_ = !copy_;
  if (isCopy != JNI_TRUE) held_.reset();
}

void JniString::GiveBack() {
  held_.reset();
  ref_.reset();
}

jstring NewJavaString(JNIEnv* env, const char* text) {
  WideString units = WideOf(text);
  return env->NewString(reinterpret_cast<const jchar*>(units.c_str()),
                        static_cast<jsize>(units.size()));
}

}  // namespace plenwick
