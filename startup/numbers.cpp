#include "startup/numbers.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quillmere::startup {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads [sign] digits [. digits] [e [sign] digits] from the start of text; returns the
// characters used, 0 when no number starts there. Blanks are dropped first when lenient.
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

double ToDouble(const std::string& number) {
  double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

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

std::optional<double> ParseWholeValue(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string number;
  const std::size_t used = ScanNumber(text, number);
  if (used == 0 || used != text.size()) return std::nullopt;
  const double value = RoundHalfEven(ToDouble(number));
  return std::isnan(value) ? std::nullopt : std::optional<double>(value);
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  const std::optional<double> value = ParseWholeValue(text);
  return value ? RoundToInt32(*value) : std::nullopt;
}

double ParseLeadingNumber(std::string_view text) {
  std::string squeezed;
  for (char c : text) {
    if (!IsBlank(c) && c != '\n' && c != '\r') squeezed.push_back(c);
  }
  std::string number;
  if (ScanNumber(squeezed, number) == 0) return 0.0;
  const double value = ToDouble(number);
  return std::isnan(value) ? 0.0 : value;
}

std::string FormatValueText(std::int32_t value) {
  std::string digits = std::to_string(value);
  return value < 0 ? digits : " " + digits;
}

}  // namespace quillmere::startup
