// The settings dialog's keyboard and what readers hear: keys go to the core before any control
// sees them, and the system hears where the focus is and what changed.
#include "win32/dialog_window.h"

#include <imm.h>

#include <array>
#include <utility>

namespace quillmere::win32 {
namespace {

using settings_dialog::Key;

constexpr std::array<std::pair<WPARAM, Key>, 10> kKeys = {{
    {VK_TAB, Key::Tab},
    {VK_LEFT, Key::Left},
    {VK_RIGHT, Key::Right},
    {VK_UP, Key::Up},
    {VK_DOWN, Key::Down},
    {VK_PRIOR, Key::PageUp},
    {VK_NEXT, Key::PageDown},
    {VK_HOME, Key::Home},
    {VK_END, Key::End},
    {VK_SPACE, Key::Space},
}};

Key KeyOf(WPARAM virtual_key) {
  for (const auto& [code, key] : kKeys) {
    if (code == virtual_key) return key;
  }
  return Key::Other;
}

constexpr LPARAM kKeyWasDown = 1 << 30;
// The events of platform::ReaderEvent, in its order.
constexpr std::array<DWORD, 3> kReaderEvents = {EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE,
                                                EVENT_OBJECT_STATECHANGE};

}  // namespace

void DialogWindow::Dispatch(const MSG& message) {
  if (!TakeKey(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// As a standard dialog's message loop does: a key for any of the dialog's windows is the
// dialog's, so a focused slider cannot keep Tab to itself.
bool DialogWindow::TakeKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_KEYUP) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  const Key key = KeyOf(message.wParam);
  if (message.message == WM_KEYUP) {
    core_.OnKeyUp(key);
    ComposeChanged();
    return key == Key::Space;
  }
  // Space held down repeats; the press is the first.
  if (key == Key::Space && (message.lParam & kKeyWasDown) != 0) return true;
  const bool used = core_.OnKeyDown(key, GetKeyState(VK_SHIFT) < 0);
  ComposeChanged();
  return used;
}

void DialogWindow::TellReader(platform::ReaderEvent event, std::int32_t item) {
  if (event == platform::ReaderEvent::Focus && GetFocus() != window_) SetFocus(window_);
  NotifyWinEvent(kReaderEvents[static_cast<std::size_t>(event)], window_, OBJID_CLIENT, item + 1);
}

void DialogWindow::ShowFocusCues() {
  SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// Without an input context, a Japanese input method leaves the keys to the dialog and its sliders.
void DialogWindow::TakeNoText() {
  ImmAssociateContextEx(window_, nullptr, 0);
  ImmAssociateContextEx(window_, nullptr, IACE_CHILDREN);
}

LRESULT DialogWindow::OnUpdateUiState(HWND window, WPARAM wparam, LPARAM lparam) {
  if (window == window_ && (HIWORD(wparam) & UISF_HIDEFOCUS) != 0) {
    if (LOWORD(wparam) == UIS_CLEAR) core_.OnFocusCuesChange(true);
    if (LOWORD(wparam) == UIS_SET) core_.OnFocusCuesChange(false);
  }
  return DefWindowProcW(window, WM_UPDATEUISTATE, wparam, lparam);
}

}  // namespace quillmere::win32
