#include "saver/scene.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "saver/crawler_step.h"

namespace quillmere::saver {
namespace {

// Worked out by hand: cos and sin of the heading times the step, each floored.
TEST(CrawlerStep, TurnsMovesAndWrapsAsWorkedOutByHand) {
  struct Turn {
    std::string name;
    std::int32_t heading, side, turn, want;
  };
  const Turn turns[] = {
      {.name = "anticlockwise past 0", .heading = 3, .side = 2, .turn = 8, .want = 355},
      {.name = "clockwise past 359", .heading = 355, .side = 1, .turn = 8, .want = 3},
      {.name = "anticlockwise to 359", .heading = 4, .side = 2, .turn = 5, .want = 359},
  };
  for (const Turn& t : turns) EXPECT_EQ(TurnHeading(t.heading, t.side, t.turn), t.want) << t.name;
  struct Step {
    std::string name;
    std::int32_t heading, length;
    Move want;
  };
  const Step steps[] = {
      {.name = "down", .heading = 90, .length = 1, .want = {0, 1}},
      {.name = "left, not down", .heading = 135, .length = 1, .want = {-1, 0}},
      {.name = "a tiny negative cosine is -1", .heading = 270, .length = 1, .want = {-1, -1}},
      {.name = "3.54 floors to 3", .heading = 45, .length = 5, .want = {3, 3}},
      {.name = "-3.54 floors to -4", .heading = 225, .length = 5, .want = {-4, -4}},
  };
  for (const Step& s : steps) EXPECT_EQ(StepAlong(s.heading, s.length), s.want) << s.name;
  struct Wrap {
    std::string name;
    std::int64_t position;
    std::int32_t want;
  };
  const Wrap wraps[] = {
      {.name = "past ScreenW to 0", .position = 101, .want = 0},
      {.name = "ScreenW itself stays", .position = 100, .want = 100},
      {.name = "below 0 to ScreenW", .position = -1, .want = 100},
      {.name = "0 stays", .position = 0, .want = 0},
  };
  for (const Wrap& w : wraps) EXPECT_EQ(WrapPosition(w.position, 100), w.want) << w.name;
}

// On a screen too wide to wrap, each turn and length seen.
TEST(MoveAndStamp, TurnsFiveToTenDegreesEitherWayAndStepsOneToSpeed) {
  for (const std::int32_t speed : {1, 10}) {
    const std::int32_t far = 1 << 24;
    Scene scene(far, far, Canvas());
    RandomSource random(11);
    const startup::SettingsValues settings = {.Kind = 0, .Size = 1, .Speed = speed, .Num = 1};
    scene.Populate(settings, 1, random);
    std::set<std::int32_t> turns;
    std::set<std::int32_t> lengths;
    for (int step = 0; step < 3000; ++step) {
      const Crawler before = scene.Crawlers()[0];
      scene.MoveAndStamp(1, 1, settings, random);
      const Crawler after = scene.Crawlers()[0];
      turns.insert((after.Heading - before.Heading + 540) % 360 - 180);
      const Move move = {after.PosX - before.PosX, after.PosY - before.PosY};
      std::vector<std::int32_t> fits;
      for (std::int32_t length = 0; length <= speed + 1; ++length) {
        if (StepAlong(after.Heading, length) == move) fits.push_back(length);
      }
      ASSERT_FALSE(fits.empty()) << "speed " << speed << ", step " << step;
      if (fits.size() == 1) lengths.insert(fits.front());
    }
    EXPECT_EQ(turns, (std::set<std::int32_t>{-10, -9, -8, -7, -6, -5, 5, 6, 7, 8, 9, 10}));
    std::set<std::int32_t> all_lengths;
    for (std::int32_t length = 1; length <= speed; ++length) all_lengths.insert(length);
    EXPECT_EQ(lengths, all_lengths) << "speed " << speed;
  }
}

// The 5 x 5 canvas's rows from the top, '#' where the disc lies (sqrt 3 floors to 1).
TEST(StampDisc, CoversThePixelsWithinItsRadiusClippedAtTheEdges) {
  struct Row {
    std::int32_t cx, cy, radius;
    std::string want;
  };
  const Row rows[] = {
      {.cx = 3, .cy = 2, .radius = 2, .want = "...#./..###/.####/..###/...#."},
      {.cx = 2, .cy = 3, .radius = 2, .want = "...../..#../.###./#####/.###."},
      {.cx = 0, .cy = 0, .radius = 2, .want = "###../##.../#..../...../....."},
  };
  for (const Row& row : rows) {
    std::vector<std::uint32_t> pixels(25, 0);
    Canvas canvas(pixels, 5, 5);
    canvas.StampDisc(row.cx, row.cy, row.radius, 1);
    std::string drawn;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      drawn += std::string(i % 5 == 0 && i > 0 ? "/" : "") + (pixels[i] != 0 ? '#' : '.');
    }
    EXPECT_EQ(drawn, row.want) << "radius " << row.radius << " at " << row.cx << "," << row.cy;
  }
}

// The row dy from the centre reaches floor(sqrt(400 - dy^2)) to each side, with no gap.
TEST(StampDisc, ARadiusOf20ReachesTheColumnsOfItsCircle) {
  const std::vector<std::size_t> want = {20, 19, 19, 19, 19, 19, 19, 18, 18, 17, 17,
                                         16, 16, 15, 14, 13, 12, 10, 8,  6,  0};
  std::vector<std::uint32_t> pixels(41 * 41, 0);
  Canvas canvas(pixels, 41, 41);
  canvas.StampDisc(20, 20, 20, 1);
  std::vector<std::uint32_t> disc(41 * 41, 0);
  const auto from_centre = [](std::size_t v) { return v > 20 ? v - 20 : 20 - v; };
  for (std::size_t i = 0; i < disc.size(); ++i)
    disc[i] = from_centre(i % 41) <= want[from_centre(i / 41)];
  EXPECT_EQ(pixels, disc);
}

}  // namespace
}  // namespace quillmere::saver
