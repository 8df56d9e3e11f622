// Any six settings values and any small screen: the saver sets up, draws frames, re-steers and
// ends without a fault, and every crawler stays on the screen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "saver/saver_window.h"
#include "tests/fake_platform.h"
#include "tests/saver/fake_saver_host.h"

using namespace quillmere;

namespace {

std::int32_t Take(const std::uint8_t*& data, std::size_t& size) {
  std::int32_t value = 0;
  const std::size_t n = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  startup::SettingsValues settings;
  for (const auto& setting : startup::kSettings) settings.*setting.value = Take(data, size);
  const std::int32_t shape = Take(data, size);
  const std::int32_t width = (shape & 0xFF) + 1;  // small screens keep every run quick
  const std::int32_t height = ((shape >> 8) & 0xFF) + 1;
  const int ticks = (shape >> 16) & 0x3F;

  testing::FakePlatform fake;
  fake.screen_width_twips = width * 15.0;
  fake.screen_height_twips = height * 15.0;
  testing::FakeSaverHost host;
  testing::FixedClock clock;
  saver::RandomSource random(static_cast<std::uint64_t>(shape), &clock);
  startup::StartState start{"/s", -1};
  saver::SaverLimits limits;
  limits.largest_crawler_count = 256;
  saver::SaverWindow window({fake, fake, fake, fake, host}, random, settings, start, limits);

  window.PrepareSaver();
  window.StartAnimation();
  for (int frame = 0; frame < 3; ++frame) {
    window.RunFrame();
    for (int tick = 0; tick < ticks; ++tick) window.OnTimerTick();
    clock.seconds += 0.01f;
  }
  for (const saver::Crawler& crawler : window.Crawlers().subspan(window.Crawlers().empty() ? 0 : 1)) {
    if (crawler.PosX < 0 || crawler.PosX > window.ScreenW || crawler.PosY < 0 ||
        crawler.PosY > window.ScreenH || crawler.Heading < 0 || crawler.Heading > 359) {
      std::abort();
    }
  }
  window.OnKeyDown(32, 0);
  if (window.EndRequested != -1) std::abort();
  return 0;
}
