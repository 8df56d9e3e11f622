#include "saver/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

#include "tests/saver/fake_saver_host.h"

namespace quillmere::saver {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(RandomBetween, StaysWithinItsBoundsAndReachesBothEnds) {
  struct Case {
    std::int32_t lo, hi, least, most;
    std::size_t values;  // distinct results in 20000 draws; 0 for too many to count
  };
  const Case cases[] = {
      {0, 359, 0, 359, 360}, {1, 2, 1, 2, 2},     {5, 10, 5, 10, 6},        {7, 7, 7, 7, 1},
      {1, 0, 1, 1, 1},       {1, -5, -4, 1, 0},   {kMax, kMax, kMax, kMax, 1}, {kMin, kMin, kMin, kMin, 1},
      {1, kMax, 1, kMax, 0}, {kMin, kMax, kMin, kMax, 0}, {1, kMin, kMin + 1, 1, 0},
  };
  testing::FixedClock clock;
  RandomSource random(99, &clock);
  for (const Case& c : cases) {
    std::set<std::int32_t> seen;
    for (int n = 0; n < 20000; ++n) seen.insert(RandomBetween(random, c.lo, c.hi));
    EXPECT_GE(*seen.begin(), c.least) << c.lo << ".." << c.hi;
    EXPECT_LE(*seen.rbegin(), c.most) << c.lo << ".." << c.hi;
    EXPECT_TRUE(c.values == 0 || seen.size() == c.values) << c.lo << ".." << c.hi;
  }
  int ones = 0;
  for (int n = 0; n < 20000; ++n) ones += RandomBetween(random, 1, 2) == 1;
  EXPECT_NEAR(ones, 10000, 400);
}

// Draws after two re-seeds from one clock reading differ, and the reading itself counts.
TEST(RandomBetween, ReseedsFromTheClockWithoutRestarting) {
  testing::FixedClock clock;
  RandomSource a(1, &clock);
  RandomSource b(1, &clock);
  const std::int32_t first = RandomBetween(a, 0, kMax - 1);
  EXPECT_NE(RandomBetween(a, 0, kMax - 1), first);
  clock.seconds = 100.25f;
  EXPECT_NE(RandomBetween(b, 0, kMax - 1), first);
}

}  // namespace
}  // namespace quillmere::saver
