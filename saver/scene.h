// One monitor's picture: its crawlers, its colour table and its canvas, moved and painted by the
// rules every monitor shares.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "saver/canvas.h"
#include "saver/colour_patterns.h"
#include "saver/random.h"
#include "startup/settings.h"

namespace quillmere::saver {

struct Crawler {
  std::int32_t Heading = 0;
  std::int32_t PosX = 0;
  std::int32_t PosY = 0;
  std::int32_t ColorIndex = 0;
  bool operator==(const Crawler&) const = default;
};

class Scene {
 public:
  Scene() = default;
  // A scene ScreenW x ScreenH pixels on `canvas`; one with `own_random` draws from that source
  // instead of the one its operations are given.
  Scene(std::int32_t screen_w, std::int32_t screen_h, Canvas canvas,
        std::optional<RandomSource> own_random = std::nullopt);

  // A new canvas and size, as after a display change; Resteer then fits the picture to it.
  void Resize(std::int32_t screen_w, std::int32_t screen_h, Canvas canvas);
  // The crawler table for Num (never above `largest`) at the centre, and the first Pattern.
  void Populate(const startup::SettingsValues& settings, std::int32_t largest,
                RandomSource& random);
  // BuildColourTable for the current Pattern; with Sync 1 also deals each crawler a ColorIndex.
  void BuildColourTable(std::int32_t sync, RandomSource& random);
  // Crawlers back at the centre on a black canvas; a new pattern for Kind 5, and a new table for
  // it or when the width changed.
  void Resteer(const startup::SettingsValues& settings, bool width_changed, RandomSource& random);
  // The frame's first step: the shared colour of the frame, when Sync is 0.
  void TakeFrameColour(std::int32_t sync);
  // Turns, steps and wraps crawlers first..last (within 1..CrawlerCount(), at most kGroup of
  // them), then stamps their discs in the same order: the picture of one crawler at a time, with
  // the discs' rows written together while the canvas is warm.
  static constexpr std::int32_t kGroup = 16;
  void MoveAndStamp(std::int32_t first, std::int32_t last, const startup::SettingsValues& settings,
                    RandomSource& random);
  // The frame's last step, after the yield: the shared colour moves on, when Sync is 0.
  void AdvanceFrameColour(std::int32_t sync);

  std::int32_t CrawlerCount() const;
  // Crawlers 1..Num, without the table's unused index 0.
  std::span<const Crawler> Crawlers() const;
  std::span<const Colour> ColourTable() const { return colours_; }
  const Canvas& canvas() const { return canvas_; }
  // The canvas's changes have reached the screen.
  void ForgetChanges() { canvas_.ForgetChanges(); }
  std::int32_t ScreenW() const { return screen_w_; }
  std::int32_t ScreenH() const { return screen_h_; }
  std::int32_t LastColor() const { return last_color_; }
  std::int32_t Pattern() const { return pattern_; }

 private:
  // Turns, steps and wraps crawler i; the colour its disc takes.
  Colour Advance(std::int32_t i, const startup::SettingsValues& settings, RandomSource& random);
  RandomSource& Random(RandomSource& given) { return own_random_ ? *own_random_ : given; }
  std::int32_t RandomPattern(RandomSource& random);
  void Recentre(RandomSource& random);

  std::int32_t screen_w_ = 0;
  std::int32_t screen_h_ = 0;
  Canvas canvas_;
  std::optional<RandomSource> own_random_;
  std::vector<Crawler> crawlers_;
  std::vector<Colour> colours_;
  std::int32_t last_color_ = 0;
  std::int32_t frame_color_index_ = 0;
  Colour frame_color_ = 0;
  std::int32_t pattern_ = 0;
};

}  // namespace quillmere::saver
