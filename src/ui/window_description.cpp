// Reading a window description: the attribute table in its order, the
// "Type" readers of the window base, the geometry attributes, the children
// through the window-type table, and the persisted placement.
#include <new>

#include "application/application_core.h"
#include "resources/localized_text.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "ui/shortcut_table.h"
#include "ui/window.h"
#include "ui/window_attributes.h"
#include "ui/window_services.h"
#include "ui/window_types.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

constexpr uint32_t kBorderStyles = kStyleBorder;
constexpr uint32_t kEdgeExStyles = kExStyleStaticEdge | kExStyleClientEdge;

String Localized(const char16_t* text) noexcept {
  String result;
  LocalizeText(UiResources(), text, result);
  return result;
}

bool Is(const char16_t* value, const char16_t* word) noexcept {
  return XmlTextEquals(value, word);
}

void SetBits(uint32_t& bits, uint32_t mask, bool on) noexcept {
  bits = on ? (bits | mask) : (bits & ~mask);
}

// The geometry attributes in reading order.
constexpr Edge kGeometryOrder[] = {Edge::kTop,         Edge::kLeft,   Edge::kWidth,
                                   Edge::kClientWidth, Edge::kHeight, Edge::kClientHeight,
                                   Edge::kBottom,      Edge::kRight};

struct PlacementValue {
  const char16_t* name;
  Edge edge;
};

constexpr PlacementValue kPlacementValues[] = {
    {u"/Top", Edge::kTop},       {u"/Left", Edge::kLeft},
    {u"/Width", Edge::kWidth},   {u"/ClientWidth", Edge::kClientWidth},
    {u"/Height", Edge::kHeight}, {u"/ClientHeight", Edge::kClientHeight},
};

}  // namespace

Result Window::LoadDescription(const char16_t* name) noexcept {
  ResourceManager& resources = UiResources();
  XmlElement* element = nullptr;
  if (resources.GetElement(TypeName(), name, element) != kOk || element == nullptr) {
    return kNullInput;
  }
  const Result result = ReadDescription(element);
  resources.Release(element);
  return result;
}

Result Window::ReadDescription(const XmlElement* element) noexcept {
  if (element == nullptr) return kNullInput;
  bool stop = false;
  const Result result = ReadAttributes(*element, stop);
  if (result != kOk) return result;
  return ReadChildren(*element);
}

Result Window::ReadAttributes(const XmlElement& element, bool& stop) noexcept {
  const WindowAttributes attributes(element);
  const XmlAttribute* attribute = nullptr;
  const auto find = [&](WindowAttribute which) {
    attribute = attributes.Find(which);
    return attribute != nullptr;
  };
  const auto boolean = [&]() { return XmlTextIsTrue(attribute->Value()); };

  if (find(WindowAttribute::kId)) SetId(WindowIdOf(attribute->Value()));
  if (find(WindowAttribute::kType)) {
    const Result result = ReadType(attribute->Value());
    if (result != kOk) return result;
  }
  if (find(WindowAttribute::kTitle)) SetTitle(Localized(attribute->Value()));
  if (find(WindowAttribute::kTooltip)) SetTooltip(Localized(attribute->Value()));
  if (find(WindowAttribute::kBackgroundColor)) {
    Color color;
    const Result result = ParseColor(attribute->Value(), color);
    SetBackgroundColor(color);
    if (result != kOk) return result;
  }
  if (find(WindowAttribute::kHorizontalGradientColor)) {
    const Result result = ParseColor(attribute->Value(), gradient_);
    gradient_mode_ = 1;
    if (result != kOk) return result;
  }
  if (find(WindowAttribute::kVerticalGradientColor)) {
    const Result result = ParseColor(attribute->Value(), gradient_);
    gradient_mode_ = 2;
    if (result != kOk) return result;
  }
  if (find(WindowAttribute::kBorder)) {
    style_ &= ~kBorderStyles;
    ex_style_ &= ~kEdgeExStyles;
    const char16_t* value = attribute->Value();
    if (Is(value, u"Solid")) {
      style_ |= kStyleBorder;
    } else if (Is(value, u"StaticEdge")) {
      ex_style_ |= kExStyleStaticEdge;
    } else if (Is(value, u"ClientEdge")) {
      ex_style_ |= kExStyleClientEdge;
    } else if (!Is(value, u"None")) {
      return kInvalidArgument;
    }
  }
  if (find(WindowAttribute::kVisible)) SetBits(style_, kStyleVisible, boolean());
  if (find(WindowAttribute::kClipChildren)) SetBits(style_, kStyleClipChildren, boolean());
  if (find(WindowAttribute::kClipSiblings)) SetBits(style_, kStyleClipSiblings, boolean());
  if (find(WindowAttribute::kAcceptFiles)) SetBits(ex_style_, kExStyleAcceptFiles, boolean());
  if (find(WindowAttribute::kSystemMenu)) SetBits(style_, kStyleSystemMenu, boolean());
  if (find(WindowAttribute::kFirstOfGroup)) SetBits(style_, kStyleGroup, boolean());
  if (find(WindowAttribute::kEnabled)) SetBits(style_, kStyleDisabled, !boolean());
  // Set means the close item of the system menu is disabled.
  if (find(WindowAttribute::kCloseButton)) close_disabled_ = boolean();
  if (find(WindowAttribute::kCaption)) {
    if (boolean()) {
      style_ |= kStyleCaption | kStyleSystemMenu;
    } else {
      style_ &= ~kStyleCaption;
    }
  }
  if (find(WindowAttribute::kDoubleBuffered)) double_buffered_ = boolean();
  if (find(WindowAttribute::kFont)) {
    FontList font;
    ParseFontList(attribute->Value(), font);
    SetFont(font);
  }
  if (find(WindowAttribute::kRedraw)) {
    const char16_t* value = attribute->Value();
    if (Is(value, u"Horizontal")) {
      horizontal_redraw_ = -1;
      vertical_redraw_ = 0;
    } else if (Is(value, u"Vertical")) {
      horizontal_redraw_ = 0;
      vertical_redraw_ = -1;
    } else if (Is(value, u"Both")) {
      horizontal_redraw_ = -1;
      vertical_redraw_ = -1;
    } else {
      return kInvalidArgument;
    }
    erase_on_redraw_ = true;
  }
  if (find(WindowAttribute::kHorizontalRedraw))
    horizontal_redraw_ = TextToInt32(attribute->Value());
  if (find(WindowAttribute::kVerticalRedraw)) vertical_redraw_ = TextToInt32(attribute->Value());
  if (find(WindowAttribute::kEnableFocus)) focus_allowed_ = boolean();
  if (find(WindowAttribute::kMouseCursor)) {
    if (!Is(attribute->Value(), u"{Hand}")) return kInvalidArgument;
    hand_cursor_ = true;
  }
  if (find(WindowAttribute::kShortcutKeys)) {
    delete shortcuts_;
    shortcuts_ = new (std::nothrow) ShortcutTable();
    if (shortcuts_ == nullptr) return kOutOfMemory;
    const Result result = shortcuts_->Load(attribute->Value());
    if (result != kOk) {
      delete shortcuts_;
      shortcuts_ = nullptr;
      return result;
    }
  }
  if (find(WindowAttribute::kPosition)) {
    RareTexts* rare = Rare();
    if (rare == nullptr) return kOutOfMemory;
    rare->position_key = u"/User/Local/" + String(attribute->Value());
    LoadPlacement();
  }
  stop = false;
  return ReadGeometry(attributes);
}

Result Window::ReadGeometry(const WindowAttributes& attributes) noexcept {
  // A Min or Max holds one length, in pixels or in dialog units.
  const auto read_limit = [](const XmlAttribute* limit, int32_t& pixels, int32_t& dialog_units) {
    if (limit == nullptr) return;
    const char16_t* cursor = limit->Value();
    const Length length = ParseLength(cursor);
    (length.dialog_units ? dialog_units : pixels) = length.value;
  };
  for (const Edge edge : kGeometryOrder) {
    GeometryConstraint& constraint = Constraint(edge);
    const auto slot = static_cast<uint32_t>(GeometryAttributeOf(edge));
    const XmlAttribute* expression = attributes.Find(static_cast<WindowAttribute>(slot));
    if (expression != nullptr) {
      GeometryConstraint parsed;
      if (ParseGeometryExpression(expression->Value(), parsed) ==
          ExpressionOutcome::kStopGeometry) {
        // An empty name ends the geometry: this and the rest are ignored.
        return kOk;
      }
      if (constraint.reference != nullptr && constraint.reference != this) {
        constraint.reference->RemoveDependent(this);
      }
      // The last computed value stays until the next layout.
      parsed.value = constraint.value;
      constraint = parsed;
    }
    read_limit(attributes.Find(static_cast<WindowAttribute>(slot + 1)), constraint.min_pixels,
               constraint.min_dialog_units);
    read_limit(attributes.Find(static_cast<WindowAttribute>(slot + 2)), constraint.max_pixels,
               constraint.max_dialog_units);
  }
  return kOk;
}

Result Window::ReadChildren(const XmlElement& element) noexcept {
  const bool too_deep = Depth() + 1 >= kMaxDescriptionDepth;
  for (const XmlElement* node = element.FirstChild(); node; node = node->NextSibling()) {
    // Text content belongs to the window's own reader (a control's text).
    if (node->Name() == nullptr) continue;
    if (too_deep) return kInvalidSize;
    Window* child = nullptr;
    const Result created = CreateChild(node->Name(), child);
    if (created != kOk || child == nullptr) return kWrongType;
    child->owned_by_parent_ = true;
    child->created_from_description_ = true;
    // Attached before its description is read: a transparent background
    // or a default button reaches the parent while it is read.
    child->InsertInto(this);
    const Result read = child->ReadDescription(node);
    // The child keeps what it read; only a nesting too deep for the
    // platform ends the whole description.
    if (read == kInvalidSize) return kInvalidSize;
  }
  return kOk;
}

Result Window::CreateChild(const char16_t* element_name, Window*& child) noexcept {
  return CreateWindowOfType(element_name, child);
}

Result Window::ReadType(const char16_t* type) noexcept {
  if (Is(type, u"MainWindow")) return ApplyTypeMainWindow(false);
  if (Is(type, u"MainDialogBox")) return ApplyTypeMainWindow(true);
  if (Is(type, u"ClientWindow")) {
    client_window_ = true;
    return kOk;
  }
  return kInvalidArgument;
}

Result Window::ApplyTypeMainWindow(bool dialog_box) noexcept {
  main_window_type_ = true;
  if (dialog_box) {
    ex_style_ =
        kExStyleAppWindow | kExStyleControlParent | kExStyleWindowEdge | kExStyleDialogModalFrame;
    style_ = 0x86CA0000;
    SetBackgroundColor(Color::System(15));
    main_dialog_box_ = true;
  } else {
    ex_style_ = kExStyleAppWindow;
    style_ = 0x06CF0000;
    SetBackgroundColor(Color::Transparent());
  }
  // The platform chooses position and size; these only steer the creation.
  const struct {
    Edge edge;
    int32_t value;
  } initial[] = {
      {Edge::kLeft, kUseDefault}, {Edge::kWidth, kUseDefault}, {Edge::kTop, 3}, {Edge::kHeight, 0}};
  for (const auto& entry : initial) {
    SetConstant(static_cast<uint32_t>(entry.edge), entry.value);
    Constraint(entry.edge).creation_only = true;
  }
  ApplyTitle();
  return kOk;
}

void Window::LoadPlacement() noexcept {
  Preferences& preferences = UiPreferences();
  const String& key = PositionKey();
  bool maximized = false;
  if (preferences.GetBool(String(key + u"/Maximized").Text(), &maximized) == kOk) {
    start_maximized_ = maximized;
  }
  for (const PlacementValue& entry : kPlacementValues) {
    int32_t value = 0;
    if (preferences.GetInt(String(key + entry.name).Text(), &value) == kOk) {
      SetConstant(static_cast<uint32_t>(entry.edge), value);
    }
  }
}

void Window::SavePlacement() noexcept {
  const String& key = PositionKey();
  if (key.IsEmpty()) return;
  Preferences& preferences = UiPreferences();
  if ((style_ & kStyleMaximizeBox) != 0 && !ApplicationCore::Get().Quiet()) {
    preferences.SetBool(String(key + u"/Maximized").Text(), maximized_);
  }
  if (normal_position_known_) {
    preferences.SetInt(String(key + u"/Top").Text(), normal_top_);
    preferences.SetInt(String(key + u"/Left").Text(), normal_left_);
  }
  if (normal_size_known_) {
    preferences.SetInt(String(key + u"/Width").Text(), normal_width_);
    preferences.SetInt(String(key + u"/Height").Text(), normal_height_);
  }
}

void Window::OnFinalDestroy() noexcept {
  SavePlacement();
}

}  // namespace vorn
