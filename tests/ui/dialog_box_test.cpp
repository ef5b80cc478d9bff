// The dialog-box rules that decide whether OK, Cancel, Enter, Escape and
// the close box end a dialog.
#include "ui/dialog_box.h"

#include <gtest/gtest.h>

#include "ui/support/ui_test_environment.h"

namespace vorn {
namespace {

class Dialog : public DialogBox {
 public:
  bool MayClose() noexcept override { return may_close; }
  bool may_close = true;
};

Window* AddChild(Window& parent, const char16_t* name) {
  Window* child = new Window();
  child->SetId(WindowIdOf(name));
  child->SetOwnedByParent(true);
  child->Attach(&parent);
  return child;
}

TEST(DialogBoxRulesTest, WithoutStandardButtonsOrCloseItemNothingEnds) {
  Dialog dialog;
  dialog.SetStyle(0x96C0004C);  // no system menu
  EXPECT_FALSE(dialog.CanBeCancelled());
  EXPECT_FALSE(dialog.AcceptsClose());
  dialog.OnCancel();
  dialog.OnOK();
  EXPECT_FALSE(dialog.IsEnded());
  // A system menu with its close item enabled makes it cancellable...
  dialog.SetStyle(0x96C800CC);
  EXPECT_TRUE(dialog.CanBeCancelled());
  // ...unless "CloseButton" disabled that item.
  test::ParsedElement element("<DialogBox CloseButton='true'/>");
  ASSERT_EQ(dialog.ReadDescription(element.Get()), kOk);
  EXPECT_FALSE(dialog.CanBeCancelled());
}

TEST(DialogBoxRulesTest, StandardButtonsAndWantSettings) {
  for (const char16_t* name : {u"OK", u"Cancel"}) {
    Dialog dialog;
    dialog.SetStyle(0x96C0004C);
    AddChild(dialog, name);
    EXPECT_TRUE(dialog.CanBeCancelled());
    EXPECT_TRUE(dialog.AcceptsClose());
    dialog.OnOK();
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.DialogResult(), kOkId);
  }
  Dialog numbered;
  numbered.SetStyle(0x96C0004C);
  Window* two = new Window();
  two->SetId(2);
  two->SetOwnedByParent(true);
  two->Attach(&numbered);
  numbered.OnCancel();
  EXPECT_EQ(numbered.DialogResult(), kCancelId);

  // WantCancel false: the close request does nothing even with a Cancel button.
  Dialog refuses;
  AddChild(refuses, u"Cancel");
  refuses.SetWantCancel(WantSetting::kFalse);
  EXPECT_FALSE(refuses.AcceptsClose());
  refuses.OnCancel();
  EXPECT_FALSE(refuses.IsEnded());
  EXPECT_TRUE(refuses.EndsOnOK());

  // WantOK true ends on Enter without any OK button.
  Dialog wants;
  wants.SetStyle(0x96C0004C);
  wants.SetWantOK(WantSetting::kTrue);
  wants.OnOK();
  EXPECT_TRUE(wants.IsEnded());
  EXPECT_EQ(wants.DialogResult(), kOkId);

  // A dialog with an owner (a page in a tab control) leaves closing to it.
  Window owner;
  Dialog page;
  AddChild(page, u"Cancel");
  page.SetOwner(&owner);
  EXPECT_FALSE(page.AcceptsClose());
}

TEST(DialogBoxRulesTest, MayCloseCanRefuseTheEnd) {
  Dialog dialog;
  dialog.SetWantOK(WantSetting::kTrue);
  dialog.may_close = false;
  dialog.OnOK();
  EXPECT_FALSE(dialog.IsEnded());
  dialog.may_close = true;
  dialog.EndDialog(WindowIdOf(u"Retry"));
  EXPECT_EQ(dialog.DialogResult(), WindowIdOf(u"Retry"));
}

}  // namespace
}  // namespace vorn
