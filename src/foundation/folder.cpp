#include "foundation/folder.h"

#include <new>
#include <utility>

#include "foundation/path.h"

namespace vorn {
namespace {

// A growable array that reports allocation failure instead of throwing.
template <class T>
class ItemList {
 public:
  ItemList() noexcept = default;
  ~ItemList() { delete[] items_; }
  ItemList(ItemList&& other) noexcept { Swap(other); }
  ItemList& operator=(ItemList&& other) noexcept {
    Swap(other);
    return *this;
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;

  bool Push(T&& item) noexcept {
    if (count_ == capacity_ && !Grow()) return false;
    items_[count_++] = std::move(item);
    return true;
  }
  void Pop() noexcept { items_[--count_] = T(); }
  T& Back() noexcept { return items_[count_ - 1]; }
  T& operator[](uint32_t index) noexcept { return items_[index]; }
  uint32_t Count() const noexcept { return count_; }
  bool IsEmpty() const noexcept { return count_ == 0; }

 private:
  bool Grow() noexcept {
    const uint32_t capacity = capacity_ == 0 ? 8 : capacity_ * 2;
    T* items = new (std::nothrow) T[capacity];
    if (items == nullptr) return false;
    for (uint32_t i = 0; i < count_; ++i) items[i] = std::move(items_[i]);
    delete[] items_;
    items_ = items;
    capacity_ = capacity;
    return true;
  }
  void Swap(ItemList& other) noexcept {
    std::swap(items_, other.items_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
  }

  T* items_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

// One folder of a tree removal: its path, the subfolders still to visit and
// the first failure met below it. The walk keeps these on the heap rather
// than recursing, since a path of 32,767 units can nest thousands of
// folders and workers run on small stacks.
struct TreeFrame {
  String path;
  ItemList<String> subfolders;
  uint32_t next = 0;
  Result failure = kOk;
};

void RecordFailure(Result& failure, Result result) noexcept {
  if (failure == kOk) failure = result;
}

bool IsDotName(const String& name) noexcept {
  return name == u"." || name == u"..";
}

bool IsAsciiLetter(char16_t unit) noexcept {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// The roots and dot paths that a removal of everything below must never be
// handed: "/", "C:\", "\\?\C:\", "\\server\share\", "a/./", "../".
bool IsUnsafeToEmpty(const String& path) noexcept {
  String rest = path;
  if (rest.Length() >= 4 && rest[0] == u'\\' && rest[1] == u'\\' && rest[2] == u'?' &&
      rest[3] == u'\\') {
    rest = rest.Tail(4);
    if (rest.Length() >= 4 && (rest[0] == u'U' || rest[0] == u'u') &&
        (rest[1] == u'N' || rest[1] == u'n') && (rest[2] == u'C' || rest[2] == u'c') &&
        path::IsSeparator(rest[3])) {
      rest = u"\\\\" + rest.Tail(4);
    }
  }
  uint32_t end = rest.Length();
  while (end > 0 && path::IsSeparator(rest[end - 1])) --end;
  rest = rest.Left(end);
  if (rest.IsEmpty()) return true;
  if (rest.Length() == 2 && IsAsciiLetter(rest[0]) && rest[1] == u':') return true;
  if (IsDotName(path::FileName(rest))) return true;
  if (rest.Length() >= 2 && path::IsSeparator(rest[0]) && path::IsSeparator(rest[1])) {
    uint32_t separators = 0;
    for (uint32_t i = 2; i < rest.Length(); ++i) separators += path::IsSeparator(rest[i]) ? 1 : 0;
    return separators <= 1;  // the server or one of its shares
  }
  return false;
}

}  // namespace

Folder::Folder() noexcept = default;

Folder::Folder(const char16_t* path) noexcept {
  SetPath(path);
}

Folder::~Folder() {
  CloseSearch();
}

Result Folder::SetPath(const char16_t* path) noexcept {
  Close();
  path_ = String();
  if (path == nullptr || *path == 0) return kInvalidPath;
  path_ = path::WithTrailingSeparator(String(path));
  return path_.IsEmpty() ? kOutOfMemory : kOk;
}

void Folder::Close() noexcept {
  CloseSearch();
  state_ = kNotStarted;
  entry_ = FolderEntry();
}

Result Folder::Next() noexcept {
  if (state_ == kFinished) return kNoMoreItems;
  if (path_.IsEmpty()) return kInvalidPath;
  Result result = state_ == kNotStarted ? OpenSearch() : ReadNextEntry();
  state_ = kEnumerating;
  while (result == kOk && IsDotName(entry_.name)) result = ReadNextEntry();
  if (result != kOk) {
    CloseSearch();
    state_ = kFinished;
    entry_ = FolderEntry();
  }
  return result;
}

Result Folder::EntryName(String& name) const noexcept {
  name = String();
  if (state_ != kEnumerating) return kNotOpen;
  name = entry_.name;
  if (entry_.is_folder) name += u'/';
  return kOk;
}

Result Folder::EntryPath(String& path) const noexcept {
  path = String();
  if (state_ != kEnumerating) return kNotOpen;
  path = path_ + entry_.name;
  if (entry_.is_folder) path += u'/';
  return kOk;
}

// The text and what the system makes of it are judged alike: "C:\a\..\"
// names a dot path as written, while "C:\a\b\..\..\" only shows that it
// is the drive root once resolved.
Result Folder::JudgeTreeRemoval(const String& folder) noexcept {
  if (!path::EndsWithSeparator(folder) || path::IsDriveRelative(folder)) return kInvalidArgument;
  if (IsUnsafeToEmpty(folder)) return kInvalidArgument;
  String resolved;
  const Result result = ResolvedPath(folder, resolved);
  if (result != kOk) return result;
  return IsUnsafeToEmpty(resolved) ? kInvalidArgument : kOk;
}

Result Folder::RemoveEmptyTree(const char16_t* path) noexcept {
  if (path == nullptr) return kInvalidArgument;
  const String folder(path);
  const Result judged = JudgeTreeRemoval(folder);
  return judged != kOk ? judged : RemoveTree(folder, false);
}

// A drive-relative path ("C:x\") is refused by every removal: which folder
// it names depends on the process's current folder on that drive.
Result Folder::Remove(const char16_t* path, uint32_t options) noexcept {
  if (path == nullptr) return kInvalidArgument;
  const String folder(path);
  if (!path::EndsWithSeparator(folder) || path::IsDriveRelative(folder)) return kInvalidArgument;
  if (options == kRemoveOnlyFolder) return RemoveSingleFolder(folder);
  const Result judged = JudgeTreeRemoval(folder);
  if (judged != kOk) return judged;
  return (options & kRemoveWithShell) != 0 ? RemoveWithShell(folder) : RemoveTree(folder, false);
}

Result Folder::RemoveFile(const char16_t* path) noexcept {
  if (path == nullptr || *path == 0) return kInvalidArgument;
  const String file(path);
  if (path::IsDriveRelative(file)) return kInvalidArgument;
  return RemoveSingleFile(file);
}

// Lists the subfolders of frame.path into the frame; deletes its files and
// links when asked. Links are never entered: a link to a folder elsewhere
// must not have that folder emptied.
static void ScanFolder(TreeFrame& frame, bool delete_files, Result (*remove_file)(const String&),
                       Result (*remove_link_folder)(const String&)) noexcept {
  Folder folder;
  Result result = folder.SetPath(frame.path.Text());
  const String& base = folder.Path();
  const char16_t separator = base.IsEmpty() ? u'/' : base[base.Length() - 1];
  while (result == kOk && (result = folder.Next()) == kOk) {
    const FolderEntry& entry = folder.Entry();
    if (entry.is_folder && !entry.is_link) {
      String child = base + entry.name + separator;
      if (child.IsEmpty() || !frame.subfolders.Push(std::move(child))) {
        RecordFailure(frame.failure, kOutOfMemory);
      }
    } else if (delete_files) {
      const String target = base + entry.name;
      const Result removed =
          entry.is_folder ? remove_link_folder(target + separator) : remove_file(target);
      if (removed != kOk && removed != kNotFound) RecordFailure(frame.failure, removed);
    }
  }
  // A folder that is gone already is what the removal wants; its removal
  // below reports that as success.
  if (result != kNoMoreItems && result != kNotFound && result != kInvalidPath) {
    RecordFailure(frame.failure, result);
  }
}

Result Folder::RemoveTree(const String& path, bool delete_files) noexcept {
  ItemList<TreeFrame> stack;
  TreeFrame root;
  root.path = path;
  ScanFolder(root, delete_files, &Folder::RemoveSingleFile, &Folder::RemoveSingleFolder);
  if (!stack.Push(std::move(root))) return kOutOfMemory;
  while (true) {
    TreeFrame& top = stack.Back();
    if (top.next < top.subfolders.Count()) {
      TreeFrame child;
      child.path = std::move(top.subfolders[top.next++]);
      ScanFolder(child, delete_files, &Folder::RemoveSingleFile, &Folder::RemoveSingleFolder);
      if (!stack.Push(std::move(child))) RecordFailure(stack.Back().failure, kOutOfMemory);
      continue;
    }
    Result result = RemoveSingleFolder(top.path);
    if (result == kNotFound) result = kOk;  // already gone
    if (top.failure != kOk) result = top.failure;
    stack.Pop();
    if (stack.IsEmpty()) return result;
    if (result != kOk) RecordFailure(stack.Back().failure, result);
  }
}

String Folder::NearestExisting(String path) noexcept {
  while (!path.IsEmpty() && !Exists(path.Text())) {
    path = path::FolderPart(path.Left(path.Length() - 1));
  }
  return path;
}

}  // namespace vorn
