#include "package_checker.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "description_rules.h"
#include "file_list_xml.h"
#include "file_ops.h"
#include "foundation/guid.h"
#include "package_plan.h"
#include "resources/picture.h"
#include "resources/picture_loader.h"
#include "source_tree.h"
#include "tool_text.h"
#include "ui/color.h"

namespace vornpack {
namespace {

using vorn::XmlElement;

constexpr char16_t kConfigurationPath[] = u"Data/Xml/Configuration.xml";
constexpr char16_t kDefaultProductFolder[] = u"Product/";

struct XmlFile {
  std::u16string package_path;
  std::string display;
  std::unique_ptr<XmlSource> source;
};

struct KeyUse {
  const XmlFile* file;
  const XmlElement* element;
};

std::string Quoted(const std::u16string& text) {
  return "\"" + ToUtf8(text) + "\"";
}

std::u16string NameOf(const XmlElement* element) {
  return element->Name() == nullptr ? std::u16string() : std::u16string(element->Name());
}

std::u16string Folded(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return text;
}

bool EndsWith(const std::u16string& text, const std::u16string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class Checker {
 public:
  Checker(const PackageCheck& check, std::vector<PackageProblem>& problems)
      : check_(check), problems_(problems), root_(WithSeparator(check.folder)) {}

  void Run() {
    std::vector<std::u16string> skipped;
    std::string error;
    if (ListSourceTree(check_.folder, {}, files_, skipped, error) != vorn::kOk) {
      problems_.push_back({ToUtf8(check_.folder), {}, error});
      return;
    }
    for (const SourceFile& file : files_) {
      paths_.insert(file.package_path);
      folded_paths_.insert(Folded(file.package_path));
    }
    FindProductFolder();
    LoadXmlFiles();
    for (const XmlFile& file : xml_) {
      const XmlElement* root = file.source->Root();
      if (AttributeOf(root, u"Language") != nullptr) {
        CollectStrings(file);
      } else if (file.package_path == kConfigurationPath) {
        CheckConfiguration(file);
      } else if (file.package_path != kFileListPath) {
        CheckDescriptions(file);
      }
    }
    if (paths_.count(kConfigurationPath) == 0) {
      problems_.push_back({ToUtf8(root_ + kConfigurationPath),
                           {},
                           "missing: the installer learns what it installs from this file"});
    }
    CheckKeys();
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const PackageProblem& a, const PackageProblem& b) {
                       if (a.file != b.file) return a.file < b.file;
                       if (a.where.line != b.where.line) return a.where.line < b.where.line;
                       return a.where.column < b.where.column;
                     });
  }

 private:
  void Report(const XmlFile& file, const XmlElement* element, const std::string& message) {
    problems_.push_back({file.display, file.source->PositionOf(element), message});
  }

  // The package path of the product folder, with its trailing "/".
  void FindProductFolder() {
    product_ = kDefaultProductFolder;
    if (!check_.product_folder.empty()) {
      std::string error;
      if (ProductFolderPath(check_.folder, check_.product_folder, product_, error) != vorn::kOk) {
        problems_.push_back({ToUtf8(check_.product_folder), {}, error});
        product_ = kDefaultProductFolder;
      }
      generated_file_list_ = true;
      return;
    }
    if (paths_.count(kFileListPath) == 0) return;
    XmlSource list;
    std::string message;
    SourcePosition where;
    if (!list.Load(root_ + kFileListPath, message, where)) return;  // reported with the others
    const XmlElement* files = ChildNamed(list.Root(), u"Files");
    const char16_t* path = files == nullptr ? nullptr : AttributeOf(files, u"Path");
    if (path != nullptr && *path != 0) {
      product_ = path;
      std::replace(product_.begin(), product_.end(), u'\\', u'/');
      product_ = WithSeparator(product_);
    }
  }

  void LoadXmlFiles() {
    for (const SourceFile& file : files_) {
      const std::u16string& path = file.package_path;
      if (path.compare(0, 5, u"Data/") != 0 || !EndsWith(path, u".xml")) continue;
      // `build --file-list` writes a new file list: the old one is not packed.
      if (generated_file_list_ && path == kFileListPath) continue;
      XmlFile loaded{path, ToUtf8(file.disk_path), std::make_unique<XmlSource>()};
      std::string message;
      SourcePosition where;
      if (!loaded.source->Load(file.disk_path, message, where)) {
        problems_.push_back({loaded.display, where, message});
        continue;
      }
      const XmlElement* root = loaded.source->Root();
      if (NameOf(root) != u"Resources") {
        Report(loaded, root,
               "the root element is <" + ToUtf8(NameOf(root)) +
                   ">; the installer reads only the children of <Resources>");
        continue;
      }
      xml_.push_back(std::move(loaded));
    }
  }

  void CollectStrings(const XmlFile& file) {
    const XmlElement* root = file.source->Root();
    std::set<std::u16string>& keys =
        strings_[ToUtf8(std::u16string(AttributeOf(root, u"Language")))];
    for (const XmlElement* entry = root->FirstChild(); entry; entry = entry->NextSibling()) {
      if (NameOf(entry) != u"String") continue;
      const char16_t* id = AttributeOf(entry, u"ID");
      if (id == nullptr) {
        Report(file, entry, "a <String> without ID is never found");
        continue;
      }
      keys.insert(id);
    }
  }

  void UseKey(const XmlFile& file, const XmlElement* element, const std::u16string& text) {
    if (text.size() < 1 || text[0] != u'#' || (text.size() > 1 && text[1] == u'#')) return;
    const std::u16string key = text.substr(1);
    if (keys_used_.count(key) == 0) {
      keys_used_[key] = KeyUse{&file, element};
      key_order_.push_back(key);
    }
  }

  // Every text that reaches the user: element texts and the attributes that
  // hold texts, anywhere in the file (menus and message boxes included).
  void CollectKeys(const XmlFile& file, const XmlElement* element) {
    UseKey(file, element, TextOf(element));
    for (const vorn::XmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
      if (IsLocalizedAttribute(a->Name())) UseKey(file, element, a->Value());
    }
    for (const XmlElement* child = element->FirstChild(); child; child = child->NextSibling()) {
      if (child->Name() != nullptr) CollectKeys(file, child);
    }
  }

  void CheckDescriptions(const XmlFile& file) {
    const XmlElement* root = file.source->Root();
    for (const XmlElement* top = root->FirstChild(); top; top = top->NextSibling()) {
      const std::u16string name = NameOf(top);
      if (IsTopLevelWindow(name)) {
        CheckWindow(file, top);
      } else if (name == u"MessageBox") {
        CheckMessageBox(file, top);
      }
      if (!name.empty()) CollectKeys(file, top);
    }
  }

  void CheckWindow(const XmlFile& file, const XmlElement* window) {
    const std::u16string kind = NameOf(window);
    CheckAttributes(file, window);
    for (const XmlElement* child = window->FirstChild(); child; child = child->NextSibling()) {
      const std::u16string name = NameOf(child);
      if (name.empty()) continue;
      if (kind == u"ComboBox" && name == u"Item") continue;  // the list's entries
      if (!IsWindowType(name)) {
        Report(file, child,
               "<" + ToUtf8(name) + "> is not a window type: the window is not created and <" +
                   ToUtf8(kind) + "> fails to load");
        continue;
      }
      CheckWindow(file, child);
    }
  }

  void CheckMessageBox(const XmlFile& file, const XmlElement* box) {
    CheckAttributes(file, box);
    for (const XmlElement* part = box->FirstChild(); part; part = part->NextSibling()) {
      const std::u16string name = NameOf(part);
      if (name.empty()) continue;
      if (!IsMessageBoxPart(name)) {
        Report(file, part,
               "<" + ToUtf8(name) + "> is neither a button nor a text of a message box");
        continue;
      }
      CheckAttributes(file, part);
    }
  }

  void CheckAttributes(const XmlFile& file, const XmlElement* element) {
    const std::u16string kind = NameOf(element);
    for (const vorn::XmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
      const std::u16string name = a->Name();
      const std::u16string value = a->Value();
      if (const char16_t* const* values = EnumeratedValues(kind, name)) {
        bool known = false;
        for (size_t i = 0; values[i] != nullptr; ++i) known = known || value == values[i];
        if (!known) {
          Report(file, element,
                 "<" + ToUtf8(kind) + "> " + ToUtf8(name) + "=" + Quoted(value) + " is none of " +
                     ListOfValues(values));
        }
      } else if (IsColourAttribute(name)) {
        vorn::Color colour;
        if (vorn::ParseColor(value.c_str(), colour) != vorn::kOk) {
          Report(file, element,
                 "<" + ToUtf8(kind) + "> " + ToUtf8(name) + "=" + Quoted(value) +
                     " is not a colour (a colour name, #RGB, #RRGGBB or #RRGGBBAA)");
        }
      }
    }
    const char16_t* picture_attribute = PictureAttribute(kind);
    const char16_t* picture = picture_attribute ? AttributeOf(element, picture_attribute) : nullptr;
    if (picture != nullptr && *picture != 0) CheckPicture(file, element, picture);
  }

  void CheckPicture(const XmlFile& file, const XmlElement* element, const std::u16string& path) {
    if (paths_.count(path) == 0) {
      Report(file, element, "the picture " + Quoted(path) + " is not in the package folder");
      return;
    }
    auto known = pictures_.find(path);
    if (known == pictures_.end()) {
      std::vector<uint8_t> bytes;
      vorn::Result r = ReadWholeFile(root_ + path, bytes);
      if (r == vorn::kOk) {
        vorn::Picture* decoded = nullptr;
        r = bytes.empty() ? vorn::kInvalidSize
                          : vorn::LoadPictureFromMemory(bytes.data(), bytes.size(), decoded);
        delete decoded;
      }
      known = pictures_.emplace(path, r).first;
    }
    if (known->second != vorn::kOk) {
      Report(file, element,
             "the picture " + Quoted(path) + " does not decode (error " +
                 std::to_string(known->second) + ")");
    }
  }

  // A required attribute; reported on the element when missing or empty.
  void RequireAttribute(const XmlFile& file, const XmlElement* element, const char16_t* name,
                        const std::string& what) {
    const char16_t* value = AttributeOf(element, name);
    if (value == nullptr || *value == 0) {
      Report(file, element, what + " needs the attribute " + ToUtf8(std::u16string(name)));
    }
  }

  // The UUID's text, or "" when it is missing or does not hold 16 bytes.
  std::u16string CheckUuid(const XmlFile& file, const XmlElement* element,
                           const std::string& what) {
    const char16_t* text = AttributeOf(element, u"UUID");
    if (text == nullptr || *text == 0) return {};
    vorn::Guid guid;
    if (vorn::TextToGuid(text, guid) != vorn::kOk) {
      Report(file, element,
             what + " UUID " + Quoted(text) +
                 " is not 32 hexadecimal digits (XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX)");
      return {};
    }
    return FromString(vorn::GuidToText(guid));
  }

  // A path relative to the install folder that must name a product file.
  void CheckProductFile(const XmlFile& file, const XmlElement* element, std::u16string target,
                        const std::string& what) {
    std::replace(target.begin(), target.end(), u'\\', u'/');
    if (target.empty()) {
      Report(file, element, what + " is empty");
      return;
    }
    if (target[0] == u'/' || target.find(u':') != std::u16string::npos || target == u".." ||
        target.compare(0, 3, u"../") == 0 || target.find(u"/../") != std::u16string::npos ||
        EndsWith(target, u"/..")) {
      Report(file, element,
             what + " " + Quoted(target) + " is not a path inside the install folder");
      return;
    }
    // Installed on Windows, the file is found whatever the case of its name.
    if (folded_paths_.count(Folded(product_ + target)) == 0) {
      Report(file, element,
             what + " " + Quoted(target) + " is not among the product files (no " +
                 ToUtf8(root_ + product_ + target) + ")");
    }
  }

  void CheckConfiguration(const XmlFile& file) {
    const XmlElement* root = file.source->Root();
    const XmlElement* installer = ChildNamed(root, u"Application");
    std::u16string installer_uuid;
    if (installer == nullptr) {
      Report(file, root, "no <Application>: the installer's own name, version and UUID");
    } else {
      for (const char16_t* name :
           {u"UUID", u"Name", u"Version", u"Company", u"MultipleInstancesAllowed"}) {
        RequireAttribute(file, installer, name, "the installer's <Application>");
      }
      installer_uuid = CheckUuid(file, installer, "the installer's");
    }
    const XmlElement* settings = ChildNamed(root, u"InstallationSettings");
    if (settings == nullptr) {
      Report(file, root, "no <InstallationSettings>: what the installer installs");
      return;
    }
    const XmlElement* product = ChildNamed(settings, u"Application");
    if (product == nullptr) {
      Report(file, settings, "<InstallationSettings> has no <Application>: the product's identity");
    } else {
      for (const char16_t* name : {u"UUID", u"Name", u"Version", u"Company"}) {
        RequireAttribute(file, product, name, "the product's <Application>");
      }
      const std::u16string uuid = CheckUuid(file, product, "the product's");
      if (!uuid.empty() && uuid == installer_uuid) {
        Report(file, product,
               "the product's UUID is the installer's own: the installer would always find the "
               "product running");
      }
    }
    for (const char16_t* name : {u"Description", u"Executable", u"WebSite", u"Register",
                                 u"TechnicalSupport", u"Updates", u"Contact"}) {
      if (ChildNamed(settings, name) == nullptr) {
        Report(file, settings,
               "<InstallationSettings> has no <" + ToUtf8(std::u16string(name)) +
                   ">, which the installer requires");
      }
    }
    if (const XmlElement* distribution = ChildNamed(settings, u"Distribution")) {
      const std::u16string value = TextOf(distribution);
      if (value != u"Public" && value != u"OpenBeta" && value != u"ClosedBeta") {
        Report(file, distribution,
               "<Distribution> " + Quoted(value) +
                   " is none of \"Public\", \"OpenBeta\" or "
                   "\"ClosedBeta\"");
      }
    }
    if (const XmlElement* description = ChildNamed(settings, u"Description")) {
      UseKey(file, description, TextOf(description));
    }
    if (const XmlElement* executable = ChildNamed(settings, u"Executable")) {
      CheckProductFile(file, executable, TextOf(executable), "the product executable");
    }
    if (const XmlElement* executable = ChildNamed(settings, u"ExecutableX64")) {
      if (!TextOf(executable).empty()) {
        CheckProductFile(file, executable, TextOf(executable), "the 64-bit product executable");
      }
    }
    if (const XmlElement* shortcuts = ChildNamed(settings, u"Shortcuts")) {
      for (const XmlElement* s = shortcuts->FirstChild(); s; s = s->NextSibling()) {
        if (NameOf(s) != u"Shortcut") continue;
        CheckProductFile(file, s, TextOf(s), "the shortcut's target");
        const char16_t* help = AttributeOf(s, u"Help");
        if (help == nullptr || *help == 0) {
          Report(file, s, "a <Shortcut> without Help is left out by the installer");
        }
        for (const char16_t* name : {u"Text", u"Help"}) {
          if (const char16_t* value = AttributeOf(s, name)) UseKey(file, s, value);
        }
      }
    }
  }

  void CheckKeys() {
    for (const std::u16string& key : key_order_) {
      std::string missing;
      for (const char* language : kPackageLanguages) {
        if (strings_[language].count(key) != 0) continue;
        missing += missing.empty() ? "" : ", ";
        missing += language;
      }
      if (missing.empty()) continue;
      const KeyUse& use = keys_used_[key];
      Report(*use.file, use.element,
             "the text #" + ToUtf8(key) + " is missing in " + missing +
                 " (no <String ID=" + Quoted(key) + "> in that language's string files)");
    }
  }

  const PackageCheck& check_;
  std::vector<PackageProblem>& problems_;
  const std::u16string root_;
  std::u16string product_;
  bool generated_file_list_ = false;
  std::vector<SourceFile> files_;
  std::set<std::u16string> paths_;
  std::set<std::u16string> folded_paths_;  // lower-case ASCII: as Windows finds files
  std::vector<XmlFile> xml_;
  std::map<std::string, std::set<std::u16string>> strings_;
  std::map<std::u16string, KeyUse> keys_used_;
  std::vector<std::u16string> key_order_;
  std::map<std::u16string, vorn::Result> pictures_;
};

}  // namespace

void CheckPackageFolder(const PackageCheck& check, std::vector<PackageProblem>& problems) {
  problems.clear();
  Checker(check, problems).Run();
}

std::string FormatProblem(const PackageProblem& problem) {
  return problem.file + ":" + std::to_string(problem.where.line) + ":" +
         std::to_string(problem.where.column) + ": " + problem.message;
}

}  // namespace vornpack
