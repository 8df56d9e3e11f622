// The saver window's Win32 side: the window, its canvas, its covers, the re-steering timer, the
// queue and the time of day.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/saver_host.h"
#include "win32/memory_surface.h"

namespace quillmere::saver {
class SaverWindow;
}

namespace quillmere::win32 {

inline constexpr UINT_PTR kResteerTimer = 1;
// GUID_SESSION_DISPLAY_STATUS and GUID_CONSOLE_DISPLAY_STATE, written out so that no GUID library
// is needed.
inline constexpr GUID kSessionDisplayStatus = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
inline constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_POWER_SAVING_STATUS: the energy saver (battery saver) on or off.
inline constexpr GUID kPowerSavingStatus = {
    0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

// The saver window's and the covers' procedures, and the saver they forward to.
LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK CoverProc(HWND cover, UINT message, WPARAM wparam, LPARAM lparam);
void ForwardTo(saver::SaverWindow* saver);

// Seconds since local midnight: the local time read once, then advanced by the tick count,
// which costs a few nanoseconds where reading the system time costs a hundred under Wine.
class LocalTimeOfDay final : public platform::TimeOfDay {
 public:
  LocalTimeOfDay();
  float SecondsSinceMidnight() override;

 private:
  std::uint64_t start_ms_of_day_;  // local time of day when constructed
  std::uint64_t start_tick_;
  std::uint64_t last_tick_ = ~std::uint64_t{0};  // the tick of the last reading, none yet
  float last_seconds_ = 0.0f;
};

class Win32SaverHost final : public platform::SaverHost {
 public:
  explicit Win32SaverHost(HINSTANCE instance) : instance_(instance) {}

  // The window's messages go to this saver from now on.
  void Attach(saver::SaverWindow* saver);

  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t width,
                                                          std::int32_t height) override;
  void EnableTimer() override;
  void ShowTopmost() override;
  std::optional<std::span<std::uint32_t>> ShowCover(std::size_t cover, const platform::Rect& area,
                                                    bool animated) override;
  void RemoveCoversFrom(std::size_t count) override;
  void PresentWindow(const platform::CanvasChanges& changes) override;
  void PresentCover(std::size_t cover, const platform::CanvasChanges& changes) override;
  bool ListenForMonitorPower(platform::PowerSource source) override;
  bool ListenForEnergySaver() override;
  std::int32_t RefreshRate() override;
  void DispatchPending() override;
  void WaitForMessages() override;
  void WaitForMessagesUntil(std::uint64_t deadline) override;
  bool InputPending() override;
  std::uint64_t Microseconds() override;
  platform::WindowHandle Window() override;
  [[noreturn]] void DestroyAndEnd() override;

  // The memory DC that holds the canvas, for drawing on it with GDI.
  HDC BufferDC() const { return canvas_.dc(); }
  // The window of cover number `cover`; none when there is no such cover.
  HWND CoverWindow(std::size_t cover) const;

 private:
  // A window over another monitor, and its canvas while it shows crawlers.
  struct Cover {
    HWND window = nullptr;
    std::optional<MemorySurface> canvas;
  };

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HPOWERNOTIFY power_notices_ = nullptr;
  HPOWERNOTIFY energy_saver_notices_ = nullptr;
  // What paced frames wait on: made at the first wait, high-resolution where the system has it.
  HANDLE frame_timer_ = nullptr;
  bool frame_timer_tried_ = false;
  bool frame_timer_precise_ = false;
  std::vector<std::unique_ptr<Cover>> covers_;
  MemorySurface canvas_;
};

}  // namespace quillmere::win32
