// Mounts the input as a package archive and reads every entry of its
// directory to the end, then asks the file system for the paths the seed
// archives use.
// The library is built without RTTI, so UBSan cannot check the dynamic
// types of its objects here; everything else stays checked.
#pragma clang attribute push(__attribute__((no_sanitize("vptr"))), apply_to = function)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "package/package_archive.h"
#include "package/package_file_system.h"

namespace {

uint8_t g_buffer[70000];

void Drain(vorn::Stream& stream) {
  // Reads of varied sizes, as parsers and file copies make them.
  uint32_t part = 1;
  while (stream.Position() < stream.Size()) {
    const uint64_t left = stream.Size() - stream.Position();
    const uint32_t count = left < part ? uint32_t(left) : part;
    if (stream.Read(g_buffer, count) != vorn::kOk) return;
    part = part * 3 + 1;
    if (part > sizeof(g_buffer)) part = 7;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorn::MemoryStream source(data, size);
  vorn::PackageArchive archive;
  if (archive.Mount(&source) == vorn::kOk) {
    const uint32_t rows = archive.RowCount() < 64 ? archive.RowCount() : 64;
    for (uint32_t i = 0; i < rows; ++i) {
      vorn::SubStream* entry = nullptr;
      if (archive.OpenRow(i, entry) != vorn::kOk) continue;
      Drain(*entry);
      archive.CloseEntry(entry);
    }
  }
  vorn::PackageFileSystem files;
  if (files.MountMemory(data, size) == vorn::kOk) {
    for (const char16_t* path : {u"Data/Xml/Configuration.xml", u"Data/Pictures/Logo.png",
                                 u"Product/Program.exe", u"Product/Empty.txt"}) {
      uint8_t* bytes = nullptr;
      uint64_t length = 0;
      if (files.ReadAll(path, bytes, length) == vorn::kOk) std::free(bytes);
    }
  }
  return 0;
}

#pragma clang attribute pop
