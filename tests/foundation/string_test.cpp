#include "foundation/string.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

std::string Narrow(const String& text) {
  return Utf8Text(text).Text();
}

// A length no String can hold: every attempt to allocate for it fails, which
// exercises the out-of-memory paths without touching the source text.
constexpr uint32_t kImpossibleLength = 0x7FFFFFF0u;

const char16_t* const k23 = u"abcdefghijklmnopqrstuvw";
const char16_t* const k24 = u"abcdefghijklmnopqrstuvwx";

TEST(StringStorage, InlineUpTo23UnitsThenExactHeapBlock) {
  String inline_text(k23);
  EXPECT_TRUE(inline_text.IsInline());
  EXPECT_EQ(inline_text.Length(), 23u);
  EXPECT_EQ(inline_text.Capacity(), 24u);
  EXPECT_EQ(inline_text.Text()[23], 0);

  String heap_text(k24);
  EXPECT_FALSE(heap_text.IsInline());
  EXPECT_EQ(heap_text.Capacity(), 25u);
  EXPECT_EQ(Narrow(heap_text), "abcdefghijklmnopqrstuvwx");

  String assigned;
  assigned = k24;
  EXPECT_EQ(assigned.Capacity(), 25u);
  String copied(heap_text);
  EXPECT_EQ(copied.Capacity(), 25u);
  EXPECT_NE(copied.Text(), heap_text.Text());
}

TEST(StringStorage, AssignmentReusesAFittingBufferAndEmptyFreesIt) {
  String text(u"0123456789012345678901234567890123456789");
  const char16_t* block = text.Text();
  text = u"short";
  EXPECT_EQ(text.Text(), block);
  EXPECT_EQ(text.Capacity(), 41u);
  EXPECT_EQ(Narrow(text), "short");

  text = u"";
  EXPECT_TRUE(text.IsInline());
  EXPECT_EQ(text.Capacity(), 24u);
  EXPECT_TRUE(text.IsEmpty());

  String other(u"0123456789012345678901234567890123456789");
  other = static_cast<const char16_t*>(nullptr);
  EXPECT_TRUE(other.IsInline());
  other = String(u"0123456789012345678901234567890123456789");
  other = char16_t{0};
  EXPECT_TRUE(other.IsInline());
  EXPECT_TRUE(other.IsEmpty());
}

TEST(StringStorage, AppendGrowthLeavesSlack) {
  String text(k23);
  text.Append(u"ab");
  EXPECT_EQ(text.Length(), 25u);
  EXPECT_EQ(text.Capacity(), 57u);  // new length + 32

  String by_unit(u"abcdefghijklmnopqrstuv");  // 22: one more unit still fits inline
  by_unit.Append(u'w');
  EXPECT_TRUE(by_unit.IsInline());
  by_unit.Append(u'x');
  EXPECT_EQ(by_unit.Capacity(), 55u);  // old length 23 + 32
  EXPECT_EQ(Narrow(by_unit), "abcdefghijklmnopqrstuvwx");

  String heap_text(k24);
  heap_text += u'y';
  EXPECT_EQ(heap_text.Capacity(), 56u);
  EXPECT_EQ(heap_text.Length(), 25u);
}

TEST(StringStorage, ReserveGrowsToExactlyOneMore) {
  String text(u"keep");
  EXPECT_TRUE(text.Reserve(10));
  EXPECT_TRUE(text.IsInline());
  EXPECT_TRUE(text.Reserve(100));
  EXPECT_EQ(text.Capacity(), 101u);
  EXPECT_EQ(Narrow(text), "keep");
  EXPECT_TRUE(text.Reserve(50));
  EXPECT_EQ(text.Capacity(), 101u);
}

TEST(StringStorage, MoveHandsTheBlockOver) {
  String source(u"0123456789012345678901234567890123456789");
  const char16_t* block = source.Text();
  String moved(static_cast<String&&>(source));
  EXPECT_EQ(moved.Text(), block);
  EXPECT_TRUE(source.IsEmpty());
  EXPECT_TRUE(source.IsInline());

  String target(k24);
  target = static_cast<String&&>(moved);
  EXPECT_EQ(target.Text(), block);
  EXPECT_TRUE(moved.IsEmpty());

  String small(u"abc");
  String moved_small(static_cast<String&&>(small));
  EXPECT_EQ(Narrow(moved_small), "abc");
}

TEST(StringStorage, FailedAllocationLeavesEverythingAsItWas) {
  const char16_t* source = u"abc";
  String constructed(source, kImpossibleLength);
  EXPECT_TRUE(constructed.IsEmpty());
  EXPECT_EQ(constructed.Text()[0], 0);

  String text(k24);
  const char16_t* block = text.Text();
  text.Assign(source, kImpossibleLength);
  text.Append(source, kImpossibleLength);
  EXPECT_FALSE(text.Reserve(kImpossibleLength));
  EXPECT_EQ(text.Text(), block);
  EXPECT_EQ(Narrow(text), "abcdefghijklmnopqrstuvwx");
  EXPECT_EQ(text.Capacity(), 25u);
}

TEST(StringNullInput, NullTextsCountAsEmpty) {
  const char16_t* null_text = nullptr;
  String from_null(null_text);
  EXPECT_TRUE(from_null.IsEmpty());
  EXPECT_EQ(String(null_text, 5).Length(), 0u);
  EXPECT_EQ(String(char16_t{0}).Length(), 0u);

  String text(u"abc");
  text.Append(null_text);
  text.Append(null_text, 3);
  text.Append(char16_t{0});  // would hide everything after it
  EXPECT_EQ(Narrow(text), "abc");
  EXPECT_EQ(text.Compare(null_text), 1);
  EXPECT_EQ(String().Compare(null_text), 0);
  EXPECT_FALSE(text.EqualsIgnoringCase(null_text));
  EXPECT_TRUE(String().EqualsIgnoringCase(null_text));
  EXPECT_EQ(text.Find(null_text), 0);
  EXPECT_EQ(TextLength(nullptr), 0u);

  String chained = text + null_text + char16_t{0} + u"d";
  EXPECT_EQ(Narrow(chained), "abcd");
  EXPECT_EQ(chained.Length(), 4u);
}

TEST(StringConcatenation, ChainIsEvaluatedIntoOneBuffer) {
  const String name(u"Setup");
  String joined = u"Vorn" + name + u'-' + String(u"0123456789012345678901234");
  EXPECT_EQ(Narrow(joined), "VornSetup-0123456789012345678901234");
  EXPECT_EQ(joined.Capacity(), joined.Length() + 32);

  String small = name + u'!';
  EXPECT_TRUE(small.IsInline());
  EXPECT_EQ(Narrow(small), "Setup!");

  String appended(u"a");
  appended += name + u"/" + name;
  EXPECT_EQ(Narrow(appended), "aSetup/Setup");
}

TEST(StringConcatenation, SelfReferenceIsSafe) {
  String text(u"abc");
  text = text;
  EXPECT_EQ(Narrow(text), "abc");

  text = text + text;
  EXPECT_EQ(Narrow(text), "abcabc");
  text = u"<" + text + u'>';
  EXPECT_EQ(Narrow(text), "<abcabc>");

  String heap_text(k24);
  heap_text = heap_text + heap_text;
  EXPECT_EQ(heap_text.Length(), 48u);
  EXPECT_EQ(Narrow(heap_text), "abcdefghijklmnopqrstuvwxabcdefghijklmnopqrstuvwx");
  heap_text = heap_text + heap_text;
  EXPECT_EQ(heap_text.Length(), 96u);
  EXPECT_EQ(heap_text.Text()[95], u'x');

  // A piece pointing into the middle of the target itself.
  String path(u"Data/Xml/Configuration.xml");
  path = path.Text() + 5 + String(u"|") + path;
  EXPECT_EQ(Narrow(path), "Xml/Configuration.xml|Data/Xml/Configuration.xml");

  String appended(u"xy");
  appended += appended + appended;
  EXPECT_EQ(Narrow(appended), "xyxyxy");
  appended.Append(appended);
  EXPECT_EQ(Narrow(appended), "xyxyxyxyxyxy");
  appended.Append(appended.Text() + 10, 2);
  EXPECT_EQ(Narrow(appended), "xyxyxyxyxyxyxy");
}

TEST(StringQueries, OrdinalCompareAndFind) {
  const String text(u"Configuration");
  EXPECT_EQ(text.Compare(u"Configuration"), 0);
  EXPECT_EQ(text.Compare(u"Config"), 1);
  EXPECT_EQ(String(u"Config").Compare(text), -1);
  EXPECT_EQ(text.Compare(u"configuration"), -1);  // 'C' < 'c'
  EXPECT_EQ(String(u"\u00e9").Compare(u"z"), 1);
  EXPECT_TRUE(String(u"b") < String(u"ba"));
  EXPECT_TRUE(text == String(u"Configuration"));
  EXPECT_FALSE(text == String(u"Configuratio"));

  EXPECT_EQ(text.Find(u'f'), 3);
  EXPECT_EQ(text.Find(u'z'), -1);
  EXPECT_EQ(text.Find(char16_t{0}), -1);
  EXPECT_EQ(text.Find(u"ratio"), 7);
  EXPECT_EQ(text.Find(u"tion"), 9);
  EXPECT_EQ(text.Find(u"tions"), -1);
  EXPECT_EQ(text.Find(u"Configuration!"), -1);
  EXPECT_EQ(String().Find(u"a"), -1);
}

TEST(StringQueries, CaseInsensitiveEqualityFoldsAsciiLettersOnly) {
  EXPECT_TRUE(String(u"Uninstall").EqualsIgnoringCase(u"UNINSTALL"));
  EXPECT_TRUE(String(u"utf-8").EqualsIgnoringCase(u"UTF-8"));
  EXPECT_TRUE(String(u"\u00e9T\u00e9").EqualsIgnoringCase(u"\u00e9t\u00e9"));
  // As the C runtime in the "C" locale: letters outside ASCII keep their case.
  EXPECT_FALSE(String(u"\u00c9t\u00c9").EqualsIgnoringCase(u"\u00e9t\u00e9"));
  EXPECT_FALSE(String(u"\u00d7").EqualsIgnoringCase(u"\u00f7"));
  EXPECT_FALSE(String(u"Quiet").EqualsIgnoringCase(u"Quie"));
  EXPECT_FALSE(String(u"Quie").EqualsIgnoringCase(u"Quiet"));
  EXPECT_FALSE(String(u"[").EqualsIgnoringCase(u"{"));
}

TEST(StringEditing, ReplaceUnits) {
  String path(u"Data/Xml/File.xml");
  EXPECT_EQ(path.Replace(u'/', u'\\'), 2u);
  EXPECT_EQ(Narrow(path), "Data\\Xml\\File.xml");
  EXPECT_EQ(path.Replace(u'?', u'!'), 0u);
  EXPECT_EQ(path.Replace(u'a', char16_t{0}), 0u);  // would cut the text
  EXPECT_EQ(Narrow(path), "Data\\Xml\\File.xml");
}

TEST(StringEditing, ReplaceUnitByTextGrowsAndShrinks) {
  String text(u"a&b&c");
  EXPECT_EQ(text.Replace(u'&', u"&amp;"), 2u);
  EXPECT_EQ(Narrow(text), "a&amp;b&amp;c");
  EXPECT_EQ(text.Replace(u'&', u""), 2u);
  EXPECT_EQ(Narrow(text), "aamp;bamp;c");
  EXPECT_EQ(text.Replace(u';', nullptr), 2u);
  EXPECT_EQ(Narrow(text), "aampbampc");
  EXPECT_EQ(text.Replace(u'm', u"M"), 2u);
  EXPECT_EQ(Narrow(text), "aaMpbaMpc");

  String self(u"x-y");
  EXPECT_EQ(self.Replace(u'-', self.Text()), 1u);
  EXPECT_EQ(Narrow(self), "xx-yy");

  String refused(u"abc");
  EXPECT_EQ(refused.Replace(char16_t{0}, u"z"), 0u);
  EXPECT_EQ(Narrow(refused), "abc");
}

TEST(StringEditing, DashRunsBecomeOneDash) {
  String text(u"a--b");
  EXPECT_EQ(text.CollapseDoubleDashes(), 1u);
  EXPECT_EQ(Narrow(text), "a-b");
  String longer(u"x---y----z-");
  EXPECT_EQ(longer.CollapseDoubleDashes(), 5u);
  EXPECT_EQ(Narrow(longer), "x-y-z-");
  EXPECT_EQ(longer.Find(u"--"), -1);
}

TEST(StringEditing, TrimAndCollapseWhiteSpace) {
  String only_space(u" \t\r\n\u00a0\u0085\u2028\u0001");
  only_space.Trim();
  EXPECT_TRUE(only_space.IsEmpty());
  EXPECT_EQ(only_space.Text()[0], 0);

  String text(u"\t name \u2028");
  String left = text;
  left.TrimLeft();
  EXPECT_EQ(Narrow(left), "name \xe2\x80\xa8");
  String right = text;
  right.TrimRight();
  EXPECT_EQ(Narrow(right), "\t name");
  text.Trim();
  EXPECT_EQ(Narrow(text), "name");

  String ideographic(u"\u3000x");  // not one of the framework's white-space units
  ideographic.Trim();
  EXPECT_EQ(ideographic.Length(), 2u);

  String collapsed(u"  a \t\n b  ");
  collapsed.CollapseWhiteSpace();
  EXPECT_EQ(Narrow(collapsed), "a b");
  String blank(u"   ");
  blank.CollapseWhiteSpace();
  EXPECT_TRUE(blank.IsEmpty());
}

TEST(StringEditing, DropLastTwo) {
  String line(u"text\r\n");
  line.DropLastTwo();
  EXPECT_EQ(Narrow(line), "text");
  String one(u"x");
  one.DropLastTwo();
  EXPECT_EQ(Narrow(one), "x");
  String two(u"ab");
  two.DropLastTwo();
  EXPECT_TRUE(two.IsEmpty());
}

TEST(StringCopies, LowerAndCapitalized) {
  EXPECT_EQ(Narrow(String(u"InstallFolder \u00c0B").ToLower()),
            "installfolder \xc3\x80"
            "b");
  EXPECT_EQ(Narrow(String(u"hello world\tfoo-bar \u00e9t\u00e9").Capitalized()),
            "Hello World\tFoo-bar \xc3\xa9t\xc3\xa9");
  EXPECT_EQ(Narrow(String(u"  two  spaces").Capitalized()), "  Two  Spaces");
  EXPECT_TRUE(String().ToLower().IsEmpty());
}

TEST(StringCopies, Substrings) {
  const String text(u"Preferences");
  EXPECT_EQ(Narrow(text.Left(4)), "Pref");
  EXPECT_EQ(Narrow(text.Left(99)), "Preferences");
  EXPECT_TRUE(text.Left(0).IsEmpty());
  EXPECT_EQ(Narrow(text.Tail(7)), "nces");
  EXPECT_TRUE(text.Tail(11).IsEmpty());
  EXPECT_TRUE(text.Tail(500).IsEmpty());
  EXPECT_EQ(Narrow(text.Middle(3, 4)), "fere");
  EXPECT_EQ(Narrow(text.Middle(8, 100)), "ces");
  EXPECT_TRUE(text.Middle(11, 1).IsEmpty());
  EXPECT_EQ(Narrow(text.Last()), "s");
  EXPECT_EQ(Narrow(String(u"x").Last()), "x");
  EXPECT_TRUE(String().Last().IsEmpty());
}

TEST(StringCopies, Tabs) {
  EXPECT_TRUE(String::Tabs(0).IsEmpty());
  EXPECT_EQ(Narrow(String::Tabs(3)), "\t\t\t");
  const String deep = String::Tabs(30);
  EXPECT_EQ(deep.Length(), 30u);
  EXPECT_EQ(deep.Find(u'\t'), 0);
  EXPECT_EQ(deep.Text()[30], 0);
}

TEST(WhiteSpace, Definition) {
  for (char16_t unit = 1; unit <= 32; ++unit)
    EXPECT_TRUE(IsWhiteSpace(unit)) << static_cast<int>(unit);
  EXPECT_TRUE(IsWhiteSpace(0x85));
  EXPECT_TRUE(IsWhiteSpace(0xA0));
  EXPECT_TRUE(IsWhiteSpace(0x2028));
  EXPECT_FALSE(IsWhiteSpace(0));
  EXPECT_FALSE(IsWhiteSpace(33));
  EXPECT_FALSE(IsWhiteSpace(0x2029));
  EXPECT_FALSE(IsWhiteSpace(0xFEFF));
}

TEST(Utf8, RoundTripsEveryPlane) {
  const char* utf8 = "A\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z";
  const String text = Utf8ToString(utf8);
  ASSERT_EQ(text.Length(), 6u);
  EXPECT_EQ(text[1], 0xE9);
  EXPECT_EQ(text[2], 0x4E2D);
  EXPECT_EQ(text[3], 0xD83D);
  EXPECT_EQ(text[4], 0xDE00);
  const Utf8Text back(text);
  EXPECT_STREQ(back.Text(), utf8);
  EXPECT_EQ(back.Length(), 11u);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* bytes;
    size_t length;
    std::u16string expected;
  };
  const Case cases[] = {
      {"a\xff"
       "b",
       3, u"a\ufffdb"},
      {"\xc0\xaf", 2, u"\ufffd\ufffd"},                      // overlong '/'
      {"\xe0\x80\xaf", 3, u"\ufffd\ufffd\ufffd"},            // overlong
      {"\xed\xa0\x80", 3, u"\ufffd\ufffd\ufffd"},            // encoded surrogate
      {"\xf4\x90\x80\x80", 4, u"\ufffd\ufffd\ufffd\ufffd"},  // above U+10FFFF
      {"\xe4\xb8", 2, u"\ufffd"},                            // cut short at the end
      {"\xe4\xb8"
       "A",
       3, u"\ufffdA"},           // cut short before a character
      {"a\0b", 3, u"a\ufffdb"},  // a 0 unit cannot be held
  };
  for (const Case& c : cases) {
    const String text = Utf8ToString(c.bytes, c.length);
    EXPECT_EQ(std::u16string(text.Text(), text.Length()), c.expected) << c.bytes;
  }
}

TEST(Utf8, LongInputAndEmptyInputs) {
  const std::string long_text(1000, 'x');
  EXPECT_EQ(Utf8ToString(long_text.c_str()).Length(), 1000u);
  EXPECT_TRUE(Utf8ToString(nullptr).IsEmpty());
  EXPECT_TRUE(Utf8ToString("", 0).IsEmpty());
  EXPECT_TRUE(Utf8ToString(nullptr, 10).IsEmpty());
  EXPECT_STREQ(Utf8Text(static_cast<const char16_t*>(nullptr)).Text(), "");
  EXPECT_EQ(Utf8Text(String()).Length(), 0u);
}

TEST(Utf8, UnpairedSurrogatesBecomeReplacementCharacters) {
  const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
  EXPECT_STREQ(Utf8Text(lone).Text(),
               "a\xef\xbf\xbd"
               "b\xef\xbf\xbd");
  const char16_t high_at_end[] = {0xDBFF, 0};
  EXPECT_STREQ(Utf8Text(high_at_end).Text(), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace vorn
