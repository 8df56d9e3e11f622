// UTF-8 inside the program, UTF-16 across the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace quillmere::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace quillmere::win32
