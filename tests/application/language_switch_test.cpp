#include "application/language_switch.h"

#include <gtest/gtest.h>

#include "application/command_line.h"
#include "resources/languages.h"
#include "resources/localized_text.h"

namespace vorn {
namespace {

TEST(LanguageSwitchTest, SwitchValueBecomesTheChosenLanguage) {
  CommandLine& line = CommandLine::Get();
  line.Parse(u"setup.exe /Quiet");
  EXPECT_EQ(ApplyLanguageSwitch(), kNotFound);
  line.Parse(u"setup.exe /language=fr");
  EXPECT_EQ(ApplyLanguageSwitch(), kOk);
  EXPECT_TRUE(line.Token(0).used);
  EXPECT_EQ(ChosenLanguage(), LanguageIndex(u"fr"));
  line.Parse(u"setup.exe -LANGUAGE:it");
  EXPECT_EQ(ApplyLanguageSwitch(), kOk);
  EXPECT_EQ(ChosenLanguage(), LanguageIndex(u"it"));
  // Unknown names and "any" change nothing.
  for (const char16_t* bad :
       {u"setup.exe /Language=xx", u"setup.exe /Language=*", u"setup.exe /Language"}) {
    line.Parse(bad);
    EXPECT_EQ(ApplyLanguageSwitch(), kInvalidArgument);
    EXPECT_EQ(ChosenLanguage(), LanguageIndex(u"it"));
  }
  line.Parse(nullptr);
}

}  // namespace
}  // namespace vorn
