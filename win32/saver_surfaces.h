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

class Win32SaverHost;

inline constexpr UINT_PTR kResteerTimer = 1;
// GUID_SESSION_DISPLAY_STATUS and GUID_CONSOLE_DISPLAY_STATE, written out so that no GUID library
// is needed.
inline constexpr GUID kSessionDisplayStatus = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
inline constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The saver window's and the covers' procedures, and the saver and host they forward to.
LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK CoverProc(HWND cover, UINT message, WPARAM wparam, LPARAM lparam);
void ForwardTo(saver::SaverWindow* saver, const Win32SaverHost* host);

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
  void PresentCanvases() override;
  bool ListenForDisplayState(platform::DisplaySource source) override;
  void DispatchPending() override;
  void WaitForMessages() override;
  bool InputPending() override;
  std::uint64_t Milliseconds() override;
  platform::WindowHandle Window() override;
  [[noreturn]] void DestroyAndEnd() override;

  // The memory DC that holds the canvas, for drawing on it with GDI.
  HDC BufferDC() const { return canvas_.dc(); }
  const MemorySurface& Canvas() const { return canvas_; }
  // The canvas cover number `cover` repaints from; none for a black cover.
  const MemorySurface* CoverCanvas(std::size_t cover) const;

 private:
  // A window over another monitor, and its canvas while it shows crawlers.
  struct Cover {
    HWND window = nullptr;
    std::optional<MemorySurface> canvas;
  };

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HPOWERNOTIFY display_notices_ = nullptr;
  std::vector<std::unique_ptr<Cover>> covers_;
  MemorySurface canvas_;
};

}  // namespace quillmere::win32
