#include "xml/xml_element.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/support/xml_test_support.h"
#include "xml/xml_document.h"

namespace vorn {
namespace {

// A parsed document and its root, for the lookups below.
class XmlElementTest : public ::testing::Test {
 protected:
  XmlElement* Root(const std::string& text) {
    EXPECT_EQ(ParseText(document_, text), kOk) << text;
    return document_.RootElement();
  }
  XmlDocument document_;
};

const char kPreferences[] =
    "<Preferences>"
    "  <!-- comments never count -->"
    "  <User><Global><Language>fr</Language></Global></User>"
    "  <User><Global><Language>it</Language></Global></User>"
    "</Preferences>";

TEST_F(XmlElementTest, FindWalksOneChildPerSegment) {
  XmlElement* root = Root(kPreferences);
  XmlElement* language = root->Find(u"/User/Global/Language");
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(std::u16string(language->ValueText()), u"fr");  // the first match at each level
  EXPECT_EQ(root->Find(u"/User/Global/Language/"), nullptr);
  EXPECT_EQ(root->Find(u"/User//Language"), nullptr);
  EXPECT_EQ(root->Find(u"User/Global"), nullptr);
  EXPECT_EQ(root->Find(u"/Preferences/User"), nullptr);  // lookups start below the element
  EXPECT_EQ(root->Find(u"/user"), nullptr);
  EXPECT_EQ(root->Find(u"/"), nullptr);
  EXPECT_EQ(root->Find(u""), nullptr);
  EXPECT_EQ(root->Find(nullptr), nullptr);
  EXPECT_EQ(root->Find(u"/User/Global"), root->FirstChild()->FirstChild());
}

TEST_F(XmlElementTest, NavigationPassesOverComments) {
  XmlElement* root = Root("<r><!--a--><x/><!--b--><!--c--><y/><!--d--></r>");
  ASSERT_NE(root->FirstChild(), nullptr);
  EXPECT_EQ(std::u16string(root->FirstChild()->Name()), u"x");
  EXPECT_EQ(std::u16string(root->FirstChild()->NextSibling()->Name()), u"y");
  EXPECT_EQ(root->FirstChild()->NextSibling()->NextSibling(), nullptr);
  EXPECT_EQ(root->FirstNode()->Kind(), XmlValueKind::kComment);
}

TEST_F(XmlElementTest, FindOrCreateBuildsMissingLevelsAtTheFront) {
  XmlElement* root = Root("<Preferences><Other/></Preferences>");
  XmlElement* created = nullptr;
  ASSERT_EQ(root->FindOrCreate(u"/User/Global/Language", created), kOk);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(Describe(root), "Preferences{User{Global{Language}} Other}");
  XmlElement* found = nullptr;
  ASSERT_EQ(root->FindOrCreate(u"/User/Global/Language", found), kOk);
  EXPECT_EQ(found, created);
  ASSERT_EQ(root->FindOrCreate(u"/User/Local", found), kOk);
  EXPECT_EQ(Describe(root), "Preferences{User{Local Global{Language}} Other}");

  EXPECT_EQ(root->FindOrCreate(nullptr, found), kNullInput);
  EXPECT_EQ(root->FindOrCreate(u"User", found), kInvalidPath);
  EXPECT_EQ(root->FindOrCreate(u"/User/", found), kInvalidPath);
  EXPECT_EQ(root->FindOrCreate(u"/A//B", found), kInvalidPath);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(Describe(root), "Preferences{User{Local Global{Language}} Other}");
}

TEST_F(XmlElementTest, RemoveTakesTheFirstMatchWithItsSubtree) {
  XmlElement* root = Root("<r><!--c--><a><b/></a><a id='2'/><k/></r>");
  EXPECT_EQ(root->Remove(u"/a"), kOk);
  EXPECT_EQ(Describe(root), "r{<!c> a(id=2) k}");
  EXPECT_EQ(root->Remove(u"/missing/deeper"), kOk);
  EXPECT_EQ(root->Remove(u"/k/missing"), kOk);
  EXPECT_EQ(root->Remove(u"k"), kInvalidPath);
  EXPECT_EQ(root->Remove(nullptr), kNullInput);
  EXPECT_EQ(root->Remove(u"/k"), kOk);
  EXPECT_EQ(root->Remove(u"/a"), kOk);
  EXPECT_EQ(Describe(root), "r{<!c>}");
}

TEST_F(XmlElementTest, AttributeTextAndDefaults) {
  XmlElement* root = Root("<a Name='  The   Name ' Empty=''/>");
  String text(u"stale");
  EXPECT_EQ(root->ReadAttributeText(u"Name", text), kOk);
  EXPECT_EQ(text, String(u"The Name"));
  EXPECT_EQ(root->ReadAttributeText(u"Empty", text), kOk);
  EXPECT_TRUE(text.IsEmpty());
  text = u"stale";
  EXPECT_EQ(root->ReadAttributeText(u"name", text), kInvalidName);  // names are exact
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(root->ReadAttributeText(nullptr, text), kInvalidName);
  EXPECT_EQ(root->ReadAttributeText(u"Missing", text, u"fallback"), kOk);
  EXPECT_EQ(text, String(u"fallback"));
  EXPECT_EQ(root->ReadAttributeText(u"Name", text, u"fallback"), kOk);
  EXPECT_EQ(text, String(u"The Name"));
}

TEST_F(XmlElementTest, AttributeBooleans) {
  XmlElement* root = Root(
      "<a t1='1' t2='true' t3='TRUE' t4='  tRuE blue' t5='10' f1='yes' f2='0' f3='' f4='tru' "
      "t6='\t1'/>");
  // The TAB of t6 was collapsed away: its value is "1".
  for (const char16_t* name : {u"t1", u"t2", u"t3", u"t4", u"t5", u"t6"}) {
    bool value = false;
    EXPECT_EQ(root->ReadAttributeBoolean(name, value), kOk);
    EXPECT_TRUE(value) << ToUtf8(name);
  }
  for (const char16_t* name : {u"f1", u"f2", u"f3", u"f4"}) {
    bool value = true;
    EXPECT_EQ(root->ReadAttributeBoolean(name, value), kOk);
    EXPECT_FALSE(value) << ToUtf8(name);
  }
  bool value = true;
  EXPECT_EQ(root->ReadAttributeBoolean(u"missing", value), kInvalidName);
  EXPECT_FALSE(value);
  EXPECT_EQ(root->ReadAttributeBoolean(u"missing", value, true), kInvalidName);
  EXPECT_TRUE(value);
}

TEST_F(XmlElementTest, AttributeIntegers) {
  XmlElement* root = Root(
      "<a hex='0x1A' spaced=' 0x1A' neg='-42' big='-9000000000' u='18446744073709551615' "
      "port='8080' junk='12abc'/>");
  int32_t i32 = -1;
  EXPECT_EQ(root->ReadAttributeInt32(u"hex", i32), kOk);
  EXPECT_EQ(i32, 26);
  // Attribute values are stored collapsed, so the space is gone.
  EXPECT_EQ(root->ReadAttributeInt32(u"spaced", i32), kOk);
  EXPECT_EQ(i32, 26);
  EXPECT_EQ(root->ReadAttributeInt32(u"neg", i32), kOk);
  EXPECT_EQ(i32, -42);
  EXPECT_EQ(root->ReadAttributeInt32(u"junk", i32), kOk);
  EXPECT_EQ(i32, 12);
  int64_t i64 = 0;
  EXPECT_EQ(root->ReadAttributeInt64(u"big", i64), kOk);
  EXPECT_EQ(i64, -9000000000LL);
  uint64_t u64 = 0;
  EXPECT_EQ(root->ReadAttributeUInt64(u"u", u64), kOk);
  EXPECT_EQ(u64, 18446744073709551615ULL);
  uint16_t u16 = 0;
  EXPECT_EQ(root->ReadAttributeUInt16(u"port", u16), kOk);
  EXPECT_EQ(u16, 8080);
  i32 = 5, i64 = 5, u64 = 5, u16 = 5;
  EXPECT_EQ(root->ReadAttributeInt32(u"missing", i32), kInvalidName);
  EXPECT_EQ(root->ReadAttributeInt64(u"missing", i64), kInvalidName);
  EXPECT_EQ(root->ReadAttributeUInt64(u"missing", u64), kInvalidName);
  EXPECT_EQ(root->ReadAttributeUInt16(u"missing", u16), kInvalidName);
  EXPECT_EQ(i32 + i64 + u64 + u16, 0u);
}

TEST_F(XmlElementTest, OptionalAttributesLeaveDefaultsWhenMissing) {
  XmlElement* root = Root("<a n='0x10' f='2.5' b='TRUE' t='x'/>");
  int32_t number = 7;
  float scale = 1.5f;
  bool flag = true;
  String text(u"kept");
  EXPECT_EQ(root->ReadOptionalAttributeInt32(u"none", number), kInvalidName);
  EXPECT_EQ(root->ReadOptionalAttributeFloat(u"none", scale), kInvalidName);
  EXPECT_EQ(root->ReadOptionalAttributeBoolean(u"none", flag), kInvalidName);
  EXPECT_EQ(root->ReadOptionalAttributeText(u"none", text), kInvalidName);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(scale, 1.5f);
  EXPECT_TRUE(flag);
  EXPECT_TRUE(text == u"kept");
  EXPECT_EQ(root->ReadOptionalAttributeInt32(u"n", number), kOk);
  EXPECT_EQ(root->ReadOptionalAttributeFloat(u"f", scale), kOk);
  EXPECT_EQ(root->ReadOptionalAttributeBoolean(u"b", flag), kOk);
  EXPECT_EQ(root->ReadOptionalAttributeText(u"t", text), kOk);
  EXPECT_EQ(number, 16);
  EXPECT_EQ(scale, 2.5f);
  EXPECT_TRUE(flag);
  EXPECT_TRUE(text == u"x");
}

TEST_F(XmlElementTest, AttributeDateTimes) {
  XmlElement* root = Root(
      "<a plain='2015-06-30T12:34:56' z='2015-06-30T12:34:56Z' "
      "fraction='2015-06-30T12:34:56.25Z' long='2001-01-01T00:00:00.1234569Z' "
      "last='9999-12-31T23:59:59Z'/>");
  struct Good {
    const char16_t* name;
    int64_t microseconds;
  } const good[] = {
      {u"plain", 63571264496000000LL},    {u"z", 63571264496000000LL},
      {u"fraction", 63571264496250000LL}, {u"long", 63113904000123456LL},
      {u"last", 315537897599000000LL},
  };
  for (const Good& g : good) {
    DateTime value;
    EXPECT_EQ(root->ReadAttributeDateTime(g.name, value), kOk) << ToUtf8(g.name);
    EXPECT_EQ(value.Value(), g.microseconds) << ToUtf8(g.name);
  }
  DateTime missing(12345);
  EXPECT_EQ(root->ReadAttributeDateTime(u"missing", missing), kInvalidName);
  EXPECT_TRUE(missing.IsNoDate());

  const char* const bad[] = {
      "2015-06-30 12:34:56",   "2015-06-30T12:34:56.Z",
      "2015-06-30T12:34:56.5", "2015-06-30T12:34:5",
      "2015-06-30T12:34:56ZZ", "2015-06-30T12:34:56+01:00",
      "2015-13-01T00:00:00",   "2015-02-29T00:00:00",
      "2015-06-30T24:00:00",   "2015-06-30T12:60:00",
      "0000-01-01T00:00:00",   "2015/06/30T12:34:56",
      "+015-06-30T12:34:56",   "",
  };
  for (const char* text : bad) {
    XmlElement* element = Root(std::string("<a v='") + text + "'/>");
    DateTime value(12345);
    EXPECT_EQ(element->ReadAttributeDateTime(u"v", value), kInvalidContent) << text;
    EXPECT_TRUE(value.IsNoDate()) << text;
  }
}

TEST_F(XmlElementTest, TypedValuesFromText) {
  XmlElement* root = Root(
      "<r><b> True</b><i>-17</i><h>0x10</h><s> 0x10</s><l>5000000000</l><f>2.5e3</f><t>text</t>"
      "<c><![CDATA[12]]></c><e/><m>x<y/></m></r>");
  bool b = false;
  EXPECT_EQ(root->ReadBoolean(u"/b", b), kOk);
  EXPECT_TRUE(b);
  int32_t i = 0;
  EXPECT_EQ(root->ReadInt32(u"/i", i), kOk);
  EXPECT_EQ(i, -17);
  EXPECT_EQ(root->ReadInt32(u"/h", i), kOk);
  EXPECT_EQ(i, 16);
  EXPECT_EQ(root->ReadInt32(u"/s", i), kOk);  // "0x" counts only at the very start
  EXPECT_EQ(i, 0);
  int64_t l = 0;
  EXPECT_EQ(root->ReadInt64(u"/i", l), kOk);
  EXPECT_EQ(l, -17);
  // Texts beyond 32 bits keep their value when read as 64-bit.
  EXPECT_EQ(root->ReadInt64(u"/l", l), kOk);
  EXPECT_EQ(l, 5000000000LL);
  double d = 0;
  EXPECT_EQ(root->ReadDouble(u"/f", d), kOk);
  EXPECT_EQ(d, 2500.0);
  float f = 0;
  EXPECT_EQ(root->ReadFloat(u"/f", f), kOk);
  EXPECT_EQ(f, 2500.0f);
  EXPECT_EQ(root->ReadBoolean(u"/t", b), kOk);
  EXPECT_FALSE(b);

  // CDATA, no value and markup are no numbers.
  EXPECT_EQ(root->ReadInt32(u"/c", i), kWrongType);
  EXPECT_EQ(root->ReadBoolean(u"/e", b), kWrongType);
  EXPECT_EQ(root->ReadDouble(u"/m", d), kWrongType);
  EXPECT_EQ(root->ReadInt64(u"/e", l), kWrongType);
  EXPECT_EQ(i + l + d, 0);
  EXPECT_FALSE(b);
  EXPECT_EQ(root->ReadInt32(u"/missing", i), kNotFound);
  EXPECT_EQ(root->ReadBoolean(u"missing", b), kNotFound);
}

TEST_F(XmlElementTest, TextPointersAndTextsOfMarkup) {
  XmlElement* root = Root("<r><t>x</t><c><![CDATA[<y>]]></c><e/><m>a<b k='&quot;v'>c</b>d</m></r>");
  const char16_t* text = u"stale";
  EXPECT_EQ(root->ReadTextPointer(u"/t", text), kOk);
  EXPECT_EQ(std::u16string(text), u"x");
  EXPECT_EQ(root->ReadTextPointer(u"/c", text), kOk);
  EXPECT_EQ(std::u16string(text), u"<y>");
  EXPECT_EQ(root->ReadTextPointer(u"/e", text), kOk);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(root->ReadTextPointer(u"/none", text), kNotFound);

  String out;
  EXPECT_EQ(root->ReadText(u"/m", &out), kOk);
  EXPECT_EQ(ToUtf8(out.Text()), "a<b k=\"&quot;v\">c</b>d");
  EXPECT_EQ(root->ReadText(u"/c", &out), kOk);
  EXPECT_EQ(out, String(u"<y>"));
  EXPECT_EQ(root->ReadText(u"/e", &out), kOk);
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(root->ReadText(u"/t", nullptr), kNullOutput);
  EXPECT_EQ(root->ReadText(nullptr), kNullOutput);
  out = u"stale";
  EXPECT_EQ(root->ReadText(u"/none", &out), kNotFound);
  EXPECT_TRUE(out.IsEmpty());
}

TEST_F(XmlElementTest, SettingReplacesValuesAndCreatesPaths) {
  XmlElement* root = Root("<r><v>old</v></r>");
  ASSERT_EQ(root->SetInt32(u"/v", -5), kOk);
  EXPECT_EQ(root->Find(u"/v")->Kind(), XmlValueKind::kInt32);
  int64_t wide = 0;
  EXPECT_EQ(root->ReadInt64(u"/v", wide), kOk);  // sign-extended
  EXPECT_EQ(wide, -5);
  const char16_t* text = nullptr;
  EXPECT_EQ(root->ReadTextPointer(u"/v", text), kWrongType);
  String out(u"stale");
  EXPECT_EQ(root->ReadText(u"/v", &out), kWrongType);
  EXPECT_TRUE(out.IsEmpty());
  // Markup holding a typed value has no text form.
  EXPECT_EQ(root->ReadText(&out), kBadFormat);

  ASSERT_EQ(root->SetBoolean(u"/v", true), kOk);
  bool b = false;
  EXPECT_EQ(root->ReadBoolean(u"/v", b), kOk);
  EXPECT_TRUE(b);
  int32_t narrow = 0;
  EXPECT_EQ(root->ReadInt32(u"/v", narrow), kWrongType);
  ASSERT_EQ(root->SetFloat(u"/v", 1.5f), kOk);
  double d = 0;
  EXPECT_EQ(root->ReadDouble(u"/v", d), kOk);
  EXPECT_EQ(d, 1.5);
  ASSERT_EQ(root->SetText(u"/v", u"new"), kOk);
  EXPECT_EQ(root->ReadText(u"/v", &out), kOk);
  EXPECT_EQ(out, String(u"new"));

  ASSERT_EQ(root->SetText(u"/User/Global/Language", u"zh"), kOk);
  EXPECT_EQ(Describe(root), "r{User{Global{Language=\"zh\"}} v=\"new\"}");
  EXPECT_EQ(root->SetText(u"bad", u"x"), kInvalidPath);
  ASSERT_EQ(root->SetText(u"/v", nullptr), kOk);
  EXPECT_EQ(root->ReadText(u"/v", &out), kOk);
  EXPECT_TRUE(out.IsEmpty());
}

TEST(XmlElementTree, CreatedTreesAreFreedWithTheirSubtrees) {
  XmlElement* root = XmlElement::Create(u"Root");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->AppendAttribute(u"A", u" one  two "), kOk);
  EXPECT_EQ(root->AppendAttribute(u"B", nullptr), kOk);
  EXPECT_EQ(root->AppendAttribute(nullptr, u"x"), kNullInput);
  EXPECT_EQ(root->AppendAttribute(u"", u"x"), kNullInput);
  XmlElement* leaf = nullptr;
  ASSERT_EQ(root->FindOrCreate(u"/a/b/c", leaf), kOk);
  ASSERT_EQ(leaf->SetText(u"deep"), kOk);
  EXPECT_EQ(Describe(root), "Root(A=one two,B=){a{b{c=\"deep\"}}}");
  XmlElement::Destroy(root);
  XmlElement::Destroy(nullptr);
}

}  // namespace
}  // namespace vorn
