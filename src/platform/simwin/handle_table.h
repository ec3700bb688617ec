// A small table of simulated platform objects keyed by handle value. Each
// area of the simulated Windows keeps its objects in one, so tests can count
// what the library left open.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace simwin {

template <typename Object>
class HandleTable {
 public:
  // Handle values start at base so that areas do not share values and a
  // handle of one kind is never found in another kind's table.
  explicit HandleTable(uintptr_t base) : base_(base), next_(base) {}

  template <typename Handle>
  Handle Add(std::unique_ptr<Object> object) {
    next_ += 4;
    objects_[next_] = std::move(object);
    return reinterpret_cast<Handle>(next_);
  }

  template <typename Handle>
  Object* Find(Handle handle) const {
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : it->second.get();
  }

  template <typename Handle>
  bool Remove(Handle handle) {
    return objects_.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
  }

  size_t Count() const { return objects_.size(); }
  void Clear() {
    objects_.clear();
    next_ = base_;
  }
  const std::map<uintptr_t, std::unique_ptr<Object>>& All() const { return objects_; }

 private:
  uintptr_t base_;
  uintptr_t next_;
  std::map<uintptr_t, std::unique_ptr<Object>> objects_;
};

}  // namespace simwin
