// Writes the decoder fuzz target's seed corpus: each decoder's input as the
// package tool codes it, behind the selector byte and the unpacked size.
// The library is built without RTTI, so UBSan cannot check the dynamic
// types of its objects here; everything else stays checked.
#pragma clang attribute push(__attribute__((no_sanitize("vptr"))), apply_to = function)
#include <cstdio>
#include <string>
#include <vector>

#include "package/block_stream.h"
#include "package/lzh_stream.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/memory_stream.h"
#include "package/package_encoders.h"

namespace {

std::vector<uint8_t> Content(size_t size, unsigned seed) {
  std::vector<uint8_t> out(size);
  unsigned state = seed;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    out[i] =
        (i / 64) % 3 == 0 ? uint8_t("<Page Name=\"Install\"/>\n"[i % 23]) : uint8_t(state >> 24);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: decoder_seeds FOLDER\n");
    return 2;
  }
  int index = 0;
  for (unsigned kind = 0; kind < 5; ++kind) {
    for (size_t size : {size_t(0), size_t(1), size_t(300), size_t(5000), size_t(70000)}) {
      const std::vector<uint8_t> content = Content(size, kind * 7 + unsigned(size));
      std::vector<uint8_t> room(size * 2 + 4096);
      vorn::MemoryStream sink(room.data(), room.size(), vorn::MemoryStream::kWriting);
      vorn::LZHStream lzh(&vorn::kPackageEncoders);
      vorn::LZOStream lzo(&vorn::kPackageEncoders);
      vorn::LZMAStream lzma(kind == 2   ? vorn::kMethodLzma
                            : kind == 3 ? vorn::kMethodPpmd
                                        : vorn::kMethodLzma2,
                            &vorn::kPackageEncoders);
      vorn::Result result = vorn::kOk;
      vorn::Stream* coder = nullptr;
      if (kind == 0) {
        result = lzh.Init(&sink, 0, 0);
        coder = &lzh;
      } else if (kind == 1) {
        result = lzo.Init(&sink, 0, 0, vorn::BlockStream::kWriting, 4096);
        coder = &lzo;
      } else {
        result = lzma.Init(&sink, 0, 0, vorn::BlockStream::kWriting, 4096);
        coder = &lzma;
      }
      // An empty block writes nothing, but through a real pointer.
      const uint8_t none = 0;
      if (result == vorn::kOk && !content.empty())
        result = coder->Write(content.data(), uint32_t(content.size()));
      else if (result == vorn::kOk)
        result = coder->Write(&none, 0);
      const vorn::Result flushed = coder->Flush(0);
      if (result != vorn::kOk || (flushed != vorn::kOk && flushed != vorn::kNotSupported)) {
        std::fprintf(stderr, "decoder_seeds: kind %u size %zu: %d %d\n", kind, size, int(result),
                     int(flushed));
        return 1;
      }
      std::vector<uint8_t> seed = {uint8_t(kind), uint8_t(size), uint8_t(size >> 8),
                                   uint8_t(size >> 16), 0};
      seed.insert(seed.end(), room.begin(), room.begin() + sink.Size());
      const std::string path = std::string(argv[1]) + "/decoder-" + std::to_string(index++);
      FILE* file = std::fopen(path.c_str(), "wb");
      if (file == nullptr) return 1;
      std::fwrite(seed.data(), 1, seed.size(), file);
      std::fclose(file);
    }
  }
  return 0;
}

#pragma clang attribute pop
