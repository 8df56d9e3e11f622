#include "platform/win32/saver_window.h"

namespace quillmere::win32 {

// Until the saver lands, full-screen mode ends where its window would open.
void LoadSaverWindow(HINSTANCE, platform::Platform&) { ExitProcess(0); }

}  // namespace quillmere::win32
