#include "package/cache_layer.h"

#include <cstdlib>
#include <cstring>

#include "foundation/format.h"

namespace vorn {

namespace {

// Headers are read field by field; the common widths are copied as single
// loads rather than through a general copy.
void CopySmall(void* to, const uint8_t* from, uint32_t count) {
  switch (count) {
    case 1:
      *static_cast<uint8_t*>(to) = *from;
      break;
    case 2: {
      uint16_t value;
      std::memcpy(&value, from, 2);
      std::memcpy(to, &value, 2);
      break;
    }
    case 4: {
      uint32_t value;
      std::memcpy(&value, from, 4);
      std::memcpy(to, &value, 4);
      break;
    }
    default:
      std::memcpy(to, from, count);
  }
}

}  // namespace

CacheLayer::~CacheLayer() {
  if (inner_ != nullptr) Close();
  std::free(buffer_);
}

Result CacheLayer::Attach(Stream* inner) noexcept {
  if (inner_ != nullptr) {
    WriteDirtyRange();
    inner_->Flush(0);
  }
  inner_ = nullptr;
  position_ = 0;
  ResetWindow();
  dirty_start_ = kClean;
  dirty_end_ = 0;
  lost_write_ = kOk;
  if (buffer_ == nullptr) {
    buffer_ = static_cast<uint8_t*>(std::malloc(kCapacity));
    if (buffer_ == nullptr) return kOutOfMemory;
  }
  inner_ = inner;
  return kOk;
}

void CacheLayer::ResetWindow() noexcept {
  window_start_ = 0;
  window_length_ = 0;
}

bool CacheLayer::UsesWindow(uint32_t count) const noexcept {
  if (count <= kCapacity / 2) return true;
  if (window_length_ == 0) return count <= kCapacity;
  return position_ >= window_start_ && position_ + count <= WindowEnd();
}

void CacheLayer::TakeInnerPosition() noexcept {
  const uint64_t inner = inner_->Position();
  position_ = inner == ~uint64_t{0} ? 0 : inner;
}

Result CacheLayer::ReadDirect(void* buffer, uint32_t count) noexcept {
  Result result = inner_->Seek(position_);
  if (result != kOk) return result;
  result = inner_->Read(buffer, count);
  TakeInnerPosition();
  return result;
}

Result CacheLayer::Refill() noexcept {
  window_start_ = position_;
  const uint64_t size = inner_->Size();
  if (position_ >= size) {
    window_length_ = 0;
    return kEndOfData;
  }
  const uint64_t left = size - position_;
  window_length_ = left < kCapacity ? static_cast<uint32_t>(left) : kCapacity;
  Result result = inner_->Seek(window_start_);
  if (result == kOk) result = inner_->Read(buffer_, window_length_);
  if (result != kOk) {
    inner_->Seek(window_start_);
    window_length_ = 0;
  }
  return result;
}

Result CacheLayer::Read(void* buffer, uint32_t count) noexcept {
  if (buffer == nullptr || inner_ == nullptr) return kNullOutput;
  if (count == 0) return kOk;
  Result result = WriteDirtyRange();
  if (result != kOk) return result;
  if (!UsesWindow(count)) return ReadDirect(buffer, count);

  if (window_length_ == 0 || position_ < window_start_ || position_ >= WindowEnd()) {
    result = Refill();
    if (result != kOk) return result;
  }
  auto* to = static_cast<uint8_t*>(buffer);
  for (;;) {
    const uint64_t available = WindowEnd() - position_;
    const uint8_t* from = buffer_ + (position_ - window_start_);
    if (available >= count) {
      CopySmall(to, from, count);
      position_ += count;
      return kOk;
    }
    std::memcpy(to, from, static_cast<size_t>(available));
    to += available;
    position_ += available;
    count -= static_cast<uint32_t>(available);
    result = Refill();
    if (result != kOk) return result;
  }
}

Result CacheLayer::WriteDirect(const void* buffer, uint32_t count) noexcept {
  Result result = WriteDirtyRange();
  if (result != kOk) return result;
  // The window may hold an older copy of the bytes written now; a later read
  // from it would return stale data.
  ResetWindow();
  result = inner_->Seek(position_);
  if (result != kOk) return result;
  result = inner_->Write(buffer, count);
  TakeInnerPosition();
  return result;
}

Result CacheLayer::Write(const void* buffer, uint32_t count) noexcept {
  if (buffer == nullptr) return kNullInput;
  if (inner_ == nullptr) return kNullOutput;
  if (count == 0) return kOk;
  if (!UsesWindow(count)) return WriteDirect(buffer, count);

  const auto* from = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    if (window_length_ == 0) window_start_ = inner_->Position();
    if (!IsDirty()) {
      dirty_start_ = position_;
      dirty_end_ = 0;
      if (position_ < window_start_ || position_ >= WindowEnd()) {
        window_start_ = position_;
        window_length_ = 0;
      }
    }
    const uint64_t offset = position_ - window_start_;
    const uint64_t space = kCapacity - offset;
    const uint32_t part = count < space ? count : static_cast<uint32_t>(space);
    std::memcpy(buffer_ + offset, from, part);
    from += part;
    count -= part;
    position_ += part;
    if (position_ > dirty_end_) dirty_end_ = position_;
    if (position_ - window_start_ > window_length_) {
      window_length_ = static_cast<uint32_t>(position_ - window_start_);
    }
    if (part == space) {
      Result result = WriteDirtyRange();
      ResetWindow();
      if (result != kOk) return result;
    }
  }
  return kOk;
}

Result CacheLayer::WriteDirtyRange() noexcept {
  if (!IsDirty()) return kOk;
  const uint64_t start = dirty_start_;
  const uint64_t end = dirty_end_;
  dirty_start_ = kClean;
  dirty_end_ = 0;
  Result result = inner_->Seek(start);
  if (result == kOk) {
    result = inner_->Write(buffer_ + (start - window_start_), static_cast<uint32_t>(end - start));
  }
  // After a failure the window's bytes may not match the file any more.
  if (result != kOk) {
    ResetWindow();
    if (lost_write_ == kOk) lost_write_ = result;
  }
  return result;
}

Result CacheLayer::Seek(uint64_t offset) noexcept {
  if (inner_ == nullptr) return kNullOutput;
  if (!IsDirty() || offset < dirty_start_ || offset > dirty_end_) {
    Result result = WriteDirtyRange();
    if (result != kOk) return result;
  }
  position_ = offset;
  return kOk;
}

Result CacheLayer::Flush(int durable) noexcept {
  if (inner_ == nullptr) return kNullOutput;
  Result result = WriteDirtyRange();
  if (result != kOk) return result;
  return inner_->Flush(durable);
}

uint64_t CacheLayer::Size() noexcept {
  if (inner_ == nullptr) return 0;
  const uint64_t size = inner_->Size();
  return IsDirty() && dirty_end_ > size ? dirty_end_ : size;
}

Result CacheLayer::Close() noexcept {
  if (inner_ == nullptr) return kNullOutput;
  WriteDirtyRange();
  const Result lost = lost_write_;
  position_ = 0;
  ResetWindow();
  dirty_start_ = kClean;
  dirty_end_ = 0;
  lost_write_ = kOk;
  const Result closed = inner_->Close();
  return lost != kOk ? lost : closed;
}

String CacheLayer::Describe() noexcept {
  if (inner_ == nullptr) return Format(u"Cache({0},n/a)", FormatArg(kCapacity));
  String inner = inner_->Describe();
  return Format(u"Cache({0},{1})", FormatArg(kCapacity), FormatArg(inner));
}

}  // namespace vorn
