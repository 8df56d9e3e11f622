// The still preview in the host's pane: its window class, the still, and one handler a message.
#include "win32/preview_window.h"

#include "resource_ids.h"
#include "settings_dialog/layout_scale.h"
#include "win32/pictures.h"
#include "win32/win32_platform.h"
#include "win32/window_class.h"

namespace quillmere::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"quillmere_preview";
constexpr wchar_t kPreviewTitle[] = L"Preview Window";

// The one preview window of the process and its still picture control.
struct Preview {
  Picture still;
  SIZE picture_size{};  // the still's box; the still is cut at it, stretched only with the DPI
};
Preview the_preview;

LRESULT OnPreviewPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const Picture& still = the_preview.still;
  // The still fills the same share of the pane at every DPI: its size is in layout pixels.
  const settings_dialog::LayoutScale scale(DpiOf(window));
  const settings_dialog::Box at = scale.ToPhysical({0, 0, still.width, still.height});
  IntersectClipRect(dc, 0, 0, the_preview.picture_size.cx, the_preview.picture_size.cy);
  StretchPicture(dc, still, at.x, at.y, at.w, at.h, !scale.whole());
  EndPaint(window, &paint);
  return 0;
}

// With no other window in the process, ending the message loop ends the preview however the host
// took the window away.
LRESULT OnPreviewUnload() {
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      return OnPreviewPaint(window);
    case WM_DESTROY:
      return OnPreviewUnload();
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

HWND LoadPreviewWindow(HINSTANCE instance) {
  RegisterWindowClass(instance, {.name = kPreviewClass,
                                 .procedure = PreviewProc,
                                 .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))});
  the_preview.still = LoadPicture(instance, IDB_PREVIEW);
  the_preview.picture_size = {the_preview.still.width, the_preview.still.height};
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
