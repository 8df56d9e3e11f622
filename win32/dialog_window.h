// The skinned settings dialog.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace quillmere::win32 {

// Shows the settings dialog modally; returns when it has closed.
void ShowSettingsDialog(HINSTANCE instance, platform::Platform& platform);

}  // namespace quillmere::win32
