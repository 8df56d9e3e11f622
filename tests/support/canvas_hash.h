// Runs drawn in memory and hashed, the same for every build of the saver core.
#pragma once

#include <cstdint>
#include <span>

#include "saver/headless.h"

namespace quillmere::testing {

// FNV-1a over the pixels' bytes, lowest byte first.
inline std::uint64_t CanvasHash(std::span<const std::uint32_t> pixels) {
  constexpr std::uint64_t kOffset = 0xCBF29CE484222325ULL;
  constexpr std::uint64_t kPrime = 0x100000001B3ULL;
  std::uint64_t hash = kOffset;
  for (std::uint32_t pixel : pixels) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash = (hash ^ ((pixel >> shift) & 0xFFu)) * kPrime;
    }
  }
  return hash;
}

struct RecordedCanvas {
  saver::HeadlessRun run;
  std::uint64_t hash;
};

// The gold picture of the defaults, and the random colours and patterns no other test draws.
inline const RecordedCanvas kRecordedCanvases[] = {
    {{.settings = {0, 5, 5, 100, 10, 0}}, 0xc0116f80533edd83},
    {{.settings = {4, 5, 5, 100, 10, 1}, .frames = 80, .seed = 99}, 0x92dc33f1cd46adf3},
    {{.settings = {5, 0, 10, 200, 10, 2}, .width = 640, .height = 480, .frames = 60, .seed = 5},
     0xeb62594c78a23b4f},
};

}  // namespace quillmere::testing
