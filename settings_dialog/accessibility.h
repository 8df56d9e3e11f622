// What the dialog tells screen readers: one row for each element a user can act on.
#pragma once

#include <cstdint>
#include <string>

#include "settings_dialog/layout.h"

namespace quillmere::settings_dialog {

struct AccessibleItem {
  std::string name;    // UTF-8, in the dialog's face
  std::string value;   // a slider's value as its label shows it; empty for the others
  std::string group;   // the choice group's name, read with each of its choices
  std::string action;  // the default action's verb, in the face; empty for a slider
  AccessibleRole role = AccessibleRole::PushButton;
  bool checked = false;  // a radio button that is selected
  bool focused = false;  // the element the keyboard is on, while the dialog holds the keyboard
  Box box;               // in the dialog's client area, layout pixels
  bool operator==(const AccessibleItem&) const = default;
};

}  // namespace quillmere::settings_dialog
