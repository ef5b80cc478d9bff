// Writes the seed corpus of text_stream_fuzz into the folder given as
// argv[1]: a mode byte and then text with and without byte-order marks,
// valid and broken sequences.
#include <string>

#include "seed_files.h"

int main(int argc, char** argv) {
  const std::string folder = seeds::Folder(argc, argv);
  if (folder.empty()) return 1;
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
      seeds::Write(folder, number, std::string(1, static_cast<char>(shape)) + sample);
      ++number;
    }
  }
  return 0;
}
