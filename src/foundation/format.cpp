#include "foundation/format.h"

#include <cstring>

#include "foundation/number_text.h"

namespace vorn {
namespace {

// The formatter works in a buffer of 4096 units; the last one is kept for
// the terminator, so a result holds at most 4095 units.
constexpr uint32_t kWorkingUnits = 4096;
constexpr uint32_t kMaxResultUnits = kWorkingUnits - 1;

// Widths, precisions and indexes are read up to this value; larger ones can
// never change a result and must not overflow while being read.
constexpr uint32_t kNumberCeiling = 1u << 20;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The output under construction. Everything beyond the limit is dropped
// without error.
struct Output {
  char16_t* units;
  uint32_t length;

  uint32_t Room() const noexcept { return kMaxResultUnits - length; }
  void Put(char16_t unit) noexcept {
    if (length < kMaxResultUnits) units[length++] = unit;
  }
  // Runs are mostly a few units (a separator, a number's digits): a plain
  // loop beats a call to memcpy for them.
  void PutRun(const char16_t* text, uint32_t count) noexcept {
    if (count > Room()) count = Room();
    char16_t* to = units + length;
    if (count > 32) {
      std::memcpy(to, text, count * sizeof(char16_t));
    } else {
      for (uint32_t i = 0; i < count; ++i) to[i] = text[i];
    }
    length += count;
  }
  void PutPadding(char16_t pad, uint32_t count) noexcept {
    if (count > Room()) count = Room();
    for (uint32_t i = 0; i < count; ++i) units[length + i] = pad;
    length += count;
  }
  // A right-aligned field: padding up to `width`, then the text.
  void PutRightAligned(const char16_t* text, uint32_t count, uint32_t width,
                       char16_t pad) noexcept {
    if (width > count) PutPadding(pad, width - count);
    PutRun(text, count);
  }
};

// How one placeholder is laid out and presented.
struct Placeholder {
  uint32_t index = 0;
  uint32_t width = 0;
  uint32_t precision = 6;
  char16_t pad = u' ';
  char16_t letter = 0;
  bool left = false;
  bool has_width = false;
  bool has_pad = false;
};

bool IsDigit(char16_t unit) noexcept {
  return unit >= u'0' && unit <= u'9';
}

const char16_t* ReadNumber(const char16_t* at, uint32_t& value) noexcept {
  value = 0;
  for (; IsDigit(*at); ++at) {
    if (value < kNumberCeiling) value = value * 10 + (*at - u'0');
  }
  return at;
}

// Reads a placeholder from just after its '{'; returns the position after
// its '}' or null when it is malformed.
const char16_t* ParsePlaceholder(const char16_t* at, Placeholder& placeholder) noexcept {
  if (!IsDigit(*at)) return nullptr;
  at = ReadNumber(at, placeholder.index);
  if (*at == u',') {
    ++at;
    if (*at == u'-') {
      placeholder.left = true;
      ++at;
    }
    if (*at == u'0') {
      placeholder.pad = u'0';
      placeholder.has_pad = true;
      ++at;
    }
    bool laid_out = false;
    if (IsDigit(*at)) {
      at = ReadNumber(at, placeholder.width);
      placeholder.has_width = true;
      laid_out = true;
    }
    if (*at == u'.') {
      // A '.' without digits asks for no decimals, as in printf.
      at = ReadNumber(at + 1, placeholder.precision);
      laid_out = true;
    }
    if (!laid_out) return nullptr;
  }
  if (*at == u':') {
    ++at;
    if (*at == 0) return nullptr;
    placeholder.letter = *at++;
  }
  if (*at != u'}') return nullptr;
  return at + 1;
}

bool IsInteger(uint32_t tag) noexcept {
  return tag >= 1 && tag <= 8;
}
bool IsUnsignedInteger(uint32_t tag) noexcept {
  return IsInteger(tag) && tag % 2 == 0;
}
bool IsFloat(uint32_t tag) noexcept {
  return tag == 9 || tag == 10;
}

bool AcceptsLetter(uint32_t tag, char16_t letter) noexcept {
  switch (letter) {
    case 0:
      return true;
    case u'X':
    case u'x':
      return IsInteger(tag);
    case u'c':
      return IsUnsignedInteger(tag) || tag == 0;
    case u'n':
      return IsInteger(tag) || tag == 0;
    case u'f':
    case u'g':
      return IsFloat(tag);
    default:
      return false;
  }
}

template <class T>
T Load(const FormatArgument& argument) noexcept {
  T value;
  std::memcpy(&value, argument.value, sizeof(T));
  return value;
}

// Integers sign- or zero-extended to 64 bits, as they are printed.
uint64_t IntegerBits(const FormatArgument& argument) noexcept {
  switch (argument.tag) {
    case 0:
      return Load<char16_t>(argument);
    case 1:
      return static_cast<uint64_t>(static_cast<int64_t>(Load<int8_t>(argument)));
    case 2:
      return Load<uint8_t>(argument);
    case 3:
      return static_cast<uint64_t>(static_cast<int64_t>(Load<int16_t>(argument)));
    case 4:
      return Load<uint16_t>(argument);
    case 5:
      return static_cast<uint64_t>(static_cast<int64_t>(Load<int32_t>(argument)));
    case 6:
    case 12:
      return Load<uint32_t>(argument);
    default:
      return Load<uint64_t>(argument);
  }
}

// Two digits at a time, in 32 bits once the value fits: 64-bit division is
// several times slower on the 32-bit target.
char16_t* DecimalDigits32(uint32_t value, char16_t* end) noexcept {
  while (value >= 100) {
    const unsigned pair = (value % 100) * 2;
    value /= 100;
    *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--end = static_cast<char16_t>(kDigitPairs[pair]);
  }
  if (value >= 10) {
    const unsigned pair = value * 2;
    *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--end = static_cast<char16_t>(kDigitPairs[pair]);
  } else {
    *--end = static_cast<char16_t>(u'0' + value);
  }
  return end;
}

// Digits written backwards from `end`; returns where they begin.
char16_t* DecimalDigits(uint64_t value, char16_t* end) noexcept {
  while (value > 0xFFFFFFFFu) {
    const unsigned pair = static_cast<unsigned>(value % 100) * 2;
    value /= 100;
    *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--end = static_cast<char16_t>(kDigitPairs[pair]);
  }
  return DecimalDigits32(static_cast<uint32_t>(value), end);
}

char16_t* HexDigits(uint64_t value, bool upper, char16_t* end) noexcept {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    *--end = static_cast<char16_t>(digits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return end;
}

void WriteInteger(Output& out, const FormatArgument& argument, const Placeholder& placeholder) {
  const uint64_t bits = IntegerBits(argument);
  char16_t digits[24];
  char16_t* const end = digits + 24;
  char16_t* begin;
  if (placeholder.letter == u'X' || placeholder.letter == u'x' || argument.tag == 12) {
    begin = HexDigits(bits, placeholder.letter != u'x' && argument.tag != 12, end);
  } else if (argument.tag % 2 == 1 && static_cast<int64_t>(bits) < 0) {
    // The magnitude of the most negative value only fits unsigned.
    begin = DecimalDigits(0 - bits, end);
    *--begin = u'-';
  } else {
    begin = DecimalDigits(bits, end);
  }
  out.PutRightAligned(begin, static_cast<uint32_t>(end - begin), placeholder.width,
                      placeholder.pad);
}

// The 0 unit is never written: it would end the result early for every
// caller that reads it as a zero-terminated text.
void WriteCharacter(Output& out, char16_t unit) noexcept {
  if (unit != 0) out.Put(unit);
}

void WriteText(Output& out, const char16_t* text, const Placeholder& placeholder) noexcept {
  if (placeholder.width == 0) {
    while (*text != 0 && out.length < kMaxResultUnits) out.units[out.length++] = *text++;
    return;
  }
  // Only the part of the text that decides the padding is measured.
  uint32_t measured = 0;
  while (measured < placeholder.width && text[measured] != 0) ++measured;
  const uint32_t padding = placeholder.width - measured;
  if (!placeholder.left) out.PutPadding(placeholder.pad, padding);
  while (*text != 0 && out.length < kMaxResultUnits) out.units[out.length++] = *text++;
  if (placeholder.left) out.PutPadding(placeholder.pad, padding);
}

// Kept out of line: only float placeholders need the large number buffer on
// the stack. No decimals together with a width ({0,8.0}) gives the rounded
// whole number, right-aligned like every number text: digits after it would
// contradict the rounding that was just applied.
[[gnu::noinline]] void WriteFloat(Output& out, double value,
                                  const Placeholder& placeholder) noexcept {
  char16_t text[kNumberTextCapacity];
  const uint32_t length =
      NumberText(value, placeholder.precision, placeholder.letter == u'g', text);
  out.PutRightAligned(text, length, placeholder.width, placeholder.pad);
}

// Writes one argument; false when the argument or its presentation is not
// acceptable.
bool WriteArgument(Output& out, const FormatArgument* argument, Placeholder placeholder) {
  if (argument == nullptr || argument->tag > 12) return false;
  const uint32_t tag = argument->tag;
  if (!AcceptsLetter(tag, placeholder.letter)) return false;
  if (tag == 12) {
    if (!placeholder.has_width) placeholder.width = 8;
    if (!placeholder.has_pad) placeholder.pad = u'0';
  }
  switch (tag) {
    case 0:
      if (placeholder.letter == u'n') {
        WriteInteger(out, *argument, placeholder);
      } else {
        WriteCharacter(out, Load<char16_t>(*argument));
      }
      return true;
    case 9:
      WriteFloat(out, static_cast<double>(Load<float>(*argument)), placeholder);
      return true;
    case 10:
      WriteFloat(out, Load<double>(*argument), placeholder);
      return true;
    case 11: {
      const char16_t* text = Load<const char16_t*>(*argument);
      if (text == nullptr) return false;
      WriteText(out, text, placeholder);
      return true;
    }
    default:
      if (placeholder.letter == u'c') {
        WriteCharacter(out, static_cast<char16_t>(IntegerBits(*argument) & 0xFFFF));
      } else {
        WriteInteger(out, *argument, placeholder);
      }
      return true;
  }
}

// Fills `units` from the template; false on any error.
bool Fill(Output& out, const char16_t* at, uint32_t count,
          const FormatArgument* const* arguments) noexcept {
  for (;;) {
    const char16_t* run = at;
    while (*at != 0 && *at != u'{' && *at != u'}') ++at;
    out.PutRun(run, static_cast<uint32_t>(at - run));
    switch (*at) {
      case 0:
        return true;
      case u'}':
        // "}}" is one '}'; a lone '}' is dropped.
        if (at[1] == u'}') {
          out.Put(u'}');
          ++at;
        }
        ++at;
        break;
      default:
        if (at[1] == u'{') {
          out.Put(u'{');
          at += 2;
          break;
        }
        Placeholder placeholder;
        at = ParsePlaceholder(at + 1, placeholder);
        if (at == nullptr || placeholder.index >= count) return false;
        if (!WriteArgument(out, arguments[placeholder.index], placeholder)) return false;
        break;
    }
  }
}

}  // namespace

String FormatText(const char16_t* format_template, uint32_t count,
                  const FormatArgument* const* arguments) noexcept {
  if (format_template == nullptr || (arguments == nullptr && count > 0)) return String();
  char16_t units[kWorkingUnits];
  Output out{units, 0};
  if (!Fill(out, format_template, count, arguments)) return String();
  return String(units, out.length);
}

String IntegerText(int64_t value) noexcept {
  char16_t digits[24];
  char16_t* const end = digits + 24;
  char16_t* begin = DecimalDigits(
      value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value), end);
  if (value < 0) *--begin = u'-';
  return String(begin, static_cast<uint32_t>(end - begin));
}

String UnsignedText(uint64_t value) noexcept {
  char16_t digits[24];
  char16_t* const end = digits + 24;
  char16_t* begin = DecimalDigits(value, end);
  return String(begin, static_cast<uint32_t>(end - begin));
}

}  // namespace vorn
