#include "setup/installation_settings.h"

#include <cmath>

#include "application/uninstallation.h"
#include "foundation/path.h"
#include "foundation/special_folder.h"
#include "foundation/zero_filled.h"
#include "resources/localized_text.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "xml/xml_element.h"

namespace vorn {

namespace {

// 2^-20: bytes to MiB.
constexpr float kBytesToMiB = 9.536743e-7f;

// A required text element below the settings; 29 when it is missing.
Result ReadRequiredText(const XmlElement& parent, const char16_t* child_path,
                        String& value) noexcept {
  const Result result = parent.ReadText(child_path, &value);
  return result == kOk ? kOk : kNotFound;
}

// A required attribute: 6 when it is missing.
Result ReadRequiredAttribute(const XmlElement& element, const char16_t* name,
                             String& value) noexcept {
  return element.ReadAttributeText(name, value) == kOk ? kOk : kMissingData;
}

bool HasName(const XmlElement& element, const char16_t* name) noexcept {
  return element.Name() != nullptr && String(element.Name()) == name;
}

// An install option that cannot be read counts as chosen.
bool OptionOrTrue(const char16_t* preference) noexcept {
  bool value = true;
  return Preferences::Instance().GetBool(preference, &value) != kOk || value;
}

}  // namespace

InstallationSettings& InstallationSettings::Get() noexcept {
  static InstallationSettings* settings = [] {
    static InstallationSettings instance VORN_ZERO_FILLED;
    instance.Build(ResourceManager::Instance());
    return &instance;
  }();
  return *settings;
}

void InstallationSettings::Clear() noexcept {
  uuid = Guid{};
  files.Clear();
  created_shortcuts.Clear();
  shortcuts.Clear();
  source_folder = name = version = tag = company = String();
  executable = executable_x64 = description = contact = String();
  web_site = register_url = technical_support = updates = String();
  install_folder = program_group = String();
  total_size = 0;
  distribution = Distribution::kPublic;
}

void InstallationSettings::Build(ResourceManager& resources) noexcept {
  Clear();
  resources_ = &resources;
  XmlElement* element = nullptr;
  if (resources.FindElement(u"InstallationSettings", element) == kOk) {
    ParseSettings(*element);
    resources.Release(element);
  }
  if (resources.FindElement(u"Files", element) == kOk) {
    ReadFileList(*element);
    resources.Release(element);
  }
  ReadExistingInstallation();
  FillDefaults();
}

Result InstallationSettings::ParseSettings(const XmlElement& settings) noexcept {
  const XmlElement* application = settings.Find(u"/Application");
  if (application == nullptr) return kNotFound;
  String uuid_text;
  Result result = ReadRequiredAttribute(*application, u"UUID", uuid_text);
  if (result != kOk) return result;
  // A malformed UUID leaves the null one.
  TextToGuid(uuid_text.Text(), uuid);
  if ((result = ReadRequiredAttribute(*application, u"Name", name)) != kOk) return result;
  if ((result = ReadRequiredAttribute(*application, u"Version", version)) != kOk) return result;
  application->ReadAttributeText(u"Tag", tag, u"");
  if ((result = ReadRequiredAttribute(*application, u"Company", company)) != kOk) return result;

  String distribution_text;
  if (settings.ReadText(u"/Distribution", &distribution_text) == kOk) {
    if (distribution_text == u"Public") distribution = Distribution::kPublic;
    if (distribution_text == u"OpenBeta") distribution = Distribution::kOpenBeta;
    if (distribution_text == u"ClosedBeta") distribution = Distribution::kClosedBeta;
  }

  String description_text;
  if ((result = ReadRequiredText(settings, u"/Description", description_text)) != kOk) {
    return result;
  }
  if (resources_ != nullptr) {
    LocalizeText(*resources_, description_text.Text(), description);
  } else {
    description = description_text;
  }
  if ((result = ReadRequiredText(settings, u"/Executable", executable)) != kOk) return result;
  settings.ReadText(u"/ExecutableX64", &executable_x64);
  if ((result = ReadRequiredText(settings, u"/WebSite", web_site)) != kOk) return result;
  if ((result = ReadRequiredText(settings, u"/Register", register_url)) != kOk) return result;
  if ((result = ReadRequiredText(settings, u"/TechnicalSupport", technical_support)) != kOk) {
    return result;
  }
  if ((result = ReadRequiredText(settings, u"/Updates", updates)) != kOk) return result;
  if ((result = ReadRequiredText(settings, u"/Contact", contact)) != kOk) return result;

  const XmlElement* list = settings.Find(u"/Shortcuts");
  if (list == nullptr) return kOk;
  for (const XmlElement* child = list->FirstChild(); child != nullptr;
       child = child->NextSibling()) {
    if (!HasName(*child, u"Shortcut")) continue;
    ShortcutEntry entry;
    child->ReadText(&entry.target);
    child->ReadAttributeText(u"Text", entry.text, u"");
    child->ReadAttributeText(u"Help", entry.help, u"");
    if (entry.target.IsEmpty() || entry.help.IsEmpty()) continue;
    if ((result = shortcuts.Append(static_cast<ShortcutEntry&&>(entry))) != kOk) return result;
  }
  return kOk;
}

Result InstallationSettings::ReadFileList(const XmlElement& files_element) noexcept {
  return ReadFiles(files_element, String(), true);
}

Result InstallationSettings::ReadFiles(const XmlElement& element, const String& prefix,
                                       bool root) noexcept {
  String folder;
  Result result = ReadRequiredAttribute(element, u"Path", folder);
  if (result != kOk) return result;
  String current;
  if (root) {
    source_folder = folder;
  } else {
    // Path values carry their own trailing separator.
    current = prefix + folder;
  }
  for (const XmlElement* child = element.FirstChild(); child != nullptr;
       child = child->NextSibling()) {
    if (child->Name() == nullptr) continue;
    if (HasName(*child, u"Files")) {
      if ((result = ReadFiles(*child, current, false)) != kOk) return result;
      continue;
    }
    FileEntry entry;
    String file_name;
    child->ReadText(&file_name);
    if (child->FindAttribute(u"Size") == nullptr || child->FindAttribute(u"Date") == nullptr) {
      return kMissingData;
    }
    if ((result = child->ReadAttributeUInt64(u"Size", entry.size)) != kOk) return result;
    if ((result = child->ReadAttributeDateTime(u"Date", entry.date)) != kOk) return result;
    entry.relative_path = current + file_name;
    total_size += entry.size;
    if ((result = files.Append(static_cast<FileEntry&&>(entry))) != kOk) return result;
  }
  return kOk;
}

void InstallationSettings::FillDefaults() noexcept {
  if (program_group.IsEmpty()) program_group = DisplayName();
  if (!install_folder.IsEmpty()) return;
  String program_files;
  GetSpecialFolder(kProgramFilesFolder, program_files);
  if (!path::EndsWithSeparator(program_files)) program_files += u'\\';
  install_folder = program_files + company + u"\\" + DisplayName();
}

String InstallationSettings::DisplayName() const noexcept {
  if (tag.IsEmpty()) return name;
  const int32_t blank = tag.Find(u' ');
  const String first_word = blank < 0 ? tag : tag.Left(static_cast<uint32_t>(blank));
  return name + u" (" + first_word + u")";
}

String InstallationSettings::FullTitle() const noexcept {
  String title = name + u" " + version;
  if (!tag.IsEmpty()) title += u" " + tag;
  return title;
}

String InstallationSettings::InstallFolderPath() const noexcept {
  return path::WithTrailingSeparator(install_folder);
}

String InstallationSettings::MainExecutablePath() const noexcept {
  return InstallFolderPath() + executable;
}

String InstallationSettings::X64ExecutablePath() const noexcept {
  if (executable_x64.IsEmpty()) return String();
  return InstallFolderPath() + executable_x64;
}

String InstallationSettings::ProductExecutable() const noexcept {
  return ProductExecutableFor(RunsOn64BitWindows());
}

String InstallationSettings::ProductExecutableFor(bool on_64_bit_windows) const noexcept {
  if (on_64_bit_windows && !executable_x64.IsEmpty()) return X64ExecutablePath();
  return MainExecutablePath();
}

String InstallationSettings::UuidText() const noexcept {
  return GuidToText(uuid);
}

String InstallationSettings::UninstallKey() const noexcept {
  return String(kUninstallRoot) + u"\\" + UninstallEntryName(uuid);
}

float InstallationSettings::SpaceRequiredMiB() const noexcept {
  return std::ceil(static_cast<float>(total_size) * kBytesToMiB);
}

bool InstallationSettings::CreateDesktopShortcut() noexcept {
  return OptionOrTrue(u"/User/Global/InstallOptions/CreateDesktopShortcut");
}

bool InstallationSettings::CreateQuickLaunchShortcut() noexcept {
  return OptionOrTrue(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut");
}

}  // namespace vorn
