// Real windows built from descriptions under Windows: geometry read back
// from the platform, commands, dialog keys, modal dialogs, quiet mode.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "application/application_core.h"
#include "ui/support/message_pump_win.h"
#include "ui/dialog_box.h"
#include "ui/main_window.h"
#include "ui/page.h"
#include "ui/support/ui_test_environment.h"
#include "ui/tooltip_control.h"
#include "ui/ui_platform.h"
#include "ui/window.h"
#include "ui/window_registry.h"

namespace vorn {
namespace {

const char kDescriptions[] =
    "<ShortcutKeys ID='TestKeys'><Command ID='HelpCmd' Keys='F1'/>"
    "  <Command ID='SaveCmd' Keys='Ctrl+S'/></ShortcutKeys>\n"
    "<Window ID='TestMain' Type='MainDialogBox' Title='Toolkit test' ClientWidth='420'"
    "        ClientHeight='300' ShortcutKeys='TestKeys'>\n"
    "  <Static ID='Header' Left='0' Top='0' Width='Parent.Width' Height='48'"
    "          BackgroundColor='White'>\n"
    "    <Static ID='Logo' Left='8' Top='Parent.Height*.5-12' Width='24' Height='24'"
    "            BackgroundColor='#36C' Tooltip='The logo'/>\n"
    "    <Static ID='Caption' Left='Logo.Right+8' Top='Logo.Top' Right='Parent.Width-9'"
    "            Height='Logo.Height' BackgroundColor='LightYellow'/>\n"
    "  </Static>\n"
    "  <Static ID='Line' Left='0' Top='Header.Bottom+1' Width='Parent.Width' Height='2'"
    "          BackgroundColor='Gray'/>\n"
    "</Window>\n"
    "<DialogBox ID='TestPage' Left='0' Top='Header.Bottom+4' Width='Parent.Width'"
    "           Bottom='Parent.Height-1' BackgroundColor='LightGray'>\n"
    "  <Static ID='Box' Left='10dlu' Top='10dlu' Width='Parent.Width-20dlu' Height='20dlu'"
    "          BackgroundColor='Orange'/>\n"
    "  <Button ID='InstallCmd' Left='Box.Left' Top='Box.Bottom+8' Width='60' Height='24'"
    "          BackgroundColor='Green'/>\n"
    "  <Button ID='Cancel' Left='InstallCmd.Right+8' Top='InstallCmd.Top' Width='60'"
    "          Height='24' BackgroundColor='Red'/>\n"
    "</DialogBox>\n"
    "<DialogBox ID='Question' Type='Popup' Title='Question' ClientWidth='200' ClientHeight='80'>\n"
    "  <Button ID='OK' Left='8' Top='8' Width='50' Height='20'/>\n"
    "</DialogBox>\n"
    "<DialogBox ID='Stubborn' Type='SimplePopup' Title='Stubborn' ClientWidth='200'"
    "           ClientHeight='80'/>\n";

void Pump() { test::PumpWindowMessages(); }

class RecordingMain : public MainWindow {
 public:
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override {
    commands.push_back(command);
    codes.push_back(code);
    senders.push_back(sender);
    return true;
  }
  std::vector<WindowId> commands;
  std::vector<uint32_t> codes;
  std::vector<Window*> senders;
};

class RecordingPage : public Page {
 public:
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override {
    if (command != WindowIdOf(u"InstallCmd")) return Page::OnCommand(command, code, sender);
    ++installs;
    return true;
  }
  int installs = 0;
};

class WindowWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationCore::Get().Description().name = u"VornUiTest";
    ApplicationCore::Get().SetQuiet(false);
  }
  void TearDown() override { ApplicationCore::Get().SetQuiet(false); }

  // The window's rectangle as its parent sees it, and its client size.
  static WindowRects Real(const Window& window) {
    WindowRects rects;
    EXPECT_TRUE(SystemUiPlatform().ReadWindowRects(window.Handle(), rects));
    return rects;
  }
  static void ExpectMatchesLayout(const Window& window) {
    const WindowRects real = Real(window);
    EXPECT_EQ(real.left, window.Value(Edge::kLeft));
    EXPECT_EQ(real.top, window.Value(Edge::kTop));
    EXPECT_EQ(real.width, window.Value(Edge::kWidth));
    EXPECT_EQ(real.height, window.Value(Edge::kHeight));
    EXPECT_EQ(real.client_width, window.Value(Edge::kClientWidth));
    EXPECT_EQ(real.client_height, window.Value(Edge::kClientHeight));
    EXPECT_EQ(window.Value(Edge::kRight), real.left + real.width - 1);
    EXPECT_EQ(window.Value(Edge::kBottom), real.top + real.height - 1);
  }

  test::UiTestEnvironment environment_{{kDescriptions}};
};

TEST_F(WindowWinTest, DescriptionBuildsRealWindowsWithTheLaidOutGeometry) {
  // The layout uses the real frames, not the test platform's.
  SetUiPlatform(nullptr);
  RecordingMain main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  RecordingPage page;
  ASSERT_EQ(page.LoadDescription(u"TestPage"), kOk);
  page.SetOwnedByParent(false);
  page.Attach(&main);
  ASSERT_EQ(main.Create(nullptr), kOk);
  // Pages start hidden; the page flow shows them.
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(page.Handle())));
  page.Show(true);
  ShowWindow(static_cast<HWND>(main.Handle()), SW_SHOW);
  Pump();
  EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(page.Handle())));

  HWND handle = static_cast<HWND>(main.Handle());
  wchar_t class_name[64] = {};
  GetClassNameW(handle, class_name, 64);
  EXPECT_EQ(std::wstring(class_name), L"VornUiTest::Window");
  wchar_t title[64] = {};
  GetWindowTextW(handle, title, 64);
  EXPECT_EQ(std::wstring(title), L"Toolkit test");
  RECT client{};
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right, 420);
  EXPECT_EQ(client.bottom, 300);
  ExpectMatchesLayout(main);

  Window* header = main.FindChild(WindowIdOf(u"Header"));
  Window* logo = main.FindChild(WindowIdOf(u"Logo"));
  Window* caption = main.FindChild(WindowIdOf(u"Caption"));
  Window* line = main.FindChild(WindowIdOf(u"Line"));
  ASSERT_TRUE(header && logo && caption && line);
  for (Window* window : {header, logo, caption, line, static_cast<Window*>(&page)}) {
    ASSERT_TRUE(window->Exists());
    ExpectMatchesLayout(*window);
  }
  EXPECT_EQ(Real(*header).width, 420);
  EXPECT_EQ(Real(*logo).top, 12);
  EXPECT_EQ(Real(*caption).left, 8 + 24 - 1 + 8);
  EXPECT_EQ(Real(*caption).width, 420 - 9 - caption->Value(Edge::kLeft) + 1);
  EXPECT_EQ(Real(*line).top, 48);
  EXPECT_EQ(Real(page).top, 51);
  EXPECT_EQ(Real(page).height, 300 - 51);
  // Children of the page measure dialog units with the page's font.
  Window* box = page.FindChild(WindowIdOf(u"Box"));
  ASSERT_NE(box, nullptr);
  const DialogBaseUnits units = page.BaseUnits();
  EXPECT_EQ(Real(*box).left, DialogUnitsToPixels(10, units.horizontal, true));
  EXPECT_EQ(Real(*box).width, 420 + DialogUnitsToPixels(-20, units.horizontal, true));
  ExpectMatchesLayout(*box);
  // Every child window carries its WindowId as its control identifier.
  EXPECT_EQ(GetDlgCtrlID(static_cast<HWND>(box->Handle())), WindowIdOf(u"Box"));

  // Resizing the main window moves the windows that depend on it.
  SetWindowPos(handle, nullptr, 0, 0, main.Value(Edge::kWidth) + 100,
               main.Value(Edge::kHeight) + 50, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(Real(*header).width, 520);
  EXPECT_EQ(Real(page).height, 350 - 51);
  ExpectMatchesLayout(*caption);

  if (const char* shot = getenv("VORN_UI_SCREENSHOT_PAUSE")) Sleep(atoi(shot));

  // The logo's tooltip: a tooltip control owned by the header, which answers
  // the control's text request with the logo's current tooltip.
  TooltipControl* tooltips = header->Tooltips();
  ASSERT_NE(tooltips, nullptr);
  ASSERT_TRUE(tooltips->Exists());
  wchar_t tooltip_class[64] = {};
  GetClassNameW(static_cast<HWND>(tooltips->Handle()), tooltip_class, 64);
  EXPECT_EQ(std::wstring(tooltip_class), L"tooltips_class32");
  // A popup is owned by the top-level window of the parent it was given.
  EXPECT_EQ(GetWindow(static_cast<HWND>(tooltips->Handle()), GW_OWNER), main.Handle());
  EXPECT_EQ(SendMessageW(static_cast<HWND>(tooltips->Handle()), TTM_GETTOOLCOUNT, 0, 0), 1);
  logo->SetTooltip(u"Changed");
  NMTTDISPINFOW request{};
  request.hdr.hwndFrom = static_cast<HWND>(tooltips->Handle());
  request.hdr.idFrom = reinterpret_cast<UINT_PTR>(logo->Handle());
  request.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(static_cast<HWND>(header->Handle()), WM_NOTIFY, 0,
               reinterpret_cast<LPARAM>(&request));
  ASSERT_NE(request.lpszText, nullptr);
  EXPECT_EQ(std::wstring(request.lpszText), L"Changed");

  // Commands: a child's click and a shortcut-like command reach handlers.
  Window* install = page.FindChild(WindowIdOf(u"InstallCmd"));
  ASSERT_NE(install, nullptr);
  SendMessageW(static_cast<HWND>(page.Handle()), WM_COMMAND,
               MAKEWPARAM(WindowIdOf(u"InstallCmd"), 0),
               reinterpret_cast<LPARAM>(install->Handle()));
  EXPECT_EQ(page.installs, 1);
  PostMessageW(handle, WM_COMMAND, MAKEWPARAM(WindowIdOf(u"QuitCmd"), 1), 0);
  Pump();
  ASSERT_EQ(main.commands.size(), 1u);
  EXPECT_EQ(main.commands[0], WindowIdOf(u"QuitCmd"));
  // An unhandled command of a page travels on to its parent.
  SendMessageW(static_cast<HWND>(page.Handle()), WM_COMMAND, MAKEWPARAM(WindowIdOf(u"HelpCmd"), 0),
               reinterpret_cast<LPARAM>(install->Handle()));
  ASSERT_EQ(main.commands.size(), 2u);
  EXPECT_EQ(main.senders[1], install);

  // The shortcut table turns F1 into HelpCmd with code 1; not while the
  // window is disabled. (Keys pressed inside a page are the page's: its
  // dialog navigation takes them before the walk reaches the main window.)
  MSG f1{handle, WM_KEYDOWN, VK_F1, 0};
  EXPECT_TRUE(PreTranslateWindowMessage(&f1));
  ASSERT_EQ(main.commands.size(), 3u);
  EXPECT_EQ(main.commands[2], WindowIdOf(u"HelpCmd"));
  EXPECT_EQ(main.codes[2], 1u);
  EnableWindow(handle, FALSE);
  MSG again{handle, WM_KEYDOWN, VK_F1, 0};
  PreTranslateWindowMessage(&again);
  EXPECT_EQ(main.commands.size(), 3u);
  EnableWindow(handle, TRUE);

  const uint32_t before = WindowRegistry::Count();
  EXPECT_GE(before, 8u);
  main.Destroy();
  EXPECT_FALSE(main.Exists());
  EXPECT_FALSE(page.Exists());
  EXPECT_FALSE(box->Exists());
  EXPECT_EQ(WindowRegistry::Count(), 0u);
  page.Attach(nullptr);
  // An object outlives its platform window and can be created again.
  ASSERT_EQ(main.Create(nullptr), kOk);
  EXPECT_EQ(main.Create(nullptr), kAlreadyExists);
  main.Destroy();
}

TEST_F(WindowWinTest, EnterAndEscapeFollowTheDialogRules) {
  SetUiPlatform(nullptr);
  MainWindow main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  ASSERT_EQ(main.Create(nullptr), kOk);
  {
    // The page has a Cancel button: Escape ends it with "Cancel".
    Page page;
    ASSERT_EQ(page.LoadDescription(u"TestPage"), kOk);
    page.Attach(&main);
    ASSERT_EQ(page.Create(nullptr), kOk);
    MSG escape{static_cast<HWND>(page.Handle()), WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(PreTranslateWindowMessage(&escape));
    Pump();
    EXPECT_TRUE(page.IsEnded());
    EXPECT_EQ(page.DialogResult(), kCancelId);
    EXPECT_FALSE(page.Exists());  // modeless: ending destroys it
    page.Attach(nullptr);
  }
  {
    // No OK or Cancel and no close item: Enter and Escape do nothing, the
    // close request neither.
    DialogBox stubborn;
    ASSERT_EQ(stubborn.LoadDescription(u"Stubborn"), kOk);
    ASSERT_EQ(stubborn.Create(&main), kOk);
    HWND handle = static_cast<HWND>(stubborn.Handle());
    MSG enter{handle, WM_KEYDOWN, VK_RETURN, 0};
    MSG escape{handle, WM_KEYDOWN, VK_ESCAPE, 0};
    PreTranslateWindowMessage(&enter);
    PreTranslateWindowMessage(&escape);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(stubborn.IsEnded());
    EXPECT_TRUE(stubborn.Exists());
    // Command 1 with code 0 is OK in every dialog, but WantOK decides.
    stubborn.SetWantOK(WantSetting::kTrue);
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    EXPECT_TRUE(stubborn.IsEnded());
    EXPECT_EQ(stubborn.DialogResult(), kOkId);
    EXPECT_FALSE(stubborn.Exists());
  }
  {
    // A default button answers the platform's question, so Enter presses it.
    DialogBox question;
    ASSERT_EQ(question.LoadDescription(u"Question"), kOk);
    question.SetDefaultButton(WindowIdOf(u"OK"));
    ASSERT_EQ(question.Create(&main), kOk);
    const LRESULT answer = SendMessageW(static_cast<HWND>(question.Handle()), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(answer), DC_HASDEFID);
    EXPECT_EQ(LOWORD(answer), WindowIdOf(u"OK"));
    MSG enter{static_cast<HWND>(question.Handle()), WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(PreTranslateWindowMessage(&enter));
    Pump();
    EXPECT_TRUE(question.IsEnded());
    EXPECT_EQ(question.DialogResult(), kOkId);
  }
  main.Destroy();
}

// A dialog that answers itself once it exists.
class SelfAnsweringDialog : public DialogBox {
 public:
  explicit SelfAnsweringDialog(UINT key) : key_(key) {}
  int accepted = 0;

 protected:
  Result OnCreated() noexcept override {
    PostMessageW(static_cast<HWND>(Handle()), WM_KEYDOWN, key_, 0);
    return kOk;
  }
  void OnAccepted() noexcept override { ++accepted; }

 private:
  UINT key_;
};

TEST_F(WindowWinTest, ModalDialogsReturnTheirResult) {
  SetUiPlatform(nullptr);
  MainWindow main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  ASSERT_EQ(main.Create(nullptr), kOk);
  SelfAnsweringDialog yes(VK_RETURN);
  ASSERT_EQ(yes.LoadDescription(u"Question"), kOk);
  EXPECT_EQ(yes.RunModal(&main), kOkId);
  EXPECT_EQ(yes.accepted, 1);
  EXPECT_FALSE(yes.Exists());
  EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(main.Handle())));
  SelfAnsweringDialog no(VK_ESCAPE);
  ASSERT_EQ(no.LoadDescription(u"Question"), kOk);
  EXPECT_EQ(no.RunModal(&main), kCancelId);
  EXPECT_EQ(no.accepted, 0);
  main.Destroy();
}

TEST_F(WindowWinTest, TransparentPagesPaintWithTheirOwnersBrush) {
  SetUiPlatform(nullptr);
  MainWindow main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  ASSERT_EQ(main.Create(nullptr), kOk);
  ShowWindow(static_cast<HWND>(main.Handle()), SW_SHOW);
  Window* header = main.FindChild(WindowIdOf(u"Header"));
  ASSERT_NE(header, nullptr);
  Page page;
  page.SetConstant(static_cast<uint32_t>(Edge::kLeft), 100);
  page.SetConstant(static_cast<uint32_t>(Edge::kTop), 100);
  page.SetConstant(static_cast<uint32_t>(Edge::kWidth), 80);
  page.SetConstant(static_cast<uint32_t>(Edge::kHeight), 40);
  page.SetOwner(header);
  page.Attach(&main);
  ASSERT_EQ(page.Create(nullptr), kOk);
  page.Show(true);
  UpdateWindow(static_cast<HWND>(main.Handle()));
  Pump();
  // The header is white; the main window's own face is not.
  EXPECT_EQ(page.BackgroundBrush(), header->BackgroundBrush());
  HDC context = GetDC(static_cast<HWND>(page.Handle()));
  RedrawWindow(static_cast<HWND>(page.Handle()), nullptr, nullptr,
               RDW_ERASE | RDW_INVALIDATE | RDW_ERASENOW | RDW_UPDATENOW);
  EXPECT_EQ(GetPixel(context, 10, 10), RGB(255, 255, 255));
  ReleaseDC(static_cast<HWND>(page.Handle()), context);
  // Without an owner the page leaves its area to the window behind it.
  page.SetOwner(nullptr);
  EXPECT_NE(page.BackgroundBrush(), header->BackgroundBrush());
  main.Destroy();
  page.Attach(nullptr);
}

TEST_F(WindowWinTest, QuietModeShowsNothing) {
  SetUiPlatform(nullptr);
  ApplicationCore::Get().SetQuiet(true);
  MainWindow main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  main.SetStyle(main.Style() | kStyleVisible);
  ASSERT_EQ(main.Create(nullptr), kOk);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(main.Handle())));
  main.Show(true);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(main.Handle())));
  Window* header = main.FindChild(WindowIdOf(u"Header"));
  EXPECT_EQ(GetWindowLongW(static_cast<HWND>(header->Handle()), GWL_STYLE) & WS_VISIBLE, 0);
  main.Destroy();
}

TEST_F(WindowWinTest, RefusedCreationsGiveTheirCodes) {
  SetUiPlatform(nullptr);
  // A child without a parent window: the platform refuses it.
  Window orphan;
  EXPECT_EQ(orphan.Create(nullptr), kFailed);
  EXPECT_FALSE(orphan.Exists());
  EXPECT_EQ(WindowRegistry::Count(), 0u);
  // Children nested deeper than the platform allows fail the creation
  // instead of crashing, and leave nothing behind (not even the popup
  // tooltip control of a child created before the failure).
  MainWindow main;
  ASSERT_EQ(main.LoadDescription(u"TestMain"), kOk);
  Window* at = &main;
  for (int i = 0; i < 150; ++i) {
    Window* child = new Window();
    child->SetOwnedByParent(true);
    child->Attach(at);
    at = child;
  }
  const Result result = main.Create(nullptr);
  if (result == kOk) {
    main.Destroy();
  } else {
    EXPECT_EQ(result, kFailed);
    EXPECT_FALSE(main.Exists());
  }
  EXPECT_EQ(WindowRegistry::Count(), 0u);
}

}  // namespace
}  // namespace vorn
