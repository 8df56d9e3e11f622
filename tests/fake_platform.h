// A recording stand-in for Windows: every call is logged as text, answers are set by the test.
#pragma once

#include <charconv>
#include <concepts>
#include <map>
#include <optional>
#include <string>
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
  using Handle = platform::WindowHandle;
  using Rect = platform::Rect;
  using I32 = std::int32_t;
  using U32 = std::uint32_t;
  using Text = std::string_view;

 public:
  std::map<std::string, Handle> windows_by_title;
  std::map<Handle, Rect> window_rects;    // the windows that exist
  std::optional<platform::Point> cursor;  // empty: GetCursorPos fails
  I32 show_cursor_result = -1;
  I32 verify_result = 1;
  U32 platform_id = platform::kPlatformWin32Nt;
  I32 version_result = 1;              // what GetVersionEx returns
  std::uint16_t ui_language = 0x0411;  // Japanese (Japan)
  bool claim_wins = true;              // this start is the only one running
  double twips_per_pixel_x = 15;
  double screen_width_twips = 1024 * 15, screen_height_twips = 768 * 15;
  std::string module_path;
  std::optional<std::string> long_path, short_path;               // the forms of module_path
  Handle refuses_children = 0;                                    // SetParent to it fails
  bool writes_fail = false;                                       // the settings file is read-only
  std::vector<platform::Monitor> monitors;                        // none: the primary alone
  std::map<std::string, std::map<std::string, std::string>> ini;  // section -> key -> value

  // Everything asked of the fake, in order, as Name(arg,...): handles in hex, rectangles in braces.
  std::vector<std::string> calls;
  platform::Platform Bundle() { return {*this, *this, *this, *this, *this, *this, *this}; }
  void Log(std::string call, const auto&... args) {
    const std::vector<std::string> texts = {Str(args)...};
    for (std::size_t i = 0; i < texts.size(); ++i) call += (i == 0 ? "(" : ",") + texts[i];
    calls.push_back(texts.empty() ? call : call + ")");
  }
  auto Answer(auto answer, std::string call, const auto&... args) {
    Log(std::move(call), args...);
    return answer;
  }

  Handle FindWindowByTitle(Text title) override {
    const auto found = windows_by_title.find(std::string(title));
    return Answer(found == windows_by_title.end() ? 0 : found->second, "FindWindow", title);
  }
  bool IsWindow(Handle window) override { return window_rects.contains(window); }
  bool GetWindowRect(Handle window, Rect& rect) override {
    if (window_rects.contains(window)) rect = window_rects[window];
    return Answer(window_rects.contains(window), "GetWindowRect", window);
  }
  I32 GetWindowLong(Handle w, I32 i) override { return Answer(kStyle, "GetWindowLong", w, i); }
  void SetWindowLong(Handle w, I32 i, I32 v) override {
    Log("SetWindowLong", w, i, Handle{U32(v)});
  }
  bool SetParent(Handle w, Handle p) override {
    return Answer(p != refuses_children, "SetParent", w, p);
  }
  I32 ShowCursor(I32 show) override { return Answer(show_cursor_result, "ShowCursor", show); }
  bool GetCursorPos(platform::Point& point) override {
    point = cursor.value_or(point);
    return Answer(cursor.has_value(), "GetCursorPos");
  }
  void DrawAnimatedRects(Handle w, I32 how, const Rect& from, const Rect& to) override {
    Log("DrawAnimatedRects", w, how, from, to);
  }
  void SystemParametersInfo(U32 action, I32 v) override { Log("SystemParametersInfo", action, v); }
  double TwipsPerPixelX() override { return twips_per_pixel_x; }
  double TwipsPerPixelY() override { return 15; }
  double ScreenWidthTwips() override { return screen_width_twips; }
  double ScreenHeightTwips() override { return screen_height_twips; }
  std::vector<platform::Monitor> Monitors() override { return monitors; }
  // As the system does: the value or the fallback, cut to the buffer less its NUL.
  std::string GetPrivateProfileString(Text section, Text key, Text fallback, U32 buffer_size,
                                      Text path) override {
    Log("GetPrivateProfileString", section, key, buffer_size, path);
    const auto& keys = ini[std::string(section)];
    const auto found = keys.find(std::string(key));
    return (found == keys.end() ? std::string(fallback) : found->second).substr(0, buffer_size - 1);
  }
  bool WritePrivateProfileString(Text section, Text key, Text value, Text path) override {
    Log("WritePrivateProfileString", section, key, "[" + std::string(value) + "]", path);
    ini[std::string(section)][std::string(key)] = value;
    return !writes_fail;
  }
  std::string ExecutableFolder() override { return "C:\\Savers"; }
  std::string ModulePath() override { return module_path; }
  std::optional<std::string> PathForm(Text path, bool short_form) override {
    if (path != module_path) return std::nullopt;
    return short_form ? short_path : long_path;
  }
  I32 GetVersionEx(platform::OsVersionInfo& info) override {
    info.dwPlatformId = platform_id;
    return Answer(version_result, "GetVersionEx", info.dwOSVersionInfoSize);
  }
  std::uint16_t UserInterfaceLanguage() override { return ui_language; }
  void PwdChangePassword(Text key, Handle w) override { Log("PwdChangePassword", key, w); }
  I32 VerifyScreenSavePwd(Handle w) override {
    return Answer(verify_result, "VerifyScreenSavePwd", w);
  }
  void Open(Handle owner, Text file) override { Log("ShellOpen", owner, file); }
  bool ClaimSingleInstance() override { return Answer(claim_wins, "ClaimSingleInstance"); }
  void AdoptDpiAwarenessOf(Handle host) override { Log("AdoptDpiAwarenessOf", host); }
  Handle LoadPreviewWindow() override { return Answer(Handle{0x5150}, "LoadPreviewWindow"); }
  void PlacePreviewWindow(Handle w, double x, double y) override {
    Log("PlacePreviewWindow", w, x, y);
  }
  void SizePreviewPicture(Handle w, double x, double y) override {
    Log("SizePreviewPicture", w, x, y);
  }
  void ShowPreviewWindow(Handle preview) override { Log("ShowPreviewWindow", preview); }
  void ShowSettingsDialog() override { Log("ShowSettingsDialog"); }
  void LoadSaverWindow() override { Log("LoadSaverWindow"); }
  void EndProcess() override { Log("EndProcess"); }

 private:
  static constexpr I32 kStyle = static_cast<I32>(0x86000000u);  // WS_POPUP among others
  static std::string Str(Text text) { return std::string(text); }
  static std::string Str(std::integral auto value) { return std::to_string(value); }
  static std::string Str(Handle value) { return "0x" + Chars(value, 16); }
  static std::string Str(double value) { return Chars(value, std::chars_format::general, 6); }
  static std::string Str(const Rect& r) {
    return "{" + Str(r.left) + "," + Str(r.top) + "," + Str(r.right) + "," + Str(r.bottom) + "}";
  }

  static std::string Chars(auto... how) {
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, how...).ptr};
  }
};

}  // namespace quillmere::testing
