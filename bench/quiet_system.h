// Windows as the benchmark needs it: screens of a given layout, canvases in memory, no input and
// nothing recorded, so that a frame is timed with nothing of the system's own in it.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "platform/saver_host.h"

namespace quillmere::bench {

class QuietSystem final : public platform::Windowing,
                          public platform::ScreenMetrics,
                          public platform::SystemInfo,
                          public platform::PasswordServices,
                          public platform::SaverHost {
  using Handle = platform::WindowHandle;
  using Rect = platform::Rect;
  using Canvas = std::optional<std::span<std::uint32_t>>;

 public:
  // The primary first, then the others; one screen has no monitor list, as a single display.
  explicit QuietSystem(std::vector<Rect> screens) : screens_(std::move(screens)) {}

  Handle FindWindowByTitle(std::string_view) override { return 0; }
  bool IsWindow(Handle) override { return false; }
  bool GetWindowRect(Handle, Rect&) override { return false; }
  std::int32_t GetWindowLong(Handle, std::int32_t) override { return 0; }
  void SetWindowLong(Handle, std::int32_t, std::int32_t) override {}
  bool SetParent(Handle, Handle) override { return false; }
  std::int32_t ShowCursor(std::int32_t) override { return -1; }
  bool GetCursorPos(platform::Point& point) override {
    point = {0, 0};
    return true;
  }
  void DrawAnimatedRects(Handle, std::int32_t, const Rect&, const Rect&) override {}
  void SystemParametersInfo(std::uint32_t, std::int32_t) override {}

  double TwipsPerPixelX() override { return 15; }
  double TwipsPerPixelY() override { return 15; }
  double ScreenWidthTwips() override { return 15.0 * (screens_[0].right - screens_[0].left); }
  double ScreenHeightTwips() override { return 15.0 * (screens_[0].bottom - screens_[0].top); }
  std::vector<platform::Monitor> Monitors() override {
    std::vector<platform::Monitor> monitors;
    if (screens_.size() > 1) {
      for (const Rect& screen : screens_) monitors.push_back({screen, monitors.empty()});
    }
    return monitors;
  }

  std::int32_t GetVersionEx(platform::OsVersionInfo& info) override {
    info.dwPlatformId = platform::kPlatformWin32Nt;
    return 1;
  }
  std::uint16_t UserInterfaceLanguage() override { return 0x0409; }
  void PwdChangePassword(std::string_view, Handle) override {}
  std::int32_t VerifyScreenSavePwd(Handle) override { return 1; }

  Canvas PrepareSurfaces(std::int32_t width, std::int32_t height) override {
    return canvases_.emplace_back(static_cast<std::size_t>(width) *
                                  static_cast<std::size_t>(height));
  }
  void EnableTimer() override {}
  void ShowTopmost() override {}
  Canvas ShowCover(std::size_t, const Rect& area, bool animated) override {
    if (!animated) return std::nullopt;
    return canvases_.emplace_back(static_cast<std::size_t>(area.right - area.left) *
                                  static_cast<std::size_t>(area.bottom - area.top));
  }
  void RemoveCoversFrom(std::size_t) override {}
  void PresentWindow(const platform::CanvasChanges&) override {}
  void PresentCover(std::size_t, const platform::CanvasChanges&) override {}
  bool ListenForMonitorPower(platform::PowerSource) override { return true; }
  bool ListenForEnergySaver() override { return false; }
  std::int32_t RefreshRate() override { return 0; }
  void DispatchPending() override {}
  void WaitForMessages() override {}
  void WaitForMessagesUntil(std::uint64_t) override {}
  bool InputPending() override { return false; }
  std::uint64_t Microseconds() override { return 0; }  // a frame never runs out of time
  Handle Window() override { return 0x5AFE; }
  void DestroyAndEnd() override {}

 private:
  std::vector<Rect> screens_;
  std::list<std::vector<std::uint32_t>> canvases_;
};

}  // namespace quillmere::bench
