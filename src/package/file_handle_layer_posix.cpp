// The file handle layer's system calls on POSIX: a file descriptor in place
// of the handle, with the same result codes as on Windows.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/system_error.h"
#include "package/file_handle_layer.h"

namespace vorn {

namespace {

int Descriptor(intptr_t handle) {
  return static_cast<int>(handle);
}

}  // namespace

Result FileHandleLayer::SystemOpen(const String& path, Mode mode, intptr_t& handle) noexcept {
  Utf8Text name(path);
  if (name.Length() == 0) return kOutOfMemory;
  const int flags = mode == kReading ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
  int fd;
  do {
    fd = open(name.Text(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return ResultFromErrno(errno);
  // open() happily opens folders for reading; Windows refuses them.
  struct stat info;
  const bool known = fstat(fd, &info) == 0;
  if (!known || S_ISDIR(info.st_mode)) {
    const Result result = ResultFromErrno(known ? EACCES : errno);
    close(fd);
    return result;
  }
  handle = fd;
  return kOk;
}

Result FileHandleLayer::SystemSize(intptr_t handle, uint64_t& size) noexcept {
  const off_t here = lseek(Descriptor(handle), 0, SEEK_CUR);
  const off_t end = here < 0 ? -1 : lseek(Descriptor(handle), 0, SEEK_END);
  if (end < 0 || lseek(Descriptor(handle), here, SEEK_SET) < 0) return ResultFromErrno(errno);
  size = static_cast<uint64_t>(end);
  return kOk;
}

Result FileHandleLayer::SystemRead(intptr_t handle, void* buffer, uint32_t count,
                                   uint32_t& done) noexcept {
  done = 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (done < count) {
    const ssize_t got = read(Descriptor(handle), bytes + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ResultFromErrno(errno);
    if (got == 0) break;
    done += static_cast<uint32_t>(got);
  }
  return kOk;
}

Result FileHandleLayer::SystemWrite(intptr_t handle, const void* buffer, uint32_t count,
                                    uint32_t& done) noexcept {
  done = 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (done < count) {
    const ssize_t put = write(Descriptor(handle), bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return ResultFromErrno(errno);
    if (put == 0) break;
    done += static_cast<uint32_t>(put);
  }
  return kOk;
}

Result FileHandleLayer::SystemSeek(intptr_t handle, uint64_t offset) noexcept {
  if (lseek(Descriptor(handle), static_cast<off_t>(offset), SEEK_SET) < 0) {
    return ResultFromErrno(errno);
  }
  return kOk;
}

Result FileHandleLayer::SystemFlush(intptr_t handle) noexcept {
  return fsync(Descriptor(handle)) == 0 ? kOk : ResultFromErrno(errno);
}

Result FileHandleLayer::SystemSetModificationTime(intptr_t handle, DateTime time) noexcept {
  int64_t seconds = 0;
  int64_t nanoseconds = 0;
  time.ToUnixTime(seconds, nanoseconds);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = static_cast<long>(nanoseconds);
  return futimens(Descriptor(handle), times) == 0 ? kOk : ResultFromErrno(errno);
}

Result FileHandleLayer::SystemClose(intptr_t handle) noexcept {
  return close(Descriptor(handle)) == 0 ? kOk : ResultFromErrno(errno);
}

}  // namespace vorn
