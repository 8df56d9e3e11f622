#include "saver/headless.h"

#include "platform/saver_host.h"
#include "saver/saver_window.h"

namespace quillmere::saver {
namespace {

// Answers every system call the saver makes as a quiet NT machine with the run's screen.
class HeadlessSystem final : public platform::Windowing,
                             public platform::ScreenMetrics,
                             public platform::SystemInfo,
                             public platform::PasswordServices,
                             public platform::SaverHost,
                             public platform::TimeOfDay {
 public:
  explicit HeadlessSystem(const HeadlessRun& run) : run_(run) {}

  std::vector<std::uint32_t> canvas;

  platform::WindowHandle FindWindowByTitle(std::string_view) override { return 0; }
  bool IsWindow(platform::WindowHandle) override { return false; }
  bool GetWindowRect(platform::WindowHandle, platform::Rect&) override { return false; }
  std::int32_t GetWindowLong(platform::WindowHandle, std::int32_t) override { return 0; }
  void SetWindowLong(platform::WindowHandle, std::int32_t, std::int32_t) override {}
  bool SetParent(platform::WindowHandle, platform::WindowHandle) override { return false; }
  std::int32_t ShowCursor(std::int32_t show) override { return show != 0 ? 0 : -1; }
  bool GetCursorPos(platform::Point&) override { return false; }
  void DrawAnimatedRects(platform::WindowHandle, std::int32_t, const platform::Rect&,
                         const platform::Rect&) override {}
  void SystemParametersInfo(std::uint32_t, std::int32_t) override {}

  double TwipsPerPixelX() override { return kTwipsPerPixel; }
  double TwipsPerPixelY() override { return kTwipsPerPixel; }
  double ScreenWidthTwips() override { return run_.width * kTwipsPerPixel; }
  double ScreenHeightTwips() override { return run_.height * kTwipsPerPixel; }
  std::vector<platform::Monitor> Monitors() override {
    return {{{0, 0, run_.width, run_.height}, true}};
  }

  std::int32_t GetVersionEx(platform::OsVersionInfo& info) override {
    info.dwPlatformId = platform::kPlatformWin32Nt;
    return 1;
  }
  std::uint16_t UserInterfaceLanguage() override { return 0x0409; }
  bool ListenForMonitorPower(platform::PowerSource) override { return false; }
  void PwdChangePassword(std::string_view, platform::WindowHandle) override {}
  std::int32_t VerifyScreenSavePwd(platform::WindowHandle) override { return 1; }

  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t w, std::int32_t h) override {
    canvas.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
    return canvas;
  }
  void EnableTimer() override {}
  void ShowTopmost() override {}
  std::optional<std::span<std::uint32_t>> ShowCover(std::size_t, const platform::Rect&,
                                                    bool) override {
    return std::nullopt;
  }
  void RemoveCoversFrom(std::size_t) override {}
  void PresentWindow(const platform::CanvasChanges&) override {}
  void PresentCover(std::size_t, const platform::CanvasChanges&) override {}
  bool ListenForEnergySaver() override { return false; }
  std::int32_t RefreshRate() override { return 0; }
  void DispatchPending() override {}
  void WaitForMessages() override {}
  void WaitForMessagesUntil(std::uint64_t) override {}
  bool InputPending() override { return false; }
  std::uint64_t Microseconds() override { return 0; }
  platform::WindowHandle Window() override { return 0; }
  void DestroyAndEnd() override {}

  float SecondsSinceMidnight() override { return run_.time_of_day; }

 private:
  static constexpr double kTwipsPerPixel = 15;
  const HeadlessRun& run_;
};

}  // namespace

std::vector<std::uint32_t> RenderHeadless(const HeadlessRun& run) {
  HeadlessSystem system(run);
  RandomSource random(run.seed, &system);
  startup::StartState start;
  SaverWindow saver(SaverServices{system, system, system, system, system}, random,
                    RulesFor(startup::Mode::FullScreen), run.settings, start);
  saver.PrepareSaver();
  saver.StartAnimation();
  for (std::int32_t frame = 0; frame < run.frames; ++frame) saver.RunFrame();
  return std::move(system.canvas);
}

}  // namespace quillmere::saver
