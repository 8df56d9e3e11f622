// Any settings on any small screen: sound frames and re-steers, ended by a key after the third.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/saver/fake_saver_host.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t values[7] = {};  // the six settings in file order, then the screen and the ticks
  std::memcpy(values, data, std::min(size, sizeof values));
  startup::SettingsValues settings;
  for (std::size_t i = 0; i < startup::kSettings.size(); ++i)
    settings.*startup::kSettings[i].value = values[i];
  const std::int32_t shape = values[6];
  const std::int32_t ticks = (shape >> 16) & 0x3F;
  // Small screens and a small crawler table keep every run quick.
  testing::SaverRig rig(settings, "/s", (shape & 0xFF) + 1, ((shape >> 8) & 0xFF) + 1,
                        static_cast<std::uint64_t>(shape), {256, 100'000, 64});
  rig.host.on_yield = [&](int n) {
    // Each frame's copies leave the window showing exactly its canvas.
    if (rig.host.window.screen != rig.host.window.canvas) std::abort();
    for (int tick = 0; tick < ticks; ++tick) rig->OnTimerTick();
    if (n == 3) rig->OnKeyDown(32, 0);
  };
  rig->OnSaverLoad();
  const saver::Scene& shown = rig->Primary();
  // A Kind beyond the chooser paints with the gold table.
  const std::int32_t pattern =
      settings.Kind >= 0 && settings.Kind < startup::kPatternCount ? settings.Kind : 0;
  const bool black = std::ranges::max(shown.canvas().Pixels()) == 0;
  for (const saver::Crawler& c : shown.Crawlers()) {
    if (c.PosX < 0 || c.PosX > shown.ScreenW() || c.PosY < 0 || c.PosY > shown.ScreenH())
      std::abort();
  }
  if (!rig->EndRequested() || rig.host.destroyed != 1 || rig.host.frame_times.size() != 3)
    std::abort();
  if (settings.Kind != 5 && shown.Pattern() != pattern) std::abort();
  if ((settings.Size < 0 || shown.Crawlers().empty()) && !black) std::abort();
  return 0;
}
