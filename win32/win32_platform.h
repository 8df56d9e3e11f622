// The platform interfaces, answered by the real Windows API.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace quillmere::win32 {

class Win32Platform final : public platform::Windowing,
                            public platform::ScreenMetrics,
                            public platform::ProfileFiles,
                            public platform::SystemInfo,
                            public platform::PasswordServices,
                            public platform::Shell,
                            public platform::ProgramWindows {
 public:
  explicit Win32Platform(HINSTANCE instance) : instance_(instance) {}

  platform::Platform Bundle() { return {*this, *this, *this, *this, *this, *this, *this}; }

  // Windowing
  platform::WindowHandle FindWindowByTitle(std::string_view title) override;
  bool IsWindow(platform::WindowHandle window) override;
  bool GetWindowRect(platform::WindowHandle window, platform::Rect& rect) override;
  std::int32_t GetWindowLong(platform::WindowHandle window, std::int32_t index) override;
  void SetWindowLong(platform::WindowHandle window, std::int32_t index,
                     std::int32_t value) override;
  bool SetParent(platform::WindowHandle child, platform::WindowHandle parent) override;
  std::int32_t ShowCursor(std::int32_t show) override;
  bool GetCursorPos(platform::Point& point) override;
  void DrawAnimatedRects(platform::WindowHandle window, std::int32_t animation,
                         const platform::Rect& from, const platform::Rect& to) override;
  void SystemParametersInfo(std::uint32_t action, std::int32_t parameter) override;

  // ScreenMetrics
  double TwipsPerPixelX() override;
  double TwipsPerPixelY() override;
  double ScreenWidthTwips() override;
  double ScreenHeightTwips() override;
  std::vector<platform::Monitor> Monitors() override;  // in win32/monitors.cpp

  // ProfileFiles
  std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::uint32_t buffer_size,
                                      std::string_view path) override;
  bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, std::string_view path) override;
  std::string ExecutableFolder() override;
  std::string ModulePath() override;
  std::optional<std::string> PathForm(std::string_view path, bool short_form) override;

  // SystemInfo
  std::int32_t GetVersionEx(platform::OsVersionInfo& info) override;
  std::uint16_t UserInterfaceLanguage() override;

  // PasswordServices
  void PwdChangePassword(std::string_view registry_key, platform::WindowHandle parent) override;
  std::int32_t VerifyScreenSavePwd(platform::WindowHandle window) override;

  // Shell
  void Open(platform::WindowHandle owner, std::string_view file) override;

  // ProgramWindows
  bool ClaimSingleInstance() override;
  void AdoptDpiAwarenessOf(platform::WindowHandle host) override;
  platform::WindowHandle LoadPreviewWindow() override;
  void PlacePreviewWindow(platform::WindowHandle preview, double width_twips,
                          double height_twips) override;
  void SizePreviewPicture(platform::WindowHandle preview, double width_pixels,
                          double height_pixels) override;
  void ShowPreviewWindow(platform::WindowHandle preview) override;
  void ShowSettingsDialog() override;
  void LoadSaverWindow() override;
  void EndProcess() override;

 private:
  HINSTANCE instance_;
};

HWND ToHwnd(platform::WindowHandle window);
platform::WindowHandle FromHwnd(HWND window);
// The DPI the window is drawn at; for no window, the system's.
int DpiOf(HWND window);

// Loads a function of a module that only some systems have; nullptr where it is missing.
template <typename Function>
Function LoadOptional(const wchar_t* module, const char* name) {
  HMODULE library = LoadLibraryW(module);
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace quillmere::win32
