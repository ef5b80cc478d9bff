// Writes the seed corpus of command_line_fuzz (UTF-16LE command lines) into
// the folder given as the first argument.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: command_line_seeds FOLDER\n");
    return 2;
  }
  const char16_t* seeds[] = {
      u"setup.exe",
      u"\"C:\\Program Files\\Vorn\\setup.exe\" /Quiet /Language=fr",
      u"setup.exe -Uninstall -Language:it \"C:\\My Files\\a b.txt\"",
      u"setup.exe /Folder=\"C:\\a b\" / - /x= /y:\"",
      u"setup.exe /Language=\"fr /Quiet other.txt",
      u"p\u00A0a\u2028b\u0085c\td",
  };
  int index = 0;
  for (const char16_t* seed : seeds) {
    const std::string path = std::string(argv[1]) + "/seed" + std::to_string(index++);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 1;
    for (const char16_t* unit = seed; *unit; ++unit) {
      const unsigned char bytes[2] = {static_cast<unsigned char>(*unit & 0xFF),
                                      static_cast<unsigned char>(*unit >> 8)};
      std::fwrite(bytes, 1, 2, file);
    }
    std::fclose(file);
  }
  return 0;
}
