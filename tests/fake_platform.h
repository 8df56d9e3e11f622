// A recording stand-in for Windows: every call is logged as text, answers are set by the test.
#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace quillmere::testing {

class FakePlatform final : public platform::Windowing,
                           public platform::ScreenMetrics,
                           public platform::ProfileFiles,
                           public platform::SystemInfo,
                           public platform::PasswordServices,
                           public platform::Shell,
                           public platform::ProgramWindows {
 public:
  // What the fake answers.
  std::map<std::string, platform::WindowHandle> windows_by_title;
  std::map<platform::WindowHandle, platform::Rect> window_rects;  // the windows that exist
  std::optional<platform::Point> cursor;                          // empty: GetCursorPos fails
  std::int32_t show_cursor_result = -1;
  std::int32_t version_result = 1;
  std::uint32_t platform_id = platform::kPlatformWin32Nt;
  std::int32_t verify_result = 1;
  bool writes_succeed = true;
  double twips_per_pixel_x = 15;
  double twips_per_pixel_y = 15;
  double screen_width_twips = 1024 * 15;
  double screen_height_twips = 768 * 15;
  std::string folder = "C:\\Savers";
  platform::WindowHandle preview_handle = 0x5150;
  std::int32_t preview_style = 0x06000000;

  // The settings file: section -> key -> value.
  std::map<std::string, std::map<std::string, std::string>> ini;

  // Everything asked of the fake, in order.
  std::vector<std::string> calls;
  std::vector<std::string> Calls(std::string_view prefix) const {
    std::vector<std::string> matching;
    for (const auto& call : calls) {
      if (call.rfind(prefix, 0) == 0) matching.push_back(call);
    }
    return matching;
  }

  platform::Platform Bundle() { return {*this, *this, *this, *this, *this, *this, *this}; }

  // Windowing
  platform::WindowHandle FindWindowByTitle(std::string_view title) override {
    Log("FindWindow(" + std::string(title) + ")");
    auto found = windows_by_title.find(std::string(title));
    return found == windows_by_title.end() ? 0 : found->second;
  }
  bool IsWindow(platform::WindowHandle window) override {
    return window_rects.count(window) != 0 || window == preview_handle;
  }
  bool GetWindowRect(platform::WindowHandle window, platform::Rect& rect) override {
    Log("GetWindowRect(" + Hex(window) + ")");
    auto found = window_rects.find(window);
    if (found == window_rects.end()) return false;
    rect = found->second;
    return true;
  }
  std::int32_t GetWindowLong(platform::WindowHandle window, std::int32_t index) override {
    Log("GetWindowLong(" + Hex(window) + "," + std::to_string(index) + ")");
    return preview_style;
  }
  void SetWindowLong(platform::WindowHandle window, std::int32_t index, std::int32_t value) override {
    Log("SetWindowLong(" + Hex(window) + "," + std::to_string(index) + "," +
        Hex(static_cast<std::uint32_t>(value)) + ")");
  }
  void SetParent(platform::WindowHandle child, platform::WindowHandle parent) override {
    Log("SetParent(" + Hex(child) + "," + Hex(parent) + ")");
  }
  std::int32_t ShowCursor(std::int32_t show) override {
    Log("ShowCursor(" + std::to_string(show) + ")");
    return show_cursor_result;
  }
  bool GetCursorPos(platform::Point& point) override {
    Log("GetCursorPos");
    if (!cursor) return false;
    point = *cursor;
    return true;
  }
  void DrawAnimatedRects(platform::WindowHandle window, std::int32_t animation,
                         const platform::Rect& from, const platform::Rect& to) override {
    Log("DrawAnimatedRects(" + Hex(window) + "," + std::to_string(animation) + "," + Text(from) +
        "," + Text(to) + ")");
  }
  void SystemParametersInfo(std::uint32_t action, std::int32_t parameter) override {
    Log("SystemParametersInfo(" + std::to_string(action) + "," + std::to_string(parameter) + ")");
  }

  // ScreenMetrics
  double TwipsPerPixelX() override { return twips_per_pixel_x; }
  double TwipsPerPixelY() override { return twips_per_pixel_y; }
  double ScreenWidthTwips() override { return screen_width_twips; }
  double ScreenHeightTwips() override { return screen_height_twips; }

  // ProfileFiles
  std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::uint32_t buffer_size,
                                      std::string_view path) override {
    Log("GetPrivateProfileString(" + std::string(section) + "," + std::string(key) + "," +
        std::to_string(buffer_size) + "," + std::string(path) + ")");
    auto s = ini.find(std::string(section));
    if (s == ini.end()) return std::string(fallback);
    auto k = s->second.find(std::string(key));
    if (k == s->second.end()) return std::string(fallback);
    return k->second.substr(0, buffer_size - 1);
  }
  bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, std::string_view path) override {
    Log("WritePrivateProfileString(" + std::string(section) + "," + std::string(key) + ",[" +
        std::string(value) + "]," + std::string(path) + ")");
    if (writes_succeed) ini[std::string(section)][std::string(key)] = std::string(value);
    return writes_succeed;
  }
  std::string ExecutableFolder() override { return folder; }

  // SystemInfo
  std::int32_t GetVersionEx(platform::OsVersionInfo& info) override {
    Log("GetVersionEx(" + std::to_string(info.dwOSVersionInfoSize) + ")");
    info.dwPlatformId = platform_id;
    return version_result;
  }

  // PasswordServices
  void PwdChangePassword(std::string_view registry_key, platform::WindowHandle parent) override {
    Log("PwdChangePassword(" + std::string(registry_key) + "," + Hex(parent) + ")");
  }
  std::int32_t VerifyScreenSavePwd(platform::WindowHandle window) override {
    Log("VerifyScreenSavePwd(" + Hex(window) + ")");
    return verify_result;
  }

  // Shell
  void Open(platform::WindowHandle owner, std::string_view file) override {
    Log("ShellOpen(" + Hex(owner) + "," + std::string(file) + ")");
  }

  // ProgramWindows
  platform::WindowHandle LoadPreviewWindow() override {
    Log("LoadPreviewWindow");
    return preview_handle;
  }
  void PlacePreviewWindow(platform::WindowHandle preview, double width_twips,
                          double height_twips) override {
    Log("PlacePreviewWindow(" + Hex(preview) + "," + Number(width_twips) + "," +
        Number(height_twips) + ")");
  }
  void SizePreviewPicture(platform::WindowHandle preview, double width_pixels,
                          double height_pixels) override {
    Log("SizePreviewPicture(" + Hex(preview) + "," + Number(width_pixels) + "," +
        Number(height_pixels) + ")");
  }
  void ShowPreviewWindow(platform::WindowHandle preview) override {
    Log("ShowPreviewWindow(" + Hex(preview) + ")");
  }
  void ShowSettingsDialog() override { Log("ShowSettingsDialog"); }
  void LoadSaverWindow() override { Log("LoadSaverWindow"); }
  void EndProcess() override { Log("EndProcess"); }

  static std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
  }
  static std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
  }
  static std::string Text(const platform::Rect& r) {
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
  }

 private:
  void Log(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace quillmere::testing
