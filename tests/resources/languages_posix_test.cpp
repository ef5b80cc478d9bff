#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "resources/languages.h"

namespace vorn {
namespace {

class LocaleVariables : public ::testing::Test {
 protected:
  void SetUp() override {
    Save("LC_ALL", lc_all_);
    Save("LANG", lang_);
  }
  void TearDown() override {
    Restore("LC_ALL", lc_all_);
    Restore("LANG", lang_);
  }
  static void Save(const char* name, std::pair<bool, std::string>& saved) {
    const char* value = getenv(name);
    saved = {value != nullptr, value ? value : ""};
  }
  static void Restore(const char* name, const std::pair<bool, std::string>& saved) {
    if (saved.first) {
      setenv(name, saved.second.c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::pair<bool, std::string> lc_all_, lang_;
};

TEST_F(LocaleVariables, LanguageComesFromLcAllThenLang) {
  unsetenv("LC_ALL");
  setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ(UserLocaleLanguage(), LanguageIndex(u"fr"));
  setenv("LC_ALL", "it_IT", 1);
  EXPECT_EQ(UserLocaleLanguage(), LanguageIndex(u"it"));
  setenv("LC_ALL", "", 1);
  setenv("LANG", "zh", 1);
  EXPECT_EQ(UserLocaleLanguage(), LanguageIndex(u"zh"));
  for (const char* none : {"C", "POSIX", "C.UTF-8", "nl_NL.UTF-8", "", "english"}) {
    setenv("LANG", none, 1);
    EXPECT_EQ(UserLocaleLanguage(), 0u) << none;
  }
  unsetenv("LANG");
  EXPECT_EQ(UserLocaleLanguage(), 0u);
}

}  // namespace
}  // namespace vorn
