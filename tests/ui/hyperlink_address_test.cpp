#include "ui/hyperlink_address.h"

#include <gtest/gtest.h>

#include "resources/support/test_package.h"

namespace vorn {
namespace {

using test::Utf8;

TEST(HyperlinkAddress, MailAddressesCarryEscapedSubjectAndBody) {
  const LinkOpening mail = HyperlinkOpening(String(u"support@example.com"),
                                            String(u"Setup 100% done"), String(u"Hello there"));
  EXPECT_EQ(mail.action, LinkAction::kShellOpen);
  EXPECT_EQ(Utf8(mail.target),
            "mailto:support@example.com?subject=Setup%20100%25%20done&body=Hello%20there");
  // Without subject and body there is no query; an existing scheme is kept.
  EXPECT_EQ(Utf8(HyperlinkOpening(String(u"mailto:a@b.c"), String(), String()).target),
            "mailto:a@b.c");
  EXPECT_EQ(Utf8(MailtoAddress(String(u"MAILTO:a@b.c"), String(), String(u"x"))),
            "MAILTO:a@b.c?subject=&body=x");
}

TEST(HyperlinkAddress, UrlsOpenUnchangedAndRelativeAddressesNavigate) {
  const LinkOpening web =
      HyperlinkOpening(String(u"https://example.com/a b"), String(u"s"), String());
  EXPECT_EQ(web.action, LinkAction::kShellOpen);
  EXPECT_EQ(Utf8(web.target), "https://example.com/a b");
  const LinkOpening page = HyperlinkOpening(String(u"LicensePage"), String(), String());
  EXPECT_EQ(page.action, LinkAction::kNavigate);
  EXPECT_EQ(Utf8(page.target), "LicensePage");
  EXPECT_EQ(HyperlinkOpening(String(), String(), String()).action, LinkAction::kNavigate);
  // "cmd:" means a command only in a rich edit; "CMD:" is no command.
  EXPECT_EQ(HyperlinkOpening(String(u"cmd:InstallCmd"), String(), String()).action,
            LinkAction::kShellOpen);
  EXPECT_EQ(RichEditLinkOpening(String(u"CMD:InstallCmd")).action, LinkAction::kShellOpen);
  const LinkOpening empty_command = RichEditLinkOpening(String(u"cmd:"));
  EXPECT_EQ(empty_command.action, LinkAction::kPostCommand);
  EXPECT_EQ(empty_command.command, 0xFFFF);
}

}  // namespace
}  // namespace vorn
