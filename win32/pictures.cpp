// Resource bitmaps: loaded once with their size, drawn through a temporary memory DC.
#include "win32/pictures.h"

namespace quillmere::win32 {
namespace {

// Selects the picture into a memory DC compatible with the target for one copy.
template <typename Copy>
void WithPictureDC(HDC target, const Picture& picture, Copy copy) {
  if (picture.bitmap == nullptr) return;
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ previous = SelectObject(source, picture.bitmap);
  copy(source);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace

Picture LoadPicture(HINSTANCE instance, int id) {
  Picture picture;
  picture.bitmap = static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info{};
  if (picture.bitmap != nullptr && GetObjectW(picture.bitmap, sizeof info, &info) != 0) {
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
  }
  return picture;
}

void StretchPicture(HDC target, const Picture& picture, int x, int y, int width, int height,
                    bool smooth) {
  WithPictureDC(target, picture, [&](HDC source) {
    SetStretchBltMode(target, smooth ? HALFTONE : COLORONCOLOR);
    if (smooth) SetBrushOrgEx(target, 0, 0, nullptr);  // as HALFTONE asks
    StretchBlt(target, x, y, width, height, source, 0, 0, picture.width, picture.height, SRCCOPY);
  });
}

}  // namespace quillmere::win32
