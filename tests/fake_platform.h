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
  // What the fake answers.
  std::map<std::string, Handle> windows_by_title;
  std::map<Handle, Rect> window_rects;    // the windows that exist
  std::optional<platform::Point> cursor;  // empty: GetCursorPos fails
  I32 show_cursor_result = -1, version_result = 1, verify_result = 1;
  U32 platform_id = platform::kPlatformWin32Nt;
  bool writes_succeed = true, claim_wins = true;  // claim_wins: this start is the only one running
  double twips_per_pixel_x = 15, twips_per_pixel_y = 15;
  double screen_width_twips = 1024 * 15, screen_height_twips = 768 * 15;
  std::string folder = "C:\\Savers";
  Handle preview_handle = 0x5150;
  I32 preview_style = static_cast<I32>(0x86000000u);  // WS_POPUP among others
  Handle refuses_children = 0;                        // SetParent to it fails
  std::vector<platform::Monitor> monitors;            // none listed means the primary alone
  std::map<std::string, std::map<std::string, std::string>> ini;  // section -> key -> value

  // Everything asked of the fake, in order, as Name(arg,...): handles in hex, rectangles in braces.
  std::vector<std::string> calls;
  std::vector<std::string> Calls(Text prefix) const {
    std::vector<std::string> matching;
    for (const auto& call : calls)
      if (call.starts_with(prefix)) matching.push_back(call);
    return matching;
  }
  platform::Platform Bundle() { return {*this, *this, *this, *this, *this, *this, *this}; }
  // The comma operator lets a one-line override log and then answer.
  void Log(std::string call, const auto&... args) {
    [[maybe_unused]] const char* separator = "(";
    ((call += separator + Str(args), separator = ","), ...);
    calls.push_back(sizeof...(args) > 0 ? call + ")" : call);
  }

  Handle FindWindowByTitle(Text title) override {
    Log("FindWindow", title);
    auto found = windows_by_title.find(std::string(title));
    return found == windows_by_title.end() ? 0 : found->second;
  }
  bool IsWindow(Handle window) override { return window_rects.contains(window); }
  bool GetWindowRect(Handle window, Rect& rect) override {
    if (Log("GetWindowRect", window); window_rects.contains(window)) rect = window_rects[window];
    return window_rects.contains(window);
  }
  I32 GetWindowLong(Handle w, I32 i) override { return Log("GetWindowLong", w, i), preview_style; }
  void SetWindowLong(Handle w, I32 i, I32 v) override {
    Log("SetWindowLong", w, i, Handle{U32(v)});
  }
  bool SetParent(Handle child, Handle parent) override {
    return Log("SetParent", child, parent), parent != refuses_children;
  }
  I32 ShowCursor(I32 show) override { return Log("ShowCursor", show), show_cursor_result; }
  bool GetCursorPos(platform::Point& point) override {
    if (Log("GetCursorPos"); cursor) point = *cursor;
    return cursor.has_value();
  }
  void DrawAnimatedRects(Handle window, I32 animation, const Rect& from, const Rect& to) override {
    Log("DrawAnimatedRects", window, animation, from, to);
  }
  void SystemParametersInfo(U32 action, I32 v) override { Log("SystemParametersInfo", action, v); }
  double TwipsPerPixelX() override { return twips_per_pixel_x; }
  double TwipsPerPixelY() override { return twips_per_pixel_y; }
  double ScreenWidthTwips() override { return screen_width_twips; }
  double ScreenHeightTwips() override { return screen_height_twips; }
  // As the system does: the value or the fallback, cut to the buffer less its NUL.
  std::string GetPrivateProfileString(Text section, Text key, Text fallback, U32 buffer_size,
                                      Text path) override {
    Log("GetPrivateProfileString", section, key, buffer_size, path);
    std::string value(fallback);
    auto s = ini.find(std::string(section));
    if (s != ini.end() && s->second.contains(std::string(key))) value = s->second[std::string(key)];
    return buffer_size == 0 ? "" : value.substr(0, buffer_size - 1);
  }
  bool WritePrivateProfileString(Text section, Text key, Text value, Text path) override {
    Log("WritePrivateProfileString", section, key, "[" + std::string(value) + "]", path);
    if (writes_succeed) ini[std::string(section)][std::string(key)] = value;
    return writes_succeed;
  }
  std::string ExecutableFolder() override { return folder; }
  I32 GetVersionEx(platform::OsVersionInfo& info) override {
    Log("GetVersionEx", info.dwOSVersionInfoSize);
    info.dwPlatformId = platform_id;
    return version_result;
  }
  void PwdChangePassword(Text key, Handle parent) override {
    Log("PwdChangePassword", key, parent);
  }
  I32 VerifyScreenSavePwd(Handle w) override {
    return Log("VerifyScreenSavePwd", w), verify_result;
  }
  void Open(Handle owner, Text file) override { Log("ShellOpen", owner, file); }
  Handle LoadPreviewWindow() override { return Log("LoadPreviewWindow"), preview_handle; }
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
  bool ClaimSingleInstance() override { return Log("ClaimSingleInstance"), claim_wins; }
  void AdoptDpiAwarenessOf(Handle host) override { Log("AdoptDpiAwarenessOf", host); }
  std::vector<platform::Monitor> Monitors() override { return monitors; }

 private:
  static std::string Str(Text text) { return std::string(text); }
  static std::string Str(std::integral auto value) { return std::to_string(value); }
  static std::string Str(const Rect& r) {
    return "{" + Str(r.left) + "," + Str(r.top) + "," + Str(r.right) + "," + Str(r.bottom) + "}";
  }
  static std::string Str(Handle value) { return "0x" + Chars(value, 16); }
  static std::string Str(double value) {
    return Chars(value, std::chars_format::general, 6);
  }  // as %g
  static std::string Chars(auto... how) {
    char t[32];
    return {t, std::to_chars(t, t + sizeof t, how...).ptr};
  }
};

}  // namespace quillmere::testing
