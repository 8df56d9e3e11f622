// The full-screen saver window.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace quillmere::win32 {

// Builds the saver window and runs the saver in it; ends the process when the saver ends.
[[noreturn]] void LoadSaverWindow(HINSTANCE instance, platform::Platform& platform);

}  // namespace quillmere::win32
