#include "saver/scene.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "saver/crawler_step.h"
#include "startup/numbers.h"

namespace quillmere::saver {
namespace {

constexpr double kDegreesToRadians = 0.017453292519943;
constexpr std::int32_t kFullTurn = 360;
using startup::kRandomPatternKind;
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

}  // namespace

std::int32_t WrapPosition(std::int64_t position, std::int32_t extent) {
  if (position < 0) position = extent;
  if (position > extent) position = 0;
  return static_cast<std::int32_t>(position);
}

std::int32_t TurnHeading(std::int32_t heading, std::int32_t side, std::int32_t turn) {
  // One correction suffices: a turn is at most ten degrees from a heading within 0..359.
  heading = side == kTurn.clockwise ? heading + turn : heading - turn;
  if (heading < 0) heading += kFullTurn;
  if (heading > kFullTurn - 1) heading -= kFullTurn;
  return heading;
}

Move StepAlong(std::int32_t heading, std::int32_t step_length) {
  Direction d;
  if (heading >= 0 && heading < kFullTurn) {
    d = Directions()[static_cast<std::size_t>(heading)];
  } else {
    const double angle = heading * kDegreesToRadians;
    d = {std::cos(angle), std::sin(angle)};
  }
  return {FloorToInt64(d.cos * step_length), FloorToInt64(d.sin * step_length)};
}

Scene::Scene(std::int32_t screen_w, std::int32_t screen_h, Canvas canvas,
             std::optional<RandomSource> own_random)
    : screen_w_(screen_w), screen_h_(screen_h), canvas_(canvas), own_random_(own_random) {}

void Scene::Resize(std::int32_t screen_w, std::int32_t screen_h, Canvas canvas) {
  screen_w_ = screen_w;
  screen_h_ = screen_h;
  canvas_ = canvas;
}

std::int32_t Scene::CrawlerCount() const {
  return crawlers_.empty() ? 0 : static_cast<std::int32_t>(crawlers_.size() - 1);
}

std::span<const Crawler> Scene::Crawlers() const {
  return std::span(crawlers_).subspan(crawlers_.empty() ? 0 : 1);
}

std::int32_t Scene::RandomPattern(RandomSource& random) {
  const double r = random.NextUniform();
  return std::min(static_cast<std::int32_t>(std::floor(r * kPatternCount)), kPatternCount - 1);
}

void Scene::Recentre(RandomSource& random) {
  const std::int32_t cx = Centre(screen_w_);
  const std::int32_t cy = Centre(screen_h_);
  const std::int32_t count = CrawlerCount();
  for (std::int32_t i = 1; i <= count; ++i) {
    Crawler& c = crawlers_[static_cast<std::size_t>(i)];
    c.Heading = RandomBetween(random, 0, kFullTurn - 1);
    // A draw that can only give the centre still advances the sequence the recorded canvases need.
    c.PosX = RandomBetween(random, cx, cx);
    c.PosY = RandomBetween(random, cy, cy);
  }
}

void Scene::Populate(const startup::SettingsValues& settings, std::int32_t largest,
                     RandomSource& given) {
  RandomSource& random = Random(given);
  // No table for Num below 1, and never more crawlers than memory and a frame can bear.
  crawlers_.clear();
  if (settings.Num >= 1) {
    const std::int32_t count = std::min(settings.Num, largest);
    crawlers_.assign(static_cast<std::size_t>(count) + 1, Crawler{});
  }
  Recentre(random);
  if (settings.Kind == kRandomPatternKind) {
    pattern_ = RandomPattern(random);
  } else {
    // A Kind outside the chooser's range paints with the gold table rather than none at all.
    pattern_ = settings.Kind >= 0 && settings.Kind < kPatternCount ? settings.Kind : 0;
  }
}

void Scene::BuildColourTable(std::int32_t sync, RandomSource& given) {
  RandomSource& random = Random(given);
  std::vector<Colour> table = PatternColours(pattern_, static_cast<float>(screen_w_), random);
  if (!table.empty()) {
    colours_ = std::move(table);
    last_color_ = static_cast<std::int32_t>(colours_.size() - 1);
  }
  if (sync == kSyncStaggered) {
    const std::int32_t count = CrawlerCount();
    for (std::int32_t i = 1; i <= count; ++i) {
      crawlers_[static_cast<std::size_t>(i)].ColorIndex = RandomBetween(random, 0, last_color_);
    }
  }
}

void Scene::Resteer(const startup::SettingsValues& settings, bool width_changed,
                    RandomSource& given) {
  RandomSource& random = Random(given);
  if (settings.Kind == kRandomPatternKind) {
    random.ReseedFromClock();
    pattern_ = RandomPattern(random);
  }
  if (settings.Kind == kRandomPatternKind || width_changed) BuildColourTable(settings.Sync, random);
  Recentre(random);
  canvas_.Clear();
}

void Scene::TakeFrameColour(std::int32_t sync) {
  if (sync != kSyncShared) return;
  const bool inside =
      frame_color_index_ >= 0 && frame_color_index_ <= last_color_ && !colours_.empty();
  frame_color_ = inside ? colours_[static_cast<std::size_t>(frame_color_index_)] : 0;
}

void Scene::MoveAndStamp(std::int32_t first, std::int32_t last,
                         const startup::SettingsValues& settings, RandomSource& given) {
  // Moving draws from the random source and reads no pixel, so the discs may follow the moves.
  std::array<std::uint32_t, kGroup> pixels{};
  for (std::int32_t i = first; i <= last; ++i) {
    pixels[static_cast<std::size_t>(i - first)] = PixelOf(Advance(i, settings, given));
  }
  for (std::int32_t i = first; i <= last; ++i) {
    const Crawler& c = crawlers_[static_cast<std::size_t>(i)];
    canvas_.StampDisc(c.PosX, c.PosY, settings.Size, pixels[static_cast<std::size_t>(i - first)]);
  }
}

Colour Scene::Advance(std::int32_t i, const startup::SettingsValues& settings,
                      RandomSource& given) {
  RandomSource& random = Random(given);
  Crawler& c = crawlers_[static_cast<std::size_t>(i)];
  const std::int32_t side = RandomBetween(random, 1, 2);
  const std::int32_t turn = RandomBetween(random, kTurn.least, kTurn.most);
  c.Heading = TurnHeading(c.Heading, side, turn);

  const std::int32_t step_len = RandomBetween(random, 1, settings.Speed);
  const Move move = StepAlong(c.Heading, step_len);
  c.PosX = WrapPosition(move.dx + c.PosX, screen_w_);
  c.PosY = WrapPosition(move.dy + c.PosY, screen_h_);

  Colour colour = frame_color_;
  if (settings.Sync != kSyncShared) {
    // An index a smaller rebuild left outside the table starts the table over.
    if (c.ColorIndex < 0 || c.ColorIndex > last_color_) c.ColorIndex = 0;
    colour = colours_.empty() ? 0 : colours_[static_cast<std::size_t>(c.ColorIndex)];
    c.ColorIndex = c.ColorIndex + 1;
    if (c.ColorIndex > last_color_) c.ColorIndex = 0;
  }
  return colour;
}

void Scene::AdvanceFrameColour(std::int32_t sync) {
  if (sync != kSyncShared) return;
  frame_color_index_ = frame_color_index_ + 1;
  if (frame_color_index_ > last_color_) frame_color_index_ = 0;
}

}  // namespace quillmere::saver
