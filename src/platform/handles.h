// Owners of platform objects: each holds one object and releases it when
// the scope ends, so no path out of a function leaks it. Move-only.
#pragma once

#include <cstdio>
#include <utility>

#include "unique_any.h"
#include "win32.h"

namespace plenwick {

using UniqueFile = UniqueAny<HFILE, _lclose, HFILE_ERROR>;
using UniqueDC = UniqueAny<HDC, DeleteDC>;
using UniqueFont = UniqueAny<HFONT, DeleteObject>;  // must not be selected when it goes
using UniqueLocal = UniqueAny<HLOCAL, LocalFree>;
using UniquePrinter = UniqueAny<HANDLE, ClosePrinter>;
using UniqueGlobal = UniqueAny<HGLOBAL, GlobalFree>;  // until handed on with release()
using UniqueStdioFile = UniqueAny<FILE*, fclose>;
using UniqueRegKey = UniqueAny<HKEY, RegCloseKey>;
using UniqueKernelHandle = UniqueAny<HANDLE, CloseHandle>;  // e.g. a process from the shell
using UniqueWindow = UniqueAny<HWND, DestroyWindow>;

// The printer session of a unit of work (winapi/winspool.h), open for the
// life of the holder.
class PrinterSessionScope {
 public:
  PrinterSessionScope() { BeginPrinterSession(); }
  ~PrinterSessionScope() { EndPrinterSession(); }
  PrinterSessionScope(const PrinterSessionScope&) = delete;
  PrinterSessionScope& operator=(const PrinterSessionScope&) = delete;
};

// Selects an object into a device context and, when the scope ends, puts
// back the object it displaced, so that the device context never goes
// with one of ours selected and nothing of ours is deleted while selected.
// Later selections into the same device context may go through
// SelectObject directly: only the first displaced object is put back.
class UniqueSelection {
 public:
  UniqueSelection() = default;
  UniqueSelection(HDC dc, HGDIOBJ object) : dc_(dc) {
    HGDIOBJ previous = SelectObject(dc, object);
    if (previous && previous != HGDI_ERROR) previous_ = previous;
  }
  ~UniqueSelection() { reset(); }
  UniqueSelection(UniqueSelection&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  UniqueSelection& operator=(UniqueSelection&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = other.dc_;
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  UniqueSelection(const UniqueSelection&) = delete;
  UniqueSelection& operator=(const UniqueSelection&) = delete;

  explicit operator bool() const { return previous_ != nullptr; }
  void reset() {
    if (previous_) SelectObject(dc_, std::exchange(previous_, nullptr));
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

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
