#include "file_list_xml.h"

#include <cstdio>
#include <map>

#include "tool_text.h"

namespace vornpack {
namespace {

struct FolderNode {
  std::map<std::u16string, FolderNode> folders;
  std::vector<std::pair<std::u16string, const SourceFile*>> files;
};

std::string Escape(const std::u16string& text) {
  return EscapeXml(ToUtf8(text));
}

void WriteFolder(const FolderNode& node, const std::u16string& path, int depth, std::string& out) {
  const std::string indent(depth, '\t');
  out += indent + "<Files Path=\"" + Escape(path) + "\">\n";
  for (const auto& [name, file] : node.files) {
    out += indent + "\t<File Size=\"" + std::to_string(file->size) + "\" Date=\"" +
           IsoUtcText(file->last_write) + "\">" + Escape(name) + "</File>\n";
  }
  for (const auto& [name, child] : node.folders) WriteFolder(child, name + u"/", depth + 1, out);
  out += indent + "</Files>\n";
}

}  // namespace

std::string IsoUtcText(vorn::DateTime time) {
  if (time.IsNoDate()) time = vorn::DateTime(0);
  const vorn::CivilDateTime civil = time.ToCivil();
  // Whole seconds and microseconds from the integer value, not the civil
  // form's floating seconds, so the text is exact.
  int64_t in_minute = time.Value() % 60000000;
  if (in_minute < 0) in_minute += 60000000;
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06dZ", civil.year, civil.month,
                civil.day, civil.hours, civil.minutes, static_cast<int>(in_minute / 1000000),
                static_cast<int>(in_minute % 1000000));
  return text;
}

std::string GenerateFileListXml(const std::vector<SourceFile>& files,
                                const std::u16string& product_folder) {
  FolderNode root;
  for (const SourceFile& file : files) {
    if (file.package_path.compare(0, product_folder.size(), product_folder) != 0) continue;
    FolderNode* node = &root;
    std::u16string rest = file.package_path.substr(product_folder.size());
    for (size_t slash; (slash = rest.find(u'/')) != std::u16string::npos;) {
      node = &node->folders[rest.substr(0, slash)];
      rest = rest.substr(slash + 1);
    }
    node->files.push_back({rest, &file});
  }
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n";
  WriteFolder(root, product_folder, 1, out);
  out += "</Resources>\n";
  return out;
}

}  // namespace vornpack
