// Which compression method each packed file gets. By default the choice of
// the installer's own package: pictures and nested archives stored (they
// are compressed already, and nested archives are copied to disk
// unopened), XML as PPMd (text models well), everything else, executables
// and libraries included, as LZMA. Rules given on the command line as
// GLOB=N override that, later rules winning over earlier ones.
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

class MethodRules {
 public:
  // Parses "GLOB=N" with N in 0 to 5; 5 with the reason otherwise.
  vorn::Result AddRule(const std::string& rule, std::string& error);
  vorn::PackMethod MethodFor(const std::u16string& path) const;

  // The default for a path, by its extension.
  static vorn::PackMethod DefaultMethod(const std::u16string& path);

 private:
  struct Rule {
    std::u16string glob;
    vorn::PackMethod method;
  };
  std::vector<Rule> rules_;
};

}  // namespace vornpack
