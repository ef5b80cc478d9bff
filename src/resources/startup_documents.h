// The resource documents registered at start. The framework's own
// resources ("Data/Xml/VornLib-Resources.xml") come with the manager's
// creation; then the installer registers its documents before the
// framework starts, and the framework's start-up registers its string
// files. The order matters: a key registered again by a later document
// (a product's custom strings after the standard ones) answers from then on.
#pragma once

#include <cstdint>
#include <iterator>

namespace vorn {

class ResourceManager;

inline constexpr const char16_t* kInstallerDocuments[] = {
    u"Data/Xml/Configuration.xml",
    u"Data/Xml/Dialogs.xml",
    u"Data/Xml/FileList.xml",
    u"Data/Xml/Preferences.xml",
    u"Data/Xml/Windows.xml",
    u"Data/Xml/VornSetup-Strings-en.xml",
    u"Data/Xml/VornSetup-Strings-fr.xml",
    u"Data/Xml/VornSetup-Strings-it.xml",
    u"Data/Xml/VornSetup-Strings-zh.xml",
    u"Data/Xml/VornSetup-Custom-Strings-en.xml",
    u"Data/Xml/VornSetup-Custom-Strings-fr.xml",
    u"Data/Xml/VornSetup-Custom-Strings-it.xml",
    u"Data/Xml/VornSetup-Custom-Strings-zh.xml",
    u"Data/Xml/VornSetup-License-en.xml",
    u"Data/Xml/VornSetup-License-fr.xml",
    u"Data/Xml/VornSetup-License-it.xml",
    u"Data/Xml/VornSetup-License-zh.xml",
};

inline constexpr const char16_t* kFrameworkStringDocuments[] = {
    u"Data/Xml/VornLib-Strings-en.xml",
    u"Data/Xml/VornLib-Strings-fr.xml",
    u"Data/Xml/VornLib-Strings-it.xml",
    u"Data/Xml/VornLib-Strings-zh.xml",
};

// Registers the documents in order. One that is missing from the package or
// does not register (a file that does not parse) is skipped: its entries
// are simply absent and start-up goes on. Returns how many registered.
uint32_t RegisterDocuments(ResourceManager& manager, const char16_t* const* paths,
                           uint32_t count) noexcept;

inline uint32_t RegisterInstallerDocuments(ResourceManager& manager) noexcept {
  return RegisterDocuments(manager, kInstallerDocuments,
                           static_cast<uint32_t>(std::size(kInstallerDocuments)));
}

inline uint32_t RegisterFrameworkStrings(ResourceManager& manager) noexcept {
  return RegisterDocuments(manager, kFrameworkStringDocuments,
                           static_cast<uint32_t>(std::size(kFrameworkStringDocuments)));
}

}  // namespace vorn
