// Reading package entries against the raw library calls over the same bytes.
//
// Every ratio is reference time / our time (1.0 = parity, higher is better):
//   stored_read_vs_memcpy   a stored entry through PackageFileSystem::Open in
//                           4 MiB reads, against memcpy in 4 MiB pieces
//   zlib_read_vs_inflate    method 1 against one inflate over the same stream
//   lzo_read_vs_raw         method 2 against lzo1x_decompress_safe per block
//   lzma_read_vs_raw        method 3 against LzmaDecode per block
//   ppmd_read_vs_raw        method 4 against the PPMd decoder per block
//   lzma2_read_vs_raw       method 5 against Lzma2Decode per block
// each after the two throughputs it is made of (NAME_read and the
// reference's, in MiB/s of decoded bytes), and two absolute figures:
//   lzma_read_peak_rss_mib  peak resident memory while reading a 1 GiB
//                           method-3 entry from a file in 4 MiB reads
//   lzma_size_vs_xz9        size of the method-3 entry / xz -9 of the same
//                           bytes (when xz is installed)
//
// The corpus (text-like and binary-like halves) is 256 MiB; the slow coders
// (LZMA, PPMd, LZMA2 at level 9) are measured on its first 16 MiB, coded
// once on two threads; the deflate entry is coded at zlib's default level,
// since the level hardly changes how fast it inflates.
// VORN_ARCHIVE_BENCH_MIB scales the corpus (and the 1 GiB entry with it) for
// quick runs.
#include <lzo/lzo1x.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "lzmasdk/Lzma2Dec.h"
#include "lzmasdk/LzmaDec.h"
#include "lzmasdk/Ppmd7.h"
#include "package/archive_writer.h"
#include "package/block_codec.h"
#include "package/file_stream.h"
#include "package/memory_stream.h"
#include "package/package_file_system.h"

namespace {

using Bytes = std::vector<uint8_t>;
using vorn::PackMethod;

constexpr uint32_t kReadSize = 4u << 20;
constexpr uint32_t kPackageBlock = vorn::ArchiveWriter::kPackageBlockSize;

void* SdkAlloc(ISzAllocPtr, size_t size) {
  return std::malloc(size);
}
void SdkFree(ISzAllocPtr, void* address) {
  std::free(address);
}
const ISzAlloc kAlloc = {SdkAlloc, SdkFree};

double Once(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count();
}

void Figure(const char* name, double value, const char* unit = nullptr) {
  if (unit != nullptr) {
    std::printf("%s: %.3f %s\n", name, value, unit);
  } else {
    std::printf("%s: %.3f\n", name, value);
  }
  std::fflush(stdout);
}

// reference time / our time, each the best of `runs`, taken in turns so
// that a busy machine slows both alike. Both throughputs over the `bytes`
// delivered are printed before the ratio.
double Ratio(const char* ours_name, const char* reference_name, uint64_t bytes,
             const std::function<void()>& ours, const std::function<void()>& reference, int runs) {
  double best_ours = 1e30;
  double best_reference = 1e30;
  for (int i = 0; i < runs; ++i) {
    best_ours = std::min(best_ours, Once(ours));
    best_reference = std::min(best_reference, Once(reference));
  }
  const double mib = double(bytes) / double(1u << 20);
  Figure(ours_name, mib / best_ours, "MiB/s");
  Figure(reference_name, mib / best_reference, "MiB/s");
  return best_reference / best_ours;
}

// Progress on stderr, so that a slow machine shows where the time goes.
void Stage(const char* what) {
  static const auto start = std::chrono::steady_clock::now();
  const std::chrono::duration<double> at = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "[%7.1f s] %s\n", at.count(), what);
}

[[noreturn]] void Fail(const char* what, uint32_t code) {
  std::fprintf(stderr, "archive_bench: %s failed with %u\n", what, code);
  std::exit(1);
}

// 1 MiB pieces, alternately text-like (words, markup, line breaks) and
// binary-like (zero runs, small integers, a code-like alphabet, noise).
Bytes Corpus(size_t size) {
  static const char* const kWords[] = {
      "<Window ",    "Name=\"", "InstallFolder", "\" Text=\"#",   "Page",
      "Button",      "/>\n",    "the ",          "package ",      "of ",
      "product ",    "files ",  "Cancel",        "Confirmation",  "\t",
      "value=\"",    "0x1F",    "</Dialog>\n",   "<String Id=\"", "Licence ",
      "agreement. ",
  };
  std::mt19937 random(12345);
  Bytes out;
  out.reserve(size);
  size_t piece = 0;
  while (out.size() < size) {
    const size_t end = std::min(size, out.size() + (1u << 20));
    if (piece++ % 2 == 0) {
      while (out.size() < end) {
        const char* word = kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
        for (const char* c = word; *c != 0 && out.size() < end; ++c) out.push_back(uint8_t(*c));
      }
    } else {
      while (out.size() < end) {
        const uint32_t kind = random() % 4;
        const size_t run = 16 + random() % 512;
        for (size_t i = 0; i < run && out.size() < end; ++i) {
          uint8_t b = 0;
          if (kind == 1) b = uint8_t(i % 4 == 0 ? random() % 64 : 0);
          if (kind == 2) b = uint8_t(0x40 + random() % 24);
          if (kind == 3) b = uint8_t(random());
          out.push_back(b);
        }
      }
    }
  }
  return out;
}

// A memory sink for the writer: seekable within what was written.
class GrowingSink : public vorn::Stream {
 public:
  vorn::Result Close() noexcept override { return vorn::kOk; }
  vorn::Result Read(void*, uint32_t) noexcept override { return vorn::kNotSupported; }
  vorn::Result Write(const void* buffer, uint32_t count) noexcept override {
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
    return vorn::kOk;
  }
  vorn::Result Flush(int) noexcept override { return vorn::kOk; }
  uint64_t Position() noexcept override { return position_; }
  vorn::Result Seek(uint64_t offset) noexcept override {
    if (offset > bytes_.size()) return vorn::kIndexOutOfRange;
    position_ = offset;
    return vorn::kOk;
  }
  uint64_t Size() noexcept override { return bytes_.size(); }
  vorn::String Describe() noexcept override { return u"Sink"; }
  Bytes& Data() { return bytes_; }

 private:
  Bytes bytes_;
  uint64_t position_ = 0;
};

// The properties field and framed blocks of `content`, coded on two threads:
// each block is a pure function of its bytes.
Bytes CodeBlocks(PackMethod method, const Bytes& content, uint32_t block_size) {
  const size_t count = (content.size() + block_size - 1) / block_size;
  std::vector<Bytes> framed(count);
  auto work = [&](size_t first) {
    vorn::BlockEncoder* encoder = vorn::NewBlockEncoder(method, block_size);
    for (size_t i = first; i < count; i += 2) {
      const uint32_t size = uint32_t(std::min<size_t>(block_size, content.size() - i * block_size));
      framed[i].resize(vorn::FramedBlockBound(*encoder, size));
      uint32_t used = 0;
      if (vorn::EncodeFramedBlock(*encoder, content.data() + i * block_size, size, framed[i].data(),
                                  used) != vorn::kOk) {
        Fail("coding a block", 7);
      }
      framed[i].resize(used);
    }
    delete encoder;
  };
  std::thread second(work, 1);
  work(0);
  second.join();
  Bytes out(vorn::kPropertiesSize);
  if (method != vorn::kMethodLzo) {
    vorn::BlockEncoder* encoder = vorn::NewBlockEncoder(method, block_size);
    encoder->Properties(out.data());
    delete encoder;
  } else {
    out.clear();
  }
  for (const Bytes& block : framed) out.insert(out.end(), block.begin(), block.end());
  return out;
}

struct Entry {
  const char16_t* path;
  PackMethod method;
  const Bytes* content;
  Bytes coded;  // precoded data for the block methods
};

Bytes BuildArchive(std::vector<Entry>& entries) {
  GrowingSink sink;
  vorn::ArchiveWriter writer;
  if (writer.Begin(&sink) != vorn::kOk) Fail("starting the archive", 1);
  for (Entry& e : entries) {
    vorn::Result result;
    if (e.coded.empty()) {
      result = writer.AddMemory(e.path, e.content->data(), e.content->size(), e.method);
    } else {
      result = writer.BeginPrecodedEntry(e.path, e.method);
      for (size_t at = 0; result == vorn::kOk && at < e.coded.size(); at += kReadSize) {
        const uint32_t part = uint32_t(std::min<size_t>(kReadSize, e.coded.size() - at));
        result = writer.WriteEntry(e.coded.data() + at, part);
      }
      if (result == vorn::kOk) result = writer.EndPrecodedEntry(e.content->size());
    }
    if (result != vorn::kOk) Fail("adding an entry", result);
  }
  if (writer.Finish() != vorn::kOk) Fail("finishing the archive", 1);
  return std::move(sink.Data());
}

// Reads one package file to its end in 4 MiB reads; checks the bytes once.
void ReadThrough(vorn::PackageFileSystem& files, const char16_t* path, uint8_t* buffer,
                 const Bytes* expected) {
  vorn::Stream* stream = nullptr;
  vorn::Result result = files.Open(path, stream);
  if (result != vorn::kOk) Fail("opening an entry", result);
  uint64_t left = stream->Size();
  uint64_t at = 0;
  while (left > 0) {
    const uint32_t part = uint32_t(std::min<uint64_t>(kReadSize, left));
    result = stream->Read(buffer, part);
    if (result != vorn::kOk) Fail("reading an entry", result);
    if (expected != nullptr && std::memcmp(buffer, expected->data() + at, part) != 0) {
      Fail("comparing an entry", 22);
    }
    at += part;
    left -= part;
  }
  delete stream;
}

struct Block {
  const uint8_t* start;  // the block's lengths
  uint32_t unpacked;
  uint32_t packed;
  const uint8_t* data;
};

uint32_t ReadVarUInt(const uint8_t*& p) {
  uint32_t value = 0;
  for (int shift = 0;; shift += 7) {
    const uint8_t b = *p++;
    value |= uint32_t(b & 0x7F) << shift;
    if ((b & 0x80) == 0) return value;
  }
}

std::vector<Block> ParseBlocks(const Bytes& coded, size_t properties) {
  std::vector<Block> blocks;
  const uint8_t* p = coded.data() + properties;
  const uint8_t* end = coded.data() + coded.size();
  while (p < end) {
    Block b;
    b.start = p;
    b.unpacked = ReadVarUInt(p);
    b.packed = ReadVarUInt(p);
    b.data = p;
    p += b.packed == 0 ? b.unpacked : b.packed;
    blocks.push_back(b);
  }
  return blocks;
}

// The raw coder calls over the same blocks, each block into the 4 MiB
// buffer the reader would hand out.
void RawBlocks(PackMethod method, const Bytes& coded, uint8_t* buffer) {
  const std::vector<Block> blocks = ParseBlocks(coded, method == vorn::kMethodLzo ? 0 : 5);
  const uint8_t* properties = coded.data();
  CPpmd7 ppmd;
  uint32_t ppmd_order = 0;
  if (method == vorn::kMethodPpmd) {
    Ppmd7_Construct(&ppmd);
    ppmd_order = properties[0];
    uint32_t memory;
    std::memcpy(&memory, properties + 1, 4);
    if (!Ppmd7_Alloc(&ppmd, memory, &kAlloc)) Fail("PPMd memory", 12);
  }
  size_t at = 0;
  for (const Block& b : blocks) {
    if (at + b.unpacked > kReadSize) at = 0;
    uint8_t* out = buffer + at;
    at += b.unpacked;
    if (b.packed == 0) {
      std::memcpy(out, b.data, b.unpacked);
      continue;
    }
    bool ok = false;
    if (method == vorn::kMethodLzo) {
      lzo_uint size = b.unpacked;
      ok = lzo1x_decompress_safe(b.data, b.packed, out, &size, nullptr) == LZO_E_OK;
    } else if (method == vorn::kMethodLzma) {
      SizeT size = b.unpacked, in = b.packed;
      ELzmaStatus status;
      ok = LzmaDecode(out, &size, b.data, &in, properties, 5, LZMA_FINISH_END, &status, &kAlloc) ==
           SZ_OK;
    } else if (method == vorn::kMethodLzma2) {
      SizeT size = b.unpacked, in = b.packed;
      ELzmaStatus status;
      ok = Lzma2Decode(out, &size, b.data, &in, properties[0], LZMA_FINISH_END, &status, &kAlloc) ==
           SZ_OK;
    } else {
      struct Reader {
        IByteIn vt;
        const uint8_t* p;
        const uint8_t* end;
      } reader = {{[](IByteInPtr r) -> Byte {
                    auto* self = reinterpret_cast<Reader*>(const_cast<IByteIn*>(r));
                    return self->p < self->end ? *self->p++ : 0;
                  }},
                  b.data,
                  b.data + b.packed};
      ppmd.rc.dec.Stream = &reader.vt;
      Ppmd7_Init(&ppmd, ppmd_order);
      ok = Ppmd7z_RangeDec_Init(&ppmd.rc.dec);
      for (uint32_t i = 0; ok && i < b.unpacked; ++i) {
        const int symbol = Ppmd7z_DecodeSymbol(&ppmd);
        ok = symbol >= 0;
        out[i] = uint8_t(symbol);
      }
    }
    if (!ok) Fail("a raw decoder", 7);
  }
  if (method == vorn::kMethodPpmd) Ppmd7_Free(&ppmd, &kAlloc);
}

void RawInflate(const uint8_t* packed, size_t packed_size, size_t unpacked, uint8_t* buffer) {
  z_stream z = {};
  inflateInit(&z);
  z.next_in = const_cast<uint8_t*>(packed);
  z.avail_in = uInt(packed_size);
  size_t left = unpacked;
  while (left > 0) {
    const uint32_t part = uint32_t(std::min<size_t>(kReadSize, left));
    z.next_out = buffer;
    z.avail_out = part;
    const int code = inflate(&z, Z_NO_FLUSH);
    if (code != Z_OK && code != Z_STREAM_END) Fail("raw inflate", 15);
    left -= part - z.avail_out;
  }
  inflateEnd(&z);
}

// The data of the entry at `path` inside an archive in memory.
const uint8_t* EntryData(const Bytes& archive, const char16_t* path, uint64_t& packed) {
  vorn::MemoryStream source(archive.data(), archive.size());
  vorn::PackageArchive mounted;
  if (mounted.Mount(&source) != vorn::kOk) Fail("mounting", 1);
  vorn::SubStream* entry = nullptr;
  if (mounted.OpenEntry(path, entry) != vorn::kOk) Fail("opening", 1);
  const uint64_t data = source.Position();
  packed = mounted.CurrentEntry().packed_size;
  mounted.CloseEntry(entry);
  return archive.data() + data;
}

uint64_t PeakRssKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtoull(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

// Writes a method-3 entry of `size` bytes to a file, streaming: two coded
// 4 MiB blocks (text-like, binary-like) repeated; then reads it back in
// 4 MiB reads and reports the peak resident memory of the read.
double LzmaPeakRss(uint64_t size) {
  char path[] = "/tmp/vorn-archive-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) Fail("a temporary file", 1);
  close(fd);
  const std::u16string wide(path, path + std::strlen(path));
  {
    const Bytes sample = Corpus(2 * size_t(kPackageBlock));
    const Bytes coded = CodeBlocks(vorn::kMethodLzma, sample, kPackageBlock);
    const std::vector<Block> blocks = ParseBlocks(coded, 5);
    vorn::FileStream file;
    if (file.OpenForWriting(wide.c_str()) != vorn::kOk) Fail("creating the file", 1);
    vorn::ArchiveWriter writer;
    vorn::Result result = writer.Begin(&file);
    if (result == vorn::kOk) result = writer.BeginPrecodedEntry(u"Big.bin", vorn::kMethodLzma);
    if (result == vorn::kOk) result = writer.WriteEntry(coded.data(), 5);
    for (uint64_t at = 0; result == vorn::kOk && at < size; at += kPackageBlock) {
      const Block& b = blocks[(at / kPackageBlock) % 2];
      const uint8_t* end = b.data + (b.packed == 0 ? b.unpacked : b.packed);
      result = writer.WriteEntry(b.start, uint32_t(end - b.start));
    }
    if (result == vorn::kOk) result = writer.EndPrecodedEntry(size);
    if (result == vorn::kOk) result = writer.Finish();
    if (result != vorn::kOk) Fail("writing the 1 GiB entry", result);
  }
  // Forget the peak of the coding above; only the read counts.
  { std::ofstream("/proc/self/clear_refs") << "5"; }
  {
    vorn::PackageFileSystem files;
    if (files.MountFile(wide.c_str()) != vorn::kOk) Fail("mounting the file", 1);
    uint8_t* buffer = static_cast<uint8_t*>(std::malloc(kReadSize));
    ReadThrough(files, u"Big.bin", buffer, nullptr);
    std::free(buffer);
  }
  const uint64_t peak = PeakRssKib();
  std::remove(path);
  return double(peak) / 1024.0;
}

uint64_t XzSize(const Bytes& content) {
  if (std::system("command -v xz >/dev/null 2>&1") != 0) return 0;
  char path[] = "/tmp/vorn-archive-bench-xz-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return 0;
  if (write(fd, content.data(), content.size()) != ssize_t(content.size())) return 0;
  close(fd);
  const std::string command = std::string("xz -9 -T1 -c ") + path + " | wc -c";
  FILE* pipe = popen(command.c_str(), "r");
  unsigned long long size = 0;
  if (pipe == nullptr || std::fscanf(pipe, "%llu", &size) != 1) size = 0;
  if (pipe != nullptr) pclose(pipe);
  std::remove(path);
  return size;
}

}  // namespace

int main() {
  size_t mib = 256;
  if (const char* scale = std::getenv("VORN_ARCHIVE_BENCH_MIB"))
    mib = std::max(8ul, std::strtoul(scale, nullptr, 10));
  const size_t size = mib << 20;
  const size_t slow_size = std::min(size, size_t(16) << 20);

  // Peak memory first, while the process holds nothing else.
  Stage("1 GiB method-3 entry");
  Figure("lzma_read_peak_rss_mib", LzmaPeakRss(uint64_t(size) * 4));

  Stage("corpus");
  const Bytes corpus = Corpus(size);
  const Bytes slow(corpus.begin(), corpus.begin() + slow_size);
  std::vector<Entry> entries = {
      {u"Stored.bin", vorn::kMethodStored, &corpus, {}},
      {u"Deflate.bin", vorn::kMethodDeflate, &corpus, {}},
      {u"Lzo.bin", vorn::kMethodLzo, &corpus, {}},
      {u"Lzma.bin", vorn::kMethodLzma, &slow, {}},
      {u"Ppmd.bin", vorn::kMethodPpmd, &slow, {}},
      {u"Lzma2.bin", vorn::kMethodLzma2, &slow, {}},
  };
  const char* const names[] = {"", "", "LZO coding", "LZMA coding", "PPMd coding", "LZMA2 coding"};
  Stage("deflate coding");
  {
    uLongf packed_size = compressBound(uLong(corpus.size()));
    entries[1].coded.resize(packed_size);
    if (compress2(entries[1].coded.data(), &packed_size, corpus.data(), uLong(corpus.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
      Fail("deflate", 1);
    }
    entries[1].coded.resize(packed_size);
  }
  for (size_t i = 2; i < entries.size(); ++i) {
    Stage(names[i]);
    entries[i].coded =
        CodeBlocks(entries[i].method, *entries[i].content, i == 2 ? 65536 : kPackageBlock);
  }
  Stage("archive");
  const Bytes archive = BuildArchive(entries);
  Stage("reads");
  vorn::PackageFileSystem files;
  if (files.MountMemory(archive.data(), archive.size()) != vorn::kOk) Fail("mounting", 1);
  uint8_t* buffer = static_cast<uint8_t*>(std::malloc(kReadSize));
  std::memset(buffer, 0, kReadSize);

  for (const Entry& e : entries) ReadThrough(files, e.path, buffer, e.content);  // and warm up

  Figure("stored_read_vs_memcpy", Ratio(
                                      "stored_read", "memcpy", corpus.size(),
                                      [&] { ReadThrough(files, u"Stored.bin", buffer, nullptr); },
                                      [&] {
                                        for (size_t at = 0; at < corpus.size(); at += kReadSize) {
                                          std::memcpy(
                                              buffer, corpus.data() + at,
                                              std::min<size_t>(kReadSize, corpus.size() - at));
                                        }
                                      },
                                      7));

  uint64_t packed = 0;
  const uint8_t* deflated = EntryData(archive, u"Deflate.bin", packed);
  Figure("zlib_read_vs_inflate",
         Ratio(
             "zlib_read", "inflate", corpus.size(),
             [&] { ReadThrough(files, u"Deflate.bin", buffer, nullptr); },
             [&] { RawInflate(deflated, packed, corpus.size(), buffer); }, 3));

  const struct {
    const char* name;
    const char* ours;
    const char* raw;
    const char16_t* path;
    size_t index;
  } coders[] = {{"lzo_read_vs_raw", "lzo_read", "lzo_raw", u"Lzo.bin", 2},
                {"lzma_read_vs_raw", "lzma_read", "lzma_raw", u"Lzma.bin", 3},
                {"ppmd_read_vs_raw", "ppmd_read", "ppmd_raw", u"Ppmd.bin", 4},
                {"lzma2_read_vs_raw", "lzma2_read", "lzma2_raw", u"Lzma2.bin", 5}};
  for (const auto& c : coders) {
    const Entry& e = entries[c.index];
    Figure(c.name, Ratio(
                       c.ours, c.raw, e.content->size(),
                       [&] { ReadThrough(files, c.path, buffer, nullptr); },
                       [&] { RawBlocks(e.method, e.coded, buffer); }, 3));
  }

  Stage("xz -9");
  const uint64_t xz = XzSize(slow);
  if (xz != 0) Figure("lzma_size_vs_xz9", double(entries[3].coded.size()) / double(xz));
  Figure("corpus_mib", double(mib));
  Figure("slow_coder_corpus_mib", double(slow_size >> 20));
  std::free(buffer);
  return 0;
}
