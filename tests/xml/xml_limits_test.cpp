// Documents at the edges: deep nesting, huge values, and constructs that the
// reader's block boundaries cut in two.
#include <gtest/gtest.h>

#include <string>

#include "package/text_stream.h"
#include "xml/support/xml_test_support.h"
#include "xml/xml_document.h"
#include "xml/xml_writer.h"

namespace vorn {
namespace {

constexpr int kDeep = 100000;

std::string Nested(int depth, bool closed) {
  std::string text;
  text.reserve(depth * 7);
  for (int i = 0; i < depth; ++i) text += "<e>";
  if (closed) {
    text += "core";
    for (int i = 0; i < depth; ++i) text += "</e>";
  }
  return text;
}

TEST(XmlLimits, HundredThousandLevelsParseWriteAndFree) {
  XmlDocument document;
  const std::string text = Nested(kDeep, true);
  ASSERT_EQ(ParseText(document, text), kOk);
  const XmlElement* element = document.RootElement();
  int depth = 1;
  while (element->FirstChild()) element = element->FirstChild(), ++depth;
  EXPECT_EQ(depth, kDeep);
  EXPECT_EQ(std::u16string(element->ValueText()), u"core");

  String out;
  ASSERT_EQ(WriteXml(document.RootElement(), kXmlWriteOwnTags, &out), kOk);
  EXPECT_EQ(out.Length(), text.size());
  EXPECT_EQ(ToUtf8(out.Text()), text);
  // Destroying the document frees all levels without recursing.
}

TEST(XmlLimits, IndentationGrowsWithDepth) {
  XmlDocument document;
  ASSERT_EQ(ParseText(document, Nested(1000, true)), kOk);
  String out;
  ASSERT_EQ(WriteXml(document.RootElement(), kXmlWriteOwnTags | kXmlWriteIndented, &out), kOk);
  // Each level but the innermost opens and closes on a line of its own.
  const uint32_t tags = 1000 * 7 + 4, line_feeds = 2 * 999;
  const uint32_t tabs = 999 * 1000 / 2 + 998 * 999 / 2;
  EXPECT_EQ(out.Length(), tags + line_feeds + tabs);
}

TEST(XmlLimits, DeepUnterminatedDocumentsFailAndFreeEverything) {
  XmlDocument document;
  EXPECT_EQ(ParseText(document, Nested(kDeep, false)), kEndOfData);
  EXPECT_EQ(document.FirstNode(), nullptr);
  EXPECT_EQ(ParseText(document, Nested(kDeep, false) + "</x>"), kInvalidName);
  EXPECT_EQ(document.FirstNode(), nullptr);
}

TEST(XmlLimits, MegabyteValues) {
  const size_t mib = 1 << 20;
  std::string value;
  for (size_t i = 0; value.size() < mib; ++i) value += (i % 7 == 6) ? "   " : "ab";
  value += "ab";
  XmlDocument document;
  ASSERT_EQ(ParseText(document, "<a v='" + value + "'>" + value + "</a>"), kOk);
  const XmlAttribute* attribute = document.RootElement()->FindAttribute(u"v");
  ASSERT_NE(attribute, nullptr);
  std::string collapsed;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != ' ' || value[i - 1] != ' ') collapsed += value[i];
  }
  EXPECT_EQ(ToUtf8(attribute->Value()), collapsed);
  EXPECT_EQ(ToUtf8(document.RootElement()->ValueText()), value);

  EXPECT_EQ(ParseText(document, "<a v='" + value), kSyntaxError);
  EXPECT_EQ(ParseText(document, "<a><!--" + value), kSyntaxError);
  EXPECT_EQ(ParseText(document, "<a><![CDATA[" + value), kSyntaxError);
  EXPECT_EQ(ParseText(document, "<a>" + value), kEndOfData);
  EXPECT_EQ(document.FirstNode(), nullptr);
}

// Without a mark the first unit arrives alone and then 16,384 bytes per
// block; with a UTF-16 mark, 8,192 units per block once the rest no longer
// fits. Every construct is moved across the first block end in turn.
TEST(XmlLimits, ConstructsCutByABlockBoundaryReadTheSame) {
  const std::string tail =
      "<n a=\"&amp;&#x1F600;\" b='x'>t&lt;\r\n<![CDATA[]]]]>--&gt;<!--c - &#45;-->"
      "\r\xC2\x85&#65;\xE2\x82\xAC</n>";
  std::string expected;
  {
    XmlDocument reference;
    ASSERT_EQ(ParseText(reference, "<r>" + tail + "</r>"), kOk);
    expected = DescribeDocument(reference);
  }
  for (TestEncoding encoding : {TestEncoding::kUtf8, TestEncoding::kUtf16LeWithMark}) {
    const size_t boundary =
        encoding == TestEncoding::kUtf8 ? TextStream::kCapacity + 1 : TextStream::kCapacity / 2;
    for (size_t pad = boundary - tail.size() - 8; pad <= boundary; ++pad) {
      // The padding is white space between elements: it leaves no trace,
      // and the UTF-16 document is long enough to be read in halves.
      const std::string text = "<r>" + std::string(pad - 3, ' ') + tail + "</r>" +
                               std::string(encoding == TestEncoding::kUtf8 ? 0 : 20000, ' ');
      XmlDocument document;
      ASSERT_EQ(ParseText(document, text, encoding), kOk) << pad;
      EXPECT_EQ(DescribeDocument(document), expected) << pad;
    }
  }
}

}  // namespace
}  // namespace vorn
