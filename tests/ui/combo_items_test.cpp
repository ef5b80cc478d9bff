#include "ui/combo_items.h"

#include <gtest/gtest.h>

#include "resources/support/test_package.h"
#include "ui/control_defaults_values.h"
#include "ui/window_id.h"
#include "ui/support/message_box_fixture.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

using test::Utf8;

class ComboItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resources_.Add(
        u"Data/Xml/Windows.xml",
        "<Resources>\n"
        "  <Window ID=\"Good\"><ComboBox ID=\"Group\" Type=\"Editable\">"
        "    <Item ID=\"First\">#FirstItem</Item>"
        "    <Item ID=\"Second\" PictureIndex=\" 0x2\" Selected=\"true\">Second</Item>"
        "    <Item ID=\"Third\" PictureIndex=\"-1\">Third</Item>"
        "  </ComboBox></Window>\n"
        "  <Window ID=\"Stranger\"><ComboBox><Item ID=\"A\">A</Item><Entry ID=\"B\">B</Entry>"
        "    <Item ID=\"C\">C</Item></ComboBox></Window>\n"
        "  <Window ID=\"NoId\"><ComboBox><Item ID=\"A\">A</Item><Item>B</Item>"
        "  </ComboBox></Window>\n"
        "  <Window ID=\"NoText\"><ComboBox><Item ID=\"A\"/></ComboBox></Window>\n"
        "  <Window ID=\"EmptyId\"><ComboBox><Item ID=\"\">A</Item></ComboBox></Window>\n"
        "</Resources>\n");
    resources_.Add(u"Data/Xml/Strings-en.xml", test::StringFile("en", {{"FirstItem", "One"}}));
    resources_.Mount();
    ASSERT_EQ(resources_.Manager().RegisterDocument(u"Data/Xml/Windows.xml"), kOk);
    ASSERT_EQ(resources_.Manager().RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  }

  Result Read(const char16_t* window, ComboItems& items) {
    XmlElement* element = nullptr;
    EXPECT_EQ(resources_.Manager().GetElement(u"Window", window, element), kOk);
    const Result result = items.Read(resources_.Manager(), element->Find(u"/ComboBox"));
    resources_.Manager().Release(element);
    return result;
  }

  test::TestResources resources_;
};

TEST_F(ComboItemsTest, ItemsInDocumentOrderWithValueLabelImageAndSelection) {
  ComboItems items;
  ASSERT_EQ(Read(u"Good", items), kOk);
  ASSERT_EQ(items.Count(), 3u);
  EXPECT_EQ(items.Item(0).value, WindowIdOf(u"First"));
  EXPECT_EQ(Utf8(items.Item(0).label), "One");
  EXPECT_EQ(items.Item(0).image, -1);
  EXPECT_FALSE(items.Item(0).selected);
  EXPECT_EQ(Utf8(items.Item(1).label), "Second");
  EXPECT_EQ(items.Item(1).image, 2);
  EXPECT_EQ(items.Item(2).image, -1);
  EXPECT_EQ(items.Selection(), 1);
}

TEST_F(ComboItemsTest, BadChildrenEndTheReadingAndKeepTheItemsBefore) {
  struct Case {
    const char16_t* window;
    Result result;
    uint32_t kept;
  };
  for (const Case& c :
       {Case{u"Stranger", kWrongType, 1}, Case{u"NoId", kMissingData, 1},
        Case{u"NoText", kMissingData, 0}, Case{u"EmptyId", kLocalizedTextMissing, 0}}) {
    ComboItems items;
    EXPECT_EQ(Read(c.window, items), c.result) << Utf8(String(c.window));
    EXPECT_EQ(items.Count(), c.kept) << Utf8(String(c.window));
    EXPECT_EQ(items.Selection(), -1);
  }
  ComboItems items;
  EXPECT_EQ(items.Read(resources_.Manager(), nullptr), kNullInput);
}

TEST(ComboItemsGrowth, ManyItemsKeepTheirLabels) {
  std::string xml = "<ComboBox>";
  for (int i = 0; i < 300; ++i) {
    xml += "<Item ID=\"I" + std::to_string(i) + "\">Label " + std::to_string(i) + "</Item>";
  }
  xml += "</ComboBox>";
  test::TestResources resources;
  resources.Add(u"Data/Xml/Combo.xml", "<Resources>" + xml + "</Resources>");
  resources.Mount();
  ASSERT_EQ(resources.Manager().RegisterDocument(u"Data/Xml/Combo.xml"), kOk);
  XmlElement* combo = nullptr;
  ASSERT_EQ(resources.Manager().GetElement(u"ComboBox", u"", combo), kOk);
  ComboItems items;
  ASSERT_EQ(items.Read(resources.Manager(), combo), kOk);
  resources.Manager().Release(combo);
  ASSERT_EQ(items.Count(), 300u);
  EXPECT_EQ(Utf8(items.Item(0).label), "Label 0");
  EXPECT_EQ(Utf8(items.Item(299).label), "Label 299");
  EXPECT_EQ(items.Item(299).value, WindowIdOf(u"I299"));
}

}  // namespace
}  // namespace vorn
