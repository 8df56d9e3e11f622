#include "settings_dialog/skin.h"

#include <cmath>

#include "startup/numbers.h"

namespace quillmere::settings_dialog {
namespace {

constexpr double kPainterPeak = 220;
constexpr std::int32_t kBlueLift = 30;

std::int32_t Pixels(double twips, double twips_per_pixel) {
  return static_cast<std::int32_t>(startup::TwipsToPixels(twips, twips_per_pixel));
}

}  // namespace

std::vector<BackgroundRow> BackgroundRows(std::int32_t height) {
  std::vector<BackgroundRow> rows;
  if (height <= 0) return rows;
  const double a = height / startup::kApproximatePi;
  for (std::int32_t y = 0; y <= height; ++y) {
    const auto v = static_cast<std::uint32_t>(
        startup::RoundHalfEven(std::fabs(std::sin(y / a) * kPainterPeak)));
    rows.push_back({y, v | (v << 8) | ((v + kBlueLift) << 16)});
  }
  return rows;
}

std::vector<TileCopy> TileCopies(std::int32_t panel_width, std::int32_t panel_height,
                                 std::int32_t tile_width, std::int32_t tile_height) {
  std::vector<TileCopy> copies;
  // A tile without area would never cross the panel's edge.
  if (tile_width <= 0 || tile_height <= 0) return copies;
  std::int32_t x = 0;
  std::int32_t y = 0;
  while (true) {
    copies.push_back({x, y});
    if (y > panel_height) {
      if (x > panel_width) break;
      x += tile_width;
      y = 0;
    } else {
      y += tile_height;
    }
  }
  return copies;
}

platform::Rect DialogPlacement(platform::ScreenMetrics& screen, std::int32_t width,
                               std::int32_t height) {
  const double tx = screen.TwipsPerPixelX();
  const double ty = screen.TwipsPerPixelY();
  const std::int32_t left = (Pixels(screen.ScreenWidthTwips(), tx) - width) / 2;
  const std::int32_t top = (Pixels(screen.ScreenHeightTwips(), ty) - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace quillmere::settings_dialog
