// Number texts as the program reads and writes them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere::startup {

// The program's own approximation of pi, which its pictures are drawn with.
inline constexpr double kApproximatePi = 3.142;

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// A length in twips as whole pixels, rounded half to even.
double TwipsToPixels(double twips, double twips_per_pixel);

// The nearest 32-bit integer, halves to even; empty when it lies outside 32 bits (or is NaN).
std::optional<std::int32_t> RoundToInt32(double value);

// A whole text as a 32-bit integer: blanks around the number allowed, a fraction rounded half
// to even. Empty when the text is not a number or does not fit 32 bits.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// A whole text as a number rounded half to even, worked out exactly, as the 64 bits of its two's
// complement: blanks around the number allowed. Empty when the text is no number or the number
// lies outside -2^63 .. 2^64 - 1.
std::optional<std::uint64_t> ParseWhole64(std::string_view text);

// The same for the number a text starts with: blanks skipped, read up to the first character that
// cannot continue it, 0 when there is none.
std::optional<std::uint64_t> ParseLeading64(std::string_view text);

// A setting as stored: one blank before a value that is not negative, a minus sign otherwise.
std::string FormatValueText(std::int32_t value);

}  // namespace quillmere::startup
