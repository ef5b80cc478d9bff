// The installer's controls as real windows: one gallery window holding every
// control (saved as controls-gallery.png for a look), and what the controls
// do when used: check boxes, Enter in an edit box, the progress position,
// hyperlink hit testing and navigation, the automatic tooltip.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "application/application_core.h"
#include "ui/installer_controls.h"
#include "ui/main_window.h"
#include "ui/page.h"
#include "ui/page_controls.h"
#include "ui/support/message_box_watcher_win.h"
#include "ui/support/message_pump_win.h"
#include "ui/support/ui_test_environment.h"
#include "ui/tab_control.h"
#include "ui/ui_platform.h"

namespace vorn {
namespace {

const char kGallery[] =
    "<Window ID='Gallery' Type='MainDialogBox' Title='Controls' ClientWidth='560'"
    "        ClientHeight='460' Font='{Message}' BackgroundColor='#FFFFFF' "
    "VerticalGradientColor='#A8C8F0'>\n"
    "  <Picture ID='Logo' Left='8' Top='8' Name='Pictures/Logo.png'/>\n"
    "  <Static ID='Heading' Left='Logo.Right+8' Top='12' Width='300' Font='{Message},Bold'>"
    "Every control of the installer</Static>\n"
    "  <Static ID='TooLong' Left='Heading.Left' Top='Heading.Bottom+4' Width='120'>"
    "This text is much too long for the narrow space it was given</Static>\n"
    "  <Static ID='Fits' Left='TooLong.Right+8' Top='TooLong.Top' Width='150'"
    "          TextColor='#A00000'>Short text</Static>\n"
    "  <Separator ID='Rule' Left='8' Top='Logo.Bottom+8' Width='Parent.Width-16'/>\n"
    "  <GroupBox ID='Options' Left='8' Top='Rule.Bottom+8' Width='250' Height='110'>"
    "Options</GroupBox>\n"
    "  <CheckBox ID='Agree' Left='20' Top='Options.Top+20' Width='200'>I agree</CheckBox>\n"
    "  <CheckBox ID='Shortcut' Left='20' Top='Agree.Bottom+4' Width='200'>"
    "Create a shortcut</CheckBox>\n"
    "  <EditBox ID='Folder' Left='20' Top='Shortcut.Bottom+8' Width='220'"
    "           OnReturn='GoCmd'>C:\\Program Files\\Demo</EditBox>\n"
    "  <Separator ID='Upright' Left='Options.Right+8' Top='Options.Top' Height='110'/>\n"
    "  <Static ID='Done' Left='Upright.Right+8' Top='Options.Top' Width='200'>"
    "Progress at half way:</Static>\n"
    "  <ProgressBar ID='Bar' Left='Done.Left' Top='Done.Bottom+4' Width='200'/>\n"
    "  <ProgressBar ID='Tall' Left='Bar.Right+8' Top='Done.Top' Width='20' Height='100'/>\n"
    "  <URL ID='Site' Left='Done.Left' Top='Bar.Bottom+8' Width='200'"
    "       Address='https://example.org/'>Visit the web site</URL>\n"
    "  <URL ID='Inside' Left='Done.Left' Top='Site.Bottom+4' Width='200'"
    "       Address='Details'>Show the details</URL>\n"
    "  <Static ID='RightText' Left='Done.Left' Top='Inside.Bottom+4' Width='200'"
    "          HorizontalAlign='Right'>Right aligned</Static>\n"
    "  <RichEdit ID='Licence' Left='8' Top='Options.Bottom+8' Width='300' Bottom='BottomRule.Top-8'"
    "            TextMode='HTML' ReadOnly='1'><![CDATA["
    "<p align='center'><b>Licence agreement</b></p>"
    "<p>Read <b>all</b> of it, or see <a href='https://example.org/licence'>the web page</a>.</p>"
    "<ul><li>First point</li><li>Second point</li></ul>]]></RichEdit>\n"
    "  <ComboBox ID='Size' Left='Licence.Right+8' Top='Licence.Top' Width='200'"
    "            Type='Editable' Pictures='Pictures/Strip.png'>"
    "<Item ID='SmallCmd' PictureIndex='0'>Small installation</Item>"
    "<Item ID='FullCmd' PictureIndex='1' Selected='true'>Full installation</Item>"
    "<Item ID='NoneCmd'>Nothing</Item></ComboBox>\n"
    "  <TabCtrl ID='Tabs' Left='Licence.Right+8' Top='Licence.Top+30' Right='Parent.Width-9'"
    "           Bottom='Licence.Bottom' Pictures='Pictures/Strip.png'/>\n"
    "  <Separator ID='BottomRule' Left='8' Top='Parent.Height-40' Width='Parent.Width-16'/>\n"
    "  <Button ID='Back' Left='Parent.Width-190' Top='BottomRule.Bottom+8'>Back</Button>\n"
    "  <Button ID='Next' Left='Back.Right+8' Top='Back.Top' Picture='Pictures/Arrow.png'"
    "          Type='DefaultButton'>Next</Button>\n"
    "  <Button ID='Pinned' Left='8' Top='Back.Top' Type='PushCheckButton'>Pinned</Button>\n"
    "</Window>\n"
    "<DialogBox ID='First' Title='Welcome'><Static ID='FirstText' Left='8' Top='8' Width='150'>"
    "The first page</Static></DialogBox>\n"
    "<DialogBox ID='Second' Title='Licence'><Static ID='SecondText' Left='8' Top='8' Width='150'>"
    "The second page</Static></DialogBox>\n"
    "<DialogBox ID='Third' Title='Options'><CheckBox ID='ThirdCheck' Left='8' Top='8' Width='150'>"
    "The third page</CheckBox></DialogBox>\n";

// The same kinds of controls with Chinese texts, which need a font with
// Chinese glyphs behind the message font.
const char kChineseGallery[] =
    "<Window ID='ChineseGallery' Type='MainDialogBox' Title='\xE6\x8E\xA7\xE4\xBB\xB6'"
    "        ClientWidth='460' ClientHeight='300' Font='{Message}' BackgroundColor='#FFFFFF'"
    "        VerticalGradientColor='#A8C8F0'>\n"
    "  <Static ID='ZhHeading' Left='8' Top='8' Width='300' Font='{Message},Bold'>"
    "\xE5\xAE\x89\xE8\xA3\x85\xE7\xA8\x8B\xE5\xBA\x8F\xE7\x9A\x84\xE6\x89\x80"
    "\xE6\x9C\x89\xE6\x8E\xA7\xE4\xBB\xB6</Static>\n"
    "  <Static ID='ZhLong' Left='8' Top='ZhHeading.Bottom+4' Width='130'>"
    "\xE8\xBF\x99\xE6\xAE\xB5\xE6\x96\x87\xE5\xAD\x97\xE5\xA4\xAA\xE9\x95\xBF"
    "\xE4\xBA\x86\xEF\xBC\x8C\xE6\x94\xBE\xE4\xB8\x8D\xE8\xBF\x9B\xE7\xBB\x99"
    "\xE5\xAE\x83\xE7\x9A\x84\xE7\xAA\x84\xE5\xB0\x8F\xE7\xA9\xBA\xE9\x97\xB4"
    "</Static>\n"
    "  <Static ID='Zhong' Left='ZhLong.Right+8' Top='ZhLong.Top' Width='20'>\xE4\xB8\xAD</Static>\n"
    "  <Static ID='Guo' Left='Zhong.Right+4' Top='ZhLong.Top' Width='20'>\xE5\x9B\xBD</Static>\n"
    "  <Static ID='BoldZhong' Left='Guo.Right+4' Top='ZhLong.Top' Width='20'"
    "          Font='{Message},Bold'>\xE4\xB8\xAD</Static>\n"
    "  <Static ID='BoldGuo' Left='BoldZhong.Right+4' Top='ZhLong.Top' Width='20'"
    "          Font='{Message},Bold'>\xE5\x9B\xBD</Static>\n"
    "  <CheckBox ID='ZhAgree' Left='8' Top='ZhLong.Bottom+8' Width='200'>"
    "\xE6\x88\x91\xE6\x8E\xA5\xE5\x8F\x97\xE8\xAE\xB8\xE5\x8F\xAF\xE5\x8D\x8F"
    "\xE8\xAE\xAE</CheckBox>\n"
    "  <URL ID='ZhSite' Left='ZhAgree.Right+8' Top='ZhAgree.Top+2dlu' Width='150'"
    "       Address='https://example.org/'>\xE8\xAE\xBF\xE9\x97\xAE\xE7\xBD\x91\xE7\xAB\x99"
    "</URL>\n"
    "  <RichEdit ID='ZhLicence' Left='8' Top='ZhAgree.Bottom+8' Width='220'"
    "            Bottom='ZhBack.Top-8' TextMode='HTML' ReadOnly='1'><![CDATA["
    "<p align='center'><b>\xE8\xAE\xB8\xE5\x8F\xAF\xE5\x8D\x8F\xE8\xAE\xAE</b></p>"
    "<p>\xE8\xAF\xB7\xE9\x98\x85\xE8\xAF\xBB<b>\xE5\x85\xA8\xE9\x83\xA8</b>"
    "\xE6\x9D\xA1\xE6\xAC\xBE\xEF\xBC\x8C\xE6\x88\x96\xE6\x9F\xA5\xE7\x9C\x8B"
    "<a href='https://example.org/licence'>\xE7\xBD\x91\xE9\xA1\xB5</a>\xE3\x80\x82</p>"
    "<ul><li>\xE7\xAC\xAC\xE4\xB8\x80\xE6\x9D\xA1</li>"
    "<li>\xE7\xAC\xAC\xE4\xBA\x8C\xE6\x9D\xA1</li></ul>]]></RichEdit>\n"
    "  <ComboBox ID='ZhSize' Left='ZhLicence.Right+8' Top='ZhLicence.Top' Width='200'"
    "            Type='DropDown'>"
    "<Item ID='ZhFullCmd' Selected='true'>\xE5\xAE\x8C\xE5\x85\xA8\xE5\xAE\x89\xE8\xA3\x85"
    "</Item><Item ID='ZhSmallCmd'>\xE6\x9C\x80\xE5\xB0\x8F\xE5\xAE\x89\xE8\xA3\x85</Item>"
    "</ComboBox>\n"
    "  <TabCtrl ID='ZhTabs' Left='ZhSize.Left' Top='ZhSize.Top+30' Right='Parent.Width-9'"
    "           Bottom='ZhLicence.Bottom'/>\n"
    "  <Button ID='ZhBack' Left='Parent.Width-190' Top='Parent.Height-30'>"
    "\xE4\xB8\x8A\xE4\xB8\x80\xE6\xAD\xA5</Button>\n"
    "  <Button ID='ZhNext' Left='ZhBack.Right+8' Top='ZhBack.Top' Type='DefaultButton'>"
    "\xE4\xB8\x8B\xE4\xB8\x80\xE6\xAD\xA5</Button>\n"
    "</Window>\n"
    "<DialogBox ID='ZhWelcome' Title='\xE6\xAC\xA2\xE8\xBF\x8E'>"
    "<Static ID='ZhWelcomeText' Left='8' Top='8' Width='150'>"
    "\xE6\xAC\xA2\xE8\xBF\x8E\xE4\xBD\xBF\xE7\x94\xA8</Static></DialogBox>\n"
    "<DialogBox ID='ZhOptions' Title='\xE9\x80\x89\xE9\xA1\xB9'/>\n";

// A round, soft-edged badge: alpha falls off towards the rim.
test::Bytes BadgePng(uint32_t size, uint8_t red, uint8_t green, uint8_t blue) {
  test::PngImage image;
  image.color_type = 6;
  image.width = size;
  image.height = size;
  const double centre = (size - 1) / 2.0;
  for (uint32_t y = 0; y < size; ++y) {
    for (uint32_t x = 0; x < size; ++x) {
      const double distance = std::hypot(x - centre, y - centre) / centre;
      const double alpha = distance >= 1.0 ? 0.0 : distance < 0.7 ? 1.0 : (1.0 - distance) / 0.3;
      image.rows.push_back(red);
      image.rows.push_back(green);
      image.rows.push_back(blue);
      image.rows.push_back(static_cast<uint8_t>(alpha * 255.0 + 0.5));
    }
  }
  return test::EncodePng(image);
}

// Two 16-pixel squares side by side: red, then green.
test::Bytes StripPng() {
  test::PngImage image;
  image.color_type = 2;
  image.width = 32;
  image.height = 16;
  for (uint32_t y = 0; y < 16; ++y) {
    for (uint32_t x = 0; x < 32; ++x) {
      image.rows.push_back(x < 16 ? 0xD0 : 0x20);
      image.rows.push_back(x < 16 ? 0x30 : 0xA0);
      image.rows.push_back(0x30);
    }
  }
  return test::EncodePng(image);
}

void Pump() {
  test::PumpWindowMessages();
}

class GalleryWindow : public MainWindow {
 public:
  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override {
    commands.push_back(command);
    senders.push_back(sender);
    return true;
  }
  void Navigate(const char16_t* address) noexcept override { navigated = address; }
  std::vector<WindowId> commands;
  std::vector<Window*> senders;
  String navigated;
};

class InstallerControlsWinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {
        sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    ApplicationCore::Get().Description().name = u"VornUiTest";
    ASSERT_EQ(RegisterInstallerControls(), kOk);
    SetUiPlatform(nullptr);
    ASSERT_EQ(gallery_.LoadDescription(u"Gallery"), kOk);
    ASSERT_EQ(gallery_.Create(nullptr), kOk);
    // Pages join a created tab control: the first is shown at once.
    TabControl& tabs = Control<TabControl>(u"Tabs");
    const char16_t* names[] = {u"First", u"Second", u"Third"};
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(pages_[i].LoadDescription(names[i]), kOk);
      pages_[i].SetOwnedByParent(false);
      ASSERT_EQ(tabs.AddPage(&pages_[i], i < 2 ? i : -1), kOk);
    }
    ShowWindow(Handle(gallery_), SW_SHOW);
    Pump();
  }
  void TearDown() override {
    gallery_.Destroy();
    for (Page& page : pages_) page.Attach(nullptr);
  }

  static HWND Handle(const Window& window) { return static_cast<HWND>(window.Handle()); }
  template <typename T>
  T& Control(const char16_t* id) {
    Window* window = gallery_.FindChild(WindowIdOf(id));
    EXPECT_NE(window, nullptr);
    return *static_cast<T*>(window);
  }
  static std::wstring ClassName(const Window& window) {
    wchar_t name[64] = {};
    GetClassNameW(Handle(window), name, 64);
    return name;
  }

  test::UiTestEnvironment environment_{{kGallery},
                                       {{u"Pictures/Logo.png", BadgePng(40, 0x20, 0x60, 0xC0)},
                                        {u"Pictures/Arrow.png", BadgePng(12, 0x10, 0x90, 0x30)},
                                        {u"Pictures/Strip.png", StripPng()}}};
  GalleryWindow gallery_;
  Page pages_[3];
};

TEST_F(InstallerControlsWinTest, GalleryShowsEveryControl) {
  EXPECT_EQ(ClassName(Control<TextControl>(u"Heading")), L"Static");
  EXPECT_EQ(ClassName(Control<Button>(u"Next")), L"Button");
  EXPECT_EQ(ClassName(Control<GroupBox>(u"Options")), L"Button");
  EXPECT_EQ(ClassName(Control<EditBox>(u"Folder")), L"Edit");
  EXPECT_EQ(ClassName(Control<ProgressBar>(u"Bar")), L"msctls_progress32");
  EXPECT_EQ(ClassName(Control<RichEdit>(u"Licence")), L"RichEdit20W");
  EXPECT_EQ(ClassName(Control<ComboBox>(u"Size")), L"ComboBoxEx32");
  // The licence as formatted text: its words, not its markup.
  wchar_t licence[256] = {};
  GetWindowTextW(Handle(Control<RichEdit>(u"Licence")), licence, 256);
  EXPECT_EQ(std::wstring(licence).find(L"<b>"), std::wstring::npos);
  EXPECT_NE(std::wstring(licence).find(L"Licence agreement"), std::wstring::npos);
  // The items in document order, the selected one chosen.
  ComboBox& size = Control<ComboBox>(u"Size");
  EXPECT_EQ(SendMessageW(Handle(size), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(size.Selection(), 1);
  EXPECT_EQ(size.SelectedValue(), WindowIdOf(u"FullCmd"));
  // The picture's size is the control's.
  const PictureControl& logo = Control<PictureControl>(u"Logo");
  RECT rect = {};
  GetClientRect(Handle(logo), &rect);
  EXPECT_EQ(rect.right, 40);
  EXPECT_EQ(rect.bottom, 40);
  // The default button is drawn as one, with its picture.
  EXPECT_NE(GetWindowLongPtrW(Handle(Control<Button>(u"Next")), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  BUTTON_IMAGELIST images = {};
  SendMessageW(Handle(Control<Button>(u"Next")), BCM_GETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(&images));
  EXPECT_NE(images.himl, nullptr);

  Control<ProgressBar>(u"Bar").SetProgress(0.5);
  Control<ProgressBar>(u"Tall").SetProgress(0.25);
  Control<Button>(u"Agree").SetChecked(true);
  Pump();
  UpdateWindow(Handle(gallery_));
  Sleep(200);
  Pump();
  test::SaveScreenshot(Handle(gallery_), "controls-gallery.png");
}

// The columns (or rows) of a captured control that hold a pixel of the kind.
template <typename Kind>
std::vector<int> Marked(const test::ScreenCapture& capture, Kind kind, bool columns) {
  std::vector<int> marked;
  const int lines = columns ? capture.width : capture.height;
  const int across = columns ? capture.height : capture.width;
  for (int line = 0; line < lines; ++line) {
    for (int at = 0; at < across; ++at) {
      if (kind(columns ? capture.At(line, at) : capture.At(at, line))) {
        marked.push_back(line);
        break;
      }
    }
  }
  return marked;
}
template <typename Kind>
std::vector<int> Columns(const test::ScreenCapture& capture, Kind kind) {
  return Marked(capture, kind, true);
}
template <typename Kind>
std::vector<int> Rows(const test::ScreenCapture& capture, Kind kind) {
  return Marked(capture, kind, false);
}
int Red(uint32_t pixel) {
  return (pixel >> 16) & 0xFF;
}
int Green(uint32_t pixel) {
  return (pixel >> 8) & 0xFF;
}
int Blue(uint32_t pixel) {
  return pixel & 0xFF;
}
bool IsBadgeGreen(uint32_t pixel) {
  return Green(pixel) > Red(pixel) + 60 && Green(pixel) > Blue(pixel) + 60;
}
bool IsInk(uint32_t pixel) {
  return Red(pixel) < 110 && Green(pixel) < 110 && Blue(pixel) < 110;
}

void Settle(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  test::PumpWindowMessages();
  UpdateWindow(window);
  Sleep(100);
  test::PumpWindowMessages();
}

TEST_F(InstallerControlsWinTest, ButtonPictureSitsBesideTheTextWithItsAlpha) {
  Settle(Handle(gallery_));
  const test::ScreenCapture next = test::CaptureWindow(Handle(Control<Button>(u"Next")));
  ASSERT_GT(next.width, 0);
  const std::vector<int> badge = Columns(next, IsBadgeGreen);
  const std::vector<int> text = Columns(next, IsInk);
  ASSERT_FALSE(badge.empty());
  ASSERT_FALSE(text.empty());
  // The 12-pixel badge (its soft rim blends into the face), then the word,
  // apart.
  EXPECT_GE(badge.back() - badge.front(), 6);
  EXPECT_LE(badge.back() - badge.front(), 12);
  const int first_letter =
      *std::find_if(text.begin(), text.end(), [&](int x) { return x > badge.back(); });
  EXPECT_GT(first_letter, badge.back() + 1);
  for (int x : text) {
    EXPECT_FALSE(x >= badge.front() && x <= badge.back() && x > 3 && x < next.width - 4)
        << "text drawn over the picture at column " << x;
  }
  // Round, not square: the transparent corners of the badge show the face.
  const std::vector<int> rows = Rows(next, IsBadgeGreen);
  ASSERT_FALSE(rows.empty());
  EXPECT_FALSE(IsBadgeGreen(next.At(badge.front(), rows.front())));
  EXPECT_FALSE(IsBadgeGreen(next.At(badge.back(), rows.back())));
  EXPECT_FALSE(IsInk(next.At(badge.front(), rows.front())));
}

TEST_F(InstallerControlsWinTest, TooLongStaticTextShowsWholeLinesOnly) {
  TextControl& too_long = Control<TextControl>(u"TooLong");
  HWND window = Handle(too_long);
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  RECT client = {};
  GetClientRect(window, &client);
  const int whole_lines = client.bottom / metrics.tmHeight;
  ASSERT_GE(whole_lines, 1);
  // Room for one line and a bit: the bit stays empty.
  ASSERT_GT(client.bottom % metrics.tmHeight, 2);

  for (const char16_t* text : {u"This text is much too long for the narrow space it was given",
                               u"Two lines\nare one too many"}) {
    // Only what the new text itself causes is painted.
    too_long.SetText(text);
    Pump();
    UpdateWindow(window);
    Sleep(100);
    Pump();
    const test::ScreenCapture capture = test::CaptureWindow(window);
    const std::vector<int> rows = Rows(capture, IsInk);
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(rows.back(), whole_lines * metrics.tmHeight);
    // The text goes on: the line ends in an ellipsis, the tooltip has it all.
    EXPECT_EQ(too_long.Tooltip(), too_long.Text());
  }
  // Given the room, both lines show.
  SetWindowPos(window, nullptr, 0, 0, client.right, 2 * metrics.tmHeight + 1,
               SWP_NOMOVE | SWP_NOZORDER);
  Settle(window);
  const std::vector<int> rows = Rows(test::CaptureWindow(window), IsInk);
  ASSERT_FALSE(rows.empty());
  EXPECT_GE(rows.back(), metrics.tmHeight);
}

TEST_F(InstallerControlsWinTest, PagesOnTheTabsShowTheTabBody) {
  TabControl& tabs = Control<TabControl>(u"Tabs");
  HWND tab_window = Handle(tabs);
  HWND page = Handle(pages_[0]);
  Settle(Handle(gallery_));
  // What the tab control looks like on its own, as it paints itself.
  RECT outer = {};
  GetWindowRect(tab_window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(tab_window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
               PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  const auto body = [&](const POINT& screen_point) {
    const COLORREF color =
        GetPixel(memory, screen_point.x - outer.left, screen_point.y - outer.top);
    return static_cast<uint32_t>(GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color));
  };
  // Points of the page, one of them inside its static text past its words.
  RECT page_rect = {}, text_rect = {};
  GetWindowRect(page, &page_rect);
  GetWindowRect(Handle(*pages_[0].FindChild(WindowIdOf(u"FirstText"))), &text_rect);
  const test::ScreenCapture shown = test::CaptureWindow(page);
  const POINT points[] = {{page_rect.left + 4, page_rect.top + 4},
                          {(page_rect.left + page_rect.right) / 2, page_rect.bottom - 6},
                          {text_rect.right - 2, text_rect.top + 2},
                          {page_rect.right - 6, (page_rect.top + page_rect.bottom) / 2}};
  if (tabs.HasThemedBackground()) {
    // The page paints with the tab control's own picture of itself.
    EXPECT_EQ(pages_[0].BackgroundBrush(), tabs.BackgroundBrush());
    for (const POINT& point : points) {
      EXPECT_EQ(shown.At(point.x - page_rect.left, point.y - page_rect.top), body(point))
          << point.x << "," << point.y;
    }
  } else {
    // Without a theme the page shows the window's own background.
    EXPECT_EQ(pages_[0].BackgroundBrush(), gallery_.BackgroundBrush());
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  // A new size gives a new picture and places the page again.
  void* before = tabs.BackgroundBrush();
  SetWindowPos(tab_window, nullptr, 0, 0, width - 20, height - 30, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  if (tabs.HasThemedBackground()) {
    EXPECT_NE(tabs.BackgroundBrush(), before);
  }
  RECT moved = {};
  GetWindowRect(page, &moved);
  EXPECT_LT(moved.right - moved.left, page_rect.right - page_rect.left);
  EXPECT_LT(moved.bottom - moved.top, page_rect.bottom - page_rect.top);
}

TEST_F(InstallerControlsWinTest, TabsShowOnePageAtATimeAndWrapAround) {
  TabControl& tabs = Control<TabControl>(u"Tabs");
  HWND tab_window = Handle(tabs);
  EXPECT_EQ(ClassName(tabs), L"SysTabControl32");
  EXPECT_EQ(SendMessageW(tab_window, TCM_GETITEMCOUNT, 0, 0), 3);
  // The first page added to the created control is selected and shown.
  EXPECT_EQ(tabs.Selected(), 0);
  EXPECT_TRUE(IsWindowVisible(Handle(pages_[0])));
  EXPECT_FALSE(IsWindowVisible(Handle(pages_[1])));
  // The page lies over the display area, as a sibling of the tabs.
  EXPECT_EQ(GetParent(Handle(pages_[0])), Handle(gallery_));
  RECT page_rect = {}, tab_rect = {};
  GetWindowRect(Handle(pages_[0]), &page_rect);
  GetWindowRect(tab_window, &tab_rect);
  EXPECT_GT(page_rect.top, tab_rect.top);
  EXPECT_LE(page_rect.bottom, tab_rect.bottom);

  // Left from the first goes to the last; Right from the last to the first.
  SendMessageW(tab_window, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(tabs.Selected(), 2);
  EXPECT_EQ(SendMessageW(tab_window, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(Handle(pages_[2])));
  EXPECT_FALSE(IsWindowVisible(Handle(pages_[0])));
  EXPECT_FALSE(IsWindowEnabled(Handle(pages_[0])));
  SendMessageW(tab_window, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(tabs.Selected(), 0);
  SendMessageW(tab_window, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(tabs.Selected(), 1);
  EXPECT_TRUE(IsWindowVisible(Handle(pages_[1])));
}

TEST_F(InstallerControlsWinTest, TooLongStaticTextShowsItselfAsTooltip) {
  TextControl& too_long = Control<TextControl>(u"TooLong");
  EXPECT_EQ(too_long.Tooltip(), too_long.Text());
  TextControl& fits = Control<TextControl>(u"Fits");
  EXPECT_TRUE(fits.Tooltip().IsEmpty());
  // A longer text makes it too long; the short one clears the tooltip again.
  fits.SetText(u"Now this text has become far too long to fit in its space");
  EXPECT_EQ(fits.Tooltip(), fits.Text());
  fits.SetText(u"Short");
  EXPECT_TRUE(fits.Tooltip().IsEmpty());
}

TEST_F(InstallerControlsWinTest, ClicksAndEnterSendCommands) {
  Button& agree = Control<Button>(u"Agree");
  EXPECT_FALSE(agree.Checked());
  SendMessageW(Handle(agree), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(agree.Checked());
  ASSERT_FALSE(gallery_.commands.empty());
  EXPECT_EQ(gallery_.commands.back(), WindowIdOf(u"Agree"));

  // Enter in the edit box posts its command with the box as sender; the
  // key goes no further.
  EditBox& folder = Control<EditBox>(u"Folder");
  EXPECT_EQ(folder.CurrentText(), String(u"C:\\Program Files\\Demo"));
  gallery_.commands.clear();
  gallery_.senders.clear();
  PostMessageW(Handle(folder), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  ASSERT_EQ(gallery_.commands.size(), 1u);
  EXPECT_EQ(gallery_.commands[0], WindowIdOf(u"GoCmd"));
  EXPECT_EQ(gallery_.senders[0], &folder);
}

TEST_F(InstallerControlsWinTest, ProgressBarPositionsAndDirection) {
  ProgressBar& bar = Control<ProgressBar>(u"Bar");
  EXPECT_EQ(SendMessageW(Handle(bar), PBM_GETRANGE, FALSE, 0), 16384);
  bar.SetProgress(0.5);
  // Posted, not sent: the bar moves once messages are handled.
  Pump();
  EXPECT_EQ(SendMessageW(Handle(bar), PBM_GETPOS, 0, 0), 8192);
  bar.SetProgress(1.0);
  Pump();
  EXPECT_EQ(SendMessageW(Handle(bar), PBM_GETPOS, 0, 0), 16384);
  EXPECT_EQ(GetWindowLongPtrW(Handle(bar), GWL_STYLE) & PBS_VERTICAL, 0);
  EXPECT_NE(GetWindowLongPtrW(Handle(Control<ProgressBar>(u"Tall")), GWL_STYLE) & PBS_VERTICAL, 0);
}

TEST_F(InstallerControlsWinTest, HyperlinkIsHitOverItsTextOnly) {
  Hyperlink& site = Control<Hyperlink>(u"Site");
  HWND link = Handle(site);
  // Drawn in the message font, underlined.
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_TRUE(font.lfUnderline);
  RECT rect = {};
  GetWindowRect(link, &rect);
  const LPARAM on_text = MAKELPARAM(rect.left + 3, rect.top + 3);
  const LPARAM past_text = MAKELPARAM(rect.right - 2, rect.top + 3);
  EXPECT_EQ(SendMessageW(link, WM_NCHITTEST, 0, on_text), HTCLIENT);
  EXPECT_EQ(SendMessageW(link, WM_NCHITTEST, 0, past_text), HTTRANSPARENT);

  // A relative address is navigated inside the program.
  SendMessageW(Handle(Control<Hyperlink>(u"Inside")), WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(gallery_.navigated, String(u"Details"));
}

TEST(ChineseControlsWinTest, ChineseTextsShowRealGlyphs) {
  test::UiTestEnvironment environment{{kChineseGallery}};
  ApplicationCore::Get().Description().name = u"VornUiTest";
  ASSERT_EQ(RegisterInstallerControls(), kOk);
  SetUiPlatform(nullptr);
  GalleryWindow gallery;
  ASSERT_EQ(gallery.LoadDescription(u"ChineseGallery"), kOk);
  ASSERT_EQ(gallery.Create(nullptr), kOk);
  Page pages[2];
  const char16_t* names[] = {u"ZhWelcome", u"ZhOptions"};
  TabControl& tabs = *static_cast<TabControl*>(gallery.FindChild(WindowIdOf(u"ZhTabs")));
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(pages[i].LoadDescription(names[i]), kOk);
    pages[i].SetOwnedByParent(false);
    ASSERT_EQ(tabs.AddPage(&pages[i], -1), kOk);
  }
  HWND window = static_cast<HWND>(gallery.Handle());
  ShowWindow(window, SW_SHOW);
  Settle(window);

  // Two different characters look different: without a font that has them
  // both would be the same empty box.
  const auto ink = [&](const char16_t* id) {
    const test::ScreenCapture capture =
        test::CaptureWindow(static_cast<HWND>(gallery.FindChild(WindowIdOf(id))->Handle()));
    std::vector<bool> marks;
    for (uint32_t pixel : capture.pixels) marks.push_back(IsInk(pixel));
    return marks;
  };
  for (const auto& pair : {std::pair{u"Zhong", u"Guo"}, std::pair{u"BoldZhong", u"BoldGuo"}}) {
    const std::vector<bool> zhong = ink(pair.first);
    const std::vector<bool> guo = ink(pair.second);
    ASSERT_EQ(zhong.size(), guo.size());
    EXPECT_NE(std::count(zhong.begin(), zhong.end(), true), 0);
    EXPECT_NE(zhong, guo) << test::Utf8(String(pair.first));
  }
  // The licence's Chinese words are the control's text.
  wchar_t licence[128] = {};
  GetWindowTextW(static_cast<HWND>(gallery.FindChild(WindowIdOf(u"ZhLicence"))->Handle()), licence,
                 128);
  EXPECT_NE(std::wstring(licence).find(L"\u8BB8\u53EF\u534F\u8BAE"), std::wstring::npos);
  test::SaveScreenshot(window, "controls-gallery-zh.png");
  gallery.Destroy();
  for (Page& page : pages) page.Attach(nullptr);
}

}  // namespace
}  // namespace vorn
