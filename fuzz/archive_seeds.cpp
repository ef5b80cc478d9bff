// Writes the archive fuzz target's seed corpus: archives made by the writer,
// with every method, empty and multi-block entries.
// The library is built without RTTI, so UBSan cannot check the dynamic
// types of its objects here; everything else stays checked.
#pragma clang attribute push(__attribute__((no_sanitize("vptr"))), apply_to = function)
#include <cstdio>
#include <string>
#include <vector>

#include "package/archive_writer.h"
#include "package/memory_stream.h"

namespace {

std::vector<uint8_t> Text(size_t size, unsigned seed) {
  static const char* const kWords[] = {"<Page ", "Name=\"", "Install", "\"/>\n", "the ", "file "};
  std::vector<uint8_t> out;
  unsigned state = seed;
  while (out.size() < size) {
    state = state * 1103515245u + 12345u;
    for (const char* c = kWords[(state >> 16) % 6]; *c != 0 && out.size() < size; ++c) {
      out.push_back(uint8_t(*c));
    }
  }
  return out;
}

bool Write(const std::string& folder, int index, const std::vector<uint8_t>& bytes) {
  const std::string path = folder + "/archive-" + std::to_string(index) + ".kelp";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: archive_seeds FOLDER\n");
    return 2;
  }
  const vorn::PackMethod methods[] = {vorn::kMethodStored, vorn::kMethodDeflate,
                                      vorn::kMethodLzo,    vorn::kMethodLzma,
                                      vorn::kMethodPpmd,   vorn::kMethodLzma2};
  int index = 0;
  for (int layout = 0; layout < 8; ++layout) {
    std::vector<uint8_t> room(1 << 20);
    vorn::MemoryStream sink(room.data(), room.size(), vorn::MemoryStream::kWriting);
    vorn::ArchiveWriter writer;
    if (writer.Begin(&sink) != vorn::kOk) return 1;
    const vorn::PackMethod first = methods[layout % 6];
    const vorn::PackMethod second = methods[(layout + 3) % 6];
    const std::vector<uint8_t> text = Text(200 + 300 * layout, unsigned(layout));
    if (writer.AddMemory(u"Data/Xml/Configuration.xml", text.data(), text.size(), first, 256) !=
            vorn::kOk ||
        writer.AddMemory(u"Product/Program.exe", text.data(), text.size() / 2, second) !=
            vorn::kOk ||
        writer.AddMemory(u"Product/Empty.txt", nullptr, 0, methods[(layout + 1) % 6]) !=
            vorn::kOk ||
        writer.Finish() != vorn::kOk) {
      return 1;
    }
    if (!Write(argv[1], index++, std::vector<uint8_t>(room.begin(), room.begin() + sink.Size()))) {
      return 1;
    }
  }
  return 0;
}

#pragma clang attribute pop
