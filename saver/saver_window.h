// The full-screen saver: its window state, the crawler table, the frame, the re-steering tick
// and ending on input. The platform's window forwards its events here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "platform/saver_host.h"
#include "saver/canvas.h"
#include "saver/colour_patterns.h"
#include "saver/random.h"
#include "startup/entry.h"
#include "startup/settings.h"

namespace quillmere::saver {

struct Crawler {
  std::int32_t Heading = 0;
  std::int32_t PosX = 0;
  std::int32_t PosY = 0;
  std::int32_t ColorIndex = 0;
  bool operator==(const Crawler&) const = default;
};

// Limits that keep hostile settings from exhausting memory or the input's patience.
struct SaverLimits {
  std::int32_t largest_crawler_count = 1 << 20;
  std::uint64_t frame_budget_ms = 100;  // past this a frame looks at the queue
  std::int32_t crawlers_between_looks = 64;
};

// How the saver was started decides how it ends. Full screen ("/s") hid the cursor and set the
// running flag, so both come back, Windows 95/98 asks for the password first, and mouse moves
// count as input; started with no argument it does none of these.
struct SaverRules {
  bool restores_cursor_and_running_flag = false;
  bool asks_password_on_9x = false;
  bool mouse_moves_end = false;
};
SaverRules RulesFor(startup::Mode mode);

// Everything the saver window reaches outside itself.
struct SaverServices {
  platform::Windowing& windowing;
  platform::ScreenMetrics& screen;
  platform::SystemInfo& system;
  platform::PasswordServices& passwords;
  platform::SaverHost& host;
};

class SaverWindow {
 public:
  SaverWindow(SaverServices services, RandomSource& random, SaverRules rules,
              const startup::SettingsValues& settings = startup::Settings(),
              startup::StartState& start = startup::Start(), SaverLimits limits = {});

  // Sets the window up and runs the animation; returns only where DestroyAndEnd returns.
  void OnSaverLoad();
  // The load's steps before the animation starts.
  void PrepareSaver();
  // Runs frames until EndRequested, then destroys the window and ends.
  void RunAnimation();
  // The loop's entry: the first colour table and FrameColorIndex 0.
  void StartAnimation();
  // One frame: move and stamp every crawler, present, yield, advance the shared colour.
  void RunFrame();

  void OnTimerTick();
  void TryEndSaver();
  void OnKeyDown(std::int32_t key_code, std::int32_t shift);
  void OnDisplayMouseDown(std::int32_t button, std::int32_t shift, float x, float y);
  void OnDisplayMouseMove(std::int32_t button, std::int32_t shift, float x, float y);
  // A move on the cover of another monitor, in that cover's pixels; judged as a move on Display.
  void OnCoverMouseMove(std::size_t cover, std::int32_t button, std::int32_t shift, float x,
                        float y);
  // Another application took the activation, and with it the keyboard: that counts as input.
  void OnLoseActivation();
  // Another program asks the window to close, or the session logs off or shuts down.
  void OnCloseRequest();
  // The session was locked, connected or disconnected (platform::kWts* and others).
  void OnSessionChange(std::int32_t reason);
  // The monitors or the primary's size changed: the saver lays itself out again and starts over.
  void OnDisplayChange();
  // The console display went off, on or dimmed (platform::kDisplay*).
  void OnDisplayStateChange(std::int32_t state);

  // BuildColourTable for the current Pattern; with Sync 1 also deals each crawler a ColorIndex.
  void BuildColourTable();

  // Crawlers 1..Num, without the table's unused index 0.
  std::span<const Crawler> Crawlers() const {
    return std::span(crawlers_).subspan(crawlers_.empty() ? 0 : 1);
  }
  std::span<const Colour> ColourTable() const { return colours_; }
  const Canvas& TheCanvas() const { return canvas_; }
  std::int32_t ScreenW() const { return screen_w_; }
  std::int32_t ScreenH() const { return screen_h_; }
  bool EndRequested() const { return end_requested_; }
  std::int32_t LastColor() const { return last_color_; }
  std::int32_t Ticks() const { return ticks_; }
  std::int32_t Pattern() const { return pattern_; }

 private:
  std::int32_t CrawlerCount() const;
  std::int32_t RandomPattern();
  // Sizes the window and a new canvas to the primary screen; false, with the saver ended,
  // when they cannot be made.
  bool FitScreen();
  void PlaceCovers();
  // Crawlers back at the centre on a black canvas; a new pattern for Kind 5, and a new table
  // for it or when the width changed.
  void StartOver(bool width_changed);
  // Gives back what the start changed (the running flag and the cursor) and asks the loop to end.
  void EndSaver();
  void EndOnce();
  void Recentre();
  void MoveAndStamp(Crawler& crawler);

  SaverServices services_;
  RandomSource& random_;
  SaverRules rules_;
  const startup::SettingsValues& settings_;
  startup::StartState& start_;
  SaverLimits limits_;

  std::int32_t screen_w_ = 0;
  std::int32_t screen_h_ = 0;
  bool end_requested_ = false;
  bool display_off_ = false;
  std::int32_t last_color_ = 0;
  std::int32_t frame_color_index_ = 0;
  Colour frame_color_ = 0;
  std::int32_t ticks_ = 0;
  std::int32_t pattern_ = 0;

  std::vector<Crawler> crawlers_;
  std::vector<Colour> colours_;
  std::vector<platform::Rect> covers_;
  Canvas canvas_;

  // The reference position of mouse moves.
  float first_x_ = 0;
  float first_y_ = 0;
  bool have_first_ = false;
};

}  // namespace quillmere::saver
