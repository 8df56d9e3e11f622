#include "saver/colour_patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmere::saver {
namespace {

// Entries worked out by hand from each pattern's definition; the last entry also fixes the size.
TEST(PatternColours, EntriesFollowTheirPattern) {
  struct Row {
    std::string name;
    std::int32_t pattern;
    std::size_t index;
    Colour want;
    bool last = false;
    float width = 1024;
  };
  const Row rows[] = {
      {.name = "gold's green rises once", .pattern = 0, .index = 7, .want = Rgb(220, 200, 0)},
      {.name = "gold ends", .pattern = 0, .index = 38, .want = Rgb(250, 250, 0), .last = true},
      {.name = "olive clamps to white", .pattern = 1, .index = 0, .want = Rgb(255, 255, 255)},
      {.name = "blue-grey peaks", .pattern = 2, .index = 64, .want = Rgb(225, 225, 255)},
      {.name = "blue-grey ends", .pattern = 2, .index = 128, .want = Rgb(0, 0, 30), .last = true},
      {.name = "hue ends on red", .pattern = 3, .index = 510, .want = Rgb(255, 0, 0), .last = true},
      {.name = "hue sum short", .pattern = 3, .index = 18, .want = Rgb(255, 254, 0), .width = 220},
  };
  RandomSource random(7);
  for (const Row& row : rows) {
    const std::vector<Colour> table = PatternColours(row.pattern, row.width, random);
    ASSERT_LT(row.index, table.size()) << row.name;
    EXPECT_EQ(table[row.index], row.want) << row.name;
    EXPECT_TRUE(!row.last || table.size() == row.index + 1) << row.name;
  }
  EXPECT_TRUE(PatternColours(5, 1024, random).empty());  // no table for a pattern above 4
}

}  // namespace
}  // namespace quillmere::saver
