// Writes the seed corpus of text_to_number_fuzz into the folder given as
// argv[1]: numbers as UTF-16 little-endian texts, decimal and "0x" forms,
// signs, white space, the limits of each width and floating-point texts.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
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
  for (const std::u16string& sample : samples)
    seeds::Write(folder, number++, seeds::Utf16Le(sample));
  return 0;
}
