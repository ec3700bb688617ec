// The one owner template of platform objects, with no platform in it: the
// Win32 owners (handles.h) and the Linux back end's owners of libcups,
// cairo and fontconfig objects (linux/cups_cairo/owners.h) are one line each.
#pragma once

#include <utility>

namespace plenwick {

// One owner for every kind of object: the handle type, the function that
// releases it, and the value that stands for "no object".
template <typename Handle, auto Close, auto Invalid = nullptr>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(Handle handle) : handle_(handle) {}
  ~UniqueAny() { reset(); }
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  static constexpr Handle invalid() { return static_cast<Handle>(Invalid); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != invalid(); }
  Handle release() { return std::exchange(handle_, invalid()); }
  void reset(Handle handle = invalid()) {
    Handle old = std::exchange(handle_, handle);
    if (old != invalid()) Close(old);
  }
  // For a call that hands a new object back through an out-parameter: what
  // was held goes first, and the object written there is owned at once.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = invalid();
};

}  // namespace plenwick
