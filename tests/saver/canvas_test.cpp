#include "saver/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "saver/headless.h"

namespace quillmere::saver {
namespace {

// A pixel is painted exactly when dx^2 + dy^2 <= r^2, on a 41 x 31 canvas.
TEST(StampDisc, PaintsExactlyThePixelsOfTheDisc) {
  struct Row {
    std::string name;
    std::int32_t cx;
    std::int32_t cy;
    std::int32_t radius;
  };
  const Row rows[] = {
      {.name = "radius 0 is the centre pixel", .cx = 20, .cy = 15, .radius = 0},
      {.name = "cut by the right and bottom edges", .cx = 40, .cy = 30, .radius = 7},
      {.name = "centred left of the canvas", .cx = -3, .cy = 10, .radius = 6},
  };
  for (const Row& row : rows) {
    std::vector<std::uint32_t> pixels(41 * 31);
    Canvas(pixels, 41, 31).StampDisc(row.cx, row.cy, row.radius, PixelOf(Rgb(0x12, 0x34, 0x56)));
    for (std::int32_t y = 0; y < 31; ++y) {
      for (std::int32_t x = 0; x < 41; ++x) {
        const std::int32_t dx = x - row.cx;
        const std::int32_t dy = y - row.cy;
        const bool inside = dx * dx + dy * dy <= row.radius * row.radius;
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * 41 + x)], inside ? 0x00123456u : 0u)
            << row.name << " at " << x << "," << y;
      }
    }
  }
}

// The same runs are hashed from the Windows build under Wine; both must match this file.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  std::ifstream file(QUILLMERE_CANVAS_HASHES);
  ASSERT_TRUE(file) << QUILLMERE_CANVAS_HASHES;
  int runs = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    HeadlessRun run;
    startup::SettingsValues& s = run.settings;
    std::uint64_t expected = 0;
    fields >> run.width >> run.height >> run.frames >> run.seed >> s.Kind >> s.Size >> s.Speed >>
        s.Num >> s.Intval >> s.Sync >> std::hex >> expected;
    EXPECT_EQ(CanvasHash(RenderHeadless(run)), expected) << line;
    ++runs;
  }
  EXPECT_EQ(runs, 6);
}

}  // namespace
}  // namespace quillmere::saver
