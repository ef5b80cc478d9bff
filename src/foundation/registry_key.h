// The registry key object (Windows only): a root and a subkey path, opened on
// first use. Reads open the key with full access, or read-only when full
// access is refused; writes create the key when it is missing.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class RegistryKey {
 public:
  enum RootKind : uint32_t {
    kClassesRoot = 1,
    kCurrentUser = 2,  // the user's own hive, else the predefined root
    kLocalMachine = 3,
    kLocalMachine64 = 4,  // the local machine in its 64-bit view
  };
  // The most bytes a text value may have to be read (its 0 included).
  static constexpr uint32_t kMaximumTextBytes = 16384;

  RegistryKey() noexcept = default;
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Closes what was open and sets the root and the subkey path ('/' becomes
  // '\'; a null path is the root itself). 5 for an unknown kind, 31 for a
  // path that begins with a separator.
  Result SetRoot(uint32_t kind, const char16_t* path) noexcept;
  // The key path below an open key, in its view. The object keeps its own
  // handle of the parent key, so the parent may be closed first. 32 when the
  // parent is not open.
  Result SetChildOf(const RegistryKey& parent, const char16_t* path) noexcept;
  // Opens the key now, as the first read (create false) or write (create
  // true) would; nothing happens when it is open already.
  Result Open(bool create) noexcept;
  bool IsOpen() const noexcept { return key_ != nullptr; }
  const String& Path() const noexcept { return path_; }

  // Deletes the subkey with everything below it. 38 for a null or empty
  // name; a key that does not exist counts as deleted.
  Result DeleteSubkey(const char16_t* name) noexcept;

  // Typed reads: 38 for a null name (text: the default value), 39 for a value
  // of another type, the mapped system error otherwise (29 when missing);
  // the output is false, 0 or empty unless the result is 0.
  Result ReadBoolean(const char16_t* name, bool& value) noexcept;   // REG_DWORD != 0
  Result ReadInt32(const char16_t* name, int32_t& value) noexcept;  // REG_DWORD
  Result ReadInt64(const char16_t* name, int64_t& value) noexcept;  // REG_QWORD
  // REG_SZ of at most kMaximumTextBytes (39 for a longer one).
  Result ReadText(const char16_t* name, String& value) noexcept;
  // A REG_SZ text read by the C runtime's text-to-double conversion; 33 and
  // 0 when it holds no number.
  Result ReadFloat(const char16_t* name, float& value) noexcept;
  Result ReadDouble(const char16_t* name, double& value) noexcept;

  // Typed writes: 38 for a null name (text: the default value), 23 for a
  // null text; floats are written as REG_SZ texts of "{0:g}".
  Result WriteBoolean(const char16_t* name, bool value) noexcept;          // REG_DWORD 0 or 1
  Result WriteInt32(const char16_t* name, int32_t value) noexcept;         // REG_DWORD
  Result WriteInt64(const char16_t* name, int64_t value) noexcept;         // REG_QWORD
  Result WriteText(const char16_t* name, const char16_t* value) noexcept;  // REG_SZ
  Result WriteFloat32(const char16_t* name, float value) noexcept;
  Result WriteFloat64(const char16_t* name, double value) noexcept;

  // Deletes one value: 38 for a null name; 29 when it is missing.
  Result DeleteValue(const char16_t* name) noexcept;

  // Closes the key, and the root when this object opened it; empties the
  // path.
  void Close() noexcept;

 private:
  Result ReadNumber(const char16_t* name, uint32_t type, void* value, uint32_t size) noexcept;
  Result WriteValue(const char16_t* name, uint32_t type, const void* data, uint32_t size) noexcept;

  void* root_ = nullptr;  // HKEY
  void* key_ = nullptr;   // HKEY, null until first use
  String path_;
  bool view64_ = false;
  bool owns_root_ = false;
};

}  // namespace vorn
