#include "package_plan.h"

#include <algorithm>

#include "file_list_xml.h"
#include "file_ops.h"
#include "package/path_hash.h"
#include "package_path.h"
#include "source_tree.h"
#include "tool_text.h"
#include "xml/xml_document.h"

namespace vornpack {
namespace {

bool IsInstallerXml(const std::u16string& path) {
  const std::u16string suffix = u".xml";
  return path.compare(0, 5, u"Data/") == 0 && path.size() > suffix.size() &&
         path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

Result ProductFolderPath(const std::u16string& source_folder, const std::u16string& product_folder,
                         std::u16string& package_folder, std::string& error) {
  std::u16string product = product_folder;
  FileStatus status;
  QueryFileStatus(product, status);
  if (!status.is_folder) {
    // A path relative to the source folder is understood too.
    const std::u16string inside = WithSeparator(source_folder) + product;
    QueryFileStatus(inside, status);
    if (status.is_folder) product = inside;
  }
  if (!status.is_folder) {
    error = "--file-list: " + ToUtf8(product_folder) + " is not a folder";
    return vorn::kInvalidPath;
  }
  std::u16string full_product, full_source;
  Result r = FullPath(product, full_product);
  if (r == vorn::kOk) r = FullPath(source_folder, full_source);
  if (r != vorn::kOk) {
    error = "--file-list: cannot resolve " + ToUtf8(product) + " (error " + std::to_string(r) + ")";
    return r;
  }
  for (std::u16string* p : {&full_product, &full_source}) {
    std::replace(p->begin(), p->end(), u'\\', u'/');
    *p = WithSeparator(*p);
  }
  if (full_product.size() <= full_source.size() ||
      full_product.compare(0, full_source.size(), full_source) != 0) {
    error = "--file-list: the product folder " + ToUtf8(product_folder) +
            " must lie inside the package folder " + ToUtf8(source_folder);
    return vorn::kInvalidPath;
  }
  package_folder = full_product.substr(full_source.size());
  return vorn::kOk;
}

Result CheckPathHashes(const std::vector<PackageInput>& inputs, std::string& error) {
  std::vector<std::pair<uint32_t, size_t>> hashes;
  for (size_t i = 0; i < inputs.size(); ++i) {
    const std::u16string& p = inputs[i].package_path;
    hashes.push_back({vorn::PathHash(p.c_str(), static_cast<uint32_t>(p.size())), i});
  }
  std::sort(hashes.begin(), hashes.end());
  for (size_t i = 1; i < hashes.size(); ++i) {
    if (hashes[i].first != hashes[i - 1].first) continue;
    error = "the package paths \"" + ToUtf8(inputs[hashes[i - 1].second].package_path) +
            "\" and \"" + ToUtf8(inputs[hashes[i].second].package_path) +
            "\" have the same path hash " + Hex8(hashes[i].first) +
            ", and an archive knows its files only by that hash: rename one of them";
    return vorn::kAlreadyExists;
  }
  return vorn::kOk;
}

Result CheckXml(const PackageInput& input, std::string& error) {
  std::vector<uint8_t> disk;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(input.generated.data());
  uint64_t size = input.generated.size();
  if (!input.disk_path.empty()) {
    Result r = ReadWholeFile(input.disk_path, disk);
    if (r != vorn::kOk) {
      error = "cannot read " + ToUtf8(input.disk_path) + " (error " + std::to_string(r) + ")";
      return r;
    }
    data = disk.data();
    size = disk.size();
  }
  const std::string name = ToUtf8(input.disk_path.empty() ? input.package_path : input.disk_path);
  vorn::XmlDocument document;
  Result r = size == 0 ? vorn::kInvalidSize : document.Parse(data, size);
  if (r != vorn::kOk) {
    error = name + ":" + std::to_string(document.Line()) + ":" + std::to_string(document.Column()) +
            ": not an XML document the installer can read (error " + std::to_string(r) + ")";
  }
  return r;
}

Result PlanPackage(const PlanOptions& options, std::vector<PackageInput>& inputs,
                   std::vector<std::string>& warnings, std::string& error) {
  inputs.clear();
  FileStatus status;
  QueryFileStatus(options.source_folder, status);
  if (!status.is_folder) {
    error = ToUtf8(options.source_folder) + " is not a folder";
    return vorn::kInvalidPath;
  }
  std::vector<SourceFile> files;
  std::vector<std::u16string> skipped;
  Result r = ListSourceTree(options.source_folder, options.excluded, files, skipped, error);
  if (r != vorn::kOk) return r;
  for (const std::u16string& link : skipped) {
    warnings.push_back("not following the link to a folder " + ToUtf8(link));
  }
  for (const SourceFile& file : files) {
    std::string reason;
    if (CheckPackagePath(file.package_path, reason) != vorn::kOk) {
      error = "cannot pack " + ToUtf8(file.disk_path) + ": its package path \"" +
              ToUtf8(file.package_path) + "\" is not valid in an archive: " + reason;
      return vorn::kInvalidPath;
    }
  }
  if (options.generate_file_list) {
    std::u16string product;
    if ((r = ProductFolderPath(options.source_folder, options.product_folder, product, error)) !=
        vorn::kOk)
      return r;
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const SourceFile& f) { return f.package_path == kFileListPath; }),
                files.end());
    PackageInput list;
    list.package_path = kFileListPath;
    list.generated = GenerateFileListXml(files, product);
    list.size = list.generated.size();
    const MethodChoice choice = options.methods.ChoiceFor(list.package_path);
    list.method = choice.method;
    list.sampled = choice.sampled && !list.generated.empty();
    inputs.push_back(std::move(list));
  }
  for (const SourceFile& file : files) {
    PackageInput input;
    input.package_path = file.package_path;
    input.disk_path = file.disk_path;
    input.size = file.size;
    input.last_write = file.last_write;
    const MethodChoice choice = options.methods.ChoiceFor(file.package_path);
    input.method = choice.method;
    // An empty file has nothing to sample and is stored as nothing at all.
    input.sampled = choice.sampled && file.size != 0;
    if (choice.sampled && file.size == 0) input.method = vorn::kMethodStored;
    inputs.push_back(std::move(input));
  }
  std::sort(inputs.begin(), inputs.end(), [](const PackageInput& a, const PackageInput& b) {
    return a.package_path < b.package_path;
  });
  if ((r = CheckPathHashes(inputs, error)) != vorn::kOk) {
    inputs.clear();
    return r;
  }
  for (const PackageInput& input : inputs) {
    if (IsInstallerXml(input.package_path) && (r = CheckXml(input, error)) != vorn::kOk) {
      inputs.clear();
      return r;
    }
  }
  return vorn::kOk;
}

}  // namespace vornpack
