// A stand-in for the Java virtual machine's JNI environment: strings (of
// UTF-16, as Java's are) and string arrays over test data, reached through
// a function table with the seven functions the library calls. Calls are recorded in order with the
// reference they were made on ("r1", "r2", ...); misuse (a call on a
// dropped or null reference, giving back characters that were not handed
// out) is recorded as a fault.
//
// With copies on, the machine hands out copies of a string's characters
// (is-copy true); with copies off it hands out its own storage (is-copy
// false), so that a library cutting those characters in place would change
// the Java string itself.
#pragma once

#include <jni.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plenwick_test {

class FakeJni {
 public:
  explicit FakeJni(bool copies) : copies_(copies) {
    memset(&table_, 0, sizeof table_);
    table_.GetArrayLength = &GetArrayLength;
    table_.GetObjectArrayElement = &GetObjectArrayElement;
    table_.GetStringLength = &GetStringLength;
    table_.GetStringChars = &GetStringChars;
    table_.ReleaseStringChars = &ReleaseStringChars;
    table_.DeleteLocalRef = &DeleteLocalRef;
    table_.NewString = &NewString;
    holder_.env.functions = &table_;
    holder_.fake = this;
  }
  FakeJni(const FakeJni&) = delete;
  FakeJni& operator=(const FakeJni&) = delete;

  JNIEnv* env() { return &holder_.env; }

  // A new local reference to a string of this UTF-8 text, or of these
  // UTF-16 units (which may hold what UTF-8 cannot: an unpaired surrogate).
  jstring String(const std::string& utf8) { return String(Utf16(utf8)); }
  jstring String(const std::u16string& units) {
    objects_.push_back(Object{std::vector<jchar>(units.begin(), units.end()), {}, false, false});
    return static_cast<jstring>(NewRef(objects_.size() - 1, false));
  }
  // A String[] of these strings (null for a null element); the references
  // given here are the array's now, not the library's to drop.
  jobjectArray Array(const std::vector<jstring>& elements) {
    Object array{{}, {}, true, false};
    for (jstring element : elements) {
      array.elements.push_back(element ? refs_[Index(element)].object : kNull);
      if (element) refs_[Index(element)].owned = false;
    }
    objects_.push_back(array);
    return static_cast<jobjectArray>(NewRef(objects_.size() - 1, false));
  }
  // GetStringChars of this string fails, as when memory runs out.
  void FailCharsOf(jstring string) { objects_[refs_[Index(string)].object].failChars = true; }
  // The string's characters as the Java side sees them now, as UTF-8, and
  // as the UTF-16 units they are.
  std::string Text(jstring string) const { return Utf8(Units(string)); }
  std::u16string Units(jstring string) const {
    const std::vector<jchar>& chars = objects_[refs_[Index(string)].object].chars;
    return std::u16string(chars.begin(), chars.end());
  }

  // UTF-8 and UTF-16 of test texts (an unpaired surrogate is encoded as it
  // is, so that a test can see it).
  static std::u16string Utf16(const std::string& utf8) {
    std::u16string units;
    for (size_t i = 0; i < utf8.size();) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      uint32_t code = extra ? c & (0x3F >> extra) : c;
      for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
        code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
      i += 1 + extra;
      if (code >= 0x10000) {
        units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        units += static_cast<char16_t>(code);
      }
    }
    return units;
  }
  static std::string Utf8(const std::u16string& units) {
    std::string bytes;
    for (size_t i = 0; i < units.size(); ++i) {
      uint32_t c = units[i];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
          units[i + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
      }
      int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
      static const unsigned char kLead[4] = {0x00, 0xC0, 0xE0, 0xF0};
      bytes += static_cast<char>(kLead[extra] | (c >> (6 * extra)));
      for (int k = extra - 1; k >= 0; --k)
        bytes += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return bytes;
  }

  const std::vector<std::string>& Calls() const { return calls_; }
  const std::vector<std::string>& Faults() const { return faults_; }
  // Called after every recorded call, to note what the library had done by then.
  std::function<void(const std::string& call)> onCall;

  // String references of the library's that were not dropped exactly once,
  // or whose characters were not given back as often as obtained.
  std::vector<std::string> Unbalanced() const {
    std::vector<std::string> found;
    for (size_t i = 0; i < refs_.size(); ++i) {
      const Ref& ref = refs_[i];
      if (!ref.owned || ref.isArrayOrResult) continue;
      if (ref.deletes != 1 || ref.gets != ref.releases)
        found.push_back("r" + std::to_string(i + 1));
    }
    return found;
  }

 private:
  static constexpr size_t kNull = SIZE_MAX;
  struct Object {
    std::vector<jchar> chars;      // a string's UTF-16 units
    std::vector<size_t> elements;  // an array's objects, kNull for null
    bool isArray = false;
    bool failChars = false;
  };
  struct Ref {
    size_t object;
    bool isArrayOrResult;
    bool owned = true;  // the library must drop it
    int deletes = 0, gets = 0, releases = 0;
  };
  struct Holder {
    JNIEnv env;
    FakeJni* fake;
  };

  static FakeJni& Of(JNIEnv* env) { return *reinterpret_cast<Holder*>(env)->fake; }
  jobject NewRef(size_t object, bool result) {
    refs_.push_back(Ref{object, result || objects_[object].isArray});
    return reinterpret_cast<jobject>(static_cast<uintptr_t>(refs_.size() * 16));
  }
  size_t Index(jobject ref) const {
    return ref ? reinterpret_cast<uintptr_t>(ref) / 16 - 1 : kNull;
  }
  std::string Name(jobject ref) const {
    return ref ? "r" + std::to_string(Index(ref) + 1) : "null";
  }

  // Records the call; returns the live reference, or null after a fault.
  Ref* Call(const std::string& call, jobject ref) {
    calls_.push_back(call);
    size_t index = Index(ref);
    Ref* live = index < refs_.size() && refs_[index].deletes == 0 ? &refs_[index] : nullptr;
    if (!live) faults_.push_back(call + " on a dead or null reference");
    if (onCall) onCall(call);
    return live;
  }

  static jsize JNICALL GetArrayLength(JNIEnv* env, jarray array) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("GetArrayLength(" + self.Name(array) + ")", array);
    return ref ? static_cast<jsize>(self.objects_[ref->object].elements.size()) : 0;
  }

  static jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    FakeJni& self = Of(env);
    size_t object = kNull;
    if (self.Index(array) < self.refs_.size()) {
      const std::vector<size_t>& elements =
          self.objects_[self.refs_[self.Index(array)].object].elements;
      if (static_cast<size_t>(index) < elements.size()) object = elements[index];
    }
    jobject element = object == kNull ? nullptr : self.NewRef(object, false);
    self.Call("GetObjectArrayElement(" + self.Name(array) + ", " + std::to_string(index) +
                  ") = " + self.Name(element),
              array);
    return element;
  }

  static jsize JNICALL GetStringLength(JNIEnv* env, jstring string) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("GetStringLength(" + self.Name(string) + ")", string);
    return ref ? static_cast<jsize>(self.objects_[ref->object].chars.size()) : 0;
  }

  static const jchar* JNICALL GetStringChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("GetStringChars(" + self.Name(string) + ")", string);
    if (!ref || self.objects_[ref->object].failChars) return nullptr;
    ++ref->gets;
    if (isCopy) *isCopy = self.copies_ ? JNI_TRUE : JNI_FALSE;
    std::vector<jchar>& chars = self.objects_[ref->object].chars;
    // Never a null pointer for an empty string, as with a real machine.
    if (!self.copies_) return chars.empty() ? &self.empty_ : chars.data();
    auto copy = std::make_unique<jchar[]>(chars.size() + 1);
    std::copy(chars.begin(), chars.end(), copy.get());
    const jchar* handed = copy.get();
    self.handedOut_[handed] = std::move(copy);
    return handed;
  }

  static void JNICALL ReleaseStringChars(JNIEnv* env, jstring string, const jchar* chars) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("ReleaseStringChars(" + self.Name(string) + ")", string);
    if (!ref) return;
    ++ref->releases;
    const std::vector<jchar>& own = self.objects_[ref->object].chars;
    bool handedOut = self.copies_ ? self.handedOut_.erase(chars) == 1
                                  : chars == (own.empty() ? &self.empty_ : own.data());
    if (!handedOut) self.faults_.push_back("gave back characters that were not handed out");
  }

  static void JNICALL DeleteLocalRef(JNIEnv* env, jobject object) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("DeleteLocalRef(" + self.Name(object) + ")", object);
    if (ref) ++ref->deletes;
  }

  static jstring JNICALL NewString(JNIEnv* env, const jchar* units, jsize length) {
    FakeJni& self = Of(env);
    if (length < 0 || (length > 0 && !units)) {
      self.faults_.push_back("NewString with a bad length or no characters");
      return nullptr;
    }
    self.objects_.push_back(Object{std::vector<jchar>(units, units + length), {}, false, false});
    jstring result = static_cast<jstring>(self.NewRef(self.objects_.size() - 1, true));
    self.Call("NewString(" + self.Text(result) + ")", result);
    return result;
  }

  bool copies_;
  JNINativeInterface_ table_;
  Holder holder_;
  std::vector<Object> objects_;
  std::vector<Ref> refs_;
  std::map<const jchar*, std::unique_ptr<jchar[]>> handedOut_;
  jchar empty_ = 0;
  std::vector<std::string> calls_;
  std::vector<std::string> faults_;
};

}  // namespace plenwick_test
