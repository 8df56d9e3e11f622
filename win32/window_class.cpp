// One registration for the saver's, the preview's and the settings dialog's window classes.
#include "win32/window_class.h"

namespace quillmere::win32 {

void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class) {
  WNDCLASSW registered{};
  registered.lpfnWndProc = window_class.procedure;
  registered.hInstance = instance;
  registered.hIcon = window_class.icon;
  registered.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  registered.hbrBackground = window_class.background;
  registered.lpszClassName = window_class.name;
  RegisterClassW(&registered);
}

}  // namespace quillmere::win32
