#include "settings_dialog/dialog.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "settings_dialog/skin.h"
#include "startup/platform_helpers.h"

namespace quillmere::settings_dialog {
namespace {

using platform::DialogPicture;

bool IsClickButton(MouseButton button) {
  return button == MouseButton::Left || button == MouseButton::Right;
}

constexpr std::uint16_t kJapanese = 0x11;

struct Phrases {
  std::string_view exit_tip;
  std::string_view not_saved;
};

constexpr Phrases kJapanesePhrases = {
    "exit button",
    "設定を保存できませんでした。\n"
    "設定ファイルに書き込めるか確かめてから、もう一度「設定」を押してください。",
};
constexpr Phrases kEnglishPhrases = {
    "Close without saving",
    "The settings could not be saved.\n"
    "Check that the settings file can be written, then press \"Save\" again.",
};

bool SameLetters(std::string_view text, std::string_view word) {
  return std::ranges::equal(
      text, word, [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::optional<ScrollRequest> SliderRequest(Key key) {
  switch (key) {
    case Key::Left:
    case Key::Up:
      return ScrollRequest::LineLeft;
    case Key::Right:
    case Key::Down:
      return ScrollRequest::LineRight;
    case Key::PageUp:
      return ScrollRequest::PageLeft;
    case Key::PageDown:
      return ScrollRequest::PageRight;
    case Key::Home:
      return ScrollRequest::ToLeft;
    case Key::End:
      return ScrollRequest::ToRight;
    default:
      return std::nullopt;
  }
}

Box Union(const Box& a, const Box& b) {
  const std::int32_t x = std::min(a.x, b.x);
  const std::int32_t y = std::min(a.y, b.y);
  return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

const Actionable& Item(std::size_t item) { return Actionables()[item]; }

std::int32_t StopCount() { return Actionables().back().stop + 1; }

// The items of one stop of the Tab order: a choice group's several, any other's one.
std::vector<std::size_t> ItemsOf(std::int32_t stop) {
  std::vector<std::size_t> items;
  for (std::size_t i = 0; i < Actionables().size(); ++i) {
    if (Item(i).stop == stop) items.push_back(i);
  }
  return items;
}

std::optional<std::size_t> ItemOf(const Element& element) {
  for (std::size_t i = 0; i < Actionables().size(); ++i) {
    const Actionable& item = Item(i);
    const bool own = item.control == element.control && item.index == element.index;
    const bool joined =
        item.joined && item.partner == element.control && item.partner_index == element.index;
    if (own || joined) return i;
  }
  return std::nullopt;
}

}  // namespace

Face ChooseFace(std::string_view language_line, std::uint16_t ui_language) {
  if (SameLetters(language_line, "ja")) return Face::Japanese;
  if (SameLetters(language_line, "en")) return Face::English;
  return (ui_language & 0x3FF) == kJapanese ? Face::Japanese : Face::English;
}

SettingsDialog::SettingsDialog(platform::Platform& platform, platform::SettingsDialogHost& host,
                               startup::SettingsValues& values)
    : platform_(platform),
      host_(host),
      values_(values),
      face_(ChooseFace(
          startup::ReadIniString(platform.profile, startup::kSettingsSection, startup::kLanguageKey,
                                 startup::SettingsFilePath(platform.profile)),
          platform.system.UserInterfaceLanguage())),
      layout_(LayoutIn(face_)),
      sliders_{Slider(kSliderRows[0]), Slider(kSliderRows[1]), Slider(kSliderRows[2]),
               Slider(kSliderRows[3])} {}

void SettingsDialog::Load() {
  dragging_ = 0;
  TilePanels();
  for (std::int32_t i = 0; i < kPatternChoices; ++i) {
    host_.ShowPicture(DialogControl::PatternMarks, i, DialogPicture::OptionOff);
  }
  if (values_.Kind >= 0 && values_.Kind < kPatternChoices) {
    host_.ShowPicture(DialogControl::PatternMarks, values_.Kind, DialogPicture::OptionOn);
  }
  // A Sync other than 0 or 1 names no mark on either side, so both stay empty.
  const std::int32_t other = values_.Sync ^ 1;
  if (values_.Sync >= 0 && values_.Sync < kSyncChoices) {
    host_.ShowPicture(DialogControl::SyncMarks, values_.Sync, DialogPicture::OptionOn);
  }
  if (other >= 0 && other < kSyncChoices) {
    host_.ShowPicture(DialogControl::SyncMarks, other, DialogPicture::OptionOff);
  }
  host_.ShowPicture(DialogControl::SetFace, 0, DialogPicture::ButtonReleased);
  host_.ShowPicture(DialogControl::CancelFace, 0, DialogPicture::ButtonReleased);
  host_.ShowPicture(DialogControl::ExitButton, 0, DialogPicture::ExitReleased);
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(sliders_.size()); ++i) {
    SetSlider(i, values_.*kSliderRows[static_cast<std::size_t>(i)].value);
  }
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(sliders_.size()); ++i) {
    host_.SetLabelText(DialogControl::SliderValues, i,
                       std::to_string(values_.*kSliderRows[static_cast<std::size_t>(i)].value));
  }
  startup::RecordZoomOrigin(platform_.windowing);
  startup::ZoomWindowOpen(platform_.windowing, host_.Window());
  loaded_ = true;
}

void SettingsDialog::OnResize() {
  const std::optional<std::uint32_t> paper =
      high_contrast_ ? std::optional(host_.SystemColourOf(platform::SystemColour::Window))
                     : std::nullopt;
  for (const BackgroundRow& row : BackgroundRows(kDialogClient.h)) {
    host_.DrawBackgroundLine(row.y, kDialogClient.w, paper.value_or(row.colour));
  }
}

void SettingsDialog::TilePanels() {
  for (DialogControl panel : {DialogControl::PatternPanel, DialogControl::ValuesPanel}) {
    if (high_contrast_) {
      host_.FillPanel(panel, host_.SystemColourOf(platform::SystemColour::Window));
      continue;
    }
    const Box& box = Find(panel)->box;
    for (const TileCopy& copy : TileCopies(box.w, box.h))
      host_.CopyTextureTile(panel, copy.x, copy.y);
  }
}

void SettingsDialog::SetTextWidth(DialogControl control, std::int32_t index, std::int32_t width) {
  for (Element& element : layout_) {
    if (element.control == control && element.index == index && element.width_follows_text) {
      element.box.w = width;
    }
  }
}

bool SettingsDialog::OnMouseDown(Surface surface, std::int32_t x, std::int32_t y,
                                 MouseButton button) {
  const Element* element = HitTest(surface, x, y, layout_);
  if (element == nullptr) return false;
  const auto index = static_cast<std::int16_t>(element->index);
  switch (element->control) {
    case DialogControl::TitleStrip:
      OnTitlePress(button);
      break;
    case DialogControl::ExitButton:
      OnExitPress(button);
      break;
    case DialogControl::SetCaption:
      OnSetPress(button);
      break;
    case DialogControl::CancelCaption:
      OnCancelPress(button);
      break;
    case DialogControl::PatternMarks:
      OnPatternMarkPress(index, button);
      break;
    case DialogControl::PatternStrips:
      OnPatternStripPress(index, button);
      break;
    case DialogControl::RandomLabel:
      OnRandomLabelPress(button);
      break;
    case DialogControl::SyncMarks:
      OnSyncMarkPress(index, button);
      break;
    case DialogControl::SyncLabels:
      OnSyncLabelPress(index, button);
      break;
    default:
      break;
  }
  // A click puts the keyboard where it was, on the choice it may just have made.
  if (const auto item = ItemOf(*element); item && !closed_) FocusStop(Item(*item).stop);
  if (captured_ != nullptr || closed_) return false;
  captured_ = element;
  return true;
}

void SettingsDialog::OnMouseUp(Surface surface, std::int32_t x, std::int32_t y,
                               MouseButton button) {
  const Element* element = captured_ != nullptr ? captured_ : HitTest(surface, x, y, layout_);
  captured_ = nullptr;
  if (element == nullptr || closed_) return;
  switch (element->control) {
    case DialogControl::TitleStrip:
      OnTitleRelease(button);
      break;
    case DialogControl::ExitButton:
      OnExitRelease(button);
      break;
    case DialogControl::SetCaption:
      OnSetRelease(button);
      break;
    case DialogControl::CancelCaption:
      OnCancelRelease(button);
      break;
    case DialogControl::Link:
      if (IsClickButton(button) && element->surface == surface && element->box.Contains(x, y)) {
        OnUrlClick();
      }
      break;
    default:
      break;
  }
}

void SettingsDialog::OnMouseMove(Surface surface, std::int32_t x, std::int32_t y) {
  const Element* element = captured_ != nullptr ? captured_ : HitTest(surface, x, y, layout_);
  if (element != nullptr && element->control == DialogControl::TitleStrip) OnTitleMove();
}

void SettingsDialog::OnCaptureLost() {
  captured_ = nullptr;
  dragging_ = 0;
}

void SettingsDialog::OnDpiChange(std::int32_t dpi) {
  const LayoutScale scale(dpi);
  grab_x_ = static_cast<std::int16_t>(scale_.Rescale(grab_x_, scale));
  grab_y_ = static_cast<std::int16_t>(scale_.Rescale(grab_y_, scale));
  scale_ = scale;
}

Pointer SettingsDialog::PointerAt(Surface surface, std::int32_t x, std::int32_t y) const {
  const Element* element = HitTest(surface, x, y, layout_);
  return element == nullptr ? Pointer::Arrow : element->pointer;
}

void SettingsDialog::OnScroll(std::int32_t index, ScrollRequest request,
                              std::int32_t thumb_position) {
  if (index < 0 || index >= static_cast<std::int32_t>(sliders_.size())) return;
  Slider& slider = sliders_[static_cast<std::size_t>(index)];
  FocusStop(Item(static_cast<std::size_t>(index)).stop);
  if (slider.Apply(request, thumb_position)) {
    host_.SetSliderPosition(index, slider.value());
    OnSliderChange(static_cast<std::int16_t>(index));
  } else if (request == ScrollRequest::EndScroll || request == ScrollRequest::ThumbPosition) {
    // A thumb let go where it started, or beyond the ends, goes back to the value held.
    host_.SetSliderPosition(index, slider.value());
  }
}

bool SettingsDialog::OnKeyDown(Key key, bool shift) {
  if (closed_ || key == Key::Other) return false;
  if (key == Key::Space) {
    const std::int32_t item = FocusedItem();
    if (item >= 0) Press(static_cast<std::size_t>(item));
    return true;
  }
  ShowCues();
  if (key == Key::Tab) {
    const std::int32_t count = StopCount();
    FocusStop(focus_ < 0 ? (shift ? count - 1 : 0) : (focus_ + (shift ? count - 1 : 1)) % count);
    return true;
  }
  // The first arrow with nothing focused only puts the keyboard on the first slider.
  if (focus_ < 0) {
    FocusStop(0);
    return true;
  }
  const Actionable& first = Item(ItemsOf(focus_).front());
  if (first.role == AccessibleRole::Slider) {
    if (const auto request = SliderRequest(key)) OnScroll(first.index, *request, 0);
  } else if (first.role == AccessibleRole::RadioButton) {
    if (key == Key::Down || key == Key::Right) MoveInGroup(1);
    if (key == Key::Up || key == Key::Left) MoveInGroup(-1);
  }
  return true;
}

void SettingsDialog::OnKeyUp(Key key) {
  if (key != Key::Space || !held_) return;
  // A held button the keyboard left has been let go already.
  Release(*held_);
}

void SettingsDialog::OnFocusCuesChange(bool shown) { cues_shown_ = shown; }

std::optional<FocusCue> SettingsDialog::Cue() const {
  const std::int32_t item = FocusedItem();
  if (!cues_shown_ || item < 0) return std::nullopt;
  const Actionable& focused = Item(static_cast<std::size_t>(item));
  const Box box = ItemBox(focused);
  return FocusCue{Find(focused.control, focused.index)->surface,
                  {box.x - 1, box.y - 1, box.w + 2, box.h + 2}};
}

std::vector<AccessibleItem> SettingsDialog::AccessibleItems() const {
  std::vector<AccessibleItem> items;
  const std::int32_t focused = FocusedItem();
  for (std::size_t i = 0; i < Actionables().size(); ++i) {
    const Actionable& item = Item(i);
    const Element& own = InLayout(item.control, item.index);
    const Element& partner = InLayout(item.partner, item.partner_index);
    AccessibleItem row;
    row.name = own.text.empty() ? partner.text : own.text;
    row.role = item.role;
    row.focused = focused == static_cast<std::int32_t>(i);
    row.box = ItemBox(item);
    if (own.surface != Surface::Dialog) {
      const Box& panel = Find(own.surface == Surface::PatternPanel ? DialogControl::PatternPanel
                                                                   : DialogControl::ValuesPanel)
                             ->box;
      row.box.x += panel.x;
      row.box.y += panel.y;
    }
    if (item.role == AccessibleRole::Slider) {
      row.value = std::to_string(values_.*kSliderRows[static_cast<std::size_t>(item.index)].value);
    }
    if (item.control == DialogControl::PatternMarks) row.checked = values_.Kind == item.index;
    if (item.control == DialogControl::SyncMarks) row.checked = values_.Sync == item.index;
    items.push_back(row);
  }
  return items;
}

void SettingsDialog::Activate(std::size_t item) {
  if (closed_ || item >= Actionables().size()) return;
  FocusStop(Item(item).stop);
  Press(item);
  Release(item);
}

void SettingsDialog::OnThemeChange(bool high_contrast) {
  high_contrast_ = high_contrast;
  if (!loaded_) return;
  OnResize();
  TilePanels();
}

Ink SettingsDialog::InkOf(const Element& element) const {
  if (!high_contrast_) return element.ink;
  switch (element.control) {
    case DialogControl::Caption:
      return Ink::HighlightText;
    case DialogControl::Link:
      return Ink::Highlight;
    case DialogControl::SetCaption:
    case DialogControl::CancelCaption:
    case DialogControl::ExitButton:
      return Ink::ButtonText;
    default:
      return Ink::WindowText;
  }
}

std::optional<Ink> SettingsDialog::PaperOf(const Element& element) const {
  if (!high_contrast_) return std::nullopt;
  switch (element.control) {
    case DialogControl::TitleStrip:
      return Ink::Highlight;
    case DialogControl::SetFace:
    case DialogControl::CancelFace:
    case DialogControl::ExitButton:
      return Ink::ButtonFace;
    case DialogControl::PatternPanel:
    case DialogControl::ValuesPanel:
      return Ink::Window;
    default:
      return std::nullopt;
  }
}

std::string_view SettingsDialog::ExitTip() const {
  return face_ == Face::English ? kEnglishPhrases.exit_tip : kJapanesePhrases.exit_tip;
}

void SettingsDialog::OnSystemClose() {
  if (!closed_) OnUnload();
}

void SettingsDialog::OnSliderChange(std::int16_t index) {
  if (index < 0 || index >= static_cast<std::int16_t>(sliders_.size())) return;
  const Slider& slider = sliders_[static_cast<std::size_t>(index)];
  host_.SetLabelText(DialogControl::SliderValues, index, std::to_string(slider.value()));
  values_.*slider.row().value = slider.value();
}

void SettingsDialog::OnPatternMarkPress(std::int16_t index, MouseButton) { SelectPattern(index); }
void SettingsDialog::OnPatternStripPress(std::int16_t index, MouseButton) { SelectPattern(index); }
void SettingsDialog::OnRandomLabelPress(MouseButton) { SelectPattern(kPatternChoices - 1); }
void SettingsDialog::OnSyncMarkPress(std::int16_t index, MouseButton) { SelectSync(index); }
void SettingsDialog::OnSyncLabelPress(std::int16_t index, MouseButton) { SelectSync(index); }

void SettingsDialog::OnSetPress(MouseButton) {
  host_.ShowPicture(DialogControl::SetFace, 0, DialogPicture::ButtonPressed);
}

void SettingsDialog::OnSetRelease(MouseButton) {
  host_.ShowPicture(DialogControl::SetFace, 0, DialogPicture::ButtonReleased);
  host_.DispatchPending();
  if (closed_) return;
  // Closing after a failed write would lose every choice the user made.
  if (!startup::WriteAllSettings(platform_.profile, values_)) {
    host_.TellSettingsNotSaved(face_ == Face::English ? kEnglishPhrases.not_saved
                                                      : kJapanesePhrases.not_saved);
    return;
  }
  OnUnload();
}

void SettingsDialog::OnCancelPress(MouseButton) {
  host_.ShowPicture(DialogControl::CancelFace, 0, DialogPicture::ButtonPressed);
}

void SettingsDialog::OnCancelRelease(MouseButton) {
  host_.ShowPicture(DialogControl::CancelFace, 0, DialogPicture::ButtonReleased);
  host_.DispatchPending();
  if (!closed_) OnUnload();
}

void SettingsDialog::OnExitPress(MouseButton) {
  host_.ShowPicture(DialogControl::ExitButton, 0, DialogPicture::ExitPressed);
}

void SettingsDialog::OnExitRelease(MouseButton) {
  host_.ShowPicture(DialogControl::ExitButton, 0, DialogPicture::ExitReleased);
  host_.DispatchPending();
  if (!closed_) OnUnload();
}

void SettingsDialog::OnUrlClick() {
  platform_.shell.Open(host_.Window(), Find(DialogControl::Link)->text);
}

void SettingsDialog::OnTitlePress(MouseButton button) {
  if (button != MouseButton::Left) return;
  dragging_ = 1;
  const platform::Point cursor = Cursor();
  const platform::Point window = WindowPosition();
  grab_x_ = static_cast<std::int16_t>(cursor.x - window.x);
  grab_y_ = static_cast<std::int16_t>(cursor.y - window.y);
}

void SettingsDialog::OnTitleMove() {
  if (dragging_ != 1) return;
  const platform::Point cursor = Cursor();
  host_.MoveWindowTop(cursor.y - grab_y_);
  host_.MoveWindowLeft(cursor.x - grab_x_);
}

void SettingsDialog::OnTitleRelease(MouseButton) { dragging_ = 0; }

void SettingsDialog::OnUnload() {
  closed_ = true;
  captured_ = nullptr;
  startup::ZoomWindowClose(platform_.windowing, host_.Window());
  host_.Destroy();
}

void SettingsDialog::SelectPattern(std::int32_t pattern) {
  for (std::int32_t i = 0; i < kPatternChoices; ++i) {
    host_.ShowPicture(DialogControl::PatternMarks, i, DialogPicture::OptionOff);
  }
  host_.ShowPicture(DialogControl::PatternMarks, pattern, DialogPicture::OptionOn);
  values_.Kind = pattern;
}

void SettingsDialog::SelectSync(std::int32_t sync) {
  host_.ShowPicture(DialogControl::SyncMarks, sync, DialogPicture::OptionOn);
  host_.ShowPicture(DialogControl::SyncMarks, sync ^ 1, DialogPicture::OptionOff);
  values_.Sync = sync;
}

void SettingsDialog::SetSlider(std::int32_t index, std::int32_t value) {
  Slider& slider = sliders_[static_cast<std::size_t>(index)];
  if (!slider.Set(value)) return;
  host_.SetSliderPosition(index, slider.value());
  OnSliderChange(static_cast<std::int16_t>(index));
}

void SettingsDialog::ShowCues() {
  if (cues_shown_) return;
  cues_shown_ = true;
  host_.ShowFocusCues();
}

void SettingsDialog::FocusStop(std::int32_t stop) {
  if (stop != focus_ && held_) {
    // A button Space holds down goes back up without acting when the keyboard leaves it.
    const Actionable& left = Item(*std::exchange(held_, std::nullopt));
    if (left.control == DialogControl::ExitButton) {
      host_.ShowPicture(DialogControl::ExitButton, 0, DialogPicture::ExitReleased);
    } else if (left.role == AccessibleRole::PushButton) {
      host_.ShowPicture(left.partner, 0, DialogPicture::ButtonReleased);
    }
  }
  focus_ = stop;
  const std::int32_t item = FocusedItem();
  if (item == focused_item_) return;
  focused_item_ = item;
  host_.FocusMoved(item);
}

// In a choice group the keyboard is on the choice selected, or on the first when none is.
std::int32_t SettingsDialog::FocusedItem() const {
  if (focus_ < 0) return -1;
  const std::vector<std::size_t> items = ItemsOf(focus_);
  for (std::size_t item : items) {
    const Actionable& choice = Item(item);
    if (choice.control == DialogControl::PatternMarks && values_.Kind == choice.index)
      return static_cast<std::int32_t>(item);
    if (choice.control == DialogControl::SyncMarks && values_.Sync == choice.index)
      return static_cast<std::int32_t>(item);
  }
  return static_cast<std::int32_t>(items.front());
}

// The next or previous choice, round the group; from none selected, the first or the last.
void SettingsDialog::MoveInGroup(std::int32_t step) {
  const std::vector<std::size_t> items = ItemsOf(focus_);
  const auto count = static_cast<std::int32_t>(items.size());
  const Actionable& first = Item(items.front());
  const std::int32_t selected =
      first.control == DialogControl::PatternMarks ? values_.Kind : values_.Sync;
  const std::int32_t next = selected >= 0 && selected < count ? (selected + step + count) % count
                            : step > 0                        ? 0
                                                              : count - 1;
  Press(items[static_cast<std::size_t>(next)]);
}

// The press half of what a click does; choices select on it, buttons show their pressed face.
void SettingsDialog::Press(std::size_t item) {
  const Actionable& target = Item(item);
  const auto index = static_cast<std::int16_t>(target.index);
  switch (target.control) {
    case DialogControl::PatternMarks:
      OnPatternMarkPress(index, MouseButton::Left);
      break;
    case DialogControl::SyncMarks:
      OnSyncMarkPress(index, MouseButton::Left);
      break;
    case DialogControl::SetCaption:
      OnSetPress(MouseButton::Left);
      break;
    case DialogControl::CancelCaption:
      OnCancelPress(MouseButton::Left);
      break;
    case DialogControl::ExitButton:
      OnExitPress(MouseButton::Left);
      break;
    default:
      break;
  }
  if (target.role == AccessibleRole::PushButton || target.role == AccessibleRole::Link) {
    held_ = item;
  }
  // A choice made from the keyboard is where the keyboard is now.
  const std::int32_t focused = FocusedItem();
  if (focused != focused_item_) {
    focused_item_ = focused;
    host_.FocusMoved(focused);
  }
}

// The release half: buttons act through their release handlers, the link opens.
void SettingsDialog::Release(std::size_t item) {
  held_.reset();
  switch (Item(item).control) {
    case DialogControl::SetCaption:
      OnSetRelease(MouseButton::Left);
      break;
    case DialogControl::CancelCaption:
      OnCancelRelease(MouseButton::Left);
      break;
    case DialogControl::ExitButton:
      OnExitRelease(MouseButton::Left);
      break;
    case DialogControl::Link:
      OnUrlClick();
      break;
    default:
      break;
  }
}

Box SettingsDialog::ItemBox(const Actionable& item) const {
  const Box own = InLayout(item.control, item.index).box;
  return item.joined ? Union(own, InLayout(item.partner, item.partner_index).box) : own;
}

const Element& SettingsDialog::InLayout(DialogControl control, std::int32_t index) const {
  return *std::ranges::find_if(layout_, [&](const Element& element) {
    return element.control == control && element.index == index;
  });
}

platform::Point SettingsDialog::Cursor() {
  platform::Point cursor;
  if (!platform_.windowing.GetCursorPos(cursor)) cursor = {};
  return cursor;
}

platform::Point SettingsDialog::WindowPosition() {
  platform::Rect rect;
  platform_.windowing.GetWindowRect(host_.Window(), rect);
  return {rect.left, rect.top};
}

}  // namespace quillmere::settings_dialog
