#include "xml/xml_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/support/xml_test_support.h"
#include "xml/xml_document.h"

namespace vorn {
namespace {

// The root of `text` written with `options`, as UTF-8.
std::string Written(const std::string& text, uint32_t options) {
  XmlDocument document;
  if (ParseText(document, text) != kOk) return "(does not parse)";
  String out;
  const Result result = WriteXml(document.RootElement(), options, &out);
  if (result != kOk) return "failed with " + std::to_string(result);
  return ToUtf8(out.Text());
}

// Writes the root with its tags and comments, parses that again and
// returns both trees' descriptions.
std::pair<std::string, std::string> RoundTrip(const std::string& text) {
  XmlDocument first;
  EXPECT_EQ(ParseText(first, text), kOk) << text;
  String out;
  EXPECT_EQ(WriteXml(first.RootElement(), kXmlWriteOwnTags | kXmlWriteComments, &out), kOk);
  XmlDocument second;
  // As UTF-16: the UTF-8 reader has no four-byte forms for astral characters.
  EXPECT_EQ(ParseText(second, ToUtf8(out.Text()), TestEncoding::kUtf16LeWithMark), kOk)
      << ToUtf8(out.Text());
  return {Describe(first.RootElement()), Describe(second.RootElement())};
}

TEST(XmlWriter, ContentOnlyByDefaultOwnTagsOnRequest) {
  const std::string text = "<r a='1'><x>t</x><y/><!--c--></r>";
  EXPECT_EQ(Written(text, 0), "<x>t</x><y/>");
  EXPECT_EQ(Written(text, kXmlWriteOwnTags), "<r a=\"1\"><x>t</x><y/></r>");
  EXPECT_EQ(Written(text, kXmlWriteOwnTags | kXmlWriteComments),
            "<r a=\"1\"><x>t</x><y/><!--c--></r>");
  EXPECT_EQ(Written("<r>text</r>", 0), "text");
  EXPECT_EQ(Written("<r/>", 0), "");
  EXPECT_EQ(Written("<r/>", kXmlWriteOwnTags), "<r/>");
  // An element whose only children are dropped comments is written empty.
  EXPECT_EQ(Written("<r><e><!--c--></e></r>", 0), "<e/>");
}

TEST(XmlWriter, IndentsWithOneTabPerLevel) {
  const std::string text = "<r><a><b>v</b><c/></a><d/><!--n--></r>";
  EXPECT_EQ(Written(text, kXmlWriteOwnTags | kXmlWriteIndented | kXmlWriteComments),
            "<r>\n\t<a>\n\t\t<b>v</b>\n\t\t<c/>\n\t</a>\n\t<d/>\n\t<!--n-->\n</r>");
  EXPECT_EQ(Written(text, kXmlWriteIndented), "<a>\n\t<b>v</b>\n\t<c/>\n</a>\n<d/>");
}

TEST(XmlWriter, EscapesTextAndAttributes) {
  EXPECT_EQ(Written("<r>&lt;&amp;&gt;&quot;&apos;</r>", 0), "&lt;&amp;&gt;&quot;&apos;");
  EXPECT_EQ(Written("<r v='&quot;&amp;&lt;&gt;&apos;'/>", kXmlWriteOwnTags),
            "<r v=\"&quot;&amp;&lt;>'\"/>");
  EXPECT_EQ(Written("<r>a&#13;b&#x85;c&#x2028;d</r>", 0), "a&#13;b&#133;c&#8232;d");
  EXPECT_EQ(Written("<r><![CDATA[<&>]]></r>", kXmlWriteOwnTags), "<r><![CDATA[<&>]]></r>");
  EXPECT_EQ(Written("<r><!-- a &amp; b --><x/></r>", kXmlWriteComments), "<!--a &amp; b--><x/>");
}

TEST(XmlWriter, TypedValuesCannotBeWritten) {
  XmlDocument document;
  ASSERT_EQ(ParseText(document, "<r><a>1</a><b/></r>"), kOk);
  XmlElement* root = document.RootElement();
  ASSERT_EQ(root->SetInt32(u"/b/c", 5), kOk);
  String out(u"stale");
  EXPECT_EQ(WriteXml(root, 0, &out), kBadFormat);
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(WriteXml(root->Find(u"/b/c"), kXmlWriteOwnTags, &out), kBadFormat);
  EXPECT_EQ(WriteXml(root->Find(u"/a"), kXmlWriteOwnTags, &out), kOk);
  EXPECT_EQ(out, String(u"<a>1</a>"));
  EXPECT_EQ(WriteXml(nullptr, 0, &out), kNullInput);
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(WriteXml(root, 0, nullptr), kNullOutput);
}

TEST(XmlWriter, WrittenDocumentsReadBackTheSame) {
  const char* const documents[] = {
      "<Application Name='Demo &amp; Co' Version=\"1.0\">\n"
      "  <!-- settings -->\n"
      "  <Folder Path='C:\\Program Files\\Demo' Quote='a&quot;b' Lt='&lt;'/>\n"
      "  <Text>x &lt; y &amp; z</Text>\n"
      "  <Mixed>one <b>two</b> three &#xE9;</Mixed>\n"
      "  <Raw><![CDATA[ <keep> &amp; ]]></Raw>\n"
      "  <Blank><![CDATA[   ]]></Blank>\n"
      "  <Split><![CDATA[a]]>text<![CDATA[b]]></Split>\n"
      "  <Comment><!-- &amp; - &#45;&#45; - --></Comment>\n"
      "  <Lines>a&#13;b&#x85;c&#x2028;d&#10;e</Lines>\n"
      "  <Astral>&#x1F600;</Astral>\n"
      "</Application>",
      "<a><b><c><d/></c></b><!--x - - --></a>",
  };
  for (const char* text : documents) {
    const auto trees = RoundTrip(text);
    EXPECT_EQ(trees.first, trees.second);
  }
}

}  // namespace
}  // namespace vorn
