#include "settings_dialog/sliders.h"

#include <algorithm>

namespace quillmere::settings_dialog {

bool Slider::Set(std::int32_t value) {
  if (value < row_->minimum || value > row_->maximum || value == value_) return false;
  value_ = static_cast<std::int16_t>(value);
  return true;
}

bool Slider::Apply(ScrollRequest request, std::int32_t thumb_position) {
  std::int32_t target = value_;
  switch (request) {
    case ScrollRequest::LineLeft:
      target -= row_->arrow_step;
      break;
    case ScrollRequest::LineRight:
      target += row_->arrow_step;
      break;
    case ScrollRequest::PageLeft:
      target -= row_->trough_step;
      break;
    case ScrollRequest::PageRight:
      target += row_->trough_step;
      break;
    case ScrollRequest::ThumbPosition:
      target = thumb_position;
      break;
    case ScrollRequest::ToLeft:
      target = row_->minimum;
      break;
    case ScrollRequest::ToRight:
      target = row_->maximum;
      break;
    case ScrollRequest::ThumbTrack:
    case ScrollRequest::EndScroll:
      return false;
  }
  return Set(std::clamp<std::int32_t>(target, row_->minimum, row_->maximum));
}

}  // namespace quillmere::settings_dialog
