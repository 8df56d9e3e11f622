// Any six settings values and any small screen: the saver sets up, draws frames, re-steers and
// ends on a key without a fault, and every crawler stays on the screen.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "saver/saver_window.h"
#include "tests/fake_platform.h"
#include "tests/saver/fake_saver_host.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t values[7] = {};  // the six settings in file order, then the screen and the ticks
  std::memcpy(values, data, std::min(size, sizeof values));
  startup::SettingsValues settings;
  for (std::size_t i = 0; i < startup::kSettings.size(); ++i) settings.*startup::kSettings[i].value = values[i];
  const std::int32_t shape = values[6];
  testing::FakePlatform fake;
  fake.screen_width_twips = ((shape & 0xFF) + 1) * 15.0;  // small screens keep every run quick
  fake.screen_height_twips = (((shape >> 8) & 0xFF) + 1) * 15.0;
  const int ticks = (shape >> 16) & 0x3F;
  testing::FakeSaverHost host;
  testing::FixedClock clock;
  saver::RandomSource random(static_cast<std::uint64_t>(shape), &clock);
  startup::StartState start{"/s", -1};
  saver::SaverWindow window({fake, fake, fake, fake, host}, random, settings, start, {256, 100, 64});
  host.on_yield = [&](int n) {
    for (int tick = 0; tick < ticks; ++tick) window.OnTimerTick();
    clock.seconds += 0.01f;
    if (n == 3) window.OnKeyDown(32, 0);
  };
  window.OnSaverLoad();
  const auto crawlers = window.Crawlers().subspan(window.Crawlers().empty() ? 0 : 1);
  const bool on_screen = std::ranges::all_of(crawlers, [&](const saver::Crawler& c) {
    return c.PosX >= 0 && c.PosX <= window.ScreenW && c.PosY >= 0 && c.PosY <= window.ScreenH && c.Heading >= 0 &&
           c.Heading <= 359;
  });
  if (!on_screen || window.EndRequested != -1 || host.destroyed != 1 || host.presents != 3) std::abort();
  return 0;
}
