// The objects of one kind that this platform handed out as handles. A
// handle is only turned back into an object when it is one of them, so a
// stale or foreign handle gets an error result, never a wild pointer.
//
// The table is shared by every thread of the process (registry reads and
// launches run beside a print), so each look-up and change holds its lock.
// An object itself belongs to the call that made it: only the table is
// shared.
#pragma once

#include <memory>
#include <mutex>
#include <set>

namespace linux_platform {

template <typename Object>
class LiveObjects {
 public:
  template <typename Handle>
  Handle Add(std::unique_ptr<Object> object) {
    std::lock_guard<std::mutex> hold(lock_);
    live_.insert(object.get());
    Object* raw = object.release();
    return reinterpret_cast<Handle>(raw);
  }
  template <typename Handle>
  Object* Find(Handle handle) const {
    auto* object = reinterpret_cast<Object*>(handle);
    std::lock_guard<std::mutex> hold(lock_);
    return live_.count(object) ? object : nullptr;
  }
  // Takes the object back; null when the handle is not a live one.
  template <typename Handle>
  std::unique_ptr<Object> Remove(Handle handle) {
    auto* object = reinterpret_cast<Object*>(handle);
    std::lock_guard<std::mutex> hold(lock_);
    return std::unique_ptr<Object>(live_.erase(object) ? object : nullptr);
  }
  template <typename Visit>
  void ForEach(Visit visit) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (Object* object : live_) visit(*object);
  }

 private:
  mutable std::mutex lock_;
  std::set<Object*> live_;
};

}  // namespace linux_platform
