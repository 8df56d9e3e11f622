#include "settings_dialog/skin.h"

#include <gtest/gtest.h>

#include "../fake_platform.h"

namespace quillmere::settings_dialog {
namespace {

TEST(DialogPlacement, TheDialogIsCentredOnThePrimaryScreenAtItsPixelSize) {
  struct Case {
    double twips_x, twips_y, width, height;  // the screen in pixels
    platform::Rect want;
  };
  const Case cases[] = {{15, 15, 1024, 768, {274, 268, 750, 499}},  // 537 / 2 leaves a half pixel
                        {15, 15, 800, 600, {162, 184, 638, 415}},
                        {10, 10, 1024, 768, {274, 268, 750, 499}},  // 144 dots per inch
                        {15, 12, 1280, 1024, {402, 396, 878, 627}}};
  testing::FakePlatform fake;
  for (const Case& c : cases) {
    fake.twips_per_pixel_x = c.twips_x;
    fake.twips_per_pixel_y = c.twips_y;
    fake.screen_width_twips = c.width * c.twips_x;
    fake.screen_height_twips = c.height * c.twips_y;
    EXPECT_EQ(DialogPlacement(fake), c.want) << c.width << "x" << c.height;
  }
}

TEST(PanelTiling, ATileWithoutAreaEndsAtOnce) {
  EXPECT_TRUE(TileCopies(10, 10, 0, 26).empty());
  EXPECT_TRUE(TileCopies(10, 10, 239, 0).empty());
}

}  // namespace
}  // namespace quillmere::settings_dialog
