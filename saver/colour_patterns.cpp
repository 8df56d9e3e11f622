#include "saver/colour_patterns.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "startup/numbers.h"

namespace quillmere::saver {
namespace {

struct GoldEntry {
  std::int32_t red;
  std::int32_t green;
};

// Entries 0 to 19; the rest mirror them around entry 19.
constexpr std::array<GoldEntry, 20> kGoldHalf = {{
    {250, 250}, {250, 240}, {250, 230}, {250, 220}, {250, 210}, {240, 200}, {230, 190},
    {220, 200}, {210, 190}, {200, 180}, {190, 170}, {190, 160}, {190, 150}, {180, 140},
    {180, 130}, {170, 120}, {170, 110}, {170, 100}, {160, 90},  {160, 80},
}};
constexpr std::size_t kGoldLastColor = 38;

constexpr double kPi = startup::kApproximatePi;  // not the true pi
constexpr double kOliveTurns = 0.3;
constexpr double kOliveAmplitude = 223;
constexpr double kOliveFloor = 32;
constexpr double kBlueAmplitude = 225;

std::int32_t Round(double value) {
  return static_cast<std::int32_t>(startup::RoundHalfEven(value));
}

// A 16-bit level as the gradients compute it.
std::int32_t Level(double value) { return static_cast<std::int16_t>(Round(value)); }

// A narrow window makes the divisor 0; its entries then all take the first entry's level.
double Angle(std::int32_t i, double k) { return k == 0 ? 0.0 : i / k; }

std::vector<Colour> Gold() {
  std::vector<Colour> table(kGoldLastColor + 1);
  for (std::size_t i = 0; i < kGoldHalf.size(); ++i) {
    const Colour c = Rgb(kGoldHalf[i].red, kGoldHalf[i].green, 0);
    table[i] = c;
    table[kGoldLastColor - i] = c;
  }
  return table;
}

std::vector<Colour> Olive(float width) {
  const std::int32_t last = Round(width) / 8;
  const double k = (last / kPi) * kOliveTurns;
  std::vector<Colour> table(static_cast<std::size_t>(last) + 1);
  for (std::int32_t i = 0; i <= last; ++i) {
    const std::int32_t v = Level(std::fabs(kOliveAmplitude * std::cos(Angle(i, k))) + kOliveFloor);
    table[static_cast<std::size_t>(i)] = Rgb(v + 55, v + 55, v + 33);
  }
  return table;
}

std::vector<Colour> BlueGrey(float width) {
  const std::int32_t last = Round(width) / 8;
  const double k = last / kPi;
  std::vector<Colour> table(static_cast<std::size_t>(last) + 1);
  for (std::int32_t i = 0; i <= last; ++i) {
    const std::int32_t v = Level(std::fabs(kBlueAmplitude * std::sin(Angle(i, k))));
    table[static_cast<std::size_t>(i)] = Rgb(v, v, v + 30);
  }
  return table;
}

std::vector<Colour> HueWheel(float width) {
  const std::int32_t n = Round(static_cast<double>(width) / 2) / 6;
  const std::size_t segment = static_cast<std::size_t>(n);
  std::vector<Colour> table(6 * segment + 1);
  // A window too narrow for a segment gets a zero step rather than a division by zero.
  const double step = n == 0 ? 0.0 : 255.0 / n;
  double sum = 0;
  for (std::size_t i = 0; i <= segment; ++i) {
    const auto f = static_cast<std::int32_t>(std::floor(sum));
    table[i] = Rgb(255, f, 0);
    table[segment + i] = Rgb(255 - f, 255, 0);
    table[2 * segment + i] = Rgb(0, 255, f);
    table[3 * segment + i] = Rgb(0, 255 - f, 255);
    table[4 * segment + i] = Rgb(f, 0, 255);
    table[5 * segment + i] = Rgb(255, 0, 255 - f);
    sum = step + sum;
  }
  return table;
}

std::int32_t Component(float r) { return static_cast<std::int32_t>(std::floor(256.0 * r)); }

std::vector<Colour> RandomColours(float width, RandomSource& random) {
  const std::int32_t last = Round(width) / 4;
  std::vector<Colour> table(static_cast<std::size_t>(last) + 1);
  for (Colour& entry : table) {
    random.ReseedFromClock();
    const std::int32_t red = Component(random.NextUniform());
    const std::int32_t green = Component(random.NextUniform());
    const std::int32_t blue = Component(random.NextUniform());
    entry = Rgb(red, green, blue);
  }
  return table;
}

}  // namespace

std::vector<Colour> PatternColours(std::int32_t pattern, float width, RandomSource& random) {
  // A negative or absurd width would ask for a table the size of memory.
  if (!(width >= 0.0f && width <= 1.0e6f)) width = width > 0.0f ? 1.0e6f : 0.0f;
  switch (pattern) {
    case 0:
      return Gold();
    case 1:
      return Olive(width);
    case 2:
      return BlueGrey(width);
    case 3:
      return HueWheel(width);
    case 4:
      return RandomColours(width, random);
    default:
      return {};
  }
}

}  // namespace quillmere::saver
