#include "ui/window_registry.h"

#include <cstdlib>
#include <cstring>

namespace vorn {
namespace {

struct Entry {
  void* handle;
  Window* window;
};

Entry* g_entries = nullptr;
uint32_t g_count = 0;
uint32_t g_capacity = 0;
Window* g_being_created = nullptr;

// The first position whose handle is not below `handle`.
uint32_t LowerBound(void* handle) noexcept {
  uint32_t low = 0;
  uint32_t high = g_count;
  const auto key = reinterpret_cast<uintptr_t>(handle);
  while (low < high) {
    const uint32_t middle = low + (high - low) / 2;
    if (reinterpret_cast<uintptr_t>(g_entries[middle].handle) < key) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

}  // namespace

Result WindowRegistry::Add(void* handle, Window* window) noexcept {
  const uint32_t at = LowerBound(handle);
  if (at < g_count && g_entries[at].handle == handle) {
    g_entries[at].window = window;
    return kOk;
  }
  if (g_count == g_capacity) {
    const uint32_t capacity = g_capacity == 0 ? 16 : g_capacity * 2;
    auto* grown = static_cast<Entry*>(std::realloc(g_entries, sizeof(Entry) * capacity));
    if (grown == nullptr) return kOutOfMemory;
    g_entries = grown;
    g_capacity = capacity;
  }
  std::memmove(g_entries + at + 1, g_entries + at, sizeof(Entry) * (g_count - at));
  g_entries[at] = Entry{handle, window};
  ++g_count;
  return kOk;
}

void WindowRegistry::Remove(void* handle) noexcept {
  const uint32_t at = LowerBound(handle);
  if (at >= g_count || g_entries[at].handle != handle) return;
  std::memmove(g_entries + at, g_entries + at + 1, sizeof(Entry) * (g_count - at - 1));
  if (--g_count == 0) {
    std::free(g_entries);
    g_entries = nullptr;
    g_capacity = 0;
  }
}

Window* WindowRegistry::Find(void* handle) noexcept {
  const uint32_t at = LowerBound(handle);
  return at < g_count && g_entries[at].handle == handle ? g_entries[at].window : nullptr;
}

uint32_t WindowRegistry::Count() noexcept {
  return g_count;
}

void WindowRegistry::SetBeingCreated(Window* window) noexcept {
  g_being_created = window;
}

Window* WindowRegistry::TakeBeingCreated() noexcept {
  Window* window = g_being_created;
  g_being_created = nullptr;
  return window;
}

Window* WindowRegistry::BeingCreated() noexcept {
  return g_being_created;
}

}  // namespace vorn
