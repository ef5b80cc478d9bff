#include "setup/install_options.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

struct Case {
  const char16_t* text;
  bool valid;
};

void ExpectFolders(std::initializer_list<Case> cases) {
  for (const Case& entry : cases) {
    EXPECT_EQ(IsValidInstallFolder(String(entry.text)), entry.valid)
        << String(entry.text).Length() << " units, expected " << entry.valid;
  }
}

void ExpectGroups(std::initializer_list<Case> cases) {
  for (const Case& entry : cases) {
    EXPECT_EQ(IsValidProgramGroup(String(entry.text)), entry.valid)
        << String(entry.text).Length() << " units, expected " << entry.valid;
  }
}

TEST(InstallOptionsTest, FolderMustBeAFullPathWithItsDrive) {
  ExpectFolders({
      {u"C:\\Program Files\\Vorn Software\\Vorn Demo", true},
      {u"d:/Apps/Vorn", true},
      {u"C:\\Vorn Demo (Beta)", true},
      {u"", false},
      {u"Program Files\\Vorn", false},       // no drive
      {u"\\Program Files\\Vorn", false},     // the current drive's root
      {u"C:\\Program Files\\Vorn\\", false},  // trailing separator
      {u"C:\\Program Files\\Vorn/", false},
      {u"C:\\", false},
      {u"C:", false},
      {u"\\\\server\\share\\Vorn", false},  // network path
      {u"C:\\Program Files\\\\Vorn", false},
      {u"1:\\Vorn", false},
  });
}

TEST(InstallOptionsTest, FolderWithCharactersWindowsRefusesIsInvalid) {
  ExpectFolders({
      {u"C:\\Vorn*", false},
      {u"C:\\Vorn?", false},
      {u"C:\\Vo\"rn", false},
      {u"C:\\<Vorn>", false},
      {u"C:\\Vorn|Demo", false},
      {u"C:\\Vorn:Demo", false},
  });
}

// A folder resolved against the drive's current folder, or one that climbs
// out of the folder shown, would put the product somewhere else.
TEST(InstallOptionsTest, DriveRelativeAndDottedFoldersAreInvalid) {
  ExpectFolders({
      {u"C:.", false},
      {u"C:Vorn", false},
      {u"C:..\\Windows", false},
      {u"C:\\Program Files\\..\\Windows", false},
      {u"C:\\Program Files\\.\\Vorn", false},
      {u"C:\\Program Files\\Vorn\\..", false},
      {u"C:\\Program Files\\Vorn\\.", false},
      {u"C:\\Program Files\\...", false},
      {u"C:/Program Files/../Windows", false},
      // Dots inside a name are fine.
      {u"C:\\Program Files\\Vorn.Demo", true},
      {u"C:\\Program Files\\.Vorn", true},
      {u"C:\\Program Files\\Vorn..Demo", true},
  });
}

TEST(InstallOptionsTest, GroupMustStayInsideTheProgramsMenu) {
  ExpectGroups({
      {u"Vorn Demo", true},
      {u"Vorn Software\\Vorn Demo", true},
      {u"Vorn Demo (Beta)", true},
      {u"", false},
      {u"\\Vorn Demo", false},
      {u"/Vorn Demo", false},
      {u"C:Vorn", false},
      {u"C:\\Vorn", false},
      {u"Vorn Demo\\", false},
      {u"Vorn*", false},
      {u"..\\Startup", false},
      {u"Vorn\\..\\..\\Desktop", false},
      {u".", false},
  });
}

TEST(InstallOptionsTest, InstallNeedsBothValid) {
  const String folder(u"C:\\Program Files\\Vorn");
  const String group(u"Vorn");
  EXPECT_TRUE(InstallOptionsValid(folder, group));
  EXPECT_FALSE(InstallOptionsValid(String(u"Vorn"), group));
  EXPECT_FALSE(InstallOptionsValid(folder, String(u"\\Vorn")));
}

TEST(InstallOptionsTest, GroupPickedThenTypedGetsTheProductsFolderInside) {
  const String group = GroupInsidePicked(String(u"Accessories"), String(u"Vorn Demo (Beta)"));
  EXPECT_TRUE(group == u"Accessories\\Vorn Demo (Beta)");
  EXPECT_TRUE(IsValidProgramGroup(group));
}

}  // namespace
}  // namespace vorn
