#include "saver/frame_pacer.h"

#include <algorithm>

namespace quillmere::saver {
namespace {

constexpr std::int32_t kFastestPacedRate = 1000;
// Windows gives 0 or 1 for the hardware's default refresh rate.
constexpr std::int32_t kDefaultRefreshRate = 60;
constexpr std::uint64_t kMicrosecondsPerSecond = 1'000'000;

}  // namespace

std::int32_t FrameRateLimit(std::optional<std::int32_t> frame_rate, bool energy_saver,
                            std::int32_t refresh_rate) {
  if (frame_rate) return *frame_rate >= 1 && *frame_rate <= kFastestPacedRate ? *frame_rate : 0;
  // An unpaced saver would drain the battery the user asked Windows to save.
  if (!energy_saver) return 0;
  return refresh_rate > 1 ? std::min(refresh_rate, kFastestPacedRate) : kDefaultRefreshRate;
}

void FramePacer::Pace(std::int32_t rate, std::uint64_t now) {
  rate_ = std::clamp(rate, 0, kFastestPacedRate);
  start_ = now;
  frames_ = 0;
}

std::optional<std::uint64_t> FramePacer::NextFrame(std::uint64_t now) {
  if (rate_ == 0) return std::nullopt;
  const auto rate = static_cast<std::uint64_t>(rate_);
  ++frames_;
  const std::uint64_t due = start_ + frames_ * kMicrosecondsPerSecond / rate;
  if (now > due + kMicrosecondsPerSecond / rate) {
    start_ = now;
    frames_ = 0;
    return now;
  }
  return due;
}

}  // namespace quillmere::saver
