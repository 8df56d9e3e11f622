#include "saver/colour_patterns.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace quillmere::saver {
namespace {

std::vector<Colour> Table(std::int32_t pattern, float width) {
  RandomSource random(7);
  return PatternColours(pattern, width, random);
}

// Entries worked out by hand from the gradients' and the hue wheel's formulas.
TEST(PatternColours, TablesHoldTheWorkedOutEntries) {
  using Entries = std::vector<std::pair<std::size_t, Colour>>;
  struct Case {
    std::int32_t pattern;
    float width;
    int last_color;
    Entries entries;
  };  // last_color -1: no table
  const Case cases[] = {
      {1,
       1024,
       128,
       {{0, Rgb(255, 255, 255)},
        {7, Rgb(255, 255, 252)},
        {10, Rgb(239, 239, 217)},
        {59, Rgb(113, 113, 91)},
        {64, Rgb(199, 199, 177)},
        {128, Rgb(198, 198, 176)}}},
      {1, 800, 100, {{8, Rgb(236, 236, 214)}, {47, Rgb(134, 134, 112)}, {54, Rgb(255, 255, 246)}}},
      {2,
       1024,
       128,
       {{0, Rgb(0, 0, 30)},
        {1, Rgb(6, 6, 36)},
        {64, Rgb(225, 225, 255)},
        {103, Rgb(129, 129, 159)},
        {127, Rgb(5, 5, 35)},
        {128, Rgb(0, 0, 30)}}},
      {2, 800, 100, {{37, Rgb(207, 207, 237)}, {50, Rgb(225, 225, 255)}, {82, Rgb(120, 120, 150)}}},
      {3,
       1024,
       510,
       {{0, Rgb(255, 0, 0)},
        {1, Rgb(255, 3, 0)},
        {84, Rgb(255, 252, 0)},
        {85, Rgb(255, 255, 0)},
        {86, Rgb(252, 255, 0)},
        {170, Rgb(0, 255, 0)},
        {255, Rgb(0, 255, 255)},
        {340, Rgb(0, 0, 255)},
        {425, Rgb(255, 0, 255)},
        {510, Rgb(255, 0, 0)}}},
      {3,
       800,
       396,
       {{65, Rgb(255, 251, 0)},
        {67, Rgb(252, 255, 0)},
        {132, Rgb(0, 255, 0)},
        {198, Rgb(0, 255, 255)},
        {264, Rgb(0, 0, 255)},
        {330, Rgb(255, 0, 255)},
        {396, Rgb(255, 0, 0)}}},
      // n = 18: the running sum ends just below 255, so every segment ends on 254.
      {3,
       220,
       108,
       {{1, Rgb(255, 14, 0)},
        {18, Rgb(255, 254, 0)},
        {19, Rgb(241, 255, 0)},
        {36, Rgb(1, 255, 0)},
        {54, Rgb(0, 255, 254)},
        {72, Rgb(0, 1, 255)},
        {90, Rgb(254, 0, 255)},
        {108, Rgb(255, 0, 1)}}},
      {3, 215, 108, {{18, Rgb(255, 254, 0)}}},
      {3, 226, 108, {{108, Rgb(255, 0, 1)}}},
      {3, 1025, 510, {}},
      {3, 1280, 636, {}},
      {1, 1280, 160, {}},
      {2, 1365, 170, {}},
      {4, 1024, 256, {}},
      {4, 1280, 320, {}},
      {0, 20, 38, {}},
      {-1, 1024, -1, {}},
      {5, 1024, -1, {}},
      {1 << 30, 1024, -1, {}},
      {1, 0, 0, {}},
      {2, 0, 0, {}},
      {3, 0, 0, {}},
      {4, -5, 0, {}},
      {3, 11, 6, {}}};
  for (const Case& c : cases) {
    const std::vector<Colour> table = Table(c.pattern, c.width);
    ASSERT_EQ(static_cast<int>(table.size()) - 1, c.last_color)
        << "pattern " << c.pattern << " width " << c.width;
    for (auto [index, colour] : c.entries)
      EXPECT_EQ(table[index], colour)
          << "pattern " << c.pattern << " width " << c.width << " entry " << index;
  }
}

TEST(PatternColours, GoldTableIsFixedAndMirrored) {
  const std::pair<std::int32_t, std::int32_t> half[20] = {
      {250, 250}, {250, 240}, {250, 230}, {250, 220}, {250, 210}, {240, 200}, {230, 190},
      {220, 200}, {210, 190}, {200, 180}, {190, 170}, {190, 160}, {190, 150}, {180, 140},
      {180, 130}, {170, 120}, {170, 110}, {170, 100}, {160, 90},  {160, 80}};
  const std::vector<Colour> gold = Table(0, 1024);
  ASSERT_EQ(gold.size(), 39u);
  for (std::size_t i = 0; i < 20; ++i)
    EXPECT_EQ(std::pair(gold[i], gold[38 - i]),
              std::pair(Rgb(half[i].first, half[i].second, 0), gold[i]))
        << i;
}

// Built within one clock reading, the random entries still differ, in every component.
TEST(PatternColours, RandomColoursDifferWithinOneClockReading) {
  const std::vector<Colour> random = Table(4, 1024);
  std::set<Colour> entries(random.begin(), random.end()), reds, greens, blues;
  for (Colour c : random) reds.insert(c & 0xFF), greens.insert(c & 0xFF00), blues.insert(c >> 16);
  EXPECT_GT(entries.size(), 250u);
  EXPECT_GT(std::min({reds.size(), greens.size(), blues.size()}), 120u);
  EXPECT_EQ(std::max({*reds.rbegin(), *greens.rbegin() >> 8, *blues.rbegin()}),
            255);  // 256 x r reaches 255
}

}  // namespace
}  // namespace quillmere::saver
