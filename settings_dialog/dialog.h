// The settings dialog's state and handlers: loading, the choosers, the sliders, the buttons,
// the commit and the title-strip drag. The platform turns its messages into these calls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/settings_dialog_host.h"
#include "settings_dialog/accessibility.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/layout_scale.h"
#include "settings_dialog/sliders.h"
#include "startup/settings.h"

namespace quillmere::settings_dialog {

// Mouse buttons with the system's own bit values.
using MouseButton = platform::MouseButton;

// The two halves of a click, which the keyboard and a reader's default action make too.
enum class Phase { Press, Release };

// The keys the dialog answers; the rest go to the system.
enum class Key { Tab, Left, Right, Up, Down, PageUp, PageDown, Home, End, Space, Other };

// The face the dialog shows: a hand-written Language line ("ja" or "en") wins over the user
// interface's language, which gives Japanese only when its primary language is Japanese.
Face ChooseFace(std::string_view language_line, std::uint16_t ui_language);

// What an element shows now, as the host paints it.
struct Look {
  platform::DialogPicture picture = platform::DialogPicture::None;
  std::string text;  // UTF-8, in the face
  bool operator==(const Look&) const = default;
};

// Where the focus cue is drawn: one surface's pixels around the focused element.
struct FocusCue {
  Surface surface;
  Box box;
  bool operator==(const FocusCue&) const = default;
};

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

  // The keyboard: a key-down answers whether the dialog used it.
  bool OnKeyDown(Key key, bool shift);
  void OnKeyUp(Key key);
  // The system showed or hid the keyboard cues.
  void OnFocusCuesChange(bool shown);
  // The dialog's windows gained or lost the keyboard: only while they hold it is an item focused.
  void OnKeyboardFocus(bool held);
  std::optional<FocusCue> Cue() const;

  // What a screen reader is told, one row for each actionable element in Tab order.
  std::vector<AccessibleItem> AccessibleItems() const;
  // The name a reader hears for the dialog itself: its caption in the face.
  std::string_view Title() const;
  // A reader asked for an item's default action: what a click on it does.
  void Activate(std::size_t item);

  // High contrast on or off, now and whenever the theme changes: the skin is painted again.
  void OnThemeChange(bool high_contrast);
  bool high_contrast() const { return high_contrast_; }
  // The ink of an element's text or drawing, and the paper an element lays under it, if any.
  Ink InkOf(const Element& element) const;
  std::optional<Ink> PaperOf(const Element& element) const;

  Face face() const { return face_; }
  std::string_view ExitTip() const;
  // A close that comes from the system: closes without writing.
  void OnSystemClose();

  // The named handlers.
  void OnSliderChange(std::int16_t index);
  void OnPatternMarkPress(std::int16_t index);
  void OnPatternStripPress(std::int16_t index);
  void OnRandomLabelPress();
  void OnSyncMarkPress(std::int16_t index);
  void OnSyncLabelPress(std::int16_t index);
  void OnUrlClick();
  void OnTitlePress(MouseButton button);
  void OnTitleMove();
  void OnTitleRelease();
  void OnUnload();

  bool closed() const { return closed_; }
  bool dragging() const { return dragging_; }
  std::span<const Element> layout() const { return layout_; }
  // What the element shows now; an element the layout lacks shows nothing.
  const Look& LookOf(DialogControl control, std::int32_t index = 0) const;
  // The surfaces whose looks or focus cue changed since the last call, for the host to paint.
  std::vector<Surface> TakeChanges();
  // An element as this dialog lays it out: in its face, as wide as its text.
  const Element& InLayout(DialogControl control, std::int32_t index = 0) const;

 private:
  // The element's place in the layout; the layout's size when it lacks the element.
  std::size_t At(DialogControl control, std::int32_t index) const;
  template <typename Value>
  void Change(DialogControl control, std::int32_t index, Value Look::*field, Value value);
  void Show(DialogControl control, std::int32_t index, platform::DialogPicture picture);
  void ShowButton(DialogControl button, bool pressed);
  void ShowMarks();
  void Act(const Element& element, Phase phase, std::optional<MouseButton> button);
  void Button(DialogControl button, Phase phase);
  void Select(std::int32_t startup::SettingsValues::*value, std::int32_t choice);
  void SetSlider(std::int32_t index, std::int32_t value);
  void ShowCues();
  std::string_view NotSavedMessage() const;
  // A click or a slider's move puts the keyboard on the element, when a user can act on it.
  void FocusOn(const Element& element);
  // The focus on a stop of the Tab order (-1: the dialog itself); tells the host what moved.
  void FocusStop(std::int32_t stop);
  // Tells the host when the item the keyboard is on has changed.
  void TellFocus();
  // Tells readers that a choice gained or lost its check, or a slider's value moved.
  void TellReader(platform::ReaderEvent event, DialogControl control, std::int32_t index);
  // An item a user acts on: one choice of a stop of the Tab order.
  struct Item {
    Stop stop;
    std::int32_t choice;
    auto operator<=>(const Item&) const = default;
  };
  static std::vector<Item> ItemsIn(std::span<const Element> layout);
  std::vector<std::size_t> ItemsOf(std::int32_t stop) const;
  bool InItem(const Element& element, std::size_t item) const;
  // The element a key or a reader presses for the item.
  const Element& Whole(std::size_t item) const;
  bool Selected(const Item& choice) const;
  std::int32_t FocusedItem() const;
  void MoveInGroup(std::int32_t step);
  void Press(std::size_t item);
  void Release(std::size_t item);
  Box ItemBox(std::size_t item) const;
  platform::Point Cursor();
  platform::Point WindowPosition();

  platform::Platform& platform_;
  platform::SettingsDialogHost& host_;
  startup::SettingsValues& values_;
  Face face_;
  std::vector<Element> layout_;
  std::vector<Look> looks_;  // in the order of layout_
  std::vector<Item> items_;  // in Tab order
  std::array<bool, kSurfaces.size()> changed_{};
  std::optional<FocusCue> painted_cue_;
  std::array<Slider, 4> sliders_;
  const Element* captured_ = nullptr;
  bool dragging_ = false;
  std::int16_t grab_x_ = 0;
  std::int16_t grab_y_ = 0;
  LayoutScale scale_;  // the scale of the window's pixels, in which the grab offset lies
  bool closed_ = false;
  bool loaded_ = false;
  bool high_contrast_ = false;
  bool cues_shown_ = false;
  bool keyboard_held_ = false;
  std::int32_t focus_ = -1;          // the stop the keyboard is on; -1 the dialog itself
  std::int32_t focused_item_ = -1;   // the item last told to the host
  std::optional<std::size_t> held_;  // the button Space holds down
};

}  // namespace quillmere::settings_dialog
