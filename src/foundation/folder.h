// The folder object: enumerates the entries of one folder, and the folder
// operations of the framework (recursive creation, removal, file deletion).
// Paths accept '/' and '\' alike; on Windows, folders are created and removed
// through their long-path form ("\\?\" + full path) so that deep trees work.
#pragma once

#include <cstdint>

#include "foundation/date_time.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// What the system reports about one entry of a folder.
struct FolderEntry {
  String name;              // as the system gives it, without a separator
  uint32_t attributes = 0;  // Windows file attributes; POSIX: the st_mode bits
  uint64_t size = 0;
  DateTime creation_time;
  DateTime last_write_time;
  bool is_folder = false;
  // A symbolic link or other reparse point; tree removal never follows one.
  bool is_link = false;
};

class Folder {
 public:
  enum RemoveOption : uint32_t {
    kRemoveOnlyFolder = 0,
    kRemoveWithShell = 1,  // the folder with all its content
    kRemoveRecursive = 2,  // the empty folder tree: files are kept
  };

  Folder() noexcept;
  explicit Folder(const char16_t* path) noexcept;
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Sets the folder to enumerate and ends any enumeration in progress. The
  // path is made to end with a separator ('\' when it holds one, else '/').
  // 31 for a null or empty path.
  Result SetPath(const char16_t* path) noexcept;
  const String& Path() const noexcept { return path_; }

  // Moves to the next entry ("." and ".." are skipped): 0 with an entry, 20
  // when there are no more (the search is then closed), or the mapped system
  // error of the search. Once finished, it keeps answering 20 until the path
  // is set again.
  Result Next() noexcept;
  // Ends the enumeration; the next call of Next starts again.
  void Close() noexcept;

  // The current entry; 4 when there is none (outputs left empty).
  // Its name, with '/' appended for a folder.
  Result EntryName(String& name) const noexcept;
  // Folder path + name, with '/' appended for a folder.
  Result EntryPath(String& path) const noexcept;
  bool EntryIsFolder() const noexcept { return state_ == kEnumerating && entry_.is_folder; }
  // Everything the system said about the current entry (sizes, times).
  const FolderEntry& Entry() const noexcept { return entry_; }

  // Creates the folder and every missing parent. Existing levels and levels
  // the process may not create (a drive root) do not stop the walk; the
  // result is that of the last level, "already exists" counting as success
  // when it is a folder. 31 for a null or empty path; 14 when the last level
  // is a file.
  static Result Create(const char16_t* path) noexcept;
  // Removes every empty folder of the tree, subfolders first; files are
  // kept, so a folder holding one stays and the result is 21. A folder that
  // is already gone counts as removed; links are kept like files. The path
  // must end with a separator (5 otherwise); a drive or file-system root, or
  // a path ending in "." or "..", is refused with 5, as written and once
  // resolved against the current folder; so is a drive-relative path
  // ("C:.\", "C:x\"), here and in every other removal.
  static Result RemoveEmptyTree(const char16_t* path) noexcept;
  // kRemoveWithShell removes the folder with all its content (Windows: the
  // shell's silent delete, 7 when it fails; POSIX: a recursive delete that
  // never follows symbolic links); kRemoveRecursive is RemoveEmptyTree; both
  // refuse roots and dot paths with 5. kRemoveOnlyFolder removes the folder
  // itself, which must be empty (29 when it is missing). The path must end
  // with a separator (5 otherwise).
  static Result Remove(const char16_t* path, uint32_t options) noexcept;
  // Deletes one file: 5 for a null or empty name, else the mapped system
  // error (29 when it is missing).
  static Result RemoveFile(const char16_t* path) noexcept;
  // True when the path names an existing folder.
  static bool Exists(const char16_t* path) noexcept;
  // The path itself when it names an existing folder, else the nearest
  // folder above it that exists (with its trailing separator); empty when
  // none does.
  static String NearestExisting(String path) noexcept;

 private:
  enum State : uint32_t { kNotStarted = 0, kEnumerating = 1, kFinished = 2 };

  // Platform half of the enumeration: opens the search and reads the first
  // entry, reads the next one, closes the search. Each fills entry_ with
  // whatever the system reports, "." and ".." included.
  Result OpenSearch() noexcept;
  Result ReadNextEntry() noexcept;
  void CloseSearch() noexcept;

  // 0 when a removal of everything below the folder may go ahead: the path
  // ends with a separator and neither it nor its resolved form is a root, a
  // dot path or drive-relative; else 5 (or the resolution's error).
  static Result JudgeTreeRemoval(const String& folder) noexcept;
  // The path as the system resolves it against the current folder ("." and
  // ".." applied); trailing separators stay.
  static Result ResolvedPath(const String& path, String& resolved) noexcept;
  // Platform primitives of the removals. Paths end with a separator.
  static Result RemoveSingleFolder(const String& path) noexcept;
  static Result RemoveSingleFile(const String& path) noexcept;
  static Result RemoveWithShell(const String& path) noexcept;
  // Removes the tree below path, deleting files and links too when asked.
  static Result RemoveTree(const String& path, bool delete_files) noexcept;

  String path_;
  void* search_ = nullptr;  // the system's find handle or directory stream
  uint32_t state_ = kNotStarted;
  FolderEntry entry_;
};

}  // namespace vorn
