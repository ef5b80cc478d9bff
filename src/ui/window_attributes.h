// The attributes of one description element that the window base reads,
// found in one pass over the element instead of one search per name: a
// description is read for every window of every page, and most attributes
// of the table are absent from most elements.
#pragma once

#include <cstdint>

#include "ui/geometry.h"

namespace vorn {

class XmlAttribute;
class XmlElement;

enum class WindowAttribute : uint32_t {
  kId,
  kType,
  kTitle,
  kTooltip,
  kBackgroundColor,
  kHorizontalGradientColor,
  kVerticalGradientColor,
  kBorder,
  kVisible,
  kClipChildren,
  kClipSiblings,
  kAcceptFiles,
  kSystemMenu,
  kFirstOfGroup,
  kEnabled,
  kCloseButton,
  kCaption,
  kDoubleBuffered,
  kFont,
  kRedraw,
  kHorizontalRedraw,
  kVerticalRedraw,
  kEnableFocus,
  kMouseCursor,
  kShortcutKeys,
  kPosition,
  // The geometry: each name, then its Min and Max, in reading order.
  kTop,
  kMinTop,
  kMaxTop,
  kLeft,
  kMinLeft,
  kMaxLeft,
  kWidth,
  kMinWidth,
  kMaxWidth,
  kClientWidth,
  kMinClientWidth,
  kMaxClientWidth,
  kHeight,
  kMinHeight,
  kMaxHeight,
  kClientHeight,
  kMinClientHeight,
  kMaxClientHeight,
  kBottom,
  kMinBottom,
  kMaxBottom,
  kRight,
  kMinRight,
  kMaxRight,
  kCount,
};

class WindowAttributes {
 public:
  explicit WindowAttributes(const XmlElement& element) noexcept;
  // The first attribute of that name, as a search of the element finds it.
  const XmlAttribute* Find(WindowAttribute which) const noexcept {
    return found_[static_cast<uint32_t>(which)];
  }

 private:
  const XmlAttribute* found_[static_cast<uint32_t>(WindowAttribute::kCount)] = {};
};

// The geometry attribute of an edge; its Min and Max follow it.
WindowAttribute GeometryAttributeOf(Edge edge) noexcept;

}  // namespace vorn
