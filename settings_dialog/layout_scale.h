// Layout pixels (the dialog's and the preview's 96-DPI design) to a monitor's physical pixels
// and back.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "settings_dialog/layout.h"

namespace quillmere::settings_dialog {

class LayoutScale {
 public:
  static constexpr std::int32_t kLayoutDpi = 96;

  // A DPI the system could not tell counts as the layout's own.
  constexpr explicit LayoutScale(std::int32_t dpi = kLayoutDpi)
      : dpi_(dpi > 0 ? dpi : kLayoutDpi) {}

  constexpr std::int32_t dpi() const { return dpi_; }
  // Whole factors double pixels so that the artwork stays crisp; others take a smooth stretch.
  constexpr bool whole() const { return dpi_ % kLayoutDpi == 0; }

  // This scale's pixels in another's: round(v * other dpi / dpi) with halves up, the one rounding
  // rule between scales.
  constexpr std::int32_t Rescale(std::int32_t v, LayoutScale other) const {
    return FloorDiv(2 * std::int64_t{v} * other.dpi_ + dpi_, 2 * std::int64_t{dpi_});
  }
  // 231 at 144 DPI is 347.
  constexpr std::int32_t ToPhysical(std::int32_t v) const {
    return LayoutScale().Rescale(v, *this);
  }
  // The layout pixel a physical pixel lies in: the last v with ToPhysical(v) <= p.
  constexpr std::int32_t ToLayout(std::int32_t p) const {
    return FloorDiv(std::int64_t{p} * kLayoutDpi + kLayoutDpi / 2 - 1, dpi_);
  }
  // A physical length (a measured text) in layout pixels, rounded up.
  constexpr std::int32_t LengthToLayout(std::int32_t p) const {
    return -FloorDiv(-std::int64_t{p} * kLayoutDpi, dpi_);
  }
  // Edges map one by one, so boxes that touch at 96 DPI touch at every scale and a point
  // lies in a box's physical form exactly when its layout pixel lies in the box.
  constexpr Box ToPhysical(const Box& box) const {
    const std::int32_t x = ToPhysical(box.x);
    const std::int32_t y = ToPhysical(box.y);
    return {x, y, ToPhysical(box.x + box.w) - x, ToPhysical(box.y + box.h) - y};
  }

 private:
  static constexpr std::int32_t FloorDiv(std::int64_t n, std::int64_t d) {
    return static_cast<std::int32_t>(n / d - (n % d != 0 && n < 0 ? 1 : 0));
  }
  std::int32_t dpi_;
};

// The dialog's window after a DPI change: where the system suggests, at the new scale's size.
constexpr platform::Rect DialogWindowFor(const platform::Rect& suggested, LayoutScale scale) {
  const Box client = scale.ToPhysical(kDialogClient);
  return {suggested.left, suggested.top, suggested.left + client.w, suggested.top + client.h};
}

}  // namespace quillmere::settings_dialog
