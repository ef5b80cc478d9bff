// Command lines of any content: the table never holds more than 32 tokens,
// every token is either a switch or a file, and lookups stay in bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "application/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t units = size / sizeof(char16_t);
  auto* text = static_cast<char16_t*>(std::malloc((units + 1) * sizeof(char16_t)));
  if (text == nullptr) return 0;
  std::memcpy(text, data, units * sizeof(char16_t));
  text[units] = 0;
  vorn::CommandLine line;
  line.Parse(text);
  if (line.TokenCount() > vorn::CommandLine::kMaxTokens) std::abort();
  for (uint32_t i = 0; i < line.TokenCount(); ++i) {
    const vorn::CommandLineToken& token = line.Token(i);
    if (token.is_switch && !token.file.IsEmpty()) std::abort();
    if (token.is_switch) line.FindSwitch(token.switch_name.Text());
  }
  vorn::String files[vorn::CommandLine::kMaxTokens];
  line.TakeFiles(files);
  std::free(text);
  return 0;
}
