#include "saver/saver_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "startup/numbers.h"
#include "startup/platform_helpers.h"

namespace quillmere::saver {
namespace {

constexpr double kDegreesToRadians = 0.017453292519943;
constexpr std::int32_t kFullTurn = 360;
constexpr std::int32_t kRandomPatternKind = 5;
constexpr std::int32_t kSyncShared = 0;
constexpr std::int32_t kSyncStaggered = 1;

struct TurnRule {
  std::int32_t clockwise = 1;  // the side drawn from 1 to 2
  std::int32_t least = 5;
  std::int32_t most = 10;
};
constexpr TurnRule kTurn;

struct Direction {
  double cos;
  double sin;
};

// Headings stay within 0..359 between steps, so their cosines and sines are computed once.
const std::array<Direction, kFullTurn>& Directions() {
  static const std::array<Direction, kFullTurn> table = [] {
    std::array<Direction, kFullTurn> t{};
    for (std::int32_t h = 0; h < kFullTurn; ++h) {
      const double angle = h * kDegreesToRadians;
      t[static_cast<std::size_t>(h)] = {std::cos(angle), std::sin(angle)};
    }
    return t;
  }();
  return table;
}

std::int32_t Centre(std::int32_t extent) {
  return static_cast<std::int32_t>(startup::RoundHalfEven(extent / 2.0));
}

// A position past 0 or `extent` reappears at the opposite edge; both edges are valid.
std::int32_t WrapPosition(std::int64_t position, std::int32_t extent) {
  if (position < 0) position = extent;
  if (position > extent) position = 0;
  return static_cast<std::int32_t>(position);
}

// A heading turned by `turn` degrees, clockwise when side is 1, brought back into 0..359.
std::int32_t TurnHeading(std::int32_t heading, std::int32_t side, std::int32_t turn) {
  // One correction suffices: a turn is at most ten degrees from a heading within 0..359.
  heading = side == kTurn.clockwise ? heading + turn : heading - turn;
  if (heading < 0) heading += kFullTurn;
  if (heading > kFullTurn - 1) heading -= kFullTurn;
  return heading;
}

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

// The screen size in pixels from the screen metrics, each rounded half to even.
std::int32_t ScreenPixels(double twips, double twips_per_pixel) {
  constexpr double kLargestScreen = 1 << 16;
  const double pixels = twips_per_pixel > 0 ? startup::RoundHalfEven(twips / twips_per_pixel) : 0;
  if (!(pixels > 0)) return 0;
  return static_cast<std::int32_t>(std::min(pixels, kLargestScreen));
}

// The move of one step along a whole-degree heading 0..359, as the frame takes it.
struct Move {
  std::int64_t dx;
  std::int64_t dy;
};

Move StepAlong(std::int32_t heading, std::int32_t step_length) {
  Direction d;
  if (heading >= 0 && heading < kFullTurn) {
    d = Directions()[static_cast<std::size_t>(heading)];
  } else {
    const double angle = heading * kDegreesToRadians;
    d = {std::cos(angle), std::sin(angle)};
  }
  return {static_cast<std::int64_t>(std::floor(d.cos * step_length)),
          static_cast<std::int64_t>(std::floor(d.sin * step_length))};
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

std::int32_t SaverWindow::CrawlerCount() const {
  return crawlers_.empty() ? 0 : static_cast<std::int32_t>(crawlers_.size() - 1);
}

std::int32_t SaverWindow::RandomPattern() {
  const double r = random_.NextUniform();
  return std::min(static_cast<std::int32_t>(std::floor(r * kPatternCount)), kPatternCount - 1);
}

void SaverWindow::Recentre() {
  const std::int32_t cx = Centre(screen_w_);
  const std::int32_t cy = Centre(screen_h_);
  const std::int32_t count = CrawlerCount();
  for (std::int32_t i = 1; i <= count; ++i) {
    Crawler& c = crawlers_[static_cast<std::size_t>(i)];
    c.Heading = RandomBetween(random_, 0, kFullTurn - 1);
    // A draw that can only give the centre still advances the sequence the recorded canvases need.
    c.PosX = RandomBetween(random_, cx, cx);
    c.PosY = RandomBetween(random_, cy, cy);
  }
}

bool SaverWindow::FitScreen() {
  platform::ScreenMetrics& screen = services_.screen;
  screen_w_ = ScreenPixels(screen.ScreenWidthTwips(), screen.TwipsPerPixelX());
  screen_h_ = ScreenPixels(screen.ScreenHeightTwips(), screen.TwipsPerPixelY());
  const std::optional<std::span<std::uint32_t>> pixels =
      services_.host.PrepareSurfaces(screen_w_, screen_h_);
  canvas_ = pixels ? Canvas(*pixels, screen_w_, screen_h_) : Canvas();
  // Without a window there is no input to end the saver, and without a canvas nothing to show.
  if (!pixels) EndSaver();
  return pixels.has_value();
}

void SaverWindow::PlaceCovers() {
  covers_ = OtherMonitors(services_.screen.Monitors());
  for (std::size_t i = 0; i < covers_.size(); ++i) services_.host.ShowCover(i, covers_[i]);
  services_.host.RemoveCoversFrom(covers_.size());
}

void SaverWindow::PrepareSaver() {
  if (!FitScreen()) return;

  // No table for Num below 1, and never more crawlers than memory and a frame can bear.
  if (settings_.Num >= 1) {
    const std::int32_t count = std::min(settings_.Num, limits_.largest_crawler_count);
    crawlers_.assign(static_cast<std::size_t>(count) + 1, Crawler{});
  }
  Recentre();

  if (settings_.Kind == kRandomPatternKind) {
    pattern_ = RandomPattern();
  } else {
    // A Kind outside the chooser's range paints with the gold table rather than none at all.
    pattern_ = settings_.Kind >= 0 && settings_.Kind < kPatternCount ? settings_.Kind : 0;
  }
  ticks_ = 0;
  services_.host.EnableTimer();
  services_.host.ShowTopmost();
  PlaceCovers();
}

void SaverWindow::BuildColourTable() {
  std::vector<Colour> table = PatternColours(pattern_, static_cast<float>(screen_w_), random_);
  if (!table.empty()) {
    colours_ = std::move(table);
    last_color_ = static_cast<std::int32_t>(colours_.size() - 1);
  }
  if (settings_.Sync == kSyncStaggered) {
    const std::int32_t count = CrawlerCount();
    for (std::int32_t i = 1; i <= count; ++i) {
      crawlers_[static_cast<std::size_t>(i)].ColorIndex = RandomBetween(random_, 0, last_color_);
    }
  }
}

void SaverWindow::RunAnimation() {
  StartAnimation();
  while (!end_requested_) {
    // Frames drawn while the display is off would only burn power: wait for it, or for input.
    if (display_off_) {
      services_.host.WaitForMessages();
    } else {
      RunFrame();
    }
  }
  services_.host.DestroyAndEnd();
}

void SaverWindow::StartAnimation() {
  BuildColourTable();
  frame_color_index_ = 0;
}

void SaverWindow::MoveAndStamp(Crawler& c) {
  const std::int32_t side = RandomBetween(random_, 1, 2);
  const std::int32_t turn = RandomBetween(random_, kTurn.least, kTurn.most);
  c.Heading = TurnHeading(c.Heading, side, turn);

  const std::int32_t step_len = RandomBetween(random_, 1, settings_.Speed);
  const Move move = StepAlong(c.Heading, step_len);
  c.PosX = WrapPosition(move.dx + c.PosX, screen_w_);
  c.PosY = WrapPosition(move.dy + c.PosY, screen_h_);

  Colour colour = frame_color_;
  if (settings_.Sync != kSyncShared) {
    // An index a smaller rebuild left outside the table starts the table over.
    if (c.ColorIndex < 0 || c.ColorIndex > last_color_) c.ColorIndex = 0;
    colour = colours_.empty() ? 0 : colours_[static_cast<std::size_t>(c.ColorIndex)];
    c.ColorIndex = c.ColorIndex + 1;
    if (c.ColorIndex > last_color_) c.ColorIndex = 0;
  }
  canvas_.StampDisc(c.PosX, c.PosY, settings_.Size, PixelOf(colour));
}

void SaverWindow::RunFrame() {
  if (settings_.Sync == kSyncShared) {
    const bool inside =
        frame_color_index_ >= 0 && frame_color_index_ <= last_color_ && !colours_.empty();
    frame_color_ = inside ? colours_[static_cast<std::size_t>(frame_color_index_)] : 0;
  }
  const std::int32_t count = CrawlerCount();
  const std::uint64_t started = services_.host.Milliseconds();
  for (std::int32_t i = 1; i <= count; ++i) {
    // A frame too slow for its settings gives way to waiting input, so the saver still ends.
    if (i % limits_.crawlers_between_looks == 0 &&
        services_.host.Milliseconds() - started > limits_.frame_budget_ms &&
        services_.host.InputPending()) {
      break;
    }
    MoveAndStamp(crawlers_[static_cast<std::size_t>(i)]);
  }
  services_.host.PresentCanvas();
  services_.host.DispatchPending();
  if (settings_.Sync == kSyncShared) {
    frame_color_index_ = frame_color_index_ + 1;
    if (frame_color_index_ > last_color_) frame_color_index_ = 0;
  }
}

void SaverWindow::OnTimerTick() {
  // The picture goes on where it stopped when the display comes back on.
  if (display_off_) return;
  // Ticks resets once it reaches Intval, which no 32-bit Intval lets it pass.
  if (ticks_ < std::numeric_limits<std::int32_t>::max()) ticks_ = ticks_ + 1;
  if (ticks_ < settings_.Intval) return;
  StartOver(false);
}

void SaverWindow::StartOver(bool width_changed) {
  ticks_ = 0;
  if (settings_.Kind == kRandomPatternKind) {
    random_.ReseedFromClock();
    pattern_ = RandomPattern();
  }
  if (settings_.Kind == kRandomPatternKind || width_changed) BuildColourTable();
  Recentre();
  canvas_.Clear();
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
  PlaceCovers();
  // The system may move the pointer onto the new screen; only a move after that is the user's.
  have_first_ = false;
  StartOver(true);
}

void SaverWindow::OnDisplayStateChange(std::int32_t state) {
  display_off_ = state == platform::kDisplayOff;
}

}  // namespace quillmere::saver
