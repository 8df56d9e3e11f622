// One crawler step's parts: the turn, the move along the heading and the wrap at the edges.
#pragma once

#include <cstdint>

namespace quillmere::saver {

// A heading turned by `turn` degrees, clockwise when side is 1, brought back into 0..359.
std::int32_t TurnHeading(std::int32_t heading, std::int32_t side, std::int32_t turn);

// The move of one step along a whole-degree heading, each part floored as the frame takes it.
struct Move {
  std::int64_t dx;
  std::int64_t dy;
  bool operator==(const Move&) const = default;
};
Move StepAlong(std::int32_t heading, std::int32_t step_length);

// A position past 0 or `extent` reappears at the opposite edge; both edges are valid.
std::int32_t WrapPosition(std::int64_t position, std::int32_t extent);

}  // namespace quillmere::saver
