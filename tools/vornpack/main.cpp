// The vornpack program: the command line in UTF-8, handed to the tool.
#include "commands.h"
#include "tool_text.h"

#ifdef _WIN32
// Windows hands the command line over in UTF-16, which is the only form
// that keeps every file name intact.
int wmain(int argc, wchar_t** argv) {
  vornpack::Arguments args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(vornpack::ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(argv[i]))));
  }
  return vornpack::RunVornpack(args, vornpack::ConsoleOutput());
}
#else
int main(int argc, char** argv) {
  vornpack::Arguments args(argv + 1, argv + argc);
  return vornpack::RunVornpack(args, vornpack::ConsoleOutput());
}
#endif
