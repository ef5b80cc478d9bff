// String: the framework's text type. UTF-16 code units, always followed by a
// 0 unit so that Text() can be handed to the system as it is, with a 24-unit
// inline buffer for short texts. Allocation failures never throw: a
// construction yields the empty string and an edit leaves the string as it
// was.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorn {

// One piece of a concatenation chain: a run of code units, or one unit held
// by value (text == nullptr).
struct StringPiece {
  const char16_t* text;
  uint32_t length;
  char16_t single;
};

// The pieces of `a + b + c ...`, gathered by value and evaluated once when the
// chain is assigned or appended to a String.
template <size_t N>
struct StringChain {
  StringPiece pieces[N];
};

class String {
 public:
  static constexpr uint32_t kInlineCapacity = 24;

  String() noexcept;
  String(const char16_t* text) noexcept;                   // NOLINT: texts convert implicitly
  String(const char16_t* text, uint32_t length) noexcept;  // length trusted
  String(const String& other) noexcept;
  String(String&& other) noexcept;
  explicit String(char16_t unit) noexcept;  // the 0 unit gives the empty string
  template <size_t N>
  String(const StringChain<N>& chain) noexcept {  // NOLINT
    AssignPieces(chain.pieces, N, false);
  }
  ~String();

  // A string of `count` TAB characters (XML indentation).
  static String Tabs(uint32_t count) noexcept;

  String& operator=(const char16_t* text) noexcept;
  String& operator=(const String& other) noexcept;
  String& operator=(String&& other) noexcept;
  String& operator=(char16_t unit) noexcept;
  template <size_t N>
  String& operator=(const StringChain<N>& chain) noexcept {
    AssignPieces(chain.pieces, N, false);
    return *this;
  }
  void Assign(const char16_t* text, uint32_t length) noexcept;

  uint32_t Length() const noexcept { return length_; }
  uint32_t Capacity() const noexcept { return capacity_; }
  const char16_t* Text() const noexcept { return heap_ ? heap_ : inline_; }
  bool IsEmpty() const noexcept { return length_ == 0; }
  bool IsInline() const noexcept { return heap_ == nullptr; }
  char16_t operator[](uint32_t index) const noexcept { return Text()[index]; }

  // Ordinal comparison of code units: -1, 0 or 1. Null counts as empty.
  int Compare(const char16_t* text) const noexcept;
  int Compare(const String& other) const noexcept;
  // Case-insensitive equality (switches, encoding names).
  bool EqualsIgnoringCase(const char16_t* text) const noexcept;
  bool operator==(const String& other) const noexcept;
  bool operator==(const char16_t* text) const noexcept { return Compare(text) == 0; }
  bool operator<(const String& other) const noexcept { return Compare(other) < 0; }

  // Index of the first occurrence, or -1.
  int32_t Find(char16_t unit) const noexcept;
  int32_t Find(const char16_t* text) const noexcept;

  void Append(char16_t unit) noexcept;
  void Append(const char16_t* text, uint32_t length) noexcept;
  void Append(const char16_t* text) noexcept;
  void Append(const String& other) noexcept;
  template <size_t N>
  void Append(const StringChain<N>& chain) noexcept {
    AssignPieces(chain.pieces, N, true);
  }
  String& operator+=(char16_t unit) noexcept {
    Append(unit);
    return *this;
  }
  String& operator+=(const char16_t* text) noexcept {
    Append(text);
    return *this;
  }
  String& operator+=(const String& other) noexcept {
    Append(other);
    return *this;
  }
  template <size_t N>
  String& operator+=(const StringChain<N>& chain) noexcept {
    Append(chain);
    return *this;
  }

  // Makes room for at least `count` units (capacity count + 1 when it grows).
  bool Reserve(uint32_t count) noexcept;

  // Each returns how many occurrences it replaced.
  uint32_t Replace(char16_t from, char16_t to) noexcept;
  uint32_t Replace(char16_t from, const char16_t* to) noexcept;
  uint32_t CollapseDoubleDashes() noexcept;  // every "--" becomes "-"

  void TrimLeft() noexcept;
  void TrimRight() noexcept;
  void Trim() noexcept;
  void CollapseWhiteSpace() noexcept;
  void DropLastTwo() noexcept;  // a trailing line break

  String ToLower() const noexcept;      // only 'A'..'Z'
  String Capitalized() const noexcept;  // 'a'..'z' at the start or after white space

  String Left(uint32_t count) const noexcept;
  String Tail(uint32_t index) const noexcept;
  String Middle(uint32_t index, uint32_t count) const noexcept;
  String Last() const noexcept;

 private:
  void AssignPieces(const StringPiece* pieces, size_t count, bool append) noexcept;
  void Release() noexcept;

  uint32_t length_ = 0;
  uint32_t capacity_ = kInlineCapacity;
  char16_t* heap_ = nullptr;
  char16_t inline_[kInlineCapacity] = {};
};

// Building concatenation chains.
StringPiece MakePiece(const String& text) noexcept;
StringPiece MakePiece(const char16_t* text) noexcept;
inline StringPiece MakePiece(char16_t unit) noexcept {
  return {nullptr, 1, unit};
}

template <size_t N, size_t M>
StringChain<N + M> operator+(const StringChain<N>& a, const StringChain<M>& b) noexcept {
  StringChain<N + M> chain;
  for (size_t i = 0; i < N; ++i) chain.pieces[i] = a.pieces[i];
  for (size_t i = 0; i < M; ++i) chain.pieces[N + i] = b.pieces[i];
  return chain;
}
template <class T>
concept StringChainOperand = requires(const T& t) {
  MakePiece(t);
};
template <StringChainOperand T>
StringChain<1> ToChain(const T& t) noexcept {
  return {{MakePiece(t)}};
}
template <size_t N>
const StringChain<N>& ToChain(const StringChain<N>& chain) noexcept {
  return chain;
}

inline StringChain<2> operator+(const String& a, const String& b) noexcept {
  return ToChain(a) + ToChain(b);
}
inline StringChain<2> operator+(const String& a, const char16_t* b) noexcept {
  return ToChain(a) + ToChain(b);
}
inline StringChain<2> operator+(const char16_t* a, const String& b) noexcept {
  return ToChain(a) + ToChain(b);
}
inline StringChain<2> operator+(const String& a, char16_t b) noexcept {
  return ToChain(a) + ToChain(b);
}
inline StringChain<2> operator+(char16_t a, const String& b) noexcept {
  return ToChain(a) + ToChain(b);
}
template <size_t N>
StringChain<N + 1> operator+(const StringChain<N>& a, const String& b) noexcept {
  return a + ToChain(b);
}
template <size_t N>
StringChain<N + 1> operator+(const StringChain<N>& a, const char16_t* b) noexcept {
  return a + ToChain(b);
}
template <size_t N>
StringChain<N + 1> operator+(const StringChain<N>& a, char16_t b) noexcept {
  return a + ToChain(b);
}
template <size_t N>
StringChain<N + 1> operator+(const String& a, const StringChain<N>& b) noexcept {
  return ToChain(a) + b;
}
template <size_t N>
StringChain<N + 1> operator+(const char16_t* a, const StringChain<N>& b) noexcept {
  return ToChain(a) + b;
}

// The framework's white space: units 1 to 32, U+0085, U+00A0 and U+2028.
bool IsWhiteSpace(char16_t unit) noexcept;

// Length of a zero-terminated text; 0 for null.
uint32_t TextLength(const char16_t* text) noexcept;

// Text to number. Each stops at the first unit that does not fit and never
// reports overflow; an empty, null or unparsable text gives 0.
int32_t TextToInt32(const char16_t* text) noexcept;
uint32_t TextToUInt32(const char16_t* text) noexcept;
int64_t TextToInt64(const char16_t* text) noexcept;
uint64_t TextToUInt64(const char16_t* text) noexcept;
uint32_t HexTextToUInt32(const char16_t* text) noexcept;
uint32_t HexTextToUInt32(const char16_t* text, uint32_t max_digits) noexcept;
float TextToFloat(const char16_t* text) noexcept;

// Conversions at the edges of the system (file names on POSIX, tool output,
// tests). Invalid UTF-8 becomes U+FFFD; unpaired surrogates become U+FFFD.
String Utf8ToString(const char* utf8, size_t length) noexcept;
String Utf8ToString(const char* utf8) noexcept;
// The UTF-8 form of a text, owned; empty ("") when out of memory.
class Utf8Text {
 public:
  explicit Utf8Text(const String& text) noexcept;
  explicit Utf8Text(const char16_t* text) noexcept;
  ~Utf8Text();
  Utf8Text(const Utf8Text&) = delete;
  Utf8Text& operator=(const Utf8Text&) = delete;
  const char* Text() const noexcept { return data_ ? data_ : ""; }
  size_t Length() const noexcept { return length_; }

 private:
  char* data_ = nullptr;
  size_t length_ = 0;
};

}  // namespace vorn
