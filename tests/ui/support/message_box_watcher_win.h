// What the Windows tests use to see real dialogs: a watcher thread that
// finds the process's dialog box, reads its texts back through the window
// tree, saves a screenshot and presses a button; and window screenshots as
// PNG. Header only: the support folder's sources are built natively too.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/support/picture_files.h"

namespace vorn::test {

// What a window shows on the screen: its rectangle's pixels, row by row, as
// 0x00RRGGBB.
struct ScreenCapture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline ScreenCapture CaptureWindow(HWND window) {
  ScreenCapture capture;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return capture;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return capture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    capture.width = width;
    capture.height = height;
    capture.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : capture.pixels) pixel &= 0xFFFFFF;
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

// The window's rectangle on the screen, saved as an RGB PNG.
inline void SaveScreenshot(HWND window, const std::string& file_name) {
  const ScreenCapture capture = CaptureWindow(window);
  if (capture.pixels.empty()) return;
  PngImage png;
  png.color_type = 2;
  png.width = static_cast<uint32_t>(capture.width);
  png.height = static_cast<uint32_t>(capture.height);
  for (uint32_t pixel : capture.pixels) {
    png.rows.push_back(static_cast<uint8_t>(pixel >> 16));
    png.rows.push_back(static_cast<uint8_t>(pixel >> 8));
    png.rows.push_back(static_cast<uint8_t>(pixel));
  }
  const Bytes encoded = EncodePng(png);
  if (FILE* file = std::fopen(file_name.c_str(), "wb")) {
    std::fwrite(encoded.data(), 1, encoded.size(), file);
    std::fclose(file);
  }
}

struct Watch {
  // In: the control identifier to press, and the screenshot's file name.
  int press = 0;
  std::string screenshot;
  // Out: what the box showed.
  bool found = false;
  std::wstring caption;
  std::wstring texts;  // every child's text, one per line, mnemonics removed
  std::vector<int> button_ids;
  // Whether the box stands in the middle of its screen's work area (within
  // a few pixels of rounding).
  bool centered = false;
};

struct Search {
  HWND box = nullptr;
};

inline BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      std::wstring(name) == L"#32770") {
    reinterpret_cast<Search*>(parameter)->box = window;
    return FALSE;
  }
  return TRUE;
}

inline BOOL CALLBACK ReadChild(HWND child, LPARAM parameter) {
  Watch& watch = *reinterpret_cast<Watch*>(parameter);
  wchar_t text[1024] = {};
  GetWindowTextW(child, text, 1024);
  std::wstring line;
  for (const wchar_t* at = text; *at; ++at) {
    if (*at != L'&') line += *at;
  }
  watch.texts += line + L"\n";
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (std::wstring(name) == L"Button" && IsWindowVisible(child)) {
    watch.button_ids.push_back(GetDlgCtrlID(child));
  }
  return TRUE;
}

inline DWORD WINAPI WatchBox(void* parameter) {
  Watch& watch = *static_cast<Watch*>(parameter);
  Search search;
  for (int attempt = 0; attempt < 200 && !search.box; ++attempt) {
    Sleep(50);
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  }
  if (!search.box) return 1;
  // Let the box paint itself before it is read and photographed.
  Sleep(400);
  watch.found = true;
  wchar_t caption[256] = {};
  GetWindowTextW(search.box, caption, 256);
  watch.caption = caption;
  EnumChildWindows(search.box, ReadChild, reinterpret_cast<LPARAM>(&watch));
  RECT frame = {};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetWindowRect(search.box, &frame) &&
      GetMonitorInfoW(MonitorFromWindow(search.box, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    const RECT& area = monitor.rcWork;
    const LONG dx = (frame.left - area.left) - (area.right - frame.right);
    const LONG dy = (frame.top - area.top) - (area.bottom - frame.bottom);
    watch.centered = dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
  }
  if (!watch.screenshot.empty()) SaveScreenshot(search.box, watch.screenshot);
  PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(watch.press, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(search.box, watch.press)));
  return 0;
}

}  // namespace vorn::test
