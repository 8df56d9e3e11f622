// The settings dialog's state and handlers: loading, the choosers, the sliders, the buttons,
// the commit and the title-strip drag. The platform turns its messages into these calls.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "platform/settings_dialog_host.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/layout_scale.h"
#include "settings_dialog/sliders.h"
#include "startup/settings.h"

namespace quillmere::settings_dialog {

// Mouse buttons with the system's own bit values.
using MouseButton = platform::MouseButton;

inline constexpr std::int32_t kPatternChoices = 6;
inline constexpr std::int32_t kPatternStrips = 5;
inline constexpr std::int32_t kSyncChoices = 2;

class SettingsDialog {
 public:
  SettingsDialog(platform::Platform& platform, platform::SettingsDialogHost& host,
                 startup::SettingsValues& values = startup::Settings());

  // Builds the dialog's look from the settings values and plays the opening zoom.
  void Load();
  // Runs the background painter.
  void OnResize();
  // Runs the panel tiling routine on the pattern panel, then on the values panel.
  void TilePanels();
  // A label whose width follows its text reports the width its text takes.
  void SetTextWidth(DialogControl control, std::int32_t index, std::int32_t width);

  // Mouse input in a surface's own pixels. A press answers whether the surface should hold the
  // mouse capture until the release, which then goes to the element pressed.
  bool OnMouseDown(Surface surface, std::int32_t x, std::int32_t y, MouseButton button);
  void OnMouseUp(Surface surface, std::int32_t x, std::int32_t y, MouseButton button);
  void OnMouseMove(Surface surface, std::int32_t x, std::int32_t y);
  Pointer PointerAt(Surface surface, std::int32_t x, std::int32_t y) const;
  // The system took the mouse capture away: no release will come, so a drag stops where it is.
  void OnCaptureLost();
  // The window went to a monitor of another scale: a drag goes on with the pointer at the same
  // place on the title strip, which has grown or shrunk under it.
  void OnDpiChange(std::int32_t dpi);

  void OnScroll(std::int32_t index, ScrollRequest request, std::int32_t thumb_position);
  // A close that comes from the system: closes without writing.
  void OnSystemClose();

  // The named handlers.
  void OnSliderChange(std::int16_t index);
  void OnPatternMarkPress(std::int16_t index, MouseButton button);
  void OnPatternStripPress(std::int16_t index, MouseButton button);
  void OnRandomLabelPress(MouseButton button);
  void OnSyncMarkPress(std::int16_t index, MouseButton button);
  void OnSyncLabelPress(std::int16_t index, MouseButton button);
  void OnSetPress(MouseButton button);
  void OnSetRelease(MouseButton button);
  void OnCancelPress(MouseButton button);
  void OnCancelRelease(MouseButton button);
  void OnExitPress(MouseButton button);
  void OnExitRelease(MouseButton button);
  void OnUrlClick();
  void OnTitlePress(MouseButton button);
  void OnTitleMove();
  void OnTitleRelease(MouseButton button);
  void OnUnload();

  bool closed() const { return closed_; }
  std::int16_t dragging() const { return dragging_; }
  const Slider& slider(std::size_t index) const { return sliders_[index]; }
  std::span<const Element> layout() const { return layout_; }

 private:
  void SelectPattern(std::int32_t pattern);
  void SelectSync(std::int32_t sync);
  void SetSlider(std::int32_t index, std::int32_t value);
  platform::Point Cursor();
  platform::Point WindowPosition();

  platform::Platform& platform_;
  platform::SettingsDialogHost& host_;
  startup::SettingsValues& values_;
  std::vector<Element> layout_;
  std::array<Slider, 4> sliders_;
  const Element* captured_ = nullptr;
  std::int16_t dragging_ = 0;
  std::int16_t grab_x_ = 0;
  std::int16_t grab_y_ = 0;
  LayoutScale scale_;  // the scale of the window's pixels, in which the grab offset lies
  bool closed_ = false;
};

}  // namespace quillmere::settings_dialog
