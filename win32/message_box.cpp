// The message box's own font may lack Japanese glyphs, so it takes ours and grows to fit.
#include "win32/message_box.h"

#include <algorithm>
#include <string>

namespace quillmere::win32 {
namespace {

// The box being fitted; a message box is modal, so there is one at a time.
struct MessageBoxFit {
  HFONT font = nullptr;
  HHOOK hook = nullptr;
  SIZE grow{};
};
MessageBoxFit message_fit;

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t kind[16] = {};
  GetClassNameW(window, kind, 16);
  return lstrcmpiW(kind, name) == 0;
}

// A child's rectangle in the box's client coordinates.
RECT RectInBox(HWND child, HWND box) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

BOOL CALLBACK FitMessageText(HWND child, LPARAM box) {
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(message_fit.font), TRUE);
  const int length = GetWindowTextLengthW(child);
  if (!HasClass(child, L"Static") || length == 0) return TRUE;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  HDC dc = GetDC(child);
  HGDIOBJ previous = SelectObject(dc, message_fit.font);
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), length, &need, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, previous);
  ReleaseDC(child, dc);
  const RECT has = RectInBox(child, reinterpret_cast<HWND>(box));
  const LONG grow_x = std::max(0L, need.right - (has.right - has.left));
  const LONG grow_y = std::max(0L, need.bottom - (has.bottom - has.top));
  message_fit.grow = {std::max(message_fit.grow.cx, grow_x), std::max(message_fit.grow.cy, grow_y)};
  SetWindowPos(child, nullptr, 0, 0, has.right - has.left + grow_x, has.bottom - has.top + grow_y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

// A button the system centred stays centred in the grown box; a right-aligned one keeps its margin.
BOOL CALLBACK MoveMessageButton(HWND child, LPARAM box) {
  if (!HasClass(child, L"Button")) return TRUE;
  const RECT at = RectInBox(child, reinterpret_cast<HWND>(box));
  RECT client{};
  GetClientRect(reinterpret_cast<HWND>(box), &client);
  const LONG width = at.right - at.left;
  const bool right_aligned = client.right - at.right < at.left / 2;
  const LONG left = right_aligned ? at.left + message_fit.grow.cx
                                  : (client.right + message_fit.grow.cx - width) / 2;
  SetWindowPos(child, nullptr, left, at.top + message_fit.grow.cy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void FitMessageBox(HWND box) {
  message_fit.grow = {};
  EnumChildWindows(box, FitMessageText, reinterpret_cast<LPARAM>(box));
  EnumChildWindows(box, MoveMessageButton, reinterpret_cast<LPARAM>(box));
  RECT outer{};
  GetWindowRect(box, &outer);
  SetWindowPos(box, nullptr, outer.left - message_fit.grow.cx / 2,
               outer.top - message_fit.grow.cy / 2, outer.right - outer.left + message_fit.grow.cx,
               outer.bottom - outer.top + message_fit.grow.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Some systems place the buttons late in WM_INITDIALOG, so the box is fitted once that returns.
LRESULT CALLBACK MessageBoxHook(int code, WPARAM wparam, LPARAM lparam) {
  const LRESULT next = CallNextHookEx(message_fit.hook, code, wparam, lparam);
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && sent->message == WM_INITDIALOG && message_fit.hook != nullptr) {
    FitMessageBox(sent->hwnd);
    UnhookWindowsHookEx(message_fit.hook);
    message_fit.hook = nullptr;
  }
  return next;
}

}  // namespace

void ShowMessageBoxInFont(HWND owner, HFONT font, const wchar_t* text, const wchar_t* title) {
  message_fit.font = font;
  message_fit.hook =
      SetWindowsHookExW(WH_CALLWNDPROCRET, MessageBoxHook, nullptr, GetCurrentThreadId());
  MessageBoxW(owner, text, title, MB_OK | MB_ICONWARNING);
  if (message_fit.hook != nullptr) UnhookWindowsHookEx(message_fit.hook);
  message_fit.hook = nullptr;
}

}  // namespace quillmere::win32
