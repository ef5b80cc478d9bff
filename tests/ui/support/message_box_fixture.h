// Message boxes described in a package of the test's own, and a display
// that records what it was asked to show and answers as told.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "package/package_file_system.h"
#include "resources/languages.h"
#include "resources/resource_manager.h"
#include "resources/support/test_package.h"
#include "ui/message_box.h"

namespace vorn::test {

class RecordingDisplay : public MessageBoxDisplay {
 public:
  Result ShowTaskDialog(void* owner, const MessageBoxRequest& request,
                        int32_t& answer) noexcept override {
    ++task_calls;
    last = request;
    last_owner = owner;
    answer = task_answer;
    return task_result;
  }
  Result ShowPlainMessageBox(void* owner, const MessageBoxRequest& request,
                             int32_t& answer) noexcept override {
    ++plain_calls;
    last = request;
    last_owner = owner;
    answer = plain_answer;
    return plain_result;
  }
  String WindowTitle(void*) noexcept override { return title; }

  Result task_result = kOk;
  int32_t task_answer = 0;
  Result plain_result = kOk;
  int32_t plain_answer = 0;
  int task_calls = 0;
  int plain_calls = 0;
  MessageBoxRequest last;
  void* last_owner = nullptr;
  String title = u"Main Window";
};

class FixedLanguage : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return index; }
  uint32_t index = kAnyLanguage;
};

// A manager over the given documents (path, UTF-8 XML), all registered.
class TestResources {
 public:
  void Add(const std::u16string& path, const std::string& xml) { package_.AddXml(path, xml); }
  // Adds a file of the source tree's package data under its package path.
  void AddSourceFile(const std::u16string& package_path, const std::string& relative);
  void Mount();
  ResourceManager& Manager() { return *manager_; }
  FixedLanguage language;

 private:
  TestPackage package_;
  PackageFileSystem files_;
  std::unique_ptr<ResourceManager> manager_;
};

}  // namespace vorn::test
