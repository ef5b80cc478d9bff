// A program on the framework entry that makes the framework load every
// library it loads at run time: the debugging help library (at entry), the
// HTTP service (a session is opened) and alpha blending (a 32-bit picture
// is drawn); it also makes a window, for what the system loads itself.
// Exit codes: 0 when all of it worked, 90 + step when a step failed.
#include <windows.h>

#include "../../application/support/console_window.h"
#include "analytics/http_session.h"
#include "application/application_core.h"
#include "application/crash_handler.h"
#include "application/program_entry.h"
#include "resources/picture.h"
#include "resources/picture_bitmap.h"

namespace {

using vorn::ApplicationCore;

int failed_step = 0;

void Fail(int step) {
  if (failed_step == 0) failed_step = step;
}

void DrawAlphaPicture() {
  vorn::Picture* picture = vorn::CreatePicture(vorn::kPictureFormatRgba);
  if (picture == nullptr || picture->Allocate(4, 4, nullptr, nullptr, true) != vorn::kOk) {
    Fail(3);
    delete picture;
    return;
  }
  vorn::PictureBitmap bitmap;
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP surface = CreateCompatibleBitmap(screen, 4, 4);
  HGDIOBJ previous = SelectObject(target, surface);
  if (vorn::MakeBitmap(picture, true, bitmap) != vorn::kOk ||
      vorn::DrawBitmap(target, bitmap) != vorn::kOk) {
    Fail(4);
  }
  vorn::DestroyBitmap(bitmap);
  SelectObject(target, previous);
  DeleteObject(surface);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
  delete picture;
}

void ApplicationStart() {
  ApplicationCore& core = ApplicationCore::Get();
  core.Description().multiple_instances_allowed = true;
  if (vorn::CrashHandler::DebugHelpModule() == nullptr) Fail(1);
  if (vorn::HttpSession::Open() != vorn::kOk) Fail(2);
  DrawAlphaPicture();
  HWND window = CreateWindowExW(0, L"BUTTON", L"Probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) Fail(5);
  if (window != nullptr) DestroyWindow(window);
  vorn::HttpSession::Close();
  core.RequestQuit(0, false);
}

}  // namespace

int main() {
  vorn::ProgramHooks hooks;
  hooks.application_start = &ApplicationStart;
  const int32_t exit_code = vorn::RunProgram(hooks);
  return failed_step != 0 ? 90 + failed_step : exit_code;
}
