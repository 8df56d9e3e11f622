#include "startup/platform_helpers.h"

#include <limits>

namespace quillmere::startup {
namespace {

constexpr std::uint32_t kOsVersionInfoSize = sizeof(platform::OsVersionInfo);

platform::Rect OriginPoint(const ZoomOrigin& origin) {
  return {origin.x, origin.y, origin.x, origin.y};
}

platform::Rect WindowRectOrZeros(platform::Windowing& windowing, platform::WindowHandle window) {
  platform::Rect rect;
  windowing.GetWindowRect(window, rect);
  return rect;
}

bool FitsInt16(std::int32_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

bool IsWindowsNT(platform::SystemInfo& system) {
  platform::OsVersionInfo info;
  info.dwOSVersionInfoSize = kOsVersionInfoSize;
  if (system.GetVersionEx(info) != 1) return false;
  return info.dwPlatformId == platform::kPlatformWin32Nt;
}

void SetScreenSaverRunning(platform::Windowing& windowing, bool running) {
  windowing.SystemParametersInfo(platform::kSpiSetScreenSaverRunning,
                                 running ? platform::kSpiTrue : platform::kSpiFalse);
}

ZoomOrigin& TheZoomOrigin() {
  static ZoomOrigin origin;
  return origin;
}

void RecordZoomOrigin(platform::Windowing& windowing, ZoomOrigin& origin) {
  platform::Point cursor;
  if (!windowing.GetCursorPos(cursor)) {
    origin = {};
    return;
  }
  if (FitsInt16(cursor.x)) origin.x = static_cast<std::int16_t>(cursor.x);
  if (FitsInt16(cursor.y)) origin.y = static_cast<std::int16_t>(cursor.y);
}

void ZoomWindowOpen(platform::Windowing& windowing, platform::WindowHandle window,
                    const ZoomOrigin& origin) {
  const platform::Rect to = WindowRectOrZeros(windowing, window);
  windowing.DrawAnimatedRects(window, platform::kIdaniCaption, OriginPoint(origin), to);
}

void ZoomWindowClose(platform::Windowing& windowing, platform::WindowHandle window,
                     const ZoomOrigin& origin) {
  const platform::Rect from = WindowRectOrZeros(windowing, window);
  windowing.DrawAnimatedRects(window, platform::kIdaniCaption, from, OriginPoint(origin));
}

}  // namespace quillmere::startup
