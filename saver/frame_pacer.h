// How fast the saver draws: at most the frames a second the settings file or the energy saver
// asks for, the deadlines on one grid from the moment pacing began.
#pragma once

#include <cstdint>
#include <optional>

namespace quillmere::saver {

// The most frames a second: a FrameRate line of 1 to 1000 as it says, any other as fast as the
// machine allows (0); with no line, the monitor's refresh rate while the energy saver is on.
std::int32_t FrameRateLimit(std::optional<std::int32_t> frame_rate, bool energy_saver,
                            std::int32_t refresh_rate);

class FramePacer {
 public:
  // From `now` on, frames at `rate` a second (microseconds); 0 draws them as they come.
  void Pace(std::int32_t rate, std::uint64_t now);
  std::int32_t Rate() const { return rate_; }
  // When the next frame may start, once the last one ended at `now`; none while unpaced. Frames
  // fall at start + n / rate; one more than a period late starts the grid again from now, so a
  // stall is never made up by a burst of frames.
  std::optional<std::uint64_t> NextFrame(std::uint64_t now);

 private:
  std::int32_t rate_ = 0;
  std::uint64_t start_ = 0;
  std::uint64_t frames_ = 0;
};

}  // namespace quillmere::saver
