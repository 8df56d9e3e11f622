// The saver run without a window: the same frames drawn into memory, for the renderer and
// for comparing the canvas of one build with another's.
#pragma once

#include <cstdint>
#include <vector>

#include "startup/settings.h"

namespace quillmere::saver {

struct HeadlessRun {
  startup::SettingsValues settings;
  std::int32_t width = 1024;
  std::int32_t height = 768;
  std::int32_t frames = 200;
  std::uint64_t seed = 1;
  float time_of_day = 43200.0f;  // the clock stands still, so a seed gives one picture
};

// The canvas after the run's frames, width x height pixels, each 0x00RRGGBB.
std::vector<std::uint32_t> RenderHeadless(const HeadlessRun& run);

}  // namespace quillmere::saver
