// An output file written under a temporary name in its own folder and
// renamed over the real name only when complete, so that a failed or
// interrupted run never leaves a partial file where a good one is
// expected. Until Commit, destroying the object removes the temporary file.
#pragma once

#include <string>

#include "foundation/result.h"
#include "package/file_stream.h"

namespace vornpack {

class PendingOutput {
 public:
  explicit PendingOutput(const std::u16string& path);
  ~PendingOutput();
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  // Creates the temporary file for writing.
  vorn::Result Open(std::string& error);
  vorn::FileStream& Stream() { return file_; }
  // Flushes and closes the temporary file, which stays under its temporary
  // name (extraction renames all its files only once every one is written).
  vorn::Result Finish(std::string& error);
  // Finishes and renames the file to its real name.
  vorn::Result Commit(std::string& error);
  // Closes and removes the temporary file.
  void Discard();

  const std::u16string& Path() const { return path_; }
  const std::u16string& TemporaryPath() const { return temporary_; }

 private:
  std::u16string path_;
  std::u16string temporary_;
  vorn::FileStream file_;
  bool open_ = false;
  bool temporary_exists_ = false;
};

}  // namespace vornpack
