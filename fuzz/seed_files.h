// What the seed-corpus programs share: the folder argument, and writing one
// seed file ("seedN") of bytes or of UTF-16 little-endian text.
#pragma once

#include <cstdio>
#include <string>

namespace seeds {

// The folder given as argv[1], or empty (with a usage line) when missing.
inline std::string Folder(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s folder\n", argv[0]);
    return std::string();
  }
  return argv[1];
}

inline void Write(const std::string& folder, int number, const std::string& bytes) {
  const std::string path = folder + "/seed" + std::to_string(number);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

inline std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace seeds
