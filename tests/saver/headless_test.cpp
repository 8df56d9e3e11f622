#include "saver/headless.h"

#include <gtest/gtest.h>

#include <set>

#include "saver/canvas.h"
#include "saver/colour_patterns.h"

namespace quillmere::saver {
namespace {

HeadlessRun SmallRun(std::int32_t kind, std::uint64_t seed) {
  HeadlessRun run;
  run.settings = {kind, 5, 5, 100, 10, 0};
  run.width = 320;
  run.height = 200;
  run.frames = 50;
  run.seed = seed;
  return run;
}

TEST(RenderHeadless, OneSeedGivesOnePicture) {
  const auto first = RenderHeadless(SmallRun(0, 11));
  EXPECT_EQ(CanvasHash(first), CanvasHash(RenderHeadless(SmallRun(0, 11))));
  EXPECT_NE(CanvasHash(first), CanvasHash(RenderHeadless(SmallRun(0, 12))));
}

TEST(RenderHeadless, PaintsOnlyThePatternsColours) {
  for (std::int32_t kind : {0, 1, 2, 3}) {
    RandomSource random(1);
    std::set<std::uint32_t> allowed = {0u};
    for (Colour c : PatternColours(kind, 320, random)) allowed.insert(PixelOf(c));
    std::size_t painted = 0;
    for (std::uint32_t pixel : RenderHeadless(SmallRun(kind, 3))) {
      ASSERT_TRUE(allowed.count(pixel)) << "pattern " << kind;
      painted += pixel != 0;
    }
    EXPECT_GT(painted, 1000u) << "pattern " << kind;
  }
}

}  // namespace
}  // namespace quillmere::saver
