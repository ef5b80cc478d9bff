#include "xml/xml_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/support/vector_stream.h"
#include "xml/support/xml_test_support.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

// The tree of a document that must parse.
std::string Tree(const std::string& text, TestEncoding encoding = TestEncoding::kUtf8) {
  XmlDocument document;
  const Result result = ParseText(document, text, encoding);
  if (result != kOk) return "failed with " + std::to_string(result);
  return DescribeDocument(document);
}

// The code of a document that must not parse; the document must be empty.
Result Failure(const std::string& text, TestEncoding encoding = TestEncoding::kUtf8) {
  XmlDocument document;
  const Result result = ParseText(document, text, encoding);
  EXPECT_EQ(document.FirstNode(), nullptr) << text;
  EXPECT_EQ(document.RootElement(), nullptr) << text;
  return result;
}

TEST(XmlParserDocument, ExactlyOneRootElement) {
  EXPECT_EQ(Tree("<a/>"), "a");
  EXPECT_EQ(Tree("<!-- before --><a/>\n<!-- after -->\n"), "<!before> a <!after>");
  EXPECT_EQ(Tree("<?xml version=\"1.0\"?>\n\t<Root x='1'></Root>  "), "Root(x=1)");
  EXPECT_EQ(Failure("<?xml version=\"1.0\"?>"), kInvalidContent);
  EXPECT_EQ(Failure("<!-- a --> <!-- b -->"), kInvalidContent);
  EXPECT_EQ(Failure("  \n "), kInvalidContent);
  EXPECT_EQ(Failure("<a/><b/>"), kInvalidContent);
}

TEST(XmlParserDocument, TextAtTopLevelIsMisplaced) {
  EXPECT_EQ(Failure("x<a/>"), kInvalidContent);
  EXPECT_EQ(Failure("<a/>x"), kInvalidContent);
  EXPECT_EQ(Failure("<a/> x"), kInvalidContent);  // starts with space, still not an element
  EXPECT_EQ(Failure("&lt;<a/>"), kInvalidContent);
  EXPECT_EQ(Failure("</a>"), kInvalidContent);
  EXPECT_EQ(Failure("<a/></a>"), kInvalidContent);
}

TEST(XmlParserDocument, InputErrors) {
  XmlDocument document;
  EXPECT_EQ(document.Parse(nullptr), kNullInput);
  EXPECT_EQ(document.Parse(nullptr, 10), kNullInput);
  EXPECT_EQ(document.Parse("<a/>", 0), kInvalidSize);
  VectorStream empty({});
  EXPECT_EQ(document.Parse(&empty), kInvalidContent);
  VectorStream stream({' ', 'x', '<', 'a', '/', '>'});
  ASSERT_EQ(stream.Seek(2), kOk);  // parsing starts where the stream stands
  EXPECT_EQ(document.Parse(&stream), kOk);
  ASSERT_NE(document.RootElement(), nullptr);
  // A new parse replaces the old tree, also when it fails.
  EXPECT_EQ(document.Parse("<b>", 3), kEndOfData);
  EXPECT_EQ(document.FirstNode(), nullptr);
}

TEST(XmlParserContent, TextBecomesTheValueOfAnElementThatHoldsOnlyText) {
  EXPECT_EQ(Tree("<a>x &lt; y</a>"), "a=\"x < y\"");
  EXPECT_EQ(Tree("<a>  padded  </a>"), "a=\"  padded  \"");
  EXPECT_EQ(Tree("<a><![CDATA[ <x> ]]></a>"), "a=[ <x> ]");
  EXPECT_EQ(Tree("<a> <![CDATA[c]]>\n</a>"), "a=[c]");
  EXPECT_EQ(Tree("<a>   </a>"), "a");  // white space only: no value at all
  // Comments beside the one text do not make it mixed content.
  EXPECT_EQ(Tree("<a>x<!--c--></a>"), "a=\"x\"");
  EXPECT_EQ(Tree("<a><!--1-->x<!--2--></a>"), "a=\"x\"");
  EXPECT_EQ(Tree("<a><!--c--><![CDATA[ y ]]></a>"), "a=[ y ]");
  EXPECT_EQ(Tree("<a>x<!--c-->y</a>"), "a{\"x\" <!c> \"y\"}");
  EXPECT_EQ(Tree("<a>x<!--c--><b/></a>"), "a{\"x\" <!c> b}");
}

// A localized string with a translator's note reads back as its text, not
// as markup.
TEST(XmlParserContent, StringWithANoteReadsAsItsText) {
  XmlDocument document;
  ASSERT_EQ(ParseText(document,
                      "<Resources><String ID=\"X\">&amp;Install<!-- mnemonic -->"
                      "</String></Resources>"),
            kOk);
  String value;
  ASSERT_EQ(document.RootElement()->FirstChild()->ReadText(&value), kOk);
  EXPECT_EQ(value, u"&Install");
  EXPECT_EQ(document.RootElement()->FirstChild()->FirstChild(), nullptr);
}

TEST(XmlParserContent, WhiteSpaceBetweenElementsIsDroppedMixedContentKept) {
  EXPECT_EQ(Tree("<a>\n  <b/>\n  <c/>\n</a>"), "a{b c}");
  EXPECT_EQ(Tree("<a>one <b/> two</a>"), "a{\"one \" b \" two\"}");
  EXPECT_EQ(Tree("<a>t<![CDATA[c]]></a>"), "a{\"t\" [c]}");
}

TEST(XmlParserContent, ARawGreaterThanInTextIsAnError) {
  EXPECT_EQ(Failure("<a>x > y</a>"), kSyntaxError);
  EXPECT_EQ(Tree("<a>x &gt; y</a>"), "a=\"x > y\"");
}

TEST(XmlParserContent, ReferencesNeverActAsMarkup) {
  EXPECT_EQ(Tree("<a>&lt;b/&gt;&amp;&quot;&apos;</a>"), "a=\"<b/>&\"'\"");
  EXPECT_EQ(Tree("<a v=\"say &quot;hi&quot;\" w='&apos;'/>"), "a(v=say \"hi\",w=')");
}

TEST(XmlParserContent, NumericReferences) {
  EXPECT_EQ(Tree("<a>&#65;&#x41;&#x6a;&#x6A;&#0065;</a>"), "a=\"AAjjA\"");
  // Beyond U+FFFF: a surrogate pair, not a value cut to 16 bits.
  EXPECT_EQ(Tree("<a>&#x1F600;&#128512;</a>"), "a=\"\U0001F600\U0001F600\"");
  EXPECT_EQ(Tree("<a>&#x10FFFF;</a>"), "a=\"\U0010FFFF\"");
  EXPECT_EQ(Failure("<a>&#x110000;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#99999999999999999999;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#0;</a>"), kSyntaxError);  // no text may hold a 0 unit
  EXPECT_EQ(Failure("<a>&#;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#x;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#X41;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#65</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&#6 5;</a>"), kSyntaxError);
}

TEST(XmlParserContent, OnlyTheFiveNamedEntities) {
  EXPECT_EQ(Failure("<a>&nbsp;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&AMP;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&amplifier;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&amp</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>& amp;</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a v='&bogus;'/>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&"), kSyntaxError);
}

TEST(XmlParserTags, AttributesAreCollapsedAndKeptInOrder) {
  EXPECT_EQ(Tree("<a v=\"  x   y \t\n z  \"/>"), "a(v=x y z)");
  EXPECT_EQ(Tree("<a v='&#32;x&#9;&#32;y&#10;'/>"), "a(v=x y)");
  EXPECT_EQ(Tree("<a b='2' a=\"1\" b='3'/>"), "a(b=2,a=1,b=3)");
  EXPECT_EQ(Tree("<a x = '1'y='2' />"), "a(x=1,y=2)");
  EXPECT_EQ(Tree("<a x='<>'/>"), "a(x=<>)");
  EXPECT_EQ(Tree("<a e=''/>"), "a(e=)");
}

TEST(XmlParserTags, MalformedTags) {
  EXPECT_EQ(Failure("<a x=1/>"), kSyntaxError);
  EXPECT_EQ(Failure("<a x/>"), kSyntaxError);
  EXPECT_EQ(Failure("<a x='1\"/>"), kSyntaxError);  // unterminated value
  EXPECT_EQ(Failure("<a/ >"), kSyntaxError);
  EXPECT_EQ(Failure("<1a/>"), kSyntaxError);
  EXPECT_EQ(Failure("<\xC3\xA9/>"), kSyntaxError);  // names are ASCII
  EXPECT_EQ(Failure("<a b:-='1' -c='2'/>"), kSyntaxError);
  EXPECT_EQ(Failure("<a"), kSyntaxError);
  EXPECT_EQ(Failure("<a x='1"), kSyntaxError);
  EXPECT_EQ(Failure("<"), kSyntaxError);
  EXPECT_EQ(Tree("< a_b-c.d:e  />"), "a_b-c.d:e");
}

TEST(XmlParserTags, EndTagsMustMatch) {
  EXPECT_EQ(Failure("<a><b></a></b>"), kInvalidName);
  EXPECT_EQ(Failure("<a></ab>"), kInvalidName);
  EXPECT_EQ(Failure("<ab></a>"), kInvalidName);
  EXPECT_EQ(Failure("<a></a x>"), kInvalidContent);
  EXPECT_EQ(Failure("<a></ a>"), kSyntaxError);
  EXPECT_EQ(Tree("<a></a \n>"), "a");
}

TEST(XmlParserTags, UnterminatedDocumentsAndMarkup) {
  EXPECT_EQ(Failure("<a>text"), kEndOfData);
  EXPECT_EQ(Failure("<a><b></b>"), kEndOfData);
  EXPECT_EQ(Failure("<a></a"), kSyntaxError);
  EXPECT_EQ(Failure("<a><!-- open"), kSyntaxError);
  EXPECT_EQ(Failure("<!-- open"), kSyntaxError);
  EXPECT_EQ(Failure("<a><![CDATA[open]]"), kSyntaxError);
  EXPECT_EQ(Failure("<a><![CDATA[open]>"), kSyntaxError);
  EXPECT_EQ(Failure("<a x='open"), kSyntaxError);
  EXPECT_EQ(Failure("<a>&amp"), kSyntaxError);
}

TEST(XmlParserComments, AreCollapsedWithoutDoubleOrTrailingDashes) {
  EXPECT_EQ(Tree("<!--  a   b\n c  --><r/>"), "<!a b c> r");
  EXPECT_EQ(Tree("<!-- a - b &#45;&#45;&#45; c &#45;--><r/>"), "<!a - b - c> r");
  EXPECT_EQ(Tree("<!-- x - - --><r/>"), "<!x> r");
  EXPECT_EQ(Tree("<!----><r/>"), "<!> r");
  EXPECT_EQ(Tree("<!-- &lt;b&gt; &amp; --><r/>"), "<!<b> &> r");
  EXPECT_EQ(Failure("<!-- a -- b --><r/>"), kSyntaxError);
  EXPECT_EQ(Failure("<!- a --><r/>"), kSyntaxError);
  EXPECT_EQ(Failure("<!-- a ---><r/>"), kSyntaxError);
}

TEST(XmlParserCData, TakesEverythingUpToTheFirstClose) {
  EXPECT_EQ(Tree("<a><![CDATA[<b>&amp;</b>]]></a>"), "a=[<b>&amp;</b>]");
  EXPECT_EQ(Tree("<a><![CDATA[x]]]></a>"), "a=[x]]");
  EXPECT_EQ(Tree("<a><![CDATA[a]b]]c]]]]></a>"), "a=[a]b]]c]]]");
  EXPECT_EQ(Tree("<a><![CDATA[]]></a>"), "a=[]");
  EXPECT_EQ(Failure("<a><![FOO[x]]></a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a><![cdata[x]]></a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a><!x></a>"), kSyntaxError);
}

TEST(XmlParserDeclaration, VersionEncodingAndStandalone) {
  XmlDocument document;
  ASSERT_EQ(ParseText(document, "<?xml version='1.0' encoding='UTF-8' standalone='no'?><a/>"), kOk);
  EXPECT_EQ(document.Version(), 256);
  EXPECT_FALSE(document.IsStandalone());
  ASSERT_EQ(ParseText(document, "<?xml version=' 1.00 ' standalone='yes' ?><a/>"), kOk);
  EXPECT_TRUE(document.IsStandalone());
  // Any other encoding name still reads as UTF-8.
  EXPECT_EQ(Tree("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>"), "a=\"\xC3\xA9\"");
  EXPECT_EQ(Failure("<?xml version='1.1'?><a/>"), kBadFormat);
  EXPECT_EQ(Failure("<?xml version='x'?><a/>"), kBadFormat);
  EXPECT_EQ(Failure("<?xml version='1.0' encoding='utf-16'?><a/>"), kBadFormat);
  EXPECT_EQ(Failure("<?xml version='1.0'><a/>"), kSyntaxError);
  EXPECT_EQ(Failure("<?xml version='1.0'"), kSyntaxError);
  EXPECT_EQ(Failure("<?xml-stylesheet href='x'?><a/>"), kSyntaxError);
  EXPECT_EQ(Failure("<?php x?><a/>"), kSyntaxError);
  EXPECT_EQ(Failure("<a><?xml version='1.0'?></a>"), kInvalidContent);
}

TEST(XmlParserEncoding, MarksAndDeclarationsMustAgree) {
  const std::string utf16 = "<?xml version=\"1.0\" encoding=\"utf-16\"?><a>\xE2\x82\xAC</a>";
  EXPECT_EQ(Tree(utf16, TestEncoding::kUtf16LeWithMark), "a=\"\xE2\x82\xAC\"");
  EXPECT_EQ(Tree(utf16, TestEncoding::kUtf16BeWithMark), "a=\"\xE2\x82\xAC\"");
  EXPECT_EQ(Failure(utf16, TestEncoding::kUtf8WithMark), kBadFormat);
  EXPECT_EQ(Failure("<?xml version='1.0' encoding='utf-8'?><a/>", TestEncoding::kUtf16LeWithMark),
            kBadFormat);
  EXPECT_EQ(Tree("<a>\xC3\xA9</a>", TestEncoding::kUtf8WithMark), "a=\"\xC3\xA9\"");
  // Without a mark the first byte is taken as is, then UTF-8 follows.
  EXPECT_EQ(Tree("<a>\xC3\xA9</a>"), "a=\"\xC3\xA9\"");
  EXPECT_EQ(Failure("\xC3\xA9<a/>"), kInvalidContent);
}

TEST(XmlParserEncoding, DecoderFailuresPassThrough) {
  EXPECT_EQ(Failure("<a>\x80</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>\xF0\x9F\x98\x80</a>"), kSyntaxError);
  EXPECT_EQ(Failure("<a>\xE2\x82"), kSyntaxError);
  EXPECT_EQ(Failure("\xEF\xBB<a/>"), kBadFormat);
  const unsigned char odd[] = {0xFF, 0xFE, '<', 0, 'a', 0, '/', 0, '>', 0, 0};
  XmlDocument document;
  EXPECT_EQ(document.Parse(odd, sizeof odd), kSyntaxError);
}

TEST(XmlParserCharacters, AZeroUnitIsAnError) {
  const unsigned char utf16[] = {0xFF, 0xFE, '<', 0,   'a', 0,   '>', 0,   0,
                                 0,    '<',  0,   '/', 0,   'a', 0,   '>', 0};
  XmlDocument document;
  EXPECT_EQ(document.Parse(utf16, sizeof utf16), kSyntaxError);
  const char utf8[] = "<a x='\0'/>";
  EXPECT_EQ(document.Parse(utf8, sizeof utf8 - 1), kSyntaxError);
}

TEST(XmlParserCharacters, LineEndsBecomeLineFeeds) {
  EXPECT_EQ(Tree("<a>1\r\n2\r3\n4\r\xC2\x85"
                 "5\xC2\x85"
                 "6\xE2\x80\xA8"
                 "7</a>"),
            "a=\"1\n2\n3\n4\n5\n6\n7\"");
  EXPECT_EQ(Tree("<a><![CDATA[x\r\ny]]></a>"), "a=[x\ny]");
  // A character reference is no line end to normalize.
  XmlDocument document;
  ASSERT_EQ(ParseText(document, "<a>x&#13;y</a>"), kOk);
  EXPECT_EQ(std::u16string(document.RootElement()->ValueText()), u"x\ry");
}

TEST(XmlParserCharacters, ErrorsTellTheirLineAndColumn) {
  XmlDocument document;
  EXPECT_EQ(ParseText(document, "<a>\n\t<b>\r\n</a>"), kInvalidName);
  EXPECT_EQ(document.Line(), 3u);
  EXPECT_EQ(document.Column(), 3u);
  // A TAB moves to the next multiple of 4.
  EXPECT_EQ(ParseText(document, "<a>\n\t  \t&bad;</a>"), kSyntaxError);
  EXPECT_EQ(document.Line(), 2u);
  EXPECT_EQ(document.Column(), 13u);
  EXPECT_EQ(ParseText(document, "<a>\r\r\r\xC2\x85\xE2\x80\xA8x>"), kSyntaxError);
  EXPECT_EQ(document.Line(), 5u);  // CR followed by U+0085 is one line end
  EXPECT_EQ(document.Column(), 2u);
  ASSERT_EQ(ParseText(document, "<a/>\n"), kOk);
  EXPECT_EQ(document.Line(), 2u);
  EXPECT_EQ(document.Column(), 0u);
}

// Tools point at an element's start tag: the '<' of each element, whatever
// comes before it (declaration, comments, CDATA, a tab, a tag spanning lines).
TEST(XmlParserPositions, AnObserverIsToldWhereEachStartTagBegins) {
  struct Recorder : XmlPositionObserver {
    void ElementAt(const XmlElement* element, uint32_t line, uint32_t column) noexcept override {
      seen.push_back({std::u16string(element->Name()), line, column});
    }
    struct Seen {
      std::u16string name;
      uint32_t line, column;
    };
    std::vector<Seen> seen;
  } recorder;
  const std::string text =
      "<?xml version=\"1.0\"?>\n<!-- <fake/> -->\n<a>\n\t<b x='a>b'\n    y=\"1\"/><![CDATA[<c>]]>"
      "\r\n  <c><d/></c>\n</a>";
  XmlDocument document;
  document.SetPositionObserver(&recorder);
  ASSERT_EQ(document.Parse(text.data(), text.size()), kOk);
  ASSERT_EQ(recorder.seen.size(), 4u);
  const uint32_t expected[4][2] = {{3, 1}, {4, 5}, {6, 3}, {6, 6}};
  const char16_t* names[4] = {u"a", u"b", u"c", u"d"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(recorder.seen[i].name, names[i]);
    EXPECT_EQ(recorder.seen[i].line, expected[i][0]) << i;
    EXPECT_EQ(recorder.seen[i].column, expected[i][1]) << i;
  }
  // Without an observer nothing is told; a document parses the same.
  document.SetPositionObserver(nullptr);
  ASSERT_EQ(document.Parse(text.data(), text.size()), kOk);
  EXPECT_EQ(recorder.seen.size(), 4u);
}

}  // namespace
}  // namespace vorn
