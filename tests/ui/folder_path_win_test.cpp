// The shell's folder picker under Windows: opened on an initial folder,
// confirmed and cancelled by a watcher, with and without its new-folder
// button.
#include <windows.h>
// The system headers below need windows.h first.
#include <gtest/gtest.h>
#include <objbase.h>

#include "resources/support/test_package.h"
#include "ui/folder_path.h"
#include "ui/support/message_box_watcher_win.h"

namespace vorn {
namespace {

class FolderPickerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

  Result Pick(FolderPickerOptions options, int press, const std::string& screenshot,
              test::Watch& watch, String& path) {
    watch.press = press;
    watch.screenshot = screenshot;
    HANDLE thread = CreateThread(nullptr, 0, test::WatchBox, &watch, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    const Result result = RunFolderPicker(options, path);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return result;
  }

  static String WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return String(reinterpret_cast<const char16_t*>(folder));
  }
};

TEST_F(FolderPickerTest, ConfirmedFolderEndsWithABackslash) {
  FolderPickerOptions options;
  options.prompt = u"Choose the install folder";
  options.initial_path = WindowsFolder();
  test::Watch watch;
  String path = u"stale";
  ASSERT_EQ(Pick(options, IDOK, "folder-picker.png", watch, path), kOk);
  ASSERT_TRUE(watch.found);
  EXPECT_NE(watch.texts.find(L"Choose the install folder"), std::wstring::npos);
  const String expected = WindowsFolder() + u"\\";
  EXPECT_TRUE(path.EqualsIgnoringCase(expected.Text()))
      << test::Utf8(path) << " for " << test::Utf8(WindowsFolder());
  EXPECT_EQ(watch.button_ids.size(), 3u);  // new folder, OK, Cancel
}

TEST_F(FolderPickerTest, CancelGivesEightAndNoPathWithoutTheNewFolderButton) {
  FolderPickerOptions options;
  options.prompt = u"Choose";
  options.desktop_root = true;
  options.new_folder_button = false;
  test::Watch watch;
  String path = u"stale";
  EXPECT_EQ(Pick(options, IDCANCEL, "folder-picker-cancelled.png", watch, path), kCancelled);
  ASSERT_TRUE(watch.found);
  EXPECT_TRUE(path.IsEmpty());
  EXPECT_EQ(watch.button_ids.size(), 2u);  // OK and Cancel only
}

}  // namespace
}  // namespace vorn
