// A plain visible window whose title is the whole argument text (read as UTF-16, so Japanese
// titles survive); it closes by itself after a minute so that no test can leave it behind.
// "@x,y,w,h title" places a white window there instead of the small grey one; "?foreground"
// opens none and writes the foreground window's title to foreground.txt beside the program.
#include <windows.h>

#include <cstdio>
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

void WriteForegroundTitle() {
  wchar_t title[256] = {};
  GetWindowTextW(GetForegroundWindow(), title, 256);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file = path;
  file = file.substr(0, file.find_last_of(L"\\/") + 1) + L"foreground.txt";
  if (FILE* out = _wfopen(file.c_str(), L"wb")) {
    std::fputs(quillmere::win32::Narrow(title).c_str(), out);
    std::fclose(out);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"quillmere_test_window";
  using namespace quillmere;
  std::wstring title = win32::Widen(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  if (title == L"?foreground") return WriteForegroundTitle(), 0;
  int x = 10, y = 10, w = 200, h = 100, used = 0;
  const bool placed = std::swscanf(title.c_str(), L"@%d,%d,%d,%d %n", &x, &y, &w, &h, &used) == 4;
  if (placed) title.erase(0, static_cast<std::size_t>(used));
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(placed ? WHITE_BRUSH : GRAY_BRUSH));
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, window_class.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                x, y, w, h, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetTimer(window, 1, kLifetimeMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
