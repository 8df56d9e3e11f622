// Where every element of the settings dialog lies, what it shows and which cursor it takes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/settings_dialog_host.h"
#include "quillmere_version.h"

namespace quillmere::settings_dialog {

using platform::DialogControl;

// The surface an element is drawn on and receives the mouse from.
using Surface = platform::DialogSurface;
enum class ElementKind { Picture, Label, Slider, Panel };
enum class Align { Left, Right, Centre };
enum class Pointer { Arrow, Hand };
using platform::Ink;
// The language the dialog's words are in: a column of every element's text.
enum class Face { Japanese, English };
inline constexpr std::size_t kFaces = 2;

struct Box {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;
  bool Contains(std::int32_t px, std::int32_t py) const {
    return px >= x && py >= y && px < x + w && py < y + h;
  }
  bool operator==(const Box&) const = default;
};

// The stops of the Tab order, in that order; a choice group is one stop.
enum class Stop {
  None = -1,
  Size,
  Speed,
  Count,
  Interval,
  Patterns,
  Colours,
  Set,
  Cancel,
  Exit,
  Link
};
inline constexpr std::int32_t kStopCount = static_cast<std::int32_t>(Stop::Link) + 1;
enum class AccessibleRole { Slider, RadioButton, PushButton, Link };
// What an element gives the item a user acts on: a part that a press acts on (under the hand
// pointer; a key or a reader presses the first), more of its box, or only its name (a slider's
// caption). The item is named by its first part with words, and read in its role.
enum class Part { None, Whole, Box, Name };
// The element's index is the item's choice within the stop: a choice group's are its values.
struct ItemPart {
  Stop stop = Stop::None;
  Part part = Part::None;
  AccessibleRole role = AccessibleRole::PushButton;
};
constexpr ItemPart Whole(Stop stop, AccessibleRole role) { return {stop, Part::Whole, role}; }
constexpr ItemPart BoxOf(ItemPart item) { return {item.stop, Part::Box, item.role}; }
constexpr ItemPart NameOf(ItemPart item) { return {item.stop, Part::Name, item.role}; }

// One element: where it lies, what it says in each face, which item of which stop it is part of,
// and how it is drawn.
struct Element {
  DialogControl control;
  std::int32_t index;
  Surface surface;
  ElementKind kind;
  Box box;
  std::array<std::string_view, kFaces> text = {};  // a picture's is the name a reader hears
  ItemPart item = {};
  Align align = Align::Left;
  bool width_follows_text = false;
  Ink ink = Ink::WindowText;
};

inline constexpr std::int32_t kDialogWidthTwips = 7140;
inline constexpr std::int32_t kDialogHeightTwips = 3465;
// The layout's pixels are those of 15 twips each (96 dots per inch): 476 x 231.
inline constexpr Box kDialogClient{0, 0, kDialogWidthTwips / 15, kDialogHeightTwips / 15};
inline constexpr std::int32_t kTileWidth = 239;
inline constexpr std::int32_t kTileHeight = 26;
inline constexpr std::string_view kHomePageUrl = "https://quillmere.example/";
inline constexpr std::string_view kCredit = "quillmere 作 Ver." QUILLMERE_VERSION_TEXT;
inline constexpr std::string_view kEnglishCredit = "quillmere, version " QUILLMERE_VERSION_TEXT;

// The two panels: each one's own surface, and its row among the dialog's elements.
struct Panel {
  Surface surface;
  DialogControl control;
};
inline constexpr std::array<Panel, 2> kPanels = {{
    {Surface::PatternPanel, DialogControl::PatternPanel},
    {Surface::ValuesPanel, DialogControl::ValuesPanel},
}};
// The panel whose surface this is; nullptr for the dialog's own surface.
constexpr const Panel* PanelOf(Surface surface) {
  for (const Panel& panel : kPanels) {
    if (panel.surface == surface) return &panel;
  }
  return nullptr;
}
inline constexpr std::array<Surface, 3> kSurfaces = {Surface::Dialog, kPanels[0].surface,
                                                     kPanels[1].surface};

// Every element, each surface's elements from the bottom of the stack to the top.
std::span<const Element> Layout();
// The topmost element of the surface under the point, if any.
const Element* HitTest(Surface surface, std::int32_t x, std::int32_t y,
                       std::span<const Element> layout = Layout());

}  // namespace quillmere::settings_dialog
