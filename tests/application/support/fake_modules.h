// Scripted modules, main window and usage reporter for tests of the
// application core: each records what the core asked of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "application/app_module.h"
#include "application/application_window.h"
#include "application/usage_reporter.h"

namespace vorn::testing {

class ScriptedModule : public AppModule {
 public:
  ScriptedModule(std::string name, std::vector<std::string>& journal)
      : name_(std::move(name)), journal_(journal) {}

  Result initialize_result = kOk;
  bool idle = true;
  // Called with the frame number (0-based); returns the update's result.
  std::function<Result(int)> on_update;
  std::vector<float> frame_times;

  Result Initialize() noexcept override {
    journal_.push_back(name_ + ".initialize");
    return initialize_result;
  }
  bool IsIdle() noexcept override { return idle; }
  Result Update(float frame_time) noexcept override {
    journal_.push_back(name_ + ".update");
    frame_times.push_back(frame_time);
    const int frame = static_cast<int>(frame_times.size()) - 1;
    return on_update ? on_update(frame) : kOk;
  }
  void Shutdown() noexcept override { journal_.push_back(name_ + ".shutdown"); }

 private:
  std::string name_;
  std::vector<std::string>& journal_;
};

class FakeWindow : public ApplicationWindow {
 public:
  explicit FakeWindow(std::vector<std::string>& journal) : journal_(journal) {}

  Result create_result = kOk;
  bool maximized = false;
  bool has_window = false;
  // What SystemHandle gives while the system window exists.
  void* handle = nullptr;
  std::function<void()> on_started;
  std::vector<std::u16string> opened_files;

  bool HasSystemWindow() const noexcept override { return has_window; }
  void* SystemHandle() const noexcept override { return has_window ? handle : nullptr; }
  Result CreateSystemWindow() noexcept override {
    journal_.push_back("window.create");
    has_window = create_result == kOk;
    return create_result;
  }
  void DestroySystemWindow() noexcept override {
    journal_.push_back("window.destroy");
    has_window = false;
  }
  bool IsMaximized() const noexcept override { return maximized; }
  void UpdateFrame(float) noexcept override { journal_.push_back("window.update"); }
  bool IsIdle() noexcept override { return true; }
  bool PreTranslateMessage(void*) noexcept override { return false; }
  void ApplicationStarted() noexcept override {
    journal_.push_back("window.started");
    if (on_started) on_started();
  }
  bool OpenFiles(const String* files, uint32_t count) noexcept override {
    for (uint32_t i = 0; i < count; ++i) {
      opened_files.emplace_back(files[i].Text(), files[i].Length());
    }
    return true;
  }

 private:
  std::vector<std::string>& journal_;
};

class RecordingReporter : public UsageReporter {
 public:
  explicit RecordingReporter(std::vector<std::string>& journal) : journal_(journal) {}
  Result SetScreenName(const char16_t* name) noexcept override {
    std::string text;
    for (; *name; ++name) text += static_cast<char>(*name);
    journal_.push_back("screen=" + text);
    return kOk;
  }
  Result StartScreenView() noexcept override {
    journal_.push_back("screenview");
    return kOk;
  }
  void EndOfProgram() noexcept override { journal_.push_back("end"); }

 private:
  std::vector<std::string>& journal_;
};

}  // namespace vorn::testing
