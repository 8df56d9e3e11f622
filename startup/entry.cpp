#include "startup/entry.h"

#include <cmath>
#include <limits>
#include <optional>

#include "startup/command_line.h"
#include "startup/numbers.h"
#include "startup/platform_helpers.h"
#include "startup/settings.h"

namespace quillmere::startup {
namespace {

// A pane size in twips, held in 32 bits so that wide panes keep their size.
double PaneTwips(std::int32_t low, std::int32_t high, double twips_per_pixel) {
  const double twips = RoundHalfEven((static_cast<double>(high) - low) * twips_per_pixel);
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  return twips > kMax ? kMax : (twips < kMin ? kMin : twips);
}

void RunPreviewSetup(std::string_view argument_text, platform::Platform& p) {
  const std::optional<platform::WindowHandle> host_value = PreviewHostOf(argument_text);
  const platform::WindowHandle host = host_value.value_or(0);
  // A preview with no pane to live in would be an orphan window nobody ends.
  if (!host_value || !p.windowing.IsWindow(host)) {
    p.windows.EndProcess();
    return;
  }

  // The pane's rectangle and our child window must be seen in the same DPI awareness.
  p.windows.AdoptDpiAwarenessOf(host);
  platform::Rect pane;
  p.windowing.GetWindowRect(host, pane);
  const double tpp_x = p.screen.TwipsPerPixelX();
  const double tpp_y = p.screen.TwipsPerPixelY();
  const double width_twips = PaneTwips(pane.left, pane.right, tpp_x);
  const double height_twips = PaneTwips(pane.top, pane.bottom, tpp_y);

  const platform::WindowHandle preview = p.windows.LoadPreviewWindow();
  // A child may not also be a popup; the style comes first, then the parent.
  const std::int32_t style = p.windowing.GetWindowLong(preview, platform::kGwlStyle);
  p.windowing.SetWindowLong(preview, platform::kGwlStyle,
                            (style | platform::kWsChild) & ~platform::kWsPopup);
  // A pane gone since the check would leave a stray top-level window that nothing ends.
  if (!p.windowing.SetParent(preview, host)) {
    p.windows.EndProcess();
    return;
  }
  p.windows.PlacePreviewWindow(preview, width_twips, height_twips);
  p.windows.SizePreviewPicture(preview, static_cast<float>(width_twips / tpp_x),
                               static_cast<float>(height_twips / tpp_y));
  p.windows.ShowPreviewWindow(preview);
}

void RunPasswordChange(std::string_view argument_text, platform::Platform& p) {
  if (IsWindowsNT(p.system)) return;
  if (auto parent = PasswordOwnerOf(argument_text)) {
    p.passwords.PwdChangePassword(kPasswordRegistryKey, *parent);
  }
}

}  // namespace

Mode ModeOf(std::string_view argument_text) {
  if (argument_text.empty()) return Mode::FullScreenWithCursor;
  switch (ModeLetter(argument_text)) {
    case U'P':
      return Mode::Preview;
    case U'A':
      return Mode::PasswordChange;
    case U'C':
      return Mode::Settings;
    case U'S':
      return Mode::FullScreen;
    default:
      return Mode::None;
  }
}

StartState& Start() {
  static StartState state;
  return state;
}

void RunEntry(std::string_view argument_text, platform::Platform& p) {
  // Both titles are always asked for, before the command line is looked at.
  const platform::WindowHandle saver = p.windowing.FindWindowByTitle(kSaverWindowTitle);
  const platform::WindowHandle dialog = p.windowing.FindWindowByTitle(kSettingsDialogTitle);
  if (saver != 0 || dialog != 0) {
    p.windows.EndProcess();
    return;
  }

  Start().argument_text = std::string(argument_text);
  const Mode mode = ModeOf(argument_text);
  if (mode == Mode::Preview) {
    RunPreviewSetup(argument_text, p);
    return;
  }

  // A start that loses the race must end before it has changed anything of the system's.
  const bool opens_window =
      mode == Mode::Settings || mode == Mode::FullScreen || mode == Mode::FullScreenWithCursor;
  if (opens_window && !p.windows.ClaimSingleInstance()) {
    p.windows.EndProcess();
    return;
  }

  LoadSettings(p.profile);

  switch (mode) {
    case Mode::PasswordChange:
      RunPasswordChange(argument_text, p);
      break;
    case Mode::Settings:
      p.windows.ShowSettingsDialog();
      break;
    case Mode::FullScreen:
      Start().saved_cursor_count = p.windowing.ShowCursor(0);
      SetScreenSaverRunning(p.windowing, true);
      p.windows.LoadSaverWindow();
      break;
    case Mode::FullScreenWithCursor:
      p.windows.LoadSaverWindow();
      break;
    case Mode::Preview:
    case Mode::None:
      break;
  }
  p.windows.EndProcess();
}

}  // namespace quillmere::startup
