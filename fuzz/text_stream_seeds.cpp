// Writes the seed corpus of text_stream_fuzz into the folder given as
// argv[1]: a mode byte and then text with and without byte-order marks,
// valid and broken sequences.
#include <cstdio>
#include <string>

namespace {

void Write(const std::string& folder, int number, unsigned char mode, const std::string& bytes) {
  const std::string path = folder + "/seed" + std::to_string(number);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fputc(mode, file);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s folder\n", argv[0]);
    return 1;
  }
  const std::string folder = argv[1];
  const std::string samples[] = {
      "\xEF\xBB\xBF<a>caf\xC3\xA9 \xE2\x82\xAC</a>",
      "plain text",
      std::string("\xFF\xFE<\0a\0>\0", 8),
      std::string("\xFE\xFF\0<\0a\0>", 8),
      "\xEF\xBB\x00",
      "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
      "\xED\xA0\xBD\xED\xB8\x80",
      "\x80\xC3",
      std::string(16383, 'x') + "\xE2\x82\xAC",
  };
  int number = 0;
  for (const std::string& sample : samples) {
    for (int mode = 0; mode < 5; ++mode) {
      // The read step (mode byte / 5) varies with the seed.
      const unsigned char shape = static_cast<unsigned char>(mode + 5 * (number % 7));
      Write(folder, number, shape, sample);
      ++number;
    }
  }
  return 0;
}
