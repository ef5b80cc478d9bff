#include <windows.h>

#include "application/processor_check.h"

namespace vorn {

namespace {

constexpr DWORD kSse2Feature = 10;  // PF_XMMI64_INSTRUCTIONS_AVAILABLE

constexpr wchar_t kRefusal[] =
    L"Your computer does not meet the minimum system requirements. This program requires a "
    L"CPU that supports the SSE2 instruction set.\n\nTry an older version of this program or "
    L"upgrade your computer to Intel\u00AE Pentium\u00AE 4 and later processors or AMD "
    L"Athlon\u2122 64 and later processors.";

}  // namespace

bool CheckProcessor() noexcept {
  if (IsProcessorFeaturePresent(kSse2Feature)) return true;
  wchar_t buffer[512];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 511);
  String path;
  if (length > 0 && length < 511) path.Assign(reinterpret_cast<const char16_t*>(buffer), length);
  const String caption = ProcessorCheckCaption(path);
  MessageBoxW(nullptr, kRefusal, reinterpret_cast<const wchar_t*>(caption.Text()),
              MB_TASKMODAL | MB_ICONERROR);
  return false;
}

}  // namespace vorn
