// The two-pass layout over whole descriptions: references between siblings
// resolved lazily, client sizes, dependents and their limits.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/support/ui_test_environment.h"
#include "ui/window.h"

namespace vorn {
namespace {

class WindowLayoutTest : public ::testing::Test {
 protected:
  // Reads the description into root_ and lays out the root, then every
  // window below it in tree order, as creation does.
  void Build(const std::string& xml) {
    element_ = std::make_unique<test::ParsedElement>(xml);
    ASSERT_EQ(root_.ReadDescription(element_->Get()), kOk);
    LayOutTree(root_);
  }
  static void LayOutTree(Window& window) {
    window.Layout();
    for (Window* child = window.FirstChild(); child; child = child->NextSibling()) {
      LayOutTree(*child);
    }
  }
  Window& Find(const char16_t* name) {
    Window* window = root_.FindChild(WindowIdOf(name));
    EXPECT_NE(window, nullptr);
    return *window;
  }

  test::UiTestEnvironment environment_{{""}};
  std::unique_ptr<test::ParsedElement> element_;
  Window root_;
};

TEST_F(WindowLayoutTest, ClientSizeGivesTheOuterSizeAndChildrenUseIt) {
  Build(
      "<Window Caption='true' Left='10' Top='20' ClientWidth='400' ClientHeight='300'>"
      " <Static ID='Title' Left='8' Top='8' Width='Parent.Width-16' Height='20'/>"
      " <Static ID='Body' Left='Title.Left' Top='Title.Bottom+1' Right='Parent.Width-9'"
      "         Bottom='Parent.Height-9'/>"
      "</Window>");
  EXPECT_EQ(root_.Value(Edge::kWidth), 416);
  EXPECT_EQ(root_.Value(Edge::kHeight), 346);
  EXPECT_EQ(root_.Value(Edge::kRight), 425);
  Window& title = Find(u"Title");
  EXPECT_EQ(title.Value(Edge::kWidth), 384);
  EXPECT_EQ(title.Value(Edge::kBottom), 27);
  Window& body = Find(u"Body");
  EXPECT_EQ(body.Value(Edge::kTop), 28);
  EXPECT_EQ(body.Value(Edge::kLeft), 8);
  EXPECT_EQ(body.Value(Edge::kRight), 391);
  EXPECT_EQ(body.Value(Edge::kWidth), 384);
  EXPECT_EQ(body.Value(Edge::kHeight), 291 - 28 + 1);
}

TEST_F(WindowLayoutTest, LazyReferencesToLaterSiblingsAndDependents) {
  // First refers to Second, which is created after it: the reference is
  // resolved when First is laid out, and Second's later layout lays First
  // out again.
  Build(
      "<Window ClientWidth='200' ClientHeight='100'>"
      " <Static ID='First' Left='Second.Right+4' Top='0' Width='10' Height='10'/>"
      " <Static ID='Second' Left='20' Top='0' Width='30' Height='10'/>"
      "</Window>");
  Window& first = Find(u"First");
  Window& second = Find(u"Second");
  EXPECT_EQ(first.Value(Edge::kLeft), 53);  // Right is inclusive: 20 + 30 - 1 + 4
  EXPECT_EQ(second.DependentUses(&first), 1u);
  second.SetConstant(static_cast<uint32_t>(Edge::kLeft), 100);
  second.Layout();
  EXPECT_EQ(first.Value(Edge::kLeft), 133);
}

TEST_F(WindowLayoutTest, BottomWithHeightOverridesTopAndRightBeforeLeftIsEmpty) {
  Build(
      "<Window ClientWidth='200' ClientHeight='100'>"
      " <Static ID='Pinned' Top='5' Bottom='Parent.Height-1' Height='20' Left='50' Right='40'/>"
      " <Static ID='Loose' Top='Nowhere.Bottom' Left='3' Width='Self.Height' Height='9'/>"
      "</Window>");
  Window& pinned = Find(u"Pinned");
  EXPECT_EQ(pinned.Value(Edge::kTop), 80);
  EXPECT_EQ(pinned.Value(Edge::kHeight), 20);
  EXPECT_EQ(pinned.Value(Edge::kWidth), 0);
  Window& loose = Find(u"Loose");
  // An unresolved reference leaves the value as it was (undefined).
  EXPECT_EQ(loose.Value(Edge::kTop), kUndefinedValue);
  // The second pass sees the height computed in the first.
  EXPECT_EQ(loose.Value(Edge::kWidth), 9);
}

TEST_F(WindowLayoutTest, DialogUnitsUseTheParentsBaseUnits) {
  root_.SetBaseUnits(DialogBaseUnits{7, 13});
  Build("<Window><Static ID='S' Left='4dlu' Top='8dlu+2' Width='8dlu' Height='8dlu'/></Window>");
  Window& s = Find(u"S");
  EXPECT_EQ(s.Value(Edge::kLeft), 7);  // (1 + 28) / 4
  EXPECT_EQ(s.Value(Edge::kTop), 15);  // (3 + 104) / 8 + 2
  EXPECT_EQ(s.Value(Edge::kWidth), 14);
  EXPECT_EQ(s.Value(Edge::kHeight), 13);
  // A reference to a window whose value is still undefined gives 32.
  Window orphan;
  orphan.SetConstraint(static_cast<uint32_t>(Edge::kWidth), kSelfId, ConstraintKind::kHeight, 0, 0);
  orphan.Layout();
  EXPECT_EQ(orphan.Value(Edge::kWidth), 32);
}

TEST_F(WindowLayoutTest, AnEmptyReferenceNameEndsTheGeometry) {
  // A plain window: a static text would take its default height.
  // Width's empty name: Width, Height and Right are ignored, with their
  // Min and Max; what was set before them stays.
  Build(
      "<Window ClientWidth='100' ClientHeight='100'>"
      " <Window ID='S' Top='5' Left='6' Width='.Width' MinWidth='3' Height='7' Right='50'/>"
      "</Window>");
  Window& s = Find(u"S");
  EXPECT_EQ(s.Value(Edge::kTop), 5);
  EXPECT_EQ(s.Value(Edge::kLeft), 6);
  EXPECT_FALSE(s.Constraint(Edge::kWidth).IsSet());
  EXPECT_FALSE(s.Constraint(Edge::kHeight).IsSet());
  EXPECT_FALSE(s.Constraint(Edge::kRight).IsSet());
  EXPECT_EQ(s.Constraint(Edge::kWidth).min_pixels, kMinNotSet);
  // Min and Max reach the limits; Max in dialog units converts on layout.
  test::ParsedElement limits("<Window MinWidth='200' MaxHeight='20dlu' MinTop='4'/>");
  Window limited;
  limited.SetBaseUnits(DialogBaseUnits{7, 13});
  ASSERT_EQ(limited.ReadDescription(limits.Get()), kOk);
  limited.Layout();
  EXPECT_EQ(limited.Constraint(Edge::kWidth).min_pixels, 200);
  EXPECT_EQ(limited.Constraint(Edge::kHeight).max_pixels, (3 + 260) / 8);
  EXPECT_EQ(limited.Constraint(Edge::kTop).min_pixels, 4);
}

TEST_F(WindowLayoutTest, ParentEdgesAreRefusedProgrammatically) {
  Window child;
  child.Attach(&root_);
  child.SetConstraint(static_cast<uint32_t>(Edge::kTop), kParentId, ConstraintKind::kBottom, 4, 0);
  EXPECT_FALSE(child.Constraint(Edge::kTop).IsSet());
  child.SetConstraint(static_cast<uint32_t>(Edge::kWidth), kParentId, ConstraintKind::kWidth, -4,
                      0);
  EXPECT_TRUE(child.Constraint(Edge::kWidth).IsSet());
  child.SetConstraint(42, kParentId, ConstraintKind::kWidth, 0, 0);  // ignored
  child.Attach(nullptr);
}

TEST_F(WindowLayoutTest, DependentsAreCountedAndCapped) {
  std::string xml =
      "<Window ClientWidth='100' ClientHeight='100'><Static ID='Anchor' Left='1'"
      " Top='1' Width='5' Height='5'/>";
  for (int i = 0; i < 40; ++i) {
    xml += "<Static ID='D" + std::to_string(i) +
           "' Left='Anchor.Right' Top='Anchor.Bottom' Width='Anchor.Width' Height='2'/>";
  }
  xml += "</Window>";
  Build(xml);
  Window& anchor = Find(u"Anchor");
  EXPECT_EQ(anchor.DependentCount(), kMaxDependents);
  Window& d0 = Find(u"D0");
  EXPECT_EQ(anchor.DependentUses(&d0), 3u);
  // The unrecorded ones still lay out correctly on their own layout, and
  // deleting the anchor leaves no dangling reference in any of them.
  Window& d39 = Find(u"D39");
  EXPECT_EQ(d39.Value(Edge::kLeft), 5);
  delete &anchor;
  d39.Layout();
  d0.Layout();
  EXPECT_EQ(d39.Value(Edge::kLeft), 5);
  d0.Attach(nullptr);
  delete &d0;
}

TEST_F(WindowLayoutTest, ChainsLayOutWithoutRecursion) {
  // Names whose identifiers differ (16 bits collide among thousands).
  std::vector<std::string> names;
  std::vector<bool> taken(65536);
  for (int i = 0; names.size() < 20000; ++i) {
    const std::string name = "W" + std::to_string(i);
    const std::u16string wide(name.begin(), name.end());
    const WindowId id = WindowIdOf(wide.c_str());
    if (taken[id] || id == kSelfId || id == kParentId) continue;
    taken[id] = true;
    names.push_back(name);
  }
  const int count = static_cast<int>(names.size());
  std::string xml =
      "<Window ClientWidth='100' ClientHeight='100'>"
      "<Static ID='" +
      names[0] + "' Top='0' Left='0' Width='10' Height='3'/>";
  for (int i = 1; i < count; ++i) {
    xml += "<Static ID='" + names[i] + "' Top='" + names[i - 1] +
           ".Bottom+1' Left='0' Width='10' Height='3'/>";
  }
  xml += "</Window>";
  Build(xml);
  const std::u16string last_name(names.back().begin(), names.back().end());
  Window& last = Find(last_name.c_str());
  EXPECT_EQ(last.Value(Edge::kTop), 3 * (count - 1));  // Bottom is inclusive
  // Moving the head moves the whole chain, breadth by breadth, without a
  // call per link on the stack.
  Window& head = Find(u"W0");  // always the first name
  head.SetConstant(static_cast<uint32_t>(Edge::kTop), 10);
  head.Layout();
  EXPECT_EQ(last.Value(Edge::kTop), 10 + 3 * (count - 1));
}

TEST_F(WindowLayoutTest, CircularReferencesEnd) {
  Build(
      "<Window ClientWidth='100' ClientHeight='100'>"
      " <Static ID='A' Left='B.Right+1' Top='0' Width='5' Height='5'/>"
      " <Static ID='B' Left='A.Right+1' Top='0' Width='5' Height='5'/>"
      "</Window>");
  // Each moves the other; the round stops after a bounded number of visits.
  EXPECT_GT(Find(u"A").Value(Edge::kLeft), 0);
}

TEST_F(WindowLayoutTest, AttachReleasesReferencesAndReparents) {
  Build(
      "<Window ClientWidth='100' ClientHeight='50'>"
      " <Static ID='Left' Left='0' Top='0' Width='Parent.Width/2' Height='Parent.Height'/>"
      "</Window>");
  Window& child = Find(u"Left");
  EXPECT_EQ(child.Value(Edge::kWidth), 50);
  Window other;
  other.SetConstant(static_cast<uint32_t>(Edge::kClientWidth), 300);
  other.SetConstant(static_cast<uint32_t>(Edge::kClientHeight), 10);
  other.Layout();
  child.Attach(&other);
  EXPECT_EQ(root_.ChildCount(), 0u);
  EXPECT_EQ(child.Value(Edge::kWidth), 150);
  EXPECT_EQ(child.Value(Edge::kHeight), 10);
  // `other` goes first and deletes the child it now owns.
}

}  // namespace
}  // namespace vorn
