// Small synthetic Windows executables for the resource-section tests, built
// by hand with a layout of their own (data before directories, depth-first)
// so that the tool's reader meets a tree it did not write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vornpack_test {

using Bytes = std::vector<uint8_t>;

struct TestResource {
  bool type_named = false;
  uint32_t type = 0;
  std::u16string type_name;
  bool named = false;
  uint32_t id = 0;
  std::u16string name;
  uint32_t language = 0;
  Bytes data;
};

struct TestPeOptions {
  bool pe32_plus = true;
  bool with_resources = true;
  bool resources_last = false;  // .rsrc after .reloc
  bool headers_full = false;    // extra sections until no header slot is left
  bool certificate = false;     // a certificate table after the sections
  bool symbols = false;         // a COFF symbol table after the sections
  Bytes overlay;                // appended after everything
  std::vector<TestResource> extra_resources;
};

// The stub's usual resources: icon, group icon, manifest, version, a named
// type with a named entry, and RCDATA 5.
std::vector<TestResource> StandardResources();

Bytes BuildTestPe(const TestPeOptions& options);

// Field helpers for checks.
uint32_t PeHeaderOffset(const Bytes& pe);
uint32_t ReadU32(const Bytes& b, size_t at);
uint16_t ReadU16(const Bytes& b, size_t at);

// The PE checksum computed the plain way: the whole file word by word.
uint32_t ReferenceChecksum(const Bytes& pe);

Bytes PatternBytes(size_t size, uint32_t seed);

}  // namespace vornpack_test
