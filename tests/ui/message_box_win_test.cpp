// Real message boxes under Windows: the framework's boxes and one with every
// part are shown through the task dialog and through the plain fallback; a
// watcher thread finds each box, reads its texts back through the window
// tree, saves a screenshot and presses a button.
#include <windows.h>
// The system headers below need windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "application/application_core.h"
#include "foundation/format.h"
#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/support/test_package.h"
#include "ui/message_box.h"
#include "ui/support/message_box_fixture.h"
#include "ui/support/message_box_watcher_win.h"

namespace vorn {
namespace {

using test::FindBox;
using test::Search;
using test::Watch;
using test::WatchBox;

std::wstring WithoutMnemonics(const String& text) {
  std::wstring out;
  for (uint32_t i = 0; i < text.Length(); ++i) {
    if (text[i] != u'&') out += static_cast<wchar_t>(text[i]);
  }
  return out;
}

constexpr char kDialogs[] =
    "<Resources>\n"
    "  <MessageBox ID=\"Everything\" Type=\"Information\" Title=\"Details\">"
    "    <Header>Header of {0}</Header>"
    "    <Body>Read <a href=\"https://example.com/notes\">the notes</a> first.</Body>"
    "    <Details>Details of {0}</Details>"
    "    <Footer Icon=\"Warning\">Footer text</Footer>"
    "    <OK>Go on</OK><Cancel DefaultButton=\"true\">Stop</Cancel></MessageBox>\n"
    "</Resources>\n";

class MessageBoxWinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // As the framework's entry does: the common controls its manifest asks
    // for are the ones loaded.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    resources_.AddSourceFile(u"Data/Xml/VornLib-Resources.xml", "Data/Xml/VornLib-Resources.xml");
    resources_.AddSourceFile(u"Data/Xml/VornLib-Strings-en.xml", "Data/Xml/VornLib-Strings-en.xml");
    resources_.AddSourceFile(u"Data/Xml/VornLib-Strings-fr.xml", "Data/Xml/VornLib-Strings-fr.xml");
    resources_.AddSourceFile(u"Data/Xml/VornLib-Strings-zh.xml", "Data/Xml/VornLib-Strings-zh.xml");
    resources_.Add(u"Data/Xml/Dialogs.xml", kDialogs);
    resources_.Mount();
    for (const char16_t* path :
         {u"Data/Xml/VornLib-Resources.xml", u"Data/Xml/Dialogs.xml",
          u"Data/Xml/VornLib-Strings-en.xml", u"Data/Xml/VornLib-Strings-fr.xml",
          u"Data/Xml/VornLib-Strings-zh.xml"}) {
      ASSERT_EQ(resources_.Manager().RegisterDocument(path), kOk);
    }
    owner_.application_name = u"Vorn Demo";
  }

  // Shows the box while a watcher reads it and presses `press`.
  uint32_t ShowAndPress(MessageBoxDisplay& display, const char16_t* name, int press,
                        const std::string& screenshot, Watch& watch) {
    watch.press = press;
    watch.screenshot = screenshot;
    HANDLE thread = CreateThread(nullptr, 0, WatchBox, &watch, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    const uint32_t answer =
        ShowMessageBox(resources_.Manager(), display, owner_, name, String(u"Vorn Demo"));
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return answer;
  }

  test::TestResources resources_;
  MessageBoxOwner owner_;
};

TEST_F(MessageBoxWinTest, FrameworkBoxesThroughTheTaskDialogAndThePlainBox) {
  struct Case {
    const char16_t* name;
    const char* key;
    bool asks;
  };
  const Case cases[] = {{u"CancelConfirmation", "CancelConfirmation", true},
                        {u"CloseBeforeUninstall", "CloseBeforeUninstall", false},
                        {u"NotInstalled", "NotInstalled", false},
                        {u"UninstallConfirmation", "UninstallConfirmation", true},
                        {u"UninstallSucceed", "UninstallSucceed", false}};
  // Chinese shows that the boxes find glyphs for it (screenshots).
  for (const char* language : {"en", "fr", "zh"}) {
    resources_.language.index = LanguageIndex(std::u16string(language, language + 2).c_str());
    for (const Case& c : cases) {
      const std::string label = std::string(c.key) + "-" + language;
      String expected_text;
      {
        const std::u16string key = u"#" + std::u16string(c.key, c.key + strlen(c.key));
        String templ;
        LocalizeText(resources_.Manager(), key.c_str(), templ);
        String argument(u"Vorn Demo");
        expected_text = Format(templ.Text(), FormatArg(argument));
      }
      // Task dialog: the custom buttons carry 4096 + their index.
      Watch task;
      const int task_press = c.asks ? 4096 + kMessageBoxNo : 4096 + kMessageBoxOK;
      EXPECT_EQ(ShowAndPress(SystemMessageBoxDisplay(), c.name, task_press,
                             "message-box-task-" + label + ".png", task),
                c.asks ? kMessageBoxNo : kMessageBoxOK)
          << label;
      ASSERT_TRUE(task.found) << label;
      EXPECT_EQ(task.caption, L"Vorn Demo") << label;
      EXPECT_NE(task.texts.find(WithoutMnemonics(expected_text)), std::wstring::npos)
          << label << ": " << std::string(task.texts.begin(), task.texts.end());
      EXPECT_EQ(task.button_ids.size(), c.asks ? 2u : 1u) << label;
      // Without an owner window (the uninstallation has none), in the
      // middle of the screen.
      EXPECT_TRUE(task.centered) << label;

      // Plain box: the platform's own buttons, the text as composed.
      Watch plain;
      EXPECT_EQ(ShowAndPress(PlainMessageBoxDisplay(), c.name, c.asks ? IDYES : IDOK,
                             "message-box-plain-" + label + ".png", plain),
                c.asks ? kMessageBoxYes : kMessageBoxOK)
          << label;
      ASSERT_TRUE(plain.found) << label;
      EXPECT_EQ(plain.caption, L"Vorn Demo") << label;
      EXPECT_NE(plain.texts.find(WithoutMnemonics(expected_text)), std::wstring::npos) << label;
      EXPECT_TRUE(plain.centered) << label;
      if (c.asks) {
        EXPECT_EQ(plain.button_ids, (std::vector<int>{IDYES, IDNO})) << label;
      }
    }
  }
}

TEST_F(MessageBoxWinTest, EveryPartLinksAndTheDefaultButtonOnScreen) {
  Watch task;
  EXPECT_EQ(ShowAndPress(SystemMessageBoxDisplay(), u"Everything", 4096 + kMessageBoxCancel,
                         "message-box-task-Everything.png", task),
            kMessageBoxCancel);
  ASSERT_TRUE(task.found);
  EXPECT_EQ(task.caption, L"Vorn Demo - Details");
  for (const wchar_t* part : {L"Header of Vorn Demo", L"Footer text", L"Go on", L"Stop"}) {
    EXPECT_NE(task.texts.find(part), std::wstring::npos) << std::string(part, part + wcslen(part));
  }

  // The plain box: parts two line feeds apart, the link as its target, and
  // Cancel (the marked default) answered by Escape's identifier.
  Watch plain;
  EXPECT_EQ(ShowAndPress(PlainMessageBoxDisplay(), u"Everything", IDCANCEL,
                         "message-box-plain-Everything.png", plain),
            kMessageBoxCancel);
  ASSERT_TRUE(plain.found);
  EXPECT_NE(plain.texts.find(L"Header of Vorn Demo\n\nRead https://example.com/notes first.\n\n"
                             L"Details of Vorn Demo\n\nFooter text"),
            std::wstring::npos)
      << std::string(plain.texts.begin(), plain.texts.end());
}

TEST_F(MessageBoxWinTest, QuietApplicationShowsNothingAndAnswersFive) {
  ApplicationCore& core = ApplicationCore::Get();
  const bool was_quiet = core.Quiet();
  core.SetQuiet(true);
  // Were a box shown, nobody would answer it and the test would hang.
  EXPECT_EQ(ShowMessageBox(u"NotInstalled", String(u"Vorn Demo")), kMessageBoxRefused);
  Search search;
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(search.box, nullptr);
  core.SetQuiet(was_quiet);
}

}  // namespace
}  // namespace vorn
