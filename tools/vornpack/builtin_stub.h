// The installer programs that `vornpack setup` uses when no --stub is given:
// "vornpack-stub-x86.exe" (the shipping 32-bit installer) and
// "vornpack-stub-x64.exe" (the 64-bit one), kept next to the tool, where the
// build puts them. VORNPACK_STUB_DIR names another folder to take them from
// (a vendor's signed copies, a test's dummy).
#pragma once

#include <string>

namespace vornpack {

inline constexpr char kStubFolderVariable[] = "VORNPACK_STUB_DIR";

// "x86" or "x64": the stub's path, or false with a message naming --stub.
bool FindBuiltInStub(const std::string& arch, std::u16string& path, std::string& error);

}  // namespace vornpack
