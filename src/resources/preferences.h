// Preferences: typed values addressed by slash paths below "/User/Global/",
// "/User/Local/", "/System/Global/" or "/System/Local/". Defaults ship in
// the package (the "Preferences" resource element); values changed in this
// run are kept in memory and written to the store (the registry, below
// "Software\" + Company + "\" + Name + "\" + Version [+ " " + Tag] + "\") by
// Save, which also runs when the object is destroyed.
//
// A read looks, in order, at the values set in this run, the values read
// before, the store and the defaults. A purged path hides the store and the
// defaults below it until the next Save replaces that subtree wholesale.
// This applies to reads of every type: a purged subtree must not show
// values the next save deletes.
//
// Used from the user-interface thread only.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "resources/preference_store.h"
#include "resources/resource_manager.h"

namespace vorn {

class XmlElement;

class Preferences final : public ChosenLanguageSource {
 public:
  // The process-wide preferences over the process's resource manager and
  // store, created on first use and saved at exit.
  static Preferences& Instance() noexcept;

  // Takes the defaults ("Preferences") and the registry root (the
  // "Application" element's Company, Name, Version and Tag) from the
  // resource manager; both may be missing.
  Preferences(ResourceManager& resources, PreferenceStore& store) noexcept;
  // Saves, then releases the defaults.
  ~Preferences();
  Preferences(const Preferences&) = delete;
  Preferences& operator=(const Preferences&) = delete;

  // Sets the registry root from the application's identity. Without a
  // company, name and version there is nowhere to persist: the store is
  // neither read nor written.
  void SetApplicationIdentity(const char16_t* company, const char16_t* name,
                              const char16_t* version, const char16_t* tag) noexcept;
  const String& RegistryRoot() const noexcept { return registry_root_; }

  // 31 for a null or unmapped path, 23 for a null output, 29 when the value
  // is nowhere; the output is false, 0, 0.0 or empty unless the result is 0.
  Result GetBool(const char16_t* path, bool* value) noexcept;
  Result GetInt(const char16_t* path, int32_t* value) noexcept;
  Result GetFloat(const char16_t* path, float* value) noexcept;
  Result GetText(const char16_t* path, String* value) noexcept;

  // Into the changes only; 31 for a null or unmapped path, 12 out of memory.
  Result SetBool(const char16_t* path, bool value) noexcept;
  Result SetInt(const char16_t* path, int32_t value) noexcept;
  Result SetFloat(const char16_t* path, float value) noexcept;
  Result SetText(const char16_t* path, const char16_t* value) noexcept;

  bool Exists(const char16_t* path) noexcept;
  // Forgets what is known below the path and marks it so that the next
  // Save deletes its stored subtree before writing what is set after now.
  Result Purge(const char16_t* path) noexcept;
  // Writes every change to the store. Unmapped paths and refused writes are
  // skipped; 39 for a CDATA or comment value, 32 for a nameless node, 4
  // without a registry root. The changes stay, so a later save writes
  // them again.
  Result Save() noexcept;

  // Recent file `index` (0 to 8): "/User/Local/Recent Files/File{index+1}/"
  // "Name" and "MetaData". 37 for an index of 9 or more or a missing or empty
  // name; 23 for a null name output. The metadata may be null or missing.
  Result GetRecentFile(uint32_t index, String* name, String* metadata) noexcept;

  // The chosen language's index, read from "/User/Global/Language" once.
  uint32_t ChosenLanguage() noexcept override;
  // The Language switch: a table language other than "*" becomes the chosen
  // one and is stored (in the table's spelling) among the changes, so the
  // next save persists it. Any other value is ignored with 5.
  Result SetChosenLanguage(const char16_t* name) noexcept;

 private:
  template <class Value>
  Result Read(const char16_t* path, typename Value::Type& value) noexcept;
  template <class Set>
  Result Write(const char16_t* path, Set set) noexcept;
  bool IsPurged(const char16_t* path) const noexcept;
  bool HasRegistryRoot() const noexcept { return !registry_root_.IsEmpty(); }
  Result SaveElement(const XmlElement& element, const String& parent_path) noexcept;
  Result SaveValue(const XmlElement& element, const String& path) noexcept;

  ResourceManager& resources_;
  PreferenceStore& store_;
  XmlElement* defaults_ = nullptr;
  XmlElement* changes_ = nullptr;
  XmlElement* cache_ = nullptr;
  String registry_root_;
  uint32_t chosen_language_;
};

}  // namespace vorn
