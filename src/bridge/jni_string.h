// The characters of one Java string argument or array element, held as a
// private modifiable copy in UTF-8 while that argument is handled; and the
// library's text made into a Java string.
#pragma once

#include <jni.h>

#include <memory>

namespace plenwick {

// Obtains the UTF-16 characters with GetStringLength and GetStringChars and
// keeps a copy of its own, converted to UTF-8, that the code behind the
// bridge may cut in place; the Java string never changes. Every character
// comes through (names reach the platform whole, core/wide_name.h), but a
// NUL character becomes '?', which the zero-terminated copy could not hold
// without cutting the text short. GiveBack (or the destructor)
// hands everything back once:
// - characters the virtual machine copied for us (is-copy true) are given
//   back with ReleaseStringChars when the argument has been handled;
// - characters the machine handed out of its own storage (is-copy false)
//   are given back at once, as soon as the private copy is made, so that
//   the machine is not held to them while the work runs;
// - the reference is dropped with DeleteLocalRef in every case, whether it
//   came in as an argument or was fetched from an array.
class JniString {
 public:
  // obtain false holds the reference only, to be dropped: after a string
  // whose characters were unavailable, no other characters are asked for.
  JniString(JNIEnv* env, jstring string, bool obtain = true);
  ~JniString() { GiveBack(); }
  JniString(const JniString&) = delete;
  JniString& operator=(const JniString&) = delete;

  // The private copy; null for a null reference or unavailable characters.
  char* get() const { return copy_.get(); }

  // The characters could not be had (GetStringChars gave null, or there was
  // no memory for the copy). The machine is then out of memory and may
  // have an exception pending, under which only giving back is allowed: the
  // caller asks for nothing more and makes no result string.
  bool Unavailable() const { return unavailable_; }

  void GiveBack();

 private:
  // The reference and the characters have owners of their own, so that they
  // are given back even when the constructor does not finish.
  struct LocalRef {
    JNIEnv* env;
    jstring string;
    void reset() {
      if (string) env->DeleteLocalRef(string);
      string = nullptr;
    }
    ~LocalRef() { reset(); }
  };
  struct HeldChars {
    JNIEnv* env;
    jstring string;
    const jchar* chars;  // the machine's copy, until given back
    void reset() {
      if (chars) env->ReleaseStringChars(string, chars);
      chars = nullptr;
    }
    ~HeldChars() { reset(); }
  };

  LocalRef ref_;  // declared first: dropped after the characters
  HeldChars held_;
  std::unique_ptr<char[]> copy_;
  bool unavailable_ = false;
};

// A new Java string of the library's zero-terminated text (UTF-8, or the
// ANSI code page's bytes where it is no UTF-8: a registry value's), made
// with NewString; null when there is no memory for it.
jstring NewJavaString(JNIEnv* env, const char* text);

}  // namespace plenwick
