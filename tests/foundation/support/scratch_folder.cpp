#include "foundation/support/scratch_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include "foundation/special_folder.h"

namespace vorn::testing {
namespace {

std::u16string UniqueName() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  std::ostringstream name;
  name << "vorn-test-" << std::hex << random() << "-" << counter++ << "-"
       << std::chrono::steady_clock::now().time_since_epoch().count();
  const std::string text = name.str();
  return std::u16string(text.begin(), text.end());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  String temporary;
  GetSpecialFolder(kTemporaryFolder, temporary);
  root_ = std::filesystem::path(Std(temporary)) / UniqueName();
  std::filesystem::create_directories(root_);
  const std::u16string text =
      root_.u16string() + static_cast<char16_t>(std::filesystem::path::preferred_separator);
  path_ = String(text.c_str());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

String ScratchFolder::Join(const std::u16string& relative) const {
  return path_ + relative.c_str();
}

std::filesystem::path ScratchFolder::FsPath(const std::u16string& relative) const {
  return relative.empty() ? root_ : root_ / std::filesystem::path(relative).make_preferred();
}

void ScratchFolder::WriteFile(const std::u16string& relative, const std::string& content) const {
  const std::filesystem::path file = FsPath(relative);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream stream(file, std::ios::binary);
  stream << content;
}

std::string ScratchFolder::ReadFile(const std::u16string& relative) const {
  std::ifstream stream(FsPath(relative), std::ios::binary);
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

std::u16string Std(const String& text) {
  return std::u16string(text.Text(), text.Length());
}

}  // namespace vorn::testing
