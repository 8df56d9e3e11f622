#include "saver/canvas.h"

#include <algorithm>
#include <cmath>

namespace quillmere::saver {
namespace {

// floor(sqrt(n)) for 0 <= n < 2^62, exact.
std::int64_t IntegerSqrt(std::int64_t n) {
  auto root = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
  while (root * root > n) --root;
  while ((root + 1) * (root + 1) <= n) ++root;
  return root;
}

std::int64_t Square(std::int64_t v) { return v * v; }

constexpr std::int32_t kLargestTabledRadius = 1 << 14;
// Past this many boxes, or boxes covering more than a canvas's quarter, a frame copies the whole
// canvas: one copy then costs less than the boxes' copies.
constexpr std::size_t kMostBoxes = 1024;
constexpr std::int64_t kWholeCopyShare = 4;

// Four pixels a store at any optimisation level, where a plain loop or memcpy may store fewer.
using Quad = std::uint32_t __attribute__((vector_size(16), may_alias));
// The same four pixels at any pixel's address (a packed wrapper: every compiler honours its
// alignment of one, where some ignore a lowered alignment on the vector type itself).
struct __attribute__((packed, may_alias)) LooseQuad {
  Quad pixels;
};

// A row of four pixels or more takes a store at each end and aligned ones between, so only the
// two ends can span two cache lines.
void FillRow(std::uint32_t* first, std::int64_t count, Quad quad) {
  if (count < 4) {
    for (std::uint32_t* const end = first + count; first < end; ++first) *first = quad[0];
    return;
  }
  std::uint32_t* const last_four = first + count - 4;
  reinterpret_cast<LooseQuad*>(first)->pixels = quad;
  const auto after_first = reinterpret_cast<std::uintptr_t>(first + 4) & ~(sizeof(Quad) - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(last_four);
  for (std::uintptr_t at = after_first; at < end; at += sizeof(Quad)) {
    *reinterpret_cast<Quad*>(at) = quad;
  }
  reinterpret_cast<LooseQuad*>(last_four)->pixels = quad;
}

}  // namespace

Canvas::Canvas(std::span<std::uint32_t> pixels, std::int32_t width, std::int32_t height)
    : pixels_(pixels), width_(width), height_(height) {
  // Memory short of the stated size leaves nothing to draw on.
  const bool fits =
      width > 0 && height > 0 &&
      pixels.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (!fits) width_ = height_ = 0;
}

void Canvas::Clear() {
  std::fill(pixels_.begin(), pixels_.end(), 0u);
  MarkAllChanged();
}

void Canvas::ForgetChanges() {
  whole_changed_ = false;
  boxes_.clear();
  boxes_area_ = 0;
}

void Canvas::MarkAllChanged() {
  whole_changed_ = true;
  boxes_.clear();
}

void Canvas::MarkChanged(std::int64_t left, std::int64_t top, std::int64_t right,
                         std::int64_t bottom) {
  if (whole_changed_) return;
  boxes_area_ += (right - left) * (bottom - top);
  if (boxes_.size() == kMostBoxes ||
      boxes_area_ * kWholeCopyShare > std::int64_t{width_} * height_) {
    return MarkAllChanged();
  }
  boxes_.push_back({static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                    static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)});
}

std::span<const std::int32_t> Canvas::HalfWidths(std::int32_t radius) {
  if (radius != table_radius_) {
    half_widths_.resize(static_cast<std::size_t>(radius) + 1);
    const std::int64_t r2 = Square(radius);
    for (std::int32_t dy = 0; dy <= radius; ++dy) {
      half_widths_[static_cast<std::size_t>(dy)] =
          static_cast<std::int32_t>(IntegerSqrt(r2 - Square(dy)));
    }
    table_radius_ = radius;
  }
  return half_widths_;
}

void Canvas::StampDisc(std::int32_t cx, std::int32_t cy, std::int32_t radius, std::uint32_t pixel) {
  if (radius < 0 || width_ <= 0 || height_ <= 0) return;
  const std::int64_t far_x =
      std::max<std::int64_t>(std::abs(std::int64_t{cx}), std::abs(std::int64_t{width_} - 1 - cx));
  const std::int64_t far_y =
      std::max<std::int64_t>(std::abs(std::int64_t{cy}), std::abs(std::int64_t{height_} - 1 - cy));
  // A disc that reaches every corner covers the canvas; no table as large as the radius.
  if (Square(radius) >= Square(far_x) + Square(far_y)) {
    std::fill(pixels_.begin(), pixels_.end(), pixel);
    MarkAllChanged();
    return;
  }
  const Quad quad = {pixel, pixel, pixel, pixel};
  // A centre far outside the canvas can still leave a huge radius; its rows are computed alone.
  const bool tabled = radius <= kLargestTabledRadius;
  const bool inside = tabled && cx >= radius && cy >= radius &&
                      std::int64_t{cx} + radius < width_ && std::int64_t{cy} + radius < height_;
  if (inside) {
    const std::span<const std::int32_t> half = HalfWidths(radius);
    std::uint32_t* const centre = pixels_.data() + std::int64_t{cy} * width_ + cx;
    FillRow(centre - half[0], 2 * std::int64_t{half[0]} + 1, quad);
    for (std::int32_t dy = 1; dy <= radius; ++dy) {
      const std::int64_t w = half[static_cast<std::size_t>(dy)];
      const std::int64_t offset = std::int64_t{dy} * width_;
      FillRow(centre - offset - w, 2 * w + 1, quad);
      FillRow(centre + offset - w, 2 * w + 1, quad);
    }
    MarkChanged(std::int64_t{cx} - radius, std::int64_t{cy} - radius, std::int64_t{cx} + radius + 1,
                std::int64_t{cy} + radius + 1);
    return;
  }
  const std::int64_t top = std::max<std::int64_t>(0, std::int64_t{cy} - radius);
  const std::int64_t bottom = std::min<std::int64_t>(height_ - 1, std::int64_t{cy} + radius);
  if (top > bottom) return;
  std::int64_t leftmost = width_;
  std::int64_t rightmost = -1;
  std::span<const std::int32_t> half =
      tabled ? HalfWidths(radius) : std::span<const std::int32_t>{};
  for (std::int64_t y = top; y <= bottom; ++y) {
    const std::int64_t dy = std::abs(y - cy);
    const std::int64_t w =
        tabled ? half[static_cast<std::size_t>(dy)] : IntegerSqrt(Square(radius) - Square(dy));
    const std::int64_t left = std::max<std::int64_t>(0, cx - w);
    const std::int64_t right = std::min<std::int64_t>(width_ - 1, cx + w);
    if (left > right) continue;
    FillRow(pixels_.data() + y * width_ + left, right - left + 1, quad);
    leftmost = std::min(leftmost, left);
    rightmost = std::max(rightmost, right);
  }
  if (leftmost <= rightmost) MarkChanged(leftmost, top, rightmost + 1, bottom + 1);
}

}  // namespace quillmere::saver
