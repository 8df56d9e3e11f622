#include "startup/platform_helpers.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using testing::FakePlatform;

TEST(IsWindowsNT, NeedsAResultOfExactlyOneAndTheNtPlatform) {
  struct Case {
    std::int32_t result;
    std::uint32_t platform_id;
    bool expected;
  };
  const Case cases[] = {{1, 2, true}, {1, 1, false}, {0, 2, false}, {2, 2, false}, {-1, 2, false}};
  for (const Case& c : cases) {
    FakePlatform fake;
    fake.version_result = c.result;
    fake.platform_id = c.platform_id;
    EXPECT_EQ(IsWindowsNT(fake), c.expected) << c.result << "/" << c.platform_id;
    EXPECT_EQ(fake.calls, std::vector<std::string>{"GetVersionEx(148)"});
  }
}

TEST(SetScreenSaverRunning, PassesTheWidenedComplementOfItsArgument) {
  FakePlatform fake;
  SetScreenSaverRunning(fake, kFalse);
  SetScreenSaverRunning(fake, kTrue);
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"SystemParametersInfo(97,-1)",
                                                  "SystemParametersInfo(97,0)"}));
}

TEST(Zoom, RunsFromTheCursorPointOfLoadTimeToTheWindowAndBack) {
  FakePlatform fake;
  fake.cursor = platform::Point{100, 200};
  fake.window_rects[0x77] = {274, 268, 750, 499};
  ZoomOrigin origin;
  RecordZoomOrigin(fake, origin);
  fake.cursor = platform::Point{5, 5};  // where the mouse went meanwhile does not matter
  ZoomWindowOpen(fake, 0x77, origin);
  ZoomWindowClose(fake, 0x77, origin);
  EXPECT_EQ(fake.Calls("DrawAnimatedRects"),
            (std::vector<std::string>{
                "DrawAnimatedRects(0x77,3,{100,200,100,200},{274,268,750,499})",
                "DrawAnimatedRects(0x77,3,{274,268,750,499},{100,200,100,200})"}));
}

TEST(Zoom, OriginRulesForFailedReadsAndCoordinatesOutside16Bits) {
  struct Case {
    std::optional<platform::Point> cursor;
    std::int16_t expected_x, expected_y;
  };
  // The origin starts at (7, 9) from an earlier read.
  const Case cases[] = {
      {std::nullopt, 0, 0},
      {platform::Point{40000, 30}, 7, 30},
      {platform::Point{-5, -40000}, -5, 9},
      {platform::Point{32767, -32768}, 32767, -32768},
  };
  for (const Case& c : cases) {
    FakePlatform fake;
    fake.cursor = c.cursor;
    ZoomOrigin origin{7, 9};
    RecordZoomOrigin(fake, origin);
    EXPECT_EQ(origin.x, c.expected_x);
    EXPECT_EQ(origin.y, c.expected_y);
  }
}

TEST(Zoom, AFailedWindowReadAnimatesFromTheScreenCorner) {
  FakePlatform fake;
  ZoomOrigin origin{10, 20};
  ZoomWindowOpen(fake, 0x99, origin);
  EXPECT_EQ(fake.Calls("DrawAnimatedRects"),
            std::vector<std::string>{"DrawAnimatedRects(0x99,3,{10,20,10,20},{0,0,0,0})"});
}

}  // namespace
}  // namespace quillmere::startup
