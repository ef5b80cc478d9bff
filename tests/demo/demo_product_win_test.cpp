// Vorn Demo run the way a user, the shell and its installer run it: each
// test starts the packed VornDemo.exe in a process of its own, reads its
// window and message boxes back through the window tree, presses their
// buttons, and checks the registry and the files afterwards. Screenshots of
// the window and the boxes land next to this program.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui/support/message_box_watcher_win.h"
#include "ui/window_id.h"

namespace {

constexpr wchar_t kWindowClass[] = L"Vorn Demo::Window";
constexpr wchar_t kEntry[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{A3F7E25B-8DDD-4295-AABA-AA8422105818}";
constexpr wchar_t kAppPaths[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VornDemo.exe";
constexpr wchar_t kPreferences[] = L"Software\\Vorn Software\\Vorn Demo";
// What the uninstallation calls the product: name, no-break space, version.
constexpr wchar_t kTitle[] = L"Vorn Demo\u00A01.0";

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (; *text; ++text) wide += static_cast<wchar_t>(*text == '/' ? '\\' : *text);
  return wide;
}

const std::wstring& DemoProgram() {
  static const std::wstring path = Widen(VORN_DEMO_PRODUCT);
  return path;
}

std::wstring Temporary(const std::wstring& name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

std::string Narrow(const std::wstring& text) {
  std::string utf8(text.size() * 3 + 1, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(length > 0 ? length - 1 : 0);
  return utf8;
}

// One run of the product.
class DemoRun {
 public:
  explicit DemoRun(const std::wstring& arguments, const std::wstring& program = DemoProgram()) {
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      ADD_FAILURE() << "cannot start " << Narrow(command) << ": " << GetLastError();
    }
  }
  ~DemoRun() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 0xDEAD);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  DemoRun(const DemoRun&) = delete;
  DemoRun& operator=(const DemoRun&) = delete;

  DWORD Id() const { return process_.dwProcessId; }
  // The exit code, or 0xDEAD when the process did not end in time.
  DWORD Wait(DWORD milliseconds = 60000) {
    if (process_.hProcess == nullptr) return 0xDEAD;
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return 0xDEAD;
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
};

struct WindowSearch {
  DWORD process;
  const wchar_t* class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if ((search.process == 0 || process == search.process) && IsWindowVisible(window) &&
      wcscmp(name, search.class_name) == 0) {
    search.found.push_back(window);
  }
  return TRUE;
}

// Every visible top-level window of that class (of that process, unless 0).
std::vector<HWND> WindowsOf(DWORD process, const wchar_t* class_name) {
  WindowSearch search{process, class_name, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD process, const wchar_t* class_name) {
  for (int attempt = 0; attempt < 600; ++attempt) {
    const std::vector<HWND> found = WindowsOf(process, class_name);
    if (!found.empty()) {
      // Let it paint before it is read and photographed.
      Sleep(500);
      return found.front();
    }
    Sleep(50);
  }
  return nullptr;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                      &copied);
  return text;
}

std::wstring ControlText(HWND window, const char16_t* name) {
  HWND control = GetDlgItem(window, vorn::WindowIdOf(name));
  return control ? TextOf(control) : L"<no control>";
}

// Whether the control's text fits on one line of the message font at the
// control's width (the descriptions use that font for every plain text).
bool FitsOnOneLine(HWND window, const char16_t* name) {
  HWND control = GetDlgItem(window, vorn::WindowIdOf(name));
  if (control == nullptr) return false;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HDC context = GetDC(nullptr);
  HGDIOBJ old = SelectObject(context, font);
  const std::wstring text = TextOf(control);
  SIZE extent{};
  GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(context, old);
  ReleaseDC(nullptr, context);
  DeleteObject(font);
  RECT client{};
  GetClientRect(control, &client);
  return extent.cx <= client.right;
}

struct BoxSearch {
  std::wstring texts;
  HWND pressed = nullptr;
  const wchar_t* label;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter) {
  auto& search = *reinterpret_cast<BoxSearch*>(parameter);
  std::wstring text;
  for (wchar_t unit : TextOf(child)) {
    if (unit != L'&') text += unit;
  }
  search.texts += text + L"\n";
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (wcscmp(name, L"Button") == 0 && IsWindowVisible(child) && text == search.label) {
    search.pressed = child;
  }
  return TRUE;
}

// Waits for the process's message box, saves its picture, presses the
// button with that label and gives back every text the box showed.
std::wstring AnswerBox(DWORD process, const wchar_t* label, const std::string& screenshot) {
  HWND box = WaitForWindow(process, L"#32770");
  if (box == nullptr) return L"<no box>";
  BoxSearch search;
  search.label = label;
  search.texts = TextOf(box) + L"\n";
  EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&search));
  if (!screenshot.empty()) vorn::test::SaveScreenshot(box, screenshot);
  if (search.pressed == nullptr) return search.texts + L"<no button " + label + L">";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.pressed), BN_CLICKED),
               reinterpret_cast<LPARAM>(search.pressed));
  // Gone before the next box is looked for.
  for (int attempt = 0; attempt < 200 && IsWindow(box) && IsWindowVisible(box); ++attempt) {
    Sleep(50);
  }
  return search.texts;
}

std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (SHGetValueW(root, key.c_str(), name, nullptr, value, &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return value;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void RemoveRegistration() {
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, kEntry);
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, kAppPaths);
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L".vorndemo");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Vorn Demo.vorndemo");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"vorndemo");
  SHDeleteKeyW(HKEY_CURRENT_USER, kPreferences);
}

class DemoProductTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Under Wine without a window manager, windows have no caption or frame
    // unless Wine draws them itself: the screenshots should show what a
    // user sees. (Windows has no such key and ignores it.)
    const wchar_t* const x11 = L"Software\\Wine\\X11 Driver";
    SHSetValueW(HKEY_CURRENT_USER, x11, L"Managed", REG_SZ, L"N", sizeof L"N");
    SHSetValueW(HKEY_CURRENT_USER, x11, L"Decorated", REG_SZ, L"N", sizeof L"N");
  }
  void SetUp() override { RemoveRegistration(); }
  void TearDown() override {
    // A window a failed test left open would hold the single-instance marker.
    for (HWND window : WindowsOf(0, kWindowClass)) PostMessageW(window, WM_CLOSE, 0, 0);
    RemoveRegistration();
  }
};

TEST_F(DemoProductTest, MainWindowShowsItsPictureAndTheLanguageItSpeaks) {
  const struct {
    const wchar_t* language;
    const wchar_t* heading;
    const wchar_t* line;
    const wchar_t* no_document;
  } runs[] = {
      {L"en", L"Welcome to Vorn Demo", L"This window speaks English.", L"No document is open."},
      {L"fr", L"Bienvenue dans Vorn Demo", L"Cette fen\u00EAtre parle fran\u00E7ais.",
       L"Aucun document n\u2019est ouvert."},
      {L"it", L"Benvenuti in Vorn Demo", L"Questa finestra parla italiano.",
       L"Nessun documento aperto."},
      {L"zh", L"\u6B22\u8FCE\u4F7F\u7528 Vorn Demo",
       L"\u6B64\u7A97\u53E3\u4F7F\u7528\u7B80\u4F53\u4E2D\u6587\u3002",
       L"\u5C1A\u672A\u6253\u5F00\u6587\u6863\u3002"},
  };
  for (const auto& expected : runs) {
    SCOPED_TRACE(Narrow(expected.language));
    DemoRun demo(std::wstring(L"/Language=") + expected.language);
    HWND window = WaitForWindow(demo.Id(), kWindowClass);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(window), L"Vorn Demo");
    EXPECT_EQ(ControlText(window, u"Heading"), expected.heading);
    EXPECT_EQ(ControlText(window, u"LanguageLine"), expected.line);
    EXPECT_EQ(ControlText(window, u"DocumentName"), expected.no_document);
    for (const char16_t* name : {u"LanguageLine", u"DocumentName", u"DocumentLine"}) {
      EXPECT_TRUE(FitsOnOneLine(window, name)) << Narrow(reinterpret_cast<const wchar_t*>(name));
    }
    // The picture came out of the program's own package, at its own size.
    RECT logo{};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(window, vorn::WindowIdOf(u"Logo")), &logo));
    EXPECT_EQ(logo.right - logo.left, 64);
    EXPECT_EQ(logo.bottom - logo.top, 64);
    vorn::test::SaveScreenshot(window, "product-main-" + Narrow(expected.language) + ".png");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(demo.Wait(), 0u);
  }
  // The language chosen last is the one of later runs; a language the
  // program does not know changes nothing.
  EXPECT_EQ(
      ReadValue(HKEY_CURRENT_USER, std::wstring(kPreferences) + L"\\1.0\\Global", L"Language"),
      L"zh");
  DemoRun unknown(L"/Language=tlh");
  HWND window = WaitForWindow(unknown.Id(), kWindowClass);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ControlText(window, u"LanguageLine"), runs[3].line);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(unknown.Wait(), 0u);
}

TEST_F(DemoProductTest, ShowsTheDocumentOrLinkItIsGiven) {
  const std::wstring document = Temporary(L"Travel notes.vorndemo");
  WriteBytes(document, "\xEF\xBB\xBFPremi\xC3\xA8re ligne\tdu document  \r\nsecond line\r\n");
  const std::wstring empty = Temporary(L"Empty.vorndemo");
  WriteBytes(empty, "");
  // Not text at all: control bytes and a broken UTF-8 sequence.
  const std::wstring binary = Temporary(L"Binary.vorndemo");
  WriteBytes(binary, std::string("\x01\x02"
                                 "data"
                                 "\x00\xC3("
                                 "\x7F\n",
                                 10));
  const std::wstring long_line = Temporary(L"Long.vorndemo");
  WriteBytes(long_line, std::string(5000, 'x'));
  const std::wstring missing = Temporary(L"Missing.vorndemo");
  DeleteFileW(missing.c_str());
  const struct {
    std::wstring arguments;
    std::wstring name_line;
    std::wstring second_line;
  } runs[] = {
      {L"/Language=en \"" + document + L"\"", L"Document: Travel notes.vorndemo",
       L"First line: Premi\u00E8re ligne du document"},
      {L"/Language=en \"" + empty + L"\"", L"Document: Empty.vorndemo", L"The document is empty."},
      {L"/Language=en \"" + binary + L"\"", L"Document: Binary.vorndemo",
       L"First line: data\uFFFD\uFFFD("},
      {L"/Language=en \"" + long_line + L"\"", L"Document: Long.vorndemo",
       L"First line: " + std::wstring(200, L'x') + L"\u2026"},
      // A file that is not there is said so; the program still runs.
      {L"/Language=en \"" + missing + L"\"", L"Missing.vorndemo cannot be opened.", L""},
      {L"/Language=en /Link=\"vorndemo:open?page=2\"", L"Link: vorndemo:open?page=2", L""},
  };
  for (const auto& expected : runs) {
    SCOPED_TRACE(Narrow(expected.arguments));
    DemoRun demo(expected.arguments);
    HWND window = WaitForWindow(demo.Id(), kWindowClass);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, u"DocumentName"), expected.name_line);
    EXPECT_EQ(ControlText(window, u"DocumentLine"), expected.second_line);
    if (expected.arguments.find(L"Travel") != std::wstring::npos) {
      vorn::test::SaveScreenshot(window, "product-document.png");
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(demo.Wait(), 0u);
  }
  DeleteFileW(document.c_str());
  DeleteFileW(empty.c_str());
  DeleteFileW(binary.c_str());
  DeleteFileW(long_line.c_str());
}

TEST_F(DemoProductTest, ASecondStartHandsItsDocumentToTheFirstWindow) {
  DemoRun first(L"/Language=en");
  HWND window = WaitForWindow(first.Id(), kWindowClass);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(DemoRun(L"/Language=en").Wait(), 0u);
  EXPECT_EQ(WindowsOf(0, kWindowClass).size(), 1u);
  EXPECT_EQ(ControlText(window, u"DocumentName"), L"No document is open.");

  // As the shell opens a document while the program runs: a name relative
  // to the second start's own folder, which the first does not share.
  const std::wstring folder = Temporary(L"");
  const std::wstring document = folder + L"Handed over.vorndemo";
  WriteBytes(document, "Opened by a second start\n");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.c_str());
  EXPECT_EQ(DemoRun(L"\"Handed over.vorndemo\"").Wait(), 0u);
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(ControlText(window, u"DocumentName"), L"Document: Handed over.vorndemo");
  EXPECT_EQ(ControlText(window, u"DocumentLine"), L"First line: Opened by a second start");
  EXPECT_EQ(DemoRun(L"/Link=\"vorndemo:second\"").Wait(), 0u);
  EXPECT_EQ(ControlText(window, u"DocumentName"), L"Link: vorndemo:second");

  // Copied data that is not a hand-over changes nothing.
  const wchar_t odd[] = L"C:\\not handed over";
  for (const COPYDATASTRUCT data : {COPYDATASTRUCT{7, sizeof odd, const_cast<wchar_t*>(odd)},
                                    COPYDATASTRUCT{0x564F4431, 3, const_cast<wchar_t*>(odd)},
                                    COPYDATASTRUCT{0x564F4431, 0, nullptr}}) {
    DWORD_PTR answer = 1;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_BLOCK, 5000,
                        &answer);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(FALSE));
  }
  EXPECT_EQ(ControlText(window, u"DocumentName"), L"Link: vorndemo:second");
  EXPECT_EQ(WindowsOf(0, kWindowClass).size(), 1u);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.Wait(), 0u);
  DeleteFileW(document.c_str());
}

TEST_F(DemoProductTest, RegistersAndRemovesItsFileTypeAndProtocol) {
  const std::wstring& program = DemoProgram();
  ASSERT_EQ(DemoRun(L"/Language=en /RegisterFileTypes").Wait(), 0u);
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".vorndemo", nullptr), L"Vorn Demo.vorndemo");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"Vorn Demo.vorndemo", nullptr), L"Vorn Demo document");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"Vorn Demo.vorndemo\\DefaultIcon", nullptr),
            L"\"" + program + L"\",0");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"Vorn Demo.vorndemo\\shell\\open\\command", nullptr),
            L"\"" + program + L"\" \"%1\"");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"vorndemo", L"URL Protocol"), L"");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"vorndemo", nullptr), L"URL:Vorn Demo link");
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"vorndemo\\shell\\open\\command", nullptr),
            L"\"" + program + L"\" /Link=\"%1\"");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kAppPaths, nullptr), program);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kAppPaths, L"Path"),
            program.substr(0, program.find_last_of(L'\\') + 1));

  // The protocol's command line, as the shell makes it, reaches the window.
  {
    DemoRun link(L"/Language=en /Link=\"vorndemo:from-the-shell\"");
    HWND window = WaitForWindow(link.Id(), kWindowClass);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, u"DocumentName"), L"Link: vorndemo:from-the-shell");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(link.Wait(), 0u);
  }

  ASSERT_EQ(DemoRun(L"/UnregisterFileTypes").Wait(), 0u);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".vorndemo"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Vorn Demo.vorndemo"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"vorndemo"));
  // The App Paths entry belongs to the installation and goes with it.
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths));
  // Removing what is not there is refused with the registry's "not found".
  EXPECT_EQ(DemoRun(L"/UnregisterFileTypes").Wait(), 29u);
}

// The product installed in a folder of the test's own, as its installer
// leaves it: the program and one more file, and the uninstall entry naming
// them.
class InstalledDemoTest : public DemoProductTest {
 protected:
  void SetUp() override {
    DemoProductTest::SetUp();
    folder_ = Temporary(L"vorn-demo-" + std::to_wstring(GetCurrentProcessId()));
    program_ = folder_ + L"\\VornDemo.exe";
    readme_ = folder_ + L"\\ReadMe.txt";
    CreateDirectoryW(folder_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(DemoProgram().c_str(), program_.c_str(), FALSE));
    WriteBytes(readme_, "read me");
    ASSERT_EQ(DemoRun(L"/Install", program_).Wait(), 0u);
    HKEY entry = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEntry, 0, nullptr, 0, KEY_WRITE, nullptr, &entry,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(entry, L"VornLib.InstallFolder", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(folder_.c_str()),
                   static_cast<DWORD>((folder_.size() + 1) * 2));
    RegCloseKey(entry);
    SHSetValueW(HKEY_LOCAL_MACHINE, (std::wstring(kEntry) + L"\\FilesList").c_str(), L"0", REG_SZ,
                L"ReadMe.txt", sizeof L"ReadMe.txt");
  }
  void TearDown() override {
    DemoProductTest::TearDown();
    DeleteFileW(readme_.c_str());
    DeleteFileW(program_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring folder_;
  std::wstring program_;
  std::wstring readme_;
};

TEST_F(InstalledDemoTest, UninstallAsksAndNoKeepsEverything) {
  DemoRun uninstall(L"/Language=en /Uninstall", program_);
  const std::wstring texts = AnswerBox(uninstall.Id(), L"No", "product-uninstall-confirmation.png");
  EXPECT_NE(texts.find(std::wstring(L"completely remove ") + kTitle), std::wstring::npos)
      << Narrow(texts);
  EXPECT_EQ(uninstall.Wait(), 8u);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_TRUE(Exists(readme_));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".vorndemo", nullptr), L"Vorn Demo.vorndemo");
}

TEST_F(InstalledDemoTest, UninstallConfirmedRemovesTheProductAndItsFolder) {
  DemoRun uninstall(L"/Language=fr /Uninstall", program_);
  const std::wstring asked = AnswerBox(uninstall.Id(), L"Oui", "");
  EXPECT_NE(asked.find(std::wstring(L"supprimer compl\u00E8tement ") + kTitle), std::wstring::npos)
      << Narrow(asked);
  const std::wstring told = AnswerBox(uninstall.Id(), L"OK", "product-uninstall-succeeded-fr.png");
  EXPECT_NE(told.find(std::wstring(kTitle) + L" a bien \u00E9t\u00E9 supprim\u00E9"),
            std::wstring::npos)
      << Narrow(told);
  EXPECT_EQ(uninstall.Wait(), 0u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".vorndemo"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"vorndemo"));
  EXPECT_FALSE(Exists(readme_));
  // The batch the program started removes the program and the folder once
  // the program has ended.
  for (int attempt = 0; attempt < 300 && Exists(folder_); ++attempt) Sleep(100);
  EXPECT_FALSE(Exists(program_));
  EXPECT_FALSE(Exists(folder_));
}

TEST_F(InstalledDemoTest, UninstallRefusesWhileTheProductRuns) {
  DemoRun running(L"/Language=en", program_);
  HWND window = WaitForWindow(running.Id(), kWindowClass);
  ASSERT_NE(window, nullptr);
  DemoRun uninstall(L"/Language=en /Uninstall", program_);
  const std::wstring texts = AnswerBox(uninstall.Id(), L"OK", "");
  EXPECT_NE(texts.find(L"Vorn Demo is running"), std::wstring::npos) << Narrow(texts);
  EXPECT_EQ(uninstall.Wait(), 14u);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_TRUE(Exists(readme_));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(running.Wait(), 0u);
}

TEST_F(InstalledDemoTest, QuietUpdateRemovesAllButTheProgramWithoutAsking) {
  DemoRun update(L"/Quiet /Update", program_);
  EXPECT_EQ(update.Wait(), 0u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".vorndemo"));
  EXPECT_FALSE(Exists(readme_));
  // The newer installer replaces the program in the same folder.
  EXPECT_TRUE(Exists(program_));
}

TEST_F(DemoProductTest, UninstallWithoutAnInstallationSaysSo) {
  DemoRun uninstall(L"/Language=en /Uninstall");
  const std::wstring texts = AnswerBox(uninstall.Id(), L"OK", "product-not-installed.png");
  EXPECT_NE(texts.find(std::wstring(kTitle) + L" is not installed"), std::wstring::npos)
      << Narrow(texts);
  EXPECT_EQ(uninstall.Wait(), 4u);
}

}  // namespace
