#include "resources/resource_manager.h"

#include <cstdlib>
#include <new>

#include "package/package_file_system.h"
#include "resources/languages.h"
#include "resources/picture.h"
#include "resources/picture_loader.h"
#include "resources/resource_key.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

bool IsEmptyPath(const char16_t* path) noexcept {
  return !path || !*path;
}

// Table names are compared without case but keyed in their table spelling,
// so Language="FR" and a lookup for "fr" meet. Other names stay as written
// and are found by no fallback.
const char16_t* KeyLanguage(const char16_t* language) noexcept {
  return IsKnownLanguage(language) ? LanguageName(LanguageIndex(language)) : language;
}

const char16_t* AttributeOr(const XmlElement& element, const char16_t* name,
                            const char16_t* fallback) noexcept {
  const XmlAttribute* attribute = element.FindAttribute(name);
  return attribute && attribute->Value() ? attribute->Value() : fallback;
}

}  // namespace

ResourceManager::ResourceManager(PackageFileSystem& files) noexcept
    : default_language_(kDefaultLanguage), locale_language_(UserLocaleLanguage()), files_(files) {}

ResourceManager::~ResourceManager() {
  cache_.Clear([this](CacheEntry& entry) { Destroy(entry); });
  while (documents_) {
    RegisteredDocument* next = documents_->next;
    delete documents_;
    documents_ = next;
  }
}

void ResourceManager::Destroy(CacheEntry& entry) noexcept {
  switch (entry.kind) {
    case ResourceKind::kFile:
      std::free(entry.data);
      break;
    case ResourceKind::kPicture:
      delete static_cast<Picture*>(entry.data);
      break;
    case ResourceKind::kDocument:
      delete static_cast<XmlDocument*>(entry.data);
      break;
    case ResourceKind::kElement:
      break;  // the element belongs to its document
  }
}

CacheEntry* ResourceManager::Hit(uint32_t key_hash, ResourceKind kind) noexcept {
  CacheEntry* entry = cache_.FindByKey(key_hash, kind);
  if (entry) ++entry->users;
  return entry;
}

Result ResourceManager::GetFile(const char16_t* path, const uint8_t*& bytes,
                                uint64_t& size) noexcept {
  bytes = nullptr;
  size = 0;
  if (IsEmptyPath(path)) return kInvalidPath;
  const uint32_t hash = PathKeyHash(kFileKeyPrefix, path);
  if (CacheEntry* entry = Hit(hash, ResourceKind::kFile)) {
    bytes = static_cast<const uint8_t*>(entry->data);
    size = entry->size;
    return kOk;
  }
  uint8_t* buffer = nullptr;
  uint64_t length = 0;
  if (Result r = files_.ReadAll(path, buffer, length); r != kOk) return r;
  // An empty file still needs a pointer of its own: it is what the caller
  // releases.
  if (!buffer) buffer = static_cast<uint8_t*>(std::malloc(1));
  if (!buffer || !cache_.Insert(hash, buffer, length, ResourceKind::kFile, 1, 0)) {
    std::free(buffer);
    return kOutOfMemory;
  }
  bytes = buffer;
  size = length;
  return kOk;
}

Result ResourceManager::GetPicture(const char16_t* path, Picture*& picture) noexcept {
  picture = nullptr;
  if (IsEmptyPath(path)) return kInvalidPath;
  const uint32_t hash = PathKeyHash(kPictureKeyPrefix, path);
  if (CacheEntry* entry = Hit(hash, ResourceKind::kPicture)) {
    picture = static_cast<Picture*>(entry->data);
    return kOk;
  }
  const uint8_t* bytes = nullptr;
  uint64_t size = 0;
  if (Result r = GetFile(path, bytes, size); r != kOk) return r;
  Picture* loaded = nullptr;
  const Result r = LoadPictureFromMemory(bytes, static_cast<size_t>(size), loaded);
  Release(bytes);  // only the decoded form stays cached
  if (r != kOk) return r;
  if (!cache_.Insert(hash, loaded, 0, ResourceKind::kPicture, 1, 0)) {
    delete loaded;
    return kOutOfMemory;
  }
  picture = loaded;
  return kOk;
}

Result ResourceManager::GetDocument(const char16_t* path, XmlDocument*& document) noexcept {
  document = nullptr;
  if (IsEmptyPath(path)) return kInvalidPath;
  const uint32_t hash = PathKeyHash(kDocumentKeyPrefix, path);
  if (CacheEntry* entry = Hit(hash, ResourceKind::kDocument)) {
    document = static_cast<XmlDocument*>(entry->data);
    return kOk;
  }
  const uint8_t* bytes = nullptr;
  uint64_t size = 0;
  if (Result r = GetFile(path, bytes, size); r != kOk) return r;
  XmlDocument* parsed = new (std::nothrow) XmlDocument;
  Result r = parsed ? parsed->Parse(bytes, size) : kOutOfMemory;
  Release(bytes);
  // A parse that succeeds without a root element is still no document.
  if (r == kOk && !parsed->RootElement()) r = kInvalidContent;
  if (r == kOk && !cache_.Insert(hash, parsed, 0, ResourceKind::kDocument, 1, 0)) {
    r = kOutOfMemory;
  }
  if (r != kOk) {
    delete parsed;
    return r;
  }
  document = parsed;
  return kOk;
}

Result ResourceManager::RegisterElements(XmlElement* root) noexcept {
  const char16_t* root_language = KeyLanguage(AttributeOr(*root, u"Language", u"*"));
  for (XmlElement* child = root->FirstChild(); child; child = child->NextSibling()) {
    if (!child->Name() || !*child->Name()) continue;  // text between the elements
    const char16_t* id = AttributeOr(*child, u"ID", u"");
    const char16_t* language = KeyLanguage(AttributeOr(*child, u"Language", root_language));
    const uint32_t hash = ElementKeyHash(child->Name(), id, language);
    // The registration's own reference, never given back.
    if (!cache_.Insert(hash, child, 0, ResourceKind::kElement, 1, 1)) return kOutOfMemory;
  }
  return kOk;
}

void ResourceManager::UnregisterElements(XmlElement* root, uint64_t since) noexcept {
  for (XmlElement* child = root->FirstChild(); child; child = child->NextSibling()) {
    CacheEntry* entry = cache_.FindByData(child);
    if (entry && entry->kind == ResourceKind::kElement && entry->sequence >= since) {
      cache_.Remove(entry);
    }
  }
}

Result ResourceManager::RegisterDocument(const char16_t* path) noexcept {
  XmlDocument* document = nullptr;
  if (Result r = GetDocument(path, document); r != kOk) return r;
  XmlElement* root = document->RootElement();
  if (!root) {
    Release(document);
    return kInvalidContent;
  }
  // A document registered a second time already has its elements in the
  // cache; it registers them again, and the newer entries answer.
  CacheEntry* entry = cache_.FindByData(document);
  const uint64_t since = cache_.NextSequence();
  auto* node = new (std::nothrow) RegisteredDocument{document, documents_};
  Result r = node ? RegisterElements(root) : kOutOfMemory;
  if (r != kOk) {
    // Only entries of this registration go: a document registered before
    // keeps its older entries.
    UnregisterElements(root, since);
    delete node;
    Release(document);
    return r;
  }
  ++entry->pinned;  // the user count from GetDocument is the registration's
  documents_ = node;
  return kOk;
}

uint32_t ResourceManager::PreferredLanguages(uint32_t (&languages)[2]) noexcept {
  uint32_t count = 0;
  const uint32_t chosen = language_source_ ? language_source_->ChosenLanguage() : kAnyLanguage;
  if (chosen != kAnyLanguage && chosen < kLanguageCount) languages[count++] = chosen;
  if (locale_language_ != kAnyLanguage && locale_language_ < kLanguageCount &&
      locale_language_ != chosen) {
    languages[count++] = locale_language_;
  }
  return count;
}

Result ResourceManager::GetElement(const char16_t* name, const char16_t* id,
                                   XmlElement*& element) noexcept {
  element = nullptr;
  if (!name) return kInvalidName;
  if (!id) id = u"";
  uint32_t order[2 + 2 + kLanguageCount];
  uint32_t preferred[2];
  uint32_t count = PreferredLanguages(preferred);
  for (uint32_t i = 0; i < count; ++i) order[i] = preferred[i];
  order[count++] = kAnyLanguage;
  order[count++] = default_language_;
  for (uint32_t i = 0; i < kLanguageCount; ++i) order[count++] = i;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t hash = ElementKeyHash(name, id, LanguageName(order[i]));
    if (CacheEntry* entry = Hit(hash, ResourceKind::kElement)) {
      element = static_cast<XmlElement*>(entry->data);
      return kOk;
    }
  }
  return kNotFound;
}

Result ResourceManager::FindElement(const char16_t* name, XmlElement*& element) noexcept {
  element = nullptr;
  if (!name) return kInvalidName;
  CacheEntry* entry = Hit(ElementKeyHash(name, u"", u"*"), ResourceKind::kElement);
  if (!entry) return kNotFound;
  element = static_cast<XmlElement*>(entry->data);
  return kOk;
}

Result ResourceManager::Release(const void* data) noexcept {
  if (!data) return kInvalidState;
  // More releases than uses would give back the manager's own reference:
  // only an entry with a user above its pinned references may lose one.
  CacheEntry* entry = cache_.FindReleasable(data);
  if (!entry) return kInvalidState;
  if (--entry->users == 0) {
    Destroy(*entry);
    cache_.Remove(entry);
  }
  return kOk;
}

}  // namespace vorn
