// What the settings dialog needs from the system beyond platform.h: its window, its sliders, its
// two kinds of persistent backing drawing and its readers; what the elements show the core keeps.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace quillmere::platform {

// The dialog's controls by name; a control array is one name with an index.
enum class DialogControl {
  TitleStrip,
  Caption,
  ExitButton,
  PatternPanel,
  ValuesPanel,
  StaticLabels,
  Link,
  SetButton,
  SetCaption,
  CancelButton,
  CancelCaption,
  PatternMarks,
  PatternStrips,
  RandomLabel,
  Sliders,
  SliderValues,
  SyncMarks,
  SyncLabels,
};

// What the dialog draws on: its own client area and a surface for each panel, laid on it.
enum class DialogSurface { Dialog, PatternPanel, ValuesPanel };

enum class DialogPicture {
  None,
  OptionOn,
  OptionOff,
  ButtonReleased,
  ButtonPressed,
  ExitReleased,
  ExitPressed,
};

// The skin's inks, and the system's colours that stand in for the skin under high contrast.
enum class Ink {
  WindowText,
  White,
  Link,
  Window,
  Highlight,
  HighlightText,
  HotLight,
  Button,
  ButtonText,
};

// What a screen reader is told about one of the accessible items.
enum class ReaderEvent { Focus, ValueChange, StateChange };

// The settings dialog's window as the platform builds it.
class SettingsDialogHost {
 public:
  virtual ~SettingsDialogHost() = default;
  virtual WindowHandle Window() = 0;
  // A one-pixel line from (0, y) to (width, y) on the dialog's backing image, colour 0x00BBGGRR.
  virtual void DrawBackgroundLine(std::int32_t y, std::int32_t width, std::uint32_t colour) = 0;
  // A plain copy of the whole texture tile onto a panel's backing image at (x, y).
  virtual void CopyTextureTile(DialogSurface panel, std::int32_t x, std::int32_t y) = 0;
  // Covers a panel's backing image with one colour, 0x00BBGGRR.
  virtual void FillPanel(DialogSurface panel, std::uint32_t colour) = 0;
  // The ink's colour now, 0x00BBGGRR.
  virtual std::uint32_t ColourOf(Ink ink) = 0;
  // Moves the slider's thumb without a change notification.
  virtual void SetSliderPosition(std::int32_t index, std::int32_t value) = 0;
  virtual void MoveWindowTop(std::int32_t top) = 0;
  virtual void MoveWindowLeft(std::int32_t left) = 0;
  // Lets the message loop process every pending message once.
  virtual void DispatchPending() = 0;
  virtual void Destroy() = 0;
  // Tells the user, in a message box, that the settings could not be saved.
  virtual void TellSettingsNotSaved(std::string_view message) = 0;
  // Tells readers about an item (its row of the accessible items; -1 the dialog itself); a focus
  // event comes only while the dialog holds the keyboard, and the focus cue is drawn anew.
  virtual void TellReader(ReaderEvent event, std::int32_t item) = 0;
  // The focus cue is shown from now on: the system is told, as for its own dialogs.
  virtual void ShowFocusCues() = 0;
  // The dialog takes no text: no input method composes for its windows, so keys stay keys.
  virtual void TakeNoText() = 0;
};

}  // namespace quillmere::platform
