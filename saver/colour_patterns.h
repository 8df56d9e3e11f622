// The five colour patterns the crawlers' trails are painted in.
#pragma once

#include <cstdint>
#include <vector>

#include "saver/random.h"
#include "startup/settings.h"

namespace quillmere::saver {

using Colour = std::int32_t;  // red + 256*green + 65536*blue

using startup::kPatternCount;

// Packs a colour, taking a component above 255 as 255.
constexpr Colour Rgb(std::int32_t red, std::int32_t green, std::int32_t blue) {
  auto clamp = [](std::int32_t c) { return c > 255 ? 255 : (c < 0 ? 0 : c); };
  return clamp(red) + 256 * clamp(green) + 65536 * clamp(blue);
}

// The colour table of pattern 0..4 for a window `width` pixels wide (entries 0..LastColor);
// empty for a pattern outside 0..4. Pattern 4 draws from `random`.
std::vector<Colour> PatternColours(std::int32_t pattern, float width, RandomSource& random);

}  // namespace quillmere::saver
