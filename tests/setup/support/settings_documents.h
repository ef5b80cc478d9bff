// The installer's two settings documents as the tests write them.
#pragma once

#include <string>

namespace vorn::test {

struct SettingsText {
  std::string uuid = "5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36";
  std::string name = "Vorn Test Product";
  std::string version = "2.5";
  std::string tag = "Beta one";
  std::string company = "Vorn Test Company";
  std::string executable = "Product.exe";
  std::string executable_x64;  // no element when empty
  std::string description = "#ProductDescription";
  std::string distribution;  // no element when empty
  // Inner XML of the "Shortcuts" element; no element when empty.
  std::string shortcuts;
};

// "Data/Xml/Configuration.xml": the installer's own "Application" and the
// "InstallationSettings" of the product.
std::string ConfigurationXml(const SettingsText& settings);
// "Data/Xml/FileList.xml": one "Files" element with this inner XML.
std::string FileListXml(const std::string& path, const std::string& inner);
// A "File" element of the list.
std::string FileXml(const std::string& name, unsigned long long size);
// An English string file with these "String" entries (ID, text).
std::string EnglishStrings(const std::string& entries_xml);

}  // namespace vorn::test
