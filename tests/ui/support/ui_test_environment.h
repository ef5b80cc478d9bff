// Window descriptions for the toolkit's tests: a package of XML documents
// mounted in memory, its resource manager and preferences over a memory
// store, installed as the toolkit's services for the test's lifetime.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "package/package_file_system.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "resources/support/memory_preference_store.h"
#include "resources/support/picture_files.h"
#include "resources/support/test_package.h"
#include "ui/ui_platform.h"
#include "ui/window_services.h"
#include "xml/xml_document.h"

namespace vorn::test {

// A platform whose captioned windows have a frame: 8 pixels on each side,
// and 30 more at the top for the caption, so client and outer sizes differ
// as on a real screen.
class FramedPlatform : public HeadlessUiPlatform {
 public:
  void OuterSize(uint32_t style, uint32_t ex_style, int32_t client_width, int32_t client_height,
                 int32_t& width, int32_t& height) noexcept override {
    const bool framed = (style & 0x00C00000) == 0x00C00000;
    width = client_width + (framed ? 16 : 0);
    height = client_height + (framed ? 46 : 0);
  }
  DialogBaseUnits MeasureBaseUnits(void*) noexcept override { return units; }
  DialogBaseUnits units{7, 13};
};

class UiTestEnvironment {
 public:
  // Each document is the body of a "Resources" root; registered in order.
  // `files` are further package files (pictures) by their path.
  explicit UiTestEnvironment(const std::vector<std::string>& documents,
                             const std::vector<std::pair<std::u16string, Bytes>>& files = {}) {
    for (const auto& file : files) package_.Add(file.first, file.second);
    int index = 0;
    std::vector<std::u16string> paths;
    for (const std::string& body : documents) {
      std::u16string path = u"Data/Xml/Doc" + std::u16string(1, char16_t(u'A' + index++)) + u".xml";
      package_.AddXml(path, "<Resources>\n" + body + "\n</Resources>\n");
      paths.push_back(path);
    }
    package_.AddXml(u"Data/Xml/Configuration.xml",
                    "<Resources><Application Company=\"Kelp\" Name=\"Demo\" Version=\"1\"/>"
                    "</Resources>");
    package_.MountIn(files_);
    manager_ = std::make_unique<ResourceManager>(files_);
    EXPECT_EQ(manager_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
    for (const std::u16string& path : paths) {
      EXPECT_EQ(manager_->RegisterDocument(path.c_str()), kOk);
    }
    preferences_ = std::make_unique<Preferences>(*manager_, store_);
    SetUiResources(manager_.get());
    SetUiPreferences(preferences_.get());
    SetUiPlatform(&platform_);
  }
  ~UiTestEnvironment() {
    SetUiPlatform(nullptr);
    SetUiResources(nullptr);
    SetUiPreferences(nullptr);
  }

  ResourceManager& Resources() { return *manager_; }
  Preferences& Prefs() { return *preferences_; }
  MemoryPreferenceStore& Store() { return store_; }
  FramedPlatform& Platform() { return platform_; }

 private:
  TestPackage package_;
  PackageFileSystem files_;
  MemoryPreferenceStore store_;
  std::unique_ptr<ResourceManager> manager_;
  std::unique_ptr<Preferences> preferences_;
  FramedPlatform platform_;
};

// Parses one element (a description) for tests that read it directly.
class ParsedElement {
 public:
  explicit ParsedElement(const std::string& xml);
  const XmlElement* Get() const { return document_.RootElement(); }

 private:
  XmlDocument document_;
};

}  // namespace vorn::test
