#include "bridge/jni_utf_string.h"

#include <cstring>
#include <new>

namespace plenwick {

JniUtfString::JniUtfString(JNIEnv* env, jstring string, bool obtain) : env_(env), string_(string) {
  if (!string_) return;
  if (!obtain) {
    unavailable_ = true;
    return;
  }
  jboolean isCopy = JNI_FALSE;
  const char* chars = env_->GetStringUTFChars(string_, &isCopy);
  if (!chars) {
    unavailable_ = true;
    return;
  }
  size_t size = strlen(chars) + 1;
  copy_.reset(new (std::nothrow) char[size]);
  if (copy_) {
    memcpy(copy_.get(), chars, size);
  } else {
    unavailable_ = true;
  }
  if (isCopy == JNI_TRUE) {
    heldChars_ = chars;
  } else {
    env_->ReleaseStringUTFChars(string_, chars);
  }
}

void JniUtfString::GiveBack() {
  if (heldChars_) env_->ReleaseStringUTFChars(string_, heldChars_);
  heldChars_ = nullptr;
  if (string_) env_->DeleteLocalRef(string_);
  string_ = nullptr;
}

}  // namespace plenwick
