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

// A pixel is painted exactly when dx^2 + dy^2 <= r^2; a negative radius paints nothing.
TEST(StampDisc, PaintsExactlyThePixelsOfTheDisc) {
  const std::int32_t cases[][3] = {
      {20, 15, 0},         {20, 15, 1},        {20, 15, 5},    {0, 0, 7},         {40, 30, 7},
      {39, 29, 20},        {-3, 10, 6},        {45, 10, 6},    {20, 15, 24},      {20, 15, 26},
      {0, 30, 49},         {0, 30, 51},        {100, 100, 90}, {20, -1000, 1005}, {10, 10, -1},
      {10, 10, INT32_MIN}, {41, 31, INT32_MAX}};
  for (auto [cx, cy, radius] : cases) {
    std::vector<std::uint32_t> pixels(41 * 31, 7u);
    Canvas canvas(pixels, 41, 31);
    canvas.Clear();
    canvas.StampDisc(cx, cy, radius, PixelOf(Rgb(0x12, 0x34, 0x56)));
    for (std::int64_t y = 0, r = radius; y < 31; ++y) {
      for (std::int64_t x = 0; x < 41; ++x) {
        const bool inside = r >= 0 && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * 41 + x)], inside ? 0x00123456u : 0u)
            << "disc " << cx << "," << cy << " r " << radius << " at " << x << "," << y;
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
