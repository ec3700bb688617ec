// The objects of one kind that this platform handed out as handles. A
// handle is only turned back into an object when it is one of them, so a
// stale or foreign handle gets an error result, never a wild pointer.
#pragma once

#include <memory>
#include <set>

namespace linux_platform {

template <typename Object>
class LiveObjects {
 public:
  template <typename Handle>
  Handle Add(std::unique_ptr<Object> object) {
    Object* raw = object.release();
    live_.insert(raw);
    return reinterpret_cast<Handle>(raw);
  }
  template <typename Handle>
  Object* Find(Handle handle) const {
    auto* object = reinterpret_cast<Object*>(handle);
    return live_.count(object) ? object : nullptr;
  }
  // Takes the object back; null when the handle is not a live one.
  template <typename Handle>
  std::unique_ptr<Object> Remove(Handle handle) {
    Object* object = Find(handle);
    if (object) live_.erase(object);
    return std::unique_ptr<Object>(object);
  }
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (Object* object : live_) visit(*object);
  }

 private:
  std::set<Object*> live_;
};

}  // namespace linux_platform
