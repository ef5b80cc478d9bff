#include "method_rules.h"

#include "tool_text.h"

namespace vornpack {
namespace {

bool Match(const char16_t* p, const char16_t* p_end, const char16_t* s, const char16_t* s_end) {
  while (p < p_end) {
    if (*p == u'*') {
      const bool crosses = p + 1 < p_end && p[1] == u'*';
      const char16_t* rest = p + (crosses ? 2 : 1);
      // "**/" may also stand for no folder at all.
      if (crosses && rest < p_end && *rest == u'/' && Match(rest + 1, p_end, s, s_end)) return true;
      for (const char16_t* t = s;; ++t) {
        if (Match(rest, p_end, t, s_end)) return true;
        if (t == s_end || (!crosses && *t == u'/')) return false;
      }
    }
    if (s == s_end) return false;
    if (*p == u'?') {
      if (*s == u'/') return false;
    } else if (*p != *s) {
      return false;
    }
    ++p;
    ++s;
  }
  return s == s_end;
}

std::u16string LowerExtension(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return u"";
  std::u16string extension = path.substr(dot + 1);
  for (char16_t& c : extension) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return extension;
}

}  // namespace

bool GlobMatches(const std::u16string& pattern, const std::u16string& path) {
  return Match(pattern.data(), pattern.data() + pattern.size(), path.data(),
               path.data() + path.size());
}

vorn::Result MethodRules::AddRule(const std::string& rule, std::string& error) {
  const size_t equals = rule.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 2 != rule.size() ||
      rule[equals + 1] < '0' || rule[equals + 1] > '5') {
    error =
        "--method wants GLOB=N with N from 0 to 5 (0 stored, 1 deflate, 2 LZO, 3 LZMA, "
        "4 PPMd, 5 LZMA2), not \"" +
        rule + "\"";
    return vorn::kInvalidArgument;
  }
  rules_.push_back(
      {FromUtf8(rule.substr(0, equals)), static_cast<vorn::PackMethod>(rule[equals + 1] - '0')});
  return vorn::kOk;
}

MethodChoice MethodRules::ChoiceFor(const std::u16string& path) const {
  for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
    if (GlobMatches(rule->glob, path)) return {rule->method, false};
  }
  return DefaultChoice(path);
}

bool CompressionPays(uint64_t unpacked, uint64_t packed) {
  return packed * 100 <= unpacked * 98;
}

MethodChoice MethodRules::DefaultChoice(const std::u16string& path) {
  const std::u16string extension = LowerExtension(path);
  // Pictures (stored like the installer's own, bmp included), nested
  // packages, and formats that carry their own compression: archives and
  // installer cabinets, compressed streams, sound and video, and ".dat",
  // which the product's data archives carry.
  static const char16_t* const kStored[] = {
      u"png",  u"jpg", u"jpeg", u"bmp", u"gif", u"ico",  u"webp", u"kelp", u"zip",  u"7z",
      u"rar",  u"cab", u"msi",  u"msp", u"msu", u"jar",  u"gz",   u"tgz",  u"xz",   u"txz",
      u"lzma", u"bz2", u"zst",  u"lz4", u"mp3", u"m4a",  u"aac",  u"ogg",  u"opus", u"flac",
      u"wma",  u"mp4", u"m4v",  u"mov", u"avi", u"webm", u"mkv",  u"wmv",  u"dat"};
  for (const char16_t* e : kStored) {
    if (extension == e) return {vorn::kMethodStored, false};
  }
  if (extension == u"xml") return {vorn::kMethodPpmd, false};
  static const char16_t* const kMachineCode[] = {u"exe", u"dll", u"sys", u"ocx",
                                                 u"cpl", u"drv", u"scr"};
  for (const char16_t* e : kMachineCode) {
    if (extension == e) return {vorn::kMethodLzma, false};
  }
  // Anything else may be text or may be compressed data under a name that
  // does not say so: its first block decides.
  return {vorn::kMethodLzma, true};
}

}  // namespace vornpack
