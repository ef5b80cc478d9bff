#include "pending_output.h"

#include "file_ops.h"
#include "foundation/folder.h"
#include "interrupt_cleanup.h"
#include "tool_text.h"

namespace vornpack {

PendingOutput::PendingOutput(const std::u16string& path)
    : path_(path), temporary_(TemporarySibling(path)) {}

PendingOutput::~PendingOutput() {
  Discard();
}

vorn::Result PendingOutput::Open(std::string& error) {
  FileStatus status;
  QueryFileStatus(path_, status);
  if (status.is_folder) {
    error = ToUtf8(path_) + " is a folder";
    return vorn::kInvalidPath;
  }
  RemoveOnInterrupt(temporary_);
  vorn::Result r = file_.OpenForWriting(ToString(temporary_).Text());
  if (r != vorn::kOk) {
    ForgetOnInterrupt(temporary_);
    error = "cannot create " + ToUtf8(temporary_) + " (error " + std::to_string(r) + ")";
    return r;
  }
  open_ = true;
  temporary_exists_ = true;
  return vorn::kOk;
}

vorn::Result PendingOutput::Finish(std::string& error) {
  if (!open_) return vorn::kOk;
  vorn::Result r = file_.Flush(1);
  vorn::Result closed = file_.Close();
  open_ = false;
  if (r == vorn::kOk) r = closed;
  if (r != vorn::kOk) {
    error = "cannot write " + ToUtf8(path_) + " (error " + std::to_string(r) + ")";
    Discard();
  }
  return r;
}

vorn::Result PendingOutput::Commit(std::string& error) {
  vorn::Result r = Finish(error);
  if (r != vorn::kOk) return r;
  if (!temporary_exists_) return vorn::kNotOpen;
  if ((r = RenameReplacing(temporary_, path_)) != vorn::kOk) {
    error = "cannot replace " + ToUtf8(path_) + " (error " + std::to_string(r) + ")";
    Discard();
    return r;
  }
  temporary_exists_ = false;
  ForgetOnInterrupt(temporary_);
  return vorn::kOk;
}

void PendingOutput::Discard() {
  if (open_) file_.Close();
  open_ = false;
  if (!temporary_exists_) return;
  vorn::Folder::RemoveFile(ToString(temporary_).Text());
  ForgetOnInterrupt(temporary_);
  temporary_exists_ = false;
}

}  // namespace vornpack
