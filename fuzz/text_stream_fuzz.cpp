// TextStream decoding in each mode. The first byte chooses the mode (0 lets
// the stream detect it) and how the units are taken; the rest is the input.
// Whatever is decoded must be within bounds, and UTF-8 that decoded must
// encode and decode back to the same units.
#include <cstddef>
#include <cstdint>
#include <vector>

// The library is built without RTTI, which UBSan's vptr check needs: the
// code of this file that touches its streams (inline members included) goes
// without that one check.
#pragma clang attribute push(__attribute__((no_sanitize("vptr"))), apply_to = function)

#include "package/memory_stream.h"
#include "package/text_stream.h"

namespace {

using vorn::kOk;
using vorn::MemoryStream;
using vorn::Result;
using vorn::TextStream;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Decodes everything, alternating bulk reads with Reads of `step` units.
Result DecodeAll(TextStream& text, uint32_t step, std::vector<char16_t>& units) {
  char16_t chunk[64];
  for (bool bulk = true;; bulk = !bulk) {
    if (bulk || step == 0) {
      const char16_t* block = nullptr;
      uint32_t count = 0;
      const Result result = text.ReadUnits(block, count);
      if (result != kOk) return result;
      Check(count > 0 && count <= TextStream::kCapacity);
      units.insert(units.end(), block, block + count);
    } else {
      const Result result = text.Read(chunk, step * 2);
      if (result != kOk) return result;
      units.insert(units.end(), chunk, chunk + step);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint32_t mode = data[0] % 5;
  const uint32_t step = (data[0] / 5) % 33;
  MemoryStream memory(data + 1, size - 1);
  TextStream text(&memory);
  if (mode != vorn::kTextEncodingUnknown) text.SetMode(mode);
  std::vector<char16_t> units;
  const Result end = DecodeAll(text, step, units);
  Check(end == vorn::kEndOfData || end == vorn::kSyntaxError || end == vorn::kBadFormat);
  Check(units.size() <= size);
  // A Read that runs into the end hands out what was left and then fails:
  // those units are counted but were not collected above.
  Check(text.UnitsRead() >= units.size() && text.UnitsRead() - units.size() < step + 1);
  if (end != vorn::kEndOfData) return 0;
  Check(text.IsAtEnd());
  if (text.Mode() == vorn::kTextEncodingUtf16Le || text.Mode() == vorn::kTextEncodingUtf16Be) {
    Check(units.size() * 2 + (mode == 0 ? 2 : 0) == size - 1);
  }
  if (text.Mode() != vorn::kTextEncodingUtf8 || units.empty()) return 0;

  std::vector<unsigned char> encoded(units.size() * 3);
  MemoryStream out(encoded.data(), encoded.size(), MemoryStream::kWriting);
  TextStream writer(&out);
  writer.SetMode(vorn::kTextEncodingUtf8);
  Check(writer.Write(units.data(), static_cast<uint32_t>(units.size() * 2)) == kOk);
  MemoryStream back(encoded.data(), out.Size());
  TextStream reader(&back);
  reader.SetMode(vorn::kTextEncodingUtf8);
  std::vector<char16_t> again;
  Check(DecodeAll(reader, step, again) == vorn::kEndOfData);
  Check(again == units);
  return 0;
}

#pragma clang attribute pop
