#include "foundation/string.h"

#include <cstdlib>
#include <cstring>

namespace vorn {
namespace {

// The largest buffer a String ever asks for, in code units. Keeping it below
// 2^30 keeps every byte count representable in a 32-bit size_t and every
// index representable in the int32_t that Find returns.
constexpr uint32_t kMaxCapacity = 0x3FFFFFFFu;

// Chains and appends grow by this much beyond what they need, so a string
// built piece by piece does not reallocate on every piece.
constexpr uint32_t kGrowthSlack = 32;

const char16_t kEmptyText[1] = {0};

char16_t* AllocateUnits(uint64_t count) noexcept {
  if (count == 0 || count > kMaxCapacity) return nullptr;
  return static_cast<char16_t*>(std::malloc(static_cast<size_t>(count) * sizeof(char16_t)));
}

void CopyUnits(char16_t* to, const char16_t* from, uint32_t count) noexcept {
  if (count != 0) std::memcpy(to, from, count * sizeof(char16_t));
}

void MoveUnits(char16_t* to, const char16_t* from, uint32_t count) noexcept {
  if (count != 0) std::memmove(to, from, count * sizeof(char16_t));
}

bool PointsInto(const char16_t* text, const char16_t* buffer, uint32_t capacity) noexcept {
  const uintptr_t p = reinterpret_cast<uintptr_t>(text);
  const uintptr_t begin = reinterpret_cast<uintptr_t>(buffer);
  return p >= begin && p < begin + capacity * sizeof(char16_t);
}

// A single-unit piece holding the 0 unit contributes nothing: the text of a
// String never contains a 0 unit.
uint32_t PieceLength(const StringPiece& piece) noexcept {
  if (piece.text == nullptr) return piece.single != 0 ? 1 : 0;
  return piece.length;
}

char16_t* WritePiece(char16_t* to, const StringPiece& piece) noexcept {
  if (piece.text == nullptr) {
    if (piece.single != 0) *to++ = piece.single;
    return to;
  }
  CopyUnits(to, piece.text, piece.length);
  return to + piece.length;
}

char16_t* WritePieces(char16_t* to, const StringPiece* pieces, size_t count) noexcept {
  for (size_t i = 0; i < count; ++i) to = WritePiece(to, pieces[i]);
  return to;
}

// Only 'A' to 'Z' fold to lower case; everything else compares as it is.
// That is what the C runtime's wide case-insensitive comparison does in the
// "C" locale, which the framework never leaves, and the same table on every
// platform makes switches and encoding names match identically on Windows
// and in the native tests.
char16_t FoldCase(char16_t unit) noexcept {
  if (unit >= u'A' && unit <= u'Z') return static_cast<char16_t>(unit + 32);
  return unit;
}

int CompareUnits(const char16_t* a, uint32_t a_length, const char16_t* b,
                 uint32_t b_length) noexcept {
  const uint32_t common = a_length < b_length ? a_length : b_length;
  for (uint32_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  if (a_length == b_length) return 0;
  return a_length < b_length ? -1 : 1;
}

}  // namespace

bool IsWhiteSpace(char16_t unit) noexcept {
  return (unit >= 1 && unit <= 32) || unit == 0x85 || unit == 0xA0 || unit == 0x2028;
}

uint32_t TextLength(const char16_t* text) noexcept {
  if (text == nullptr) return 0;
  const char16_t* end = text;
  while (*end != 0) ++end;
  return static_cast<uint32_t>(end - text);
}

StringPiece MakePiece(const String& text) noexcept {
  return {text.Text(), text.Length(), 0};
}

StringPiece MakePiece(const char16_t* text) noexcept {
  if (text == nullptr) return {kEmptyText, 0, 0};
  return {text, TextLength(text), 0};
}

String::String() noexcept = default;

String::String(const char16_t* text) noexcept {
  Assign(text, TextLength(text));
}

String::String(const char16_t* text, uint32_t length) noexcept {
  Assign(text, length);
}

String::String(const String& other) noexcept {
  Assign(other.Text(), other.length_);
}

String::String(String&& other) noexcept {
  if (other.heap_ != nullptr) {
    heap_ = other.heap_;
    capacity_ = other.capacity_;
    length_ = other.length_;
    other.heap_ = nullptr;
    other.capacity_ = kInlineCapacity;
    other.length_ = 0;
    other.inline_[0] = 0;
  } else {
    Assign(other.inline_, other.length_);
  }
}

String::String(char16_t unit) noexcept {
  if (unit != 0) {
    inline_[0] = unit;
    inline_[1] = 0;
    length_ = 1;
  }
}

String::~String() {
  std::free(heap_);
}

String String::Tabs(uint32_t count) noexcept {
  String tabs;
  if (!tabs.Reserve(count)) return tabs;
  char16_t* buffer = tabs.heap_ ? tabs.heap_ : tabs.inline_;
  for (uint32_t i = 0; i < count; ++i) buffer[i] = u'\t';
  buffer[count] = 0;
  tabs.length_ = count;
  return tabs;
}

void String::Release() noexcept {
  std::free(heap_);
  heap_ = nullptr;
  capacity_ = kInlineCapacity;
  length_ = 0;
  inline_[0] = 0;
}

void String::Assign(const char16_t* text, uint32_t length) noexcept {
  if (text == nullptr || length == 0) {
    Release();
    return;
  }
  if (length + 1ull <= capacity_) {
    // The source may be a part of this very string (s = s.Text() + 3).
    char16_t* buffer = heap_ ? heap_ : inline_;
    MoveUnits(buffer, text, length);
    buffer[length] = 0;
    length_ = length;
    return;
  }
  char16_t* grown = AllocateUnits(length + 1ull);
  if (grown == nullptr) return;
  CopyUnits(grown, text, length);
  grown[length] = 0;
  std::free(heap_);
  heap_ = grown;
  capacity_ = length + 1;
  length_ = length;
}

String& String::operator=(const char16_t* text) noexcept {
  Assign(text, TextLength(text));
  return *this;
}

String& String::operator=(const String& other) noexcept {
  if (this != &other) Assign(other.Text(), other.length_);
  return *this;
}

String& String::operator=(String&& other) noexcept {
  if (this == &other) return *this;
  if (other.heap_ == nullptr) {
    Assign(other.inline_, other.length_);
    return *this;
  }
  std::free(heap_);
  heap_ = other.heap_;
  capacity_ = other.capacity_;
  length_ = other.length_;
  other.heap_ = nullptr;
  other.capacity_ = kInlineCapacity;
  other.length_ = 0;
  other.inline_[0] = 0;
  return *this;
}

String& String::operator=(char16_t unit) noexcept {
  Assign(&unit, unit != 0 ? 1 : 0);
  return *this;
}

void String::AssignPieces(const StringPiece* pieces, size_t count, bool append) noexcept {
  const uint32_t kept = append ? length_ : 0;
  uint64_t total = kept;
  bool aliased = false;
  char16_t* buffer = heap_ ? heap_ : inline_;
  for (size_t i = 0; i < count; ++i) {
    total += PieceLength(pieces[i]);
    if (pieces[i].text != nullptr && pieces[i].length != 0 &&
        PointsInto(pieces[i].text, buffer, capacity_)) {
      aliased = true;
    }
  }
  if (total + 1 > kMaxCapacity) return;
  if (total == 0) {
    if (!append) Release();
    return;
  }

  if (!aliased && total + 1 <= capacity_) {
    char16_t* end = WritePieces(buffer + kept, pieces, count);
    *end = 0;
    length_ = static_cast<uint32_t>(total);
    return;
  }

  if (total + 1 <= kInlineCapacity) {
    // Only an aliased chain gets here (the buffer always holds 24 units):
    // build beside the string, then copy over it.
    char16_t scratch[kInlineCapacity];
    CopyUnits(scratch, buffer, kept);
    char16_t* end = WritePieces(scratch + kept, pieces, count);
    *end = 0;
    CopyUnits(buffer, scratch, static_cast<uint32_t>(total) + 1);
    length_ = static_cast<uint32_t>(total);
    return;
  }

  char16_t* fresh = AllocateUnits(total + kGrowthSlack);
  if (fresh == nullptr) return;
  CopyUnits(fresh, buffer, kept);
  char16_t* end = WritePieces(fresh + kept, pieces, count);
  *end = 0;
  std::free(heap_);
  heap_ = fresh;
  capacity_ = static_cast<uint32_t>(total + kGrowthSlack);
  length_ = static_cast<uint32_t>(total);
}

int String::Compare(const char16_t* text) const noexcept {
  return CompareUnits(Text(), length_, text ? text : kEmptyText, TextLength(text));
}

int String::Compare(const String& other) const noexcept {
  return CompareUnits(Text(), length_, other.Text(), other.length_);
}

bool String::EqualsIgnoringCase(const char16_t* text) const noexcept {
  const char16_t* mine = Text();
  const char16_t* theirs = text ? text : kEmptyText;
  uint32_t i = 0;
  for (; i < length_; ++i) {
    if (theirs[i] == 0 || FoldCase(mine[i]) != FoldCase(theirs[i])) return false;
  }
  return theirs[i] == 0;
}

bool String::operator==(const String& other) const noexcept {
  return length_ == other.length_ &&
         (length_ == 0 || std::memcmp(Text(), other.Text(), length_ * sizeof(char16_t)) == 0);
}

int32_t String::Find(char16_t unit) const noexcept {
  if (unit == 0) return -1;
  const char16_t* text = Text();
  for (uint32_t i = 0; i < length_; ++i) {
    if (text[i] == unit) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t String::Find(const char16_t* needle) const noexcept {
  const uint32_t needle_length = TextLength(needle);
  if (needle_length == 0) return 0;
  if (needle_length > length_) return -1;
  const char16_t* text = Text();
  const uint32_t last = length_ - needle_length;
  for (uint32_t i = 0; i <= last; ++i) {
    if (text[i] == needle[0] &&
        std::memcmp(text + i, needle, needle_length * sizeof(char16_t)) == 0) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

void String::Append(char16_t unit) noexcept {
  if (unit == 0) return;
  if (length_ + 2ull > capacity_) {
    char16_t* grown = AllocateUnits(static_cast<uint64_t>(length_) + kGrowthSlack);
    if (grown == nullptr) return;
    CopyUnits(grown, Text(), length_);
    std::free(heap_);
    heap_ = grown;
    capacity_ = length_ + kGrowthSlack;
  }
  char16_t* buffer = heap_ ? heap_ : inline_;
  buffer[length_] = unit;
  buffer[++length_] = 0;
}

void String::Append(const char16_t* text, uint32_t length) noexcept {
  if (text == nullptr || length == 0) return;
  const StringPiece piece = {text, length, 0};
  AssignPieces(&piece, 1, true);
}

void String::Append(const char16_t* text) noexcept {
  Append(text, TextLength(text));
}

void String::Append(const String& other) noexcept {
  Append(other.Text(), other.length_);
}

bool String::Reserve(uint32_t count) noexcept {
  if (count + 1ull <= capacity_) return true;
  char16_t* grown = AllocateUnits(count + 1ull);
  if (grown == nullptr) return false;
  CopyUnits(grown, Text(), length_ + 1);
  std::free(heap_);
  heap_ = grown;
  capacity_ = count + 1;
  return true;
}

uint32_t String::Replace(char16_t from, char16_t to) noexcept {
  // Writing a 0 unit into the text would cut it short behind its length.
  if (from == 0 || to == 0 || length_ == 0) return 0;
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t replaced = 0;
  for (uint32_t i = 0; i < length_; ++i) {
    if (text[i] == from) {
      text[i] = to;
      ++replaced;
    }
  }
  return replaced;
}

uint32_t String::Replace(char16_t from, const char16_t* to) noexcept {
  if (from == 0 || length_ == 0) return 0;
  const uint32_t to_length = TextLength(to);
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t occurrences = 0;
  for (uint32_t i = 0; i < length_; ++i) occurrences += text[i] == from;
  if (occurrences == 0) return 0;

  const uint64_t new_length =
      static_cast<uint64_t>(length_) - occurrences + static_cast<uint64_t>(occurrences) * to_length;
  if (new_length + 1 > kMaxCapacity) return 0;

  if (to_length <= 1) {
    // Shrinking or keeping the length: one forward pass in place never
    // overtakes the units still to be read.
    const char16_t replacement = to_length ? to[0] : 0;
    uint32_t out = 0;
    for (uint32_t i = 0; i < length_; ++i) {
      if (text[i] != from) {
        text[out++] = text[i];
      } else if (to_length) {
        text[out++] = replacement;
      }
    }
    text[out] = 0;
    length_ = out;
    return occurrences;
  }

  // Growing: build the new text in a fresh buffer (which also keeps a
  // replacement that points into this string intact), then take it over.
  char16_t* fresh = AllocateUnits(new_length + 1);
  if (fresh == nullptr) return 0;
  char16_t* out = fresh;
  for (uint32_t i = 0; i < length_; ++i) {
    if (text[i] != from) {
      *out++ = text[i];
    } else {
      CopyUnits(out, to, to_length);
      out += to_length;
    }
  }
  *out = 0;
  std::free(heap_);
  heap_ = fresh;
  capacity_ = static_cast<uint32_t>(new_length + 1);
  length_ = static_cast<uint32_t>(new_length);
  return occurrences;
}

uint32_t String::CollapseDoubleDashes() noexcept {
  // A run of any number of dashes becomes one dash, so that the result can
  // never hold "--" (which an XML comment must not contain); the count is the
  // number of dashes dropped.
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t out = 0;
  uint32_t dropped = 0;
  for (uint32_t i = 0; i < length_; ++i) {
    if (text[i] == u'-' && out > 0 && text[out - 1] == u'-') {
      ++dropped;
      continue;
    }
    text[out++] = text[i];
  }
  text[out] = 0;
  length_ = out;
  return dropped;
}

void String::TrimLeft() noexcept {
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t start = 0;
  while (start < length_ && IsWhiteSpace(text[start])) ++start;
  if (start == 0) return;
  MoveUnits(text, text + start, length_ - start + 1);
  length_ -= start;
}

void String::TrimRight() noexcept {
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t end = length_;
  while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
  text[end] = 0;
  length_ = end;
}

void String::Trim() noexcept {
  TrimRight();
  TrimLeft();
}

void String::CollapseWhiteSpace() noexcept {
  char16_t* text = heap_ ? heap_ : inline_;
  uint32_t out = 0;
  bool pending_space = false;
  for (uint32_t i = 0; i < length_; ++i) {
    if (IsWhiteSpace(text[i])) {
      pending_space = out > 0;
      continue;
    }
    if (pending_space) {
      text[out++] = u' ';
      pending_space = false;
    }
    text[out++] = text[i];
  }
  text[out] = 0;
  length_ = out;
}

void String::DropLastTwo() noexcept {
  if (length_ < 2) return;
  length_ -= 2;
  (heap_ ? heap_ : inline_)[length_] = 0;
}

String String::ToLower() const noexcept {
  String lower(*this);
  if (lower.length_ != length_) return String();
  char16_t* text = lower.heap_ ? lower.heap_ : lower.inline_;
  for (uint32_t i = 0; i < length_; ++i) {
    if (text[i] >= u'A' && text[i] <= u'Z') text[i] = static_cast<char16_t>(text[i] + 32);
  }
  return lower;
}

String String::Capitalized() const noexcept {
  String capitalized(*this);
  if (capitalized.length_ != length_) return String();
  char16_t* text = capitalized.heap_ ? capitalized.heap_ : capitalized.inline_;
  bool word_start = true;
  for (uint32_t i = 0; i < length_; ++i) {
    if (word_start && text[i] >= u'a' && text[i] <= u'z') {
      text[i] = static_cast<char16_t>(text[i] - 32);
    }
    word_start = IsWhiteSpace(text[i]);
  }
  return capitalized;
}

String String::Left(uint32_t count) const noexcept {
  return String(Text(), count < length_ ? count : length_);
}

String String::Tail(uint32_t index) const noexcept {
  if (index >= length_) return String();
  return String(Text() + index, length_ - index);
}

String String::Middle(uint32_t index, uint32_t count) const noexcept {
  if (index >= length_) return String();
  const uint32_t available = length_ - index;
  return String(Text() + index, count < available ? count : available);
}

String String::Last() const noexcept {
  if (length_ < 2) return *this;
  return String(Text() + length_ - 1, 1);
}

}  // namespace vorn
