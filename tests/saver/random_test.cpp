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

TEST(RandomBetween, StaysWithinItsBounds) {
  struct Case {
    std::int32_t lo, hi, least, most;
  };
  const Case cases[] = {
      {0, 359, 0, 359},    {1, 2, 1, 2},         {5, 10, 5, 10},         {7, 7, 7, 7},
      {1, 0, 1, 1},        {1, -5, -4, 1},       {1, kMax, 1, kMax},     {kMin, kMax, kMin, kMax},
      {kMax, kMax, kMax, kMax}, {kMin, kMin, kMin, kMin}, {1, kMin, kMin + 1, 1},
  };
  testing::FixedClock clock;
  RandomSource random(99, &clock);
  for (const Case& c : cases) {
    for (int n = 0; n < 20000; ++n) {
      const std::int32_t value = RandomBetween(random, c.lo, c.hi);
      ASSERT_GE(value, c.least) << c.lo << ".." << c.hi;
      ASSERT_LE(value, c.most) << c.lo << ".." << c.hi;
    }
  }
}

TEST(RandomBetween, ReachesBothEndsEvenly) {
  testing::FixedClock clock;
  RandomSource random(5, &clock);
  std::set<std::int32_t> seen;
  int ones = 0;
  for (int n = 0; n < 100000; ++n) {
    seen.insert(RandomBetween(random, 0, 359));
    ones += RandomBetween(random, 1, 2) == 1;
  }
  EXPECT_EQ(seen.size(), 360u);
  EXPECT_NEAR(ones, 50000, 1500);
}

TEST(RandomSource, ReseedingWithOneReadingNeverRepeatsADraw) {
  RandomSource a(1);
  RandomSource b(1);
  a.Reseed(100.5f);
  const float first = a.NextUniform();
  a.Reseed(100.5f);
  EXPECT_NE(a.NextUniform(), first);
  // The reading is mixed in, so another reading changes what follows.
  b.Reseed(100.25f);
  EXPECT_NE(b.NextUniform(), first);
}

TEST(RandomSource, UniformValuesLieInTheUnitInterval) {
  RandomSource random(0);
  double sum = 0;
  for (int n = 0; n < 100000; ++n) {
    const float r = random.NextUniform();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    sum += r;
  }
  EXPECT_NEAR(sum / 100000, 0.5, 0.01);
}

}  // namespace
}  // namespace quillmere::saver
