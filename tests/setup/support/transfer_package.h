// A product package for the file-transfer tests: product files with known
// contents and dates under "Product/", their file list and configuration,
// and any other documents, in one archive read through a stream that the
// test can hold back after a number of bytes (to catch the copy midway).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "foundation/result.h"
#include "package/memory_stream.h"
#include "package/package_file_system.h"
#include "package/stream.h"
#include "resources/resource_manager.h"
#include "setup/installation_settings.h"
#include "setup/support/settings_documents.h"

namespace vorn::test {

// The date every product file carries in the list, and its Unix time.
inline constexpr const char* kProductFileDate = "2021-03-04T05:06:07.000000Z";
inline constexpr int64_t kProductFileUnixTime = 1614834367;

// The bytes of a product file: a pattern that differs from file to file.
std::vector<uint8_t> ProductFileContent(const std::string& relative_path, uint64_t size);

// A memory stream whose reads stop once the budget is spent, until the test
// gives more (or lifts the limit).
class GatedStream : public Stream {
 public:
  static constexpr uint64_t kUnlimited = ~uint64_t{0};

  void Open(const std::vector<uint8_t>& bytes);
  // Reads may take `bytes` more bytes, then wait.
  void SetBudget(uint64_t bytes);
  // Whether a read is waiting for budget.
  bool IsWaiting();

  Result Close() override { return memory_.Close(); }
  Result Read(void* buffer, uint32_t count) override;
  Result Write(const void* buffer, uint32_t count) override { return memory_.Write(buffer, count); }
  Result Flush(int durable) override { return memory_.Flush(durable); }
  uint64_t Position() override { return memory_.Position(); }
  Result Seek(uint64_t offset) override { return memory_.Seek(offset); }
  uint64_t Size() override { return memory_.Size(); }
  String Describe() override { return memory_.Describe(); }

 private:
  MemoryStream memory_;
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t budget_ = kUnlimited;
  bool waiting_ = false;
};

class TransferPackage {
 public:
  // A product file listed under "Product/" (the path may hold folders, and
  // may be anything a list could hold); `in_archive` false lists it only.
  void AddProductFile(const std::string& relative_path, uint64_t size, bool in_archive = true);
  // Any other document, stored as given.
  void AddDocument(const std::u16string& path, std::vector<uint8_t> bytes);
  // Configuration.xml from `settings`, FileList.xml of the product files.
  void AddSettings(const SettingsText& settings);

  // Writes the archive and mounts it through the gate; the package must
  // outlive `files`.
  Result MountIn(PackageFileSystem& files);
  GatedStream& Gate() { return gate_; }

  uint64_t TotalSize() const;

 private:
  struct ProductFile {
    std::string relative_path;
    uint64_t size;
    bool in_archive;
  };
  std::vector<ProductFile> product_;
  std::vector<std::pair<std::u16string, std::vector<uint8_t>>> documents_;
  std::vector<uint8_t> archive_;
  GatedStream gate_;
};

// The package mounted in a file system of its own, its documents
// registered with a resource manager, and the settings built from them.
struct InstallableProduct {
  // Mounts, registers Configuration.xml, FileList.xml and `documents`, and
  // builds the settings.
  Result Prepare(const std::vector<std::u16string>& documents = {});

  TransferPackage package;
  PackageFileSystem files;
  std::unique_ptr<ResourceManager> resources;
  InstallationSettings settings;
};

}  // namespace vorn::test
