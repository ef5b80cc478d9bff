// The resource manager's cache: entries found by key hash (several may share
// one; the newest wins) and by the data pointer handed out (for release).
// Both indexes are chained hash tables over the same entries; nothing here
// throws or aborts when memory runs out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/result.h"

namespace vorn {

enum class ResourceKind : uint32_t {
  kFile = 1,
  kPicture = 2,
  kDocument = 3,
  kElement = 4,
};

struct CacheEntry {
  uint32_t key_hash;
  void* data;
  uint64_t size;  // bytes of a file resource, 0 otherwise
  uint32_t users;
  ResourceKind kind;
  // References the manager holds itself (a registration), which no user
  // release may give back.
  uint32_t pinned;
  uint64_t sequence;  // insertion order: the newest of equals wins
  CacheEntry* next_by_key;
  CacheEntry* next_by_data;
};

class ResourceCache {
 public:
  ResourceCache() noexcept = default;
  ~ResourceCache();
  ResourceCache(const ResourceCache&) = delete;
  ResourceCache& operator=(const ResourceCache&) = delete;

  // The newest entry of that kind with that hash, or null. Filtering by kind
  // means a hash shared by keys of two kinds never hands out the wrong type.
  CacheEntry* FindByKey(uint32_t key_hash, ResourceKind kind) const noexcept;
  // The newest entry handing out that data, or null.
  CacheEntry* FindByData(const void* data) const noexcept;
  // The newest entry handing out that data with a user of its own to give
  // back (more users than pinned references), or null. An element of a
  // document registered twice has two entries; a user counted on the older
  // one is found there.
  CacheEntry* FindReleasable(const void* data) const noexcept;
  // A new entry in both indexes; null when out of memory (nothing changed).
  CacheEntry* Insert(uint32_t key_hash, void* data, uint64_t size, ResourceKind kind,
                     uint32_t users, uint32_t pinned) noexcept;
  // Unlinks and frees the entry (not its data).
  void Remove(CacheEntry* entry) noexcept;
  // Calls visit(entry) for every entry and then frees them all.
  template <class Visit>
  void Clear(Visit visit) noexcept {
    for (size_t i = 0; i < bucket_count_; ++i) {
      for (CacheEntry* e = by_key_[i]; e;) {
        CacheEntry* next = e->next_by_key;
        visit(*e);
        FreeEntry(e);
        e = next;
      }
    }
    ResetTables();
  }
  uint32_t Count() const noexcept { return count_; }
  // The sequence number the next entry will get.
  uint64_t NextSequence() const noexcept { return next_sequence_; }

 private:
  static size_t DataBucket(const void* data, size_t bucket_count) noexcept;
  bool Grow() noexcept;
  void FreeEntry(CacheEntry* entry) noexcept;
  void ResetTables() noexcept;

  CacheEntry** by_key_ = nullptr;
  CacheEntry** by_data_ = nullptr;
  size_t bucket_count_ = 0;
  uint32_t count_ = 0;
  uint64_t next_sequence_ = 0;
};

}  // namespace vorn
