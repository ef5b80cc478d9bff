// A registry sub-tree written out as text, for the scripts' snapshots and
// for reading an installation's entries back. One line per key
// ("K<TAB>path") and per value ("V<TAB>name<TAB>type<TAB>data"); tabs,
// line breaks and backslashes inside names and data are escaped.
#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "e2e/driver/driver.h"

namespace e2e {
namespace {

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\0': out += L"\\0"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring DataText(DWORD type, const std::vector<BYTE>& data) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
      // Strings end with their terminator, which is not part of the text.
      if (type != REG_MULTI_SZ) text.resize(wcsnlen(text.c_str(), text.size()));
      while (type == REG_MULTI_SZ && text.size() >= 2 && text.back() == 0 && text[text.size() - 2] == 0)
        text.pop_back();
      return Escaped(text);
    }
    case REG_DWORD:
      if (data.size() == 4) return std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
      break;
    case REG_QWORD:
      if (data.size() == 8) return std::to_wstring(*reinterpret_cast<const unsigned long long*>(data.data()));
      break;
    default:
      break;
  }
  std::wstring hex;
  for (BYTE byte : data) hex += Hex(byte).size() == 1 ? L"0" + Hex(byte) : Hex(byte);
  return hex;
}

const wchar_t* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ: return L"sz";
    case REG_EXPAND_SZ: return L"expand_sz";
    case REG_MULTI_SZ: return L"multi_sz";
    case REG_DWORD: return L"dword";
    case REG_QWORD: return L"qword";
    case REG_BINARY: return L"binary";
    case REG_NONE: return L"none";
    default: return L"other";
  }
}

void Dump(HKEY key, const std::wstring& path, FILE* out) {
  fputs(Utf8(L"K\t" + Escaped(path) + L"\n").c_str(), out);
  DWORD value_count = 0, longest_name = 0, longest_data = 0, subkey_count = 0, longest_subkey = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkey_count, &longest_subkey, nullptr, &value_count,
                   &longest_name, &longest_data, nullptr, nullptr);
  std::vector<std::wstring> lines;
  for (DWORD i = 0; i < value_count; ++i) {
    std::wstring name(longest_name + 2, L'\0');
    std::vector<BYTE> data(longest_data + 2);
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD data_length = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &name_length, nullptr, &type, data.data(), &data_length) !=
        ERROR_SUCCESS)
      continue;
    name.resize(name_length);
    data.resize(data_length);
    lines.push_back(L"V\t" + Escaped(name) + L"\t" + TypeName(type) + L"\t" + DataText(type, data) + L"\n");
  }
  std::sort(lines.begin(), lines.end());
  for (const std::wstring& line : lines) fputs(Utf8(line).c_str(), out);
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0; i < subkey_count; ++i) {
    std::wstring name(longest_subkey + 2, L'\0');
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    name.resize(length);
    subkeys.push_back(name);
  }
  std::sort(subkeys.begin(), subkeys.end());
  for (const std::wstring& name : subkeys) {
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &child) != ERROR_SUCCESS) continue;
    Dump(child, path + L"\\" + name, out);
    RegCloseKey(child);
  }
}

}  // namespace

int RegistryDump(const Arguments& args) {
  if (args.positional.size() != 2) return kUsage;
  const std::wstring& path = args.positional[0];
  const size_t slash = path.find(L'\\');
  const std::wstring root_name = path.substr(0, slash);
  const std::wstring below = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
  HKEY root = nullptr;
  if (root_name == L"HKLM" || root_name == L"HKEY_LOCAL_MACHINE") {
    root = HKEY_LOCAL_MACHINE;
  } else if (root_name == L"HKCU" || root_name == L"HKEY_CURRENT_USER") {
    root = HKEY_CURRENT_USER;
  } else if (root_name == L"HKCR" || root_name == L"HKEY_CLASSES_ROOT") {
    root = HKEY_CLASSES_ROOT;
  } else {
    return kUsage;
  }
  FILE* out = _wfopen(args.positional[1].c_str(), L"wb");
  if (out == nullptr) return kSystemFailure;
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExW(root, below.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key);
  if (opened == ERROR_SUCCESS) {
    Dump(key, path, out);
    RegCloseKey(key);
  }
  fclose(out);
  return opened == ERROR_SUCCESS ? kDone : kNotFound;
}

}  // namespace e2e
