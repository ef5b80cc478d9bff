// Message-box composition from arbitrary descriptions: the input's first
// line is the format argument, the rest an XML "MessageBox" element. A
// description that composes must give one of the table's button sets with a
// default among its buttons, identifiers that map back to their indexes,
// and parts that are each a formatted text.
#include <cstddef>
#include <cstdint>

#include "foundation/string.h"
#include "package/package_file_system.h"
#include "resources/resource_manager.h"
#include "ui/message_box.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace {

using namespace vorn;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t line = 0;
  while (line < size && data[line] != '\n') ++line;
  String argument;
  for (size_t i = 0; i < line; ++i) argument += static_cast<char16_t>(data[i] ? data[i] : u'?');
  const size_t rest = line < size ? line + 1 : size;

  // No package: every "#key" shows its missing-text marker.
  static PackageFileSystem files;
  static ResourceManager resources(files);

  XmlDocument document;
  if (size - rest == 0 || document.Parse(data + rest, size - rest) != kOk) return 0;
  MessageBoxDescription description;
  if (ReadMessageBoxDescription(resources, document.RootElement(), description) != kOk) return 0;
  MessageBoxRequest request;
  if (ComposeMessageBox(description, String(u"Caption"), argument, request) != kOk) {
    Check(request.button_count == 0);
    return 0;
  }
  Check(request.button_count >= 1 && request.button_count <= 3);
  Check(request.default_position < request.button_count);
  Check(request.buttons[request.default_position].id == request.default_id);
  for (uint32_t i = 0; i < request.button_count; ++i) {
    const MessageBoxButtonLabel& button = request.buttons[i];
    Check(button.index < kMessageBoxButtonCount);
    Check(button.id == kMessageBoxFirstButtonId + static_cast<int32_t>(button.index));
    Check(!button.label.IsEmpty());
    Check(TaskDialogAnswer(request, button.id) == button.index);
  }
  Check(PlainMessageBoxAnswer(request.default_id) == kMessageBoxRefused);
  const String* parts[] = {&request.header, &request.body, &request.details, &request.footer};
  uint32_t plain_length = 0, shown = 0;
  for (const String* part : parts) {
    if (part->IsEmpty()) continue;
    plain_length += ReplaceLinksByTargets(*part).Length();
    ++shown;
  }
  Check(request.plain_text.Length() == plain_length + (shown ? (shown - 1) * 2 : 0));
  return 0;
}
