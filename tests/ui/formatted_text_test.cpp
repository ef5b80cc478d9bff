#include "ui/formatted_text.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/support/test_package.h"
#include "ui/control_defaults_values.h"
#include "ui/window_id.h"
#include "ui/hyperlink_address.h"

namespace vorn {
namespace {

using test::Utf8;

std::u16string Wide(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// Each run as text, with "*" around bold ones and "[n]" after linked ones.
std::string Runs(const FormattedText& text) {
  std::string out;
  for (uint32_t i = 0; i < text.RunCount(); ++i) {
    const FormattedRun& run = text.Run(i);
    std::string units = Utf8(String(text.Text().Text() + run.start, run.length));
    if (run.bold) units = "*" + units + "*";
    if (run.link >= 0) units += "[" + std::to_string(run.link) + "]";
    out += (i ? "|" : "") + units;
  }
  return out;
}

// Each paragraph as alignment/space after/bullet offset or "-".
std::string Paragraphs(const FormattedText& text) {
  std::string out;
  for (uint32_t i = 0; i < text.ParagraphCount(); ++i) {
    const FormattedParagraph& p = text.Paragraph(i);
    out += (i ? " " : "") + std::to_string(static_cast<int>(p.alignment)) + "/" +
           std::to_string(p.space_after) + "/" +
           (p.bulleted ? std::to_string(p.bullet_offset) : std::string("-"));
  }
  return out;
}

TEST(FormattedText, CentredParagraphWithABoldWord) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"<p align=\"center\">A <b>bold</b> word</p>"), kOk);
  EXPECT_EQ(Utf8(text.Text()), "A bold word");
  EXPECT_EQ(Runs(text), "A |*bold*| word");
  EXPECT_EQ(Paragraphs(text), "3/128/-");
  EXPECT_EQ(text.LinkCount(), 0u);
}

TEST(FormattedText, ListsBulletOnlyTheirItemsAndParagraphsKeepTheirOwnAlignment) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"<p align=\"center\">Title</p><p>Intro</p>"
                       u"<ul><li>one</li><li>two <b>2</b></li></ul>"
                       u"<p align=\"right\">After</p>Tail<br/>Next line"),
            kOk);
  EXPECT_EQ(Utf8(text.Text()), "Title\nIntro\none\ntwo 2\nAfter\nTail\nNext line");
  // The last item takes the list's closing space; the paragraphs after the
  // list are not bulleted, and text outside any paragraph has the format
  // that held before the paragraphs: not right-aligned, no space after.
  EXPECT_EQ(Paragraphs(text), "3/128/- 1/128/- 1/32/128 1/128/128 2/128/- 1/0/- 1/0/-");
  ASSERT_EQ(text.ParagraphCount(), 7u);
  EXPECT_EQ(text.Paragraph(3).start, 16u);
  EXPECT_EQ(text.Paragraph(3).length, 5u);
}

TEST(FormattedText, LinksKeepTheirTargetsAndCommandsAndMailAreRecognised) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"Press <a href=\"cmd:InstallCmd\">install</a> or write to "
                       u"<a href=\"sales@example.com\"><b>us</b></a>; "
                       u"<a href=\"https://example.com/\">site</a>"),
            kOk);
  EXPECT_EQ(Utf8(text.Text()), "Press install or write to us; site");
  EXPECT_EQ(Runs(text), "Press |install[0]| or write to |*us*[1]|; |site[2]");
  ASSERT_EQ(text.LinkCount(), 3u);
  EXPECT_EQ(text.Link(0).start, 6u);
  EXPECT_EQ(text.Link(0).length, 7u);
  EXPECT_EQ(text.LinkAt(6), 0);
  EXPECT_EQ(text.LinkAt(13), -1);
  EXPECT_EQ(text.LinkAt(26), 1);

  const LinkOpening command = RichEditLinkOpening(text.LinkTarget(0));
  EXPECT_EQ(command.action, LinkAction::kPostCommand);
  EXPECT_EQ(command.command, WindowIdOf(u"InstallCmd"));
  const LinkOpening mail = RichEditLinkOpening(text.LinkTarget(1));
  EXPECT_EQ(mail.action, LinkAction::kShellOpen);
  EXPECT_EQ(Utf8(mail.target), "mailto:sales@example.com");
  const LinkOpening web = RichEditLinkOpening(text.LinkTarget(2));
  EXPECT_EQ(web.action, LinkAction::kShellOpen);
  EXPECT_EQ(Utf8(web.target), "https://example.com/");
}

TEST(FormattedText, WrappedSourceTextAndEntitiesReadAsTheyWouldInAPage) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"<p>\n\tThe  terms\r\n\tapply &amp; <i>bind</i> &lt;you&gt;.\n</p>"
                       u"<unknown>kept</unknown><!-- not shown --><![CDATA[<raw>]]>"),
            kOk);
  EXPECT_EQ(Utf8(text.Text()), "The terms apply & bind <you>. \nkept<raw>");
}

TEST(FormattedText, TextThatIsNotWellFormedKeepsThePreviousContent) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"<b>kept</b>"), kOk);
  for (const char16_t* broken : {u"<p>unclosed", u"<b>crossed<p></b></p>", u"a & b",
                                 u"</XmlText><XmlText>", u"<?xml version=\"1.0\"?>x"}) {
    EXPECT_NE(text.Parse(broken), kOk) << Utf8(String(broken));
    EXPECT_EQ(Utf8(text.Text()), "kept");
    EXPECT_EQ(Runs(text), "*kept*");
  }
  EXPECT_EQ(text.Parse(nullptr), kNullInput);
  EXPECT_EQ(Utf8(text.Text()), "kept");
  ASSERT_EQ(text.Parse(u""), kOk);
  EXPECT_EQ(text.Text().Length(), 0u);
  EXPECT_EQ(text.ParagraphCount(), 1u);
}

TEST(FormattedText, HundredThousandNestedElementsNeedNoStack) {
  constexpr int kDeep = 100000;
  std::string markup;
  for (int i = 0; i < kDeep; ++i) markup += i % 2 ? "<b>" : "<a href=\"x\">";
  markup += "deep";
  for (int i = kDeep - 1; i >= 0; --i) markup += i % 2 ? "</b>" : "</a>";
  FormattedText text;
  ASSERT_EQ(text.Parse(Wide(markup).c_str()), kOk);
  EXPECT_EQ(Utf8(text.Text()), "deep");
  EXPECT_EQ(text.LinkCount(), static_cast<uint32_t>(kDeep / 2));
  EXPECT_EQ(text.LinkAt(0), kDeep / 2 - 1);
  EXPECT_EQ(Runs(text), "*deep*[" + std::to_string(kDeep / 2 - 1) + "]");

  std::string lists;
  for (int i = 0; i < kDeep; ++i) lists += "<ul><li>";
  EXPECT_NE(text.Parse(Wide(lists).c_str()), kOk);
  EXPECT_EQ(Utf8(text.Text()), "deep");
}

}  // namespace
}  // namespace vorn
