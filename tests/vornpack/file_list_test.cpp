// The generated "Data/Xml/FileList.xml" as the installer reads it back, and
// the package paths a build refuses.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <regex>

#include "file_list_xml.h"
#include "package/package_file_system.h"
#include "package_path.h"
#include "tool_text.h"
#include "vornpack/support/tool_fixture.h"
#include "xml/xml_document.h"

namespace vornpack_test {
namespace {

using vornpack::FromUtf8;
using vornpack::ToUtf8;

struct ListedFile {
  std::string size;
  std::string date;
};

// The installer's reading of the list: each nested Files element glues its
// Path to its parent's, each File's text is a name in the current folder.
void ReadFiles(const vorn::XmlElement* files, const std::string& prefix,
               std::map<std::string, ListedFile>& out, std::vector<std::string>& folders) {
  const vorn::XmlAttribute* path = files->FindAttribute(u"Path");
  ASSERT_NE(path, nullptr);
  const std::string here = prefix + ToUtf8(std::u16string(path->Value()));
  folders.push_back(here);
  for (const vorn::XmlElement* child = files->FirstChild(); child; child = child->NextSibling()) {
    const std::u16string name = child->Name();
    if (name == u"Files") {
      ReadFiles(child, here, out, folders);
      continue;
    }
    ASSERT_EQ(name, u"File");
    const vorn::XmlAttribute* size = child->FindAttribute(u"Size");
    const vorn::XmlAttribute* date = child->FindAttribute(u"Date");
    ASSERT_TRUE(size && date && child->ValueText());
    out[here + ToUtf8(std::u16string(child->ValueText()))] = {
        ToUtf8(std::u16string(size->Value())), ToUtf8(std::u16string(date->Value()))};
  }
}

// Sets a file's modification time and returns it as the file system keeps
// it (the C++ library of mingw-w64 sets whole seconds only).
int64_t SetModified(const fs::path& file, int64_t unix_microseconds) {
  using namespace std::chrono;
  const sys_time<microseconds> when{microseconds(unix_microseconds)};
  fs::last_write_time(file, file_clock::from_sys(when));
  return duration_cast<microseconds>(
             file_clock::to_sys(fs::last_write_time(file)).time_since_epoch())
      .count();
}

std::string IsoText(int64_t unix_microseconds) {
  return vornpack::IsoUtcText(vorn::DateTime::FromUnixTime(unix_microseconds / 1000000,
                                                           unix_microseconds % 1000000 * 1000));
}

class FileListTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(temp_.Path() / "pkg/Data/Xml/Configuration.xml", std::string("<Resources/>"));
    // A stale list in the folder is replaced by the generated one.
    WriteFile(temp_.Path() / "pkg/Data/Xml/FileList.xml", std::string("<Resources/>"));
    products_ = {{"Product/app.exe", 1234},
                 {"Product/Tom & Jerry's.txt", 7},
                 {"Product/Bin/x64/tool.dll", 70000},
                 {"Product/Bin/readme.txt", 0},
                 {"Product/Docs/manual.txt", 4321}};
    for (const auto& [path, size] : products_) {
      WriteFile(temp_.Path() / "pkg" / fs::u8path(path), TextBytes(size, 9));
    }
    WriteFile(temp_.Path() / "pkg/Data/Pictures/Logo.png", NoiseBytes(100, 1));
  }

  // Builds with a file list of `product` and reads the list back through
  // the installer's file system.
  std::string BuildAndReadList(const std::string& product) {
    RunResult run = RunTool({"build", temp_("pkg"), "-o", temp_("out.kelp"), "--quiet",
                             "--no-check", "--file-list", product});
    EXPECT_EQ(run.status, 0) << run.error;
    vorn::PackageFileSystem files;
    EXPECT_EQ(files.MountFile(FromUtf8(temp_("out.kelp")).c_str()), vorn::kOk);
    uint8_t* buffer = nullptr;
    uint64_t size = 0;
    EXPECT_EQ(files.ReadAll(u"Data/Xml/FileList.xml", buffer, size), vorn::kOk);
    std::string text(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return text;
  }

  TempFolder temp_;
  std::map<std::string, uint64_t> products_;
};

TEST_F(FileListTest, ListsEveryProductFileWithSizeAndDateInNestedFolders) {
  const int64_t app = SetModified(temp_.Path() / "pkg/Product/app.exe", 1453026030123456);
  const int64_t tool = SetModified(temp_.Path() / "pkg/Product/Bin/x64/tool.dll", 946684799000001);
#ifndef _WIN32
  EXPECT_EQ(IsoText(app), "2016-01-17T10:20:30.123456Z");
  EXPECT_EQ(IsoText(tool), "1999-12-31T23:59:59.000001Z");
#endif
  const std::string text = BuildAndReadList(temp_("pkg/Product"));
  vorn::XmlDocument document;
  ASSERT_EQ(document.Parse(text.data(), text.size()), vorn::kOk) << text;
  const vorn::XmlElement* root = document.RootElement();
  ASSERT_EQ(std::u16string(root->Name()), u"Resources");
  const vorn::XmlElement* files = root->FirstChild();
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(std::u16string(files->Name()), u"Files");
  EXPECT_EQ(files->NextSibling(), nullptr);

  std::map<std::string, ListedFile> listed;
  std::vector<std::string> folders;
  ReadFiles(files, "", listed, folders);
  EXPECT_EQ(folders, (std::vector<std::string>{"Product/", "Product/Bin/", "Product/Bin/x64/",
                                               "Product/Docs/"}));
  ASSERT_EQ(listed.size(), products_.size()) << text;
  const std::regex iso(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{6}Z)");
  for (const auto& [path, size] : products_) {
    ASSERT_EQ(listed.count(path), 1u) << path << "\n" << text;
    EXPECT_EQ(listed[path].size, std::to_string(size)) << path;
    EXPECT_TRUE(std::regex_match(listed[path].date, iso)) << listed[path].date;
  }
  EXPECT_EQ(listed["Product/app.exe"].date, IsoText(app));
  EXPECT_EQ(listed["Product/Bin/x64/tool.dll"].date, IsoText(tool));
  EXPECT_EQ(text.find("Logo.png"), std::string::npos) << "only the product folder is listed";

  // Every listed path is an entry of the same archive.
  vorn::PackageFileSystem package;
  ASSERT_EQ(package.MountFile(FromUtf8(temp_("out.kelp")).c_str()), vorn::kOk);
  for (const auto& [path, file] : listed) {
    uint8_t* buffer = nullptr;
    uint64_t size = 0;
    ASSERT_EQ(package.ReadAll(FromUtf8(path).c_str(), buffer, size), vorn::kOk) << path;
    EXPECT_EQ(std::to_string(size), file.size);
    std::free(buffer);
  }
}

TEST_F(FileListTest, TakesTheProductFolderRelativeToThePackageFolder) {
  const std::string text = BuildAndReadList("Product/Bin");
  EXPECT_NE(text.find("<Files Path=\"Product/Bin/\">"), std::string::npos) << text;
  EXPECT_EQ(text.find("app.exe"), std::string::npos) << text;
}

TEST_F(FileListTest, RefusesAProductFolderOutsideThePackage) {
  WriteFile(temp_.Path() / "elsewhere/file.txt", std::string("x"));
  for (const std::string& product : {temp_("elsewhere"), temp_("pkg"), temp_("pkg/Nothing")}) {
    RunResult run = RunTool(
        {"build", temp_("pkg"), "-o", temp_("out.kelp"), "--no-check", "--file-list", product});
    EXPECT_EQ(run.status, 1) << product;
    EXPECT_NE(run.error.find("--file-list"), std::string::npos) << run.error;
    EXPECT_FALSE(fs::exists(temp_.Path() / "out.kelp"));
  }
}

TEST(FileListDate, IsUtcWithSixFractionalDigits) {
  EXPECT_EQ(vornpack::IsoUtcText(vorn::DateTime::FromUnixTime(0, 0)),
            "1970-01-01T00:00:00.000000Z");
  EXPECT_EQ(vornpack::IsoUtcText(vorn::DateTime::FromUnixTime(1453026030, 999999000)),
            "2016-01-17T10:20:30.999999Z");
  EXPECT_EQ(vornpack::IsoUtcText(vorn::DateTime::FromUnixTime(951782400, 5000)),
            "2000-02-29T00:00:00.000005Z");
}

TEST(PackagePath, RefusesWhatTheInstallerCouldNeverAskFor) {
  std::string reason;
  for (const char16_t* good : {u"Data/Xml/Configuration.xml", u"a", u"Product/.hidden/x..y",
                               u"Produkt/\u00e9t\u00e9.txt"}) {
    EXPECT_EQ(vornpack::CheckPackagePath(good, reason), vorn::kOk) << ToUtf8(std::u16string(good));
  }
  struct Case {
    const char16_t* path;
    const char* says;
  };
  for (const Case& c :
       {Case{u"", "empty"}, Case{u"/Data/a.xml", "\"/\""}, Case{u"Data//a.xml", "empty segment"},
        Case{u"Data/", "empty segment"}, Case{u"Data\\Xml\\a.xml", "\\"}, Case{u"../up.txt", ".."},
        Case{u"Data/./a.xml", "\".\""}, Case{u"C:/x", ":"}, Case{u"a\tb", "control character"}}) {
    EXPECT_EQ(vornpack::CheckPackagePath(c.path, reason), vorn::kInvalidPath)
        << ToUtf8(std::u16string(c.path));
    EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
  }
}

// On POSIX systems a file name may hold what Windows takes for separators:
// such a file would be packed under a path nobody can open.
TEST(PackagePath, ABuildRefusesAFileWhosePathIsNotValidNamingIt) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names cannot hold these characters";
#else
  for (const std::string name : {"Product/dir\\file.txt", "Product/a:b.txt"}) {
    TempFolder temp;
    WriteFile(temp.Path() / "pkg/Data/Xml/Configuration.xml", std::string("<Resources/>"));
    WriteFile(temp.Path() / "pkg" / name, std::string("content"));
    RunResult run = RunTool({"build", temp("pkg"), "-o", temp("out.kelp"), "--no-check"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.error.find(name), std::string::npos) << run.error;
    EXPECT_NE(run.error.find("is not valid in an archive"), std::string::npos) << run.error;
    EXPECT_FALSE(fs::exists(temp.Path() / "out.kelp"));
    EXPECT_EQ(FilesBelow(temp.Path()).size(), 2u);
  }
#endif
}

}  // namespace
}  // namespace vornpack_test
