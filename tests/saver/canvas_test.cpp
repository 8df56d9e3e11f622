#include "saver/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quillmere::saver {
namespace {

constexpr std::uint32_t kInk = 0x00ABCDEF;

struct Sheet {
  std::vector<std::uint32_t> pixels;
  Canvas canvas;
  Sheet(std::int32_t w, std::int32_t h)
      : pixels(static_cast<std::size_t>(w * h)), canvas(pixels, w, h) {}
};

bool InDisc(std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy, std::int64_t r) {
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

TEST(StampDisc, PaintsExactlyThePixelsOfTheDisc) {
  struct Case {
    std::int32_t cx, cy, radius;
  };
  const Case cases[] = {{20, 15, 0},  {20, 15, 1},  {20, 15, 5},   {0, 0, 7},     {40, 30, 7},
                        {39, 29, 20}, {-3, 10, 6},  {45, 10, 6},   {20, 15, 24},  {20, 15, 26},
                        {0, 30, 49},  {0, 30, 51},  {100, 100, 90}, {20, -1000, 1005}};
  for (const Case& c : cases) {
    Sheet sheet(41, 31);
    sheet.canvas.StampDisc(c.cx, c.cy, c.radius, kInk);
    for (std::int32_t y = 0; y < 31; ++y) {
      for (std::int32_t x = 0; x < 41; ++x) {
        const bool painted = sheet.canvas.At(x, y) == kInk;
        ASSERT_EQ(painted, InDisc(x, y, c.cx, c.cy, c.radius))
            << "disc " << c.cx << "," << c.cy << " r " << c.radius << " at " << x << "," << y;
      }
    }
  }
}

TEST(StampDisc, HostileRadiiStayCheapAndSound) {
  Sheet sheet(64, 48);
  sheet.canvas.StampDisc(10, 10, -1, kInk);
  sheet.canvas.StampDisc(10, 10, std::numeric_limits<std::int32_t>::min(), kInk);
  for (std::uint32_t p : sheet.pixels) ASSERT_EQ(p, 0u);
  sheet.canvas.StampDisc(64, 48, std::numeric_limits<std::int32_t>::max(), kInk);
  for (std::uint32_t p : sheet.pixels) ASSERT_EQ(p, kInk);
  sheet.canvas.Clear();
  for (std::uint32_t p : sheet.pixels) ASSERT_EQ(p, 0u);
}

TEST(PixelOf, MovesRedToTheHighByte) {
  EXPECT_EQ(PixelOf(Rgb(0x12, 0x34, 0x56)), 0x00123456u);
  EXPECT_EQ(PixelOf(Rgb(255, 0, 0)), 0x00FF0000u);
}

}  // namespace
}  // namespace quillmere::saver
