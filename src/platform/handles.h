// Owners of platform objects: each holds one object and releases it when
// the scope ends, so no path out of a function leaks it. Move-only.
#pragma once

#include <cstdio>
#include <utility>

#include "win32.h"

namespace plenwick {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Type release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Type handle = Traits::Invalid()) {
    Type old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Type handle_ = Traits::Invalid();
};

struct FileTraits {
  using Type = HFILE;
  static Type Invalid() { return HFILE_ERROR; }
  static void Close(Type file) { _lclose(file); }
};
using UniqueFile = UniqueHandle<FileTraits>;

struct DcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type dc) { DeleteDC(dc); }
};
using UniqueDC = UniqueHandle<DcTraits>;

// A font must not be selected into a device context when it goes.
struct FontTraits {
  using Type = HFONT;
  static Type Invalid() { return nullptr; }
  static void Close(Type font) { DeleteObject(font); }
};
using UniqueFont = UniqueHandle<FontTraits>;

struct LocalTraits {
  using Type = HLOCAL;
  static Type Invalid() { return nullptr; }
  static void Close(Type block) { LocalFree(block); }
};
using UniqueLocal = UniqueHandle<LocalTraits>;

struct PrinterTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type printer) { ClosePrinter(printer); }
};
using UniquePrinter = UniqueHandle<PrinterTraits>;

// A global memory block until it is handed on with release().
struct GlobalTraits {
  using Type = HGLOBAL;
  static Type Invalid() { return nullptr; }
  static void Close(Type block) { GlobalFree(block); }
};
using UniqueGlobal = UniqueHandle<GlobalTraits>;

struct StdioTraits {
  using Type = FILE*;
  static Type Invalid() { return nullptr; }
  static void Close(Type file) { fclose(file); }
};
using UniqueStdioFile = UniqueHandle<StdioTraits>;

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

// A kernel object handle, such as a process handed back by the shell.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct WindowTraits {
  using Type = HWND;
  static Type Invalid() { return nullptr; }
  static void Close(Type window) { DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// A global memory block locked for the life of the guard.
template <typename T>
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block)
      : block_(block), data_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
  ~GlobalLockGuard() { unlock(); }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  T* get() const { return data_; }
  T* operator->() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }
  HGLOBAL block() const { return block_; }
  // Unlocks early, for a block that is about to be freed or handed on.
  void unlock() {
    if (data_) GlobalUnlock(block_);
    data_ = nullptr;
  }

 private:
  HGLOBAL block_;
  T* data_;
};

}  // namespace plenwick
