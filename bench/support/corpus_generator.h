// Generated file contents for the benchmarks: prose, licence texts,
// installer-style XML, executable-like bytes and incompressible noise, all
// from one seeded generator, so the same seed always gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace bench {

using Bytes = std::vector<uint8_t>;

class Generator {
 public:
  explicit Generator(uint32_t seed);

  // Prose-like text in lines, from a made-up vocabulary.
  Bytes Text(size_t size);
  // Licence-like prose: numbered clauses of sentences in the wording that
  // licence agreements use, wrapped at 76 columns.
  Bytes Licence(size_t size);
  // Installer-style XML: nested elements with attributes and texts.
  Bytes Xml(size_t size);
  // Executable-like: synthetic x86 code made of instruction templates with
  // operands from small pools (registers, nearby offsets, a few addresses),
  // tables of pointers, strings (some UTF-16) and zero padding, in sections.
  Bytes Executable(size_t size);
  // Incompressible bytes.
  Bytes Noise(size_t size);

  uint32_t Next() { return random_(); }
  // An index below n, small ones far more likely.
  size_t Skewed(size_t n);
  // A size from min to max, spread evenly on a log scale.
  size_t LogSize(size_t min, size_t max);

 private:
  std::mt19937 random_;
  std::vector<std::string> words_;
};

}  // namespace bench
