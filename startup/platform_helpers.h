// Small services over one or two system calls each: the NT test, the screen-saver-running
// flag and the caption zoom of the settings dialog.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace quillmere::startup {

bool IsWindowsNT(platform::SystemInfo& system);

// Sets or clears the system's screen-saver-running flag.
void SetScreenSaverRunning(platform::Windowing& windowing, bool running);

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
