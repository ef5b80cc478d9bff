// Screenshots of windows for the Windows tests (header only: the support
// folder's sources are built natively too).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "resources/support/picture_files.h"

namespace vorn::test {

// The window's rectangle on the screen, saved as an RGB PNG.
inline void SaveScreenshot(HWND box, const std::string& file_name) {
  RECT rect;
  if (!GetWindowRect(box, &rect)) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
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
    PngImage png;
    png.color_type = 2;
    png.width = static_cast<uint32_t>(width);
    png.height = static_cast<uint32_t>(height);
    const uint8_t* pixels = static_cast<const uint8_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
      png.rows.push_back(pixels[i * 4 + 2]);
      png.rows.push_back(pixels[i * 4 + 1]);
      png.rows.push_back(pixels[i * 4 + 0]);
    }
    const Bytes encoded = EncodePng(png);
    if (FILE* file = std::fopen(file_name.c_str(), "wb")) {
      std::fwrite(encoded.data(), 1, encoded.size(), file);
      std::fclose(file);
    }
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace vorn::test
