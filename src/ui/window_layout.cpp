// The two-pass layout of a window from its eight geometry constraints, the
// lazy resolution of references, and the refresh of the values from what
// the platform reports.
#include "ui/ui_platform.h"
#include "ui/window.h"
#include "ui/window_layout_queue.h"

namespace vorn {
namespace {

Window* g_queue_head = nullptr;
Window* g_queue_tail = nullptr;
bool g_draining = false;
uint32_t g_generation = 1;

bool IsValidEdgeNumber(uint32_t which) noexcept {
  return which >= 2 && which <= 9;
}

int32_t InclusiveEnd(int32_t start, int32_t extent) noexcept {
  return static_cast<int32_t>(static_cast<uint32_t>(start) + static_cast<uint32_t>(extent) - 1u);
}

}  // namespace

// ---- The queue ----

void WindowLayoutQueue::Run(Window& window) noexcept {
  if (g_draining) {
    // Already inside a round (a platform notification during a move): the
    // outer round picks up the dependents.
    window.LayOutOnce();
    return;
  }
  g_draining = true;
  ++g_generation;
  window.LayOutOnce();
  while (g_queue_head != nullptr) {
    Window* next = g_queue_head;
    g_queue_head = next->next_queued_;
    if (g_queue_head == nullptr) g_queue_tail = nullptr;
    next->next_queued_ = nullptr;
    next->queued_ = false;
    next->LayOutOnce();
  }
  g_draining = false;
}

void WindowLayoutQueue::Enqueue(Window& window) noexcept {
  if (window.queued_) return;
  if (window.queue_generation_ != g_generation) {
    window.queue_generation_ = g_generation;
    window.queue_visits_ = 0;
  }
  if (++window.queue_visits_ > kMaxVisitsPerRound) return;
  window.queued_ = true;
  window.next_queued_ = nullptr;
  if (g_queue_tail != nullptr) {
    g_queue_tail->next_queued_ = &window;
  } else {
    g_queue_head = &window;
  }
  g_queue_tail = &window;
  if (!g_draining) {
    // Queued outside a round (the platform reported a move): work it off now.
    Window* first = g_queue_head;
    g_queue_head = first->next_queued_;
    if (g_queue_head == nullptr) g_queue_tail = nullptr;
    first->queued_ = false;
    first->next_queued_ = nullptr;
    Run(*first);
  }
}

void WindowLayoutQueue::Forget(Window* window) noexcept {
  if (!window->queued_) return;
  Window* previous = nullptr;
  for (Window* at = g_queue_head; at != nullptr; previous = at, at = at->next_queued_) {
    if (at != window) continue;
    if (previous != nullptr) {
      previous->next_queued_ = at->next_queued_;
    } else {
      g_queue_head = at->next_queued_;
    }
    if (g_queue_tail == at) g_queue_tail = previous;
    break;
  }
  window->queued_ = false;
  window->next_queued_ = nullptr;
}

// ---- Constraints ----

void Window::SetConstraint(uint32_t which, WindowId reference, ConstraintKind kind, int32_t pixels,
                           int32_t dialog_units) noexcept {
  if (!IsValidEdgeNumber(which)) return;
  GeometryConstraint& constraint = Constraint(static_cast<Edge>(which));
  if (constraint.reference != nullptr && constraint.reference != this) {
    constraint.reference->RemoveDependent(this);
  }
  constraint = GeometryConstraint();
  const bool parent_edge = kind == ConstraintKind::kTop || kind == ConstraintKind::kLeft ||
                           kind == ConstraintKind::kBottom || kind == ConstraintKind::kRight;
  // The parent's edges are in its own parent's coordinates, never in ours.
  if (reference == kParentId && parent_edge) return;
  constraint.kind = kind;
  constraint.reference_id = reference;
  constraint.offset_pixels = pixels;
  constraint.offset_dialog_units = dialog_units;
}

void Window::SetConstant(uint32_t which, int32_t pixels, int32_t dialog_units) noexcept {
  if (!IsValidEdgeNumber(which)) return;
  GeometryConstraint& constraint = Constraint(static_cast<Edge>(which));
  const int32_t value = constraint.value;
  if (constraint.reference != nullptr && constraint.reference != this) {
    constraint.reference->RemoveDependent(this);
  }
  constraint = GeometryConstraint();
  constraint.value = value;
  constraint.kind = ConstraintKind::kConstant;
  constraint.offset_pixels = pixels;
  constraint.offset_dialog_units = dialog_units;
}

bool Window::ExtentDetermined(Edge size, Edge start, Edge end) const noexcept {
  return Constraint(size).IsSet() || (Constraint(start).IsSet() && Constraint(end).IsSet());
}

DialogBaseUnits Window::ConversionUnits() const noexcept {
  return parent_ != nullptr ? parent_->base_units_ : base_units_;
}

Window* Window::ResolveReference(GeometryConstraint& constraint) noexcept {
  if (constraint.reference != nullptr) return constraint.reference;
  Window* found = nullptr;
  if (constraint.reference_id == kSelfId) {
    found = this;
  } else if (constraint.reference_id == kParentId) {
    found = parent_;
  } else if (parent_ != nullptr) {
    found = parent_->FirstChildWithId(constraint.reference_id);
  }
  if (found == nullptr) return nullptr;
  constraint.reference = found;
  if (found != this) found->AddDependent(this);
  return found;
}

int32_t Window::ReferenceQuantity(const Window* reference, ConstraintKind kind) const noexcept {
  switch (kind) {
    case ConstraintKind::kTop:
      return reference->Value(Edge::kTop);
    case ConstraintKind::kLeft:
      return reference->Value(Edge::kLeft);
    case ConstraintKind::kBottom:
      return reference->Value(Edge::kBottom);
    case ConstraintKind::kRight:
      return reference->Value(Edge::kRight);
    case ConstraintKind::kWidth:
      return reference == parent_ ? reference->Value(Edge::kClientWidth)
                                  : reference->Value(Edge::kWidth);
    case ConstraintKind::kHeight:
      return reference == parent_ ? reference->Value(Edge::kClientHeight)
                                  : reference->Value(Edge::kHeight);
    default:
      return kUndefinedValue;
  }
}

void Window::EvaluateConstraint(Edge edge) noexcept {
  GeometryConstraint& constraint = Constraint(edge);
  const bool horizontal = IsHorizontal(edge);
  const DialogBaseUnits units = ConversionUnits();
  const int32_t base = horizontal ? units.horizontal : units.vertical;
  if (constraint.min_dialog_units != kMinNotSet) {
    constraint.min_pixels = DialogUnitsToPixels(constraint.min_dialog_units, base, horizontal);
  }
  if (constraint.max_dialog_units != kMaxNotSet) {
    constraint.max_pixels = DialogUnitsToPixels(constraint.max_dialog_units, base, horizontal);
  }
  if (constraint.kind == ConstraintKind::kNotSet) return;
  if (constraint.kind == ConstraintKind::kConstant) {
    // A creation default (the use-default position) would move an existing
    // window off the screen: the platform's value stands instead.
    if (constraint.creation_only && handle_ != nullptr) return;
    constraint.value = ConstantValue(constraint, base, horizontal);
    return;
  }
  Window* reference = ResolveReference(constraint);
  if (reference == nullptr) return;
  const int32_t quantity = ReferenceQuantity(reference, constraint.kind);
  constraint.value =
      quantity == kUndefinedValue ? 32 : ReferenceValue(constraint, quantity, base, horizontal);
}

// ---- The layout ----

void Window::Layout() noexcept {
  WindowLayoutQueue::Run(*this);
}

void Window::LayOutDependents() noexcept {
  for (uint32_t i = 0; i < dependent_count_; ++i) {
    WindowLayoutQueue::Enqueue(*dependents_[i].window);
  }
}

void Window::LayOutOnce() noexcept {
  PreLayout();
  const int32_t before[4] = {Value(Edge::kTop), Value(Edge::kLeft), Value(Edge::kWidth),
                             Value(Edge::kHeight)};
  const int32_t client_before[2] = {Value(Edge::kClientWidth), Value(Edge::kClientHeight)};
  struct Axis {
    Edge start, end, size, client;
  };
  const Axis axes[2] = {{Edge::kTop, Edge::kBottom, Edge::kHeight, Edge::kClientHeight},
                        {Edge::kLeft, Edge::kRight, Edge::kWidth, Edge::kClientWidth}};
  for (int pass = 0; pass < 2; ++pass) {
    EvaluateConstraint(Edge::kTop);
    EvaluateConstraint(Edge::kLeft);
    for (const Axis& axis : axes) {
      GeometryConstraint& start = Constraint(axis.start);
      GeometryConstraint& end = Constraint(axis.end);
      GeometryConstraint& size = Constraint(axis.size);
      if (end.IsSet()) {
        EvaluateConstraint(axis.end);
        if (size.IsSet()) {
          EvaluateConstraint(axis.size);
          start.value = end.value - size.value + 1;
        } else {
          size.value = end.value >= start.value ? end.value - start.value + 1 : 0;
        }
      } else if (Constraint(axis.client).IsSet()) {
        EvaluateConstraint(axis.client);
      } else {
        EvaluateConstraint(axis.size);
      }
    }
  }
  GeometryConstraint& client_width = Constraint(Edge::kClientWidth);
  GeometryConstraint& client_height = Constraint(Edge::kClientHeight);
  if (client_width.value == kUndefinedValue) client_width.value = 32;
  if (client_height.value == kUndefinedValue) client_height.value = 32;
  int32_t outer_width = 0;
  int32_t outer_height = 0;
  CurrentUiPlatform().OuterSize(style_, ex_style_, client_width.value, client_height.value,
                                outer_width, outer_height);
  if (client_width.IsSet()) Constraint(Edge::kWidth).value = outer_width;
  if (client_height.IsSet()) Constraint(Edge::kHeight).value = outer_height;

  const int32_t after[4] = {Value(Edge::kTop), Value(Edge::kLeft), Value(Edge::kWidth),
                            Value(Edge::kHeight)};
  const bool moved = after[0] != before[0] || after[1] != before[1];
  const bool sized = after[2] != before[2] || after[3] != before[3];
  if (handle_ != nullptr) {
    if (moved || sized) {
      laying_out_ = true;
      CurrentUiPlatform().MoveWindow(handle_, after[1], after[0], after[2], after[3], moved, sized);
      laying_out_ = false;
    }
  } else {
    RefreshFromLayout();
  }
  const bool client_changed = Value(Edge::kClientWidth) != client_before[0] ||
                              Value(Edge::kClientHeight) != client_before[1];
  if (moved || sized || client_changed) LayOutDependents();
  PostLayout();
}

void Window::RefreshFromLayout() noexcept {
  // What the platform would report for a window of this size: the edges
  // are inclusive, and the client area is the size less the frame.
  const int32_t top = Value(Edge::kTop);
  const int32_t left = Value(Edge::kLeft);
  const int32_t width = Value(Edge::kWidth);
  const int32_t height = Value(Edge::kHeight);
  if (top != kUndefinedValue && height != kUndefinedValue) {
    Constraint(Edge::kBottom).value = InclusiveEnd(top, height);
  }
  if (left != kUndefinedValue && width != kUndefinedValue) {
    Constraint(Edge::kRight).value = InclusiveEnd(left, width);
  }
  int32_t frame_width = 0;
  int32_t frame_height = 0;
  CurrentUiPlatform().OuterSize(style_, ex_style_, 0, 0, frame_width, frame_height);
  if (!Constraint(Edge::kClientWidth).IsSet() && width != kUndefinedValue) {
    Constraint(Edge::kClientWidth).value = width > frame_width ? width - frame_width : 0;
  }
  if (!Constraint(Edge::kClientHeight).IsSet() && height != kUndefinedValue) {
    Constraint(Edge::kClientHeight).value = height > frame_height ? height - frame_height : 0;
  }
}

void Window::RefreshGeometry(const WindowRects& rects, bool minimized, bool maximized) noexcept {
  minimized_ = minimized;
  if (minimized) return;
  Constraint(Edge::kTop).value = rects.top;
  Constraint(Edge::kLeft).value = rects.left;
  Constraint(Edge::kWidth).value = rects.width;
  Constraint(Edge::kHeight).value = rects.height;
  Constraint(Edge::kBottom).value = InclusiveEnd(rects.top, rects.height);
  Constraint(Edge::kRight).value = InclusiveEnd(rects.left, rects.width);
  Constraint(Edge::kClientWidth).value = rects.client_width;
  Constraint(Edge::kClientHeight).value = rects.client_height;
  if (!maximized) {
    normal_left_ = rects.left;
    normal_top_ = rects.top;
    normal_width_ = rects.width;
    normal_height_ = rects.height;
    normal_position_known_ = true;
    normal_size_known_ = true;
  }
  maximized_ = maximized;
}

}  // namespace vorn
