// Formatted text written into a rich-edit control: the whole text first,
// then each run's character format and each paragraph's format by
// selection. The control stores a paragraph end as one character, so the
// model's positions are the control's positions.
#include <windows.h>
// The system headers below need windows.h first.
#include <richedit.h>

#include "ui/formatted_text.h"

namespace vorn {

namespace {

void Select(HWND control, uint32_t start, uint32_t length) noexcept {
  SendMessageW(control, EM_SETSEL, start, static_cast<LPARAM>(start + length));
}

void SetCharacters(HWND control, bool bold, bool link) noexcept {
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_LINK;
  format.dwEffects = (bold ? CFE_BOLD : 0) | (link ? CFE_LINK : 0);
  SendMessageW(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void SetParagraph(HWND control, const FormattedParagraph& paragraph) noexcept {
  PARAFORMAT2 format = {};
  format.cbSize = sizeof format;
  format.dwMask = PFM_ALIGNMENT | PFM_SPACEAFTER | PFM_NUMBERING | PFM_OFFSET;
  format.wAlignment = static_cast<WORD>(paragraph.alignment);
  format.dySpaceAfter = static_cast<LONG>(paragraph.space_after);
  format.wNumbering = paragraph.bulleted ? PFN_BULLET : 0;
  format.dxOffset = static_cast<LONG>(paragraph.bullet_offset);
  SendMessageW(control, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

}  // namespace

Result ShowFormattedText(void* rich_edit, const FormattedText& text) noexcept {
  HWND control = static_cast<HWND>(rich_edit);
  if (!control || !IsWindow(control)) return kInvalidHandle;
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  Select(control, 0, 0xFFFFFFFFu >> 1);
  SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  // What is typed or inserted later starts plain, not in the last run's format.
  Select(control, 0, 0);
  SetCharacters(control, false, false);
  SendMessageW(control, EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.Text().Text())));
  for (uint32_t i = 0; i < text.RunCount(); ++i) {
    const FormattedRun& run = text.Run(i);
    if (!run.bold && run.link < 0) continue;
    Select(control, run.start, run.length);
    SetCharacters(control, run.bold, run.link >= 0);
  }
  for (uint32_t i = 0; i < text.ParagraphCount(); ++i) {
    const FormattedParagraph& paragraph = text.Paragraph(i);
    Select(control, paragraph.start, paragraph.length);
    SetParagraph(control, paragraph);
  }
  Select(control, 0, 0);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
  return kOk;
}

}  // namespace vorn
