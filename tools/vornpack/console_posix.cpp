#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

#include "console.h"

namespace vornpack {
namespace {
int Descriptor(Channel channel) {
  return channel == Channel::kOut ? 1 : 2;
}
}  // namespace

bool IsTerminal(Channel channel) {
  return isatty(Descriptor(channel)) == 1;
}

void WriteText(Channel channel, const std::string& utf8) {
  FILE* file = channel == Channel::kOut ? stdout : stderr;
  std::fwrite(utf8.data(), 1, utf8.size(), file);
  std::fflush(file);
}

int TerminalWidth(Channel channel) {
  winsize size{};
  if (ioctl(Descriptor(channel), TIOCGWINSZ, &size) == 0 && size.ws_col > 20) return size.ws_col;
  return 80;
}

}  // namespace vornpack
