// A small Windows program built without a package, the stub to which the
// package tool adds one: it reads the named entries of its own RCDATA 4096
// through the process's package file system, in pieces as the installer
// does, and prints one line per path: "PATH SIZE CRC32" (hexadecimal), or
// "PATH error CODE". Exit status: 0 when every path was read, 1 when one was
// not, 3 when the program carries no package it can mount.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "package/package_file_system.h"

namespace {

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Reads the whole entry through its stream, 48 KiB at a time (a piece that
// does not divide the 4 MiB blocks).
vorn::Result ReadEntry(const char16_t* path, uint64_t& size, uint32_t& crc) {
  vorn::Stream* stream = nullptr;
  vorn::Result r = vorn::PackageFileSystem::Instance().Open(path, stream);
  if (r != vorn::kOk) return r;
  size = stream->Size();
  crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
  std::vector<uint8_t> piece(48 * 1024);
  for (uint64_t done = 0; done < size && r == vorn::kOk;) {
    const uint32_t n =
        static_cast<uint32_t>(size - done < piece.size() ? size - done : piece.size());
    if ((r = stream->Read(piece.data(), n)) == vorn::kOk) {
      crc = static_cast<uint32_t>(crc32(crc, piece.data(), n));
      done += n;
    }
  }
  delete stream;
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  vorn::PackageFileSystem& files = vorn::PackageFileSystem::Instance();
  if (files.EmbeddedResult() != vorn::kOk) {
    std::printf("no package (error %d)\n", static_cast<int>(files.EmbeddedResult()));
    return 3;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::u16string path(reinterpret_cast<const char16_t*>(argv[i]));
    uint64_t size = 0;
    uint32_t crc = 0;
    const vorn::Result r = ReadEntry(path.c_str(), size, crc);
    if (r == vorn::kOk) {
      std::printf("%s %llu %08X\n", Utf8(path).c_str(), static_cast<unsigned long long>(size), crc);
    } else {
      std::printf("%s error %d\n", Utf8(path).c_str(), static_cast<int>(r));
      status = 1;
    }
  }
  return status;
}
