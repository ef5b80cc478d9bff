#include "setup/support/transfer_package.h"

#include "package/archive_writer.h"
#include "package/package_file_system.h"
#include "setup/support/xml_package.h"

namespace vorn::test {

namespace {

std::u16string Wide(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::vector<uint8_t> Utf8Document(const std::string& text) {
  std::vector<uint8_t> bytes = {0xEF, 0xBB, 0xBF};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char unit : text) {
    if (unit == '&') {
      escaped += "&amp;";
    } else if (unit == '<') {
      escaped += "&lt;";
    } else {
      escaped += unit;
    }
  }
  return escaped;
}

}  // namespace

std::vector<uint8_t> ProductFileContent(const std::string& relative_path, uint64_t size) {
  uint32_t state = 2166136261u;
  for (char unit : relative_path) state = (state ^ static_cast<uint8_t>(unit)) * 16777619u;
  std::vector<uint8_t> bytes(size);
  for (uint64_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] = static_cast<uint8_t>(state >> 24);
  }
  return bytes;
}

void GatedStream::Open(const std::vector<uint8_t>& bytes) {
  memory_.Open(bytes.data(), bytes.size(), MemoryStream::kReading);
}

void GatedStream::SetBudget(uint64_t bytes) {
  std::lock_guard<std::mutex> guard(mutex_);
  budget_ = bytes;
  changed_.notify_all();
}

bool GatedStream::IsWaiting() {
  std::lock_guard<std::mutex> guard(mutex_);
  return waiting_;
}

Result GatedStream::Read(void* buffer, uint32_t count) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (budget_ != kUnlimited) {
      waiting_ = budget_ < count;
      changed_.wait(lock, [&] { return budget_ >= count; });
      waiting_ = false;
      if (budget_ != kUnlimited) budget_ -= count;
    }
  }
  return memory_.Read(buffer, count);
}

void TransferPackage::AddProductFile(const std::string& relative_path, uint64_t size,
                                     bool in_archive) {
  product_.push_back({relative_path, size, in_archive});
}

void TransferPackage::AddDocument(const std::u16string& path, std::vector<uint8_t> bytes) {
  documents_.emplace_back(path, std::move(bytes));
}

void TransferPackage::AddSettings(const SettingsText& settings) {
  AddDocument(u"Data/Xml/Configuration.xml", Utf8Document(ConfigurationXml(settings)));
  std::string inner;
  for (const ProductFile& file : product_) {
    inner += "<File Size=\"" + std::to_string(file.size) + "\" Date=\"" + kProductFileDate + "\">" +
             Escaped(file.relative_path) + "</File>";
  }
  AddDocument(u"Data/Xml/FileList.xml", Utf8Document(FileListXml("Product/", inner)));
}

uint64_t TransferPackage::TotalSize() const {
  uint64_t total = 0;
  for (const ProductFile& file : product_) total += file.size;
  return total;
}

Result TransferPackage::MountIn(PackageFileSystem& files) {
  std::vector<ArchiveFile> entries;
  for (const auto& document : documents_) {
    entries.push_back(
        {document.first, document.second.data(), document.second.size(), kMethodDeflate});
  }
  std::vector<std::vector<uint8_t>> contents;
  contents.reserve(product_.size());
  for (const ProductFile& file : product_) {
    if (!file.in_archive) continue;
    contents.push_back(ProductFileContent(file.relative_path, file.size));
    // Stored, so that the gate counts the product's own bytes.
    entries.push_back({u"Product/" + Wide(file.relative_path), contents.back().data(),
                       contents.back().size(), kMethodStored});
  }
  const Result result = WriteTestArchive(entries, archive_);
  if (result != kOk) return result;
  gate_.Open(archive_);
  return files.Mount(&gate_);
}

Result InstallableProduct::Prepare(const std::vector<std::u16string>& documents) {
  Result result = package.MountIn(files);
  if (result != kOk) return result;
  resources = std::make_unique<ResourceManager>(files);
  std::vector<std::u16string> all = {u"Data/Xml/Configuration.xml", u"Data/Xml/FileList.xml"};
  all.insert(all.end(), documents.begin(), documents.end());
  for (const std::u16string& document : all) {
    result = resources->RegisterDocument(document.c_str());
    if (result != kOk) return result;
  }
  settings.Build(*resources);
  return kOk;
}

}  // namespace vorn::test
