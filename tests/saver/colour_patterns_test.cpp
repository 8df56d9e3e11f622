#include "saver/colour_patterns.h"

#include <gtest/gtest.h>

namespace quillmere::saver {
namespace {

std::vector<Colour> Table(std::int32_t pattern, float width) {
  RandomSource random(7);
  return PatternColours(pattern, width, random);
}

std::int32_t LastColorOf(std::int32_t pattern, float width) {
  return static_cast<std::int32_t>(Table(pattern, width).size()) - 1;
}

TEST(PatternColours, LastColorFollowsTheWidth) {
  struct Case {
    std::int32_t pattern;
    float width;
    std::int32_t last_color;
  };
  const Case cases[] = {
      {0, 1024, 38}, {0, 1280, 38}, {0, 20, 38},   {1, 1024, 128}, {1, 1280, 160},
      {2, 1024, 128}, {2, 1280, 160}, {3, 1024, 510}, {3, 1025, 510}, {3, 1280, 636},
      {3, 215, 108}, {3, 226, 108},  {4, 1024, 256}, {4, 1280, 320}, {1, 1365, 170},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LastColorOf(c.pattern, c.width), c.last_color) << c.pattern << " " << c.width;
  }
}

TEST(PatternColours, NoTableOutsideThePatterns) {
  for (std::int32_t pattern : {-1, 5, 6, 1 << 30}) EXPECT_TRUE(Table(pattern, 1024).empty());
}

TEST(PatternColours, GoldTableIsFixedAndSymmetric) {
  const std::vector<Colour> gold = Table(0, 1024);
  ASSERT_EQ(gold.size(), 39u);
  EXPECT_EQ(gold[0], Rgb(250, 250, 0));
  EXPECT_EQ(gold[38], Rgb(250, 250, 0));
  EXPECT_EQ(gold[6], Rgb(230, 190, 0));
  EXPECT_EQ(gold[7], Rgb(220, 200, 0));
  EXPECT_EQ(gold[19], Rgb(160, 80, 0));
  for (std::size_t i = 0; i < gold.size(); ++i) EXPECT_EQ(gold[i], gold[38 - i]) << i;
}

TEST(PatternColours, GradientsStartAndEndAsDescribed) {
  const std::vector<Colour> olive = Table(1, 1024);
  EXPECT_EQ(olive[0], Rgb(255, 255, 255));
  for (Colour c : olive) {
    const std::int32_t red = c & 0xFF, green = (c >> 8) & 0xFF, blue = c >> 16;
    EXPECT_EQ(red, green);
    EXPECT_GE(red, 87);
    EXPECT_GE(blue, 65);
  }
  const std::vector<Colour> blue = Table(2, 1024);
  EXPECT_EQ(blue.front(), Rgb(0, 0, 30));
  EXPECT_EQ(blue.back(), Rgb(0, 0, 30));
  EXPECT_EQ(blue[64], Rgb(225, 225, 255));
}

TEST(PatternColours, HueWheelSegmentEnds) {
  struct Case {
    float width;
    std::size_t index;
    Colour colour;
  };
  const Case cases[] = {
      {1024, 0, Rgb(255, 0, 0)},    {1024, 1, Rgb(255, 3, 0)},    {1024, 85, Rgb(255, 255, 0)},
      {1024, 170, Rgb(0, 255, 0)},  {1024, 255, Rgb(0, 255, 255)}, {1024, 340, Rgb(0, 0, 255)},
      {1024, 425, Rgb(255, 0, 255)}, {1024, 510, Rgb(255, 0, 0)},  {215, 18, Rgb(255, 254, 0)},
      {220, 18, Rgb(255, 254, 0)},  {226, 36, Rgb(1, 255, 0)},    {226, 108, Rgb(255, 0, 1)},
  };
  for (const Case& c : cases) {
    const std::vector<Colour> wheel = Table(3, c.width);
    ASSERT_LT(c.index, wheel.size());
    EXPECT_EQ(wheel[c.index], c.colour) << c.width << " entry " << c.index;
  }
}

TEST(PatternColours, HueWheelOfEighteenEndsItsSegmentsAt254) {
  for (int width = 215; width <= 226; ++width) {
    const std::vector<Colour> wheel = Table(3, static_cast<float>(width));
    ASSERT_EQ(wheel.size(), 109u) << width;
    EXPECT_EQ(wheel[18], Rgb(255, 254, 0)) << width;
    EXPECT_EQ(wheel[54], Rgb(0, 255, 254)) << width;
    EXPECT_EQ(wheel[108], Rgb(255, 0, 1)) << width;
  }
}

TEST(PatternColours, RandomColoursDifferWithinOneClockReading) {
  const std::vector<Colour> random = Table(4, 1024);
  int repeats = 0;
  for (std::size_t i = 1; i < random.size(); ++i) repeats += random[i] == random[i - 1];
  EXPECT_EQ(repeats, 0);
  for (Colour c : random) EXPECT_EQ(c & ~0xFFFFFF, 0);
}

TEST(PatternColours, NarrowWindowsStillGiveATable) {
  for (std::int32_t pattern = 0; pattern < kPatternCount; ++pattern) {
    for (float width : {0.0f, 1.0f, 11.0f, -5.0f}) EXPECT_FALSE(Table(pattern, width).empty());
  }
}

TEST(Rgb, ClampsComponentsAbove255) {
  EXPECT_EQ(Rgb(300, 0, 0), 255);
  EXPECT_EQ(Rgb(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(Rgb(87 + 200, 87 + 200, 65 + 200), 0xFFFFFF);
}

}  // namespace
}  // namespace quillmere::saver
