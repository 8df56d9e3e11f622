// The saver window's Win32 side: its window and covers, their canvases, the re-steering timer, the
// queue and the time of day.
#include "win32/saver_surfaces.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include <timeapi.h>

#include <algorithm>
#include <cstdint>

#include "startup/entry.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace quillmere::win32 {
namespace {

constexpr wchar_t kClassName[] = L"quillmere_saver";
// Covers have a class of their own and no title, so the start-up guard never takes one for the
// saver.
constexpr wchar_t kCoverClassName[] = L"quillmere_cover";
constexpr DWORD kCoverExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr UINT kResteerIntervalMs = 1000;
constexpr std::uint64_t kMsPerSecond = 1000;
constexpr std::uint64_t kMsPerDay = 86'400 * kMsPerSecond;

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, from Windows 10 1803 on.
constexpr DWORD kHighResolutionTimer = 0x2;
constexpr std::uint64_t kMicrosecondsPerSecond = 1'000'000;

// Each changed box of the canvas to the same place on the window: the finished discs only, so no
// half-drawn frame can show.
void CopyToWindow(const MemorySurface& canvas, HWND window,
                  const platform::CanvasChanges& changes) {
  HDC dc = GetDC(window);
  if (changes.whole) {
    canvas.CopyTo(dc);
  } else {
    for (const platform::Rect& box : changes.boxes)
      canvas.CopyTo(dc, RECT{box.left, box.top, box.right, box.bottom});
  }
  ReleaseDC(window, dc);
}

}  // namespace

LocalTimeOfDay::LocalTimeOfDay() : start_tick_(GetTickCount64()) {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  start_ms_of_day_ = ((local.wHour * 60ULL + local.wMinute) * 60ULL + local.wSecond) * 1000ULL +
                     local.wMilliseconds;
}

float LocalTimeOfDay::SecondsSinceMidnight() {
  // A frame reads the clock three times a crawler, mostly within one tick.
  const std::uint64_t tick = GetTickCount64();
  if (tick == last_tick_) return last_seconds_;
  const std::uint64_t ms = (start_ms_of_day_ + (tick - start_tick_)) % kMsPerDay;
  last_tick_ = tick;
  last_seconds_ = static_cast<float>(static_cast<double>(ms) / kMsPerSecond);
  return last_seconds_;
}

void Win32SaverHost::Attach(saver::SaverWindow* saver) { ForwardTo(saver); }

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

HWND Win32SaverHost::CoverWindow(std::size_t number) const {
  return number < covers_.size() && covers_[number] ? covers_[number]->window : nullptr;
}

void Win32SaverHost::RemoveCoversFrom(std::size_t count) {
  for (std::size_t i = count; i < covers_.size(); ++i) {
    if (covers_[i] && covers_[i]->window != nullptr) DestroyWindow(covers_[i]->window);
  }
  covers_.resize(std::min(covers_.size(), count));
}

void Win32SaverHost::PresentWindow(const platform::CanvasChanges& changes) {
  CopyToWindow(canvas_, window_, changes);
}

void Win32SaverHost::PresentCover(std::size_t number, const platform::CanvasChanges& changes) {
  if (number < covers_.size() && covers_[number] && covers_[number]->canvas)
    CopyToWindow(*covers_[number]->canvas, covers_[number]->window, changes);
}

// The monitor going off is told only to the windows that ask, when drawing on would be for nobody.
bool Win32SaverHost::ListenForMonitorPower(platform::PowerSource source) {
  const GUID& setting =
      source == platform::PowerSource::Session ? kSessionDisplayStatus : kConsoleDisplayState;
  power_notices_ = RegisterPowerSettingNotification(window_, &setting, DEVICE_NOTIFY_WINDOW_HANDLE);
  return power_notices_ != nullptr;
}

bool Win32SaverHost::ListenForEnergySaver() {
  energy_saver_notices_ =
      RegisterPowerSettingNotification(window_, &kPowerSavingStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
  SYSTEM_POWER_STATUS power{};
  // The byte after BatteryLifePercent is SystemStatusFlag: 1 while the energy saver is on.
  return GetSystemPowerStatus(&power) && power.Reserved1 == 1;
}

std::int32_t Win32SaverHost::RefreshRate() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  return static_cast<std::int32_t>(std::min<DWORD>(mode.dmDisplayFrequency, INT32_MAX));
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

void Win32SaverHost::WaitForMessagesUntil(std::uint64_t deadline) {
  if (!frame_timer_tried_) {
    frame_timer_tried_ = true;
    frame_timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    frame_timer_precise_ = frame_timer_ != nullptr;
    if (!frame_timer_precise_) frame_timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  }
  const std::uint64_t now = Microseconds();
  if (deadline > now) {
    LARGE_INTEGER due{};
    due.QuadPart = -static_cast<LONGLONG>((deadline - now) * 10);  // relative, in 100 ns
    const bool timed =
        frame_timer_ != nullptr && SetWaitableTimer(frame_timer_, &due, 0, nullptr, nullptr, FALSE);
    // An ordinary timer keeps the system's 15.6 ms tick unless the wait asks for a finer one.
    if (!frame_timer_precise_) timeBeginPeriod(1);
    const auto ms = static_cast<DWORD>((deadline - now + 999) / 1000);
    MsgWaitForMultipleObjectsEx(timed ? 1 : 0, &frame_timer_, timed ? INFINITE : ms, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    if (!frame_timer_precise_) timeEndPeriod(1);
  }
  DispatchPending();
}

bool Win32SaverHost::InputPending() {
  // Other programs' sent messages (log-off's query among them) wait for an answer too.
  return HIWORD(GetQueueStatus(QS_INPUT | QS_SENDMESSAGE)) != 0;
}

std::uint64_t Win32SaverHost::Microseconds() {
  static const auto frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return static_cast<std::uint64_t>(f.QuadPart);
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  const auto count = static_cast<std::uint64_t>(counter.QuadPart);
  return count / frequency * kMicrosecondsPerSecond +
         count % frequency * kMicrosecondsPerSecond / frequency;
}

platform::WindowHandle Win32SaverHost::Window() {
  return reinterpret_cast<platform::WindowHandle>(window_);
}

void Win32SaverHost::DestroyAndEnd() {
  WTSUnRegisterSessionNotification(window_);
  if (power_notices_ != nullptr) UnregisterPowerSettingNotification(power_notices_);
  if (energy_saver_notices_ != nullptr) UnregisterPowerSettingNotification(energy_saver_notices_);
  DestroyWindow(window_);
  ExitProcess(0);
}

}  // namespace quillmere::win32
