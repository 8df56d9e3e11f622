// Bitmaps from the program's resources, and drawing them onto a device context.
#pragma once

#include <windows.h>

namespace quillmere::win32 {

struct Picture {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

// The bitmap resource id with its size; a null bitmap when it is missing.
Picture LoadPicture(HINSTANCE instance, int id);
// Stretches the whole picture over the width x height box at (x, y): by copying pixels (a
// picture at its own size or a whole multiple of it stays crisp), or smoothly.
void StretchPicture(HDC target, const Picture& picture, int x, int y, int width, int height,
                    bool smooth = false);

}  // namespace quillmere::win32
