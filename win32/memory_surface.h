// An off-screen surface: a 32-bit DIB section selected into its own memory device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace quillmere::win32 {

class MemorySurface {
 public:
  MemorySurface() = default;
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;
  ~MemorySurface();

  // Makes the surface anew, width x height pixels, rows top to bottom, all black; false, and
  // the surface empty, when the system could not make it.
  bool Create(int width, int height);
  void Fill(COLORREF colour);
  // Copies the whole surface to (x, y) of the target.
  void CopyTo(HDC target, int x = 0, int y = 0) const;
  // Copies one rectangle of the surface to the same place on the target.
  void CopyTo(HDC target, const RECT& part) const;

  HDC dc() const { return dc_; }
  // The pixels, each 0x00RRGGBB; empty when the surface could not be made.
  std::span<std::uint32_t> pixels() const { return pixels_; }

 private:
  void Release();

  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::span<std::uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quillmere::win32
