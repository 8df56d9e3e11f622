#include "startup/command_line.h"

#include <cstdint>
#include <limits>

#include "startup/numbers.h"

namespace quillmere::startup {
namespace {

// Byte length of the UTF-8 sequence that starts with lead; a stray byte counts as one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The byte offset of character number index (0-based), or npos when the text is shorter.
std::size_t OffsetOfCharacter(std::string_view text, std::size_t index) {
  std::size_t offset = 0;
  for (std::size_t n = 0; n < index; ++n) {
    if (offset >= text.size()) return std::string_view::npos;
    offset += SequenceLength(static_cast<unsigned char>(text[offset]));
  }
  return offset < text.size() ? offset : std::string_view::npos;
}

char32_t Decode(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  const std::size_t length = SequenceLength(lead);
  if (length == 1 || offset + length > text.size()) return lead;
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    value = (value << 6) | (static_cast<unsigned char>(text[offset + i]) & 0x3Fu);
  }
  return value;
}

// Hosts write a handle as a signed or an unsigned 32-bit number; only its low 32 bits count,
// and it widens with their sign. Anything beyond 32 bits is no window.
std::optional<platform::WindowHandle> HandleFrom(double value) {
  const double rounded = RoundHalfEven(value);
  constexpr double kLeast = std::numeric_limits<std::int32_t>::min();
  constexpr double kMost = std::numeric_limits<std::uint32_t>::max();
  if (!(rounded >= kLeast && rounded <= kMost)) return std::nullopt;
  const auto low =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded)));
  return static_cast<platform::WindowHandle>(static_cast<std::intptr_t>(low));
}

}  // namespace

std::string ArgumentTextOf(std::string_view command_line) {
  std::size_t i = 0;
  if (!command_line.empty() && command_line.front() == '"') {
    const std::size_t close = command_line.find('"', 1);
    i = close == std::string_view::npos ? command_line.size() : close + 1;
  } else {
    while (i < command_line.size() && command_line[i] != ' ' && command_line[i] != '\t') ++i;
  }
  while (i < command_line.size() && (command_line[i] == ' ' || command_line[i] == '\t')) ++i;
  return std::string(command_line.substr(i));
}

char32_t ModeLetter(std::string_view argument_text) {
  const std::size_t offset = OffsetOfCharacter(argument_text, 1);
  if (offset == std::string_view::npos) return 0;
  const char32_t letter = Decode(argument_text, offset);
  return letter >= U'a' && letter <= U'z' ? letter - U'a' + U'A' : letter;
}

std::string_view WindowHandleArgument(std::string_view argument_text) {
  const std::size_t offset = OffsetOfCharacter(argument_text, 3);
  return offset == std::string_view::npos ? std::string_view{} : argument_text.substr(offset);
}

std::optional<platform::WindowHandle> PreviewHostOf(std::string_view argument_text) {
  return HandleFrom(ParseLeadingNumber(WindowHandleArgument(argument_text)));
}

std::optional<platform::WindowHandle> PasswordOwnerOf(std::string_view argument_text) {
  const std::optional<double> value = ParseWholeValue(WindowHandleArgument(argument_text));
  return value ? HandleFrom(*value) : std::nullopt;
}

}  // namespace quillmere::startup
