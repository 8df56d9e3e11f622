#include "settings_dialog/sliders.h"

#include <gtest/gtest.h>

namespace quillmere::settings_dialog {
namespace {

TEST(SliderRows, RangesStepsAndInitialPositions) {
  struct Case {
    std::int16_t minimum, maximum, initial;
  };
  const Case cases[] = {{1, 20, 5}, {1, 10, 4}, {50, 200, 100}, {5, 60, 30}};
  for (std::size_t i = 0; i < kSliderRows.size(); ++i) {
    EXPECT_EQ(kSliderRows[i].minimum, cases[i].minimum) << "HS(" << i << ")";
    EXPECT_EQ(kSliderRows[i].maximum, cases[i].maximum) << "HS(" << i << ")";
    EXPECT_EQ(kSliderRows[i].initial, cases[i].initial) << "HS(" << i << ")";
    EXPECT_EQ(kSliderRows[i].arrow_step, 1);
    EXPECT_EQ(kSliderRows[i].trough_step, 1);
  }
}

TEST(Slider, MovesAndWhichOfThemChangeTheValue) {
  struct Case {
    std::int32_t start;
    ScrollRequest request;
    std::int32_t thumb;
    bool changed;
    std::int16_t value;
  };
  // HS(2), Num: 50 to 200.
  const Case cases[] = {
      {100, ScrollRequest::LineRight, 0, true, 101},
      {100, ScrollRequest::LineLeft, 0, true, 99},
      {100, ScrollRequest::PageRight, 0, true, 101},
      {100, ScrollRequest::PageLeft, 0, true, 99},
      {200, ScrollRequest::LineRight, 0, false, 200},
      {50, ScrollRequest::PageLeft, 0, false, 50},
      {100, ScrollRequest::ThumbTrack, 150, false, 100},
      {100, ScrollRequest::ThumbPosition, 150, true, 150},
      {100, ScrollRequest::ThumbPosition, 100, false, 100},
      {100, ScrollRequest::EndScroll, 0, false, 100},
      {100, ScrollRequest::ToLeft, 0, true, 50},
      {100, ScrollRequest::ToRight, 0, true, 200},
  };
  for (const Case& c : cases) {
    Slider slider(kSliderRows[2]);
    slider.Set(c.start);
    EXPECT_EQ(slider.Apply(c.request, c.thumb), c.changed) << static_cast<int>(c.request);
    EXPECT_EQ(slider.value(), c.value) << static_cast<int>(c.request);
  }
}

TEST(Slider, AValueOutsideTheRangeOrTheSameValueChangesNothing) {
  struct Case {
    std::int32_t value;
    bool changed;
    std::int16_t after;
  };
  const Case cases[] = {{300, false, 100}, {49, false, 100}, {100, false, 100}, {200, true, 200},
                        {50, true, 50}, {-1, false, 100}, {70000, false, 100}};
  for (const Case& c : cases) {
    Slider slider(kSliderRows[2]);
    EXPECT_EQ(slider.Set(c.value), c.changed) << c.value;
    EXPECT_EQ(slider.value(), c.after) << c.value;
  }
}

}  // namespace
}  // namespace quillmere::settings_dialog
