// The full-screen saver window and its covers: one handler a message, and the entry that loads
// the saver.
#include "win32/saver_window.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include <cstring>
#include <optional>

#include "saver/saver_window.h"
#include "startup/entry.h"
#include "win32/saver_surfaces.h"

namespace quillmere::win32 {
namespace {

// The one saver of the process; the window procedure forwards to it.
saver::SaverWindow* the_saver = nullptr;

// The shift state as the handlers take it: 1 shift, 2 control, 4 alt.
std::int32_t ShiftState() {
  std::int32_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// The mouse buttons as the handlers take them.
constexpr std::int32_t Bit(platform::MouseButton button) {
  return static_cast<std::int32_t>(button);
}
constexpr std::int32_t kLeftButton = Bit(platform::MouseButton::Left);
constexpr std::int32_t kRightButton = Bit(platform::MouseButton::Right);
constexpr std::int32_t kMiddleButton = Bit(platform::MouseButton::Middle);
constexpr std::int32_t kExtraButton = Bit(platform::MouseButton::Extra);

std::int32_t HeldButtons(WPARAM wparam) {
  std::int32_t buttons = 0;
  if (wparam & MK_LBUTTON) buttons |= kLeftButton;
  if (wparam & MK_RBUTTON) buttons |= kRightButton;
  if (wparam & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

LRESULT OnTimer(WPARAM timer) {
  if (the_saver && timer == kResteerTimer) the_saver->OnTimerTick();
  return 0;
}

LRESULT OnKeyDown(WPARAM key) {
  if (the_saver) the_saver->OnKeyDown(static_cast<std::int32_t>(key), ShiftState());
  return 0;
}

LRESULT OnMouseDown(std::int32_t button, LPARAM lparam) {
  if (the_saver) {
    the_saver->OnDisplayMouseDown(button, ShiftState(), static_cast<float>(GET_X_LPARAM(lparam)),
                                  static_cast<float>(GET_Y_LPARAM(lparam)));
  }
  return 0;
}

// The extra buttons' messages are answered TRUE, as the system asks.
LRESULT OnXButtonDown(LPARAM lparam) {
  OnMouseDown(kExtraButton, lparam);
  return TRUE;
}

LRESULT OnMouseMove(WPARAM wparam, LPARAM lparam) {
  if (the_saver) {
    the_saver->OnDisplayMouseMove(HeldButtons(wparam), ShiftState(),
                                  static_cast<float>(GET_X_LPARAM(lparam)),
                                  static_cast<float>(GET_Y_LPARAM(lparam)));
  }
  return 0;
}

LRESULT OnCoverMouseMove(HWND cover, WPARAM wparam, LPARAM lparam) {
  if (the_saver) {
    the_saver->OnCoverMouseMove(static_cast<std::size_t>(GetWindowLongPtrW(cover, GWLP_USERDATA)),
                                HeldButtons(wparam), ShiftState(),
                                static_cast<float>(GET_X_LPARAM(lparam)),
                                static_cast<float>(GET_Y_LPARAM(lparam)));
  }
  return 0;
}

// Only the saver window has the rule: losing the keyboard to another application ends it.
LRESULT OnActivateApp(WPARAM active) {
  if (the_saver && !active) the_saver->OnLoseActivation();
  return 0;
}

// The part the system asks for again is copied from the canvas by the saver.
// Validates what the system asks to be drawn again and hands its rectangle to `copy`.
template <typename Copy>
LRESULT Repaint(HWND window, Copy copy) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  const RECT& part = paint.rcPaint;
  if (the_saver) copy(platform::Rect{part.left, part.top, part.right, part.bottom});
  EndPaint(window, &paint);
  return 0;
}

LRESULT OnPaint(HWND window) {
  return Repaint(window, [](const platform::Rect& part) { the_saver->OnPaint(part); });
}

LRESULT OnCoverPaint(HWND cover) {
  const auto number = static_cast<std::size_t>(GetWindowLongPtrW(cover, GWLP_USERDATA));
  return Repaint(cover,
                 [number](const platform::Rect& part) { the_saver->OnCoverPaint(number, part); });
}

// A close from another program, a log-off or a shut-down ends the saver the way input does.
LRESULT OnClose() {
  if (the_saver) the_saver->OnCloseRequest();
  return 0;
}

LRESULT OnQueryEndSession() {
  OnClose();
  return TRUE;
}

LRESULT OnEndSession(WPARAM ending) {
  if (ending) OnClose();
  return 0;
}

LRESULT OnSessionChange(WPARAM reason) {
  if (the_saver) the_saver->OnSessionChange(static_cast<std::int32_t>(reason));
  return 0;
}

LRESULT OnDisplayChange() {
  if (the_saver) the_saver->OnDisplayChange();
  return 0;
}

LRESULT OnPowerBroadcast(WPARAM event, LPARAM lparam) {
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam);
  if (the_saver && event == PBT_POWERSETTINGCHANGE && setting != nullptr &&
      setting->DataLength >= sizeof(DWORD)) {
    const bool session = IsEqualGUID(setting->PowerSetting, kSessionDisplayStatus);
    const bool console = IsEqualGUID(setting->PowerSetting, kConsoleDisplayState);
    DWORD state = 0;
    std::memcpy(&state, setting->Data, sizeof state);
    if (IsEqualGUID(setting->PowerSetting, kPowerSavingStatus))
      the_saver->OnEnergySaverChange(state != 0);
    if (session || console) {
      the_saver->OnMonitorPowerChange(
          session ? platform::PowerSource::Session : platform::PowerSource::Console,
          static_cast<std::int32_t>(state));
    }
  }
  return TRUE;
}

// However the window goes, the saver goes with it.
[[noreturn]] LRESULT OnDestroy() { ExitProcess(0); }

// Keys and button presses end the saver alike on its window and on every cover.
std::optional<LRESULT> OnKeyOrButton(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_KEYDOWN:
      return OnKeyDown(wparam);
    case WM_SYSKEYDOWN:
      return OnKeyDown(wparam);
    case WM_LBUTTONDOWN:
      return OnMouseDown(kLeftButton, lparam);
    case WM_RBUTTONDOWN:
      return OnMouseDown(kRightButton, lparam);
    case WM_MBUTTONDOWN:
      return OnMouseDown(kMiddleButton, lparam);
    case WM_XBUTTONDOWN:
      return OnXButtonDown(lparam);
    default:
      return std::nullopt;
  }
}

}  // namespace

void ForwardTo(saver::SaverWindow* saver) { the_saver = saver; }

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (const std::optional<LRESULT> handled = OnKeyOrButton(message, wparam, lparam)) {
    return *handled;
  }
  switch (message) {
    case WM_TIMER:
      return OnTimer(wparam);
    case WM_MOUSEMOVE:
      return OnMouseMove(wparam, lparam);
    case WM_ACTIVATEAPP:
      return OnActivateApp(wparam);
    case WM_PAINT:
      return OnPaint(window);
    case WM_CLOSE:
      return OnClose();
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      return OnEndSession(wparam);
    case WM_WTSSESSION_CHANGE:
      return OnSessionChange(wparam);
    case WM_DISPLAYCHANGE:
      return OnDisplayChange();
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wparam, lparam);
    case WM_DESTROY:
      return OnDestroy();
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// A cover's input is the saver's input; its class brush paints it black until it has a canvas.
LRESULT CALLBACK CoverProc(HWND cover, UINT message, WPARAM wparam, LPARAM lparam) {
  if (const std::optional<LRESULT> handled = OnKeyOrButton(message, wparam, lparam)) {
    return *handled;
  }
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      return OnCoverMouseMove(cover, wparam, lparam);
    case WM_PAINT:
      return OnCoverPaint(cover);
    default:
      return DefWindowProcW(cover, message, wparam, lparam);
  }
}

void LoadSaverWindow(HINSTANCE instance, platform::Platform& platform) {
  static LocalTimeOfDay clock;
  static Win32SaverHost host(instance);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  static saver::RandomSource random(static_cast<std::uint64_t>(counter.QuadPart), &clock);
  static saver::SaverWindow saver(saver::SaverServices{platform.windowing, platform.screen,
                                                       platform.system, platform.passwords, host},
                                  random,
                                  saver::RulesFor(startup::ModeOf(startup::Start().argument_text)));
  host.Attach(&saver);
  saver.OnSaverLoad();
  ExitProcess(0);
}

}  // namespace quillmere::win32
