// The ole32 taskbar list, third version, declared here because the headers
// of the XP target leave it out.
#include <objbase.h>
#include <windows.h>

#include "foundation/system_error.h"
#include "ui/taskbar.h"

namespace vorn {
namespace {

struct TaskbarList3 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE HrInit() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddTab(HWND) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteTab(HWND) = 0;
  virtual HRESULT STDMETHODCALLTYPE ActivateTab(HWND) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) = 0;
  virtual HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG, ULONGLONG) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetProgressState(HWND, int) = 0;
};

constexpr CLSID kTaskbarListClass = {
    0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr IID kTaskbarList3Interface = {
    0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}};

}  // namespace

uint32_t TaskbarButtonCreatedMessage() noexcept {
  static const uint32_t message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

Taskbar& Taskbar::Get() noexcept {
  static Taskbar taskbar;
  return taskbar;
}

void Taskbar::Release() noexcept {
  if (list_ == nullptr) return;
  static_cast<TaskbarList3*>(list_)->Release();
  list_ = nullptr;
}

void Taskbar::Recreate() noexcept {
  Release();
  void* list = nullptr;
  if (FAILED(CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER,
                              kTaskbarList3Interface, &list)) ||
      list == nullptr) {
    return;
  }
  if (FAILED(static_cast<TaskbarList3*>(list)->HrInit())) {
    static_cast<TaskbarList3*>(list)->Release();
    return;
  }
  list_ = list;
}

Result Taskbar::SetState(void* window, State state) noexcept {
  if (list_ == nullptr) return kNotOpen;
  const HRESULT hr = static_cast<TaskbarList3*>(list_)->SetProgressState(static_cast<HWND>(window),
                                                                         static_cast<int>(state));
  return SUCCEEDED(hr) ? kOk : ResultFromComResult(hr);
}

Result Taskbar::SetProgress(void* window, uint64_t completed, uint64_t total) noexcept {
  if (list_ == nullptr) return kNotOpen;
  const HRESULT hr = static_cast<TaskbarList3*>(list_)->SetProgressValue(static_cast<HWND>(window),
                                                                         completed, total);
  return SUCCEEDED(hr) ? kOk : ResultFromComResult(hr);
}

}  // namespace vorn
