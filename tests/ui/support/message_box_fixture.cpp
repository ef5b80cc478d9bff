#include "ui/support/message_box_fixture.h"

#include <fstream>
#include <iterator>

namespace vorn::test {

void TestResources::AddSourceFile(const std::u16string& package_path, const std::string& relative) {
  const std::string path = std::string(VORN_PACKAGE_DATA) + "/" + relative;
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file.good()) << path;
  Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  package_.Add(package_path, bytes);
}

void TestResources::Mount() {
  package_.MountIn(files_);
  manager_ = std::make_unique<ResourceManager>(files_);
  manager_->SetChosenLanguageSource(&language);
  manager_->SetLocaleLanguage(kAnyLanguage);
}

}  // namespace vorn::test
