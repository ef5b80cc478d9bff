// ResourceManager: the one way the framework reads its own data out of the
// package. Every resource is named by a res: key, loaded on first use,
// cached with a user count and freed when its last user releases it:
//
//   "res:file:" + path              the file's bytes
//   "res:picture:" + path           the decoded picture
//   "res:xml:document:" + path      the parsed document
//   "res:xml:element:" + name + ":" + ID + ":" + language
//                                   a child of a registered document's root
//
// When two registrations give the same key (a product's custom strings
// registered after the standard ones, or one document registered twice), or
// two keys share a hash, the latest registration wins: later documents
// override earlier ones.
//
// Used from the user-interface thread only; the process-wide instance is
// created on first use.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "resources/resource_cache.h"

namespace vorn {

class PackageFileSystem;
class Picture;
class XmlDocument;
class XmlElement;

// Where GetElement learns the user's chosen language (an index of the
// language table; 0 when none is chosen).
class ChosenLanguageSource {
 public:
  virtual uint32_t ChosenLanguage() noexcept = 0;

 protected:
  ~ChosenLanguageSource() = default;
};

class ResourceManager {
 public:
  // The process-wide manager over the package file system; creating it
  // registers "Data/Xml/VornLib-Resources.xml" when the package has it.
  static ResourceManager& Instance() noexcept;

  // A manager over the given file system (tools and tests); no document is
  // registered and no chosen language is known until one is given.
  explicit ResourceManager(PackageFileSystem& files) noexcept;
  // Frees every resource, whoever still holds it, and the registered
  // documents.
  ~ResourceManager();
  ResourceManager(const ResourceManager&) = delete;
  ResourceManager& operator=(const ResourceManager&) = delete;

  // Loads the document and makes every named child of its root an element
  // resource (its "ID", default empty, and "Language", default the root's,
  // itself by default "*"). 33 for a document without a root element, 12 out
  // of memory, or the loading code; nothing is registered on failure. A
  // registered document stays loaded for the life of the manager.
  Result RegisterDocument(const char16_t* path) noexcept;

  // The file's bytes (never null on success, even for an empty file).
  // 31 for a null or empty path; the package's codes pass through.
  Result GetFile(const char16_t* path, const uint8_t*& bytes, uint64_t& size) noexcept;
  // The decoded picture; 31 for a null or empty path, 3 when no decoder
  // takes the bytes, or the loader's and package's codes.
  Result GetPicture(const char16_t* path, Picture*& picture) noexcept;
  // The parsed document; 31 for a null or empty path, 33 without exactly one
  // root element, or the parser's and package's codes.
  Result GetDocument(const char16_t* path, XmlDocument*& document) noexcept;

  // The element of that name and ID in the best language: the chosen
  // language, the user's locale language, "*", "en", then every language of
  // the table. 38 for a null name (a null ID is the empty one), 29 when none.
  Result GetElement(const char16_t* name, const char16_t* id, XmlElement*& element) noexcept;
  // Exactly the element of that name with an empty ID and language "*".
  // 38 for a null name, 29 when missing.
  Result FindElement(const char16_t* name, XmlElement*& element) noexcept;

  // Gives back one use of a resource obtained above. 32 for null, for data
  // the manager did not hand out, or for more releases than were handed out.
  Result Release(const void* data) noexcept;

  void SetChosenLanguageSource(ChosenLanguageSource* source) noexcept { language_source_ = source; }
  // The locale language is read from the system once, at creation; tests
  // and tools may set another.
  void SetLocaleLanguage(uint32_t index) noexcept { locale_language_ = index; }
  uint32_t LocaleLanguage() const noexcept { return locale_language_; }
  uint32_t DefaultLanguage() const noexcept { return default_language_; }

  // Entries in the cache (diagnostics and tests).
  uint32_t CacheCount() const noexcept { return cache_.Count(); }

 private:
  struct RegisteredDocument {
    XmlDocument* document;
    RegisteredDocument* next;
  };

  Result RegisterElements(XmlElement* root) noexcept;
  // Takes back the element entries made for the root's children from
  // sequence `since` on (a failed registration).
  void UnregisterElements(XmlElement* root, uint64_t since) noexcept;
  // A cache hit counts one more user.
  CacheEntry* Hit(uint32_t key_hash, ResourceKind kind) noexcept;
  void Destroy(CacheEntry& entry) noexcept;
  // The preferred languages before the fixed fallbacks; returns how many.
  uint32_t PreferredLanguages(uint32_t (&languages)[2]) noexcept;

  RegisteredDocument* documents_ = nullptr;
  ResourceCache cache_;
  uint32_t default_language_;
  uint32_t locale_language_;
  PackageFileSystem& files_;
  ChosenLanguageSource* language_source_ = nullptr;
};

}  // namespace vorn
