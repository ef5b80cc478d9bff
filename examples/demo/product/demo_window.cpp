#include "demo_window.h"

#include <windows.h>

#include "demo_document.h"
#include "demo_handover.h"
#include "foundation/format.h"
#include "foundation/path.h"
#include "resources/localized_text.h"
#include "ui/installer_controls.h"
#include "ui/window_id.h"

namespace demo {

namespace {

using vorn::String;

String Localized(const char16_t* key, const String& argument) noexcept {
  const String text = vorn::LocalizedString(key);
  return vorn::Format(text.Text(), vorn::FormatArg(argument));
}

}  // namespace

vorn::Result DemoWindow::Load() noexcept {
  return LoadDescription(u"DemoWindow");
}

bool DemoWindow::OpenFiles(const String* files, uint32_t count) noexcept {
  if (files == nullptr || count == 0) return false;
  const String& file = files[0];
  const String name = vorn::path::FileName(file);
  String line;
  if (ReadFirstLine(file, line) != vorn::kOk) {
    ShowLines(Localized(u"#DemoDocumentUnreadable", name.IsEmpty() ? file : name), String());
    return false;
  }
  ShowLines(Localized(u"#DemoDocumentName", name),
            line.IsEmpty() ? vorn::LocalizedString(u"#DemoDocumentEmpty")
                           : Localized(u"#DemoDocumentLine", line));
  return true;
}

void DemoWindow::ShowLink(const String& link) noexcept {
  ShowLines(Localized(u"#DemoLinkName", link), String());
}

bool DemoWindow::HandleMessage(vorn::WindowMessage& message) noexcept {
  if (message.message != WM_COPYDATA) return vorn::MainWindow::HandleMessage(message);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(message.lparam);
  HandOverKind kind;
  vorn::String text;
  if (data == nullptr || !ReadHandOver(data->dwData, data->lpData, data->cbData, kind, text)) {
    message.result = FALSE;
    return true;
  }
  if (kind == HandOverKind::kDocument) {
    OpenFiles(&text, 1);
  } else {
    ShowLink(text);
  }
  message.result = TRUE;
  return true;
}

void DemoWindow::ShowLines(const String& name_line, const String& second_line) noexcept {
  const struct {
    const char16_t* id;
    const String& text;
  } lines[] = {{u"DocumentName", name_line}, {u"DocumentLine", second_line}};
  for (const auto& line : lines) {
    vorn::Window* child = FindChild(vorn::WindowIdOf(line.id), vorn::kWindowClassStatic);
    // Both are static texts in the description; no other class is touched.
    if (child != nullptr) static_cast<vorn::TextControl*>(child)->SetText(line.text);
  }
}

}  // namespace demo
