// Writes the installer benchmark's payload into a folder:
//   install_payload FOLDER [--scale X] [--seed N]
// Exit codes are result codes: 0 written, 5 bad arguments, 31 the folder
// cannot be made, 13 disk full, 1 any other write failure.
#include "support/install_payload.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  std::string folder;
  double scale = 1.0;
  uint32_t seed = bench::kPayloadSeed;
  for (int i = 1; i < argc; ++i) {
    char* end = nullptr;
    if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      scale = std::strtod(argv[++i], &end);
      if (*end != 0) scale = 0;
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = static_cast<uint32_t>(std::strtoul(argv[++i], &end, 10));
      if (*end != 0) folder.clear(), i = argc;
    } else if (folder.empty() && argv[i][0] != '-') {
      folder = argv[i];
    } else {
      folder.clear();
      break;
    }
  }
  if (folder.empty() || !(scale > 0 && scale <= 1)) {
    std::fprintf(stderr, "usage: install_payload FOLDER [--scale X (0 < X <= 1)] [--seed N]\n");
    return vorn::kInvalidArgument;
  }
  const vorn::Result r = bench::WritePayload(folder, scale, seed);
  if (r != vorn::kOk)
    std::fprintf(stderr, "install_payload: writing %s failed (%u)\n", folder.c_str(), r);
  return static_cast<int>(r);
}
