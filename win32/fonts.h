// The settings dialog's fonts: its labels' in the best Japanese typeface the system has, and the
// system's message font; both at the dialog's scale.
#pragma once

#include <windows.h>

#include "settings_dialog/layout_scale.h"

namespace quillmere::win32 {

// A new font for the labels; the caller deletes it.
HFONT MakeLabelFont(bool underline, const settings_dialog::LayoutScale& scale);
// A new copy of the system's message font at the given DPI, in the labels' typeface when its
// own typeface lacks a glyph of the text; the caller deletes it.
HFONT MakeMessageFont(int dpi, const wchar_t* text);

}  // namespace quillmere::win32
