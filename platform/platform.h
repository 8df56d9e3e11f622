// What quillmere needs from Windows, as plain interfaces: the portable code calls these,
// win32/ implements them, tests/ records them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere::platform {

// A window handle as the command line and the system carry it.
using WindowHandle = std::uintptr_t;

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

// The ANSI OSVERSIONINFO record, laid out as GetVersionExA expects it.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 0;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfo) == 148);

inline constexpr std::uint32_t kPlatformWin32Nt = 2;
inline constexpr std::int32_t kGwlStyle = -16;
inline constexpr std::int32_t kWsChild = 0x40000000;
inline constexpr std::int32_t kWsPopup = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kIdaniCaption = 3;
// The mouse buttons as the handlers take them, one bit each, so that held buttons combine.
enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4, Extra = 8 };
inline constexpr std::uint32_t kSpiSetScreenSaveActive = 17;
inline constexpr std::uint32_t kSpiSetScreenSaverRunning = 97;
// The flag values SystemParametersInfo is given: a 16-bit Boolean widened, so true is all bits set.
inline constexpr std::int32_t kSpiTrue = -1;
inline constexpr std::int32_t kSpiFalse = 0;
// Session changes (WM_WTSSESSION_CHANGE) after which nobody sees or reaches this session's screen.
inline constexpr std::int32_t kWtsConsoleDisconnect = 2;
inline constexpr std::int32_t kWtsRemoteConnect = 3;
inline constexpr std::int32_t kWtsRemoteDisconnect = 4;
inline constexpr std::int32_t kWtsSessionLock = 7;
// The monitor's power state, as the system's power notices tell it (dimmed counts as on).
inline constexpr std::int32_t kMonitorOff = 0;
inline constexpr std::int32_t kMonitorOn = 1;
inline constexpr std::int32_t kMonitorDimmed = 2;

// user32: finding, styling and placing windows, the cursor, system settings.
class Windowing {
 public:
  virtual ~Windowing() = default;
  virtual WindowHandle FindWindowByTitle(std::string_view title) = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual bool GetWindowRect(WindowHandle window, Rect& rect) = 0;
  virtual std::int32_t GetWindowLong(WindowHandle window, std::int32_t index) = 0;
  virtual void SetWindowLong(WindowHandle window, std::int32_t index, std::int32_t value) = 0;
  // False when the system refused, as it does once the parent is gone.
  virtual bool SetParent(WindowHandle child, WindowHandle parent) = 0;
  virtual std::int32_t ShowCursor(std::int32_t show) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
  virtual void DrawAnimatedRects(WindowHandle window, std::int32_t animation, const Rect& from,
                                 const Rect& to) = 0;
  // SystemParametersInfo(action, parameter, no buffer, no profile update).
  virtual void SystemParametersInfo(std::uint32_t action, std::int32_t parameter) = 0;
};

// One monitor's rectangle in pixels relative to the primary's top-left corner.
struct Monitor {
  Rect area;
  bool primary = false;
};

// The primary screen, in twips, and the twips per pixel that convert it; and every monitor.
class ScreenMetrics {
 public:
  virtual ~ScreenMetrics() = default;
  virtual double TwipsPerPixelX() = 0;
  virtual double TwipsPerPixelY() = 0;
  virtual double ScreenWidthTwips() = 0;
  virtual double ScreenHeightTwips() = 0;
  // Every monitor of the desktop, the primary marked.
  virtual std::vector<Monitor> Monitors() = 0;
};

// kernel32: private-profile files and where the executable lives.
class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // GetPrivateProfileString into a buffer of buffer_size characters; returns its text up to the
  // first NUL.
  virtual std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view fallback, std::uint32_t buffer_size,
                                              std::string_view path) = 0;
  // WritePrivateProfileString; true when the system reports success.
  virtual bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                         std::string_view value, std::string_view path) = 0;
  // The folder that holds the running executable, without a trailing backslash.
  virtual std::string ExecutableFolder() = 0;
  // The running executable's path as the system reports it.
  virtual std::string ModulePath() = 0;
  // The long or the short (8.3) form of a path; empty when the system cannot give it.
  virtual std::optional<std::string> PathForm(std::string_view path, bool short_form) = 0;
};

// kernel32: the operating-system version.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::int32_t GetVersionEx(OsVersionInfo& info) = 0;
  // The user interface's language (a LANGID: the primary language in the low 10 bits).
  virtual std::uint16_t UserInterfaceLanguage() = 0;
};

// The Windows 95/98 screen-saver password services, loaded at run time where they exist.
class PasswordServices {
 public:
  virtual ~PasswordServices() = default;
  virtual void PwdChangePassword(std::string_view registry_key, WindowHandle parent) = 0;
  // Non-zero when the password was entered correctly or none is set.
  virtual std::int32_t VerifyScreenSavePwd(WindowHandle window) = 0;
};

// shell32: the open operation.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Open(WindowHandle owner, std::string_view file) = 0;
};

// The program's own windows, which the backend builds and runs.
class ProgramWindows {
 public:
  virtual ~ProgramWindows() = default;
  // Takes the one name that lets a saver or a dialog open; false when another process has it.
  virtual bool ClaimSingleInstance() = 0;
  // Makes windows created from now on share the host's DPI awareness, so re-parenting keeps it.
  virtual void AdoptDpiAwarenessOf(WindowHandle host) = 0;
  // Loads the preview window hidden and returns its handle.
  virtual WindowHandle LoadPreviewWindow() = 0;
  // Places the preview window at the pane's top-left corner, size in twips.
  virtual void PlacePreviewWindow(WindowHandle preview, double width_twips,
                                  double height_twips) = 0;
  // Sizes the still picture control, in pixels.
  virtual void SizePreviewPicture(WindowHandle preview, double width_pixels,
                                  double height_pixels) = 0;
  virtual void ShowPreviewWindow(WindowHandle preview) = 0;
  // Shows the settings dialog modally and returns when it has closed.
  virtual void ShowSettingsDialog() = 0;
  // Loads the saver window; the saver runs inside and ends the process itself.
  virtual void LoadSaverWindow() = 0;
  // Ends the process at once; on Windows this never returns.
  virtual void EndProcess() = 0;
};

// Everything the entry routine reaches, in one bundle.
struct Platform {
  Windowing& windowing;
  ScreenMetrics& screen;
  ProfileFiles& profile;
  SystemInfo& system;
  PasswordServices& passwords;
  Shell& shell;
  ProgramWindows& windows;
};

}  // namespace quillmere::platform
