// Vorn Demo's main window, built from its "DemoWindow" description: a
// picture, a greeting, the line that says which language the window speaks,
// and below them what the program was asked to open (a document given on
// the command line, or a "vorndemo:" link).
#pragma once

#include "foundation/string.h"
#include "ui/main_window.h"

namespace demo {

class DemoWindow final : public vorn::MainWindow {
 public:
  // Reads the description: 0, or the toolkit's code.
  vorn::Result Load() noexcept;

  // The first document is shown: its file name and first line, or that it
  // cannot be opened. Later ones are ignored (one document at a time).
  bool OpenFiles(const vorn::String* files, uint32_t count) noexcept override;
  // A link the protocol handed over.
  void ShowLink(const vorn::String& link) noexcept;
  // Takes what a second start hands over (the copied-data message).
  bool HandleMessage(vorn::WindowMessage& message) noexcept override;

 private:
  void ShowLines(const vorn::String& name_line, const vorn::String& second_line) noexcept;
};

}  // namespace demo
