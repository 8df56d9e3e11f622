#include "saver/saver_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/saver/fake_saver_host.h"

namespace quillmere::saver {
namespace {

using Rig = testing::SaverRig;
using platform::Rect;
using testing::AllAt;
constexpr platform::PowerSource kSession = platform::PowerSource::Session;
constexpr platform::PowerSource kConsole = platform::PowerSource::Console;

std::vector<std::int32_t> ColourIndices(const Scene& scene) {
  std::vector<std::int32_t> dealt;
  for (const Crawler& c : scene.Crawlers()) dealt.push_back(c.ColorIndex);
  return dealt;
}

// 64 wide: gold 39 entries, olive and blue-grey 9, hue 31, random 17; 128 wide: 39, 17, 17, 61, 33.
TEST(OnTimerTick, EveryMonitorDrawsEveryPatternAlikeInATableAndPictureOfItsOwn) {
  const std::map<std::int32_t, std::size_t> entries = {{0, 39}, {1, 9}, {2, 9}, {3, 31}, {4, 17}};
  const std::map<std::int32_t, std::size_t> wider = {{0, 39}, {1, 17}, {2, 17}, {3, 61}, {4, 33}};
  const startup::SettingsValues settings = {
      .Kind = 5, .Size = 2, .Speed = 10, .Num = 20, .Intval = INT32_MIN, .Sync = 1};
  Rig alone(settings, "/s", 64, 48);
  Rig rig(settings, "/s", 64, 48);
  rig.system.monitors = {{{0, 0, 64, 48}, true}, {{64, 0, 192, 48}}, {{192, 0, 232, 30}}};
  alone.Load();
  rig.Load();
  for (const Scene& other : rig->Others()) EXPECT_NE(ColourIndices(other), std::vector(20, 0));
  std::vector<std::vector<std::int32_t>> patterns(3);  // the primary's, then each other's
  for (int tick = 0; tick < 1000; ++tick) {
    const auto before = std::pair(ColourIndices(rig->Primary()), ColourIndices(rig->Others()[0]));
    alone->OnTimerTick();
    rig->OnTimerTick();
    const Scene& other = rig->Others()[0];
    ASSERT_EQ(rig->Primary().ColourTable().size(), entries.at(rig->Primary().Pattern()));
    ASSERT_EQ(other.ColourTable().size(), wider.at(other.Pattern())) << "tick " << tick;
    ASSERT_NE(ColourIndices(rig->Primary()), before.first) << "tick " << tick;
    ASSERT_NE(ColourIndices(other), before.second) << "tick " << tick;
    for (std::size_t m = 0; m < 3; ++m)
      patterns[m].push_back((m == 0 ? rig->Primary() : rig->Others()[m - 1]).Pattern());
    for (int frame = 0; frame < 3; ++frame) {
      alone->RunFrame();
      rig->RunFrame();
    }
    for (const Crawler& c : rig->Others()[1].Crawlers())
      ASSERT_TRUE(c.PosX >= 0 && c.PosX <= 40 && c.PosY >= 0 && c.PosY <= 30) << tick;
  }
  for (std::int32_t pattern = 0; pattern < 5; ++pattern) {
    EXPECT_LE(std::abs(std::ranges::count(patterns[0], pattern) - 200), 60) << pattern;
    EXPECT_LE(std::abs(std::ranges::count(patterns[1], pattern) - 200), 60) << pattern;
  }
  EXPECT_EQ(std::set(patterns.begin(), patterns.end()).size(), 3u);
  EXPECT_TRUE(
      std::ranges::equal(rig->Primary().canvas().Pixels(), alone->Primary().canvas().Pixels()));
}

// One crawler's disc covers the canvas; with Sync 2 it keeps its own index through new tables.
TEST(RunFrame, PaintsTheColourTableInTurnThroughRebuilds) {
  for (const std::int32_t sync : {0, 2}) {
    Rig rig({.Kind = 5, .Size = 5000, .Speed = 5, .Num = 1, .Intval = 25, .Sync = sync}, "/s", 1024,
            2);
    rig.Load();
    const Scene& scene = rig->Primary();
    std::int32_t index = scene.Crawlers()[0].ColorIndex;
    rig.host.on_yield = [&](int frame) {
      if (index > scene.LastColor()) index = 0;  // left behind by a larger table
      const std::int32_t last = scene.LastColor();
      ASSERT_EQ(rig.host.window.canvas.front(),
                PixelOf(scene.ColourTable()[static_cast<std::size_t>(index)]))
          << "Sync " << sync << ", frame " << frame;
      rig->OnTimerTick();
      // The shared colour moves on after the yield, against the table built there.
      index = index + 1 > (sync == 0 ? scene.LastColor() : last) ? 0 : index + 1;
      ASSERT_TRUE(sync == 0 || scene.Crawlers()[0].ColorIndex == index) << "Sync " << sync;
    };
    for (int frame = 0; frame < 600 && !HasFailure(); ++frame) rig->RunFrame();
  }
}

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
    std::vector<Act> acts = {};
    std::vector<std::pair<float, float>> moves = {};
    Calls calls;
    std::string args = "/s";
    System system = kNT;
  };
  const Row rows[] = {
      {.name = "a key on 9x",
       .acts = {key},
       .calls = {version, "ShowCursor(-1)", verify, running, "ShowCursor(7)", active},
       .system = k9x},
      {.name = "no argument, 9x", .acts = {key}, .calls = {active}, .args = "", .system = k9x},
      {.name = "moves along one axis", .moves = {{1, 1}, {1, 1}, {2, 1}, {1, 9}}, .calls = {}},
      {.name = "a refusal records anew",
       .moves = {{1, 1}, {2, 2}, {3, 3}, {4, 4}},
       .calls = {version, "ShowCursor(-1)", verify, "ShowCursor(0)", version, "ShowCursor(7)",
                 verify, "ShowCursor(0)"},
       .system = k9xRefusing},
      {.name = "closed, then deactivated",
       .acts = {[](Rig& r) { r->OnCloseRequest(); }, [](Rig& r) { r->OnLoseActivation(); }},
       .calls = nt_end},
      {.name = "remote", .acts = {[](Rig& r) { r->OnSessionChange(3); }}, .calls = nt_end},
      {.name = "an unlock", .acts = {[](Rig& r) { r->OnSessionChange(8); }}, .calls = {}},
      {.name = "no window",
       .acts = {[](Rig& r) { r.host.surfaces_fail = true; }, [](Rig& r) { r->OnSaverLoad(); }},
       .calls = {running, "ShowCursor(-1)", active},
       .system = k9x},
  };
  for (const Row& row : rows) {
    Rig rig(startup::DefaultSettings(), row.args);
    rig.system.platform_id = row.system == kNT ? platform::kPlatformWin32Nt : 1;
    rig.system.verify_result = row.system == k9xRefusing ? 0 : 1;
    rig.system.show_cursor_result = 7;
    for (const Act& act : row.acts) act(rig);
    for (auto [x, y] : row.moves) rig->OnDisplayMouseMove(0, 0, x, y);
    EXPECT_EQ(rig.system.calls, row.calls) << row.name;
    EXPECT_EQ(rig->EndRequested(), !row.calls.empty() && row.calls.back() == active) << row.name;
    EXPECT_EQ(rig.host.destroyed, rig.host.surfaces_fail) << row.name;
  }
}

TEST(PrepareSaver, AnimatesEveryOtherMonitorByDefaultKeepsItBlackWithoutACanvasAndCapsCrawlers) {
  struct Row {
    std::string name;
    std::optional<std::string> monitors = {};  // the key's text in the file
    bool canvas_fails = false;
    bool animated = true;
  };
  const Row rows[] = {
      {.name = "Monitors 7 counts as 0", .monitors = "7"},
      {.name = "no Monitors key"},
      {.name = "no canvas for it", .canvas_fails = true, .animated = false},
  };
  const Rect second{1024, 0, 1824, 600};
  for (const Row& row : rows) {
    Rig rig;
    rig.system.ini["Section"]["Num"] = "1073741824";  // 2^30: more than any monitor takes
    if (row.monitors) rig.system.ini["Section"]["Monitors"] = *row.monitors;
    startup::LoadSettings(rig.system, rig.settings);
    rig.system.monitors = {{{0, 0, 1024, 768}, true}, {second}};
    rig.host.cover_canvases_fail = row.canvas_fails;
    rig.Load();
    EXPECT_EQ(rig.host.covers, std::vector<Rect>{second}) << row.name;
    EXPECT_FALSE(rig->EndRequested()) << row.name;
    EXPECT_EQ(rig->Others().size(), row.animated ? 1u : 0u) << row.name;
    EXPECT_EQ(rig->Primary().Crawlers().size(), 1u << 20) << row.name;
    for (const Scene& other : rig->Others())
      EXPECT_EQ(other.Crawlers().size(), 1u << 20) << row.name;
  }
}

TEST(OnDisplayChange, LaysTheSaverOutAgainAndReSteers) {
  const Rect right{1367, 168, 2167, 768};
  const Rect above{100, -400, 700, 0};
  Rig rig({.Kind = 1, .Size = 5, .Speed = 5, .Num = 100, .Intval = 3, .Sync = 1});
  rig.system.monitors = {{{0, 0, 1024, 768}, true}, {{-800, 0, 0, 600}}};
  rig.Load();
  const std::vector<std::int32_t> dealt = ColourIndices(rig->Primary());
  rig->OnTimerTick();
  rig->OnDisplayMouseMove(0, 0, 1, 1);
  // None marked, so the first is the primary; a mirror of it gets no cover.
  rig.system.monitors = {{{0, 0, 1367, 1025}}, {right}, {{0, 0, 1367, 1025}}, {above}};
  rig.system.screen_width_twips = 1367 * 15;
  rig.system.screen_height_twips = 1025 * 15;
  rig->OnDisplayChange();
  rig->OnDisplayMouseMove(0, 0, 100, 300);  // the first move on the new screen only records
  rig->OnCoverMouseMove(0, 0, 0, 5, 132);   // (1372, 300): the same row
  rig->OnCoverMouseMove(1, 0, 0, 0, 100);   // (100, -300): the same column
  rig->OnTimerTick();
  EXPECT_FALSE(rig->EndRequested());
  EXPECT_EQ(rig.host.covers, (std::vector<Rect>{right, above}));
  EXPECT_EQ(rig->Primary().canvas().Width(), 1367);
  EXPECT_EQ(rig->Primary().ColourTable().size(), 171u);  // 1367 / 8 + 1 olive entries
  EXPECT_NE(ColourIndices(rig->Primary()), dealt);
  EXPECT_TRUE(AllAt(rig->Primary(), 684, 512));
  EXPECT_EQ(rig->Ticks(), 1);
  ASSERT_EQ(rig->Others().size(), 2u);
  EXPECT_TRUE(AllAt(rig->Others()[1], 300, 200));
  rig.system.monitors = {{{0, 0, 1367, 1025}, true}, {right}};
  rig->OnDisplayChange();
  EXPECT_EQ(rig.host.covers, std::vector<Rect>{right});
  EXPECT_EQ(rig->Others().size(), 1u);
  rig->OnCoverMouseMove(0, 0, 0, 5, 132);
  rig->OnCoverMouseMove(0, 0, 0, 6, 133);
  EXPECT_TRUE(rig->EndRequested());
}

// Dimmed counts as on; a remote user watches the session's own monitor where the system tells it.
TEST(RunAnimation, DrawsNothingWhileTheMonitorIsOff) {
  struct Row {
    std::string name;
    bool session_told;
    platform::PowerSource told_by;
    int waits;
    std::size_t presents;
    int ticks = 0;
  };
  const Row rows[] = {
      {.name = "console", .session_told = false, .told_by = kConsole, .waits = 3, .presents = 2},
      {.name = "session", .session_told = true, .told_by = kSession, .waits = 3, .presents = 2},
      {.name = "console while the session's is told",
       .session_told = true,
       .told_by = kConsole,
       .waits = 0,
       .presents = 5,
       .ticks = 1},
  };
  for (const Row& row : rows) {
    Rig rig;
    rig.host.session_power_told = row.session_told;
    rig.host.on_yield = [&](int yield) {
      if (yield == 1 || yield == 4) rig->OnMonitorPowerChange(row.told_by, platform::kMonitorOff);
      if (yield == 2) rig->OnTimerTick();
      if (yield == 3) rig->OnMonitorPowerChange(row.told_by, platform::kMonitorDimmed);
      if (yield == 5) rig->OnKeyDown(' ', 0);
    };
    rig->OnSaverLoad();
    EXPECT_EQ(rig.host.waits, row.waits) << row.name;
    EXPECT_EQ(rig.host.frame_times.size(), row.presents) << row.name;
    EXPECT_EQ(rig->Ticks(), row.ticks) << row.name;
  }
}

// Windows show their canvases after each frame, copying 5 x 5 disc boxes, or all after a re-steer;
// a repaint copies the asked part cut to the canvas, and a cover without crawlers has nothing.
TEST(RunFrame, CopiesOnlyWhatTheFrameDrewAndAllOfACanvasStartedOver) {
  constexpr std::uint32_t kStale = 0xBAD;
  Rig rig({.Kind = 5, .Size = 2, .Speed = 10, .Num = 5, .Intval = 4, .Sync = 1}, "/s", 64, 48);
  rig.system.monitors = {{{0, 0, 64, 48}, true}, {{64, 0, 104, 30}}};
  rig.Load();
  testing::FakeSurface& window = rig.host.window;
  testing::FakeSurface& cover = rig.host.cover_surfaces.at(0);
  std::int64_t before = 0;
  rig.host.on_yield = [&](int frame) {
    const std::int64_t copied = window.copied + cover.copied - before;
    before += copied;
    // A tick every ten frames, so a re-steer in the yield of every fortieth.
    EXPECT_TRUE(frame % 40 == 1 ? copied == 64 * 48 + 40 * 30 : copied <= 2 * 5 * 25) << frame;
    if (frame % 10 == 0) rig->OnTimerTick();
  };
  for (int frame = 0; frame < 190 && !HasFailure(); ++frame) rig->RunFrame();
  std::ranges::fill(window.screen, kStale);
  std::ranges::fill(cover.screen, kStale);
  rig->OnPaint({10, 20, 30, 100});
  rig->OnCoverPaint(0, {-5, -5, 40, 30});
  rig->OnCoverPaint(1, {0, 0, 10, 10});
  for (std::size_t i = 0; i < window.screen.size(); ++i) {
    const std::size_t x = i % 64;
    const bool asked = x >= 10 && x < 30 && i / 64 >= 20;
    ASSERT_EQ(window.screen[i], asked ? window.canvas[i] : kStale) << "pixel " << i;
  }
  EXPECT_EQ(cover.screen, cover.canvas);
}

// A frame over a period late restarts the deadlines from its end, never a burst to catch up.
TEST(RunAnimation, PacesTheFramesAsTheFrameRateLineOrTheEnergySaverAsks) {
  using Times = std::vector<std::uint64_t>;
  struct Row {
    std::string name;
    std::optional<std::string> line = {};  // FrameRate's text in the file
    bool energy_saver = false;
    std::int32_t refresh_rate = 0;
    std::optional<bool> energy_saver_later = {};  // what it turns to in the first frame's yield
    std::uint64_t late = 0;                       // how long the third frame's yield takes
    std::optional<std::uint64_t> key_at = {};     // when a key comes, ending the wait for a frame
    Times presented;  // when the first five frames were presented, in microseconds
  };
  const Times unpaced = {0, 0, 0, 0, 0};
  const Row rows[] = {
      {.name = "FrameRate 1000", .line = "1000", .presented = {0, 1000, 2000, 3000, 4000}},
      {.name = "FrameRate 1001", .line = "1001", .energy_saver = true, .presented = unpaced},
      {.name = "no number", .line = "fast", .energy_saver = true, .presented = unpaced},
      {.name = "no line", .refresh_rate = 75, .presented = unpaced},
      {.name = "the energy saver at the default rate, an empty line",
       .line = "",
       .energy_saver = true,
       .refresh_rate = 1,
       .presented = {0, 16666, 33333, 50000, 66666}},
      {.name = "the energy saver going on",
       .refresh_rate = 50,
       .energy_saver_later = true,
       .presented = {0, 20000, 40000, 60000, 80000}},
      {.name = "the energy saver going off",
       .energy_saver = true,
       .energy_saver_later = false,
       .presented = unpaced},
      {.name = "35 ms late",
       .line = "100",
       .late = 35000,
       .presented = {0, 10000, 20000, 55000, 65000}},
      {.name = "15 ms late",
       .line = "100",
       .late = 15000,
       .presented = {0, 10000, 20000, 35000, 40000}},
      {.name = "a key in a wait at FrameRate 1",
       .line = " 1",
       .key_at = 300000,
       .presented = {0, 300000, 300000, 300000, 300000}},
  };
  for (const Row& row : rows) {
    Rig rig;
    if (row.line) rig.system.ini["Section"]["FrameRate"] = *row.line;
    startup::LoadSettings(rig.system, rig.settings);
    rig.host.per_reading = 0;
    rig.host.energy_saver = row.energy_saver;
    rig.host.refresh_rate = row.refresh_rate;
    rig.host.message_at = row.key_at;
    rig.host.on_yield = [&](int yield) {
      if (row.key_at && rig.host.now == *row.key_at) rig->OnKeyDown(' ', 0);
      if (yield == 1 && row.energy_saver_later) rig->OnEnergySaverChange(*row.energy_saver_later);
      if (rig.host.frame_times.size() == 3 && rig.host.frame_times.back() == rig.host.now)
        rig.host.now += row.late;
    };
    rig.Load();
    for (int frame = 0; frame < 5; ++frame) rig->RunFrame();
    EXPECT_EQ(rig.host.frame_times, row.presented) << row.name;
  }
}

}  // namespace
}  // namespace quillmere::saver
