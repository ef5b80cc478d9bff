#include "ui/main_window.h"

#include "application/application_core.h"

namespace vorn {

void PostQuitToMessageLoop(int32_t exit_code) noexcept;

MainWindow::~MainWindow() {
  ApplicationCore& core = ApplicationCore::Get();
  if (core.MainWindow() == this) core.SetMainWindow(nullptr);
}

void MainWindow::MakeApplicationMainWindow() noexcept {
  ApplicationCore::Get().SetMainWindow(this);
}

void MainWindow::UpdateFrame(float frame_time) noexcept {
  FrameUpdate(frame_time);
}

bool MainWindow::PreTranslateMessage(void* message) noexcept {
  return PreTranslateWindowMessage(message);
}

void MainWindow::OnFinalDestroy() noexcept {
  Window::OnFinalDestroy();
  ApplicationCore& core = ApplicationCore::Get();
  if (core.MainWindow() == this) PostQuitToMessageLoop(core.ExitCode());
}

}  // namespace vorn
