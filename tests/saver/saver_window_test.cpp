#include "saver/saver_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/saver/fake_saver_host.h"

namespace quillmere::saver {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr startup::SettingsValues kDefaults = testing::SaverRig::kDefaults;
using Pixels = std::set<std::uint32_t>;
using Rig = testing::SaverRig;
using platform::Rect;

// Bounds, both ends reached; two re-seeds from one clock reading still draw differently.
TEST(RandomBetween, StaysWithinItsBoundsReachesBothEndsAndReseedsFromTheClock) {
  struct Case {
    std::int32_t lo, hi, least, most;
    std::size_t values;
  };  // values: distinct results, 0: many
  testing::FixedClock clock;
  RandomSource random(99, &clock), twin(99, &clock), other(99, &clock);
  for (const Case& c : {Case{0, 359, 0, 359, 360},
                        {1, 2, 1, 2, 2},
                        {5, 10, 5, 10, 6},
                        {7, 7, 7, 7, 1},
                        {1, 0, 1, 1, 1},
                        {1, -5, -4, 1, 0},
                        {kMax, kMax, kMax, kMax, 1},
                        {kMin, kMin, kMin, kMin, 1},
                        {1, kMax, 1, kMax, 0},
                        {kMin, kMax, kMin, kMax, 0},
                        {1, kMin, kMin + 1, 1, 0}}) {
    std::set<std::int32_t> seen;
    for (int n = 0; n < 20000; ++n) seen.insert(RandomBetween(random, c.lo, c.hi));
    EXPECT_TRUE(*seen.begin() >= c.least && *seen.rbegin() <= c.most) << c.lo << ".." << c.hi;
    EXPECT_TRUE(c.values == 0 || seen.size() == c.values) << c.lo << ".." << c.hi;
  }
  const std::int32_t first = RandomBetween(twin, 0, kMax - 1);
  EXPECT_NE(RandomBetween(twin, 0, kMax - 1), first);
  clock.seconds = 100.25f;
  EXPECT_NE(RandomBetween(other, 0, kMax - 1), first);
}

TEST(StepTurnAndWrap, FollowTheRulesAtTheirEdges) {
  // 150, 210 and 300 come out otherwise with the exact pi / 180 in place of the saver's factor.
  struct Step {
    std::int32_t heading, length;
    std::int64_t dx, dy;
  };
  for (auto [heading, length, dx, dy] : {Step{0, 1, 1, 0},
                                         {45, 1, 0, 0},
                                         {90, 1, 0, 1},
                                         {135, 1, -1, 0},
                                         {180, 1, -1, 0},
                                         {270, 1, -1, -1},
                                         {45, 5, 3, 3},
                                         {225, 5, -4, -4},
                                         {150, 2, -2, 1},
                                         {210, 2, -2, -1},
                                         {300, 2, 0, -2},
                                         {150, 10, -9, 5},
                                         {300, 20, 9, -18},
                                         {0, kMax, kMax, 0}}) {
    const Move move = StepAlong(heading, length);
    EXPECT_EQ(std::pair(move.dx, move.dy), std::pair(dx, dy)) << heading << " by " << length;
  }
  for (auto [heading, side, turn, result] : {std::tuple{3, 2, 8, 355},
                                             {355, 1, 8, 3},
                                             {355, 1, 5, 0},
                                             {5, 2, 5, 0},
                                             {359, 1, 10, 9},
                                             {350, 1, 9, 359},
                                             {180, 2, 7, 173}}) {
    EXPECT_EQ(TurnHeading(heading, side, turn), result) << heading << " side " << side;
  }
  for (auto [position, result] : {std::pair<std::int64_t, std::int32_t>{-1, 1024},
                                  {1025, 0},
                                  {1024, 1024},
                                  {0, 0},
                                  {-std::int64_t{kMax} - 5, 1024},
                                  {std::int64_t{kMax} * 2, 0}}) {
    EXPECT_EQ(WrapPosition(position, 1024), result) << position;
  }
}

// StepLen 1 moves right only at 0, down only at 90, left where cos < 0 (at 270 a little), up where
// sin < 0.
TEST(RunFrame, TurnsStepsAndStampsEveryCrawler) {
  Rig rig({0, 2, 1, 100, 10, 0});
  rig.Load();
  std::set<std::int32_t> turns;
  for (int frame = 0; frame < 3; ++frame) {
    const std::vector<Crawler> before(rig.Crawlers().begin(), rig.Crawlers().end());
    rig->RunFrame();
    for (std::size_t i = 0; i < before.size(); ++i) {
      const Crawler& c = rig.Crawlers()[i];
      const std::int32_t h = c.Heading;
      turns.insert((h - before[i].Heading + 360) % 360);
      EXPECT_EQ(c.PosX - before[i].PosX, h == 0 ? 1 : (h > 90 && h <= 270 ? -1 : 0)) << h;
      EXPECT_EQ(c.PosY - before[i].PosY, h == 90 ? 1 : (h > 180 ? -1 : 0)) << h;
      EXPECT_NE(rig->TheCanvas().At(c.PosX, c.PosY), 0u);
    }
  }
  EXPECT_EQ(turns, (std::set<std::int32_t>{5, 6, 7, 8, 9, 10, 350, 351, 352, 353, 354, 355}));
}

TEST(OnSaverLoad, StartsEveryCrawlerAtTheCentreWithItsPattern) {
  struct Case {
    double width, height, twips_per_pixel_y;
    std::int32_t kind, w, h, cx, cy, pattern;
  };
  for (const Case& c : {Case{1024, 768, 15, 0, 1024, 768, 512, 384, 0},
                        {1365, 768, 15, 2, 1365, 768, 682, 384, 2},
                        {1367, 1025, 15, 4, 1367, 1025, 684, 512, 4},
                        {1024.5, 768, 12, 6, 1024, 960, 512, 480, 0},
                        {800, 600, 15, -1, 800, 600, 400, 300, 0},
                        {800, 600, 15, kMin, 800, 600, 400, 300, 0}}) {
    Rig rig({c.kind, 5, 5, 100, 10, 0}, "/s", c.width, c.height);
    rig.system.twips_per_pixel_y = c.twips_per_pixel_y;
    rig->PrepareSaver();
    EXPECT_EQ(std::tuple(rig->ScreenW, rig->ScreenH, rig->Pattern, rig.host.canvas.size(),
                         rig.Crawlers().size()),
              std::tuple(c.w, c.h, c.pattern, static_cast<std::size_t>(c.w * c.h), 100u));
    EXPECT_TRUE(rig.AllAt(c.cx, c.cy) && rig.host.timers_enabled == 1 && rig.host.shown == 1)
        << c.width;
  }
  Rig rig({5, 5, 5, 0, 1, 0}, "/s", 64, 48);
  std::map<std::int32_t, int> drawn;
  for (int tick = 0; tick < 1000; ++tick, rig.clock.seconds += 0.25f)
    rig->OnTimerTick(), ++drawn[rig->Pattern];
  EXPECT_EQ(drawn.size(), 5u);
  for (auto [pattern, count] : drawn) EXPECT_NEAR(count, 200, 60) << pattern;
}

// The painted colour through tables the yields' ticks rebuild: the shared index advances after the
// yield, against the new table, each crawler's own after its disc; Sync 1 deals fresh ones with
// each table.
TEST(RunFrame, ColoursWalkTheTableThroughRebuilds) {
  int wrapped_by_rebuild = 0;
  for (auto [kind, sync, intval] :
       {std::tuple{0, 0, kMax}, {5, 0, 25}, {5, 1, 25}, {5, 2, 25}, {3, 1, kMax}}) {
    Rig rig({kind, 5000, 5, 2, intval, sync}, "/s", 1024, 2);  // each disc covers the canvas
    rig.Load();
    const std::span<Crawler> crawlers = rig.Crawlers();
    if (sync != 0) crawlers[1].ColorIndex = (crawlers[0].ColorIndex + 7) % (rig->LastColor + 1);
    std::vector<Crawler> drawn;
    std::uint32_t shown = 0;
    const auto same = [&](std::size_t i) { return crawlers[i].ColorIndex == drawn[i].ColorIndex; };
    rig.host.on_yield = [&](int) {
      drawn.assign(crawlers.begin(), crawlers.end());
      shown = rig.host.canvas.back();
      rig->OnTimerTick();
      for (std::size_t i : {0u, 1u})
        ASSERT_TRUE(sync == 1 ? crawlers[i].ColorIndex <= rig->LastColor : same(i));
    };
    std::int32_t shared = 0;
    for (int frame = 0; frame < 600; ++frame) {
      const std::vector<Colour> table(rig->ColourTable().begin(), rig->ColourTable().end());
      const auto size = static_cast<std::int32_t>(table.size());
      std::int32_t index = sync == 0 ? shared : crawlers[1].ColorIndex;
      if (index >= size) index = 0;  // an index a larger table left behind
      rig->RunFrame();
      ASSERT_EQ(shown, PixelOf(table[static_cast<std::size_t>(index)]))
          << kind << sync << " frame " << frame;
      ASSERT_TRUE(sync == 0 || drawn[1].ColorIndex == (index + 1 >= size ? 0 : index + 1));
      wrapped_by_rebuild += sync == 0 && shared + 1 < size && shared + 1 > rig->LastColor;
      if (sync == 0) shared = shared + 1 > rig->LastColor ? 0 : shared + 1;
    }
  }
  EXPECT_GT(wrapped_by_rebuild, 0);
}

TEST(OnTimerTick, ReSteersAndClearsEveryIntvalHandledTicks) {
  for (auto [kind, intval, period] :
       {std::tuple{0, 10, 10}, {3, 3, 3}, {0, 1, 1}, {0, 0, 1}, {0, kMin, 1}, {0, kMax, 0}}) {
    Rig rig({kind, 5, 5, 100, intval, 0}, "/s", 200, 101);
    rig.Load();
    const std::vector<Colour> table(rig->ColourTable().begin(), rig->ColourTable().end());
    for (int tick = 1; tick <= 30; ++tick) {
      rig->RunFrame();
      rig->OnTimerTick();
      const bool cleared =
          std::ranges::count(rig.host.canvas, 0u) == 200 * 101 && rig.AllAt(100, 50);
      EXPECT_EQ(cleared, period > 0 && tick % period == 0) << intval << " tick " << tick;
      EXPECT_TRUE(std::ranges::equal(rig->ColourTable(), table));
    }
  }
}

TEST(TryEndSaver, RestoresTheSystemAsTheModeSaysAndMovesNeedBothAxes) {
  using Moves = std::vector<std::pair<float, float>>;
  using Calls = std::vector<std::string>;  // platform 1 is Windows 95/98
  // No moves: a key, a close request (twice, as log-off sends it), a session change's reason or a
  // failed load.
  struct Case {
    std::string args;
    std::uint32_t platform;
    std::int32_t verify;
    Moves moves;
    Calls calls;
    std::string event = "";
  };
  const std::string version = "GetVersionEx(148)", verify = "VerifyScreenSavePwd(0x5afe)";
  const std::string running = "SystemParametersInfo(97,0)", active = "SystemParametersInfo(17,1)";
  const Calls nt_end = {version, running, "ShowCursor(-1)", active};
  const Calls refused = {version, "ShowCursor(-1)", verify, "ShowCursor(0)"};
  const Case cases[] = {
      {"/s", 2, 1, {}, nt_end},
      {"/s", 1, 0, {}, refused},
      {"", 1, 0, {}, {active}},
      {"/s", 1, 1, {}, {version, "ShowCursor(-1)", verify, running, "ShowCursor(7)", active}},
      {"/s", 2, 1, {{10, 10}, {10, 10}, {11, 10}, {500, 10}, {10, 400}}, {}},
      {"/s", 2, 1, {{10, 10}, {11, 11}}, nt_end},
      {"/s", 2, 1, {{10, 10}, {11, 10}, {12, 11}}, nt_end},
      {"/s", 1, 0, {{10, 10}, {20, 20}, {30, 30}}, refused},
      {"", 2, 1, {{10, 10}, {11, 11}, {300, 300}, {0, 0}}, {}},
      {"/s",
       1,
       0,
       {{10, 10}, {20, 20}, {30, 30}, {31, 31}},
       {version, "ShowCursor(-1)", verify, "ShowCursor(0)", version, "ShowCursor(0)", verify,
        "ShowCursor(0)"}},
      {"/s", 2, 1, {}, nt_end, "close"},
      {"/s", 1, 0, {}, refused, "7"},
      {"", 2, 1, {}, {active}, "close"},
      {"/s", 2, 1, {}, nt_end, "2"},
      {"/s", 2, 1, {}, nt_end, "3"},
      {"/s", 2, 1, {}, nt_end, "4"},
      {"/s", 2, 1, {}, nt_end, "7"},
      {"/s", 2, 1, {}, {}, "1"},
      {"/s", 2, 1, {}, {}, "5"},
      {"/s", 2, 1, {}, {}, "8"},
      {"/s", 1, 0, {}, {running, "ShowCursor(-1)", active}, "no window"},
      {"", 2, 1, {}, {active}, "no window"}};
  for (const Case& c : cases) {
    Rig rig(kDefaults, c.args);
    rig.system.platform_id = c.platform, rig.system.verify_result = c.verify;
    rig.system.show_cursor_result = c.verify != 0 ? 7 : 0;
    rig.host.surfaces_fail = c.event == "no window";
    rig.host.on_yield = [&](int) { rig->EndRequested = -1; };  // a load that wrongly runs on stops
    if (rig.host.surfaces_fail)
      rig->OnSaverLoad();
    else if (c.event == "close")
      rig->OnCloseRequest(), rig->OnCloseRequest();
    else if (!c.event.empty())
      rig->OnSessionChange(std::stoi(c.event));
    else if (c.moves.empty())
      rig->OnKeyDown(65, 0);
    for (auto [x, y] : c.moves) rig->OnDisplayMouseMove(0, 0, x, y);
    EXPECT_EQ(rig.system.calls, c.calls)
        << "[" << c.args << "] platform " << c.platform << " " << c.moves.size() << c.event;
    EXPECT_EQ(std::tuple(rig.host.destroyed, rig.host.presents, rig.host.shown),
              std::tuple(int(rig.host.surfaces_fail), 0, 0));
    EXPECT_EQ(rig->EndRequested, !c.calls.empty() && c.calls.back() == active ? -1 : 0);
    EXPECT_EQ(rig.start.saved_cursor_count,
              c.args.empty() || c.calls.empty() ? -1 : (c.verify != 0 ? 7 : 0));
  }
}

// Losing the activation ends the saver; the teardown's own loss adds nothing.
TEST(Covers, HideTheOtherMonitorsAndJudgeTheirMovesInThePrimarysPixels) {
  using Moves = std::vector<std::tuple<int, float, float>>;  // on cover n, or on Display for -1
  struct Case {
    std::vector<platform::Monitor> monitors;
    std::vector<Rect> covers;
    Moves moves;
    int ends_at;
  };
  const Rect p{0, 0, 1024, 768}, right{1024, 168, 1824, 768}, left{-800, 0, 0, 600},
      above{0, -600, 800, 0};
  const Rect far_left{-1280, -256, 0, 768}, far_right{1024, 0, 2048, 768};
  const Case cases[] = {{{{p, true}}, {}, {{0, 5, 5}, {0, 9, 9}}, 0},
                        {{{p, true}, {right}},
                         {right},
                         {{-1, 1000, 300}, {0, 5, 132}, {0, 6, 133}},
                         3},  // (1029, 300), (1030, 301)
                        {{{left}, {p, true}},
                         {left},
                         {{0, 810, 250}, {-1, 10, 400}, {0, 811, 401}},
                         3},  // (10, 250), (11, 401)
                        {{{p, true}, {above}},
                         {above},
                         {{-1, 20, 5}, {0, 30, 605}, {0, 31, 606}},
                         3},  // (30, 5), (31, 6)
                        {{{far_left}, {p, true}, {far_right}},
                         {far_left, far_right},
                         {{1, 10, 10}, {0, 1290, 266}},
                         0},  // (1034, 10), (10, 10)
                        {{{far_left}, {p, true}, {far_right}},
                         {far_left, far_right},
                         {{1, 10, 10}, {0, 1291, 267}},
                         2},  // (11, 11)
                        {{{p, true}, {p}, {{2000, 0, 2000, 768}}, {{500, 700, 1500, 900}}},
                         {},
                         {},
                         0},  // a mirror, empty, overlapping
                        {{{p}, {far_right}},
                         {far_right},
                         {{-1, 5, 5}, {0, 6, 6}},
                         2}};         // none marked: the first is the primary
  for (bool quiet : {false, true}) {  // quiet: an empty argument text ignores every move
    for (const Case& c : cases) {
      Rig rig(kDefaults, quiet ? "" : "/s");
      rig.system.monitors = c.monitors;
      rig->PrepareSaver();
      EXPECT_EQ(rig.host.covers, c.covers) << (&c - cases);
      int ended = 0;
      for (int n = 1; auto [cover, x, y] : c.moves) {
        if (cover < 0)
          rig->OnDisplayMouseMove(0, 0, x, y);
        else
          rig->OnCoverMouseMove(std::size_t(cover), 0, 0, x, y);
        if (rig->EndRequested != 0 && ended == 0) ended = n;
        ++n;
      }
      EXPECT_EQ(ended, quiet ? 0 : c.ends_at) << (&c - cases);
      rig->OnLoseActivation(), rig->OnLoseActivation();
      EXPECT_EQ(rig->EndRequested, -1);
      EXPECT_EQ(rig.system.Calls("SystemParametersInfo(17").size(), 1u) << (&c - cases);
    }
  }
}

// Over again on the new desktop: a black canvas, every crawler at the new centre, width / 8 + 1
// Olive colours.
TEST(OnDisplayChange, LaysTheSaverOutOnTheNewDesktopAndStartsOver) {
  using Monitors = std::vector<platform::Monitor>;
  struct Case {
    Monitors before, after;
    double w, h;
    std::vector<Rect> covers;
    std::int32_t cx, cy;
    std::size_t colours;
    bool fails;
  };
  const Rect p{0, 0, 1024, 768}, right{1024, 0, 1824, 600}, left{-800, 0, 0, 600};
  const Case cases[] = {
      {{{p, true}},
       {{p, true}, {right}},
       1024,
       768,
       {right},
       512,
       384,
       129,
       false},  // a second monitor comes
      {{{p, true}, {left}}, {{{0, 0, 800, 600}, true}}, 800, 600, {}, 400, 300, 101, false},
      {{{p, true}}, {}, 1280, 1024, {}, 640, 512, 161, false},
      {{{p, true}, {left}},
       {{left}, {{0, 0, 1280, 1024}, true}},
       1280,
       1024,
       {left},
       640,
       512,
       161,
       false},
      {{{p, true}}, {}, 1280, 1024, {}, 0, 0, 0, true}};  // no canvas at the new size: the saver
                                                          // ends
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Rig rig({1, 5, 5, 100, 3, 0});
    rig.system.monitors = c.before;
    rig.Load();
    for (int frame = 0; frame < 5; ++frame) rig->RunFrame(), rig->OnTimerTick();
    rig->OnDisplayMouseMove(0, 0, 1, 1);
    rig.system.monitors = c.after, rig.host.surfaces_fail = c.fails;
    rig.system.screen_width_twips = c.w * 15, rig.system.screen_height_twips = c.h * 15;
    rig->OnDisplayChange();
    rig->OnTimerTick();
    EXPECT_EQ(rig->EndRequested, c.fails ? -1 : 0);
    EXPECT_EQ(rig.system.Calls("SystemParametersInfo(97,0)").size(), c.fails ? 1u : 0u);
    if (c.fails) continue;
    rig->OnDisplayMouseMove(0, 0, 300, 300);  // the first move on the new screen only records
    EXPECT_EQ(std::tuple(rig->ScreenW, rig->ScreenH, rig->ColourTable().size(), rig->Ticks,
                         rig->EndRequested),
              std::tuple(std::int32_t(c.w), std::int32_t(c.h), c.colours, 1, std::int16_t{0}));
    EXPECT_TRUE(rig.AllAt(c.cx, c.cy) && rig.Painted() == Pixels{0} &&
                rig.host.canvas.size() == std::size_t(c.w * c.h));
    EXPECT_EQ(rig.host.covers, c.covers);
    rig->RunFrame();
    EXPECT_EQ(rig.host.shown + rig.host.timers_enabled, 2);
    EXPECT_TRUE(rig->TheCanvas().At(c.cx, c.cy) != 0 &&
                rig->TheCanvas().Width() == std::int32_t(c.w));
  }
}

// Hand-edited files draw soundly and end on the input after its frame; a slow frame gives way to
// the input.
TEST(HostileSettings, EveryFileDrawsSoundlyAndEndsOnAKey) {
  enum Paint { kBlack, kSome, kFull };
  struct Case {
    std::string file;
    std::int32_t pattern;
    std::size_t crawlers;
    Paint paint;
  };  // pattern -1: any
  const Case cases[] = {
      {"Kind=-1", 0, 100, kSome},
      {"Kind=6", 0, 100, kSome},
      {"Kind=2147483647", 0, 100, kSome},
      {"Kind=-2147483648", 0, 100, kSome},
      {"Size=0", 0, 100, kSome},
      {"Size=-5", 0, 100, kBlack},
      {"Size=2147483647\nNum=200", 0, 200, kFull},
      {"Size=-2147483648", 0, 100, kBlack},
      {"Speed=0", 0, 100, kSome},
      {"Speed=-10", 0, 100, kSome},
      {"Speed=2147483647", 0, 100, kSome},
      {"Speed=-2147483648", 0, 100, kSome},
      {"Num=0", 0, 0, kBlack},
      {"Num=-1", 0, 0, kBlack},
      {"Num=2147483647", 0, 1 << 20, kSome},
      {"Num=-2147483648", 0, 0, kBlack},
      {"Intval=0", 0, 100, kSome},
      {"Intval=-5\nKind=5\nSync=1", -1, 100, kSome},
      {"Intval=2147483647", 0, 100, kSome},
      {"Sync=2\nKind=5\nIntval=1", -1, 100, kSome},
      {"Sync=-1", 0, 100, kSome},
      {"Sync=2147483647", 0, 100, kSome},
      {"Size=big\nNum=lots\nKind=three", 0, 0, kBlack},
      {"Size=2.5\nNum=150.5\nSpeed=9.99", 0, 150, kSome},
      {"Num=1e9\nSize=1e2\nSpeed=-1E3", 0, 1 << 20, kFull},
      {"Num=" + std::string(300, '9') + "\nSize=" + std::string(300, '1'), 0, 0, kBlack},
      {"Kind=\xff\xfe"
       "3\nSize=\x01\x02\x03\nNum=\x80\x81",
       0, 0, kBlack},
      {"Kind=3\nSync=1", 3, 100, kSome},
      {"Kind=2\nSize=12\nNum=60", 2, 60, kSome},
      {"Num=50\nKind=4", 4, 50, kSome},
      {"", 0, 100, kSome},
      {"Kind=7\nSize=2147483647\nSpeed=2147483647\nNum=2147483647\nIntval=0\nSync=5", 0, 1 << 20,
       kFull}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Rig rig({}, "/s", 64, 48);
    std::istringstream lines(c.file);
    auto& section = rig.system.ini["Section"];
    for (std::string l; std::getline(lines, l);)
      section[l.substr(0, l.find('='))] = l.substr(l.find('=') + 1);
    startup::LoadSettings(rig.system, rig.settings);
    rig.host.milliseconds_per_look = 1, rig.host.input_pending = true;
    std::vector<std::uint32_t> at_input;
    rig.host.on_yield = [&](int n) {
      if (n < 4) return rig->OnTimerTick();
      at_input = rig.host.canvas;
      (&c - cases) % 2 ? rig->OnKeyDown(32, 0) : rig->OnDisplayMouseDown(1, 0, 5, 5);
    };
    rig->OnSaverLoad();
    EXPECT_TRUE(at_input == rig.host.canvas) << "a disc after the input";
    EXPECT_LT(std::ranges::count_if(rig.Crawlers(), [](const Crawler& k) { return k.PosX != 32; }),
              4 * 6500);
    EXPECT_EQ(std::tuple(rig.host.destroyed, rig.host.presents, rig.Crawlers().size()),
              std::tuple(1, 4, c.crawlers));
    EXPECT_TRUE(c.pattern < 0 || rig->Pattern == c.pattern) << rig->Pattern;
    EXPECT_TRUE(rig.AllOnScreen(64, 48));
    Pixels allowed = {0};
    for (Colour colour : rig->ColourTable()) allowed.insert(PixelOf(colour));
    const Pixels painted = rig.Painted();
    EXPECT_TRUE(std::ranges::includes(allowed, painted));
    EXPECT_EQ(painted.size() == 1 && !painted.count(0), c.paint == kFull);
    EXPECT_EQ(painted == Pixels{0}, c.paint == kBlack);
  }
}

}  // namespace
}  // namespace quillmere::saver
