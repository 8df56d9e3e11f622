// Reading the screen-saver switches from the argument text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quillmere::startup {

// The command line without the program's own path and the blanks after it (UTF-8). A quoted path
// ends at its closing quote; one without quotes at the first blank, unless the line starts with
// one of program_paths (the executable's own, in any case) followed by a blank or the end.
std::string ArgumentTextOf(std::string_view command_line,
                           const std::vector<std::string>& program_paths = {});

// The executable's own path as the system reports it, then its long and its short form; a form the
// system cannot give is left out.
std::vector<std::string> ProgramPaths(platform::ProfileFiles& files);

// The second character of the argument text, upper-cased; 0 when there is none. The first
// character (the host sends a slash) is never looked at.
char32_t ModeLetter(std::string_view argument_text);

// The argument text from its fourth character on; empty when it is shorter.
std::string_view WindowHandleArgument(std::string_view argument_text);

// Hosts write a window handle as a signed or unsigned number of 32 or 64 bits: its low 32 bits
// count, widened by their sign. A fraction rounds half to even; beyond 64 bits is no window.

// The pane /p names: the number the handle argument starts with (blanks skipped, 0 when there is
// none).
std::optional<platform::WindowHandle> PreviewHostOf(std::string_view argument_text);

// The owner /a names: the whole handle argument as a number, blanks around it allowed; empty when
// it is no number.
std::optional<platform::WindowHandle> PasswordOwnerOf(std::string_view argument_text);

}  // namespace quillmere::startup
