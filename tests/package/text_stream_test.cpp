#include "package/text_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "package/memory_stream.h"

namespace vorn {
namespace {

using Bytes = std::vector<unsigned char>;

// Everything the stream hands out through the bulk reader, until it fails;
// the failing code is kept.
struct Decoded {
  std::u16string units;
  Result end = kOk;
};

Decoded DecodeAll(TextStream& text) {
  Decoded decoded;
  for (;;) {
    const char16_t* units = nullptr;
    uint32_t count = 0;
    decoded.end = text.ReadUnits(units, count);
    if (decoded.end != kOk) return decoded;
    decoded.units.append(units, count);
  }
}

Decoded DecodeBytes(const Bytes& bytes, uint32_t mode = kTextEncodingUnknown) {
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  if (mode != kTextEncodingUnknown) text.SetMode(mode);
  return DecodeAll(text);
}

Bytes WithMark(const Bytes& mark, const std::string& body) {
  Bytes bytes = mark;
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

const Bytes kUtf8Mark = {0xEF, 0xBB, 0xBF};

// A stream whose reads and writes fail with a given code after a number of
// successful calls: inner failures must come through unchanged.
class FailingStream : public Stream {
 public:
  FailingStream(uint64_t size, Result failure, int good_calls)
      : size_(size), failure_(failure), good_calls_(good_calls) {}
  Result Close() override { return kOk; }
  Result Read(void* buffer, uint32_t count) override {
    if (good_calls_-- > 0) {
      std::memset(buffer, 'x', count);
      position_ += count;
      return kOk;
    }
    return failure_;
  }
  Result Write(const void*, uint32_t count) override {
    if (good_calls_-- > 0) {
      written_ += count;
      return kOk;
    }
    return failure_;
  }
  Result Flush(int) override { return kOk; }
  uint64_t Position() override { return position_; }
  Result Seek(uint64_t offset) override {
    position_ = offset;
    return kOk;
  }
  uint64_t Size() override { return size_; }
  String Describe() override { return String(u"Failing"); }
  uint32_t written() const { return written_; }

 private:
  uint64_t size_;
  uint64_t position_ = 0;
  Result failure_;
  int good_calls_;
  uint32_t written_ = 0;
};

TEST(TextStreamDetection, ByteOrderMarksChooseTheEncoding) {
  const Bytes utf8 = WithMark(kUtf8Mark, "a");
  MemoryStream utf8_memory(utf8.data(), utf8.size());
  TextStream text(&utf8_memory);
  char16_t unit = 0;
  ASSERT_EQ(text.Read(&unit, 2), kOk);
  EXPECT_EQ(unit, u'a');
  EXPECT_EQ(text.Mode(), kTextEncodingUtf8);
  EXPECT_FALSE(text.IsMarkPending());
  EXPECT_TRUE(text.IsAtEnd());
  EXPECT_EQ(text.Read(&unit, 2), kEndOfData);

  const Decoded little = DecodeBytes({0xFF, 0xFE, 'a', 0, 'b', 0});
  EXPECT_EQ(little.units, u"ab");
  EXPECT_EQ(little.end, kEndOfData);
  const Decoded big = DecodeBytes({0xFE, 0xFF, 0, 'a', 0x20, 0xAC});
  EXPECT_EQ(big.units, u"a\u20AC");
}

TEST(TextStreamDetection, WithoutAMarkTheFirstByteIsTheFirstUnit) {
  const Bytes bytes = {'a', 0xE9, 'b'};
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  const char16_t* units = nullptr;
  uint32_t count = 0;
  // The first byte alone, so that a reader can still switch the encoding
  // before anything else is decoded.
  ASSERT_EQ(text.ReadUnits(units, count), kOk);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(units[0], u'a');
  EXPECT_EQ(text.Mode(), kTextEncodingAnsi);
  const Decoded rest = DecodeAll(text);
  EXPECT_EQ(rest.units, u"\u00E9b");  // 8-bit: each byte one unit
  EXPECT_EQ(rest.end, kEndOfData);
}

TEST(TextStreamDetection, DamagedMarksFailWithCode3) {
  EXPECT_EQ(DecodeBytes({0xEF, 0xBB, 0x00}).end, kBadFormat);
  EXPECT_EQ(DecodeBytes({0xEF, 0xBB}).end, kBadFormat);  // cut by the end
  EXPECT_EQ(DecodeBytes({0xEF}).end, kBadFormat);
  EXPECT_EQ(DecodeBytes({0xFE, 0xFE}).end, kBadFormat);
  EXPECT_EQ(DecodeBytes({0xFF, 0xFF, 0, 0}).end, kBadFormat);
  EXPECT_TRUE(DecodeBytes({0xEF, 0xBB, 0x00}).units.empty());

  // Once the mark has been looked at, mode 0 stays an error.
  const Bytes bytes = {0xEF, 0x00, 0x00, 'a'};
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  char16_t unit = 0;
  EXPECT_EQ(text.Read(&unit, 2), kBadFormat);
  EXPECT_EQ(text.Read(&unit, 2), kBadFormat);
  EXPECT_EQ(unit, 0);
}

TEST(TextStreamDetection, EmptyInputIsTheEnd) {
  MemoryStream memory;
  TextStream text(&memory);
  char16_t unit = 0;
  EXPECT_EQ(text.Read(&unit, 2), kEndOfData);
  EXPECT_EQ(text.Read(&unit, 2), kEndOfData);
  EXPECT_TRUE(text.IsAtEnd());
}

TEST(TextStreamUtf8, DecodesOneTwoAndThreeByteForms) {
  const Decoded decoded = DecodeBytes(WithMark(kUtf8Mark, "a\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF"));
  EXPECT_EQ(decoded.units, u"a\u00E9\u20AC\uFFFF");
  EXPECT_EQ(decoded.end, kEndOfData);
  // Overlong forms and encoded surrogates are taken as they are.
  const Decoded lenient = DecodeBytes(WithMark(kUtf8Mark, "\xC1\x81\xED\xA0\x80"));
  EXPECT_EQ(lenient.units, std::u16string(u"A") + char16_t(0xD800));
}

TEST(TextStreamUtf8, MalformedSequencesFailWithCode34) {
  const char* const cases[] = {
      "\xF0\x9F\x98\x80",  // four-byte forms do not exist here
      "\xF8\x80\x80\x80\x80",
      "\x80",          // a continuation without a lead
      "\xC3\x41",      // a lead without its continuation
      "\xE2\x82\x41",  // the third byte is no continuation
      "\xC3",          // the data ends inside a sequence
      "\xE2\x82",
  };
  for (const char* bytes : cases) {
    const Decoded decoded = DecodeBytes(WithMark(kUtf8Mark, bytes));
    EXPECT_EQ(decoded.end, kSyntaxError) << bytes;
    EXPECT_TRUE(decoded.units.empty()) << bytes;
  }
}

TEST(TextStreamUtf8, UnitsBeforeAMalformedSequenceAreDeliveredThenTheErrorStays) {
  const Bytes bytes = WithMark(kUtf8Mark,
                               "ab\x80"
                               "cd");
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  const Decoded decoded = DecodeAll(text);
  EXPECT_EQ(decoded.units, u"ab");
  EXPECT_EQ(decoded.end, kSyntaxError);
  char16_t unit = 0;
  EXPECT_EQ(text.Read(&unit, 2), kSyntaxError);
}

// The chunk size of a refill is 16,384 bytes: sequences that straddle it
// are completed from the inner stream.
TEST(TextStreamUtf8, SequencesCutByTheChunkAreCompleted) {
  for (size_t ascii = TextStream::kCapacity - 3; ascii <= TextStream::kCapacity; ++ascii) {
    std::string body(ascii, 'x');
    body += "\xE2\x82\xAC\xC3\xA9z";
    const Decoded decoded = DecodeBytes(WithMark(kUtf8Mark, body));
    ASSERT_EQ(decoded.end, kEndOfData) << ascii;
    ASSERT_EQ(decoded.units.size(), ascii + 3);
    EXPECT_EQ(decoded.units.substr(ascii), u"\u20AC\u00E9z") << ascii;
  }
  // A sequence that the end of the data cuts, right at the boundary.
  std::string cut(TextStream::kCapacity - 1, 'x');
  cut += "\xE2\x82";
  const Decoded decoded = DecodeBytes(WithMark(kUtf8Mark, cut));
  EXPECT_EQ(decoded.end, kSyntaxError);
  EXPECT_EQ(decoded.units.size(), TextStream::kCapacity - 1);
}

TEST(TextStreamUtf8, EveryUnitWrittenReadsBackTheSame) {
  std::u16string all;
  for (uint32_t unit = 1; unit <= 0xFFFF; ++unit) all += static_cast<char16_t>(unit);
  std::vector<unsigned char> room(all.size() * 3 + 3);
  room[0] = 0xEF, room[1] = 0xBB, room[2] = 0xBF;
  MemoryStream memory(room.data() + 3, room.size() - 3, MemoryStream::kWriting);
  TextStream writer(&memory);
  writer.SetMode(kTextEncodingUtf8);
  ASSERT_EQ(writer.Write(all.data(), all.size() * 2), kOk);
  const Bytes bytes(room.begin(), room.begin() + 3 + memory.Size());
  const Decoded decoded = DecodeBytes(bytes);
  EXPECT_EQ(decoded.end, kEndOfData);
  EXPECT_TRUE(decoded.units == all);
}

TEST(TextStreamUtf16, OddLengthsFailOnTheFirstRefill) {
  EXPECT_EQ(DecodeBytes({0xFF, 0xFE, 'a', 0, 'b'}).end, kSyntaxError);
  EXPECT_TRUE(DecodeBytes({0xFF, 0xFE, 'a', 0, 'b'}).units.empty());
  EXPECT_EQ(DecodeBytes({0xFE, 0xFF, 0}).end, kSyntaxError);
  EXPECT_EQ(DecodeBytes({'a', 0, 'b'}, kTextEncodingUtf16Le).end, kSyntaxError);
}

TEST(TextStreamUtf16, LongTextsArriveWholeAcrossRefills) {
  std::u16string expected;
  Bytes little = {0xFF, 0xFE};
  Bytes big = {0xFE, 0xFF};
  for (uint32_t i = 0; i < 3 * TextStream::kCapacity + 7; ++i) {
    const char16_t unit = static_cast<char16_t>(0x100 + i % 0xF000);
    expected += unit;
    little.push_back(unit & 0xFF), little.push_back(unit >> 8);
    big.push_back(unit >> 8), big.push_back(unit & 0xFF);
  }
  const Decoded from_little = DecodeBytes(little);
  const Decoded from_big = DecodeBytes(big);
  EXPECT_EQ(from_little.end, kEndOfData);
  EXPECT_TRUE(from_little.units == expected);
  EXPECT_TRUE(from_big.units == expected);
}

TEST(TextStreamRead, DeliversExactCountsOrTheEnd) {
  const Bytes bytes = WithMark(kUtf8Mark, "abc");
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  char16_t units[4] = {};
  EXPECT_EQ(text.Read(units, 0), kOk);
  EXPECT_EQ(text.Read(nullptr, 0), kOk);
  EXPECT_EQ(text.Read(nullptr, 2), kNullInput);
  EXPECT_EQ(text.Read(units, 3), kOk);  // an odd count delivers count / 2 units
  EXPECT_EQ(units[0], u'a');
  EXPECT_EQ(text.UnitsRead(), 1u);
  EXPECT_EQ(text.Read(units, 6), kEndOfData);  // only two are left
  EXPECT_EQ(text.Read(units, 2), kEndOfData);
}

TEST(TextStreamRead, InnerFailuresPassThroughUnchanged) {
  FailingStream inner(100, kFailed, 0);
  TextStream text(&inner);
  char16_t unit;
  EXPECT_EQ(text.Read(&unit, 2), kFailed);
  FailingStream later(100000, kAccessDenied, 1);  // the mark byte reads, the chunk fails
  TextStream text2(&later);
  const Decoded decoded = DecodeAll(text2);
  EXPECT_EQ(decoded.units, u"x");
  EXPECT_EQ(decoded.end, kAccessDenied);
}

TEST(TextStreamRead, StartsWhereTheInnerStreamStands) {
  const Bytes bytes = {'z', 'z', 0xEF, 0xBB, 0xBF, 'o', 'k'};
  MemoryStream memory(bytes.data(), bytes.size());
  ASSERT_EQ(memory.Seek(2), kOk);
  TextStream text(&memory);
  const Decoded decoded = DecodeAll(text);
  EXPECT_EQ(decoded.units, u"ok");
  EXPECT_EQ(decoded.end, kEndOfData);
}

TEST(TextStreamRead, CloseAndSeekStartAfresh) {
  const Bytes bytes = WithMark(kUtf8Mark, "\xC3\xA9t\xC3\xA9");
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  EXPECT_EQ(DecodeAll(text).units, u"\u00E9t\u00E9");
  // Seek keeps the encoding and drops what was decoded ahead.
  ASSERT_EQ(text.Seek(5), kOk);
  EXPECT_EQ(text.Position(), 5u);
  EXPECT_EQ(DecodeAll(text).units, u"t\u00E9");
  // Close forgets the encoding; the inner stream stays open where it is.
  ASSERT_EQ(memory.Seek(0), kOk);
  EXPECT_EQ(text.Close(), kOk);
  EXPECT_EQ(text.Mode(), kTextEncodingUnknown);
  EXPECT_TRUE(text.IsMarkPending());
  EXPECT_EQ(text.UnitsRead(), 0u);
  EXPECT_EQ(DecodeAll(text).units, u"\u00E9t\u00E9");
  EXPECT_EQ(text.Mode(), kTextEncodingUtf8);
}

TEST(TextStreamWrite, EncodesInEachMode) {
  struct Case {
    uint32_t mode;
    Bytes expected;
  } const cases[] = {
      {kTextEncodingAnsi, {0xE9, 'a', 0x3D}},  // U+263D keeps only its low byte
      {kTextEncodingUtf8, {0xC3, 0xA9, 'a', 0xE2, 0x98, 0xBD}},
      {kTextEncodingUtf16Le, {0xE9, 0, 'a', 0, 0x3D, 0x26}},
      {kTextEncodingUtf16Be, {0, 0xE9, 0, 'a', 0x26, 0x3D}},
  };
  const char16_t text_units[] = {0xE9, u'a', 0x263D};
  for (const Case& c : cases) {
    unsigned char room[16] = {};
    MemoryStream memory(room, sizeof room, MemoryStream::kWriting);
    TextStream text(&memory);
    ASSERT_EQ(text.SetMode(c.mode), kOk);
    ASSERT_EQ(text.Write(text_units, sizeof text_units), kOk) << c.mode;
    EXPECT_EQ(Bytes(room, room + memory.Size()), c.expected) << c.mode;
  }
}

TEST(TextStreamWrite, SurrogateHalvesAreEncodedApartInUtf8) {
  const char16_t pair[] = {0xD83D, 0xDE00};
  unsigned char room[8] = {};
  MemoryStream memory(room, sizeof room, MemoryStream::kWriting);
  TextStream text(&memory);
  text.SetMode(kTextEncodingUtf8);
  ASSERT_EQ(text.Write(pair, sizeof pair), kOk);
  EXPECT_EQ(Bytes(room, room + memory.Size()), (Bytes{0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));
}

TEST(TextStreamWrite, RefusesWhatItCannotEncode) {
  unsigned char room[8] = {};
  MemoryStream memory(room, sizeof room, MemoryStream::kWriting);
  TextStream text(&memory);
  const char16_t unit = u'a';
  EXPECT_EQ(text.Write(nullptr, 2), kNullInput);
  EXPECT_EQ(text.Write(nullptr, 0), kNullInput);
  EXPECT_EQ(text.Write(&unit, 0), kOk);
  EXPECT_EQ(text.Write(&unit, 1), kInvalidSize);
  EXPECT_EQ(text.Write(&unit, 2), kBadFormat);  // mode 0: no encoding yet
  EXPECT_EQ(memory.Size(), 0u);
  EXPECT_EQ(text.SetMode(5), kInvalidArgument);
}

TEST(TextStreamWrite, TheFirstFailingInnerWriteStopsIt) {
  const char16_t units[] = {u'a', 0xE9, u'b', u'c'};
  unsigned char room[3] = {};
  MemoryStream memory(room, sizeof room, MemoryStream::kWriting);
  TextStream text(&memory);
  text.SetMode(kTextEncodingUtf8);
  // 'a' and the two bytes of U+00E9 fit, 'b' does not.
  EXPECT_EQ(text.Write(units, sizeof units), kNoRoom);
  EXPECT_EQ(Bytes(room, room + memory.Size()), (Bytes{'a', 0xC3, 0xA9}));

  FailingStream failing(0, kDiskFull, 2);
  TextStream ansi(&failing);
  ansi.SetMode(kTextEncodingAnsi);
  EXPECT_EQ(ansi.Write(units, sizeof units), kDiskFull);
  EXPECT_EQ(failing.written(), 2u);
}

TEST(TextStreamPassThrough, ForwardsToTheInnerStreamOrReports32) {
  TextStream alone(nullptr);
  EXPECT_EQ(alone.Flush(1), kInvalidState);
  EXPECT_EQ(alone.Seek(0), kInvalidState);
  EXPECT_EQ(alone.Position(), 0u);
  EXPECT_EQ(alone.Size(), 0u);
  EXPECT_EQ(alone.Describe(), String(u"n/a"));
  char16_t unit;
  EXPECT_EQ(alone.Read(&unit, 2), kInvalidState);
  alone.SetMode(kTextEncodingUtf16Be);
  EXPECT_EQ(alone.Describe(), String(u"UTF-16-BE(n/a)"));

  const Bytes bytes = {'a', 'b', 'c', 'd'};
  MemoryStream memory(bytes.data(), bytes.size());
  TextStream text(&memory);
  EXPECT_EQ(text.Size(), 4u);
  EXPECT_EQ(text.Flush(0), kOk);
  EXPECT_EQ(text.Describe(), memory.Describe());
  const char16_t* prefixes[] = {u"ANSI(", u"UTF-8(", u"UTF-16-LE(", u"UTF-16-BE("};
  for (uint32_t mode = 1; mode <= 4; ++mode) {
    text.SetMode(mode);
    EXPECT_EQ(text.Describe(), String(prefixes[mode - 1] + memory.Describe() + u")"));
  }
}

}  // namespace
}  // namespace vorn
