// The platform interfaces answered by user32, gdi32, kernel32, shell32 and the password DLLs.
#include "win32/win32_platform.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "startup/numbers.h"
#include "win32/dialog_window.h"
#include "win32/preview_window.h"
#include "win32/saver_window.h"
#include "win32/text.h"

namespace quillmere::win32 {
namespace {

static_assert(sizeof(OSVERSIONINFOA) == sizeof(platform::OsVersionInfo));

double LogicalPixelsPerInch(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int WholePixels(double pixels) { return static_cast<int>(startup::RoundHalfEven(pixels)); }

// The longest path the wide file functions take, with its NUL.
constexpr DWORD kLongestPath = 32768;

std::wstring ModuleFileName() {
  std::vector<wchar_t> buffer(kLongestPath, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), kLongestPath);
  return {buffer.data(), length};
}

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);
// DPI_AWARENESS_CONTEXT is an opaque handle; older headers do not declare it.
using DpiAwarenessContext = HANDLE;
using GetWindowDpiAwarenessContextFunction = DpiAwarenessContext(WINAPI*)(HWND);
using SetThreadDpiAwarenessContextFunction = DpiAwarenessContext(WINAPI*)(DpiAwarenessContext);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

}  // namespace

HWND ToHwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

// Before Windows 10 (1607) every window of the process has the system's DPI.
int DpiOf(HWND window) {
  static const auto for_window =
      LoadOptional<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = window != nullptr && for_window != nullptr ? for_window(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : static_cast<int>(LogicalPixelsPerInch(LOGPIXELSY));
}

platform::WindowHandle Win32Platform::FindWindowByTitle(std::string_view title) {
  return FromHwnd(FindWindowW(nullptr, Widen(title).c_str()));
}

bool Win32Platform::IsWindow(platform::WindowHandle window) {
  return window != 0 && ::IsWindow(ToHwnd(window));
}

bool Win32Platform::GetWindowRect(platform::WindowHandle window, platform::Rect& rect) {
  RECT r{};
  if (!::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

std::int32_t Win32Platform::GetWindowLong(platform::WindowHandle window, std::int32_t index) {
  return ::GetWindowLongW(ToHwnd(window), index);
}

void Win32Platform::SetWindowLong(platform::WindowHandle window, std::int32_t index,
                                  std::int32_t value) {
  ::SetWindowLongW(ToHwnd(window), index, value);
}

bool Win32Platform::SetParent(platform::WindowHandle child, platform::WindowHandle parent) {
  return ::SetParent(ToHwnd(child), ToHwnd(parent)) != nullptr;
}

std::int32_t Win32Platform::ShowCursor(std::int32_t show) { return ::ShowCursor(show); }

bool Win32Platform::GetCursorPos(platform::Point& point) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  point = {p.x, p.y};
  return true;
}

void Win32Platform::DrawAnimatedRects(platform::WindowHandle window, std::int32_t animation,
                                      const platform::Rect& from, const platform::Rect& to) {
  const RECT f{from.left, from.top, from.right, from.bottom};
  const RECT t{to.left, to.top, to.right, to.bottom};
  ::DrawAnimatedRects(ToHwnd(window), animation, &f, &t);
}

void Win32Platform::SystemParametersInfo(std::uint32_t action, std::int32_t parameter) {
  ::SystemParametersInfoA(action, static_cast<UINT>(parameter), nullptr, 0);
}

double Win32Platform::TwipsPerPixelX() { return 1440.0 / LogicalPixelsPerInch(LOGPIXELSX); }
double Win32Platform::TwipsPerPixelY() { return 1440.0 / LogicalPixelsPerInch(LOGPIXELSY); }
double Win32Platform::ScreenWidthTwips() {
  return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX();
}
double Win32Platform::ScreenHeightTwips() {
  return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

std::string Win32Platform::GetPrivateProfileString(std::string_view section, std::string_view key,
                                                   std::string_view fallback,
                                                   std::uint32_t buffer_size,
                                                   std::string_view path) {
  std::vector<wchar_t> buffer(buffer_size, L'\0');
  ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(fallback).c_str(),
                             buffer.data(), buffer_size, Widen(path).c_str());
  return Narrow(buffer.data());
}

bool Win32Platform::WritePrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view value, std::string_view path) {
  return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                      Widen(value).c_str(), Widen(path).c_str()) != 0;
}

std::string Win32Platform::ExecutableFolder() {
  const std::wstring path = ModuleFileName();
  const std::size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

std::string Win32Platform::ModulePath() { return Narrow(ModuleFileName()); }

std::optional<std::string> Win32Platform::PathForm(std::string_view path, bool short_form) {
  std::vector<wchar_t> buffer(kLongestPath, L'\0');
  const auto form = short_form ? GetShortPathNameW : GetLongPathNameW;
  const DWORD length = form(Widen(path).c_str(), buffer.data(), kLongestPath);
  if (length == 0 || length >= kLongestPath) return std::nullopt;
  return Narrow({buffer.data(), length});
}

std::int32_t Win32Platform::GetVersionEx(platform::OsVersionInfo& info) {
  OSVERSIONINFOA record{};
  record.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
  const BOOL result = ::GetVersionExA(&record);
  info.dwMajorVersion = record.dwMajorVersion;
  info.dwMinorVersion = record.dwMinorVersion;
  info.dwBuildNumber = record.dwBuildNumber;
  info.dwPlatformId = record.dwPlatformId;
  std::memcpy(info.szCSDVersion, record.szCSDVersion, sizeof info.szCSDVersion);
  return result;
}

std::uint16_t Win32Platform::UserInterfaceLanguage() { return GetUserDefaultUILanguage(); }

void Win32Platform::PwdChangePassword(std::string_view registry_key,
                                      platform::WindowHandle parent) {
  if (auto change = LoadOptional<PwdChangePasswordFunction>(L"mpr.dll", "PwdChangePasswordA")) {
    const std::string key(registry_key);
    change(key.c_str(), ToHwnd(parent), 0, 0);
  }
}

std::int32_t Win32Platform::VerifyScreenSavePwd(platform::WindowHandle window) {
  auto verify = LoadOptional<VerifyScreenSavePwdFunction>(L"password.cpl", "VerifyScreenSavePwd");
  // Without the password services there is no password to ask for.
  return verify ? verify(ToHwnd(window)) : 1;
}

void Win32Platform::Open(platform::WindowHandle owner, std::string_view file) {
  ShellExecuteW(ToHwnd(owner), L"open", Widen(file).c_str(), L"", L"", SW_SHOWNORMAL);
}

// Two starts in the same instant can both pass the title guard before either window exists;
// the one that does not get the name first ends, so at most one saver or dialog results.
// The handle stays open until the process ends, which releases the name.
bool Win32Platform::ClaimSingleInstance() {
  HANDLE claim = CreateMutexW(nullptr, TRUE, L"Local\\quillmere_single_instance");
  return claim != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

// Windows before 10 (and some Wine versions) lack both calls; there the thread keeps its awareness.
void Win32Platform::AdoptDpiAwarenessOf(platform::WindowHandle host) {
  auto window_context = LoadOptional<GetWindowDpiAwarenessContextFunction>(
      L"user32.dll", "GetWindowDpiAwarenessContext");
  auto set_thread_context = LoadOptional<SetThreadDpiAwarenessContextFunction>(
      L"user32.dll", "SetThreadDpiAwarenessContext");
  if (window_context == nullptr || set_thread_context == nullptr) return;
  if (DpiAwarenessContext context = window_context(ToHwnd(host))) set_thread_context(context);
}

platform::WindowHandle Win32Platform::LoadPreviewWindow() {
  return FromHwnd(win32::LoadPreviewWindow(instance_));
}

void Win32Platform::PlacePreviewWindow(platform::WindowHandle preview, double width_twips,
                                       double height_twips) {
  win32::PlacePreviewWindow(
      ToHwnd(preview), static_cast<int>(startup::TwipsToPixels(width_twips, TwipsPerPixelX())),
      static_cast<int>(startup::TwipsToPixels(height_twips, TwipsPerPixelY())));
}

void Win32Platform::SizePreviewPicture(platform::WindowHandle preview, double width_pixels,
                                       double height_pixels) {
  win32::SizePreviewPicture(ToHwnd(preview), WholePixels(width_pixels), WholePixels(height_pixels));
}

void Win32Platform::ShowPreviewWindow(platform::WindowHandle preview) {
  win32::ShowPreviewWindow(ToHwnd(preview));
}

void Win32Platform::ShowSettingsDialog() {
  platform::Platform bundle = Bundle();
  win32::ShowSettingsDialog(instance_, bundle);
}

void Win32Platform::LoadSaverWindow() {
  platform::Platform bundle = Bundle();
  win32::LoadSaverWindow(instance_, bundle);
}

void Win32Platform::EndProcess() { ExitProcess(0); }

}  // namespace quillmere::win32
