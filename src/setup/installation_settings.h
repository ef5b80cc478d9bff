// InstallationSettings: what the installer installs and where. The product's
// identity, web addresses and shortcuts come from the "InstallationSettings"
// resource element, the files from the "Files" element; an existing
// installation's folder and program group from its uninstall entry; the
// rest is derived (display name, product executable, space required).
#pragma once

#include <cstdint>

#include "application/application_description.h"
#include "foundation/date_time.h"
#include "foundation/guid.h"
#include "foundation/result.h"
#include "foundation/string.h"
#include "setup/growing_list.h"

namespace vorn {

class ResourceManager;
class XmlElement;

struct FileEntry {
  String relative_path;  // below both the package's source folder and the install folder
  uint64_t size = 0;
  DateTime date;  // no date when the list gives none
  bool installed = false;
};

struct ShortcutEntry {
  String target;  // relative to the install folder
  String text;    // the shortcut's name, possibly a "#" reference
  String help;    // its description, likewise
};

class InstallationSettings {
 public:
  InstallationSettings() noexcept = default;
  InstallationSettings(const InstallationSettings&) = delete;
  InstallationSettings& operator=(const InstallationSettings&) = delete;

  // The process's settings, built from its resource manager on first use.
  static InstallationSettings& Get() noexcept;

  // Clears everything, then reads both elements from `resources` (which
  // later localizes the shortcut texts too), then the existing installation,
  // then fills in the defaults. Failures leave what was read before them.
  void Build(ResourceManager& resources) noexcept;
  void Clear() noexcept;

  // The "InstallationSettings" element: 29 for a missing required child, 6
  // for a missing required attribute; reading stops at the first failure.
  Result ParseSettings(const XmlElement& settings) noexcept;
  // The "Files" element and the ones nested in it: 6 for a missing Path,
  // Size or Date, or the code of a malformed Size or Date.
  Result ReadFileList(const XmlElement& files) noexcept;
  // Install folder and program group from the uninstall entry, where there
  // is one (Windows); fields it lacks stay as they are.
  void ReadExistingInstallation() noexcept;

  // Name, or Name + " (" + the first word of Tag + ")".
  String DisplayName() const noexcept;
  // Name + " " + Version [+ " " + Tag].
  String FullTitle() const noexcept;
  // The install folder with a trailing separator.
  String InstallFolderPath() const noexcept;
  String MainExecutablePath() const noexcept;
  // Empty without ExecutableX64.
  String X64ExecutablePath() const noexcept;
  // The 64-bit executable on 64-bit Windows when there is one, else the main
  // executable.
  String ProductExecutable() const noexcept;
  String ProductExecutableFor(bool on_64_bit_windows) const noexcept;
  String UuidText() const noexcept;
  // Below the local machine: the uninstall root + "\{UUID}".
  String UninstallKey() const noexcept;
  // Total size in MiB as a float, rounded up to a whole number.
  float SpaceRequiredMiB() const noexcept;

  // The install options; true when the preference cannot be read.
  static bool CreateDesktopShortcut() noexcept;
  static bool CreateQuickLaunchShortcut() noexcept;

  // The resource manager the settings were built from (localizing the
  // shortcut texts); the process's when built by Get.
  ResourceManager* Resources() const noexcept { return resources_; }

  Guid uuid{};
  GrowingList<FileEntry> files;
  GrowingList<String> created_shortcuts;
  GrowingList<ShortcutEntry> shortcuts;
  String source_folder;
  String name;
  String version;
  String tag;
  String company;
  String executable;
  String executable_x64;
  String description;
  String contact;
  String web_site;
  String register_url;
  String technical_support;
  String updates;
  String install_folder;
  String program_group;
  uint64_t total_size = 0;
  Distribution distribution = Distribution::kPublic;

 private:
  Result ReadFiles(const XmlElement& files, const String& prefix, bool root) noexcept;
  void FillDefaults() noexcept;

  ResourceManager* resources_ = nullptr;
};

// Whether this 32-bit process runs on 64-bit Windows (false elsewhere).
bool RunsOn64BitWindows() noexcept;

}  // namespace vorn
