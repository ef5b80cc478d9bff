// The process services the window toolkit reads: the resource manager
// (descriptions, localized texts, shortcut tables) and the preferences
// (persisted placements). They are the process-wide instances unless a
// program or test sets its own.
#pragma once

namespace vorn {

class Preferences;
class ResourceManager;

ResourceManager& UiResources() noexcept;
Preferences& UiPreferences() noexcept;
// Null goes back to the process-wide instance.
void SetUiResources(ResourceManager* resources) noexcept;
void SetUiPreferences(Preferences* preferences) noexcept;

}  // namespace vorn
