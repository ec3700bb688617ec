// The characters of one Java string argument or array element, held as a
// private modifiable copy while that argument is handled.
#pragma once

#include <jni.h>

#include <memory>

namespace plenwick {

// Obtains the characters with GetStringUTFChars and keeps a copy of its own
// that the code behind the bridge may cut in place; the Java string never
// changes. GiveBack (or the destructor) hands everything back once:
// - characters the virtual machine copied for us (is-copy true) are given
//   back with ReleaseStringUTFChars when the argument has been handled;
// - characters the machine handed out of its own storage (is-copy false)
//   are given back at once, as soon as the private copy is made, so that
//   the machine is not held to them while the work runs;
// - the reference is dropped with DeleteLocalRef in every case, whether it
//   came in as an argument or was fetched from an array.
// The text is the modified UTF-8 that the machine gives, unconverted.
class JniUtfString {
 public:
  // obtain false holds the reference only, to be dropped: after a string
  // whose characters were unavailable, no other characters are asked for.
  JniUtfString(JNIEnv* env, jstring string, bool obtain = true);
  ~JniUtfString() { GiveBack(); }
  JniUtfString(const JniUtfString&) = delete;
  JniUtfString& operator=(const JniUtfString&) = delete;

  // The private copy; null for a null reference or unavailable characters.
  char* get() const { return copy_.get(); }

  // The characters could not be had (GetStringUTFChars gave null, or there
  // was no memory for the copy). The machine is then out of memory and may
  // have an exception pending, under which only giving back is allowed: the
  // caller asks for nothing more and makes no result string.
  bool Unavailable() const { return unavailable_; }

  void GiveBack();

 private:
  JNIEnv* env_;
  jstring string_;
  const char* heldChars_ = nullptr;  // the machine's copy, until given back
  std::unique_ptr<char[]> copy_;
  bool unavailable_ = false;
};

}  // namespace plenwick
