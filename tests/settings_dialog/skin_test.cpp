#include "settings_dialog/skin.h"

#include <gtest/gtest.h>

#include "../fake_platform.h"

namespace quillmere::settings_dialog {
namespace {

constexpr std::uint32_t Rgb(std::uint32_t v) { return v | (v << 8) | ((v + 30) << 16); }

TEST(BackgroundPainter, RowsAreASineShadeFromDarkBlueToLightLavender) {
  const std::vector<BackgroundRow> rows = BackgroundRows(231);
  ASSERT_EQ(rows.size(), 232u);  // 0 to 231, the last just outside the client area
  struct Case {
    std::int32_t y;
    std::uint32_t v;
  };
  // v = |sin(y / (231 / 3.142)) * 220| rounded half to even.
  const Case cases[] = {{0, 0}, {1, 3}, {30, 87}, {57, 154}, {115, 220}, {116, 220},
                        {170, 162}, {230, 3}, {231, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(rows[static_cast<std::size_t>(c.y)].y, c.y);
    EXPECT_EQ(rows[static_cast<std::size_t>(c.y)].colour, Rgb(c.v)) << "row " << c.y;
  }
  for (const BackgroundRow& row : rows) EXPECT_LE(row.colour & 0xFF, 220u);
}

TEST(PanelTiling, EachPanelGetsAColumnOfSevenCopiesAndAClippedSecondColumn) {
  for (std::int32_t width : {201, 233}) {
    const std::vector<TileCopy> copies = TileCopies(width, 133);
    std::vector<TileCopy> want;
    for (std::int32_t x : {0, 239}) {
      for (std::int32_t y = 0; y <= 156; y += 26) want.push_back({x, y});
    }
    EXPECT_EQ(copies, want) << "panel width " << width;
  }
}

TEST(PanelTiling, CopiesCoverAnyPanelAndEndForAnyTile) {
  struct Case {
    std::int32_t w, h, tw, th;
    std::size_t count;
  };
  const Case cases[] = {{10, 10, 239, 26, 2 * 2}, {500, 30, 239, 26, 4 * 3}, {0, 0, 5, 5, 2 * 2},
                        {10, 10, 0, 26, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(TileCopies(c.w, c.h, c.tw, c.th).size(), c.count) << c.w << "x" << c.h;
  }
}

TEST(DialogPlacement, TheDialogIsCentredOnThePrimaryScreen) {
  testing::FakePlatform fake;
  struct Case {
    double width, height;
    platform::Rect want;
  };
  const Case cases[] = {{1024, 768, {274, 268, 750, 499}}, {800, 600, {162, 184, 638, 415}},
                        {1920, 1080, {722, 424, 1198, 655}}};
  for (const Case& c : cases) {
    fake.screen_width_twips = c.width * 15;
    fake.screen_height_twips = c.height * 15;
    EXPECT_EQ(DialogPlacement(fake), c.want) << c.width << "x" << c.height;
  }
  // At 144 dots per inch the skin keeps its pixel size and is still centred.
  fake.twips_per_pixel_x = 10;
  fake.twips_per_pixel_y = 10;
  fake.screen_width_twips = 1024 * 10;
  fake.screen_height_twips = 768 * 10;
  EXPECT_EQ(DialogPlacement(fake), (platform::Rect{274, 268, 750, 499}));
}

}  // namespace
}  // namespace quillmere::settings_dialog
