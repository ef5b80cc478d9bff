#include "ui/window_services.h"

#include "resources/preferences.h"
#include "resources/resource_manager.h"

namespace vorn {
namespace {

ResourceManager* g_resources = nullptr;
Preferences* g_preferences = nullptr;

}  // namespace

ResourceManager& UiResources() noexcept {
  return g_resources != nullptr ? *g_resources : ResourceManager::Instance();
}

Preferences& UiPreferences() noexcept {
  return g_preferences != nullptr ? *g_preferences : Preferences::Instance();
}

void SetUiResources(ResourceManager* resources) noexcept {
  g_resources = resources;
}

void SetUiPreferences(Preferences* preferences) noexcept {
  g_preferences = preferences;
}

}  // namespace vorn
