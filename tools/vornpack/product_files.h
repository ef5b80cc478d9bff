// The product-specific part of a new package folder, as `vornpack init`
// writes it: the configuration, the product's texts and a licence
// placeholder in every language of the installer.
#pragma once

#include <string>
#include <vector>

namespace vornpack {

struct ProductIdentity {
  std::string name;  // UTF-8, as the vendor gave them
  std::string company;
  std::string version;
  std::string tag;             // may be empty
  std::string executable;      // relative to the install folder, "\" separators
  std::string website;         // may be empty
  std::string product_uuid;    // "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
  std::string installer_uuid;  // another one: the installer's own
};

struct ProductFile {
  std::string package_path;  // "Data/Xml/Configuration.xml"
  std::string text;          // UTF-8 with a byte-order mark
};

std::vector<ProductFile> ProductFiles(const ProductIdentity& product);

// The checks on what the vendor types: false with the reason.
bool IsValidVersion(const std::string& version);
// A name that becomes a folder name (the install folder is Program Files,
// then the company, then the product): no \ / : * ? " < > |, no control
// characters, no leading or trailing blank, no trailing dot.
bool IsValidFolderName(const std::string& name, std::string& reason);
// A relative path inside the install folder: no drive, no leading
// separator, no empty or "." or ".." part, no character Windows refuses.
// `normalized` gets "\" separators.
bool IsValidRelativePath(const std::string& path, std::string& normalized, std::string& reason);
// 8-4-4-4-12 hexadecimal digits, optionally in braces; upper-cased into
// `normalized`. The all-zero UUID is refused (the installer reads it as "no
// UUID").
bool IsValidUuid(const std::string& text, std::string& normalized);
// "http://" or "https://" and a host.
bool IsValidWebsite(const std::string& url);

}  // namespace vornpack
