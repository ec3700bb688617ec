// A small table of simulated platform objects keyed by handle value. Each
// area of the simulated Windows keeps its objects in one, so tests can count
// what the library left open.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace simwin {

// Each kind of object has its own range of handle values, so that areas do
// not share values and a handle of one kind is never found in another
// kind's table. One list, so that no two kinds can be given the same range.
enum class HandleKind : uintptr_t {
  kGlobalBlock = 1,
  kDeviceContext,
  kRegistryKey,
  kFont,
  kPrinter,
  kProcess,
  kWindow,
};

template <typename Object>
class HandleTable {
 public:
  explicit HandleTable(HandleKind kind) : base_(static_cast<uintptr_t>(kind) << 20), next_(base_) {}

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
