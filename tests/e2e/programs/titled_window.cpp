// A plain visible window whose title is the whole argument text (read as UTF-16, so Japanese
// titles survive); it closes by itself after a minute so that no test can leave it behind.
#include <windows.h>

#include <string>

#include "win32/text.h"
#include "startup/command_line.h"

namespace {

constexpr UINT kLifetimeMs = 60000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"quillmere_test_window";
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassW(&window_class);
  using namespace quillmere;
  const std::wstring title = win32::Widen(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  HWND window = CreateWindowExW(0, window_class.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                10, 10, 200, 100, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetTimer(window, 1, kLifetimeMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
