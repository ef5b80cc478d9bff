// The framework's own data files as they ship: every key its descriptions
// use exists in each language, and each of its message boxes composes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/resource_manager.h"
#include "resources/support/test_package.h"
#include "ui/message_box.h"
#include "ui/support/message_box_fixture.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

using test::Utf8;

const char* const kLanguages[] = {"en", "fr", "it", "zh"};

std::string SourceFile(const std::string& name) {
  std::ifstream file(std::string(VORN_PACKAGE_DATA) + "/Data/Xml/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// ID -> text of a string file, parsed on its own.
std::map<std::string, std::string> StringEntries(const std::string& language) {
  const std::string bytes = SourceFile("VornLib-Strings-" + language + ".xml");
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << language << ": UTF-8 with its mark";
  XmlDocument document;
  EXPECT_EQ(document.Parse(bytes.data(), bytes.size()), kOk) << language;
  std::map<std::string, std::string> entries;
  const XmlElement* root = document.RootElement();
  if (!root) return entries;
  String root_language;
  root->ReadAttributeText(u"Language", root_language);
  EXPECT_EQ(Utf8(root_language), language);
  for (const XmlElement* entry = root->FirstChild(); entry; entry = entry->NextSibling()) {
    String id, text;
    EXPECT_EQ(entry->ReadAttributeText(u"ID", id), kOk);
    EXPECT_EQ(entry->ReadText(&text), kOk);
    EXPECT_TRUE(entries.emplace(Utf8(id), Utf8(text)).second) << language << ": " << Utf8(id);
  }
  return entries;
}

// Every "#key" of the resources file: attribute values and element texts.
std::set<std::string> KeysUsedByResources(std::vector<std::string>* message_boxes) {
  const std::string bytes = SourceFile("VornLib-Resources.xml");
  XmlDocument document;
  EXPECT_EQ(document.Parse(bytes.data(), bytes.size()), kOk);
  std::set<std::string> keys;
  std::vector<const XmlElement*> pending = {document.RootElement()};
  while (!pending.empty()) {
    const XmlElement* element = pending.back();
    pending.pop_back();
    if (!element) continue;
    for (const XmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
      if (a->Value()[0] == u'#') keys.insert(Utf8(String(a->Value() + 1)));
    }
    if (element->ValueText() && element->ValueText()[0] == u'#') {
      keys.insert(Utf8(String(element->ValueText() + 1)));
    }
    if (element->Name() && String(element->Name()) == u"MessageBox" && message_boxes) {
      String id;
      element->ReadAttributeText(u"ID", id);
      message_boxes->push_back(Utf8(id));
    }
    for (const XmlElement* child = element->FirstChild(); child; child = child->NextSibling()) {
      pending.push_back(child);
    }
  }
  return keys;
}

TEST(FrameworkStrings, EveryLanguageHasEveryKeyWithTheSamePlaceholders) {
  const std::map<std::string, std::string> english = StringEntries("en");
  // The keys the framework's code looks up itself.
  for (const char* key :
       {"OpenRecentFileCmdHelp", "TimeRemainingAboutXMinutes", "TimeRemainingAboutAMinute",
        "TimeRemainingLessThanMinute", "TimeRemainingAbout10Seconds", "TimeRemainingAbout5Seconds",
        "TimeRemaining0Second", "OKButton", "CancelButton", "YesButton", "NoButton", "CloseButton",
        "QuitButton"}) {
    EXPECT_EQ(english.count(key), 1u) << key;
  }
  for (const std::string& key : KeysUsedByResources(nullptr)) {
    EXPECT_EQ(english.count(key), 1u) << key << " is used by the resources";
  }
  for (const char* language : kLanguages) {
    const std::map<std::string, std::string> entries = StringEntries(language);
    EXPECT_EQ(entries.size(), english.size()) << language;
    for (const auto& [key, text] : english) {
      const auto found = entries.find(key);
      ASSERT_NE(found, entries.end()) << language << ": " << key;
      EXPECT_FALSE(found->second.empty()) << language << ": " << key;
      EXPECT_EQ(found->second.find("{0}") != std::string::npos,
                text.find("{0}") != std::string::npos)
          << language << ": " << key;
      EXPECT_EQ(found->second.find('&') != std::string::npos, text.find('&') != std::string::npos)
          << language << ": " << key << " keeps its mnemonic";
    }
  }
}

class FrameworkResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resources_.AddSourceFile(u"Data/Xml/VornLib-Resources.xml", "Data/Xml/VornLib-Resources.xml");
    for (const char* language : kLanguages) {
      const std::string name = std::string("Data/Xml/VornLib-Strings-") + language + ".xml";
      resources_.AddSourceFile(std::u16string(name.begin(), name.end()), name);
    }
    resources_.Mount();
    for (const char16_t* path :
         {u"Data/Xml/VornLib-Resources.xml", u"Data/Xml/VornLib-Strings-en.xml",
          u"Data/Xml/VornLib-Strings-fr.xml", u"Data/Xml/VornLib-Strings-it.xml",
          u"Data/Xml/VornLib-Strings-zh.xml"}) {
      ASSERT_EQ(resources_.Manager().RegisterDocument(path), kOk) << Utf8(String(path));
    }
  }

  test::TestResources resources_;
};

TEST_F(FrameworkResourcesTest, EveryKeyResolvesInTheChosenLanguageItself) {
  const std::set<std::string> keys = KeysUsedByResources(nullptr);
  ASSERT_GE(keys.size(), 20u);
  for (const char* language : kLanguages) {
    resources_.language.index = LanguageIndex(std::u16string(language, language + 2).c_str());
    const std::map<std::string, std::string> own = StringEntries(language);
    for (const std::string& key : keys) {
      const std::u16string reference = u"#" + std::u16string(key.begin(), key.end());
      String text;
      EXPECT_EQ(LocalizeText(resources_.Manager(), reference.c_str(), text), kOk) << key;
      EXPECT_EQ(Utf8(text), own.at(key)) << language << ": " << key;
    }
  }
}

TEST_F(FrameworkResourcesTest, EachMessageBoxComposesInEveryLanguage) {
  std::vector<std::string> boxes;
  KeysUsedByResources(&boxes);
  std::sort(boxes.begin(), boxes.end());
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"CancelConfirmation", "CloseBeforeUninstall", "NotInstalled",
                                      "UninstallConfirmation", "UninstallSucceed"}));
  for (const char* language : kLanguages) {
    resources_.language.index = LanguageIndex(std::u16string(language, language + 2).c_str());
    for (const std::string& box : boxes) {
      test::RecordingDisplay display;
      MessageBoxOwner owner;
      owner.application_name = u"Demo";
      display.task_answer = kPlatformAnswerCancel;  // whatever the box, a valid answer
      const std::u16string name(box.begin(), box.end());
      const uint32_t answer =
          ShowMessageBox(resources_.Manager(), display, owner, name.c_str(), String(u"Vorn Demo"));
      EXPECT_NE(answer, kMessageBoxRefused) << language << ": " << box;
      ASSERT_EQ(display.task_calls, 1) << language << ": " << box;
      const MessageBoxRequest& request = display.last;
      EXPECT_EQ(Utf8(request.caption), "Demo");
      EXPECT_NE(Utf8(request.header).find("Vorn Demo"), std::string::npos)
          << language << ": " << box << ": " << Utf8(request.header);
      EXPECT_EQ(Utf8(request.plain_text), Utf8(request.header));
      for (uint32_t i = 0; i < request.button_count; ++i) {
        EXPECT_EQ(Utf8(request.buttons[i].label).find("<Localized Text"), std::string::npos);
      }
      const bool asks = box == "CancelConfirmation" || box == "UninstallConfirmation";
      EXPECT_EQ(request.button_set, asks ? MessageBoxButtonSet::kYesNo : MessageBoxButtonSet::kOK);
      EXPECT_EQ(request.type,
                box == "CancelConfirmation" ? MessageBoxType::kWarning : MessageBoxType::kSimple);
    }
  }
}

TEST_F(FrameworkResourcesTest, RichEditMenuHoldsItsSixCommandsInOrder) {
  XmlElement* menu = nullptr;
  ASSERT_EQ(resources_.Manager().GetElement(u"Menu", u"RichEditMenu", menu), kOk);
  std::vector<std::string> commands;
  for (const XmlElement* group = menu->FirstChild(); group; group = group->NextSibling()) {
    EXPECT_EQ(Utf8(String(group->Name())), "Group");
    for (const XmlElement* command = group->FirstChild(); command;
         command = command->NextSibling()) {
      String id;
      command->ReadAttributeText(u"ID", id);
      commands.push_back(Utf8(id));
    }
  }
  resources_.Manager().Release(menu);
  EXPECT_EQ(commands, (std::vector<std::string>{"RichEditUndoCmd", "RichEditRedoCmd",
                                                "RichEditCutCmd", "RichEditCopyCmd",
                                                "RichEditPasteCmd", "RichEditSelectAllCmd"}));
}

}  // namespace
}  // namespace vorn
