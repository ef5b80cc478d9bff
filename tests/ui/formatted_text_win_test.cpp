// Formatted text in a real rich-edit control: the text, bold and link
// runs and paragraph formats read back from the control, a screenshot, and
// a text that is not well-formed leaving the control as it was.
#include <windows.h>
// The system headers below need windows.h first.
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "ui/formatted_text.h"
#include "ui/support/message_box_watcher_win.h"

namespace vorn {
namespace {

constexpr char16_t kLicence[] =
    u"<p align=\"center\"><b>LICENCE AGREEMENT</b></p>"
    u"<p>Please read these terms. Questions go to "
    u"<a href=\"support@example.com\">our support</a>.</p>"
    u"<ul><li>You may <b>install</b> the product.</li><li>You may not resell it.</li></ul>"
    u"<p>Press <a href=\"cmd:InstallCmd\">Install</a> to accept.</p>";

class RichEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wchar_t path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    ASSERT_GT(length, 0u);
    lstrcpyW(path + length, L"\\riched20.dll");
    ASSERT_NE(LoadLibraryW(path), nullptr);
  }

  void SetUp() override {
    control_ = CreateWindowExW(0, L"RichEdit20W", L"",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 20, 20,
                               480, 260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control_, nullptr);
  }
  void TearDown() override { DestroyWindow(control_); }

  std::wstring ControlText() {
    GETTEXTLENGTHEX length = {GTL_DEFAULT, 1200};
    const LRESULT units =
        SendMessageW(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::wstring text(static_cast<size_t>(units) + 1, L'\0');
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    SendMessageW(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
  }

  DWORD EffectsAt(uint32_t position) {
    SendMessageW(control_, EM_SETSEL, position, position + 1);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    SendMessageW(control_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.dwEffects & (CFE_BOLD | CFE_LINK);
  }

  PARAFORMAT2 ParagraphAt(uint32_t position) {
    SendMessageW(control_, EM_SETSEL, position, position);
    PARAFORMAT2 format = {};
    format.cbSize = sizeof format;
    SendMessageW(control_, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
  }

  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  HWND control_ = nullptr;
};

TEST_F(RichEditTest, LicenceTextShowsWithItsFormats) {
  FormattedText text;
  ASSERT_EQ(text.Parse(kLicence), kOk);
  ASSERT_EQ(ShowFormattedText(control_, text), kOk);

  std::wstring expected;
  for (uint32_t i = 0; i < text.Text().Length(); ++i) {
    expected += text.Text()[i] == u'\n' ? L'\r' : static_cast<wchar_t>(text.Text()[i]);
  }
  EXPECT_EQ(ControlText(), expected);

  const std::wstring shown = ControlText();
  const auto at = [&](const wchar_t* part) { return static_cast<uint32_t>(shown.find(part)); };
  EXPECT_EQ(EffectsAt(at(L"LICENCE")), static_cast<DWORD>(CFE_BOLD));
  EXPECT_EQ(EffectsAt(at(L"AGREEMENT") + 8), static_cast<DWORD>(CFE_BOLD));
  EXPECT_EQ(EffectsAt(at(L"Please")), 0u);
  EXPECT_EQ(EffectsAt(at(L"our support")), static_cast<DWORD>(CFE_LINK));
  EXPECT_EQ(EffectsAt(at(L"install")), static_cast<DWORD>(CFE_BOLD));
  EXPECT_EQ(EffectsAt(at(L"Install")), static_cast<DWORD>(CFE_LINK));

  const PARAFORMAT2 title = ParagraphAt(at(L"LICENCE"));
  EXPECT_EQ(title.wAlignment, PFA_CENTER);
  EXPECT_EQ(title.dySpaceAfter, 128);
  EXPECT_EQ(title.wNumbering, 0);
  const PARAFORMAT2 item = ParagraphAt(at(L"You may install"));
  EXPECT_EQ(item.wAlignment, PFA_LEFT);
  EXPECT_EQ(item.wNumbering, PFN_BULLET);
  EXPECT_EQ(item.dySpaceAfter, 32);
  EXPECT_EQ(item.dxOffset, 128);
  const PARAFORMAT2 last_item = ParagraphAt(at(L"resell"));
  EXPECT_EQ(last_item.wNumbering, PFN_BULLET);
  EXPECT_EQ(last_item.dySpaceAfter, 128);
  const PARAFORMAT2 after = ParagraphAt(at(L"Press"));
  EXPECT_EQ(after.wNumbering, 0);
  EXPECT_EQ(after.wAlignment, PFA_LEFT);

  // The selection ends cleared at the start.
  DWORD start = 1, end = 1;
  SendMessageW(control_, EM_SETSEL, 0, 0);
  SendMessageW(control_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  Pump();
  Sleep(300);
  Pump();
  test::SaveScreenshot(control_, "rich-edit-licence.png");
}

TEST_F(RichEditTest, TextThatIsNotWellFormedLeavesTheControlAsItWas) {
  FormattedText text;
  ASSERT_EQ(text.Parse(u"<b>Kept</b> text"), kOk);
  ASSERT_EQ(ShowFormattedText(control_, text), kOk);
  // The caller shows a text only when it converted: the control keeps the
  // last one.
  if (text.Parse(u"<p>broken") == kOk) ShowFormattedText(control_, text);
  EXPECT_EQ(ControlText(), L"Kept text");
  EXPECT_EQ(EffectsAt(0), static_cast<DWORD>(CFE_BOLD));
  EXPECT_EQ(EffectsAt(5), 0u);
  EXPECT_EQ(ShowFormattedText(nullptr, text), kInvalidHandle);
}

TEST_F(RichEditTest, HundredThousandNestedElementsShowWithoutExhaustingTheStack) {
  constexpr int kDeep = 100000;
  std::u16string markup;
  for (int i = 0; i < kDeep; ++i) markup += i % 2 == 0 ? u"<b>" : u"<p>";
  markup += u"deep";
  std::u16string closed = markup;
  for (int i = kDeep - 1; i >= 0; --i) closed += i % 2 == 0 ? u"</b>" : u"</p>";
  FormattedText text;
  ASSERT_EQ(text.Parse(closed.c_str()), kOk);
  ASSERT_EQ(ShowFormattedText(control_, text), kOk);
  const std::wstring shown = ControlText();
  const size_t at = shown.find(L"deep");
  ASSERT_NE(at, std::wstring::npos);
  EXPECT_EQ(EffectsAt(static_cast<uint32_t>(at)), static_cast<DWORD>(CFE_BOLD));
  // Left open, the same depth is refused and the control keeps its text.
  EXPECT_NE(text.Parse(markup.c_str()), kOk);
  EXPECT_EQ(ControlText(), shown);
}

}  // namespace
}  // namespace vorn
