// Slash paths below an element: "/User/Global/Language" names a child, its
// child and so on, each the first of its name.
#include <cstdint>

#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

// One segment of a path; `rest` points at the '/' that follows or at the end.
struct PathSegment {
  const char16_t* name;
  uint32_t length;
  const char16_t* rest;
};

PathSegment SegmentAt(const char16_t* start) noexcept {
  const char16_t* end = start;
  while (*end && *end != u'/') ++end;
  return {start, static_cast<uint32_t>(end - start), end};
}

// A path begins with '/' and has no empty segment.
bool IsWellFormedPath(const char16_t* path) noexcept {
  if (!path || path[0] != u'/') return false;
  const char16_t* p = path;
  while (*p) {
    const PathSegment segment = SegmentAt(p + 1);
    if (segment.length == 0) return false;
    p = segment.rest;
  }
  return true;
}

}  // namespace

XmlElement* XmlElement::FindChild(const char16_t* name, uint32_t length) const noexcept {
  for (XmlElement* child = FirstChild(); child; child = child->NextSibling()) {
    if (XmlTextEquals(child->name_, name, length)) return child;
  }
  return nullptr;
}

XmlElement* XmlElement::Find(const char16_t* path) const noexcept {
  if (!IsWellFormedPath(path)) return nullptr;
  const XmlElement* current = this;
  for (const char16_t* p = path; *p;) {
    const PathSegment segment = SegmentAt(p + 1);
    current = current->FindChild(segment.name, segment.length);
    if (!current) return nullptr;
    p = segment.rest;
  }
  return const_cast<XmlElement*>(current);
}

Result XmlElement::FindOrCreate(const char16_t* path, XmlElement*& element) noexcept {
  element = nullptr;
  if (!path) return kNullInput;
  if (!IsWellFormedPath(path)) return kInvalidPath;
  XmlElement* current = this;
  const char16_t* p = path;
  while (*p) {
    const PathSegment segment = SegmentAt(p + 1);
    XmlElement* child = current->FindChild(segment.name, segment.length);
    if (!child) break;
    current = child;
    p = segment.rest;
  }
  if (!*p) {
    element = current;
    return kOk;
  }
  // The missing levels are built apart and attached only once all of them
  // exist, so running out of memory half-way leaves the tree as it was.
  XmlElement* top = nullptr;
  XmlElement* bottom = nullptr;
  while (*p) {
    const PathSegment segment = SegmentAt(p + 1);
    XmlElement* created = Create(segment.name, segment.length);
    if (!created) {
      Destroy(top);
      return kOutOfMemory;
    }
    if (bottom) {
      bottom->InsertFirst(created);
    } else {
      top = created;
    }
    bottom = created;
    p = segment.rest;
  }
  current->InsertFirst(top);
  element = bottom;
  return kOk;
}

Result XmlElement::Remove(const char16_t* path) noexcept {
  if (!path) return kNullInput;
  if (!IsWellFormedPath(path)) return kInvalidPath;
  XmlElement* parent = this;
  const char16_t* p = path;
  for (;;) {
    const PathSegment segment = SegmentAt(p + 1);
    if (!*segment.rest) {
      // The last level: unlink the first match from the raw list, where
      // comments may stand before it.
      for (XmlElement** link = &parent->first_child_; *link; link = &(*link)->next_sibling_) {
        XmlElement* child = *link;
        if (child->kind_ != XmlValueKind::kComment &&
            XmlTextEquals(child->name_, segment.name, segment.length)) {
          *link = child->next_sibling_;
          Destroy(child);
          return kOk;
        }
      }
      return kOk;
    }
    parent = parent->FindChild(segment.name, segment.length);
    if (!parent) return kOk;
    p = segment.rest;
  }
}

}  // namespace vorn
