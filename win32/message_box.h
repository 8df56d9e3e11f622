// A message box whose text is set in a font of ours and which grows to fit it.
#pragma once

#include <windows.h>

namespace quillmere::win32 {

// MessageBoxW with an OK button and the warning icon, its texts in the given font.
void ShowMessageBoxInFont(HWND owner, HFONT font, const wchar_t* text, const wchar_t* title);

}  // namespace quillmere::win32
