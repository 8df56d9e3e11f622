#include "saver/saver_window.h"

#include <algorithm>
#include <array>
#include <limits>

#include "startup/numbers.h"
#include "startup/platform_helpers.h"

namespace quillmere::saver {
namespace {

constexpr std::int32_t kOthersBlack = 1;  // the Monitors setting that keeps them black

// The areas of every monitor but the primary (marked, else the first) that a cover can take
// without hiding any of the primary.
std::vector<platform::Rect> OtherMonitors(std::span<const platform::Monitor> monitors) {
  if (monitors.empty()) return {};
  const auto marked = std::ranges::find_if(monitors, &platform::Monitor::primary);
  const platform::Rect primary = (marked != monitors.end() ? *marked : monitors.front()).area;
  const auto empty = [](const platform::Rect& r) { return r.right <= r.left || r.bottom <= r.top; };
  const auto overlaps_primary = [&](const platform::Rect& r) {
    return r.left < primary.right && primary.left < r.right && r.top < primary.bottom &&
           primary.top < r.bottom;
  };
  std::vector<platform::Rect> others;
  for (const platform::Monitor& monitor : monitors) {
    if (!empty(monitor.area) && !overlaps_primary(monitor.area)) others.push_back(monitor.area);
  }
  return others;
}

// The part of `box` that lies on the canvas; none when nothing does.
std::optional<platform::Rect> OnCanvas(const platform::Rect& box, const Canvas& canvas) {
  const platform::Rect part = {std::max(box.left, 0), std::max(box.top, 0),
                               std::min(box.right, canvas.Width()),
                               std::min(box.bottom, canvas.Height())};
  if (part.left >= part.right || part.top >= part.bottom) return std::nullopt;
  return part;
}

// The screen size in pixels from the screen metrics, each rounded half to even.
std::int32_t ScreenPixels(double twips, double twips_per_pixel) {
  constexpr double kLargestScreen = 1 << 16;
  const double pixels = twips_per_pixel > 0 ? startup::TwipsToPixels(twips, twips_per_pixel) : 0;
  if (!(pixels > 0)) return 0;
  return static_cast<std::int32_t>(std::min(pixels, kLargestScreen));
}

}  // namespace

SaverRules RulesFor(startup::Mode mode) {
  const bool full_screen = mode == startup::Mode::FullScreen;
  return {.restores_cursor_and_running_flag = full_screen,
          .asks_password_on_9x = full_screen,
          .mouse_moves_end = full_screen};
}

SaverWindow::SaverWindow(SaverServices services, RandomSource& random, SaverRules rules,
                         const startup::SettingsValues& settings, startup::StartState& start,
                         SaverLimits limits)
    : services_(services),
      random_(random),
      rules_(rules),
      settings_(settings),
      start_(start),
      limits_(limits) {}

void SaverWindow::OnSaverLoad() {
  PrepareSaver();
  RunAnimation();
}

bool SaverWindow::FitScreen() {
  platform::ScreenMetrics& screen = services_.screen;
  const std::int32_t w = ScreenPixels(screen.ScreenWidthTwips(), screen.TwipsPerPixelX());
  const std::int32_t h = ScreenPixels(screen.ScreenHeightTwips(), screen.TwipsPerPixelY());
  const std::optional<std::span<std::uint32_t>> pixels = services_.host.PrepareSurfaces(w, h);
  primary_.Resize(w, h, pixels ? Canvas(*pixels, w, h) : Canvas());
  // Without a window there is no input to end the saver, and without a canvas nothing to show.
  if (!pixels) EndSaver();
  return pixels.has_value();
}

void SaverWindow::PlaceCovers() {
  covers_ = OtherMonitors(services_.screen.Monitors());
  others_.clear();
  other_covers_.clear();
  const bool animated = settings_.Monitors != kOthersBlack;
  for (std::size_t i = 0; i < covers_.size(); ++i) {
    const std::optional<std::span<std::uint32_t>> pixels =
        services_.host.ShowCover(i, covers_[i], animated);
    // A monitor whose canvas cannot be made stays black rather than ending the saver.
    if (!pixels) continue;
    const std::int32_t w = covers_[i].right - covers_[i].left;
    const std::int32_t h = covers_[i].bottom - covers_[i].top;
    Scene& scene = others_.emplace_back(w, h, Canvas(*pixels, w, h), random_.Fork(i + 1));
    other_covers_.push_back(i);
    scene.Populate(settings_, limits_.largest_crawler_count, random_);
    scene.BuildColourTable(settings_.Sync, random_);
  }
  services_.host.RemoveCoversFrom(covers_.size());
}

void SaverWindow::PrepareSaver() {
  if (!FitScreen()) return;
  primary_.Populate(settings_, limits_.largest_crawler_count, random_);
  ticks_ = 0;
  services_.host.EnableTimer();
  services_.host.ShowTopmost();
  PlaceCovers();
  // A remote user watches the session's monitor while the console's may be off: the session's
  // own state counts where the system tells it, the console's where it does not.
  for (const platform::PowerSource source :
       {platform::PowerSource::Session, platform::PowerSource::Console}) {
    if (services_.host.ListenForMonitorPower(source)) {
      power_source_ = source;
      break;
    }
  }
  energy_saver_ = services_.host.ListenForEnergySaver();
  refresh_rate_ = services_.host.RefreshRate();
  PaceFrames();
}

void SaverWindow::PaceFrames() {
  const std::int32_t rate = FrameRateLimit(settings_.FrameRate, energy_saver_, refresh_rate_);
  if (rate != pacer_.Rate()) pacer_.Pace(rate, services_.host.Microseconds());
}

void SaverWindow::RunAnimation() {
  StartAnimation();
  while (!end_requested_) {
    // Frames drawn while the monitor is off would only burn power: wait for it, or for input.
    if (monitor_off_) {
      services_.host.WaitForMessages();
    } else {
      RunFrame();
    }
  }
  services_.host.DestroyAndEnd();
}

void SaverWindow::StartAnimation() { primary_.BuildColourTable(settings_.Sync, random_); }

bool SaverWindow::PaintScene(Scene& scene, std::uint64_t started, std::int64_t& crawlers_painted) {
  scene.TakeFrameColour(settings_.Sync);
  const std::int32_t count = scene.CrawlerCount();
  const std::int64_t between = limits_.crawlers_between_looks;
  for (std::int32_t i = 1; i <= count;) {
    // A frame too slow for its settings gives way to waiting input, so the saver still ends.
    if (++crawlers_painted % between == 0 &&
        services_.host.Microseconds() - started > limits_.frame_budget_us &&
        services_.host.InputPending()) {
      return false;
    }
    // A group ends before the next crawler the input is looked at for, as one at a time would.
    const std::int64_t before_look = between - crawlers_painted % between;
    const auto group = static_cast<std::int32_t>(
        std::min<std::int64_t>({before_look, Scene::kGroup, std::int64_t{count} - i + 1}));
    scene.MoveAndStamp(i, i + group - 1, settings_, random_);
    crawlers_painted += group - 1;
    i += group;
  }
  return true;
}

void SaverWindow::RunFrame() {
  const std::uint64_t started = services_.host.Microseconds();
  std::int64_t crawlers_painted = 0;
  bool painted = PaintScene(primary_, started, crawlers_painted);
  for (Scene& scene : others_) painted = painted && PaintScene(scene, started, crawlers_painted);
  Present();
  YieldBetweenFrames();
  primary_.AdvanceFrameColour(settings_.Sync);
  for (Scene& scene : others_) scene.AdvanceFrameColour(settings_.Sync);
}

void SaverWindow::Present() {
  services_.host.PresentWindow(primary_.canvas().Changes());
  primary_.ForgetChanges();
  for (std::size_t i = 0; i < others_.size(); ++i) {
    services_.host.PresentCover(other_covers_[i], others_[i].canvas().Changes());
    others_[i].ForgetChanges();
  }
}

void SaverWindow::YieldBetweenFrames() {
  platform::SaverHost& host = services_.host;
  host.DispatchPending();
  const std::optional<std::uint64_t> next = pacer_.NextFrame(host.Microseconds());
  // Input, ticks and display changes are handled as they come while the frame waits its turn.
  while (next && !end_requested_ && host.Microseconds() < *next) host.WaitForMessagesUntil(*next);
}

void SaverWindow::OnTimerTick() {
  // The picture goes on where it stopped when the monitor comes back on.
  if (monitor_off_) return;
  // Ticks resets once it reaches Intval, which no 32-bit Intval lets it pass.
  if (ticks_ < std::numeric_limits<std::int32_t>::max()) ticks_ = ticks_ + 1;
  if (ticks_ < settings_.Intval) return;
  Resteer();
}

void SaverWindow::Resteer() {
  ticks_ = 0;
  primary_.Resteer(settings_, false, random_);
  for (Scene& scene : others_) scene.Resteer(settings_, false, random_);
}

void SaverWindow::TryEndSaver() {
  platform::Windowing& windowing = services_.windowing;
  if (rules_.asks_password_on_9x && !startup::IsWindowsNT(services_.system)) {
    start_.saved_cursor_count = windowing.ShowCursor(start_.saved_cursor_count);
    if (services_.passwords.VerifyScreenSavePwd(services_.host.Window()) == 0) {
      start_.saved_cursor_count = windowing.ShowCursor(0);
      return;
    }
  }
  EndSaver();
}

void SaverWindow::EndSaver() {
  platform::Windowing& windowing = services_.windowing;
  if (rules_.restores_cursor_and_running_flag) {
    startup::SetScreenSaverRunning(windowing, false);
    start_.saved_cursor_count = windowing.ShowCursor(start_.saved_cursor_count);
  }
  windowing.SystemParametersInfo(platform::kSpiSetScreenSaveActive, 1);
  end_requested_ = true;
}

void SaverWindow::OnKeyDown(std::int32_t, std::int32_t) { TryEndSaver(); }

void SaverWindow::OnDisplayMouseDown(std::int32_t, std::int32_t, float, float) { TryEndSaver(); }

void SaverWindow::OnDisplayMouseMove(std::int32_t, std::int32_t, float x, float y) {
  if (!rules_.mouse_moves_end) return;
  if (!have_first_) {
    first_x_ = x;
    first_y_ = y;
    have_first_ = true;
    return;
  }
  if (x != first_x_ && y != first_y_) {
    TryEndSaver();
    have_first_ = false;
  }
}

void SaverWindow::OnCoverMouseMove(std::size_t cover, std::int32_t button, std::int32_t shift,
                                   float x, float y) {
  if (cover >= covers_.size()) return;
  const platform::Rect& area = covers_[cover];
  OnDisplayMouseMove(button, shift, static_cast<float>(area.left) + x,
                     static_cast<float>(area.top) + y);
}

void SaverWindow::EndOnce() {
  // Teardown deactivates the window, and log-off asks then ends: the saver has ended once already.
  if (!end_requested_) TryEndSaver();
}

void SaverWindow::OnLoseActivation() { EndOnce(); }

void SaverWindow::OnCloseRequest() { EndOnce(); }

void SaverWindow::OnSessionChange(std::int32_t reason) {
  // Behind a lock screen or in a session nobody sees, no input could ever reach the saver.
  constexpr std::array kUnseen = {platform::kWtsConsoleDisconnect, platform::kWtsRemoteConnect,
                                  platform::kWtsRemoteDisconnect, platform::kWtsSessionLock};
  if (std::ranges::find(kUnseen, reason) != kUnseen.end()) EndOnce();
}

void SaverWindow::OnDisplayChange() {
  if (end_requested_ || !FitScreen()) return;
  refresh_rate_ = services_.host.RefreshRate();
  PaceFrames();
  // The system may move the pointer onto the new screen; only a move after that is the user's.
  have_first_ = false;
  ticks_ = 0;
  primary_.Resteer(settings_, true, random_);
  PlaceCovers();
}

void SaverWindow::OnMonitorPowerChange(platform::PowerSource source, std::int32_t state) {
  if (source == power_source_) monitor_off_ = state == platform::kMonitorOff;
}

void SaverWindow::OnPaint(const platform::Rect& invalid) {
  if (const auto part = OnCanvas(invalid, primary_.canvas()))
    services_.host.PresentWindow({.boxes = {&*part, 1}});
}

void SaverWindow::OnCoverPaint(std::size_t cover, const platform::Rect& invalid) {
  // A cover that stays black is painted by its window's own background.
  const auto shown = std::ranges::find(other_covers_, cover);
  if (shown == other_covers_.end()) return;
  const Scene& scene = others_[static_cast<std::size_t>(shown - other_covers_.begin())];
  if (const auto part = OnCanvas(invalid, scene.canvas()))
    services_.host.PresentCover(cover, {.boxes = {&*part, 1}});
}

void SaverWindow::OnEnergySaverChange(bool on) {
  energy_saver_ = on;
  PaceFrames();
}

}  // namespace quillmere::saver
