// The saver's pseudo-random source and RandomBetween.
#pragma once

#include <bit>
#include <cstdint>

#include "platform/saver_host.h"

namespace quillmere::saver {

// 64-bit state; re-seeding mixes the time of day into the state and never restarts it.
class RandomSource {
 public:
  explicit RandomSource(std::uint64_t seed, platform::TimeOfDay* clock = nullptr)
      : state_(seed), clock_(clock) {}

  // Mixes the bits of a time-of-day reading into the state.
  void Reseed(float seconds) {
    const std::uint64_t bits = std::bit_cast<std::uint32_t>(seconds);
    state_ = std::rotl(state_ ^ (bits * kMixFactor), 23) + kGamma;
  }

  // Re-seeds from the clock; without one, from a fixed reading.
  void ReseedFromClock() { Reseed(clock_ != nullptr ? clock_->SecondsSinceMidnight() : 0.0f); }

  // A uniform single-precision value, 0 <= r < 1.
  float NextUniform() {
    state_ += kGamma;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) * 0x1.0p-24f;
  }

  // A source of its own, on the same clock, seeded from this one's state without drawing from it.
  RandomSource Fork(std::uint64_t salt) const {
    return RandomSource(std::rotl(state_ ^ (salt * kMixFactor), 17) + kGamma, clock_);
  }

 private:
  static constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ULL;
  static constexpr std::uint64_t kMixFactor = 0xD6E8FEB86659FD93ULL;
  std::uint64_t state_;
  platform::TimeOfDay* clock_;
};

// floor(x) for |x| < 2^52, exact and inline: the MinGW build calls the library's floor otherwise.
inline std::int64_t FloorToInt64(double x) {
  const auto truncated = static_cast<std::int64_t>(x);
  return truncated - (x < static_cast<double>(truncated) ? 1 : 0);
}

// A whole number from lo to hi inclusive, re-seeding from the clock first. The span is taken
// in 64 bits, so any pair of bounds is defined; for hi < lo the result lies in hi + 1 to lo.
inline std::int32_t RandomBetween(RandomSource& random, std::int32_t lo, std::int32_t hi) {
  random.ReseedFromClock();
  const double r = random.NextUniform();
  const std::int64_t span = (static_cast<std::int64_t>(hi) + 1) - lo;
  return static_cast<std::int32_t>(FloorToInt64(r * static_cast<double>(span)) + lo);
}

}  // namespace quillmere::saver
