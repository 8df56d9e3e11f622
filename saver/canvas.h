// The off-screen canvas the crawlers paint on, and the filled discs they stamp.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/saver_host.h"
#include "saver/colour_patterns.h"

namespace quillmere::saver {

// A colour as the canvas stores it: 0x00RRGGBB (bytes blue, green, red, 0 in memory).
constexpr std::uint32_t PixelOf(Colour colour) {
  const auto c = static_cast<std::uint32_t>(colour);
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// A view of width x height pixels, rows top to bottom, in memory it does not own; it remembers
// what was drawn on it since the last copy to the screen, starting with all of it.
class Canvas {
 public:
  Canvas() = default;
  Canvas(std::span<std::uint32_t> pixels, std::int32_t width, std::int32_t height);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  std::span<const std::uint32_t> Pixels() const { return pixels_; }

  void Clear();
  // What was drawn since the last ForgetChanges (or since the canvas was made).
  platform::CanvasChanges Changes() const { return {.whole = whole_changed_, .boxes = boxes_}; }
  void ForgetChanges();

  // Pixel (x, y) belongs to the disc when (x - cx)^2 + (y - cy)^2 <= radius^2; the part inside
  // the canvas is filled. A negative radius draws nothing, radius 0 the centre pixel alone.
  void StampDisc(std::int32_t cx, std::int32_t cy, std::int32_t radius, std::uint32_t pixel);

 private:
  // Half the span width of each row 0..radius away from the centre.
  std::span<const std::int32_t> HalfWidths(std::int32_t radius);
  void MarkChanged(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
  void MarkAllChanged();

  std::span<std::uint32_t> pixels_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t table_radius_ = -1;
  std::vector<std::int32_t> half_widths_;
  bool whole_changed_ = true;
  std::vector<platform::Rect> boxes_;
  std::int64_t boxes_area_ = 0;
};

}  // namespace quillmere::saver
