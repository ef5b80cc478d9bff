// The smoke program's checks: one small round trip through each library we
// build against, to prove that headers, libraries and link flags of a preset
// fit together before any of our own code depends on them.
#ifndef VORN_TOOLS_SMOKE_SMOKE_CHECKS_H_
#define VORN_TOOLS_SMOKE_SMOKE_CHECKS_H_

#include <string>
#include <vector>

namespace vorn::smoke {

// Each check returns the empty text on success, else what went wrong.
std::string CheckZlib();
std::string CheckPng();
std::string CheckJpeg();
std::string CheckLzo();
std::string CheckLzma();
std::string CheckLzma2();
std::string CheckPpmd7();

// Compressible but not trivial input: repeated text with a counter, so that
// every coder has matches to find and literals to code.
std::vector<unsigned char> SampleData();

}  // namespace vorn::smoke

#endif  // VORN_TOOLS_SMOKE_SMOKE_CHECKS_H_
