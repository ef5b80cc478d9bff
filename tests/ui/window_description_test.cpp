// Reading window descriptions into window objects: the attribute table, the
// window-type table, the children, the placement and the failures.
#include <gtest/gtest.h>

#include <string>

#include "ui/dialog_box.h"
#include "ui/page.h"
#include "ui/shortcut_table.h"
#include "ui/support/ui_test_environment.h"
#include "ui/tooltip_control.h"
#include "ui/window.h"
#include "ui/window_types.h"

namespace vorn {
namespace {

const char kDescriptions[] =
    "<String ID='Greeting' Language='en'>Hello</String>\n"
    "<Window ID='Main' Type='MainWindow' Title='#Greeting' Font='{Caption},Bold'"
    "        Border='ClientEdge' AcceptFiles='1' Enabled='false' CloseButton='true'"
    "        MouseCursor='{Hand}' Redraw='Vertical' EnableFocus='0' DoubleBuffered='TRUE'>\n"
    "  <Static ID='A' Tooltip='first'/>\n"
    "  <Button ID='OK'/>\n"
    "  <Window ID='Inner'><Static ID='Deep'/><Static ID='A'/></Window>\n"
    "  <StatusBar ID='Status'/>\n"
    "</Window>\n"
    "<Window ID='BadChild'><Static ID='Before'/><Blink/><Static ID='After'/></Window>\n"
    "<Window ID='BadBorder' Title='kept' Border='Dotted' Visible='false'/>\n"
    "<Window ID='BadColour' BackgroundColor='#12345' Visible='false'/>\n"
    "<Window ID='BadType' Type='Sideways'/>\n"
    "<Window ID='BadCursor' MouseCursor='{Arrow}'/>\n"
    "<Window ID='BadRedraw' Redraw='Diagonal'/>\n"
    "<Window ID='Keys' ShortcutKeys='Main'/>\n"
    "<Window ID='BadKeys' ShortcutKeys='Broken'/>\n"
    "<ShortcutKeys ID='Main'><Command ID='SaveCmd' Keys='Ctrl+S'/>"
    "<Command ID='HelpCmd' Keys='F1'/><Command ID='QuitCmd' Keys='Ctrl+Alt+Shift+ESCAPE'/>"
    "</ShortcutKeys>\n"
    "<ShortcutKeys ID='Broken'><Command ID='X' Keys='Ctrl+Q'/></ShortcutKeys>\n"
    "<Window ID='Placed' Position='Placed' Width='300'/>\n"
    "<DialogBox ID='Ask' Type='Popup' WantOK='false' WantCancel='true'/>\n"
    "<DialogBox ID='Plain'/>\n";

class WindowDescriptionTest : public ::testing::Test {
 protected:
  test::UiTestEnvironment environment_{{kDescriptions}};
};

TEST_F(WindowDescriptionTest, AttributeTableEffects) {
  Window window;
  ASSERT_EQ(window.LoadDescription(u"Main"), kOk);
  EXPECT_EQ(window.Id(), WindowIdOf(u"Main"));
  EXPECT_TRUE(window.IsMainWindowType());
  EXPECT_EQ(window.ExStyle() & kExStyleAppWindow, kExStyleAppWindow);
  // MainWindow's style, then Border (which clears the border half of the
  // caption bits), then Enabled.
  EXPECT_EQ(window.Style(), (0x06CF0000u & ~kStyleBorder) | kStyleDisabled);
  EXPECT_EQ(window.ExStyle(), kExStyleAppWindow | kExStyleClientEdge | kExStyleAcceptFiles);
  EXPECT_EQ(test::Utf8(window.Title()), "Hello");
  EXPECT_TRUE(window.BackgroundColor().IsTransparent());
  ASSERT_NE(window.Font(), nullptr);
  EXPECT_EQ(window.Font()->base, FontBase::kCaption);
  EXPECT_TRUE(window.Font()->bold);
  EXPECT_TRUE(window.CloseDisabled());
  EXPECT_TRUE(window.HandCursor());
  EXPECT_EQ(window.HorizontalRedraw(), 0);
  EXPECT_EQ(window.VerticalRedraw(), -1);
  EXPECT_TRUE(window.EraseOnRedraw());
  EXPECT_FALSE(window.FocusAllowed());
  EXPECT_TRUE(window.DoubleBuffered());
  // The platform chooses the main window's place.
  EXPECT_EQ(window.Constraint(Edge::kLeft).offset_pixels, kUseDefault);
  EXPECT_TRUE(window.Constraint(Edge::kLeft).creation_only);
}

TEST_F(WindowDescriptionTest, ChildrenStatusBarFirstAndFinding) {
  Window window;
  ASSERT_EQ(window.LoadDescription(u"Main"), kOk);
  ASSERT_EQ(window.ChildCount(), 4u);
  Window* first = window.FirstChild();
  EXPECT_EQ(first->Id(), WindowIdOf(u"Status"));
  EXPECT_EQ(first->ClassCode(), static_cast<uint32_t>(kWindowClassStatusBar));
  EXPECT_EQ(first->NextSibling()->Id(), WindowIdOf(u"A"));
  EXPECT_EQ(first->NextSibling()->NextSibling()->Id(), kOkId);
  for (Window* child = window.FirstChild(); child; child = child->NextSibling()) {
    EXPECT_TRUE(child->CreatedFromDescription());
    EXPECT_TRUE(child->OwnedByParent());
    EXPECT_EQ(child->Parent(), &window);
  }
  // A direct child comes before a deeper window with the same identifier.
  Window* a = window.FindChild(WindowIdOf(u"A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Parent(), &window);
  EXPECT_EQ(test::Utf8(a->Tooltip()), "first");
  ASSERT_NE(window.Tooltips(), nullptr);
  EXPECT_TRUE(window.Tooltips()->HasTool(a));
  EXPECT_EQ(test::Utf8(window.ChildTooltip(WindowIdOf(u"A"))), "first");
  Window* deep = window.FindChild(WindowIdOf(u"Deep"));
  ASSERT_NE(deep, nullptr);
  EXPECT_EQ(deep->Parent()->Id(), WindowIdOf(u"Inner"));
  EXPECT_EQ(window.FindChild(WindowIdOf(u"Deep"), kWindowClassStatic), deep);
  EXPECT_EQ(window.FindChild(WindowIdOf(u"Deep"), kWindowClassButton), nullptr);
  EXPECT_EQ(window.FindChild(WindowIdOf(u"Nowhere")), nullptr);
  // An empty tooltip takes the window off its parent's tooltip control.
  a->SetTooltip(String());
  EXPECT_FALSE(window.Tooltips()->HasTool(a));
}

TEST_F(WindowDescriptionTest, FailuresStopTheReadingAndKeepWhatWasRead) {
  Window bad_child;
  EXPECT_EQ(bad_child.LoadDescription(u"BadChild"), kWrongType);
  ASSERT_EQ(bad_child.ChildCount(), 1u);
  EXPECT_EQ(bad_child.FirstChild()->Id(), WindowIdOf(u"Before"));

  Window bad_border;
  EXPECT_EQ(bad_border.LoadDescription(u"BadBorder"), kInvalidArgument);
  EXPECT_EQ(test::Utf8(bad_border.Title()), "kept");
  // Visible comes after Border: never read.
  EXPECT_NE(bad_border.Style() & kStyleVisible, 0u);

  Window bad_colour;
  EXPECT_EQ(bad_colour.LoadDescription(u"BadColour"), kInvalidContent);
  EXPECT_EQ(bad_colour.BackgroundColor().rgba, 0xFF000000u);
  EXPECT_NE(bad_colour.Style() & kStyleVisible, 0u);

  Window other;
  EXPECT_EQ(other.LoadDescription(u"BadType"), kInvalidArgument);
  EXPECT_EQ(other.LoadDescription(u"BadCursor"), kInvalidArgument);
  EXPECT_EQ(other.LoadDescription(u"BadRedraw"), kInvalidArgument);
  EXPECT_EQ(other.LoadDescription(u"Missing"), kNullInput);
  EXPECT_EQ(other.ReadDescription(nullptr), kNullInput);
  // A "DialogBox" description is not found as a "Window".
  EXPECT_EQ(other.LoadDescription(u"Ask"), kNullInput);
}

TEST_F(WindowDescriptionTest, ShortcutTables) {
  Window window;
  ASSERT_EQ(window.LoadDescription(u"Keys"), kOk);
  ASSERT_NE(window.Shortcuts(), nullptr);
  const ShortcutTable& table = *window.Shortcuts();
  ASSERT_EQ(table.Count(), 3u);
  EXPECT_EQ(table.At(0).command, WindowIdOf(u"SaveCmd"));
  EXPECT_EQ(table.At(0).key, 0x53);
  EXPECT_EQ(table.At(0).modifiers, Shortcut::kVirtualKey | Shortcut::kControl);
  EXPECT_EQ(table.At(1).key, 0x70);
  EXPECT_EQ(table.At(2).key, 0x1B);
  EXPECT_EQ(table.At(2).modifiers,
            Shortcut::kVirtualKey | Shortcut::kControl | Shortcut::kAlt | Shortcut::kShift);

  Window bad;
  EXPECT_EQ(bad.LoadDescription(u"BadKeys"), kInvalidContent);
  EXPECT_EQ(bad.Shortcuts(), nullptr);

  ShortcutTable direct;
  for (const char* xml : {"<ShortcutKeys><Command ID='A'/></ShortcutKeys>",
                          "<ShortcutKeys><Command Keys='F1'/></ShortcutKeys>",
                          "<ShortcutKeys><Key ID='A' Keys='F1'/></ShortcutKeys>",
                          "<ShortcutKeys><Command ID='A' Keys='f1'/></ShortcutKeys>",
                          "<ShortcutKeys><Command ID='A' Keys='Ctrl+F20'/></ShortcutKeys>"}) {
    test::ParsedElement element(xml);
    EXPECT_EQ(direct.Read(element.Get()), kInvalidContent) << xml;
    EXPECT_EQ(direct.Count(), 0u);
  }
  Shortcut shortcut;
  EXPECT_EQ(ParseShortcutKeys(u"Shift+F19", shortcut), kOk);
  EXPECT_EQ(shortcut.key, 0x82);
}

TEST_F(WindowDescriptionTest, PlacementIsLoadedFromThePreferences) {
  ASSERT_EQ(environment_.Prefs().SetInt(u"/User/Local/Placed/Top", 120), kOk);
  ASSERT_EQ(environment_.Prefs().SetInt(u"/User/Local/Placed/Left", 40), kOk);
  ASSERT_EQ(environment_.Prefs().SetInt(u"/User/Local/Placed/Width", 500), kOk);
  ASSERT_EQ(environment_.Prefs().SetBool(u"/User/Local/Placed/Maximized", true), kOk);
  Window window;
  ASSERT_EQ(window.LoadDescription(u"Placed"), kOk);
  EXPECT_TRUE(window.StartMaximized());
  EXPECT_EQ(test::Utf8(window.PositionKey()), "/User/Local/Placed");
  window.Layout();
  EXPECT_EQ(window.Value(Edge::kTop), 120);
  EXPECT_EQ(window.Value(Edge::kLeft), 40);
  // The description's own Width is read after the placement and wins.
  EXPECT_EQ(window.Value(Edge::kWidth), 300);
}

TEST_F(WindowDescriptionTest, DialogBoxTypesAndDefaults) {
  DialogBox ask;
  ASSERT_EQ(ask.LoadDescription(u"Ask"), kOk);
  EXPECT_EQ(ask.Style(), 0x96C800CCu);
  EXPECT_EQ(ask.ExStyle(), 0x00000101u);
  EXPECT_EQ(ask.BackgroundColor().system_index, 15);
  EXPECT_EQ(ask.WantOK(), WantSetting::kFalse);
  EXPECT_EQ(ask.WantCancel(), WantSetting::kTrue);
  ask.Layout();
  EXPECT_EQ(ask.Value(Edge::kWidth), 128);
  // The test platform frames captioned windows with 8 pixels a side.
  EXPECT_EQ(ask.Value(Edge::kClientWidth), 112);
  DialogBox plain;
  ASSERT_EQ(plain.LoadDescription(u"Plain"), kOk);
  EXPECT_TRUE(plain.IsDialog());
  EXPECT_EQ(plain.ExStyle() & kExStyleControlParent, kExStyleControlParent);
  EXPECT_EQ(test::Utf8(plain.Title()), "");
  Page page;
  EXPECT_EQ(page.ClassCode(), static_cast<uint32_t>(kWindowClassPage));
  EXPECT_EQ(page.Style(), 0x4400004Cu);
  EXPECT_TRUE(page.BackgroundColor().IsTransparent());
  EXPECT_EQ(page.ReadType(u"popup"), kInvalidArgument);
}

TEST_F(WindowDescriptionTest, TransparentBackgroundsOpenTheAncestorsClipping) {
  test::ParsedElement element(
      "<Window ID='Top' BackgroundColor='White'>"
      " <Window ID='Middle'><Window ID='Low' BackgroundColor='Transparent'/></Window>"
      " <Window ID='Other'/>"
      "</Window>");
  Window root;
  ASSERT_EQ(root.ReadDescription(element.Get()), kOk);
  Window* middle = root.FindChild(WindowIdOf(u"Middle"));
  EXPECT_EQ(middle->Style() & kStyleClipChildren, 0u);
  // The walk stops after the first ancestor with an opaque background.
  EXPECT_EQ(root.Style() & kStyleClipChildren, 0u);
  EXPECT_NE(root.FindChild(WindowIdOf(u"Other"))->Style() & kStyleClipChildren, 0u);
}

TEST_F(WindowDescriptionTest, TypeTableTakesRegisteredFactories) {
  static int made = 0;
  class Probe : public Window {};
  ASSERT_EQ(RegisterWindowType(u"Probe",
                               []() noexcept -> Window* {
                                 ++made;
                                 return new (std::nothrow) Probe();
                               }),
            kOk);
  test::ParsedElement element("<Window><Probe ID='P'/><List/><CheckBox/></Window>");
  Window root;
  ASSERT_EQ(root.ReadDescription(element.Get()), kOk);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(root.FirstChild()->NextSibling()->ClassCode(),
            static_cast<uint32_t>(kWindowClassListView));
  EXPECT_EQ(DefaultClassCodeOfType(u"CheckBox"), static_cast<uint32_t>(kWindowClassButton));
  Window* unknown = nullptr;
  EXPECT_EQ(CreateWindowOfType(u"static", unknown), kWrongType);
  EXPECT_EQ(unknown, nullptr);
  EXPECT_EQ(RegisterWindowType(nullptr, nullptr), kNullInput);
}

TEST_F(WindowDescriptionTest, DeepAndWideDescriptions) {
  const int depth = 10000;
  std::string deep;
  for (int i = 0; i < depth; ++i) deep += "<Window>";
  for (int i = 0; i < depth; ++i) deep += "</Window>";
  XmlDocument document;
  if (document.Parse(deep.data(), deep.size()) == kOk) {
    Window root;
    EXPECT_EQ(root.ReadDescription(document.RootElement()), kInvalidSize);
  }

  std::string wide = "<Window>";
  for (int i = 0; i < 100000; ++i) wide += "<Static/>";
  wide += "</Window>";
  test::ParsedElement element(wide);
  Window root;
  ASSERT_EQ(root.ReadDescription(element.Get()), kOk);
  EXPECT_EQ(root.ChildCount(), 100000u);
}

}  // namespace
}  // namespace vorn
