// Reading the screen-saver switches from the argument text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillmere::startup {

// The command line without the program's own path and the blanks after it (UTF-8).
std::string ArgumentTextOf(std::string_view command_line);

// The second character of the argument text, upper-cased; 0 when there is none. The first
// character (the host sends a slash) is never looked at.
char32_t ModeLetter(std::string_view argument_text);

// The argument text from its fourth character on; empty when it is shorter.
std::string_view WindowHandleArgument(std::string_view argument_text);

// The pane /p names: the number the handle argument starts with (blanks skipped, 0 when there is
// none). Empty when it is no 32-bit handle.
std::optional<platform::WindowHandle> PreviewHostOf(std::string_view argument_text);

// The owner /a names: the whole handle argument as a number, blanks around it allowed. Empty when
// it is no number or no 32-bit handle.
std::optional<platform::WindowHandle> PasswordOwnerOf(std::string_view argument_text);

}  // namespace quillmere::startup
