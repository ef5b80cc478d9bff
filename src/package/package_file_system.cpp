#include "package/package_file_system.h"

#include <cstdlib>
#include <new>

namespace vorn {

PackageFileStream::~PackageFileStream() {
  Close();
}

Result PackageFileStream::Close() noexcept {
  if (entry_ == nullptr) return kNullOutput;
  Result result = archive_->CloseEntry(entry_);
  entry_ = nullptr;
  return result;
}

Result PackageFileStream::Read(void* buffer, uint32_t count) noexcept {
  return entry_ != nullptr ? entry_->Read(buffer, count) : kNullOutput;
}

Result PackageFileStream::Write(const void* buffer, uint32_t count) noexcept {
  return entry_ != nullptr ? entry_->Write(buffer, count) : kNullOutput;
}

Result PackageFileStream::Flush(int durable) noexcept {
  return entry_ != nullptr ? entry_->Flush(durable) : kNullOutput;
}

uint64_t PackageFileStream::Position() noexcept {
  return entry_ != nullptr ? entry_->Position() : 0;
}

Result PackageFileStream::Seek(uint64_t offset) noexcept {
  return entry_ != nullptr ? entry_->Seek(offset) : kNullOutput;
}

uint64_t PackageFileStream::Size() noexcept {
  return entry_ != nullptr ? entry_->Size() : 0;
}

String PackageFileStream::Describe() noexcept {
  return entry_ != nullptr ? entry_->Describe() : String(u"SubStream(n/a)");
}

PackageFileSystem& PackageFileSystem::Instance() noexcept {
  // A function-local static: created once even when several threads ask
  // first, and destroyed at process exit.
  static PackageFileSystem instance(WithEmbedded::kYes);
  return instance;
}

PackageFileSystem::PackageFileSystem(WithEmbedded) noexcept {
  // A missing or corrupt embedded package leaves the file system empty; the
  // first file someone needs then reports its own failure.
  embedded_result_ = MountEmbedded();
}

PackageFileSystem::~PackageFileSystem() {
  while (archives_ != nullptr) {
    Mounted* next = archives_->next;
    delete archives_;
    archives_ = next;
  }
}

Result PackageFileSystem::Push(Mounted* mounted, Stream* source) noexcept {
  Result result = mounted->archive.Mount(source);
  if (result != kOk) {
    delete mounted;
    return result;
  }
  mounted->source = source;
  LockGuard guard(lock_);
  mounted->next = archives_;
  archives_ = mounted;
  return kOk;
}

Result PackageFileSystem::Mount(Stream* source) noexcept {
  if (source == nullptr) return kInvalidArgument;
  Mounted* mounted = new (std::nothrow) Mounted();
  if (mounted == nullptr) return kOutOfMemory;
  return Push(mounted, source);
}

Result PackageFileSystem::MountMemory(const void* data, uint64_t size) noexcept {
  Mounted* mounted = new (std::nothrow) Mounted();
  if (mounted == nullptr) return kOutOfMemory;
  Result result = mounted->memory.Open(data, size, MemoryStream::kReading);
  if (result != kOk) {
    delete mounted;
    return result;
  }
  return Push(mounted, &mounted->memory);
}

Result PackageFileSystem::MountFile(const char16_t* path) noexcept {
  Mounted* mounted = new (std::nothrow) Mounted();
  if (mounted == nullptr) return kOutOfMemory;
  Result result = mounted->file.OpenForReading(path);
  if (result != kOk) {
    delete mounted;
    return result;
  }
  return Push(mounted, &mounted->file);
}

Result PackageFileSystem::MountFileRange(const char16_t* path, uint64_t offset,
                                         uint64_t size) noexcept {
  Mounted* mounted = new (std::nothrow) Mounted();
  if (mounted == nullptr) return kOutOfMemory;
  Result result = mounted->file.OpenForReading(path);
  if (result == kOk) result = mounted->window.Open(&mounted->file, offset, size);
  if (result != kOk) {
    delete mounted;
    return result;
  }
  return Push(mounted, &mounted->window);
}

uint32_t PackageFileSystem::ArchiveCount() noexcept {
  LockGuard guard(lock_);
  uint32_t count = 0;
  for (Mounted* m = archives_; m != nullptr; m = m->next) ++count;
  return count;
}

String PackageFileSystem::Describe() noexcept {
  LockGuard guard(lock_);
  String lines;
  for (Mounted* m = archives_; m != nullptr; m = m->next) {
    if (!lines.IsEmpty()) lines.Append(u"\n");
    lines.Append(m->source->Describe());
  }
  return lines;
}

Result PackageFileSystem::Open(const char16_t* path, Stream*& stream) noexcept {
  stream = nullptr;
  if (path == nullptr || path[0] == 0) return kInvalidPath;
  LockGuard guard(lock_);
  for (Mounted* m = archives_; m != nullptr; m = m->next) {
    SubStream* entry = nullptr;
    Result result = m->archive.OpenEntry(path, entry);
    if (result == kNotFound) continue;
    if (result != kOk) return result;
    stream = new (std::nothrow) PackageFileStream(&m->archive, entry);
    if (stream == nullptr) {
      m->archive.CloseEntry(entry);
      return kOutOfMemory;
    }
    return kOk;
  }
  return kNotFound;
}

Result PackageFileSystem::ReadAll(const char16_t* path, uint8_t*& buffer, uint64_t& size) noexcept {
  buffer = nullptr;
  size = 0;
  Stream* stream = nullptr;
  Result result = Open(path, stream);
  if (result != kOk) return result;
  const uint64_t length = stream->Size();
  // One Read takes at most 4 GiB - 1, and the buffer must fit the address
  // space.
  if ((length >> 32) != 0 || length > SIZE_MAX) {
    delete stream;
    return kInvalidSize;
  }
  uint8_t* bytes = nullptr;
  if (length != 0) {
    bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length)));
    if (bytes == nullptr) {
      delete stream;
      return kOutOfMemory;
    }
    result = stream->Read(bytes, static_cast<uint32_t>(length));
  }
  delete stream;
  if (result != kOk) {
    std::free(bytes);
    return result;
  }
  buffer = bytes;
  size = length;
  return kOk;
}

}  // namespace vorn
