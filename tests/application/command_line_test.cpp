#include "application/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "application/support/test_text.h"

namespace vorn {
namespace {

using testing::Text;

TEST(CommandLineTest, ProgramPathIsNeverRecorded) {
  CommandLine line;
  line.Parse(u"\"C:\\Program Files\\Vorn\\setup.exe\"");
  EXPECT_EQ(line.TokenCount(), 0u);
  line.Parse(u"   setup.exe   ");
  EXPECT_EQ(line.TokenCount(), 0u);
  line.Parse(nullptr);
  EXPECT_EQ(line.TokenCount(), 0u);
}

TEST(CommandLineTest, SwitchWithEqualsOrColonGivesNameAndValue) {
  CommandLine line;
  line.Parse(u"setup.exe /Language=fr -Language:it /Quiet");
  ASSERT_EQ(line.TokenCount(), 3u);
  EXPECT_TRUE(line.Token(0).is_switch);
  EXPECT_EQ(Text(line.Token(0).switch_name), u"Language");
  EXPECT_EQ(Text(line.Token(0).switch_value), u"fr");
  EXPECT_EQ(Text(line.Token(1).switch_name), u"Language");
  EXPECT_EQ(Text(line.Token(1).switch_value), u"it");
  EXPECT_EQ(Text(line.Token(2).switch_name), u"Quiet");
  EXPECT_EQ(Text(line.Token(2).switch_value), u"");
  EXPECT_EQ(Text(line.Token(0).raw), u"/Language=fr");
}

TEST(CommandLineTest, EqualsWinsOverAnEarlierColon) {
  CommandLine line;
  line.Parse(u"p /Folder:x=C:\\Temp");
  ASSERT_EQ(line.TokenCount(), 1u);
  EXPECT_EQ(Text(line.Token(0).switch_name), u"Folder:x");
  EXPECT_EQ(Text(line.Token(0).switch_value), u"C:\\Temp");
}

TEST(CommandLineTest, QuotedValuesLoseTheirQuotes) {
  CommandLine line;
  line.Parse(u"p /Folder=\"C:\\My Files\\Vorn\" /Empty=\"\" /Lone=\"");
  ASSERT_EQ(line.TokenCount(), 3u);
  EXPECT_EQ(Text(line.Token(0).switch_value), u"C:\\My Files\\Vorn");
  EXPECT_EQ(Text(line.Token(1).switch_value), u"");
  EXPECT_EQ(Text(line.Token(2).switch_value), u"");
}

TEST(CommandLineTest, UnbalancedQuoteInAValueRunsToTheEnd) {
  // The open quote swallows the blanks after it: the rest of the line is
  // one token, whose value keeps everything after the quote.
  CommandLine line;
  line.Parse(u"p /Language=\"fr /Quiet other.txt");
  ASSERT_EQ(line.TokenCount(), 1u);
  EXPECT_EQ(Text(line.Token(0).switch_name), u"Language");
  EXPECT_EQ(Text(line.Token(0).switch_value), u"fr /Quiet other.txt");
  EXPECT_FALSE(line.HasSwitch(u"Quiet"));
}

TEST(CommandLineTest, QuotedPathWithBlanksIsOneFile) {
  CommandLine line;
  line.Parse(u"p \"C:\\My Documents\\report one.txt\" plain.txt \"  padded  \"");
  ASSERT_EQ(line.TokenCount(), 3u);
  EXPECT_FALSE(line.Token(0).is_switch);
  EXPECT_EQ(Text(line.Token(0).file), u"C:\\My Documents\\report one.txt");
  EXPECT_EQ(Text(line.Token(1).file), u"plain.txt");
  EXPECT_EQ(Text(line.Token(2).file), u"padded");
}

TEST(CommandLineTest, LoneSlashIsSwitchWithEmptyName) {
  CommandLine line;
  line.Parse(u"p / -");
  ASSERT_EQ(line.TokenCount(), 2u);
  EXPECT_TRUE(line.Token(0).is_switch);
  EXPECT_EQ(Text(line.Token(0).switch_name), u"");
  EXPECT_TRUE(line.Token(1).is_switch);
  EXPECT_EQ(line.FindSwitch(u""), &line.Token(0));
}

TEST(CommandLineTest, BlanksOfEveryKindSeparateTokens) {
  CommandLine line;
  line.Parse(
      u"p\u00A0a\u2028b\u0085c\td\x01"
      u"e");
  ASSERT_EQ(line.TokenCount(), 5u);
  EXPECT_EQ(Text(line.Token(4).file), u"e");
}

TEST(CommandLineTest, LookupIgnoresCaseFindsFirstAndMarksUsed) {
  CommandLine line;
  line.Parse(u"p /UNINSTALL file.txt -uninstall=2 /Update");
  const CommandLineToken* found = line.FindSwitch(u"Uninstall");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, &line.Token(0));
  EXPECT_TRUE(line.Token(0).used);
  EXPECT_FALSE(line.Token(2).used);
  EXPECT_FALSE(line.Token(3).used);
  EXPECT_TRUE(line.HasSwitch(u"update"));
  EXPECT_TRUE(line.Token(3).used);
  EXPECT_FALSE(line.HasSwitch(u"Install"));
  EXPECT_FALSE(line.HasSwitch(nullptr));
}

TEST(CommandLineTest, FilesNeverMatchASwitchLookup) {
  CommandLine line;
  line.Parse(u"p Quiet");
  EXPECT_FALSE(line.HasSwitch(u"Quiet"));
  EXPECT_FALSE(line.Token(0).used);
}

TEST(CommandLineTest, TakeFilesCollectsFilesInOrderAndMarksThem) {
  CommandLine line;
  line.Parse(u"p a.txt /Quiet \"b c.txt\" -x=1 d.txt");
  String files[CommandLine::kMaxTokens];
  ASSERT_EQ(line.TakeFiles(files), 3u);
  EXPECT_EQ(Text(files[0]), u"a.txt");
  EXPECT_EQ(Text(files[1]), u"b c.txt");
  EXPECT_EQ(Text(files[2]), u"d.txt");
  EXPECT_TRUE(line.Token(0).used);
  EXPECT_FALSE(line.Token(1).used);
  EXPECT_TRUE(line.Token(4).used);
}

TEST(CommandLineTest, TenThousandTokensRecordOnlyTheFirst32) {
  std::u16string text = u"program.exe";
  for (int i = 0; i < 10000; ++i) {
    text += u" /S";
    for (char c : std::to_string(i)) text += static_cast<char16_t>(c);
  }
  CommandLine line;
  line.Parse(text.c_str());
  ASSERT_EQ(line.TokenCount(), CommandLine::kMaxTokens);
  EXPECT_EQ(Text(line.Token(0).switch_name), u"S0");
  EXPECT_EQ(Text(line.Token(31).switch_name), u"S31");
  EXPECT_TRUE(line.HasSwitch(u"S31"));
  EXPECT_FALSE(line.HasSwitch(u"S32"));
  String files[CommandLine::kMaxTokens];
  EXPECT_EQ(line.TakeFiles(files), 0u);
}

TEST(CommandLineTest, ParsingAgainReplacesTheTable) {
  CommandLine line;
  line.Parse(u"p a b c");
  line.Parse(u"p /x");
  ASSERT_EQ(line.TokenCount(), 1u);
  EXPECT_TRUE(line.Token(0).is_switch);
  EXPECT_FALSE(line.Token(0).used);
}

}  // namespace
}  // namespace vorn
