#include "ui/window.h"

#include <cstdlib>
#include <new>

#include "ui/shortcut_table.h"
#include "ui/tooltip_control.h"
#include "ui/window_layout_queue.h"

namespace vorn {

Window::Window() noexcept : id_(WindowIdOfAddress(this)) {}

Window::~Window() {
  tearing_down_ = true;
  if (handle_ != nullptr) Destroy();
  WindowLayoutQueue::Forget(this);
  if (tooltip_control_ != nullptr) {
    TooltipControl* tooltips = tooltip_control_;
    tooltip_control_ = nullptr;
    delete tooltips;
  }
  if (parent_ != nullptr && parent_->tooltip_control_ != nullptr) {
    parent_->tooltip_control_->RemoveTool(this);
  }
  DeleteOwnedChildren();
  ReleaseReferences();
  // Windows that refer to this one: the recorded dependents, and (beyond
  // the 32 that are recorded) any sibling, which is the only other place a
  // reference can come from. A parent that is going too skips the scan.
  for (uint32_t i = 0; i < dependent_count_; ++i) {
    dependents_[i].window->ForgetReferencesTo(this);
  }
  dependent_count_ = 0;
  std::free(dependents_);
  dependents_ = nullptr;
  if (parent_ != nullptr && !parent_->tearing_down_) {
    for (Window* sibling = parent_->first_child_; sibling; sibling = sibling->next_sibling_) {
      if (sibling != this) sibling->ForgetReferencesTo(this);
    }
  }
  Unlink();
  DropChildIndex();
  delete shortcuts_;
  delete font_list_;
  delete rare_;
}

void Window::SetId(WindowId id) noexcept {
  id_ = id;
  if (parent_ != nullptr) parent_->DropChildIndex();
}

void Window::DropChildIndex() noexcept {
  std::free(child_index_);
  child_index_ = nullptr;
  child_index_mask_ = 0;
}

Window* Window::FirstChildWithId(WindowId id) noexcept {
  constexpr uint32_t kIndexFrom = 32;
  if (child_count_ >= kIndexFrom && child_index_ == nullptr) {
    uint32_t size = 64;
    while (size < child_count_ * 2) size *= 2;
    child_index_ = static_cast<Window**>(std::calloc(size, sizeof(Window*)));
    if (child_index_ != nullptr) {
      child_index_mask_ = size - 1;
      for (Window* child = first_child_; child; child = child->next_sibling_) {
        uint32_t slot = (child->id_ * 40503u) & child_index_mask_;
        while (child_index_[slot] != nullptr && child_index_[slot]->id_ != child->id_) {
          slot = (slot + 1) & child_index_mask_;
        }
        if (child_index_[slot] == nullptr) child_index_[slot] = child;
      }
    }
  }
  if (child_index_ != nullptr) {
    for (uint32_t slot = (id * 40503u) & child_index_mask_; child_index_[slot] != nullptr;
         slot = (slot + 1) & child_index_mask_) {
      if (child_index_[slot]->id_ == id) return child_index_[slot];
    }
    return nullptr;
  }
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->id_ == id) return child;
  }
  return nullptr;
}

void Window::DeleteOwnedChildren() noexcept {
  while (first_child_ != nullptr) {
    Window* child = first_child_;
    if (child->owned_by_parent_) {
      delete child;  // unlinks itself
    } else {
      child->Unlink();
      child->ReleaseReferences();
    }
  }
}

void Window::Unlink() noexcept {
  if (parent_ == nullptr) return;
  parent_->DropChildIndex();
  if (previous_sibling_ != nullptr) {
    previous_sibling_->next_sibling_ = next_sibling_;
  } else {
    parent_->first_child_ = next_sibling_;
  }
  if (next_sibling_ != nullptr) {
    next_sibling_->previous_sibling_ = previous_sibling_;
  } else {
    parent_->last_child_ = previous_sibling_;
  }
  --parent_->child_count_;
  parent_ = nullptr;
  next_sibling_ = nullptr;
  previous_sibling_ = nullptr;
}

void Window::InsertInto(Window* parent) noexcept {
  parent_ = parent;
  if (parent == nullptr) return;
  parent->DropChildIndex();
  ++parent->child_count_;
  if (class_code_ == kWindowClassStatusBar || parent->first_child_ == nullptr) {
    // A status bar goes first, so that it is laid out before what it frames.
    next_sibling_ = parent->first_child_;
    if (next_sibling_ != nullptr) next_sibling_->previous_sibling_ = this;
    parent->first_child_ = this;
    if (parent->last_child_ == nullptr) parent->last_child_ = this;
    return;
  }
  previous_sibling_ = parent->last_child_;
  previous_sibling_->next_sibling_ = this;
  parent->last_child_ = this;
}

void Window::Attach(Window* parent) noexcept {
  if (parent == this) return;
  for (Window* at = parent; at != nullptr; at = at->parent_) {
    // A window cannot become its own descendant.
    if (at == this) return;
  }
  Window* old_parent = parent_;
  if (old_parent != nullptr) {
    for (Window* sibling = old_parent->first_child_; sibling; sibling = sibling->next_sibling_) {
      if (sibling != this) sibling->ForgetReferencesTo(this);
    }
    if (old_parent->tooltip_control_ != nullptr) old_parent->tooltip_control_->RemoveTool(this);
  }
  Unlink();
  InsertInto(parent);
  ReleaseReferences();
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    child->ForgetReferencesTo(this);
  }
  if (handle_ != nullptr) PlatformReparent();
  if (parent != nullptr && !tooltip_.IsEmpty()) SetTooltip(tooltip_);
  Layout();
}

Window* Window::FindChild(WindowId id, uint32_t class_code) const noexcept {
  const auto matches = [&](const Window* window) {
    return window->id_ == id &&
           (class_code == kAnyWindowClass || window->class_code_ == class_code);
  };
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->id_ == id) return matches(child) ? child : nullptr;
  }
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    Window* found = child->FindChild(id, kAnyWindowClass);
    if (found != nullptr) return matches(found) ? found : nullptr;
  }
  return nullptr;
}

uint32_t Window::Depth() const noexcept {
  uint32_t depth = 0;
  for (const Window* at = parent_; at != nullptr; at = at->parent_) ++depth;
  return depth;
}

// ---- Dependents ----

void Window::AddDependent(Window* window) noexcept {
  for (uint32_t i = 0; i < dependent_count_; ++i) {
    if (dependents_[i].window == window) {
      ++dependents_[i].count;
      return;
    }
  }
  if (dependent_count_ == kMaxDependents) return;
  if (dependent_count_ == dependent_capacity_) {
    const uint32_t capacity = dependent_capacity_ == 0 ? 2 : dependent_capacity_ * 2;
    auto* grown = static_cast<Dependent*>(std::realloc(dependents_, sizeof(Dependent) * capacity));
    // Out of memory: the registration is dropped like one beyond the limit.
    if (grown == nullptr) return;
    dependents_ = grown;
    dependent_capacity_ = capacity;
  }
  dependents_[dependent_count_++] = Dependent{window, 1};
}

void Window::RemoveDependent(Window* window) noexcept {
  for (uint32_t i = 0; i < dependent_count_; ++i) {
    if (dependents_[i].window != window) continue;
    if (--dependents_[i].count == 0) {
      for (uint32_t j = i + 1; j < dependent_count_; ++j) dependents_[j - 1] = dependents_[j];
      --dependent_count_;
    }
    return;
  }
}

uint32_t Window::DependentUses(const Window* window) const noexcept {
  for (uint32_t i = 0; i < dependent_count_; ++i) {
    if (dependents_[i].window == window) return dependents_[i].count;
  }
  return 0;
}

void Window::ReleaseReferences() noexcept {
  for (GeometryConstraint& constraint : constraints_) {
    if (constraint.reference != nullptr && constraint.reference != this) {
      constraint.reference->RemoveDependent(this);
    }
    constraint.reference = nullptr;
  }
}

void Window::ForgetReferencesTo(const Window* window) noexcept {
  for (GeometryConstraint& constraint : constraints_) {
    if (constraint.reference == window) constraint.reference = nullptr;
  }
}

// ---- Appearance and texts ----

void Window::SetBackgroundColor(const Color& color) noexcept {
  background_ = color;
  gradient_ = color;
  gradient_mode_ = 0;
  if (color.IsTransparent()) ClearAncestorsClipChildren();
}

void Window::ClearAncestorsClipChildren() noexcept {
  // The ancestors must paint behind this window, up to the first one that
  // paints an opaque background of its own.
  for (Window* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->parent_) {
    ancestor->style_ &= ~kStyleClipChildren;
    const Color& own = ancestor->background_;
    if (!own.IsNotSet() && !own.IsTransparent()) break;
  }
}

void Window::SetFont(const FontList& font) noexcept {
  if (font_list_ == nullptr) font_list_ = new (std::nothrow) FontList();
  if (font_list_ != nullptr) *font_list_ = font;
}

Window::RareTexts* Window::Rare() noexcept {
  if (rare_ == nullptr) rare_ = new (std::nothrow) RareTexts();
  return rare_;
}

const String& Window::PositionKey() const noexcept {
  static const String kNone;
  return rare_ != nullptr ? rare_->position_key : kNone;
}

void Window::SetTitle(const String& title) noexcept {
  title_ = title;
  ApplyTitle();
}

String Window::TitleText() const noexcept {
  if (rare_ == nullptr || rare_->document_name.IsEmpty()) return title_;
  return rare_->document_name + (document_modified_ ? u"* - " : u" - ") + title_;
}

void Window::SetDocumentName(const String& name) noexcept {
  if (RareTexts* rare = Rare()) rare->document_name = name;
  ApplyTitle();
}

void Window::SetDocumentModified(bool modified) noexcept {
  document_modified_ = modified;
  ApplyTitle();
}

void Window::SetTooltip(const String& text) noexcept {
  tooltip_ = text;
  if (parent_ == nullptr) return;
  if (text.IsEmpty()) {
    if (parent_->tooltip_control_ != nullptr) parent_->tooltip_control_->RemoveTool(this);
    return;
  }
  if (parent_->tooltip_control_ == nullptr) {
    parent_->tooltip_control_ = new (std::nothrow) TooltipControl(*parent_);
    if (parent_->tooltip_control_ == nullptr) return;
  }
  parent_->tooltip_control_->AddTool(this);
}

String Window::ChildTooltip(WindowId id) const noexcept {
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->id_ == id && !child->tooltip_.IsEmpty()) return child->tooltip_;
  }
  return String();
}

// ---- Tree-wide operations ----

bool Window::CanClose() noexcept {
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (!child->CanClose()) return false;
  }
  return true;
}

bool Window::MayClose() noexcept {
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->handle_ != nullptr && !child->MayClose()) return false;
  }
  return true;
}

Result Window::FrameUpdate(float elapsed) noexcept {
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    const Result result = child->FrameUpdate(elapsed);
    if (result != kOk) return result;
  }
  return kOk;
}

void Window::ApplicationStarted() noexcept {
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    child->ApplicationStarted();
  }
}

bool Window::OpenFiles(const String* paths, uint32_t count) noexcept {
  return parent_ != nullptr && parent_->OpenFiles(paths, count);
}

void Window::Navigate(const char16_t* address) noexcept {
  if (parent_ != nullptr) parent_->Navigate(address);
}

bool Window::OnCommand(WindowId command, uint32_t code, Window* sender) noexcept {
  return parent_ != nullptr && parent_->OnCommand(command, code, sender);
}

void Window::OnClose() noexcept {
  if (MayClose()) Destroy();
}

}  // namespace vorn
