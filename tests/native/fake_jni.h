// A stand-in for the Java virtual machine's JNI environment: strings and
// string arrays over test data, reached through a function table with the
// six functions the library calls. Every call is recorded in order, with
// the reference it was made on ("r1", "r2", ...), and every misuse (a call
// on a dropped reference, a release of characters that were not handed
// out, a second release or drop) is recorded as a fault.
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

  // A string holding these modified UTF-8 bytes, as a new local reference.
  jstring String(const std::string& bytes) {
    objects_.push_back(std::make_unique<Object>());
    objects_.back()->chars.assign(bytes.begin(), bytes.end());
    objects_.back()->chars.push_back('\0');
    return static_cast<jstring>(NewRef(objects_.size() - 1));
  }
  // A String[] of these strings (null for a null element). The element
  // references given here are dropped: the array keeps its objects.
  jobjectArray Array(const std::vector<jstring>& elements) {
    objects_.push_back(std::make_unique<Object>());
    Object& array = *objects_.back();
    array.isArray = true;
    for (jstring element : elements) {
      array.elements.push_back(element ? refs_[Index(element)].object : kNull);
      if (element) refs_[Index(element)].deletes = 1;
    }
    return static_cast<jobjectArray>(NewRef(objects_.size() - 1));
  }
  // GetStringUTFChars of this string (and of every element reference to
  // it) fails, as when the machine is out of memory.
  void FailCharsOf(jstring string) { objects_[refs_[Index(string)].object]->failChars = true; }

  // The string's characters as the Java side sees them now.
  std::string Text(jstring string) const {
    if (!string) return "(null)";
    return objects_[refs_[Index(string)].object]->chars.data();
  }

  const std::vector<std::string>& Calls() const { return calls_; }
  const std::vector<std::string>& Faults() const { return faults_; }
  // Called after every recorded call, to note what the library had done by then.
  std::function<void(const std::string& call)> onCall;

  // References that were handed to the library or made by it and were not
  // dropped exactly once, or whose characters were obtained and not given
  // back exactly once; result strings (from NewStringUTF) are left alone.
  std::vector<std::string> Unbalanced() const {
    std::vector<std::string> found;
    for (size_t i = 0; i < refs_.size(); ++i) {
      const Ref& ref = refs_[i];
      if (ref.result || ref.isArray) continue;
      std::string name = "r" + std::to_string(i + 1);
      if (ref.deletes != 1) found.push_back(name + " dropped " + std::to_string(ref.deletes) + "x");
      if (ref.gets != ref.releases) found.push_back(name + " characters not given back once");
    }
    return found;
  }

 private:
  static constexpr size_t kNull = SIZE_MAX;

  struct Object {
    std::vector<char> chars;        // a string's modified UTF-8 and terminator
    std::vector<size_t> elements;   // an array's objects, kNull for null
    bool isArray = false;
    bool failChars = false;
  };
  struct Ref {
    size_t object;
    bool isArray;
    bool result = false;
    int deletes = 0;
    int gets = 0;
    int releases = 0;
    std::vector<std::unique_ptr<char[]>> handedOut;  // copies not yet given back
  };
  struct Holder {
    JNIEnv env;
    FakeJni* fake;
  };

  static FakeJni& Of(JNIEnv* env) { return *reinterpret_cast<Holder*>(env)->fake; }

  jobject NewRef(size_t object) {
    refs_.emplace_back();
    refs_.back().object = object;
    refs_.back().isArray = objects_[object]->isArray;
    return reinterpret_cast<jobject>(static_cast<uintptr_t>(refs_.size() * 16));
  }
  size_t Index(jobject ref) const { return reinterpret_cast<uintptr_t>(ref) / 16 - 1; }
  std::string Name(jobject ref) const {
    return ref ? "r" + std::to_string(Index(ref) + 1) : std::string("null");
  }

  // The live reference behind a handle, or null after recording a fault.
  Ref* Live(const char* function, jobject ref) {
    size_t index = ref ? Index(ref) : kNull;
    if (index >= refs_.size() || refs_[index].deletes > 0) {
      faults_.push_back(std::string(function) + " on a dead or null reference " + Name(ref));
      return nullptr;
    }
    return &refs_[index];
  }

  void Record(const std::string& call) {
    calls_.push_back(call);
    if (onCall) onCall(call);
  }

  static jsize JNICALL GetArrayLength(JNIEnv* env, jarray array) {
    FakeJni& self = Of(env);
    Ref* ref = self.Live("GetArrayLength", array);
    self.Record("GetArrayLength(" + self.Name(array) + ")");
    return ref ? static_cast<jsize>(self.objects_[ref->object]->elements.size()) : 0;
  }

  static jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    FakeJni& self = Of(env);
    Ref* ref = self.Live("GetObjectArrayElement", array);
    jobject element = nullptr;
    if (ref && index >= 0 && static_cast<size_t>(index) < self.objects_[ref->object]->elements.size()) {
      size_t object = self.objects_[ref->object]->elements[index];
      if (object != kNull) element = self.NewRef(object);
    } else {
      self.faults_.push_back("GetObjectArrayElement out of range");
    }
    self.Record("GetObjectArrayElement(" + self.Name(array) + ", " + std::to_string(index) +
                ") = " + self.Name(element));
    return element;
  }

  static const char* JNICALL GetStringUTFChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    FakeJni& self = Of(env);
    Ref* ref = self.Live("GetStringUTFChars", string);
    self.Record("GetStringUTFChars(" + self.Name(string) + ")");
    if (!ref) return nullptr;
    Object& object = *self.objects_[ref->object];
    if (object.failChars) return nullptr;
    ++ref->gets;
    if (isCopy) *isCopy = self.copies_ ? JNI_TRUE : JNI_FALSE;
    if (!self.copies_) return object.chars.data();
    ref->handedOut.emplace_back(new char[object.chars.size()]);
    memcpy(ref->handedOut.back().get(), object.chars.data(), object.chars.size());
    return ref->handedOut.back().get();
  }

  static void JNICALL ReleaseStringUTFChars(JNIEnv* env, jstring string, const char* chars) {
    FakeJni& self = Of(env);
    Ref* ref = self.Live("ReleaseStringUTFChars", string);
    self.Record("ReleaseStringUTFChars(" + self.Name(string) + ")");
    if (!ref) return;
    ++ref->releases;
    if (!self.copies_) {
      if (chars != self.objects_[ref->object]->chars.data())
        self.faults_.push_back("released characters that were not handed out");
      return;
    }
    for (auto it = ref->handedOut.begin(); it != ref->handedOut.end(); ++it) {
      if (it->get() == chars) {
        ref->handedOut.erase(it);
        return;
      }
    }
    self.faults_.push_back("released characters that were not handed out");
  }

  static void JNICALL DeleteLocalRef(JNIEnv* env, jobject object) {
    FakeJni& self = Of(env);
    Ref* ref = self.Live("DeleteLocalRef", object);
    self.Record("DeleteLocalRef(" + self.Name(object) + ")");
    if (ref) ++ref->deletes;
  }

  static jstring JNICALL NewStringUTF(JNIEnv* env, const char* bytes) {
    FakeJni& self = Of(env);
    jstring result = self.String(bytes);
    self.refs_[self.Index(result)].result = true;
    self.Record("NewStringUTF(" + std::string(bytes) + ")");
    return result;
  }

  bool copies_;
  JNINativeInterface_ table_;
  Holder holder_;
  std::vector<std::unique_ptr<Object>> objects_;
  std::vector<Ref> refs_;
  std::vector<std::string> calls_;
  std::vector<std::string> faults_;
};

}  // namespace plenwick_test
