// A uniquely named folder in the temporary folder for one test, removed with
// everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

#include "foundation/string.h"

namespace vorn::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder with the platform's separator at its end.
  const String& Path() const { return path_; }
  // The folder + relative (which may use '/'), as a framework path.
  String Join(const std::u16string& relative) const;
  std::filesystem::path FsPath(const std::u16string& relative = u"") const;

  // Creates a file (and its parents) holding content.
  void WriteFile(const std::u16string& relative, const std::string& content) const;
  std::string ReadFile(const std::u16string& relative) const;

 private:
  std::filesystem::path root_;
  String path_;
};

// The text of a framework String as a std::u16string, for comparisons.
std::u16string Std(const String& text);

}  // namespace vorn::testing
