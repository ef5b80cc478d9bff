// The installer's controls read from descriptions: styles, class codes,
// default sizes, the attributes of each control and the faulty ones.
#include "ui/installer_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/dialog_box.h"
#include "ui/support/ui_test_environment.h"
#include "ui/window_types.h"

namespace vorn {
namespace {

const char kDescriptions[] =
    "<String ID='Hello' Language='en'>Hello there</String>\n"
    "<Window ID='Page'>\n"
    "  <Static ID='Label' TextColor='#FF0000' HorizontalAlign='Center' VerticalAlign='Center'"
    "          WordEllipsis='1' Width='80'>#Hello</Static>\n"
    "  <Static ID='Right' HorizontalAlign='Right' PathEllipsis='true' Top='0' Bottom='20'/>\n"
    "  <Static ID='Odd' HorizontalAlign='Sideways' VerticalAlign='Top'/>\n"
    "  <Button ID='Push' HorizontalAlign='Center'>Go</Button>\n"
    "  <Button ID='Wide' Left='0' Right='200' Height='30'/>\n"
    "  <Button ID='Toggle' Type='PushCheckButton'/>\n"
    "  <CheckBox ID='Check'>Agree</CheckBox>\n"
    "  <EditBox ID='Name' ReadOnly='1' Case='Upper' OnReturn='GoCmd' Password='true'/>\n"
    "  <EditBox ID='Notes' WantReturn='1' Case='Lower' Height='50'/>\n"
    "  <ProgressBar ID='Bar'/>\n"
    "  <URL ID='Link' Address='https://example.org/'>Site</URL>\n"
    "  <Separator ID='Vertical'/>\n"
    "  <Separator ID='Horizontal' Width='100'/>\n"
    "  <Picture ID='Logo' Name='Pictures/Logo.png'/>\n"
    "</Window>\n"
    "<Window ID='Framed' ClipChildren='true'><GroupBox ID='Box'>Options</GroupBox></Window>\n"
    "<DialogBox ID='Ask'><Button ID='OK' Type='DefaultButton'/></DialogBox>\n"
    "<Window ID='BadButton'><Button ID='B' Type='Round'/></Window>\n"
    "<Window ID='NoAddress'><URL ID='L'>Nowhere</URL></Window>\n"
    "<Window ID='NoPicture'><Picture ID='P' Name='Pictures/Missing.png'/></Window>\n"
    "<Window ID='BadColour'><Static ID='S' TextColor='#12'/></Window>\n";

test::Bytes LogoPng() {
  test::PngImage image;
  image.color_type = 6;
  image.width = 24;
  image.height = 16;
  image.rows.assign(24 * 16 * 4, 0x80);
  return test::EncodePng(image);
}

class InstallerControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RegisterInstallerControls(), kOk); }
  test::UiTestEnvironment environment_{{kDescriptions}, {{u"Pictures/Logo.png", LogoPng()}}};
};

template <typename T>
T* Child(Window& window, const char16_t* id) {
  return static_cast<T*>(window.FindChild(WindowIdOf(id)));
}

int32_t DialogUnits(const Window* window, Edge edge) {
  return window->Constraint(edge).offset_dialog_units;
}

TEST_F(InstallerControlsTest, TextAttributesAndDefaultHeights) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* label = Child<TextControl>(page, u"Label");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->ClassCode(), kWindowClassStatic);
  EXPECT_EQ(test::Utf8(label->Text()), "Hello there");
  EXPECT_EQ(label->TextColor().rgba & 0xFFFFFF, 0x0000FFu);
  // No clip siblings; no-prefix and notify; the alignment and ellipsis bits.
  EXPECT_EQ(label->Style() & kStyleClipSiblings, 0u);
  EXPECT_EQ(label->Style() & 0xFFFF, kStaticNoPrefix | kStaticNotify | kStaticCenter |
                                         kStaticCenterVertically | kStaticWordEllipsis);
  EXPECT_EQ(DialogUnits(label, Edge::kHeight), 10);
  EXPECT_EQ(label->Constraint(Edge::kHeight).kind, ConstraintKind::kConstant);

  auto* right = Child<TextControl>(page, u"Right");
  EXPECT_EQ(right->Style() & 0xFFFF,
            kStaticNoPrefix | kStaticNotify | kStaticRight | kStaticPathEllipsis);
  // Top and Bottom decide the height: no default.
  EXPECT_NE(right->Constraint(Edge::kHeight).kind, ConstraintKind::kConstant);

  // Values outside the alignment tables are ignored.
  EXPECT_EQ(Child<TextControl>(page, u"Odd")->Style() & 0xFFFF, kStaticNoPrefix | kStaticNotify);
}

TEST_F(InstallerControlsTest, ButtonsAndCheckBoxes) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* push = Child<Button>(page, u"Push");
  ASSERT_NE(push, nullptr);
  EXPECT_EQ(push->ClassCode(), kWindowClassButton);
  EXPECT_EQ(push->Style() & 0xFFFF, kButtonCenter);
  EXPECT_EQ(push->Style() & kStyleTabStop, kStyleTabStop);
  EXPECT_EQ(test::Utf8(push->Text()), "Go");
  EXPECT_EQ(DialogUnits(push, Edge::kWidth), 50);
  EXPECT_EQ(DialogUnits(push, Edge::kHeight), 14);

  auto* wide = Child<Button>(page, u"Wide");
  EXPECT_NE(wide->Constraint(Edge::kWidth).kind, ConstraintKind::kConstant);
  EXPECT_EQ(wide->Constraint(Edge::kHeight).offset_pixels, 30);

  auto* toggle = Child<Button>(page, u"Toggle");
  EXPECT_EQ(toggle->Style() & 0xFFFF, 0x1003u);
  EXPECT_EQ(DialogUnits(toggle, Edge::kHeight), 10);

  // A check box is as high as a push button: its style is set afterwards.
  auto* check = Child<CheckBox>(page, u"Check");
  EXPECT_EQ(check->Style() & 0x2FFFF, 0x20003u);
  EXPECT_EQ(DialogUnits(check, Edge::kHeight), 14);
  EXPECT_FALSE(check->Checked());
  check->SetChecked(true);
  EXPECT_TRUE(check->Checked());
}

TEST_F(InstallerControlsTest, DefaultButtonAndGroupBoxChangeTheirParent) {
  DialogBox dialog;
  ASSERT_EQ(dialog.LoadDescription(u"Ask"), kOk);
  EXPECT_EQ(dialog.DefaultButton(), WindowIdOf(u"OK"));
  auto* ok = Child<Button>(dialog, u"OK");
  EXPECT_TRUE(ok->IsDefaultButton());
  EXPECT_EQ(ok->Style() & 0xF, kButtonDefault);

  Window framed;
  ASSERT_EQ(framed.LoadDescription(u"Framed"), kOk);
  auto* box = Child<GroupBox>(framed, u"Box");
  EXPECT_EQ(box->ClassCode(), kWindowClassGroupBox);
  EXPECT_EQ(box->Style(), 0x54000007u);
  EXPECT_EQ(framed.Style() & kStyleClipChildren, 0u);
}

TEST_F(InstallerControlsTest, EditBoxes) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* name = Child<EditBox>(page, u"Name");
  EXPECT_EQ(name->ClassCode(), kWindowClassEditBox);
  EXPECT_EQ(name->ExStyle() & kExStyleClientEdge, kExStyleClientEdge);
  EXPECT_EQ(name->Style() & 0xFFFF,
            kEditAutoHorizontalScroll | kEditReadOnly | kEditUpperCase | kEditPassword);
  EXPECT_EQ(name->ReturnCommand(), WindowIdOf(u"GoCmd"));
  EXPECT_EQ(DialogUnits(name, Edge::kHeight), 14);

  auto* notes = Child<EditBox>(page, u"Notes");
  EXPECT_EQ(notes->Style() & 0xFFFF, kEditAutoHorizontalScroll | kEditWantReturn | kEditLowerCase);
  EXPECT_EQ(notes->ReturnCommand(), kNoWindowId);
  EXPECT_EQ(notes->Constraint(Edge::kHeight).offset_pixels, 50);
}

TEST_F(InstallerControlsTest, ProgressBarScales) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* bar = Child<ProgressBar>(page, u"Bar");
  EXPECT_EQ(bar->ClassCode(), kWindowClassProgressBar);
  EXPECT_EQ(bar->Style() & 0xFFFF, kProgressSmooth);
  EXPECT_EQ(DialogUnits(bar, Edge::kHeight), 10);
  bar->SetProgress(0.5);
  EXPECT_EQ(bar->LastPosition(), 8192u);
  bar->SetProgress(-1.0);  // ignored
  EXPECT_EQ(bar->LastPosition(), 8192u);
  bar->Scale().SetTotal(4);
  bar->Scale().SetCompleted(2);
  bar->SetProgress(1.0);
  EXPECT_EQ(bar->LastPosition(), 12288u);
}

TEST_F(InstallerControlsTest, HyperlinkSeparatorsAndPicture) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* link = Child<Hyperlink>(page, u"Link");
  EXPECT_EQ(test::Utf8(link->Address()), "https://example.org/");
  EXPECT_EQ(link->TextColor().system_index, 26);
  EXPECT_EQ(DialogUnits(link, Edge::kHeight), 10);

  auto* vertical = Child<Separator>(page, u"Vertical");
  EXPECT_EQ(vertical->ClassCode(), kWindowClassSeparator);
  EXPECT_EQ(vertical->Style() & kStaticSunken, kStaticSunken);
  EXPECT_EQ(vertical->Constraint(Edge::kWidth).offset_pixels, 2);
  EXPECT_NE(vertical->Constraint(Edge::kHeight).kind, ConstraintKind::kConstant);
  auto* horizontal = Child<Separator>(page, u"Horizontal");
  EXPECT_EQ(horizontal->Constraint(Edge::kWidth).offset_pixels, 100);
  EXPECT_EQ(horizontal->Constraint(Edge::kHeight).offset_pixels, 2);

  // The picture's size becomes the control's, so others can refer to it.
  auto* logo = Child<PictureControl>(page, u"Logo");
  ASSERT_NE(logo->CurrentPicture(), nullptr);
  EXPECT_EQ(logo->ClassCode(), kWindowClassPicture);
  EXPECT_EQ(logo->Constraint(Edge::kWidth).offset_pixels, 24);
  EXPECT_EQ(logo->Constraint(Edge::kHeight).offset_pixels, 16);
  EXPECT_EQ(logo->Constraint(Edge::kHeight).offset_dialog_units, 0);
  // An alpha picture lets the parent paint beneath it.
  EXPECT_EQ(page.Style() & kStyleClipChildren, 0u);
  EXPECT_EQ(logo->SetPicture(nullptr), kInvalidState);
  EXPECT_NE(logo->CurrentPicture(), nullptr);
}

// A parent does not look at its children's results, so each control's
// reader is asked directly.
TEST_F(InstallerControlsTest, FaultyDescriptionsGiveTheirCodes) {
  Button button;
  EXPECT_EQ(button.ReadDescription(test::ParsedElement("<Button ID='B' Type='Round'/>").Get()),
            kInvalidArgument);

  Hyperlink link;
  EXPECT_EQ(link.ReadDescription(test::ParsedElement("<URL ID='L'>Nowhere</URL>").Get()),
            kMissingData);
  // What was read before the fault stays.
  EXPECT_EQ(test::Utf8(link.Text()), "Nowhere");

  PictureControl picture;
  Picture* none = nullptr;
  const Result missing = environment_.Resources().GetPicture(u"Pictures/Missing.png", none);
  ASSERT_NE(missing, kOk);
  EXPECT_EQ(picture.ReadDescription(
                test::ParsedElement("<Picture ID='P' Name='Pictures/Missing.png'/>").Get()),
            missing);
  EXPECT_EQ(picture.CurrentPicture(), nullptr);
  // A button's picture the same way; its text stays.
  Button pictured;
  EXPECT_EQ(
      pictured.ReadDescription(
          test::ParsedElement("<Button ID='B' Picture='Pictures/Missing.png'>Go</Button>").Get()),
      missing);
  EXPECT_EQ(test::Utf8(pictured.Text()), "Go");

  StaticText text;
  EXPECT_NE(text.ReadDescription(test::ParsedElement("<Static TextColor='#12'/>").Get()), kOk);

  // The page holding the faulty controls is still read whole.
  Window page;
  EXPECT_EQ(page.LoadDescription(u"NoAddress"), kOk);
  EXPECT_NE(Child<Hyperlink>(page, u"L"), nullptr);
}

}  // namespace
}  // namespace vorn
