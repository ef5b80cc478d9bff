// FormatText against swprintf over the templates the framework formats most:
// a number, a text, a date, a registry float, a hex byte and a GUID. Both
// sides produce the same texts (checked first); the figure is our throughput
// over swprintf's.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "foundation/format.h"
#include "foundation/guid.h"

namespace {

using vorn::FormatArg;
using vorn::FormatArgument;
using vorn::FormatText;
using vorn::String;

constexpr int kValues = 256;

struct Inputs {
  int32_t integers[kValues];
  double floats[kValues];
  uint8_t bytes[kValues];
  int32_t years[kValues], months[kValues], days[kValues];
  vorn::Guid guids[kValues];
  std::u16string texts[kValues];
  std::wstring wide_texts[kValues];
};

void MakeInputs(Inputs& in) {
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < kValues; ++i) {
    in.integers[i] = static_cast<int32_t>(next()) >> (next() % 31);
    // Values with few decimals, as registry floats are: the digits by
    // division and the C runtime's correctly rounded digits agree on them.
    in.floats[i] = static_cast<double>(static_cast<int32_t>(next() % 200000) - 100000) / 64.0;
    in.bytes[i] = static_cast<uint8_t>(next());
    in.years[i] = 1990 + static_cast<int32_t>(next() % 60);
    in.months[i] = 1 + static_cast<int32_t>(next() % 12);
    in.days[i] = 1 + static_cast<int32_t>(next() % 28);
    for (uint8_t& byte : in.guids[i].bytes) byte = static_cast<uint8_t>(next() >> 8);
    const int length = 3 + static_cast<int>(next() % 30);
    for (int k = 0; k < length; ++k) {
      const char unit = static_cast<char>('a' + next() % 26);
      in.texts[i].push_back(static_cast<char16_t>(unit));
      in.wide_texts[i].push_back(static_cast<wchar_t>(unit));
    }
  }
}

constexpr const char16_t* kGuidTemplate =
    u"{0,02:X}{1,02:X}{2,02:X}{3,02:X}-{4,02:X}{5,02:X}-{6,02:X}{7,02:X}-{8,02:X}{9,02:X}-"
    u"{10,02:X}{11,02:X}{12,02:X}{13,02:X}{14,02:X}{15,02:X}";
constexpr const wchar_t* kGuidFormat =
    L"%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X";

// One round of the mix through FormatText; each result is handed to `sink`.
template <class Sink>
void OursRound(const Inputs& in, int i, Sink&& sink) {
  const FormatArgument integer = FormatArg(in.integers[i]);
  sink(vorn::Format(u"{0}", integer));
  sink(vorn::Format(u"{0}", FormatArg(in.texts[i].c_str())));
  sink(vorn::Format(u"{0,04}{1,02}{2,02}", FormatArg(in.years[i]), FormatArg(in.months[i]),
                    FormatArg(in.days[i])));
  sink(vorn::Format(u"{0:g}", FormatArg(in.floats[i])));
  sink(vorn::Format(u"{0,02:X}", FormatArg(in.bytes[i])));
  sink(vorn::GuidToText(in.guids[i]));
}

// The trailing-zero trim of "g" that swprintf lacks.
int TrimZeros(wchar_t* text, int length) {
  const wchar_t* dot = std::wcschr(text, L'.');
  if (dot == nullptr) return length;
  while (length > 0 && text[length - 1] == L'0') --length;
  if (length > 0 && text[length - 1] == L'.') --length;
  text[length] = 0;
  return length;
}

template <class Sink>
void ReferenceRound(const Inputs& in, int i, Sink&& sink) {
  wchar_t buffer[4096];
  int n = std::swprintf(buffer, 4096, L"%d", in.integers[i]);
  sink(buffer, n);
  n = std::swprintf(buffer, 4096, L"%ls", in.wide_texts[i].c_str());
  sink(buffer, n);
  n = std::swprintf(buffer, 4096, L"%04d%02d%02d", in.years[i], in.months[i], in.days[i]);
  sink(buffer, n);
  n = std::swprintf(buffer, 4096, L"%.6f", in.floats[i]);
  sink(buffer, TrimZeros(buffer, n));
  n = std::swprintf(buffer, 4096, L"%02X", in.bytes[i]);
  sink(buffer, n);
  const uint8_t* g = in.guids[i].bytes;
  n = std::swprintf(buffer, 4096, kGuidFormat, g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8],
                    g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
  sink(buffer, n);
}

bool TextsAgree(const Inputs& in) {
  for (int i = 0; i < kValues; ++i) {
    std::vector<std::u16string> ours;
    OursRound(in, i, [&](const String& s) { ours.emplace_back(s.Text(), s.Length()); });
    size_t k = 0;
    bool same = true;
    ReferenceRound(in, i, [&](const wchar_t* text, int length) {
      std::u16string theirs;
      for (int j = 0; j < length; ++j) theirs.push_back(static_cast<char16_t>(text[j]));
      if (theirs != ours[k]) {
        std::fprintf(stderr, "mismatch in case %zu of value %d: %ls\n", k, i, text);
        same = false;
      }
      ++k;
    });
    if (!same) return false;
  }
  return true;
}

template <class Round>
double OpsPerSecond(Round&& round, int ops_per_round) {
  using Clock = std::chrono::steady_clock;
  long long rounds = 0;
  const auto start = Clock::now();
  auto elapsed = Clock::duration::zero();
  while (elapsed < std::chrono::milliseconds(700)) {
    for (int i = 0; i < kValues; ++i) round(i);
    rounds += kValues;
    elapsed = Clock::now() - start;
  }
  return static_cast<double>(rounds) * ops_per_round /
         std::chrono::duration<double>(elapsed).count();
}

}  // namespace

int main() {
  static Inputs in;
  MakeInputs(in);
  if (!TextsAgree(in)) {
    std::fprintf(stderr, "format_bench: FormatText and swprintf disagree\n");
    return 1;
  }
  size_t checksum = 0;
  auto ours = [&](int i) { OursRound(in, i, [&](const String& s) { checksum += s.Length(); }); };
  auto reference = [&](int i) {
    ReferenceRound(in, i, [&](const wchar_t* text, int length) { checksum += length + text[0]; });
  };
  // Warm both up, then take the better of three runs each.
  OpsPerSecond(ours, 6);
  OpsPerSecond(reference, 6);
  double best_ours = 0, best_reference = 0;
  for (int run = 0; run < 3; ++run) {
    const double a = OpsPerSecond(ours, 6);
    const double b = OpsPerSecond(reference, 6);
    if (a > best_ours) best_ours = a;
    if (b > best_reference) best_reference = b;
  }
  std::printf("format_ops_per_s: %.0f\n", best_ours);
  std::printf("swprintf_ops_per_s: %.0f\n", best_reference);
  std::printf("format_vs_swprintf: %.2f\n", best_ours / best_reference);
  std::fprintf(stderr, "(checksum %zu)\n", checksum);
  return 0;
}
