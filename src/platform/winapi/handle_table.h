// The objects of one kind that a platform handed out as handles. A handle
// is only turned back into an object when it is a live one of this kind,
// so a stale handle, or a handle of another kind, gets an error result,
// never a wild pointer.
//
// The table is shared by every thread of the process (registry reads and
// launches run beside a print), so each look-up and change holds its lock.
// An object itself belongs to the call that made it: only the table is
// shared.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace winapi {

// Each kind of object has its own range of handle values, so that no two
// kinds share a value. One list, so that no two kinds get the same range.
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
  explicit HandleTable(HandleKind kind)
      : base_(static_cast<uintptr_t>(kind) << kRangeBits), next_(base_) {}

  // A value released once is not handed out again until the range has
  // gone round, so a stale handle stays stale.
  template <typename Handle>
  Handle Add(std::unique_ptr<Object> object) {
    std::lock_guard<std::mutex> hold(lock_);
    do {
      next_ = next_ + kStep < base_ + kRange ? next_ + kStep : base_ + kStep;
    } while (objects_.count(next_));
    objects_[next_] = std::move(object);
    return reinterpret_cast<Handle>(next_);
  }

  template <typename Handle>
  Object* Find(Handle handle) const {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : it->second.get();
  }

  // Takes the object back; null when the handle is not a live one.
  template <typename Handle>
  std::unique_ptr<Object> Remove(Handle handle) {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects_.end()) return nullptr;
    std::unique_ptr<Object> object = std::move(it->second);
    objects_.erase(it);
    return object;
  }

  // Calls visit(handle, object) for every live object, oldest first while
  // the range has not gone round. visit must not call the table.
  template <typename Handle, typename Visit>
  void ForEach(Visit visit) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (const auto& entry : objects_) visit(reinterpret_cast<Handle>(entry.first), *entry.second);
  }

  size_t Count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return objects_.size();
  }

  // Drops every object and starts the range again, as a fresh machine.
  void Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    objects_.clear();
    next_ = base_;
  }

 private:
  // Seven kinds of 2^28 values each stay below 2^31: a handle reads as a
  // positive 32-bit number, as Windows handles do in a log line.
  static constexpr int kRangeBits = 28;
  static constexpr uintptr_t kRange = uintptr_t{1} << kRangeBits;
  static constexpr uintptr_t kStep = 4;

  uintptr_t base_;
  uintptr_t next_;
  mutable std::mutex lock_;
  std::map<uintptr_t, std::unique_ptr<Object>> objects_;
};

}  // namespace winapi
