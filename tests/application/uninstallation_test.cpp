#include "application/uninstallation.h"

#include <gtest/gtest.h>

#include <string>

#include "application/application_description.h"

namespace vorn {
namespace {

std::string Narrow(const String& text) {
  std::string narrow;
  for (uint32_t i = 0; i < text.Length(); ++i) narrow += static_cast<char>(text[i]);
  return narrow;
}

TEST(UninstallBatch, TextIsTheEightLinesWithCrLfAndNoFinalLineEnd) {
  const String text =
      UninstallBatchText(u"C:\\PROGRA~1\\VORNTE~1\\", u"C:\\PROGRA~1\\VORNTE~1\\PRODUCT.EXE",
                         u"C:\\Temp\\VNL1A2~1.CMD");
  EXPECT_EQ(Narrow(text),
            "@echo off\r\n"
            "cd\\\r\n"
            ":loop\r\n"
            "del \"C:\\PROGRA~1\\VORNTE~1\\PRODUCT.EXE\"\r\n"
            "if exist \"C:\\PROGRA~1\\VORNTE~1\\PRODUCT.EXE\" goto loop\r\n"
            "del \"C:\\PROGRA~1\\VORNTE~1\\*.???\"\r\n"
            "rd \"C:\\PROGRA~1\\VORNTE~1\\\"\r\n"
            "del \"C:\\Temp\\VNL1A2~1.CMD\"");
}

TEST(UninstallBatch, TheCompanyFolderAboveTheInstallFolderIsRemovedAfterIt) {
  const String text =
      UninstallBatchText(u"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\",
                         u"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\VORNDEMO.EXE", u"C:\\T\\B.CMD",
                         u"c:\\progra~1\\vornso~1\\");
  EXPECT_EQ(Narrow(text),
            "@echo off\r\ncd\\\r\n:loop\r\n"
            "del \"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\VORNDEMO.EXE\"\r\n"
            "if exist \"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\VORNDEMO.EXE\" goto loop\r\n"
            "del \"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\*.???\"\r\n"
            "rd \"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\\"\r\n"
            "rd \"c:\\progra~1\\vornso~1\\\"\r\n"
            "del \"C:\\T\\B.CMD\"");
  // Not above the install folder (elsewhere, the folder itself), or no
  // install folder at all: no line of its own.
  for (const char16_t* company : {u"D:\\VORNSO~1\\", u"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\",
                                  u"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\SUB\\"}) {
    const std::string other = Narrow(UninstallBatchText(
        u"C:\\PROGRA~1\\VORNSO~1\\VORNDE~1\\", u"C:\\P.EXE", u"C:\\T\\B.CMD", company));
    EXPECT_EQ(other.find("rd"), other.rfind("rd")) << other;
  }
  const std::string none =
      Narrow(UninstallBatchText(String(), u"C:\\P.EXE", u"C:\\T\\B.CMD", u"C:\\PROGRA~1\\"));
  EXPECT_EQ(none.find("rd"), std::string::npos) << none;
}

TEST(UninstallBatch, WithoutAFolderOnlyTheProgramAndTheBatchAreDeleted) {
  const String text = UninstallBatchText(String(), u"C:\\P\\PRODUCT.EXE", u"C:\\T\\B.CMD");
  EXPECT_EQ(Narrow(text),
            "@echo off\r\ncd\\\r\n:loop\r\ndel \"C:\\P\\PRODUCT.EXE\"\r\n"
            "if exist \"C:\\P\\PRODUCT.EXE\" goto loop\r\ndel \"C:\\T\\B.CMD\"");
  EXPECT_EQ(Narrow(text).find("*.???"), std::string::npos);
}

TEST(UninstallBatch, AProgramInSubfoldersHasThemRemovedDeepestFirstBeforeTheFolder) {
  const String text =
      UninstallBatchText(u"C:\\ACMEVE~1\\WRITER\\", u"c:\\acmeve~1\\writer\\BIN\\X64\\WRITER.EXE",
                         u"C:\\T\\B.CMD");
  EXPECT_EQ(Narrow(text),
            "@echo off\r\ncd\\\r\n:loop\r\n"
            "del \"c:\\acmeve~1\\writer\\BIN\\X64\\WRITER.EXE\"\r\n"
            "if exist \"c:\\acmeve~1\\writer\\BIN\\X64\\WRITER.EXE\" goto loop\r\n"
            "rd \"c:\\acmeve~1\\writer\\BIN\\X64\"\r\n"
            "rd \"c:\\acmeve~1\\writer\\BIN\"\r\n"
            "del \"C:\\ACMEVE~1\\WRITER\\*.???\"\r\n"
            "rd \"C:\\ACMEVE~1\\WRITER\\\"\r\n"
            "del \"C:\\T\\B.CMD\"");
  // A program outside the folder, or a path that could leave it or change
  // the line, adds no "rd" of its own; nor does one without a folder.
  for (const char16_t* program : {u"D:\\OTHER\\BIN\\W.EXE", u"C:\\A\\W\\..\\..\\W.EXE",
                                  u"C:\\A\\W\\%PATH%\\W.EXE", u"C:\\A\\W\\\\W.EXE"}) {
    const std::string other = Narrow(UninstallBatchText(u"C:\\A\\W\\", program, u"C:\\T\\B.CMD"));
    EXPECT_EQ(other.find("rd"), other.rfind("rd")) << other;
  }
  EXPECT_EQ(Narrow(UninstallBatchText(String(), u"C:\\A\\BIN\\W.EXE", u"B.CMD")).find("rd"),
            std::string::npos);
}

TEST(UninstallBatch, OnlyAbsoluteFoldersBelowADriveRootMayBeEmptied) {
  for (const char16_t* folder : {u"C:\\Program Files\\Vorn\\", u"D:/Games/Vorn/", u"c:\\A\\"}) {
    EXPECT_TRUE(IsRemovableInstallFolder(folder)) << Narrow(folder);
  }
  for (const char16_t* folder :
       {u"", u"\\", u"C:\\", u"C:/", u"C:", u"C:Vorn\\", u"Vorn\\", u"\\Vorn\\",
        u"\\\\server\\share\\", u"C:\\Vorn", u"C:\\..\\", u"C:\\Vorn\\..\\", u"C:\\.\\",
        u"C:\\Vorn\\\\", u"C:\\Vo\"rn\\", u"C:\\Vo*rn\\", u"C:\\%TEMP%\\", u"1:\\Vorn\\"}) {
    EXPECT_FALSE(IsRemovableInstallFolder(folder)) << Narrow(folder);
  }
}

TEST(UninstallLists, RecordedFilesMustStayInsideTheInstallFolder) {
  for (const char16_t* file :
       {u"Product.exe", u"Data\\a.dat", u"Data/Maps/b.map", u"..x", u"a..\\b"}) {
    EXPECT_TRUE(IsInstallRelativePath(file)) << Narrow(file);
  }
  for (const char16_t* file :
       {u"", u"C:\\Windows\\win.ini", u"\\Windows\\win.ini", u"C:win.ini", u"..\\outside.txt",
        u"Data\\..\\..\\x", u"Data/../x", u"..", u"file.txt:stream"}) {
    EXPECT_FALSE(IsInstallRelativePath(file)) << Narrow(file);
  }
}

TEST(UninstallLists, OnlyShortcutFilesAreRemovedFromTheShortcutList) {
  EXPECT_TRUE(IsShortcutFile(u"C:\\Users\\u\\Desktop\\Vorn.lnk"));
  EXPECT_TRUE(IsShortcutFile(u"C:\\Users\\u\\Desktop\\Vorn.LNK"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Users\\u\\Documents\\thesis.doc"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Users\\u\\Desktop\\"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Users\\u\\Desktop\\.lnk"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Users\\u\\lnk"));
}

TEST(UninstallNames, EntryAndTitleComeFromTheDescription) {
  ApplicationDescription description;
  ASSERT_EQ(TextToGuid(u"5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36", description.uuid), kOk);
  description.name = u"Vorn";
  description.version = u"2.5";
  EXPECT_EQ(UninstallEntryName(description.uuid),
            String(u"{5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36}"));
  EXPECT_EQ(UninstallTitle(description), String(u"Vorn\u00A02.5"));
  description.tag = u"Beta one";
  EXPECT_EQ(UninstallTitle(description), String(u"Vorn\u00A02.5 Beta one"));
}

}  // namespace
}  // namespace vorn
