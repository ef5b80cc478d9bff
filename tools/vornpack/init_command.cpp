// vornpack init DIR --name NAME --company COMPANY --version VERSION
//               --executable RELATIVE_PATH [--tag TAG] [--uuid UUID] [--website URL] [--force]
#include "command_line.h"
#include "commands.h"
#include "created_folders.h"
#include "file_ops.h"
#include "foundation/folder.h"
#include "help_text.h"
#include "pending_output.h"
#include "product_files.h"
#include "source_tree.h"
#include "standard_package.h"
#include "system_info.h"
#include "tool_text.h"

namespace vornpack {
namespace {

const std::vector<OptionSpec> kInitOptions = {
    {"--name", nullptr, true},       {"--company", nullptr, true}, {"--version", nullptr, true},
    {"--executable", nullptr, true}, {"--tag", nullptr, true},     {"--uuid", nullptr, true},
    {"--website", nullptr, true},    {"--force", nullptr, false},
};

constexpr char kProductFolder[] = "Product";

// Whether the folder holds anything at all (an empty sub-folder counts).
bool HasEntries(const std::u16string& folder) {
  vorn::Folder listing(ToString(folder).Text());
  return listing.Next() == vorn::kOk;
}

// The command line's product, checked; false with the message for the user.
bool ReadIdentity(const ParsedCommand& command, ProductIdentity& product, std::string& error) {
  for (const char* required : {"--name", "--company", "--version", "--executable"}) {
    if (command.Value(required).empty()) {
      error = std::string("init needs ") + required;
      return false;
    }
  }
  product.name = command.Value("--name");
  product.company = command.Value("--company");
  product.version = command.Value("--version");
  product.tag = command.Value("--tag");
  product.website = command.Value("--website");
  std::string reason;
  if (!IsValidFolderName(product.name, reason)) {
    error = "--name \"" + product.name + "\" " + reason + "; it names the install folder";
    return false;
  }
  if (!IsValidFolderName(product.company, reason)) {
    error = "--company \"" + product.company + "\" " + reason + "; it names a folder";
    return false;
  }
  if (command.Has("--tag") && !IsValidFolderName(product.tag, reason)) {
    error = "--tag \"" + product.tag + "\" " + reason + "; it is part of the install folder's name";
    return false;
  }
  if (!IsValidVersion(product.version)) {
    error = "--version \"" + product.version +
            "\" is not one to four numbers joined by dots (1.0, 2.3.1)";
    return false;
  }
  if (!IsValidRelativePath(command.Value("--executable"), product.executable, reason)) {
    error = "--executable \"" + command.Value("--executable") + "\" " + reason;
    return false;
  }
  if (command.Has("--website") && !IsValidWebsite(product.website)) {
    error = "--website \"" + product.website + "\" is not an http:// or https:// address";
    return false;
  }
  if (command.Has("--uuid") && !IsValidUuid(command.Value("--uuid"), product.product_uuid)) {
    error = "--uuid \"" + command.Value("--uuid") +
            "\" is not a UUID (XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX, hexadecimal, not all zero)";
    return false;
  }
  return true;
}

// Fresh identifiers for what the command line left open: the product's UUID
// unless given, and always the installer's own, which must differ from it.
bool MakeIdentifiers(ProductIdentity& product, std::string& error) {
  for (std::string* uuid : {&product.product_uuid, &product.installer_uuid}) {
    while (uuid->empty() || product.installer_uuid == product.product_uuid) {
      vorn::Guid guid;
      if (!NewRandomGuid(guid)) {
        error = "the system gave no random numbers for a new UUID (give one with --uuid)";
        return false;
      }
      *uuid = ToUtf8(vorn::GuidToText(guid));
    }
  }
  return true;
}

vorn::Result WriteOne(const std::u16string& path, const uint8_t* data, size_t size,
                      std::string& error) {
  PendingOutput output(path);
  vorn::Result r = output.Open(error);
  for (size_t done = 0; r == vorn::kOk && done < size;) {
    const uint32_t part = static_cast<uint32_t>(size - done < (1u << 20) ? size - done : 1u << 20);
    r = output.Stream().Write(data + done, part);
    if (r != vorn::kOk)
      error = "cannot write " + ToUtf8(path) + " (error " + std::to_string(r) + ")";
    done += part;
  }
  if (r != vorn::kOk) {
    output.Discard();
    return r;
  }
  return output.Commit(error);
}

}  // namespace

int RunInitCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, kInitOptions, command, error)) return UsageError(out, "init", error);
  if (command.help) {
    out.Out(CommandHelp("init"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) {
    return UsageError(out, "init", "init takes one folder to write the package into");
  }
  ProductIdentity product;
  if (!ReadIdentity(command, product, error)) return UsageError(out, "init", error);

  const std::string& name = command.operands[0];
  const std::u16string folder = WithSeparator(FromUtf8(name));
  FileStatus status;
  QueryFileStatus(FromUtf8(name), status);
  if (status.exists && !status.is_folder) {
    return Failure(out, name + " is a file, not a folder: nothing written");
  }
  if (status.exists && HasEntries(folder) && !command.Has("--force")) {
    return Failure(out, name +
                            " is not empty: nothing written (init starts a new package folder; "
                            "--force writes into this one, replacing the package files it holds)");
  }
  if (!MakeIdentifiers(product, error)) return Failure(out, error);

  size_t count = 0;
  const EmbeddedFile* standard = StandardPackageFiles(count);
  std::vector<std::pair<std::string, std::string>> files;  // package path, content
  for (size_t i = 0; i < count; ++i) {
    files.push_back(
        {standard[i].package_path,
         std::string(reinterpret_cast<const char*>(standard[i].data), standard[i].size)});
  }
  for (ProductFile& file : ProductFiles(product)) {
    files.push_back({file.package_path, std::move(file.text)});
  }

  CreatedFolders created;
  vorn::Result r = created.Ensure(folder + FromUtf8(kProductFolder) + u"/", error);
  for (size_t i = 0; r == vorn::kOk && i < files.size(); ++i) {
    const std::u16string path = folder + FromUtf8(files[i].first);
    r = created.Ensure(path.substr(0, path.find_last_of(u'/') + 1), error);
    if (r == vorn::kOk) {
      r = WriteOne(path, reinterpret_cast<const uint8_t*>(files[i].second.data()),
                   files[i].second.size(), error);
    }
  }
  if (r != vorn::kOk) {
    // Folders this run made go again once empty; files it already wrote
    // into a folder that was new or empty are its own and go with them.
    if (!status.exists || !command.Has("--force")) {
      for (const auto& file : files) {
        vorn::Folder::RemoveFile(ToString(folder + FromUtf8(file.first)).Text());
      }
    }
    created.RemoveAll();
    return Failure(out, error);
  }
  bool has_pictures = false;
  for (size_t i = 0; i < count; ++i) {
    has_pictures =
        has_pictures || std::string(standard[i].package_path).rfind("Data/Pictures/", 0) == 0;
  }
  if (!has_pictures) {
    Warning(out,
            "this vornpack was built without the installer's pictures: copy Data/Pictures/ "
            "from a build's setup-package folder");
  }
  out.Out(name + ": package folder for " + product.name + " " + product.version + " (" +
          std::to_string(files.size()) + " files, product UUID " + product.product_uuid + ")\n" +
          "Next: copy the product's files into " + ToUtf8(folder) + kProductFolder + " (with " +
          product.executable + "), then\n" + "  vornpack build " + name + " -o " +
          "Product.kelp --file-list " + ToUtf8(folder) + kProductFolder + "\n" +
          "  vornpack setup --package Product.kelp -o Setup.exe\n");
  return kExitSuccess;
}

}  // namespace vornpack
