#include <cstdio>
#include <cstring>

#include "application/command_line.h"

namespace vorn {

namespace {

// Each argument as one token of a Windows-style command line: arguments
// that hold blanks are written in double quotes.
void AppendArgument(String& line, const char* argument, size_t length) {
  const String text = Utf8ToString(argument, length);
  bool has_blank = text.IsEmpty();
  for (uint32_t i = 0; i < text.Length(); ++i) has_blank = has_blank || IsWhiteSpace(text[i]);
  if (!line.IsEmpty()) line.Append(u' ');
  if (has_blank) line.Append(u'"');
  line.Append(text);
  if (has_blank) line.Append(u'"');
}

}  // namespace

String SystemCommandLine() noexcept {
  String line;
  FILE* file = std::fopen("/proc/self/cmdline", "rb");
  if (file == nullptr) return line;
  char buffer[4096];
  char argument[32768];
  size_t argument_length = 0;
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (size_t i = 0; i < count; ++i) {
      if (buffer[i] == 0) {
        AppendArgument(line, argument, argument_length);
        argument_length = 0;
      } else if (argument_length < sizeof argument) {
        argument[argument_length++] = buffer[i];
      }
    }
  }
  std::fclose(file);
  return line;
}

}  // namespace vorn
