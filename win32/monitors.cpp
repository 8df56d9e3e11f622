// The monitors of the desktop, which the saver covers beyond the primary.
#include "win32/win32_platform.h"

namespace quillmere::win32 {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<platform::Monitor>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

// Virtual-screen coordinates already put the primary's top-left corner at (0, 0).
std::vector<platform::Monitor> Win32Platform::Monitors() {
  std::vector<platform::Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace quillmere::win32
