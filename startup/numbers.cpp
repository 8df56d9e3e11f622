#include "startup/numbers.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace quillmere::startup {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads [sign] digits [. digits] [e [sign] digits] from the start of text; returns the
// characters used, 0 when no number starts there.
std::size_t ScanNumber(std::string_view text, std::string& number) {
  std::size_t i = 0;
  auto take = [&](char c) {
    number.push_back(c);
    ++i;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) take(text[i]);
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    take(text[i]);
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    take('.');
    while (i < text.size() && IsDigit(text[i])) {
      take(text[i]);
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t mark = i;
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) exponent.push_back(text[j++]);
      number += exponent;
      i = j;
    } else {
      i = mark;
    }
  }
  return i;
}

// The number a whole text holds, blanks around it dropped; empty when the text is anything else.
std::optional<std::string> WholeNumberText(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string number;
  const std::size_t used = ScanNumber(text, number);
  if (used == 0 || used != text.size()) return std::nullopt;
  return number;
}

// The exponent's digits as a number, held within a billion: past that only its sign matters.
std::int64_t ExponentOf(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  std::int64_t value = 0;
  for (char c : text) {
    if (IsDigit(c)) value = std::min<std::int64_t>(value * 10 + (c - '0'), 1'000'000'000);
  }
  return negative ? -value : value;
}

// A scanned number rounded half to even on its decimal digits, so that no bit of a 64-bit value is
// lost; the result as the 64 bits of its two's complement.
std::optional<std::uint64_t> RoundToBits64(std::string_view number) {
  constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
  const bool negative = !number.empty() && number.front() == '-';
  if (!number.empty() && (number.front() == '-' || number.front() == '+')) number.remove_prefix(1);
  const std::size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  const std::size_t dot = mantissa.find('.');
  std::string digits(mantissa.substr(0, dot));
  // Where the decimal point stands among the digits once the exponent has moved it.
  std::int64_t point = static_cast<std::int64_t>(digits.size());
  if (e != std::string_view::npos) point += ExponentOf(number.substr(e + 1));
  if (dot != std::string_view::npos) digits += mantissa.substr(dot + 1);
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  digits.erase(0, first);
  point -= static_cast<std::int64_t>(first);
  // 2^64 has 20 digits.
  if (point > 20) return std::nullopt;
  std::uint64_t whole = 0;
  for (std::size_t i = 0; std::cmp_less(i, point); ++i) {
    const auto digit = static_cast<std::uint64_t>(i < digits.size() ? digits[i] - '0' : 0);
    if (whole > (kMost - digit) / 10) return std::nullopt;
    whole = whole * 10 + digit;
  }
  if (point >= 0 && std::cmp_less(point, digits.size())) {
    const char dropped = digits[static_cast<std::size_t>(point)];
    const bool more =
        digits.find_first_not_of('0', static_cast<std::size_t>(point) + 1) != std::string::npos;
    if (dropped > '5' || (dropped == '5' && (more || whole % 2 == 1))) {
      if (whole == kMost) return std::nullopt;
      ++whole;
    }
  }
  if (negative && whole > (std::uint64_t{1} << 63)) return std::nullopt;
  return negative ? 0 - whole : whole;
}

double ToDouble(const std::string& number) {
  double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

double TwipsToPixels(double twips, double twips_per_pixel) {
  return RoundHalfEven(twips / twips_per_pixel);
}

double RoundHalfEven(double value) {
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  std::fesetround(saved);
  return rounded;
}

std::optional<std::int32_t> RoundToInt32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  const std::optional<std::string> number = WholeNumberText(text);
  // A text too large for a double reads as NaN, which no 32-bit number is.
  return number ? RoundToInt32(ToDouble(*number)) : std::nullopt;
}

std::optional<std::uint64_t> ParseWhole64(std::string_view text) {
  const std::optional<std::string> number = WholeNumberText(text);
  return number ? RoundToBits64(*number) : std::nullopt;
}

std::optional<std::uint64_t> ParseLeading64(std::string_view text) {
  std::string squeezed;
  for (char c : text) {
    if (!IsBlank(c) && c != '\n' && c != '\r') squeezed.push_back(c);
  }
  std::string number;
  if (ScanNumber(squeezed, number) == 0) return 0;
  return RoundToBits64(number);
}

std::string FormatValueText(std::int32_t value) {
  std::string digits = std::to_string(value);
  return value < 0 ? digits : " " + digits;
}

}  // namespace quillmere::startup
