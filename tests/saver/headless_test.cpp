#include "saver/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

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

namespace quillmere::saver {
namespace {

// The same runs are hashed from the Windows build under Wine; both must match this file.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  std::ifstream file(QUILLMERE_CANVAS_HASHES);
  ASSERT_TRUE(file) << QUILLMERE_CANVAS_HASHES;
  std::string line;
  int runs = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    HeadlessRun run;
    std::string expected;
    fields >> run.width >> run.height >> run.frames >> run.seed >> run.settings.Kind >>
        run.settings.Size >> run.settings.Speed >> run.settings.Num >> run.settings.Intval >>
        run.settings.Sync >> expected;
    char hash[32];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(CanvasHash(RenderHeadless(run))));
    EXPECT_EQ(hash, expected) << line;
    ++runs;
  }
  EXPECT_GE(runs, 5);
}

}  // namespace
}  // namespace quillmere::saver
