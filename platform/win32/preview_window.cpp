#include "platform/win32/preview_window.h"

namespace quillmere::win32 {

// Until the preview lands, preview mode ends where its window would open.
HWND LoadPreviewWindow(HINSTANCE) { ExitProcess(0); }
void PlacePreviewWindow(HWND, int, int) {}
void SizePreviewPicture(HWND, int, int) {}
void ShowPreviewWindow(HWND) {}

}  // namespace quillmere::win32
