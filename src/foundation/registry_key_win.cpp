#include <windows.h>
// The shell and COM headers need windows.h first.
#include <shlwapi.h>

#include <cstdlib>
#include <cwchar>
#include <utility>

#include "foundation/format.h"
#include "foundation/registry_key.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

HKEY Key(void* handle) noexcept {
  return static_cast<HKEY>(handle);
}

REGSAM Access(REGSAM rights, bool view64) noexcept {
  return rights | (view64 ? KEY_WOW64_64KEY : 0);
}

// The registry functions return Windows error numbers themselves.
Result FromStatus(LONG status) noexcept {
  return ResultFromSystemError(static_cast<uint32_t>(status));
}

// Full access, or read-only when full access is refused.
Result OpenExisting(HKEY root, const char16_t* path, bool view64, HKEY& key) noexcept {
  key = nullptr;
  LONG status = RegOpenKeyExW(root, Wide(path), 0, Access(KEY_ALL_ACCESS, view64), &key);
  if (status == ERROR_ACCESS_DENIED) {
    status = RegOpenKeyExW(root, Wide(path), 0, Access(KEY_READ, view64), &key);
  }
  if (status != ERROR_SUCCESS) key = nullptr;
  return FromStatus(status);
}

// The subkey path in the registry's form; 31 for one that begins with a
// separator (the registry would take it for a path from nowhere).
Result KeyPath(const char16_t* path, String& key_path) noexcept {
  key_path = String(path);
  key_path.Replace(u'/', u'\\');
  if (!key_path.IsEmpty() && key_path[0] == u'\\') {
    key_path = String();
    return kInvalidPath;
  }
  return kOk;
}

}  // namespace

RegistryKey::~RegistryKey() {
  Close();
}

void RegistryKey::Close() noexcept {
  if (key_ != nullptr) RegCloseKey(Key(key_));
  if (owns_root_ && root_ != nullptr) RegCloseKey(Key(root_));
  key_ = nullptr;
  root_ = nullptr;
  owns_root_ = false;
  view64_ = false;
  path_ = String();
}

Result RegistryKey::SetRoot(uint32_t kind, const char16_t* path) noexcept {
  Close();
  if (kind < kClassesRoot || kind > kLocalMachine64) return kInvalidArgument;
  String key_path;
  const Result result = KeyPath(path, key_path);
  if (result != kOk) return result;
  switch (kind) {
    case kClassesRoot:
      root_ = HKEY_CLASSES_ROOT;
      break;
    case kCurrentUser: {
      // The hive of the user this thread runs as; HKEY_CURRENT_USER is
      // cached per process and can belong to someone else.
      HKEY user = nullptr;
      if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) == ERROR_SUCCESS) {
        root_ = user;
        owns_root_ = true;
      } else {
        root_ = HKEY_CURRENT_USER;
      }
      break;
    }
    case kLocalMachine:
      root_ = HKEY_LOCAL_MACHINE;
      break;
    default:
      root_ = HKEY_LOCAL_MACHINE;
      view64_ = true;
      break;
  }
  path_ = std::move(key_path);
  return kOk;
}

Result RegistryKey::SetChildOf(const RegistryKey& parent, const char16_t* path) noexcept {
  if (&parent == this) return kInvalidArgument;
  Close();
  if (parent.key_ == nullptr) return kInvalidState;
  String key_path;
  Result result = KeyPath(path, key_path);
  if (result != kOk) return result;
  // A handle of our own: the parent's may be closed while this one lives.
  HKEY root = nullptr;
  result = OpenExisting(Key(parent.key_), u"", parent.view64_, root);
  if (result != kOk) return result;
  root_ = root;
  owns_root_ = true;
  view64_ = parent.view64_;
  path_ = std::move(key_path);
  return kOk;
}

Result RegistryKey::Open(bool create) noexcept {
  if (key_ != nullptr) return kOk;
  if (root_ == nullptr) return kNotOpen;
  HKEY key = nullptr;
  if (!create) {
    const Result result = OpenExisting(Key(root_), path_.Text(), view64_, key);
    if (result != kOk) return result;
  } else {
    const LONG status = RegCreateKeyExW(Key(root_), Wide(path_.Text()), 0, nullptr, 0,
                                        Access(KEY_ALL_ACCESS, view64_), nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return FromStatus(status);
  }
  key_ = key;
  return kOk;
}

Result RegistryKey::DeleteSubkey(const char16_t* name) noexcept {
  // An empty name would make the deletion take this key itself.
  if (name == nullptr || *name == 0) return kInvalidName;
  Result result = Open(false);
  if (result == kNotFound) return kOk;
  if (result != kOk) return result;
  result = FromStatus(static_cast<LONG>(SHDeleteKeyW(Key(key_), Wide(name))));
  return result == kNotFound ? kOk : result;
}

Result RegistryKey::ReadNumber(const char16_t* name, uint32_t type, void* value,
                               uint32_t size) noexcept {
  if (name == nullptr) return kInvalidName;
  Result result = Open(false);
  if (result != kOk) return result;
  DWORD found_type = REG_NONE;
  DWORD found_size = size;
  const LONG status = RegQueryValueExW(Key(key_), Wide(name), nullptr, &found_type,
                                       static_cast<BYTE*>(value), &found_size);
  // A value of another type may also be larger than the buffer; its type is
  // known either way.
  if ((status == ERROR_SUCCESS || status == ERROR_MORE_DATA) && found_type != type) {
    return kWrongType;
  }
  if (status != ERROR_SUCCESS) return FromStatus(status);
  return found_size == size ? kOk : kWrongType;
}

Result RegistryKey::ReadBoolean(const char16_t* name, bool& value) noexcept {
  value = false;
  DWORD number = 0;
  const Result result = ReadNumber(name, REG_DWORD, &number, sizeof(number));
  if (result == kOk) value = number != 0;
  return result;
}

Result RegistryKey::ReadInt32(const char16_t* name, int32_t& value) noexcept {
  value = 0;
  DWORD number = 0;
  const Result result = ReadNumber(name, REG_DWORD, &number, sizeof(number));
  if (result == kOk) value = static_cast<int32_t>(number);
  return result;
}

Result RegistryKey::ReadInt64(const char16_t* name, int64_t& value) noexcept {
  value = 0;
  uint64_t number = 0;
  const Result result = ReadNumber(name, REG_QWORD, &number, sizeof(number));
  if (result == kOk) value = static_cast<int64_t>(number);
  return result;
}

Result RegistryKey::ReadText(const char16_t* name, String& value) noexcept {
  value = String();
  Result result = Open(false);
  if (result != kOk) return result;
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG status = RegQueryValueExW(Key(key_), Wide(name), nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return FromStatus(status);
  if (type != REG_SZ || size > kMaximumTextBytes) return kWrongType;
  // Room for a 0 the stored text may lack.
  BYTE* buffer = static_cast<BYTE*>(std::calloc(kMaximumTextBytes + 2, 1));
  if (buffer == nullptr) return kOutOfMemory;
  size = kMaximumTextBytes;
  status = RegQueryValueExW(Key(key_), Wide(name), nullptr, &type, buffer, &size);
  if (status == ERROR_MORE_DATA) {
    result = kWrongType;  // it grew beyond the limit since the first look
  } else if (status != ERROR_SUCCESS) {
    result = FromStatus(status);
  } else if (type != REG_SZ) {
    result = kWrongType;
  } else {
    const char16_t* text = reinterpret_cast<const char16_t*>(buffer);
    uint32_t length = size / sizeof(char16_t);
    while (length > 0 && text[length - 1] == 0) --length;
    value.Assign(text, length);
    if (value.Length() != length) result = kOutOfMemory;
  }
  std::free(buffer);
  return result;
}

Result RegistryKey::ReadDouble(const char16_t* name, double& value) noexcept {
  value = 0;
  if (name == nullptr) return kInvalidName;
  String text;
  const Result result = ReadText(name, text);
  if (result != kOk) return result;
  const wchar_t* start = Wide(text.Text());
  wchar_t* end = nullptr;
  const double number = std::wcstod(start, &end);
  if (end == start) return kInvalidContent;
  value = number;
  return kOk;
}

Result RegistryKey::ReadFloat(const char16_t* name, float& value) noexcept {
  value = 0;
  double number = 0;
  const Result result = ReadDouble(name, number);
  if (result == kOk) value = static_cast<float>(number);
  return result;
}

Result RegistryKey::WriteValue(const char16_t* name, uint32_t type, const void* data,
                               uint32_t size) noexcept {
  const Result result = Open(true);
  if (result != kOk) return result;
  return FromStatus(
      RegSetValueExW(Key(key_), Wide(name), 0, type, static_cast<const BYTE*>(data), size));
}

Result RegistryKey::WriteBoolean(const char16_t* name, bool value) noexcept {
  if (name == nullptr) return kInvalidName;
  const DWORD number = value ? 1 : 0;
  return WriteValue(name, REG_DWORD, &number, sizeof(number));
}

Result RegistryKey::WriteInt32(const char16_t* name, int32_t value) noexcept {
  if (name == nullptr) return kInvalidName;
  const DWORD number = static_cast<DWORD>(value);
  return WriteValue(name, REG_DWORD, &number, sizeof(number));
}

Result RegistryKey::WriteInt64(const char16_t* name, int64_t value) noexcept {
  if (name == nullptr) return kInvalidName;
  const uint64_t number = static_cast<uint64_t>(value);
  return WriteValue(name, REG_QWORD, &number, sizeof(number));
}

Result RegistryKey::WriteText(const char16_t* name, const char16_t* value) noexcept {
  if (value == nullptr) return kNullOutput;
  const uint32_t length = TextLength(value);
  // The registry takes at most 4 GiB less a little; far beyond any text here.
  if (length >= 0x7FFFFFFFu / sizeof(char16_t)) return kInvalidSize;
  return WriteValue(name, REG_SZ, value, (length + 1) * sizeof(char16_t));
}

Result RegistryKey::WriteFloat32(const char16_t* name, float value) noexcept {
  if (name == nullptr) return kInvalidName;
  const String text = Format(u"{0:g}", FormatArg(value));
  return WriteText(name, text.Text());
}

Result RegistryKey::WriteFloat64(const char16_t* name, double value) noexcept {
  if (name == nullptr) return kInvalidName;
  const String text = Format(u"{0:g}", FormatArg(value));
  return WriteText(name, text.Text());
}

Result RegistryKey::DeleteValue(const char16_t* name) noexcept {
  if (name == nullptr) return kInvalidName;
  const Result result = Open(false);
  if (result != kOk) return result;
  return FromStatus(RegDeleteValueW(Key(key_), Wide(name)));
}

}  // namespace vorn
