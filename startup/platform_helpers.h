// Small services over one or two system calls each: the NT test, the screen-saver-running
// flag and the caption zoom of the settings dialog.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace quillmere::startup {

// Booleans as the system's own 16-bit values: true is -1, false is 0.
using Boolean16 = std::int16_t;
inline constexpr Boolean16 kTrue = -1;
inline constexpr Boolean16 kFalse = 0;

bool IsWindowsNT(platform::SystemInfo& system);

// The argument is the inverse of the flag: false sets it, true clears it.
void SetScreenSaverRunning(platform::Windowing& windowing, Boolean16 cleared);

// The point the dialog's zoom animations start from and return to, in screen pixels.
struct ZoomOrigin {
  std::int16_t x = 0;
  std::int16_t y = 0;
};
ZoomOrigin& TheZoomOrigin();

// Records the cursor position as the zoom origin; (0, 0) when it cannot be read. A coordinate
// outside 16 bits keeps its previous value.
void RecordZoomOrigin(platform::Windowing& windowing, ZoomOrigin& origin = TheZoomOrigin());

void ZoomWindowOpen(platform::Windowing& windowing, platform::WindowHandle window,
                    const ZoomOrigin& origin = TheZoomOrigin());
void ZoomWindowClose(platform::Windowing& windowing, platform::WindowHandle window,
                     const ZoomOrigin& origin = TheZoomOrigin());

}  // namespace quillmere::startup
