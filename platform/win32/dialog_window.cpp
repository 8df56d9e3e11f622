#include "platform/win32/dialog_window.h"

namespace quillmere::win32 {

// Until the dialog lands, settings mode ends where its window would open.
void ShowSettingsDialog(HINSTANCE, platform::Platform&) {}

}  // namespace quillmere::win32
