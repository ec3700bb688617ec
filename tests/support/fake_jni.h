// A stand-in for the Java virtual machine's JNI environment: strings and
// string arrays over test data, reached through a function table with the
// six functions the library calls. Calls are recorded in order with the
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
    table_.GetStringUTFChars = &GetStringUTFChars;
    table_.ReleaseStringUTFChars = &ReleaseStringUTFChars;
    table_.DeleteLocalRef = &DeleteLocalRef;
    table_.NewStringUTF = &NewStringUTF;
    holder_.env.functions = &table_;
    holder_.fake = this;
  }
  FakeJni(const FakeJni&) = delete;
  FakeJni& operator=(const FakeJni&) = delete;

  JNIEnv* env() { return &holder_.env; }

  // A new local reference to a string of these modified UTF-8 bytes.
  jstring String(const std::string& bytes) {
    objects_.push_back(Object{std::vector<char>(bytes.begin(), bytes.end()), {}, false});
    objects_.back().chars.push_back('\0');
    return static_cast<jstring>(NewRef(objects_.size() - 1, false));
  }
  // A String[] of these strings (null for a null element); the references
  // given here are the array's now, not the library's to drop.
  jobjectArray Array(const std::vector<jstring>& elements) {
    Object array{{}, {}, false};
    for (jstring element : elements) {
      array.elements.push_back(element ? refs_[Index(element)].object : kNull);
      if (element) refs_[Index(element)].owned = false;
    }
    objects_.push_back(array);
    return static_cast<jobjectArray>(NewRef(objects_.size() - 1, false));
  }
  // GetStringUTFChars of this string fails, as when memory runs out.
  void FailCharsOf(jstring string) { objects_[refs_[Index(string)].object].failChars = true; }
  // The string's characters as the Java side sees them now.
  std::string Text(jstring string) const {
    return objects_[refs_[Index(string)].object].chars.data();
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
    std::vector<char> chars;       // a string's modified UTF-8 and terminator
    std::vector<size_t> elements;  // an array's objects, kNull for null
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
    refs_.push_back(Ref{object, result || objects_[object].chars.empty()});
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

  static const char* JNICALL GetStringUTFChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("GetStringUTFChars(" + self.Name(string) + ")", string);
    if (!ref || self.objects_[ref->object].failChars) return nullptr;
    ++ref->gets;
    *isCopy = self.copies_ ? JNI_TRUE : JNI_FALSE;
    std::vector<char>& chars = self.objects_[ref->object].chars;
    if (!self.copies_) return chars.data();
    auto copy = std::make_unique<char[]>(chars.size());
    memcpy(copy.get(), chars.data(), chars.size());
    const char* handed = copy.get();
    self.handedOut_[handed] = std::move(copy);
    return handed;
  }

  static void JNICALL ReleaseStringUTFChars(JNIEnv* env, jstring string, const char* chars) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("ReleaseStringUTFChars(" + self.Name(string) + ")", string);
    if (!ref) return;
    ++ref->releases;
    bool handedOut = self.copies_ ? self.handedOut_.erase(chars) == 1
                                  : chars == self.objects_[ref->object].chars.data();
    if (!handedOut) self.faults_.push_back("gave back characters that were not handed out");
  }

  static void JNICALL DeleteLocalRef(JNIEnv* env, jobject object) {
    FakeJni& self = Of(env);
    Ref* ref = self.Call("DeleteLocalRef(" + self.Name(object) + ")", object);
    if (ref) ++ref->deletes;
  }

  static jstring JNICALL NewStringUTF(JNIEnv* env, const char* bytes) {
    FakeJni& self = Of(env);
    self.objects_.push_back(Object{std::vector<char>(bytes, bytes + strlen(bytes) + 1), {}, false});
    jstring result = static_cast<jstring>(self.NewRef(self.objects_.size() - 1, true));
    self.Call("NewStringUTF(" + std::string(bytes) + ")", result);
    return result;
  }

  bool copies_;
  JNINativeInterface_ table_;
  Holder holder_;
  std::vector<Object> objects_;
  std::vector<Ref> refs_;
  std::map<const char*, std::unique_ptr<char[]>> handedOut_;
  std::vector<std::string> calls_;
  std::vector<std::string> faults_;
};

}  // namespace plenwick_test
