// The full-screen saver window: its surfaces, the re-steering timer, the queue, and one handler a
// message.
#include "win32/saver_window.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "saver/saver_window.h"
#include "startup/entry.h"
#include "win32/saver_surfaces.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace quillmere::win32 {
namespace {

constexpr wchar_t kClassName[] = L"quillmere_saver";
// Covers have a class of their own and no title, so the start-up guard never takes one for the
// saver.
constexpr wchar_t kCoverClassName[] = L"quillmere_cover";
constexpr DWORD kCoverExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr UINT_PTR kResteerTimer = 1;
constexpr UINT kResteerIntervalMs = 1000;
constexpr std::uint64_t kMsPerSecond = 1000;
constexpr std::uint64_t kMsPerDay = 86'400 * kMsPerSecond;
// GUID_CONSOLE_DISPLAY_STATE, written out so that no GUID library is needed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

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

// The host whose canvases the windows repaint from.
const Win32SaverHost* the_host = nullptr;

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

LRESULT OnPaint(HWND window, const MemorySurface* canvas) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (canvas != nullptr && !canvas->pixels().empty()) canvas->CopyTo(dc, paint.rcPaint);
  EndPaint(window, &paint);
  return 0;
}

LRESULT OnCoverPaint(HWND cover) {
  const auto number = static_cast<std::size_t>(GetWindowLongPtrW(cover, GWLP_USERDATA));
  return OnPaint(cover, the_host ? the_host->CoverCanvas(number) : nullptr);
}

void CopyToWindow(const MemorySurface& canvas, HWND window) {
  HDC dc = GetDC(window);
  canvas.CopyTo(dc);
  ReleaseDC(window, dc);
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
      IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) &&
      setting->DataLength >= sizeof(DWORD)) {
    DWORD state = 0;
    std::memcpy(&state, setting->Data, sizeof state);
    the_saver->OnDisplayStateChange(static_cast<std::int32_t>(state));
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
      return OnPaint(window, the_host ? &the_host->Canvas() : nullptr);
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

}  // namespace

LocalTimeOfDay::LocalTimeOfDay() : start_tick_(GetTickCount64()) {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  start_ms_of_day_ = ((local.wHour * 60ULL + local.wMinute) * 60ULL + local.wSecond) * 1000ULL +
                     local.wMilliseconds;
}

float LocalTimeOfDay::SecondsSinceMidnight() {
  const std::uint64_t ms = (start_ms_of_day_ + (GetTickCount64() - start_tick_)) % kMsPerDay;
  return static_cast<float>(static_cast<double>(ms) / kMsPerSecond);
}

void Win32SaverHost::Attach(saver::SaverWindow* saver) {
  the_saver = saver;
  the_host = this;
}

std::optional<std::span<std::uint32_t>> Win32SaverHost::PrepareSurfaces(std::int32_t width,
                                                                        std::int32_t height) {
  if (window_ != nullptr) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterWindowClass(instance_,
                        {.name = kClassName, .procedure = SaverProc, .background = black});
    RegisterWindowClass(instance_,
                        {.name = kCoverClassName, .procedure = CoverProc, .background = black});
    window_ = CreateWindowExW(0, kClassName, Widen(startup::kSaverWindowTitle).c_str(), WS_POPUP, 0,
                              0, width, height, nullptr, nullptr, instance_, nullptr);
    if (window_ == nullptr) return std::nullopt;
    // Locks and remote sessions are told only to the windows that ask.
    WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION);
    // So is the display going off, when drawing on would be for nobody.
    display_notices_ = RegisterPowerSettingNotification(window_, &kConsoleDisplayState,
                                                        DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  if (!canvas_.Create(width, height)) return std::nullopt;
  return canvas_.pixels();
}

void Win32SaverHost::EnableTimer() {
  SetTimer(window_, kResteerTimer, kResteerIntervalMs, nullptr);
}

void Win32SaverHost::ShowTopmost() {
  ShowWindow(window_, SW_SHOWNORMAL);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

std::optional<std::span<std::uint32_t>> Win32SaverHost::ShowCover(std::size_t number,
                                                                  const platform::Rect& area,
                                                                  bool animated) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  covers_.resize(std::max(covers_.size(), number + 1));
  if (!covers_[number]) covers_[number] = std::make_unique<Cover>();
  Cover& cover = *covers_[number];
  cover.canvas.reset();
  if (cover.window != nullptr) {
    SetWindowPos(cover.window, HWND_TOPMOST, area.left, area.top, width, height, SWP_NOACTIVATE);
  } else {
    // Owned by the saver window, a cover goes when it goes.
    cover.window = CreateWindowExW(kCoverExStyle, kCoverClassName, nullptr, WS_POPUP, area.left,
                                   area.top, width, height, window_, nullptr, instance_, nullptr);
    if (cover.window == nullptr) return std::nullopt;
    SetWindowLongPtrW(cover.window, GWLP_USERDATA, static_cast<LONG_PTR>(number));
    ShowWindow(cover.window, SW_SHOWNOACTIVATE);
  }
  if (!animated || !cover.canvas.emplace().Create(width, height)) {
    cover.canvas.reset();
    return std::nullopt;
  }
  return cover.canvas->pixels();
}

const MemorySurface* Win32SaverHost::CoverCanvas(std::size_t number) const {
  if (number >= covers_.size() || !covers_[number] || !covers_[number]->canvas) return nullptr;
  return &*covers_[number]->canvas;
}

void Win32SaverHost::RemoveCoversFrom(std::size_t count) {
  for (std::size_t i = count; i < covers_.size(); ++i) {
    if (covers_[i] && covers_[i]->window != nullptr) DestroyWindow(covers_[i]->window);
  }
  covers_.resize(std::min(covers_.size(), count));
}

void Win32SaverHost::PresentCanvases() {
  CopyToWindow(canvas_, window_);
  for (const std::unique_ptr<Cover>& cover : covers_) {
    if (cover && cover->canvas) CopyToWindow(*cover->canvas, cover->window);
  }
}

void Win32SaverHost::DispatchPending() {
  // The animation's yield: only what is queued now, never waiting, so the frames keep coming.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32SaverHost::WaitForMessages() {
  // Also returns for messages that were already queued but not yet looked at.
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DispatchPending();
}

bool Win32SaverHost::InputPending() {
  // Other programs' sent messages (log-off's query among them) wait for an answer too.
  return HIWORD(GetQueueStatus(QS_INPUT | QS_SENDMESSAGE)) != 0;
}

std::uint64_t Win32SaverHost::Milliseconds() { return GetTickCount64(); }

platform::WindowHandle Win32SaverHost::Window() {
  return reinterpret_cast<platform::WindowHandle>(window_);
}

void Win32SaverHost::DestroyAndEnd() {
  WTSUnRegisterSessionNotification(window_);
  if (display_notices_ != nullptr) UnregisterPowerSettingNotification(display_notices_);
  DestroyWindow(window_);
  ExitProcess(0);
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
