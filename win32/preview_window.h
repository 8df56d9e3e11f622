// The preview window shown in the host's preview pane.
#pragma once

#include <windows.h>

namespace quillmere::win32 {

// Creates the preview window hidden; nullptr when it cannot be made.
HWND LoadPreviewWindow(HINSTANCE instance);
// Places it at the pane's top-left corner, size in pixels.
void PlacePreviewWindow(HWND preview, int width, int height);
// Sizes the still picture control, in pixels; the picture is cut at it, and stretched only
// with the window's DPI.
void SizePreviewPicture(HWND preview, int width, int height);
void ShowPreviewWindow(HWND preview);

}  // namespace quillmere::win32
