// The full-screen saver: a scene on every monitor, the frame over all of them, the re-steering
// tick and ending on input. The platform's windows forward their events here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/platform.h"
#include "platform/saver_host.h"
#include "saver/frame_pacer.h"
#include "saver/random.h"
#include "saver/scene.h"
#include "startup/entry.h"
#include "startup/settings.h"

namespace quillmere::saver {

// Limits that keep hostile settings from exhausting memory or the input's patience.
struct SaverLimits {
  std::int32_t largest_crawler_count = 1 << 20;
  std::uint64_t frame_budget_us = 100'000;  // past this a frame looks at the queue
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
  // One frame: move and stamp every crawler, present what changed, yield (until the frame's time
  // when paced), advance the shared colour.
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
  // The monitors or the primary's size changed: the saver lays itself out again and re-steers.
  void OnDisplayChange();
  // A source told that its monitor went off, on or dimmed (platform::kMonitor*); only the source
  // the saver listens to counts.
  void OnMonitorPowerChange(platform::PowerSource source, std::int32_t state);
  // The system asks for the part `invalid` of the window, or of cover number `cover`, again.
  void OnPaint(const platform::Rect& invalid);
  void OnCoverPaint(std::size_t cover, const platform::Rect& invalid);
  // The energy saver (battery saver) went on or off.
  void OnEnergySaverChange(bool on);

  // The primary monitor's scene, which draws from the saver's own random source.
  const Scene& Primary() const { return primary_; }
  // The scenes of the other monitors that show crawlers, in the order of their covers.
  std::span<const Scene> Others() const { return others_; }
  bool EndRequested() const { return end_requested_; }
  std::int32_t Ticks() const { return ticks_; }

 private:
  // Sizes the window and a new canvas to the primary screen; false, with the saver ended,
  // when they cannot be made.
  bool FitScreen();
  // A cover on every other monitor: with a scene of its own, or black when the settings say so
  // or its canvas cannot be made.
  void PlaceCovers();
  // Paces the frames as the settings, the energy saver and the monitor's refresh rate ask.
  void PaceFrames();
  // Copies what the frame changed on every canvas to its window.
  void Present();
  // The loop's yield: what is queued, then, when paced, what comes until the next frame's time.
  void YieldBetweenFrames();
  // Paints the scene's crawlers; false when the frame gave way to waiting input first.
  bool PaintScene(Scene& scene, std::uint64_t started, std::int64_t& crawlers_painted);
  // Re-steers every scene: crawlers at the centre, black canvases, new patterns for Kind 5.
  void Resteer();
  // Gives back what the start changed (the running flag and the cursor) and asks the loop to end.
  void EndSaver();
  void EndOnce();

  SaverServices services_;
  RandomSource& random_;
  SaverRules rules_;
  const startup::SettingsValues& settings_;
  startup::StartState& start_;
  SaverLimits limits_;

  bool end_requested_ = false;
  bool monitor_off_ = false;
  std::optional<platform::PowerSource> power_source_;  // the one whose state counts
  std::int32_t ticks_ = 0;
  Scene primary_;
  std::vector<Scene> others_;
  std::vector<std::size_t> other_covers_;  // the cover each of others_ shows on
  std::vector<platform::Rect> covers_;
  bool energy_saver_ = false;
  std::int32_t refresh_rate_ = 0;
  FramePacer pacer_;

  // The reference position of mouse moves.
  float first_x_ = 0;
  float first_y_ = 0;
  bool have_first_ = false;
};

}  // namespace quillmere::saver
