// The tool's two output channels. Results (listings, summaries) go to
// standard output, messages and progress to standard error. On a Windows
// console text is written as UTF-16 so that any path shows correctly;
// elsewhere it is written as UTF-8 bytes.
#pragma once

#include <string>

namespace vornpack {

enum class Channel { kOut, kError };

bool IsTerminal(Channel channel);
void WriteText(Channel channel, const std::string& utf8);
// Width of the terminal in columns, or 80 when it cannot be told.
int TerminalWidth(Channel channel);

}  // namespace vornpack
