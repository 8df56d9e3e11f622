#include "saver/saver_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/saver/fake_saver_host.h"

namespace quillmere::saver {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
using Rig = testing::SaverRig;
using Pixels = std::set<std::uint32_t>;
using platform::Rect;
using testing::AllAt;
using testing::AllOnScreen;
using testing::Painted;

// On both 64-pixel-wide monitors: gold 39 entries, olive and blue-grey 9, hue 31, random 17.
TEST(OnTimerTick, RandomKindDrawsEveryPatternAlikeWithItsTableOnEveryMonitor) {
  const std::map<std::int32_t, std::size_t> entries = {{0, 39}, {1, 9}, {2, 9}, {3, 31}, {4, 17}};
  Rig rig({.Kind = 5, .Size = 5, .Speed = 5, .Num = 0, .Intval = 1}, "/s", 64, 48);
  rig.system.monitors = {{{0, 0, 64, 48}, true}, {{64, 0, 128, 48}}};
  rig.Load();
  std::map<std::int32_t, int> drawn;
  for (int tick = 0; tick < 1000; ++tick) {
    rig->OnTimerTick();
    for (const Scene& scene : {rig->Primary(), rig->Others()[0]}) {
      ++drawn[scene.Pattern()];
      ASSERT_EQ(scene.ColourTable().size(), entries.at(scene.Pattern()));
    }
  }
  for (auto [pattern, count] : drawn) EXPECT_NEAR(count, 400, 100) << pattern;
}

// One crawler whose disc covers the canvas, a new table every 25 ticks: each frame shows the entry
// after the last frame's.
TEST(RunFrame, PaintsTheColourTableInTurnThroughRebuilds) {
  struct Row {
    std::string name;
    std::int32_t sync;
  };
  const Row rows[] = {
      {.name = "a shared colour", .sync = 0},
      {.name = "its own colour, kept through new tables", .sync = 2},
  };
  for (const Row& row : rows) {
    Rig rig({.Kind = 5, .Size = 5000, .Speed = 5, .Num = 1, .Intval = 25, .Sync = row.sync}, "/s",
            1024, 2);
    rig.Load();
    std::uint32_t shown = 0;
    rig.host.on_yield = [&](int) {
      shown = rig.host.canvas.front();
      rig->OnTimerTick();
    };
    std::int32_t index = rig->Primary().Crawlers()[0].ColorIndex;
    for (int frame = 0; frame < 600; ++frame) {
      const std::vector<Colour> table(rig->Primary().ColourTable().begin(),
                                      rig->Primary().ColourTable().end());
      const std::int32_t last = rig->Primary().LastColor();
      if (index > last) index = 0;  // left behind by a larger table
      rig->RunFrame();
      ASSERT_EQ(shown, PixelOf(table[static_cast<std::size_t>(index)]))
          << row.name << ", frame " << frame;
      // The shared colour moves on after the yield, against the table built there.
      const std::int32_t wrap_at = row.sync == 0 ? rig->Primary().LastColor() : last;
      index = index + 1 > wrap_at ? 0 : index + 1;
      ASSERT_TRUE(row.sync == 0 || rig->Primary().Crawlers()[0].ColorIndex == index)
          << row.name << ", frame " << frame;
    }
  }
}

// Both monitors start over together: crawlers at each one's centre, each canvas black.
TEST(OnTimerTick, ReSteersEveryMonitorOnEveryIntvalthHandledTick) {
  struct Row {
    std::string name;
    std::int32_t intval;
    int period;
  };
  const Row rows[] = {
      {.name = "Intval 10", .intval = 10, .period = 10},
      {.name = "the smallest Intval", .intval = -kMax - 1, .period = 1},
  };
  for (const Row& row : rows) {
    Rig rig({.Kind = 3, .Size = 5, .Speed = 5, .Num = 100, .Intval = row.intval}, "/s", 200, 101);
    rig.system.monitors = {{{0, 0, 200, 101}, true}, {{0, 101, 60, 141}}};
    rig.Load();
    const std::vector<Colour> table(rig->Primary().ColourTable().begin(),
                                    rig->Primary().ColourTable().end());
    for (int tick = 1; tick <= 30; ++tick) {
      rig->RunFrame();
      rig->OnTimerTick();
      const bool restarted =
          Painted(rig->Primary()) == Pixels{0} && AllAt(rig->Primary(), 100, 50) &&
          Painted(rig->Others()[0]) == Pixels{0} && AllAt(rig->Others()[0], 30, 20);
      EXPECT_EQ(restarted, tick % row.period == 0) << row.name << " " << tick;
    }
    EXPECT_TRUE(std::ranges::equal(rig->Primary().ColourTable(), table)) << row.name;
  }
}

// The one table of how the saver ends: what it gives back to the system, and when it ends at all.
TEST(TryEndSaver, GivesBackWhatTheStartChangedAndEndsOnce) {
  using Calls = std::vector<std::string>;
  using Act = std::function<void(Rig&)>;
  const std::string version = "GetVersionEx(148)";
  const std::string verify = "VerifyScreenSavePwd(0x5afe)";
  const std::string running = "SystemParametersInfo(97,0)";
  const std::string active = "SystemParametersInfo(17,1)";
  const Calls nt_end = {version, running, "ShowCursor(-1)", active};
  const Act key = [](Rig& r) { r->OnKeyDown(65, 0); };

  enum System { kNT, k9x, k9xRefusing };
  struct Row {
    std::string name;
    Act act = [](Rig&) {};
    std::vector<std::pair<float, float>> moves = {};
    Calls calls;
    std::string args = "/s";
    System system = kNT;
  };
  const Row rows[] = {
      {.name = "a key on NT", .act = key, .calls = nt_end},
      {.name = "a key on 9x",
       .act = key,
       .calls = {version, "ShowCursor(-1)", verify, running, "ShowCursor(7)", active},
       .system = k9x},
      {.name = "no argument, 9x", .act = key, .calls = {active}, .args = "", .system = k9x},
      {.name = "no argument, moves", .moves = {{1, 1}, {9, 9}}, .calls = {}, .args = ""},
      {.name = "moves along one axis", .moves = {{1, 1}, {1, 1}, {2, 1}, {1, 9}}, .calls = {}},
      {.name = "one axis keeps the first", .moves = {{1, 1}, {2, 1}, {2, 5}}, .calls = nt_end},
      {.name = "a refusal records anew",
       .moves = {{1, 1}, {2, 2}, {3, 3}, {4, 4}},
       .calls = {version, "ShowCursor(-1)", verify, "ShowCursor(0)", version, "ShowCursor(7)",
                 verify, "ShowCursor(0)"},
       .system = k9xRefusing},
      {.name = "closed, then deactivated",
       .act =
           [](Rig& r) {
             r->OnCloseRequest();
             r->OnLoseActivation();
           },
       .calls = nt_end},
      {.name = "a lock", .act = [](Rig& r) { r->OnSessionChange(7); }, .calls = nt_end},
      {.name = "an unlock", .act = [](Rig& r) { r->OnSessionChange(8); }, .calls = {}},
      {.name = "no window",
       .act =
           [](Rig& r) {
             r.host.surfaces_fail = true;
             r->OnSaverLoad();
           },
       .calls = {running, "ShowCursor(-1)", active},
       .system = k9x},
  };
  for (const Row& row : rows) {
    Rig rig(Rig::kDefaults, row.args);
    rig.system.platform_id = row.system == kNT ? platform::kPlatformWin32Nt : 1;
    rig.system.verify_result = row.system == k9xRefusing ? 0 : 1;
    rig.system.show_cursor_result = 7;
    row.act(rig);
    for (auto [x, y] : row.moves) rig->OnDisplayMouseMove(0, 0, x, y);
    EXPECT_EQ(rig.system.calls, row.calls) << row.name;
    EXPECT_EQ(rig->EndRequested(), !row.calls.empty() && row.calls.back() == active) << row.name;
    EXPECT_EQ(rig.host.destroyed, rig.host.surfaces_fail) << row.name;
    EXPECT_EQ(rig.host.presents, 0) << row.name;
  }
}

// The second monitor shows crawlers of its own unless the file keeps it black or its canvas cannot
// be made; the primary draws as it would alone.
TEST(PrepareSaver, AnimatesEveryOtherMonitorUnlessKeptBlack) {
  struct Row {
    std::string name;
    std::string monitors;  // the key's text in the file
    bool canvas_fails = false;
    bool animated = true;
  };
  const Row rows[] = {
      {.name = "Monitors 1", .monitors = "1", .animated = false},
      {.name = "Monitors 7 counts as 0", .monitors = "7"},
      {.name = "no canvas for it", .monitors = "", .canvas_fails = true, .animated = false},
  };
  const Rect second{1024, 0, 1824, 600};
  for (const Row& row : rows) {
    Rig alone;
    Rig rig;
    rig.system.ini["Section"]["Monitors"] = row.monitors;
    startup::LoadSettings(rig.system, rig.settings);
    rig.system.monitors = {{{0, 0, 1024, 768}, true}, {second}};
    rig.host.cover_canvases_fail = row.canvas_fails;
    alone.Load();
    rig.Load();
    for (int frame = 0; frame < 20; ++frame) {
      alone->RunFrame();
      rig->RunFrame();
    }
    EXPECT_TRUE(std::ranges::equal(rig->Primary().Crawlers(), alone->Primary().Crawlers()));
    EXPECT_EQ(rig.host.covers, std::vector<Rect>{second}) << row.name;
    EXPECT_FALSE(rig->EndRequested()) << row.name;
    ASSERT_EQ(rig->Others().size(), row.animated ? 1u : 0u) << row.name;
    if (!row.animated) continue;
    const Scene& other = rig->Others()[0];
    EXPECT_TRUE(AllOnScreen(other)) << row.name;
    EXPECT_GT(Painted(other).size(), 2u) << row.name;
  }
}

// A move on a cover counts where it lies on the desktop: in pixels from the primary's top-left.
TEST(OnCoverMouseMove, JudgesTheMoveInThePrimarysPixels) {
  Rig rig;
  rig.system.monitors = {
      {{0, 0, 1024, 768}, true}, {{1024, 168, 1824, 768}}, {{100, -600, 900, 0}}};
  rig->PrepareSaver();
  rig->OnDisplayMouseMove(0, 0, 100, 300);
  rig->OnCoverMouseMove(0, 0, 0, 5, 132);  // (1029, 300): the same row
  rig->OnCoverMouseMove(1, 0, 0, 0, 100);  // (100, -500): the same column
  EXPECT_FALSE(rig->EndRequested());
  rig->OnCoverMouseMove(0, 0, 0, 6, 133);
  EXPECT_TRUE(rig->EndRequested());
}

// Started over on the new desktop: covers and canvases follow it, crawlers at each new centre.
TEST(OnDisplayChange, LaysTheSaverOutAgainAndStartsOver) {
  const Rect left{-800, 0, 0, 600};
  const Rect right{1367, 0, 2167, 600};
  const Rect above{0, -400, 600, 0};
  Rig rig({.Kind = 1, .Size = 5, .Speed = 5, .Num = 100, .Intval = 3});
  rig.system.monitors = {{{0, 0, 1024, 768}, true}, {left}};
  rig.Load();
  rig->OnTimerTick();
  rig->RunFrame();
  rig->OnDisplayMouseMove(0, 0, 1, 1);
  // None marked, so the first is the primary; a mirror of it gets no cover.
  rig.system.monitors = {{{0, 0, 1367, 1025}}, {right}, {{0, 0, 1367, 1025}}, {above}};
  rig.Screen(1367, 1025);
  rig->OnDisplayChange();
  rig->OnDisplayMouseMove(0, 0, 300, 300);  // the first move on the new screen only records
  rig->OnTimerTick();
  EXPECT_FALSE(rig->EndRequested());
  EXPECT_EQ(rig.host.covers, (std::vector<Rect>{right, above}));
  EXPECT_EQ(rig->Primary().TheCanvas().Width(), 1367);
  EXPECT_EQ(rig->Primary().TheCanvas().Height(), 1025);
  EXPECT_EQ(rig->Primary().ColourTable().size(), 171u);  // 1367 / 8 + 1 olive entries
  EXPECT_TRUE(AllAt(rig->Primary(), 684, 512));
  EXPECT_EQ(Painted(rig->Primary()), Pixels{0});
  EXPECT_EQ(rig->Ticks(), 1);
  ASSERT_EQ(rig->Others().size(), 2u);
  EXPECT_TRUE(AllAt(rig->Others()[1], 300, 200));
  // The monitor above goes again.
  rig.system.monitors = {{{0, 0, 1367, 1025}, true}, {right}};
  rig->OnDisplayChange();
  EXPECT_EQ(rig.host.covers, std::vector<Rect>{right});
  ASSERT_EQ(rig->Others().size(), 1u);
  EXPECT_EQ(rig->Others()[0].TheCanvas().Width(), 800);
}

// Each monitor's crawlers are capped alike; past its time budget a frame gives way to waiting
// input, however many crawlers are left on any monitor.
TEST(RunFrame, GivesWayToWaitingInputPastItsTimeBudget) {
  Rig rig({.Kind = 0, .Size = 5, .Speed = 5, .Num = kMax, .Intval = 10}, "/s", 64, 48);
  rig.system.monitors = {{{0, 0, 64, 48}, true}, {{64, 0, 128, 48}}};
  rig.host.milliseconds_per_look = 1;
  rig.host.input_pending = true;
  rig.Load();
  rig->RunFrame();
  const auto moved =
      std::ranges::count_if(rig->Primary().Crawlers(), [](auto& c) { return c.PosX != 32; });
  EXPECT_EQ(rig->Primary().Crawlers().size(), 1u << 20);
  EXPECT_EQ(rig->Others()[0].Crawlers().size(), 1u << 20);
  EXPECT_LT(moved, 6500);
}

// While the display is off the loop waits for messages instead of drawing; dimmed counts as on.
TEST(RunAnimation, DrawsNothingWhileTheDisplayIsOff) {
  struct Row {
    std::string name;
    int off_at;  // the yield after which the display goes off
    int on_at;   // the yield after which it comes back dimmed; 0: never
    int key_at;  // the yield in which a key is pressed
    int waits;
    int presents;
  };
  const Row rows[] = {
      {.name = "off, then dim", .off_at = 2, .on_at = 5, .key_at = 7, .waits = 3, .presents = 4},
      {.name = "a key while off", .off_at = 1, .on_at = 0, .key_at = 3, .waits = 2, .presents = 1},
  };
  for (const Row& c : rows) {
    Rig rig;
    rig.host.on_yield = [&](int yield) {
      if (yield == c.off_at) rig->OnDisplayStateChange(platform::kDisplayOff);
      if (yield == c.off_at + 1) rig->OnTimerTick();
      if (yield == c.on_at) rig->OnDisplayStateChange(platform::kDisplayDimmed);
      if (yield == c.key_at) rig->OnKeyDown(' ', 0);
    };
    rig->OnSaverLoad();
    EXPECT_EQ(rig.host.waits, c.waits) << c.name;
    EXPECT_EQ(rig.host.presents, c.presents) << c.name;
    EXPECT_EQ(rig.host.destroyed, 1) << c.name;
    EXPECT_EQ(rig->Ticks(), 0) << c.name << ": a tick counted while the display was off";
  }
}

}  // namespace
}  // namespace quillmere::saver
