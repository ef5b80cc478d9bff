#include "resources/localized_text.h"

#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "xml/xml_element.h"

namespace vorn {

Result LocalizeText(ResourceManager& resources, const char16_t* text, String& result) noexcept {
  result = String();
  if (!text) return kLocalizedTextMissing;
  if (text[0] != u'#') {
    result = text;
    return kOk;
  }
  if (text[1] == u'#') {
    result = text + 1;
    return kOk;
  }
  const char16_t* key = text + 1;
  XmlElement* element = nullptr;
  if (resources.GetElement(u"String", key, element) != kOk) {
    result = u"<Localized Text: " + String(key) + u'>';
    return kLocalizedTextMissing;
  }
  const Result read = element->ReadText(&result);
  resources.Release(element);
  if (read != kOk) {
    result = String();
    return kFailed;
  }
  return kOk;
}

Result LocalizeText(const char16_t* text, String& result) noexcept {
  return LocalizeText(ResourceManager::Instance(), text, result);
}

String LocalizedString(const char16_t* text) noexcept {
  String result;
  LocalizeText(text, result);
  return result;
}

uint32_t ChosenLanguage() noexcept {
  return Preferences::Instance().ChosenLanguage();
}

Result SetChosenLanguage(const char16_t* name) noexcept {
  return Preferences::Instance().SetChosenLanguage(name);
}

}  // namespace vorn
