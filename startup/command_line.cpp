#include "startup/command_line.h"

#include <algorithm>
#include <cstdint>

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

std::optional<platform::WindowHandle> HandleFrom(std::optional<std::uint64_t> bits) {
  if (!bits) return std::nullopt;
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(*bits));
  return static_cast<platform::WindowHandle>(static_cast<std::intptr_t>(low));
}

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Hosts may write the executable's own path unquoted even when it holds blanks.
bool StartsWithPath(std::string_view line, std::string_view path) {
  if (path.empty() || line.size() < path.size()) return false;
  if (line.size() > path.size() && !IsBlank(line[path.size()])) return false;
  return std::ranges::equal(line.substr(0, path.size()), path, {}, FoldCase, FoldCase);
}

}  // namespace

std::string ArgumentTextOf(std::string_view command_line,
                           const std::vector<std::string>& program_paths) {
  const auto own = std::ranges::find_if(
      program_paths, [&](const std::string& path) { return StartsWithPath(command_line, path); });
  std::size_t i = 0;
  if (!command_line.empty() && command_line.front() == '"') {
    const std::size_t close = command_line.find('"', 1);
    i = close == std::string_view::npos ? command_line.size() : close + 1;
  } else if (own != program_paths.end()) {
    i = own->size();
  } else {
    while (i < command_line.size() && !IsBlank(command_line[i])) ++i;
  }
  while (i < command_line.size() && IsBlank(command_line[i])) ++i;
  return std::string(command_line.substr(i));
}

std::vector<std::string> ProgramPaths(platform::ProfileFiles& files) {
  const std::string module = files.ModulePath();
  std::vector<std::string> paths = {module};
  for (const bool short_form : {false, true}) {
    if (auto form = files.PathForm(module, short_form)) paths.push_back(std::move(*form));
  }
  return paths;
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
  return HandleFrom(ParseLeading64(WindowHandleArgument(argument_text)));
}

std::optional<platform::WindowHandle> PasswordOwnerOf(std::string_view argument_text) {
  return HandleFrom(ParseWhole64(WindowHandleArgument(argument_text)));
}

}  // namespace quillmere::startup
