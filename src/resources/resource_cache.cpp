#include "resources/resource_cache.h"

#include <cstdlib>

namespace vorn {

ResourceCache::~ResourceCache() {
  Clear([](CacheEntry&) {});
}

void ResourceCache::FreeEntry(CacheEntry* entry) noexcept {
  std::free(entry);
}

void ResourceCache::ResetTables() noexcept {
  std::free(by_key_);
  std::free(by_data_);
  by_key_ = by_data_ = nullptr;
  bucket_count_ = 0;
  count_ = 0;
}

size_t ResourceCache::DataBucket(const void* data, size_t bucket_count) noexcept {
  // Heap pointers are aligned; their low bits carry nothing.
  const uintptr_t bits = reinterpret_cast<uintptr_t>(data);
  return ((bits >> 4) ^ (bits >> 16)) & (bucket_count - 1);
}

CacheEntry* ResourceCache::FindByKey(uint32_t key_hash, ResourceKind kind) const noexcept {
  if (bucket_count_ == 0) return nullptr;
  CacheEntry* best = nullptr;
  for (CacheEntry* e = by_key_[key_hash & (bucket_count_ - 1)]; e; e = e->next_by_key) {
    if (e->key_hash == key_hash && e->kind == kind && (!best || e->sequence > best->sequence)) {
      best = e;
    }
  }
  return best;
}

CacheEntry* ResourceCache::FindByData(const void* data) const noexcept {
  if (bucket_count_ == 0 || !data) return nullptr;
  CacheEntry* best = nullptr;
  for (CacheEntry* e = by_data_[DataBucket(data, bucket_count_)]; e; e = e->next_by_data) {
    if (e->data == data && (!best || e->sequence > best->sequence)) best = e;
  }
  return best;
}

CacheEntry* ResourceCache::FindReleasable(const void* data) const noexcept {
  if (bucket_count_ == 0 || !data) return nullptr;
  CacheEntry* best = nullptr;
  for (CacheEntry* e = by_data_[DataBucket(data, bucket_count_)]; e; e = e->next_by_data) {
    if (e->data == data && e->users > e->pinned && (!best || e->sequence > best->sequence)) {
      best = e;
    }
  }
  return best;
}

// Doubles both tables; keeping the old ones when memory runs out still
// works, only with longer chains.
bool ResourceCache::Grow() noexcept {
  const size_t count = bucket_count_ ? bucket_count_ * 2 : 256;
  auto** by_key = static_cast<CacheEntry**>(std::calloc(count, sizeof(CacheEntry*)));
  auto** by_data = static_cast<CacheEntry**>(std::calloc(count, sizeof(CacheEntry*)));
  if (!by_key || !by_data) {
    std::free(by_key);
    std::free(by_data);
    return false;
  }
  for (size_t i = 0; i < bucket_count_; ++i) {
    for (CacheEntry* e = by_key_[i]; e;) {
      CacheEntry* next = e->next_by_key;
      CacheEntry*& key_head = by_key[e->key_hash & (count - 1)];
      e->next_by_key = key_head;
      key_head = e;
      CacheEntry*& data_head = by_data[DataBucket(e->data, count)];
      e->next_by_data = data_head;
      data_head = e;
      e = next;
    }
  }
  std::free(by_key_);
  std::free(by_data_);
  by_key_ = by_key;
  by_data_ = by_data;
  bucket_count_ = count;
  return true;
}

CacheEntry* ResourceCache::Insert(uint32_t key_hash, void* data, uint64_t size, ResourceKind kind,
                                  uint32_t users, uint32_t pinned) noexcept {
  if (count_ >= bucket_count_ && !Grow() && bucket_count_ == 0) return nullptr;
  auto* entry = static_cast<CacheEntry*>(std::malloc(sizeof(CacheEntry)));
  if (!entry) return nullptr;
  entry->key_hash = key_hash;
  entry->data = data;
  entry->size = size;
  entry->users = users;
  entry->kind = kind;
  entry->pinned = pinned;
  entry->sequence = next_sequence_++;
  CacheEntry*& key_head = by_key_[key_hash & (bucket_count_ - 1)];
  entry->next_by_key = key_head;
  key_head = entry;
  CacheEntry*& data_head = by_data_[DataBucket(data, bucket_count_)];
  entry->next_by_data = data_head;
  data_head = entry;
  ++count_;
  return entry;
}

void ResourceCache::Remove(CacheEntry* entry) noexcept {
  if (!entry || bucket_count_ == 0) return;
  for (CacheEntry** link = &by_key_[entry->key_hash & (bucket_count_ - 1)]; *link;
       link = &(*link)->next_by_key) {
    if (*link == entry) {
      *link = entry->next_by_key;
      break;
    }
  }
  for (CacheEntry** link = &by_data_[DataBucket(entry->data, bucket_count_)]; *link;
       link = &(*link)->next_by_data) {
    if (*link == entry) {
      *link = entry->next_by_data;
      break;
    }
  }
  --count_;
  FreeEntry(entry);
}

}  // namespace vorn
