// The console host's Java side: a JNI environment that holds a String[] of
// the command-line arguments and nothing else, with the six functions a
// print request may call. Any other function is a null entry: a library
// calling it would crash the host, as it must never call it. It counts the
// calls, so that the host can tell whether every string was given back.
// The arguments become Java strings as a Java application holds them: on
// Windows the UTF-16 command line Windows keeps, whatever the ANSI code page
// can spell; elsewhere from UTF-8.
#pragma once

#include <jni.h>

#ifdef _WIN32
#include "platform/win32.h"
#include "platform/handles.h"
#endif

#include <algorithm>
#include <cstdint>
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
    table_.GetStringLength = &GetStringLength;
    table_.GetStringChars = &GetStringChars;
    table_.ReleaseStringChars = &ReleaseStringChars;
    table_.DeleteLocalRef = &DeleteLocalRef;
    holder_.env.functions = &table_;
    holder_.host = this;
#ifdef _WIN32
    std::vector<std::u16string> wide = CommandLine();
#endif
    for (int i = 0; i < count; ++i) {
      strings_.push_back(std::make_unique<Object>());
      strings_.back()->text = Widened(texts[i]);
#ifdef _WIN32
      // The texts are the program's last arguments, as Windows gave them
      // before the C runtime made them ANSI.
      size_t at = wide.size() - static_cast<size_t>(count) + static_cast<size_t>(i);
      if (wide.size() >= static_cast<size_t>(count) && Ansi(wide[at]) == texts[i]) {
        strings_.back()->text = wide[at];
      }
#endif
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
    std::u16string text;            // a String
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
  static std::u16string Widened(const char* text) {
    std::u16string units;
#ifdef _WIN32
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length > 1) {
      std::wstring wide(static_cast<size_t>(length), L'\0');
      MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
      units.assign(wide.begin(), wide.end() - 1);
    }
#else
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c;) {
      int extra = *c >= 0xF0 ? 3 : *c >= 0xE0 ? 2 : *c >= 0xC0 ? 1 : 0;
      uint32_t code = extra ? *c & (0x3F >> extra) : *c;
      ++c;
      for (int k = 0; k < extra && *c; ++k, ++c) code = code << 6 | (*c & 0x3F);
      if (code >= 0x10000) {
        units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        units += static_cast<char16_t>(code);
      }
    }
#endif
    return units;
  }

#ifdef _WIN32
  static std::vector<std::u16string> CommandLine() {
    std::vector<std::u16string> arguments;
    int count = 0;
    plenwick::UniqueLocal block(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* words = static_cast<LPWSTR*>(block.get());
    for (int i = 0; words && i < count; ++i) {
      const WCHAR* word = words[i];
      arguments.emplace_back(word, word + wcslen(word));
    }
    return arguments;
  }
  static std::string Ansi(const std::u16string& units) {
    std::wstring wide(units.begin(), units.end());
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], size, nullptr, nullptr);
    return text.c_str();
  }
#endif

  static jsize JNICALL GetStringLength(JNIEnv*, jstring string) {
    return static_cast<jsize>(AsObject(string)->text.size());
  }
  static const jchar* JNICALL GetStringChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    ++Of(env).gets_;
    if (isCopy) *isCopy = JNI_TRUE;
    const std::u16string& text = AsObject(string)->text;
    jchar* copy = new jchar[text.size() + 1];
    std::copy(text.begin(), text.end(), copy);
    return copy;
  }
  static void JNICALL ReleaseStringChars(JNIEnv* env, jstring, const jchar* chars) {
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
