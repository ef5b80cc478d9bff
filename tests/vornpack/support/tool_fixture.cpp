#include "vornpack/support/tool_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace vornpack_test {

RunResult RunTool(const std::vector<std::string>& args) {
  RecordingOutput output;
  RunResult result;
  result.status = vornpack::RunVornpack(args, output);
  result.out = output.out;
  result.error = output.error;
  return result;
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::error_code ec;
  std::random_device random;
  path_ = fs::temp_directory_path(ec) /
          ("vornpack-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
  fs::create_directories(path_, ec);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempFolder::operator()(const std::string& relative) const {
  return relative.empty() ? Utf8(path_) : Utf8(path_ / fs::u8path(relative));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const fs::path& path, const std::string& text) {
  WriteFile(path, Bytes(text.begin(), text.end()));
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes TextBytes(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"installer ", "package ", "<File Size=\"12\"/>\n",
                                       "archive ",   "block ",   "the ",
                                       "of ",        "Windows "};
  std::mt19937 random(seed);
  Bytes bytes;
  while (bytes.size() < size) {
    const char* word = kWords[random() % 8];
    bytes.insert(bytes.end(), word, word + std::char_traits<char>::length(word));
  }
  bytes.resize(size);
  return bytes;
}

Bytes NoiseBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  if (!fs::exists(folder, ec)) return files;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(Utf8(fs::relative(it->path(), folder, ec)));
  }
  std::sort(files.begin(), files.end());
  return files;
}

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

}  // namespace vornpack_test
