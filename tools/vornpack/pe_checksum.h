// The PE image checksum (the optional header's CheckSum field): the sum of
// the file's 16-bit little-endian words with end-around carry, the field
// itself counted as zero, plus the file length. Drivers and some loaders
// check it, and signing tools expect it right. Computed incrementally so a
// large embedded package can be streamed through it.
#pragma once

#include <cstdint>

namespace vornpack {

class PeChecksum {
 public:
  // `checksum_field` is the file offset of the 4-byte CheckSum field.
  explicit PeChecksum(uint64_t checksum_field) : field_(checksum_field) {}

  void Update(const uint8_t* data, uint64_t size);
  // The checksum of everything passed to Update so far, taken as the file.
  uint32_t Finish() const;

 private:
  void AddWord(uint32_t word) {
    sum_ += word;
    sum_ = (sum_ & 0xFFFF) + (sum_ >> 16);
  }

  uint64_t field_;
  uint64_t offset_ = 0;  // bytes seen
  uint64_t sum_ = 0;
  int pending_ = -1;  // the low byte of a word split between two updates
};

// The checksum of a whole file in memory.
uint32_t ComputePeChecksum(const uint8_t* data, uint64_t size, uint64_t checksum_field);

}  // namespace vornpack
