// A list that owns its entries and grows by doubling its capacity, starting
// at 16 entries. Appending reports a failed allocation instead of throwing.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "foundation/result.h"

namespace vorn {

template <class T>
class GrowingList {
 public:
  static constexpr uint32_t kMinimumCapacity = 16;

  GrowingList() noexcept = default;
  ~GrowingList() { delete[] entries_; }
  GrowingList(const GrowingList&) = delete;
  GrowingList& operator=(const GrowingList&) = delete;

  uint32_t Count() const noexcept { return count_; }
  uint32_t Capacity() const noexcept { return capacity_; }
  T& operator[](uint32_t index) noexcept { return entries_[index]; }
  const T& operator[](uint32_t index) const noexcept { return entries_[index]; }

  // 12 when the list cannot grow; the list is unchanged then.
  Result Append(T entry) noexcept {
    if (count_ == capacity_) {
      const uint32_t capacity = capacity_ == 0 ? kMinimumCapacity : capacity_ * 2;
      T* entries = new (std::nothrow) T[capacity];
      if (entries == nullptr) return kOutOfMemory;
      for (uint32_t i = 0; i < count_; ++i) entries[i] = std::move(entries_[i]);
      delete[] entries_;
      entries_ = entries;
      capacity_ = capacity;
    }
    entries_[count_++] = std::move(entry);
    return kOk;
  }

  void Clear() noexcept {
    delete[] entries_;
    entries_ = nullptr;
    count_ = 0;
    capacity_ = 0;
  }

 private:
  T* entries_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

}  // namespace vorn
