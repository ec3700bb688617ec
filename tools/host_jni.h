// The console host's Java side: a JNI environment that holds a String[] of
// the command-line arguments and nothing else, with the five functions a
// print request may call. Any other function is a null entry: a library
// calling it would crash the host, as it must never call it. It counts the
// calls, so that the host can tell whether every string was given back.
#pragma once

#include <jni.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace plenwick_host {

class HostJni {
 public:
  HostJni(int count, char** texts) {
    memset(&table_, 0, sizeof table_);
    table_.GetArrayLength = &GetArrayLength;
    table_.GetObjectArrayElement = &GetObjectArrayElement;
    table_.GetStringUTFChars = &GetStringUTFChars;
    table_.ReleaseStringUTFChars = &ReleaseStringUTFChars;
    table_.DeleteLocalRef = &DeleteLocalRef;
    holder_.env.functions = &table_;
    holder_.host = this;
    for (int i = 0; i < count; ++i) {
      strings_.push_back(std::make_unique<Object>());
      strings_.back()->text = texts[i];
      array_.elements.push_back(strings_.back().get());
    }
  }
  HostJni(const HostJni&) = delete;
  HostJni& operator=(const HostJni&) = delete;

  JNIEnv* env() { return &holder_.env; }
  jobjectArray arguments() { return reinterpret_cast<jobjectArray>(&array_); }

  // Every element fetched, its characters obtained and given back, and its
  // reference dropped, exactly once.
  bool Balanced() const {
    int n = static_cast<int>(strings_.size());
    return fetches_ == n && gets_ == n && releases_ == n && deletes_ == n;
  }
  std::string Counts() const {
    return std::to_string(strings_.size()) + " elements, " + std::to_string(fetches_) +
           " fetched, " + std::to_string(gets_) + " gets, " + std::to_string(releases_) +
           " releases, " + std::to_string(deletes_) + " deletes";
  }

 private:
  struct Object {
    std::string text;               // a String
    std::vector<Object*> elements;  // a String[]
  };
  struct Holder {
    JNIEnv env;
    HostJni* host;
  };

  static HostJni& Of(JNIEnv* env) { return *reinterpret_cast<Holder*>(env)->host; }
  static Object* AsObject(jobject object) { return reinterpret_cast<Object*>(object); }

  static jsize JNICALL GetArrayLength(JNIEnv*, jarray array) {
    return static_cast<jsize>(AsObject(array)->elements.size());
  }
  static jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    ++Of(env).fetches_;
    return reinterpret_cast<jobject>(AsObject(array)->elements.at(static_cast<size_t>(index)));
  }
  static const char* JNICALL GetStringUTFChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    ++Of(env).gets_;
    if (isCopy) *isCopy = JNI_TRUE;
    const std::string& text = AsObject(string)->text;
    char* copy = new char[text.size() + 1];
    memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
  }
  static void JNICALL ReleaseStringUTFChars(JNIEnv* env, jstring, const char* chars) {
    ++Of(env).releases_;
    delete[] chars;
  }
  static void JNICALL DeleteLocalRef(JNIEnv* env, jobject) { ++Of(env).deletes_; }

  JNINativeInterface_ table_;
  Holder holder_;
  std::vector<std::unique_ptr<Object>> strings_;
  Object array_;
  int fetches_ = 0, gets_ = 0, releases_ = 0, deletes_ = 0;
};

}  // namespace plenwick_host
