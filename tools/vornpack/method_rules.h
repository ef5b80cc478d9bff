// Which compression method each packed file gets. By default: pictures,
// nested archives and every other already compressed format (archives,
// cabinets, media, the product's .dat data archives) stored, since coding
// them gains nothing and makes every installation decode them again; XML
// as PPMd (text models well); executables and libraries as LZMA. Any other
// file is sampled: its first block is coded with LZMA, and the file stays
// LZMA only when that block shrank by at least 2 %, else it is stored.
// Rules given on the command line as GLOB=N override all of that, later
// rules winning over earlier ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"
#include "package/package_format.h"

namespace vornpack {

// '*' matches any run of characters except '/', '**' any run including
// '/', '?' one character except '/'; everything else matches itself
// exactly (case matters, as it does for package paths). The whole path must
// match. "**/" also matches nothing, so "**/*.dat" matches "a.dat".
bool GlobMatches(const std::u16string& pattern, const std::u16string& path);

struct MethodChoice {
  vorn::PackMethod method = vorn::kMethodStored;
  // The method is kept only when the file's first block compresses well
  // enough (CompressionPays); otherwise the file is stored.
  bool sampled = false;
};

// Whether `packed` bytes (the properties field and the coded first block)
// save at least 2 % of the `unpacked` bytes they stand for.
bool CompressionPays(uint64_t unpacked, uint64_t packed);

class MethodRules {
 public:
  // Parses "GLOB=N" with N in 0 to 5; 5 with the reason otherwise.
  vorn::Result AddRule(const std::string& rule, std::string& error);
  // A matching rule's method (never sampled), else the default.
  MethodChoice ChoiceFor(const std::u16string& path) const;

  // The default for a path, by its extension.
  static MethodChoice DefaultChoice(const std::u16string& path);

 private:
  struct Rule {
    std::u16string glob;
    vorn::PackMethod method;
  };
  std::vector<Rule> rules_;
};

}  // namespace vornpack
