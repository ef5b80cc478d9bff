#include "archive_names.h"

#include "package/path_hash.h"
#include "package_path.h"
#include "xml/xml_document.h"

namespace vornpack {
namespace {

const char16_t* const kLanguages[] = {u"en", u"fr", u"es", u"pt", u"ru", u"de",
                                      u"it", u"zh", u"ar", u"ja", u"ko"};
const char16_t* const kReferencePrefixes[] = {u"res:picture:", u"res:file:", u"res:xml:document:"};

uint32_t HashOf(const std::u16string& path) {
  return vorn::PathHash(path.c_str(), static_cast<uint32_t>(path.size()));
}

std::u16string Trimmed(const char16_t* text) {
  std::u16string s = text ? text : u"";
  const size_t begin = s.find_first_not_of(u" \t\r\n");
  if (begin == std::u16string::npos) return u"";
  return s.substr(begin, s.find_last_not_of(u" \t\r\n") - begin + 1);
}

bool EndsWith(const std::u16string& s, const std::u16string& suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The file list's paths: nested Files elements glue their Path values to
// the parent's prefix, File texts are names (the installer's own rule).
void CollectFileList(const vorn::XmlElement* files, const std::u16string& prefix,
                     std::vector<std::u16string>& out) {
  const vorn::XmlAttribute* path = files->FindAttribute(u"Path");
  const std::u16string here = prefix + (path && path->Value() ? path->Value() : u"");
  for (const vorn::XmlElement* child = files->FirstChild(); child; child = child->NextSibling()) {
    const std::u16string name = child->Name() ? child->Name() : u"";
    if (name == u"Files") {
      CollectFileList(child, here, out);
    } else if (name == u"File" && child->ValueText()) {
      out.push_back(here + child->ValueText());
    }
  }
}

// Every attribute value and text of the tree, as written.
void CollectTexts(const vorn::XmlElement* node, std::vector<std::u16string>& out) {
  for (const vorn::XmlAttribute* a = node->FirstAttribute(); a; a = a->Next()) {
    out.push_back(Trimmed(a->Value()));
  }
  if (node->ValueText()) out.push_back(Trimmed(node->ValueText()));
  for (const vorn::XmlElement* child = node->FirstNode(); child; child = child->NextNode()) {
    CollectTexts(child, out);
  }
}

}  // namespace

std::vector<std::u16string> KnownPackageNames() {
  std::vector<std::u16string> names;
  for (const char16_t* file : {u"Configuration", u"FileList", u"Windows", u"Dialogs",
                               u"Preferences", u"VornLib-Resources"}) {
    names.push_back(std::u16string(u"Data/Xml/") + file + u".xml");
  }
  for (const char16_t* role : {u"VornLib-Strings-", u"VornSetup-Strings-",
                               u"VornSetup-Custom-Strings-", u"VornSetup-License-"}) {
    for (const char16_t* language : kLanguages) {
      names.push_back(std::u16string(u"Data/Xml/") + role + language + u".xml");
    }
  }
  return names;
}

const std::u16string* ArchiveNames::NameOf(uint32_t hash) const {
  auto it = names_.find(hash);
  return it == names_.end() ? nullptr : &it->second;
}

void ArchiveNames::Consider(const std::u16string& candidate) {
  std::u16string path = candidate;
  for (const char16_t* prefix : kReferencePrefixes) {
    const std::u16string p = prefix;
    if (path.compare(0, p.size(), p) == 0) path = path.substr(p.size());
  }
  std::string reason;
  if (path.size() > 1024 || CheckPackagePath(path, reason) != vorn::kOk) return;
  const uint32_t hash = HashOf(path);
  if (rows_.count(hash) == 0 || names_.count(hash) != 0) return;
  names_[hash] = path;
  pending_.push_back(path);
}

void ArchiveNames::Harvest(const std::u16string& path, const uint8_t* data, uint64_t size,
                           const ArchiveLayout& layout) {
  const WalkedEntry* entry = layout.EntryAt(rows_[HashOf(path)]);
  std::vector<uint8_t> content;
  std::string error;
  if (entry == nullptr || entry->header.unpacked_size > (64u << 20) ||
      ReadEntry(data, size, *entry, content, error) != vorn::kOk || content.empty()) {
    return;
  }
  vorn::XmlDocument document;
  if (document.Parse(content.data(), content.size()) != vorn::kOk) return;
  const vorn::XmlElement* root = document.RootElement();
  if (root == nullptr) return;
  std::vector<std::u16string> found;
  for (const vorn::XmlElement* child = root->FirstChild(); child; child = child->NextSibling()) {
    if (child->Name() && std::u16string(child->Name()) == u"Files") {
      CollectFileList(child, u"", found);
    }
  }
  CollectTexts(root, found);
  for (const std::u16string& candidate : found) Consider(candidate);
}

void ArchiveNames::Resolve(const uint8_t* data, uint64_t size, const ArchiveLayout& layout) {
  rows_.clear();
  names_.clear();
  pending_.clear();
  for (const vorn::DirectoryRow& row : layout.rows) rows_[row.hash] = row.offset;
  for (const std::u16string& name : KnownPackageNames()) Consider(name);
  // Each named XML document may name more files, XML documents among them.
  while (!pending_.empty()) {
    const std::u16string path = pending_.back();
    pending_.pop_back();
    if (EndsWith(path, u".xml")) Harvest(path, data, size, layout);
  }
}

}  // namespace vornpack
