// Writes the seed corpus of format_fuzz into the folder given as argv[1]:
// the framework's own templates with fitting arguments, and a few broken
// ones.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Argument {
  uint8_t tag;
  uint64_t value;
};

void Write(const std::string& folder, int number, const std::vector<Argument>& arguments,
           const std::u16string& format_template) {
  std::vector<uint8_t> bytes;
  bytes.push_back(static_cast<uint8_t>(arguments.size()));
  for (const Argument& argument : arguments) {
    bytes.push_back(argument.tag);
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<uint8_t>(argument.value >> (8 * i)));
  }
  for (char16_t unit : format_template) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  const std::string path = folder + "/seed" + std::to_string(number);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

uint64_t DoubleBits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: format_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int n = 0;
  Write(folder, n++, {{5, 42}}, u"{0}");
  Write(folder, n++, {{11, 0}}, u"{0}Hello");
  Write(folder, n++, {{5, 2024}, {5, 3}, {5, 7}}, u"{0,04}{1,02}{2,02}");
  Write(folder, n++, {{10, DoubleBits(1.5)}}, u"{0:g}");
  Write(folder, n++, {{10, DoubleBits(12.75)}}, u"{0,.0}");
  Write(folder, n++, {{9, 0x3FC00000}}, u"{0,8.3:f}");
  Write(folder, n++, {{2, 10}}, u"{0,02:X}");
  Write(folder, n++, {{7, 0xFFFFFFFFFFFFFFFFull}, {8, 7}}, u"{0:x}-{1,-5:n}|{{}}");
  Write(folder, n++, {{4, 65}, {0, 66}}, u"{0:c}{1:n}");
  Write(folder, n++, {{12, 0xABCDEF}, {6, 64}}, u"Memory({0}h,{1} bytes)");
  Write(folder, n++, {{5, 640}, {5, 480}}, u"{0}x{1}");
  Write(folder, n++, {{11, 2}}, u"[{0,-12}]");
  Write(folder, n++, {{10, DoubleBits(1e300)}}, u"{0,.20:g}");
  std::vector<Argument> bytes;
  std::u16string bytes_template;
  for (int i = 0; i < 8; ++i) {
    bytes.push_back({2, static_cast<uint64_t>(i * 17)});
    bytes_template += u"{" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u",02:X}";
  }
  Write(folder, n++, bytes, bytes_template);
  Write(folder, n++, {{5, 1}}, u"{0,");
  Write(folder, n++, {{13, 1}}, u"{0}");
  return 0;
}
