// The process-wide resource manager and preferences. Each is created on
// first use (a function-local static: thread-safe one-time construction)
// and destroyed at exit in the reverse order, so the preferences, created
// after the manager they read their defaults from, save and release them
// while the manager still exists.
//
// Both are created after the application core and so end before it. That
// is safe because the core's run ends every window and module first (the
// main window's system window is destroyed, the modules shut down and the
// main window forgotten): what windows write as they close reaches the
// preferences before their final save, and nothing that ends after them
// holds a resource.
#include "package/package_file_system.h"
#include "resources/preference_store.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"

namespace vorn {
namespace {

// The manager asks the preferences for the chosen language only when an
// element is looked up, by which time creating them is safe.
class PreferencesLanguage final : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return Preferences::Instance().ChosenLanguage(); }
};

ResourceManager& CreateResourceManager() noexcept {
  static ResourceManager manager(PackageFileSystem::Instance());
  static PreferencesLanguage language;
  manager.SetChosenLanguageSource(&language);
  // Optional: a package without the framework's own resources still runs.
  manager.RegisterDocument(u"Data/Xml/VornLib-Resources.xml");
  return manager;
}

}  // namespace

ResourceManager& ResourceManager::Instance() noexcept {
  static ResourceManager& manager = CreateResourceManager();
  return manager;
}

Preferences& Preferences::Instance() noexcept {
  static Preferences preferences(ResourceManager::Instance(), SystemPreferenceStore());
  return preferences;
}

}  // namespace vorn
