#include "saver/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace quillmere::saver {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A pixel is painted exactly when dx^2 + dy^2 <= r^2; a negative radius paints nothing.
TEST(StampDisc, PaintsExactlyThePixelsOfTheDisc) {
  struct Case {
    std::int32_t cx, cy, radius;
  };
  const Case cases[] = {{20, 15, 0},   {20, 15, 1},  {20, 15, 5},   {0, 0, 7},       {40, 30, 7},
                        {39, 29, 20},  {-3, 10, 6},  {45, 10, 6},   {20, 15, 24},    {20, 15, 26},
                        {0, 30, 49},   {0, 30, 51},  {100, 100, 90}, {20, -1000, 1005}, {10, 10, -1},
                        {10, 10, kMin}, {41, 31, kMax}};
  for (const Case& c : cases) {
    std::vector<std::uint32_t> pixels(41 * 31, 7u);
    Canvas canvas(pixels, 41, 31);
    canvas.Clear();
    canvas.StampDisc(c.cx, c.cy, c.radius, 0x00ABCDEF);
    for (std::int64_t y = 0; y < 31; ++y) {
      for (std::int64_t x = 0; x < 41; ++x) {
        const std::int64_t r = c.radius, dx = x - c.cx, dy = y - c.cy;
        const bool inside = r >= 0 && dx * dx + dy * dy <= r * r;
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * 41 + x)], inside ? 0x00ABCDEFu : 0u)
            << "disc " << c.cx << "," << c.cy << " r " << c.radius << " at " << x << "," << y;
      }
    }
  }
}

TEST(PixelOf, MovesRedToTheHighByte) { EXPECT_EQ(PixelOf(Rgb(0x12, 0x34, 0x56)), 0x00123456u); }

}  // namespace
}  // namespace quillmere::saver
