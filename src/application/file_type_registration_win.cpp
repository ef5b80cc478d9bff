#include "application/app_paths.h"
#include "application/application_core.h"
#include "application/file_type_registration.h"
#include "foundation/registry_key.h"
#include "foundation/shell_run.h"
#include "resources/localized_text.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "xml/xml_element.h"

namespace vorn {

namespace {

// Writes the default value of a key below the classes root (created when
// missing), and optionally one named value first.
Result WriteClassesValue(const String& key_path, const char16_t* value) noexcept {
  RegistryKey key;
  const Result result = key.SetRoot(RegistryKey::kClassesRoot, key_path.Text());
  if (result != kOk) return result;
  return key.WriteText(nullptr, value);
}

// The icon and the open command, shared by file types and protocols.
Result WriteIconAndCommand(const String& key_path, const String& program_path, int32_t icon_index,
                           const String& command) noexcept {
  Result result =
      WriteClassesValue(key_path + u"\\DefaultIcon", FileTypeIcon(program_path, icon_index).Text());
  if (result != kOk) return result;
  return WriteClassesValue(key_path + u"\\shell\\open\\command",
                           OpenCommandText(program_path, command).Text());
}

Result DeleteClassesKey(const String& key_path) noexcept {
  RegistryKey root;
  const Result result = root.SetRoot(RegistryKey::kClassesRoot, nullptr);
  if (result != kOk) return result;
  return root.DeleteSubkey(key_path.Text());
}

// A description that names a localized text, in the owner's strings.
String Localized(const FileTypeOwner& owner, const String& text) noexcept {
  String localized;
  LocalizeText(*owner.resources, text.Text(), localized);
  return localized;
}

// An optional IconIndex is 0; one that is there but not a number too.
int32_t IconIndex(const XmlElement& entry) noexcept {
  int32_t index = 0;
  if (entry.ReadAttributeInt32(u"IconIndex", index) != kOk) index = 0;
  return index;
}

Result RegisterFileType(const FileTypeOwner& owner, const XmlElement& entry) noexcept {
  String extension;
  String description;
  if (entry.ReadAttributeText(u"Extension", extension) != kOk || extension.IsEmpty()) {
    return kMissingData;
  }
  if (entry.ReadAttributeText(u"Description", description) != kOk) return kMissingData;
  const String prog_id = FileTypeProgId(owner.name, extension);
  // What the shell recorded on its own for this extension would win over
  // our association.
  DeleteClassesKey(AutoFileKey(extension));
  Result result = WriteClassesValue(extension, prog_id.Text());
  if (result != kOk) return result;
  result = WriteClassesValue(prog_id, Localized(owner, description).Text());
  if (result != kOk) return result;
  return WriteIconAndCommand(prog_id, owner.program_path, IconIndex(entry), String());
}

Result UnregisterFileType(const FileTypeOwner& owner, const XmlElement& entry) noexcept {
  String extension;
  if (entry.ReadAttributeText(u"Extension", extension) != kOk || extension.IsEmpty()) {
    return kMissingData;
  }
  const String prog_id = FileTypeProgId(owner.name, extension);
  // The extension may have been taken over by another program since: then
  // it is that program's, and only our ProgID goes.
  {
    RegistryKey key;
    String current;
    if (key.SetRoot(RegistryKey::kClassesRoot, extension.Text()) == kOk &&
        key.ReadText(nullptr, current) == kOk && current == prog_id) {
      key.Close();
      DeleteClassesKey(extension);
    }
  }
  RegistryKey prog_id_key;
  Result result = prog_id_key.SetRoot(RegistryKey::kClassesRoot, prog_id.Text());
  if (result == kOk) result = prog_id_key.Open(false);
  if (result != kOk) return result;
  prog_id_key.Close();
  return DeleteClassesKey(prog_id);
}

Result RegisterProtocol(const FileTypeOwner& owner, const XmlElement& entry) noexcept {
  String name;
  String command;
  String description;
  if (entry.ReadAttributeText(u"Name", name) != kOk || name.IsEmpty() ||
      entry.ReadAttributeText(u"Command", command) != kOk ||
      entry.ReadAttributeText(u"Description", description) != kOk) {
    return kMissingData;
  }
  RegistryKey key;
  Result result = key.SetRoot(RegistryKey::kClassesRoot, name.Text());
  if (result == kOk) result = key.WriteText(u"URL Protocol", u"");
  if (result == kOk) {
    result = key.WriteText(nullptr, String(u"URL:" + Localized(owner, description)).Text());
  }
  if (result != kOk) return result;
  return WriteIconAndCommand(name, owner.program_path, IconIndex(entry), command);
}

Result UnregisterProtocol(const XmlElement& entry) noexcept {
  String name;
  if (entry.ReadAttributeText(u"Name", name) != kOk || name.IsEmpty()) return kMissingData;
  return DeleteClassesKey(name);
}

// Runs `handle` over every child of the resource element `list` named
// `child_name`; the first failure ends the walk.
template <class Handler>
Result ForEachEntry(ResourceManager& resources, const char16_t* list, const char16_t* child_name,
                    Handler handle) noexcept {
  XmlElement* element = nullptr;
  if (resources.GetElement(list, nullptr, element) != kOk) return kOk;
  Result result = kOk;
  for (XmlElement* child = element->FirstChild(); child != nullptr && result == kOk;
       child = child->NextSibling()) {
    if (child->Name() == nullptr || String(child->Name()) != child_name) continue;
    result = handle(*child);
  }
  resources.Release(element);
  return result;
}

}  // namespace

FileTypeOwner ProcessFileTypeOwner() noexcept {
  FileTypeOwner owner;
  owner.resources = &ResourceManager::Instance();
  owner.program_path = ApplicationCore::Get().ProgramPath();
  owner.name = ApplicationCore::Get().Description().name;
  owner.elevated = IsElevated();
  return owner;
}

Result RegisterFileTypes(bool register_types, bool may_relaunch) noexcept {
  return RegisterFileTypes(ProcessFileTypeOwner(), register_types, may_relaunch);
}

Result RegisterFileTypes(const FileTypeOwner& owner, bool register_types,
                         bool may_relaunch) noexcept {
  if (owner.resources == nullptr || owner.program_path.IsEmpty()) return kInvalidArgument;
  if (!owner.elevated) {
    if (!may_relaunch) return kAccessDenied;
    // The elevated copy reads the preferences from the registry.
    Preferences::Instance().Save();
    return ShellRunElevated(owner.program_path.Text(),
                            register_types ? u"/RegisterFileTypes" : u"/UnregisterFileTypes");
  }
  if (register_types) RegisterAppPaths(owner.program_path);
  Result result =
      ForEachEntry(*owner.resources, u"FileTypes", u"FileType", [&](const XmlElement& entry) {
        return register_types ? RegisterFileType(owner, entry) : UnregisterFileType(owner, entry);
      });
  if (result != kOk) return result;
  return ForEachEntry(
      *owner.resources, u"CustomProtocols", u"Protocol", [&](const XmlElement& entry) {
        return register_types ? RegisterProtocol(owner, entry) : UnregisterProtocol(entry);
      });
}

}  // namespace vorn
