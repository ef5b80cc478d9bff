// vorn_smoke: calls each library of the build once (zlib, libpng, libjpeg,
// LZO, the LZMA SDK) and exits 0 when all of them work, else prints what
// failed and exits 1. Built on every preset, so the shipping win32 build gets
// the same check, through its import table, as the tested ones.
#include <cstdio>
#include <string>

#include "smoke_checks.h"

namespace vorn::smoke {

std::vector<unsigned char> SampleData() {
  std::vector<unsigned char> data;
  for (int line = 0; line < 200; ++line) {
    char text[80];
    const int length = std::snprintf(text, sizeof text, "line %d: the package archive %s\n", line,
                                     line % 3 ? "holds every file" : "is embedded");
    data.insert(data.end(), text, text + length);
  }
  return data;
}

}  // namespace vorn::smoke

namespace {

struct Check {
  const char* name;
  std::string (*run)();
};

constexpr Check kChecks[] = {
    {"zlib", vorn::smoke::CheckZlib},    {"libpng", vorn::smoke::CheckPng},
    {"libjpeg", vorn::smoke::CheckJpeg}, {"lzo", vorn::smoke::CheckLzo},
    {"lzma", vorn::smoke::CheckLzma},    {"lzma2", vorn::smoke::CheckLzma2},
    {"ppmd7", vorn::smoke::CheckPpmd7},
};

}  // namespace

int main() {
  int failures = 0;
  for (const Check& check : kChecks) {
    const std::string problem = check.run();
    if (problem.empty()) {
      std::printf("smoke: %s ok\n", check.name);
    } else {
      std::printf("smoke: %s FAILED: %s\n", check.name, problem.c_str());
      ++failures;
    }
  }
  if (failures != 0) {
    std::printf("smoke: %d of %zu checks failed\n", failures, sizeof kChecks / sizeof kChecks[0]);
    return 1;
  }
  std::printf("smoke: all libraries work\n");
  return 0;
}
