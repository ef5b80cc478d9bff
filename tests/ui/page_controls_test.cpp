// The rich edit's and the combo box's descriptions: text modes, formatted
// text kept or refused, combo items in order and every faulty item.
#include "ui/page_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/browse_folder_dialog.h"
#include "ui/page.h"
#include "ui/support/ui_test_environment.h"
#include "ui/tab_control.h"

namespace vorn {
namespace {

const char kDescriptions[] =
    "<String ID='Small' Language='en'>Small</String>\n"
    "<Window ID='Page'>\n"
    "  <RichEdit ID='Licence' TextMode='HTML' BottomLess='1'>"
    "<![CDATA[<p align='center'>Read <b>this</b></p>]]></RichEdit>\n"
    "  <RichEdit ID='Again' TextMode='HTML' AutoDetectURL='true'/>\n"
    "  <RichEdit ID='Plain' TextMode='Plain' ReadOnly='1'/>\n"
    "  <ComboBox ID='Size' Type='Editable'>"
    "<Item ID='SmallCmd' PictureIndex='1'>#Small</Item>"
    "<Item ID='LargeCmd' Selected='true'>Large</Item></ComboBox>\n"
    "</Window>\n";

class PageControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RegisterInstallerControls(), kOk); }
  test::UiTestEnvironment environment_{{kDescriptions}};
};

TEST_F(PageControlsTest, RichEditModesAndFormattedText) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* licence = static_cast<RichEdit*>(page.FindChild(WindowIdOf(u"Licence")));
  ASSERT_NE(licence, nullptr);
  EXPECT_EQ(licence->ClassCode(), kWindowClassRichEdit);
  EXPECT_EQ(licence->Style() & 0xFFFF, 0x1044u);
  EXPECT_EQ(licence->Style() & 0x04210000u, 0x04210000u);
  EXPECT_EQ(licence->TextMode(), RichTextMode::kFormatted);
  EXPECT_FALSE(licence->DetectsUrls());
  EXPECT_TRUE(licence->Bottomless());
  ASSERT_EQ(licence->Formatted().ParagraphCount(), 1u);
  EXPECT_EQ(licence->Formatted().Paragraph(0).alignment, ParagraphAlignment::kCenter);

  // A text that is not well-formed leaves the previous content.
  const String before = licence->StoredText();
  EXPECT_NE(licence->SetRichText(u"<b>open"), kOk);
  EXPECT_EQ(licence->StoredText(), before);
  EXPECT_EQ(licence->Formatted().ParagraphCount(), 1u);
  // Deep nesting neither exhausts the stack nor half-replaces the text.
  std::u16string deep;
  for (int i = 0; i < 100000; ++i) deep += u"<b>";
  for (int i = 0; i < 100000; ++i) deep += u"</b>";
  if (licence->SetRichText(String(deep.c_str())) == kOk) {
    EXPECT_EQ(licence->StoredText().Length(), deep.size());
  } else {
    EXPECT_EQ(licence->StoredText(), before);
  }

  // "AutoDetectURL" comes after "TextMode".
  auto* again = static_cast<RichEdit*>(page.FindChild(WindowIdOf(u"Again")));
  EXPECT_TRUE(again->DetectsUrls());
  auto* plain = static_cast<RichEdit*>(page.FindChild(WindowIdOf(u"Plain")));
  EXPECT_EQ(plain->TextMode(), RichTextMode::kPlain);
  EXPECT_TRUE(plain->DetectsUrls());
  EXPECT_EQ(plain->Style() & kEditReadOnly, kEditReadOnly);
}

TEST_F(PageControlsTest, ComboBoxItemsInDocumentOrder) {
  Window page;
  ASSERT_EQ(page.LoadDescription(u"Page"), kOk);
  auto* size = static_cast<ComboBox*>(page.FindChild(WindowIdOf(u"Size")));
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->ClassCode(), kWindowClassComboBox);
  EXPECT_EQ(size->Style() & 0x3, 0x2u);
  // The items are the combo box's own, not child windows.
  EXPECT_EQ(size->ChildCount(), 0u);
  ASSERT_EQ(size->Items().Count(), 2u);
  EXPECT_EQ(test::Utf8(size->Items().Item(0).label), "Small");
  EXPECT_EQ(size->Items().Item(0).image, 1);
  EXPECT_EQ(size->Items().Item(1).image, -1);
  EXPECT_EQ(size->Selection(), 1);
  EXPECT_EQ(size->SelectedValue(), WindowIdOf(u"LargeCmd"));
  EXPECT_EQ(size->Constraint(Edge::kHeight).offset_dialog_units, 170);
}

TEST_F(PageControlsTest, FaultyComboBoxesGiveTheirCodes) {
  struct Case {
    const char* xml;
    Result expected;
  };
  const Case cases[] = {
      {"<ComboBox><Item>No id</Item></ComboBox>", kMissingData},
      {"<ComboBox><Item ID='A'/></ComboBox>", kMissingData},
      {"<ComboBox><Item ID=''>Empty</Item></ComboBox>", kLocalizedTextMissing},
      {"<ComboBox><Static ID='S'/></ComboBox>", kWrongType},
      {"<ComboBox Type='Wheel'/>", kInvalidArgument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    ComboBox combo;
    EXPECT_EQ(combo.ReadDescription(test::ParsedElement(c.xml).Get()), c.expected);
    EXPECT_EQ(combo.ChildCount(), 0u);
  }
  // The items before a faulty one stay.
  ComboBox combo;
  EXPECT_EQ(
      combo.ReadDescription(
          test::ParsedElement("<ComboBox><Item ID='A'>a</Item><Item>b</Item></ComboBox>").Get()),
      kMissingData);
  EXPECT_EQ(combo.Items().Count(), 1u);
}

TEST_F(PageControlsTest, UnknownPictureStripsGiveTheResourceManagersCode) {
  Picture* none = nullptr;
  const Result missing = environment_.Resources().GetPicture(u"Pictures/Missing.png", none);
  ASSERT_NE(missing, kOk);
  TabControl tabs;
  EXPECT_EQ(tabs.ReadDescription(
                test::ParsedElement("<TabCtrl ID='T' Pictures='Pictures/Missing.png'/>").Get()),
            missing);
  // No pages are lost for it: they still join the control.
  Page page;
  EXPECT_EQ(tabs.AddPage(&page, 0), kOk);
  EXPECT_EQ(tabs.PageCount(), 1u);
  ComboBox combo;
  EXPECT_EQ(combo.ReadDescription(test::ParsedElement("<ComboBox ID='C' Pictures='Pictures/"
                                                      "Missing.png'><Item ID='A'>a</Item>"
                                                      "</ComboBox>")
                                      .Get()),
            missing);
}

TEST_F(PageControlsTest, BrowseFolderDialogReadsItsDescription) {
  BrowseFolderDialog dialog;
  ASSERT_EQ(
      dialog.ReadDescription(
          test::ParsedElement("<BrowseFolderDialog Title='Pick a folder' NewFolderButton='0'/>")
              .Get()),
      kOk);
  EXPECT_EQ(test::Utf8(dialog.Title()), "Pick a folder");
  EXPECT_FALSE(dialog.NewFolderButton());
}

TEST(RichEditMenu, CommandsFollowTheControlsState) {
  const auto state = [](WindowId command, const RichEditMenuState& s) {
    return RichEditMenuItemState(command, s);
  };
  const uint32_t on = kMenuShown | kMenuEnabled;
  RichEditMenuState editable;
  editable.can_undo = true;
  editable.has_selection = true;
  EXPECT_EQ(state(WindowIdOf(u"RichEditUndoCmd"), editable), on);
  EXPECT_EQ(state(WindowIdOf(u"RichEditRedoCmd"), editable), kMenuShown);
  EXPECT_EQ(state(WindowIdOf(u"RichEditCutCmd"), editable), on);
  EXPECT_EQ(state(WindowIdOf(u"RichEditCopyCmd"), editable), on);
  EXPECT_EQ(state(WindowIdOf(u"RichEditPasteCmd"), editable), kMenuShown);
  EXPECT_EQ(state(WindowIdOf(u"RichEditSelectAllCmd"), editable), on);
  editable.all_selected = true;
  EXPECT_EQ(state(WindowIdOf(u"RichEditSelectAllCmd"), editable), kMenuShown);
  // A read-only control offers only copy and select all.
  RichEditMenuState read_only = editable;
  read_only.read_only = true;
  read_only.can_paste = true;
  EXPECT_EQ(state(WindowIdOf(u"RichEditUndoCmd"), read_only), 0u);
  EXPECT_EQ(state(WindowIdOf(u"RichEditRedoCmd"), read_only), 0u);
  EXPECT_EQ(state(WindowIdOf(u"RichEditCutCmd"), read_only), 0u);
  EXPECT_EQ(state(WindowIdOf(u"RichEditPasteCmd"), read_only), 0u);
  EXPECT_EQ(state(WindowIdOf(u"RichEditCopyCmd"), read_only), on);
  EXPECT_EQ(state(WindowIdOf(u"OtherCmd"), editable), 0u);
}

TEST(TabKeys, NeighboursWrapAround) {
  EXPECT_EQ(NeighbourTab(0, -1, true), -1);
  EXPECT_EQ(NeighbourTab(0, -1, false), -1);
  EXPECT_EQ(NeighbourTab(3, 2, true), 0);
  EXPECT_EQ(NeighbourTab(3, 0, false), 2);
  EXPECT_EQ(NeighbourTab(3, 1, true), 2);
  EXPECT_EQ(NeighbourTab(3, 1, false), 0);
  EXPECT_EQ(NeighbourTab(1, 0, true), 0);
}

}  // namespace
}  // namespace vorn
