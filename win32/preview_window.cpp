// The still preview in the host's pane: its window class, the still, and one handler a message.
#include "win32/preview_window.h"

#include <algorithm>

#include "resource_ids.h"

namespace quillmere::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"quillmere_preview";
constexpr wchar_t kPreviewTitle[] = L"Preview Window";

// The one preview window of the process and its still picture control.
struct Preview {
  HBITMAP still = nullptr;
  SIZE still_size{};
  SIZE picture_size{};  // Img_Prev's size; the still is cut at it, never stretched
};
Preview the_preview;

void OnPreviewPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (the_preview.still != nullptr) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, the_preview.still);
    const int width = std::min(the_preview.still_size.cx, the_preview.picture_size.cx);
    const int height = std::min(the_preview.still_size.cy, the_preview.picture_size.cy);
    if (width > 0 && height > 0) BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
  }
  EndPaint(window, &paint);
}

// The owner is asked for and not used; with no other window in the process, ending the
// message loop ends the preview however the host took the window away.
void OnPreviewUnload(HWND window) {
  (void)GetWindow(window, GW_OWNER);
  PostQuitMessage(0);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPreviewPaint(window);
      return 0;
    case WM_DESTROY:
      OnPreviewUnload(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

HWND LoadPreviewWindow(HINSTANCE instance) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = PreviewProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kPreviewClass;
  RegisterClassW(&window_class);

  the_preview.still = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_PREVIEW),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info{};
  if (the_preview.still != nullptr && GetObjectW(the_preview.still, sizeof info, &info) != 0) {
    the_preview.still_size = {info.bmWidth, info.bmHeight};
  }
  the_preview.picture_size = the_preview.still_size;
  return CreateWindowExW(0, kPreviewClass, kPreviewTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr);
}

void PlacePreviewWindow(HWND preview, int width, int height) {
  SetWindowPos(preview, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizePreviewPicture(HWND preview, int width, int height) {
  the_preview.picture_size = {width, height};
  InvalidateRect(preview, nullptr, TRUE);
}

void ShowPreviewWindow(HWND preview) {
  ShowWindow(preview, SW_SHOWNA);
  UpdateWindow(preview);
}

}  // namespace quillmere::win32
