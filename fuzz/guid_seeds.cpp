// Writes the seed corpus of guid_fuzz into the folder given as argv[1]:
// GUID texts as UTF-16 little-endian, in the forms the framework meets
// (plain, braced, lower case, spaced) and with one digit too few or too
// many.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
  const std::u16string samples[] = {
      u"00112233-4455-6677-8899-AABBCCDDEEFF",
      u"{6B29FC40-CA47-1067-B31D-00DD010662DA}",
      u"{6b29fc40-ca47-1067-b31d-00dd010662da}",
      u"0011 2233 4455 6677 8899 AABB CCDD EEFF",
      u"00000000-0000-0000-0000-000000000000",
      u"00112233-4455-6677-8899-AABBCCDDEEF",
      u"00112233-4455-6677-8899-AABBCCDDEEFF0",
      u"{}",
      u"",
      u"g0112233-4455-6677-8899-AABBCCDDEEFF\u00e9",
  };
  int number = 0;
  for (const std::u16string& sample : samples)
    seeds::Write(folder, number++, seeds::Utf16Le(sample));
  return 0;
}
