// Writes the seed corpus of text_to_number_fuzz into the folder given as
// argv[1]: numbers as UTF-16 little-endian texts, decimal and "0x" forms,
// signs, white space, the limits of each width and floating-point texts.
#include <cstdio>
#include <string>

namespace {

void Write(const std::string& folder, int number, const std::u16string& text) {
  const std::string path = folder + "/seed" + std::to_string(number);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  for (char16_t unit : text) {
    std::fputc(unit & 0xFF, file);
    std::fputc(unit >> 8, file);
  }
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s folder\n", argv[0]);
    return 1;
  }
  const std::string folder = argv[1];
  const std::u16string samples[] = {
      u"0",
      u"123",
      u"-123",
      u"+5",
      u" \t\u00a042",
      u"12abc",
      u"0x1A",
      u" 0x1A",
      u"0xFFFFFFFF",
      u"0x123456789",
      u"2147483647",
      u"-2147483648",
      u"4294967295",
      u"9223372036854775807",
      u"-9223372036854775808",
      u"18446744073709551615",
      u"18446744073709551617",
      u"FF8800",
      u"3.25",
      u"-0.5",
      u".5",
      u"12.",
      u"1e5",
      u"340282346638528859811704183484516925440",
      u"0.000000000000000000000000000000000000000000001",
      u"--1",
      u"",
  };
  int number = 0;
  for (const std::u16string& sample : samples) Write(folder, number++, sample);
  return 0;
}
