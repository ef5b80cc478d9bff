// The shell's folder picker (available since Windows 95; the new dialog
// style needs COM initialised on the thread, as the framework's start does).
#include <windows.h>
// The system headers below need windows.h first.
#include <objbase.h>
#include <shlobj.h>

#include "foundation/folder.h"
#include "ui/folder_path.h"

namespace vorn {

namespace {

struct PickerState {
  const String* initial_path;
};

int CALLBACK OnPickerEvent(HWND picker, UINT event, LPARAM parameter, LPARAM data) {
  const PickerState& state = *reinterpret_cast<const PickerState*>(data);
  if (event == BFFM_INITIALIZED) {
    if (!state.initial_path->IsEmpty()) {
      SendMessageW(picker, BFFM_SETSELECTIONW, TRUE,
                   reinterpret_cast<LPARAM>(state.initial_path->Text()));
    }
  } else if (event == BFFM_SELCHANGED) {
    // Items without a folder on disk (the printers, the control panel) can
    // be browsed through but not chosen.
    wchar_t path[MAX_PATH] = {};
    const BOOL is_folder =
        parameter != 0 &&
        SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(parameter), path) && path[0];
    SendMessageW(picker, BFFM_ENABLEOK, 0, is_folder ? 1 : 0);
  }
  return 0;
}

}  // namespace

Result RunFolderPicker(const FolderPickerOptions& options, String& path) noexcept {
  path = String();
  HWND owner = static_cast<HWND>(options.owner);
  LPITEMIDLIST root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, options.desktop_root ? CSIDL_DESKTOP : CSIDL_DRIVES,
                                        &root)) ||
      !root) {
    return kFailed;
  }
  // The picker selects only a folder that exists; a proposed install folder
  // usually does not yet, so it opens on the nearest one above it ("C:\Program
  // Files\" for "C:\Program Files\Company\Product") rather than at its root.
  const String initial = Folder::NearestExisting(options.initial_path);
  PickerState state = {&initial};
  wchar_t display_name[MAX_PATH] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = display_name;
  info.lpszTitle = reinterpret_cast<const wchar_t*>(options.prompt.Text());
  info.ulFlags = FolderPickerFlags(options.new_folder_button);
  info.lpfn = OnPickerEvent;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  wchar_t chosen_path[MAX_PATH] = {};
  if (chosen && !SHGetPathFromIDListW(chosen, chosen_path)) chosen_path[0] = 0;
  if (chosen) CoTaskMemFree(chosen);
  CoTaskMemFree(root);
  return FolderPickerResult(chosen != nullptr,
                            String(reinterpret_cast<const char16_t*>(chosen_path)), path);
}

}  // namespace vorn
