// The settings dialog's label font, in the best Japanese face the system has.
#pragma once

#include <windows.h>

namespace quillmere::win32 {

// A new font for the labels; the caller deletes it.
HFONT MakeLabelFont(bool underline);

}  // namespace quillmere::win32
