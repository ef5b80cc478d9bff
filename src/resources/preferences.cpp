#include "resources/preferences.h"

#include <cstdlib>
#include <cstring>

#include "foundation/format.h"
#include "resources/languages.h"
#include "resources/preference_path.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

constexpr char16_t kLanguagePath[] = u"/User/Global/Language";

const char16_t* AttributeText(const XmlElement& element, const char16_t* name) noexcept {
  const XmlAttribute* attribute = element.FindAttribute(name);
  return attribute && attribute->Value() ? attribute->Value() : u"";
}

bool HasPurgeMark(const XmlElement& element) noexcept {
  bool purged = false;
  return element.ReadAttributeBoolean(u"Purge", purged) == kOk && purged;
}

// How each type is read from an element and the store, and remembered.
// Element reads take only elements that hold a value: a container is not a
// text, even though its markup could be read as one.
struct BoolValue {
  using Type = bool;
  static void Clear(bool& v) noexcept { v = false; }
  static Result FromElement(const XmlElement& e, bool& v) noexcept { return e.ReadBoolean(v); }
  static Result FromStore(PreferenceStore& store, const PreferenceLocation& at, bool& v) noexcept {
    uint32_t number = 0;
    const Result r = store.ReadDword(at, number);
    v = r == kOk && number != 0;
    return r;
  }
  static Result Remember(XmlElement& cache, const char16_t* path, bool v) noexcept {
    return cache.SetBoolean(path, v);
  }
};

struct IntValue {
  using Type = int32_t;
  static void Clear(int32_t& v) noexcept { v = 0; }
  static Result FromElement(const XmlElement& e, int32_t& v) noexcept { return e.ReadInt32(v); }
  static Result FromStore(PreferenceStore& store, const PreferenceLocation& at,
                          int32_t& v) noexcept {
    uint32_t number = 0;
    const Result r = store.ReadDword(at, number);
    v = r == kOk ? static_cast<int32_t>(number) : 0;
    return r;
  }
  static Result Remember(XmlElement& cache, const char16_t* path, int32_t v) noexcept {
    return cache.SetInt32(path, v);
  }
};

struct FloatValue {
  using Type = float;
  static void Clear(float& v) noexcept { v = 0.0f; }
  static Result FromElement(const XmlElement& e, float& v) noexcept { return e.ReadFloat(v); }
  // Floats are stored as texts; the C runtime reads them back.
  static Result FromStore(PreferenceStore& store, const PreferenceLocation& at, float& v) noexcept {
    v = 0.0f;
    String text;
    if (Result r = store.ReadText(at, text); r != kOk) return r;
    const Utf8Text utf8(text);
    char* end = nullptr;
    const double number = std::strtod(utf8.Text(), &end);
    if (end == utf8.Text()) return kInvalidContent;
    v = static_cast<float>(number);
    return kOk;
  }
  static Result Remember(XmlElement& cache, const char16_t* path, float v) noexcept {
    return cache.SetFloat(path, v);
  }
};

struct TextValue {
  using Type = String;
  static void Clear(String& v) noexcept { v = String(); }
  static Result FromElement(const XmlElement& e, String& v) noexcept {
    const char16_t* text = nullptr;
    if (Result r = e.ReadTextPointer(text); r != kOk) return r;
    if (!text) return kWrongType;  // a container
    v = text;
    return v.Length() == TextLength(text) ? kOk : kOutOfMemory;
  }
  static Result FromStore(PreferenceStore& store, const PreferenceLocation& at,
                          String& v) noexcept {
    return store.ReadText(at, v);
  }
  static Result Remember(XmlElement& cache, const char16_t* path, const String& v) noexcept {
    return cache.SetText(path, v.Text());
  }
};

}  // namespace

Preferences::Preferences(ResourceManager& resources, PreferenceStore& store) noexcept
    : resources_(resources), store_(store), chosen_language_(kLanguageNotRead) {
  changes_ = XmlElement::Create(u"Preferences");
  cache_ = XmlElement::Create(u"Preferences");
  if (resources_.FindElement(u"Preferences", defaults_) != kOk) defaults_ = nullptr;
  XmlElement* application = nullptr;
  if (resources_.FindElement(u"Application", application) == kOk) {
    SetApplicationIdentity(
        AttributeText(*application, u"Company"), AttributeText(*application, u"Name"),
        AttributeText(*application, u"Version"), AttributeText(*application, u"Tag"));
    resources_.Release(application);
  }
}

Preferences::~Preferences() {
  Save();  // nobody is left to hear how it went
  if (defaults_) resources_.Release(defaults_);
  XmlElement::Destroy(changes_);
  XmlElement::Destroy(cache_);
}

void Preferences::SetApplicationIdentity(const char16_t* company, const char16_t* name,
                                         const char16_t* version, const char16_t* tag) noexcept {
  registry_root_ = String();
  // Empty parts would make keys such as "Software\\Global": nothing to
  // persist under.
  if (TextLength(company) == 0 || TextLength(name) == 0 || TextLength(version) == 0) return;
  String root = u"Software\\" + String(company) + u'\\' + String(name) + u'\\' + String(version);
  if (TextLength(tag) > 0) root += u' ' + String(tag);
  root += u'\\';
  registry_root_ = root;
}

bool Preferences::IsPurged(const char16_t* path) const noexcept {
  const XmlElement* element = changes_;
  const char16_t* p = path;
  while (element && *p == u'/') {
    const char16_t* segment = ++p;
    while (*p && *p != u'/') ++p;
    const uint32_t length = static_cast<uint32_t>(p - segment);
    const XmlElement* child = element->FirstChild();
    for (; child; child = child->NextSibling()) {
      const char16_t* name = child->Name();
      if (name && TextLength(name) == length &&
          std::memcmp(name, segment, length * sizeof(char16_t)) == 0) {
        break;
      }
    }
    if (child && HasPurgeMark(*child)) return true;
    element = child;
  }
  return false;
}

template <class Value>
Result Preferences::Read(const char16_t* path, typename Value::Type& value) noexcept {
  Value::Clear(value);
  PreferenceLocation location;
  if (Result r = MapPreferencePath(registry_root_, path, location); r != kOk) return r;
  const XmlElement* const remembered[] = {changes_, cache_};
  for (const XmlElement* tree : remembered) {
    const XmlElement* element = tree ? tree->Find(path) : nullptr;
    if (element && Value::FromElement(*element, value) == kOk) return kOk;
  }
  if (IsPurged(path)) {
    Value::Clear(value);
    return kNotFound;
  }
  bool found = HasRegistryRoot() && Value::FromStore(store_, location, value) == kOk;
  if (!found && defaults_) {
    const XmlElement* element = defaults_->Find(path);
    found = element && Value::FromElement(*element, value) == kOk;
  }
  if (!found) {
    Value::Clear(value);
    return kNotFound;
  }
  // Later reads are answered from memory; failing to remember costs only time.
  if (cache_) Value::Remember(*cache_, path, value);
  return kOk;
}

Result Preferences::GetBool(const char16_t* path, bool* value) noexcept {
  if (!value) return kNullOutput;
  return Read<BoolValue>(path, *value);
}

Result Preferences::GetInt(const char16_t* path, int32_t* value) noexcept {
  if (!value) return kNullOutput;
  return Read<IntValue>(path, *value);
}

Result Preferences::GetFloat(const char16_t* path, float* value) noexcept {
  if (!value) return kNullOutput;
  return Read<FloatValue>(path, *value);
}

Result Preferences::GetText(const char16_t* path, String* value) noexcept {
  if (!value) return kNullOutput;
  return Read<TextValue>(path, *value);
}

template <class Set>
Result Preferences::Write(const char16_t* path, Set set) noexcept {
  PreferenceLocation location;
  if (Result r = MapPreferencePath(registry_root_, path, location); r != kOk) return r;
  if (!changes_) return kOutOfMemory;
  XmlElement* element = nullptr;
  if (Result r = changes_->FindOrCreate(path, element); r != kOk) return r;
  return set(*element);
}

Result Preferences::SetBool(const char16_t* path, bool value) noexcept {
  return Write(path, [value](XmlElement& e) { return e.SetBoolean(value); });
}

Result Preferences::SetInt(const char16_t* path, int32_t value) noexcept {
  return Write(path, [value](XmlElement& e) { return e.SetInt32(value); });
}

Result Preferences::SetFloat(const char16_t* path, float value) noexcept {
  return Write(path, [value](XmlElement& e) { return e.SetFloat(value); });
}

Result Preferences::SetText(const char16_t* path, const char16_t* value) noexcept {
  return Write(path, [value](XmlElement& e) { return e.SetText(value); });
}

bool Preferences::Exists(const char16_t* path) noexcept {
  PreferenceLocation location;
  if (MapPreferencePath(registry_root_, path, location) != kOk) return false;
  if ((changes_ && changes_->Find(path)) || (cache_ && cache_->Find(path))) return true;
  if (HasRegistryRoot() && store_.KeyExists(location.root, location.key)) return true;
  return defaults_ && defaults_->Find(path);
}

Result Preferences::Purge(const char16_t* path) noexcept {
  PreferenceLocation location;
  if (Result r = MapPreferencePath(registry_root_, path, location); r != kOk) return r;
  if (!changes_ || !cache_) return kOutOfMemory;
  if (Result r = cache_->Remove(path); r != kOk) return r;
  if (Result r = changes_->Remove(path); r != kOk) return r;
  XmlElement* element = nullptr;
  if (Result r = changes_->FindOrCreate(path, element); r != kOk) return r;
  return element->AppendAttribute(u"Purge", u"1");
}

Result Preferences::SaveValue(const XmlElement& element, const String& path) noexcept {
  const XmlValueKind kind = element.Kind();
  if (kind == XmlValueKind::kNone) return kOk;  // a container: only its children
  if (kind == XmlValueKind::kCData || kind == XmlValueKind::kComment) return kWrongType;
  PreferenceLocation at;
  if (MapPreferencePath(registry_root_, path.Text(), at) != kOk) return kOk;  // skipped
  // A refused write is skipped too: the save goes on with the next value.
  switch (kind) {
    case XmlValueKind::kBoolean: {
      bool value = false;
      element.ReadBoolean(value);
      store_.WriteDword(at, value ? 1 : 0);
      break;
    }
    case XmlValueKind::kInt32: {
      int32_t value = 0;
      element.ReadInt32(value);
      store_.WriteDword(at, static_cast<uint32_t>(value));
      break;
    }
    case XmlValueKind::kInt64: {
      int64_t value = 0;
      element.ReadInt64(value);
      store_.WriteQword(at, static_cast<uint64_t>(value));
      break;
    }
    case XmlValueKind::kFloat32: {
      float value = 0.0f;
      element.ReadFloat(value);
      store_.WriteText(at, Format(u"{0:g}", FormatArg(value)));
      break;
    }
    case XmlValueKind::kFloat64: {
      double value = 0.0;
      element.ReadDouble(value);
      store_.WriteText(at, Format(u"{0:g}", FormatArg(value)));
      break;
    }
    case XmlValueKind::kText: {
      const char16_t* text = nullptr;
      element.ReadTextPointer(text);
      store_.WriteText(at, String(text));
      break;
    }
    default:
      break;
  }
  return kOk;
}

Result Preferences::SaveElement(const XmlElement& parent, const String& parent_path) noexcept {
  for (const XmlElement* child = parent.FirstChild(); child; child = child->NextSibling()) {
    if (!child->Name() || !*child->Name()) return kInvalidState;
    const String path = parent_path + u'/' + child->Name();
    if (HasPurgeMark(*child)) {
      // The stored subtree goes before what was set after the purge is written.
      PreferenceLocation container;
      if (MapPreferenceContainer(registry_root_, parent_path, container) == kOk) {
        store_.DeleteSubkey(container.root, container.key, String(child->Name()));
      }
    }
    if (Result r = SaveValue(*child, path); r != kOk) return r;
    if (Result r = SaveElement(*child, path); r != kOk) return r;
  }
  return kOk;
}

Result Preferences::Save() noexcept {
  if (!HasRegistryRoot()) return kNotOpen;
  if (!changes_) return kOk;
  return SaveElement(*changes_, String());
}

Result Preferences::GetRecentFile(uint32_t index, String* name, String* metadata) noexcept {
  if (metadata) *metadata = String();
  if (!name) return kNullOutput;
  *name = String();
  if (index >= 9) return kIndexOutOfRange;
  const String name_path = Format(u"/User/Local/Recent Files/File{0}/Name", FormatArg(index + 1));
  if (GetText(name_path.Text(), name) != kOk || name->IsEmpty()) {
    *name = String();
    return kIndexOutOfRange;
  }
  if (metadata) {
    const String metadata_path =
        Format(u"/User/Local/Recent Files/File{0}/MetaData", FormatArg(index + 1));
    GetText(metadata_path.Text(), metadata);  // a file may have none
  }
  return kOk;
}

uint32_t Preferences::ChosenLanguage() noexcept {
  if (chosen_language_ == kLanguageNotRead) {
    String name;
    chosen_language_ =
        GetText(kLanguagePath, &name) == kOk ? LanguageIndex(name.Text()) : kAnyLanguage;
  }
  return chosen_language_;
}

Result Preferences::SetChosenLanguage(const char16_t* name) noexcept {
  const uint32_t index = LanguageIndex(name);
  if (index == kAnyLanguage) return kInvalidArgument;
  if (Result r = SetText(kLanguagePath, LanguageName(index)); r != kOk) return r;
  chosen_language_ = index;
  return kOk;
}

}  // namespace vorn
