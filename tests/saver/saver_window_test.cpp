#include "saver/saver_window.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "tests/fake_platform.h"
#include "tests/saver/fake_saver_host.h"

namespace quillmere::saver {
namespace {

using Calls = std::vector<std::string>;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

startup::SettingsValues Defaults() { return {0, 5, 5, 100, 10, 0}; }

// One saver window with everything it reaches faked.
struct Rig {
  testing::FakePlatform system;
  testing::FakeSaverHost host;
  testing::FixedClock clock;
  RandomSource random{2024, &clock};
  startup::SettingsValues settings;
  startup::StartState start;
  std::unique_ptr<SaverWindow> saver;

  explicit Rig(startup::SettingsValues values = Defaults(), std::string args = "/s",
               std::int32_t width = 1024, std::int32_t height = 768)
      : settings(values) {
    start.argument_text = std::move(args);
    start.saved_cursor_count = -1;
    system.screen_width_twips = width * 15.0;
    system.screen_height_twips = height * 15.0;
    saver = std::make_unique<SaverWindow>(
        SaverServices{system, system, system, system, host}, random, settings, start);
  }
  SaverWindow& operator*() { return *saver; }
  SaverWindow* operator->() { return saver.get(); }

  void Load() {
    saver->PrepareSaver();
    saver->StartAnimation();
  }
  bool AllAtCentre(std::int32_t cx, std::int32_t cy) {
    for (std::int32_t i = 1; i <= settings.Num; ++i) {
      const Crawler& c = saver->Crawlers()[static_cast<std::size_t>(i)];
      if (c.PosX != cx || c.PosY != cy || c.Heading < 0 || c.Heading > 359) return false;
    }
    return true;
  }
};

TEST(StepAlong, MovesAsTheFloorOfTheStep) {
  struct Case {
    std::int32_t heading, step;
    std::int64_t dx, dy;
  };
  const Case cases[] = {{0, 1, 1, 0},   {45, 1, 0, 0},   {90, 1, 0, 1},    {135, 1, -1, 0},
                        {180, 1, -1, 0}, {270, 1, -1, -1}, {45, 5, 3, 3},    {225, 5, -4, -4},
                        {0, 0, 0, 0},   {0, kMax, kMax, 0}, {180, kMax, -std::int64_t{kMax}, 0},
                        {90, -3, -1, -3}};
  for (const Case& c : cases) {
    const Move move = StepAlong(c.heading, c.step);
    EXPECT_EQ(move.dx, c.dx) << "heading " << c.heading << " step " << c.step;
    EXPECT_EQ(move.dy, c.dy) << "heading " << c.heading << " step " << c.step;
  }
}

TEST(TurnHeading, WrapsOnceIntoAFullTurn) {
  struct Case {
    std::int32_t heading, side, turn, result;
  };
  const Case cases[] = {{3, 2, 8, 355}, {355, 1, 8, 3}, {0, 2, 5, 355}, {359, 1, 10, 9},
                        {350, 1, 9, 359}, {5, 2, 5, 0},  {180, 1, 7, 187}, {180, 2, 7, 173}};
  for (const Case& c : cases) {
    EXPECT_EQ(TurnHeading(c.heading, c.side, c.turn), c.result) << c.heading << " " << c.turn;
  }
}

TEST(WrapPosition, ReappearsAtTheOppositeEdge) {
  struct Case {
    std::int64_t position;
    std::int32_t extent, result;
  };
  const Case cases[] = {{-1, 1024, 1024}, {1025, 1024, 0},   {1024, 1024, 1024}, {0, 1024, 0},
                        {512, 1024, 512},  {-std::int64_t{kMax} - 5, 1024, 1024},
                        {std::int64_t{kMax} * 2, 1024, 0}};
  for (const Case& c : cases) EXPECT_EQ(WrapPosition(c.position, c.extent), c.result) << c.position;
}

TEST(OnSaverLoad, StartsEveryCrawlerAtTheCentre) {
  struct Case {
    std::int32_t width, height, cx, cy;
  };
  const Case cases[] = {{1024, 768, 512, 384}, {1365, 768, 682, 384}, {1367, 1025, 684, 512}};
  for (const Case& c : cases) {
    Rig rig(Defaults(), "/s", c.width, c.height);
    rig->PrepareSaver();
    EXPECT_EQ(rig->ScreenW, c.width);
    EXPECT_EQ(rig->ScreenH, c.height);
    EXPECT_EQ(rig->Crawlers().size(), 101u);
    EXPECT_TRUE(rig.AllAtCentre(c.cx, c.cy)) << c.width;
    EXPECT_EQ(rig.host.width, c.width);
    EXPECT_EQ(rig.host.timers_enabled, 1);
    EXPECT_EQ(rig.host.shown, 1);
  }
}

TEST(OnSaverLoad, ChoosesThePattern) {
  struct Case {
    std::int32_t kind, least, most;
  };
  const Case cases[] = {{0, 0, 0}, {2, 2, 2}, {4, 4, 4}, {5, 0, 4}, {6, 0, 0}, {-1, 0, 0}, {kMin, 0, 0}};
  for (const Case& c : cases) {
    startup::SettingsValues values = Defaults();
    values.Kind = c.kind;
    Rig rig(values);
    rig->PrepareSaver();
    EXPECT_GE(rig->Pattern, c.least) << c.kind;
    EXPECT_LE(rig->Pattern, c.most) << c.kind;
  }
}

TEST(OnSaverLoad, RandomKindPicksEveryPattern) {
  startup::SettingsValues values = Defaults();
  values.Kind = 5;
  int counts[5] = {};
  for (int n = 0; n < 500; ++n) {
    Rig rig(values);
    rig.clock.seconds = static_cast<float>(n);
    rig->PrepareSaver();
    ++counts[rig->Pattern];
  }
  for (int count : counts) EXPECT_GT(count, 60);
}

TEST(RunFrame, SharedColourWalksTheTable) {
  startup::SettingsValues values = Defaults();
  values.Size = 5000;  // each disc covers the screen, so one pixel shows the frame's colour
  values.Num = 1;
  Rig rig(values, "/s", 64, 48);
  rig.Load();
  const std::vector<Colour> gold(rig->ColourTable().begin(), rig->ColourTable().end());
  ASSERT_EQ(gold.size(), 39u);
  for (int frame = 0; frame < 80; ++frame) {
    rig->RunFrame();
    ASSERT_EQ(rig->TheCanvas().At(0, 0), PixelOf(gold[static_cast<std::size_t>(frame % 39)]))
        << frame;
  }
  EXPECT_EQ(rig.host.presents, 80);
  EXPECT_EQ(rig.host.yields, 80);
}

TEST(RunFrame, EachCrawlerWalksItsOwnColours) {
  startup::SettingsValues values = Defaults();
  values.Size = 5000;
  values.Num = 1;
  values.Sync = 1;
  Rig rig(values, "/s", 64, 48);
  rig.Load();
  Crawler& crawler = rig->Crawlers()[1];
  EXPECT_GE(crawler.ColorIndex, 0);
  EXPECT_LE(crawler.ColorIndex, 38);
  crawler.ColorIndex = 38;
  rig->RunFrame();
  EXPECT_EQ(rig->TheCanvas().At(0, 0), PixelOf(rig->ColourTable()[38]));
  EXPECT_EQ(crawler.ColorIndex, 0);
  rig->RunFrame();
  EXPECT_EQ(rig->TheCanvas().At(0, 0), PixelOf(rig->ColourTable()[0]));
  EXPECT_EQ(crawler.ColorIndex, 1);
}

TEST(RunFrame, OtherSyncValuesKeepTheIndicesAndRecoverFromAShrunkTable) {
  startup::SettingsValues values = Defaults();
  values.Sync = 2;
  values.Num = 3;
  Rig rig(values);
  rig.Load();
  for (std::int32_t i = 1; i <= 3; ++i) EXPECT_EQ(rig->Crawlers()[static_cast<std::size_t>(i)].ColorIndex, 0);
  rig->RunFrame();
  for (std::int32_t i = 1; i <= 3; ++i) EXPECT_EQ(rig->Crawlers()[static_cast<std::size_t>(i)].ColorIndex, 1);
  rig->Crawlers()[2].ColorIndex = 400;  // as a larger table of an earlier pattern left it
  rig->RunFrame();
  EXPECT_EQ(rig->Crawlers()[2].ColorIndex, 1);
}

TEST(RunFrame, MovesEveryCrawlerOneTurnAndStep) {
  startup::SettingsValues values = Defaults();
  values.Speed = 1;
  Rig rig(values);
  rig.Load();
  std::vector<Crawler> before(rig->Crawlers().begin(), rig->Crawlers().end());
  rig->RunFrame();
  for (std::size_t i = 1; i < before.size(); ++i) {
    const Crawler& now = rig->Crawlers()[i];
    const std::int32_t turned = (now.Heading - before[i].Heading + 360) % 360;
    EXPECT_TRUE((turned >= 5 && turned <= 10) || (turned >= 350 && turned <= 355)) << turned;
    const Move move = StepAlong(now.Heading, 1);
    EXPECT_EQ(now.PosX, before[i].PosX + move.dx);
    EXPECT_EQ(now.PosY, before[i].PosY + move.dy);
    EXPECT_NE(rig->TheCanvas().At(now.PosX, now.PosY), 0u);
  }
}

TEST(OnTimerTick, ReSteersEveryIntvalHandledTicks) {
  struct Case {
    std::int32_t intval;
    int period;  // handled ticks between re-steers; 0 for never within the test
  };
  const Case cases[] = {{10, 10}, {3, 3}, {1, 1}, {0, 1}, {-7, 1}, {kMin, 1}, {kMax, 0}};
  for (const Case& c : cases) {
    startup::SettingsValues values = Defaults();
    values.Intval = c.intval;
    Rig rig(values, "/s", 200, 100);
    rig.Load();
    std::vector<int> seen;
    std::vector<int> expected;
    for (int tick = 1; tick <= 30; ++tick) {
      rig->RunFrame();
      rig->OnTimerTick();
      if (rig.AllAtCentre(100, 50) && rig->TheCanvas().At(100, 50) == 0u) seen.push_back(tick);
      if (c.period > 0 && tick % c.period == 0) expected.push_back(tick);
    }
    EXPECT_EQ(seen, expected) << "Intval " << c.intval;
  }
}

TEST(OnTimerTick, RandomKindDrawsANewPatternAtEachReSteer) {
  startup::SettingsValues values = Defaults();
  values.Kind = 5;
  values.Intval = 1;
  values.Sync = 1;
  Rig rig(values, "/s", 1280, 720);
  rig.Load();
  bool changed = false;
  for (int tick = 0; tick < 40; ++tick) {
    rig.clock.seconds += 0.5f;
    const std::size_t before = rig->ColourTable().size();
    rig->OnTimerTick();
    EXPECT_GE(rig->Pattern, 0);
    EXPECT_LE(rig->Pattern, 4);
    EXPECT_EQ(rig->LastColor + 1, static_cast<std::int32_t>(rig->ColourTable().size()));
    for (std::size_t i = 1; i < rig->Crawlers().size(); ++i) {
      ASSERT_LE(rig->Crawlers()[i].ColorIndex, rig->LastColor);
    }
    changed |= rig->ColourTable().size() != before;
    rig->RunFrame();
  }
  EXPECT_TRUE(changed);
}

TEST(OnTimerTick, FixedKindKeepsItsTable) {
  startup::SettingsValues values = Defaults();
  values.Kind = 3;
  values.Intval = 1;
  Rig rig(values);
  rig.Load();
  const std::vector<Colour> table(rig->ColourTable().begin(), rig->ColourTable().end());
  for (int tick = 0; tick < 5; ++tick) rig->OnTimerTick();
  EXPECT_EQ(std::vector<Colour>(rig->ColourTable().begin(), rig->ColourTable().end()), table);
  EXPECT_EQ(rig->Pattern, 3);
}

TEST(TryEndSaver, RestoresTheSystemAsTheModeSays) {
  struct Case {
    std::string args;
    std::uint32_t platform_id;
    std::int32_t verify;
    Calls calls;
    std::int16_t end_requested;
  };
  const Case cases[] = {
      {"/s", platform::kPlatformWin32Nt, 1,
       {"GetVersionEx(148)", "SystemParametersInfo(97,0)", "ShowCursor(-1)", "SystemParametersInfo(17,1)"}, -1},
      {"/s", 1, 1,
       {"GetVersionEx(148)", "ShowCursor(-1)", "VerifyScreenSavePwd(0x5afe)", "SystemParametersInfo(97,0)",
        "ShowCursor(0)", "SystemParametersInfo(17,1)"}, -1},
      {"/s", 1, 0,
       {"GetVersionEx(148)", "ShowCursor(-1)", "VerifyScreenSavePwd(0x5afe)", "ShowCursor(0)"}, 0},
      {"", 1, 0, {"SystemParametersInfo(17,1)"}, -1},
      {"", platform::kPlatformWin32Nt, 1, {"SystemParametersInfo(17,1)"}, -1},
  };
  for (const Case& c : cases) {
    Rig rig(Defaults(), c.args);
    rig.system.platform_id = c.platform_id;
    rig.system.verify_result = c.verify;
    rig.system.show_cursor_result = 0;
    rig->OnKeyDown(65, 0);
    EXPECT_EQ(rig.system.calls, c.calls) << "args [" << c.args << "] platform " << c.platform_id;
    EXPECT_EQ(rig->EndRequested, c.end_requested);
  }
}

TEST(OnDisplayMouseMove, EndsOnlyWhenBothCoordinatesChange) {
  struct Case {
    std::string args;
    std::vector<std::pair<float, float>> moves;
    std::int16_t end_requested;
  };
  const Case cases[] = {
      {"/s", {{10, 10}}, 0},
      {"/s", {{10, 10}, {10, 10}}, 0},
      {"/s", {{10, 10}, {11, 10}, {500, 10}}, 0},
      {"/s", {{10, 10}, {10, 400}}, 0},
      {"/s", {{10, 10}, {11, 11}}, -1},
      {"/s", {{10, 10}, {11, 10}, {12, 11}}, -1},
      {"", {{10, 10}, {11, 11}, {300, 300}, {0, 0}}, 0},
  };
  for (const Case& c : cases) {
    Rig rig(Defaults(), c.args);
    for (auto [x, y] : c.moves) rig->OnDisplayMouseMove(0, 0, x, y);
    EXPECT_EQ(rig->EndRequested, c.end_requested) << "args [" << c.args << "] moves " << c.moves.size();
  }
}

TEST(OnDisplayMouseMove, RecordsAFreshReferenceAfterARefusedPassword) {
  Rig rig(Defaults(), "/s");
  rig.system.platform_id = 1;
  rig.system.verify_result = 0;
  rig->OnDisplayMouseMove(0, 0, 10, 10);
  rig->OnDisplayMouseMove(0, 0, 20, 20);
  EXPECT_EQ(rig.system.Calls("VerifyScreenSavePwd").size(), 1u);
  rig.system.verify_result = 1;
  rig->OnDisplayMouseMove(0, 0, 30, 30);  // only the new reference
  EXPECT_EQ(rig->EndRequested, 0);
  rig->OnDisplayMouseMove(0, 0, 31, 31);
  EXPECT_EQ(rig->EndRequested, -1);
}

TEST(RunAnimation, EndsAfterTheFrameWhoseYieldSawInput) {
  struct Case {
    std::string args;
    int input_at_yield;
  };
  const Case cases[] = {{"/s", 1}, {"/s", 7}, {"", 3}};
  for (const Case& c : cases) {
    Rig rig(Defaults(), c.args);
    rig.host.on_yield = [&](int n) {
      if (n == c.input_at_yield) rig->OnDisplayMouseDown(1, 0, 5, 5);
    };
    rig->OnSaverLoad();
    EXPECT_EQ(rig.host.presents, c.input_at_yield);
    EXPECT_EQ(rig.host.destroyed, 1);
  }
}

TEST(RunAnimation, ASlowFrameGivesWayToWaitingInput) {
  startup::SettingsValues values = Defaults();
  values.Num = 1000;
  Rig rig(values, "/s", 320, 200);
  rig.Load();
  rig.host.milliseconds_per_look = 30;
  rig.host.input_pending = true;
  rig->RunFrame();
  // The budget is spent after four looks; the frame stops at the next one.
  std::size_t moved = 0;
  for (std::size_t i = 1; i < rig->Crawlers().size(); ++i) {
    moved += !(rig->Crawlers()[i].PosX == 160 && rig->Crawlers()[i].PosY == 100);
  }
  EXPECT_LT(moved, 320u);
  EXPECT_EQ(rig.host.yields, 1);
  rig.host.input_pending = false;
  rig->RunFrame();
  EXPECT_EQ(rig.host.yields, 2);
}

TEST(HostileSettings, FramesTicksAndEndingStaySound) {
  const startup::SettingsValues cases[] = {
      {kMax, kMax, kMax, 3, kMax, kMax},   {kMin, kMin, kMin, kMin, kMin, kMin},
      {7, -5, 0, 50, 0, 2},                {5, 0, -10, 20, -1, 1},
      {5, 1 << 20, kMax, 5, 1, -1},        {-3, 20, kMax, 200, 2, 1},
      {4, 3, 1, kMax, 5, 0},
  };
  for (const startup::SettingsValues& values : cases) {
    Rig rig(values, "/s", 320, 200);
    rig.host.milliseconds_per_look = 1;
    rig.host.on_yield = [&](int n) {
      rig->OnTimerTick();
      if (n == 4) rig->OnKeyDown(27, 0);
    };
    rig->OnSaverLoad();
    EXPECT_EQ(rig.host.destroyed, 1);
    EXPECT_LE(rig->Crawlers().size(), (1u << 20) + 1);
    for (std::size_t i = 1; i < rig->Crawlers().size(); ++i) {
      const Crawler& c = rig->Crawlers()[i];
      ASSERT_GE(c.PosX, 0);
      ASSERT_LE(c.PosX, 320);
      ASSERT_GE(c.PosY, 0);
      ASSERT_LE(c.PosY, 200);
    }
  }
}

}  // namespace
}  // namespace quillmere::saver
