// The dialog's skin as numbers: the painted background rows, the texture copies of a panel
// and the window's place on the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "settings_dialog/layout.h"

namespace quillmere::settings_dialog {

struct BackgroundRow {
  std::int32_t y;
  std::uint32_t colour;  // 0x00BBGGRR
  bool operator==(const BackgroundRow&) const = default;
};

// One row per y = 0..height (the last lies just outside the client area): RGB(v, v, v + 30)
// with v = |sin(y / (height / 3.142)) * 220| rounded half to even.
std::vector<BackgroundRow> BackgroundRows(std::int32_t height);

struct TileCopy {
  std::int32_t x;
  std::int32_t y;
  bool operator==(const TileCopy&) const = default;
};

// Where the texture tile is copied to cover a panel: columns top down, then the next column.
std::vector<TileCopy> TileCopies(std::int32_t panel_width, std::int32_t panel_height,
                                 std::int32_t tile_width = kTileWidth,
                                 std::int32_t tile_height = kTileHeight);

// The dialog's window rectangle in screen pixels, width x height, centred on the primary screen.
platform::Rect DialogPlacement(platform::ScreenMetrics& screen,
                               std::int32_t width = kDialogClient.w,
                               std::int32_t height = kDialogClient.h);

}  // namespace quillmere::settings_dialog
