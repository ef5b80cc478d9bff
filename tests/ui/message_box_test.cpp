#include "ui/message_box.h"

#include <gtest/gtest.h>

#include "resources/resource_manager.h"
#include "resources/support/test_package.h"
#include "ui/support/message_box_fixture.h"

namespace vorn {
namespace {

using test::Utf8;

constexpr char kDialogs[] =
    "<Resources>\n"
    "  <MessageBox ID=\"OkOnly\" Type=\"Simple\"><OK>#OKButton</OK>"
    "    <Body>Saved.</Body></MessageBox>\n"
    "  <MessageBox ID=\"AskNo\" Type=\"Warning\" Title=\"#Confirm\">"
    "    <Message>Remove {0}?</Message>"
    "    <Yes>#YesButton</Yes><No DefaultButton=\"true\">#NoButton</No></MessageBox>\n"
    "  <MessageBox ID=\"OkAndYes\" Type=\"Information\"><OK>OK</OK><Yes>Yes</Yes></MessageBox>\n"
    "  <MessageBox ID=\"NoButtons\" Type=\"Information\"><Body>Nothing to press</Body>"
    "  </MessageBox>\n"
    "  <MessageBox ID=\"EmptyButton\" Type=\"Error\"><OK/><Cancel>Cancel</Cancel></MessageBox>\n"
    "  <MessageBox ID=\"NoType\"><OK>OK</OK></MessageBox>\n"
    "  <MessageBox ID=\"BadType\" Type=\"Question\"><OK>OK</OK></MessageBox>\n"
    "  <MessageBox ID=\"FourParts\" Type=\"Error\" CommandLinks=\"true\">"
    "    <Message FooterIcon=\"Warning\">Head {0}\xC2\xA4"
    "Body {0}\xC2\xA4"
    "Details\xC2\xA4"
    "Foot {0}</Message>"
    "    <Retry>Try again</Retry><Cancel>Stop</Cancel></MessageBox>\n"
    "  <MessageBox ID=\"Parts\" Type=\"Information\">"
    "    <Header>Header</Header><Details>More about {0}</Details>"
    "    <Body>See <a href=\"https://example.com/help\">the help</a> for {0}.</Body>"
    "    <Footer Icon=\"Error\">Footer {0}</Footer>"
    "    <Ignore>Ignore</Ignore><Abort>Abort</Abort><Retry DefaultButton=\"1\">Retry</Retry>"
    "    <Unknown>ignored</Unknown></MessageBox>\n"
    "  <MessageBox ID=\"Icons\" Type=\"Information\">"
    "    <Footer Icon=\"Error\">f</Footer><Message FooterIcon=\"Loud\">m</Message>"
    "    <OK>OK</OK><Cancel>Cancel</Cancel></MessageBox>\n"
    "</Resources>\n";

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resources_.Add(u"Data/Xml/Dialogs.xml", kDialogs);
    resources_.Add(u"Data/Xml/Strings-en.xml",
                   test::StringFile("en", {{"OKButton", "OK"},
                                           {"YesButton", "&amp;Yes"},
                                           {"NoButton", "&amp;No"},
                                           {"Confirm", "Confirmation"}}));
    resources_.Mount();
    ASSERT_EQ(resources_.Manager().RegisterDocument(u"Data/Xml/Dialogs.xml"), kOk);
    ASSERT_EQ(resources_.Manager().RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
    owner_.application_name = u"Demo";
  }

  uint32_t Show(const char16_t* name, const char16_t* argument = u"Demo") {
    return ShowMessageBox(resources_.Manager(), display_, owner_, name, String(argument));
  }

  test::TestResources resources_;
  test::RecordingDisplay display_;
  MessageBoxOwner owner_;
};

TEST_F(MessageBoxTest, OkOnlyBoxShowsOneButtonAndAnswersOk) {
  display_.task_answer = kMessageBoxFirstButtonId + kMessageBoxOK;
  EXPECT_EQ(Show(u"OkOnly"), kMessageBoxOK);
  ASSERT_EQ(display_.task_calls, 1);
  const MessageBoxRequest& box = display_.last;
  EXPECT_EQ(box.type, MessageBoxType::kSimple);
  EXPECT_EQ(box.button_set, MessageBoxButtonSet::kOK);
  ASSERT_EQ(box.button_count, 1u);
  EXPECT_EQ(box.buttons[0].id, 4098);
  EXPECT_EQ(Utf8(box.buttons[0].label), "OK");
  EXPECT_EQ(box.default_id, 4098);
  EXPECT_TRUE(box.cancellable);
  EXPECT_EQ(Utf8(box.caption), "Demo");
  EXPECT_EQ(Utf8(box.body), "Saved.");
  EXPECT_EQ(display_.last_owner, nullptr);
  // The platform's own OK (Escape on a cancellable box) is OK as well.
  display_.task_answer = kPlatformAnswerOK;
  EXPECT_EQ(Show(u"OkOnly"), kMessageBoxOK);
}

TEST_F(MessageBoxTest, MarkedDefaultTitleCaptionAndLocalizedLabels) {
  int owner_window = 0;
  owner_.window = &owner_window;
  display_.task_answer = kMessageBoxFirstButtonId + kMessageBoxNo;
  EXPECT_EQ(Show(u"AskNo", u"Demo 1.0"), kMessageBoxNo);
  const MessageBoxRequest& box = display_.last;
  EXPECT_EQ(display_.last_owner, &owner_window);
  EXPECT_EQ(Utf8(box.caption), "Main Window - Confirmation");
  EXPECT_EQ(box.button_set, MessageBoxButtonSet::kYesNo);
  ASSERT_EQ(box.button_count, 2u);
  EXPECT_EQ(Utf8(box.buttons[0].label), "&Yes");
  EXPECT_EQ(box.buttons[0].id, 4096);
  EXPECT_EQ(Utf8(box.buttons[1].label), "&No");
  EXPECT_EQ(box.default_id, 4097);
  EXPECT_EQ(box.default_position, 1u);
  EXPECT_FALSE(box.cancellable);
  EXPECT_EQ(box.type, MessageBoxType::kWarning);
  EXPECT_EQ(Utf8(box.header), "Remove Demo 1.0?");
  EXPECT_TRUE(box.body.IsEmpty() && box.details.IsEmpty() && box.footer.IsEmpty());
  display_.task_answer = kMessageBoxFirstButtonId + kMessageBoxYes;
  EXPECT_EQ(Show(u"AskNo"), kMessageBoxYes);
  // An owner without a title: the application's name starts the caption.
  display_.title = String();
  Show(u"AskNo");
  EXPECT_EQ(Utf8(display_.last.caption), "Demo - Confirmation");
}

TEST_F(MessageBoxTest, InvalidDescriptionsAnswerFiveWithoutShowingAnything) {
  for (const char16_t* name :
       {u"OkAndYes", u"NoButtons", u"EmptyButton", u"NoType", u"BadType", u"Missing"}) {
    EXPECT_EQ(Show(name), kMessageBoxRefused) << Utf8(String(name));
  }
  EXPECT_EQ(display_.task_calls + display_.plain_calls, 0);
  // Quiet: not even a valid box is shown.
  owner_.quiet = true;
  EXPECT_EQ(Show(u"OkOnly"), kMessageBoxRefused);
  EXPECT_EQ(display_.task_calls + display_.plain_calls, 0);
}

TEST_F(MessageBoxTest, MessageSplitsIntoFourPartsEachFormattedWithTheArgument) {
  display_.task_answer = kMessageBoxFirstButtonId + kMessageBoxRetry;
  EXPECT_EQ(Show(u"FourParts", u"A\u00A4B"), kMessageBoxRetry);
  const MessageBoxRequest& box = display_.last;
  // The argument's own U+00A4 stays inside the part it was put in.
  EXPECT_EQ(Utf8(box.header),
            "Head A\xC2\xA4"
            "B");
  EXPECT_EQ(Utf8(box.body),
            "Body A\xC2\xA4"
            "B");
  EXPECT_EQ(Utf8(box.details), "Details");
  EXPECT_EQ(Utf8(box.footer),
            "Foot A\xC2\xA4"
            "B");
  EXPECT_EQ(box.footer_icon, MessageBoxType::kWarning);
  EXPECT_TRUE(box.command_links);
  EXPECT_EQ(box.button_set, MessageBoxButtonSet::kRetryCancel);
  EXPECT_EQ(box.buttons[0].index, kMessageBoxRetry);
  EXPECT_EQ(box.buttons[1].index, kMessageBoxCancel);
  EXPECT_EQ(box.default_id, 4100);
  EXPECT_TRUE(box.cancellable);
  // The dialog closed by Escape answers the platform's cancel.
  display_.task_answer = kPlatformAnswerCancel;
  EXPECT_EQ(Show(u"FourParts"), kMessageBoxCancel);
}

TEST_F(MessageBoxTest, FallbackShowsThePartsWithLinkTargets) {
  display_.task_result = kNotSupported;
  display_.plain_answer = kPlatformAnswerIgnore;
  EXPECT_EQ(Show(u"Parts"), kMessageBoxIgnore);
  EXPECT_EQ(display_.plain_calls, 1);
  const MessageBoxRequest& box = display_.last;
  // The task dialog keeps the link as markup, the plain box shows its target.
  EXPECT_EQ(Utf8(box.body), "See <a href=\"https://example.com/help\">the help</a> for Demo.");
  EXPECT_EQ(Utf8(box.plain_text),
            "Header\n\nSee https://example.com/help for Demo.\n\nMore about Demo\n\n"
            "Footer Demo");
  EXPECT_EQ(box.footer_icon, MessageBoxType::kError);
  // Abort, Retry, Ignore in the platform's order; Retry marked default.
  EXPECT_EQ(box.button_set, MessageBoxButtonSet::kAbortRetryIgnore);
  EXPECT_EQ(box.buttons[0].index, kMessageBoxAbort);
  EXPECT_EQ(box.buttons[1].index, kMessageBoxRetry);
  EXPECT_EQ(box.buttons[2].index, kMessageBoxIgnore);
  EXPECT_EQ(box.default_position, 1u);
  EXPECT_FALSE(box.cancellable);
  // Abort answers like a refusal; so does a failing plain box.
  display_.plain_answer = kPlatformAnswerAbort;
  EXPECT_EQ(Show(u"Parts"), kMessageBoxRefused);
  display_.plain_result = kFailed;
  display_.plain_answer = kPlatformAnswerYes;
  EXPECT_EQ(Show(u"Parts"), kMessageBoxRefused);
}

TEST_F(MessageBoxTest, FailingTaskDialogAnswersFiveWithoutFallingBack) {
  display_.task_result = kFailed;
  display_.task_answer = kMessageBoxFirstButtonId + kMessageBoxOK;
  EXPECT_EQ(Show(u"OkOnly"), kMessageBoxRefused);
  EXPECT_EQ(display_.plain_calls, 0);
}

TEST_F(MessageBoxTest, UnknownFooterIconLeavesTheEarlierOne) {
  display_.task_answer = 0;
  EXPECT_EQ(Show(u"Icons"), kMessageBoxRefused);  // an answer of no button
  EXPECT_EQ(display_.last.footer_icon, MessageBoxType::kError);
  EXPECT_EQ(Utf8(display_.last.header), "m");
}

TEST(MessageBoxAnswers, PlatformAnswersMapToButtonIndexes) {
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerOK), kMessageBoxOK);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerCancel), kMessageBoxCancel);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerRetry), kMessageBoxRetry);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerIgnore), kMessageBoxIgnore);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerYes), kMessageBoxYes);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerNo), kMessageBoxNo);
  EXPECT_EQ(PlainMessageBoxAnswer(kPlatformAnswerAbort), kMessageBoxRefused);
  EXPECT_EQ(PlainMessageBoxAnswer(0), kMessageBoxRefused);
  // Only the request's own custom buttons count as custom answers.
  MessageBoxRequest request;
  request.button_count = 1;
  request.buttons[0] = {kMessageBoxFirstButtonId + kMessageBoxOK, kMessageBoxOK, String()};
  EXPECT_EQ(TaskDialogAnswer(request, 4098), kMessageBoxOK);
  EXPECT_EQ(TaskDialogAnswer(request, 4096), kMessageBoxRefused);
}

TEST(MessageBoxLinks, EveryLinkBecomesItsTargetAndBrokenMarkupLosesNoText) {
  auto replace = [](const char16_t* text) { return Utf8(ReplaceLinksByTargets(String(text))); };
  EXPECT_EQ(replace(u"<a href=\"a\">x</a> and <a href=\"mailto:b@c\">mail</a>!"),
            "a and mailto:b@c!");
  EXPECT_EQ(replace(u"no links <b>here</b>"), "no links <b>here</b>");
  EXPECT_EQ(replace(u"cut <a href=\"target"), "cut target");
  EXPECT_EQ(replace(u"cut <a href=\"target\" title"), "cut target");
  EXPECT_EQ(replace(u"open <a href=\"t\">text and more"), "open ttext and more");
  EXPECT_EQ(replace(u""), "");
}

}  // namespace
}  // namespace vorn
