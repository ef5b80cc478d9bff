#include "pe_checksum.h"

namespace vornpack {

void PeChecksum::Update(const uint8_t* data, uint64_t size) {
  // The checksum field's own bytes count as zero.
  auto byte = [&](uint64_t at, uint8_t value) -> uint32_t {
    return at >= field_ && at < field_ + 4 ? 0u : value;
  };
  uint64_t i = 0;
  if (pending_ >= 0 && size > 0) {
    AddWord(static_cast<uint32_t>(pending_) | (byte(offset_, data[0]) << 8));
    pending_ = -1;
    i = 1;
  }
  for (; i + 1 < size; i += 2) {
    const uint64_t at = offset_ + i;
    if (at + 1 < field_ || at >= field_ + 4) {
      AddWord(static_cast<uint32_t>(data[i]) | (static_cast<uint32_t>(data[i + 1]) << 8));
    } else {
      AddWord(byte(at, data[i]) | (byte(at + 1, data[i + 1]) << 8));
    }
  }
  if (i < size) pending_ = static_cast<int>(byte(offset_ + i, data[i]));
  offset_ += size;
}

uint32_t PeChecksum::Finish() const {
  uint64_t sum = sum_;
  if (pending_ >= 0) {  // an odd file length: the last byte is a word of its own
    sum += static_cast<uint32_t>(pending_);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + offset_);
}

uint32_t ComputePeChecksum(const uint8_t* data, uint64_t size, uint64_t checksum_field) {
  PeChecksum checksum(checksum_field);
  checksum.Update(data, size);
  return checksum.Finish();
}

}  // namespace vornpack
