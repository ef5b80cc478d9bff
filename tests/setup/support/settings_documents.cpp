#include "setup/support/settings_documents.h"

namespace vorn::test {

std::string ConfigurationXml(const SettingsText& s) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n"
      "  <Application UUID=\"11111111-2222-3333-4444-555555555555\" Name=\"Vorn Setup Test\"\n"
      "               Version=\"1.0\" Company=\"Vorn Setup Tests\" "
      "MultipleInstancesAllowed=\"true\"/>\n"
      "  <InstallationSettings>\n"
      "    <Application UUID=\"" +
      s.uuid + "\" Name=\"" + s.name + "\" Version=\"" + s.version + "\"" +
      (s.tag.empty() ? "" : " Tag=\"" + s.tag + "\"") + " Company=\"" + s.company + "\"/>\n";
  if (!s.distribution.empty()) xml += "    <Distribution>" + s.distribution + "</Distribution>\n";
  xml += "    <Executable>" + s.executable + "</Executable>\n";
  if (!s.executable_x64.empty()) {
    xml += "    <ExecutableX64>" + s.executable_x64 + "</ExecutableX64>\n";
  }
  xml += "    <Description>" + s.description +
         "</Description>\n"
         "    <Contact>contact@vorn.example</Contact>\n"
         "    <WebSite>https://vorn.example/</WebSite>\n"
         "    <Register>https://vorn.example/register</Register>\n"
         "    <TechnicalSupport>https://vorn.example/support</TechnicalSupport>\n"
         "    <Updates>https://vorn.example/updates</Updates>\n";
  if (!s.shortcuts.empty()) xml += "    <Shortcuts>" + s.shortcuts + "</Shortcuts>\n";
  return xml + "  </InstallationSettings>\n</Resources>\n";
}

std::string FileListXml(const std::string& path, const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n<Files Path=\"" + path + "\">" +
         inner + "</Files>\n</Resources>\n";
}

std::string FileXml(const std::string& name, unsigned long long size) {
  return "<File Size=\"" + std::to_string(size) + "\" Date=\"2016-03-10T12:00:00.000000Z\">" +
         name + "</File>";
}

std::string EnglishStrings(const std::string& entries_xml) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources Language=\"en\">\n" + entries_xml +
         "</Resources>\n";
}

}  // namespace vorn::test
