// Registering the program's window classes.
#pragma once

#include <windows.h>

namespace quillmere::win32 {

struct WindowClass {
  const wchar_t* name = nullptr;
  WNDPROC procedure = nullptr;
  HBRUSH background = nullptr;  // nullptr: the window paints all of itself
  HICON icon = nullptr;
};

// Registers the class with the arrow cursor.
void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class);

}  // namespace quillmere::win32
