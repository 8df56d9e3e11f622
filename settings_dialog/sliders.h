// The four value sliders: their rows, and a slider's position with the moves that change it.
#pragma once

#include <array>
#include <cstdint>

#include "startup/settings.h"

namespace quillmere::settings_dialog {

struct SliderRow {
  std::int32_t startup::SettingsValues::*value;
  std::int16_t minimum;
  std::int16_t maximum;
  std::int16_t arrow_step;
  std::int16_t trough_step;
  std::int16_t initial;
};

namespace detail {
constexpr const startup::SettingDescription& Setting(std::int32_t startup::SettingsValues::*value) {
  for (const auto& setting : startup::kSettings) {
    if (setting.value == value) return setting;
  }
  throw "no such setting";
}
constexpr SliderRow Row(std::int32_t startup::SettingsValues::*value, std::int16_t initial) {
  const auto& setting = Setting(value);
  return {value,
          static_cast<std::int16_t>(setting.dialog_min),
          static_cast<std::int16_t>(setting.dialog_max),
          1,
          1,
          initial};
}
}  // namespace detail

// The sliders from the top down; ranges from the settings table.
inline constexpr std::array<SliderRow, 4> kSliderRows = {{
    detail::Row(&startup::SettingsValues::Size, 5),
    detail::Row(&startup::SettingsValues::Speed, 4),
    detail::Row(&startup::SettingsValues::Num, 100),
    detail::Row(&startup::SettingsValues::Intval, 30),
}};

// What the user did to a slider, as the scroll bar reports it.
enum class ScrollRequest {
  LineLeft,
  LineRight,
  PageLeft,
  PageRight,
  ThumbTrack,
  ThumbPosition,
  ToLeft,
  ToRight,
  EndScroll
};

class Slider {
 public:
  explicit Slider(const SliderRow& row) : row_(&row), value_(row.initial) {}
  std::int16_t value() const { return value_; }
  const SliderRow& row() const { return *row_; }

  // True when the value changed, the one case that raises the change notification; a value
  // outside the range is refused and leaves the slider as it was.
  bool Set(std::int32_t value);
  // The value a request leads to, kept within the range; a dragged thumb changes nothing
  // until it is released.
  bool Apply(ScrollRequest request, std::int32_t thumb_position);

 private:
  const SliderRow* row_;
  std::int16_t value_;
};

}  // namespace quillmere::settings_dialog
