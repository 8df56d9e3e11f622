// Off-screen surfaces for the saver's canvas and the settings dialog's backing images.
#include "win32/memory_surface.h"

namespace quillmere::win32 {

MemorySurface::~MemorySurface() { Release(); }

void MemorySurface::Release() {
  if (dc_ != nullptr) {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  dc_ = nullptr;
  previous_ = nullptr;
  pixels_ = {};
  width_ = height_ = 0;
}

bool MemorySurface::Create(int width, int height) {
  Release();
  width_ = width;
  height_ = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top to bottom, as the canvas has them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (bitmap_ == nullptr || bits == nullptr || dc_ == nullptr) {
    Release();
    return false;
  }
  previous_ = SelectObject(dc_, bitmap_);
  pixels_ = {static_cast<std::uint32_t*>(bits),
             static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
  return true;
}

void MemorySurface::Fill(COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

void MemorySurface::CopyTo(HDC target, int x, int y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

void MemorySurface::CopyTo(HDC target, const RECT& part) const {
  BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_,
         part.left, part.top, SRCCOPY);
}

}  // namespace quillmere::win32
