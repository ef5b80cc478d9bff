// The start-up check for SSE2, which every build of the framework needs.
#pragma once

#include "foundation/string.h"

namespace vorn {

// The caption of the refusal: the program's file name without folder and
// extension, lower-cased, with each word's first letter in capitals
// ("C:\Apps\vorn setup.exe" gives "Vorn Setup").
String ProcessorCheckCaption(const String& program_path) noexcept;

// True when the processor has SSE2. Otherwise shows the refusal (no owner,
// task-modal) and gives false: the program then ends with exit code 2.
bool CheckProcessor() noexcept;

}  // namespace vorn
