// The dialog for everyone: the keyboard and its focus cue, what screen readers are told, high
// contrast and the dialog's two faces.
#include "settings_dialog/dialog.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

namespace quillmere::settings_dialog {
namespace {

constexpr std::uint16_t kJapanese = 0x11;
constexpr std::int32_t kColoursLabel = 4;

struct Phrases {
  std::string_view exit_tip;
  std::string_view not_saved;
  std::string_view pattern_group;         // heard by readers only: the patterns have no drawn label
  std::array<std::string_view, 4> verbs;  // the default actions', by role; a slider has none
};

constexpr Phrases kJapanesePhrases = {
    "exit button",
    "設定を保存できませんでした。\n"
    "設定ファイルに書き込めるか確かめてから、もう一度「設定」を押してください。",
    "模様",
    {"", "チェック", "押す", "ジャンプ"},
};
constexpr Phrases kEnglishPhrases = {
    "Close without saving",
    "The settings could not be saved.\n"
    "Check that the settings file can be written, then press \"Save\" again.",
    "Pattern",
    {"", "Check", "Press", "Jump"},
};

const Phrases& PhrasesOf(Face face) {
  return face == Face::English ? kEnglishPhrases : kJapanesePhrases;
}

bool SameLetters(std::string_view text, std::string_view word) {
  return std::ranges::equal(
      text, word, [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

constexpr std::array<std::pair<Key, ScrollRequest>, 8> kSliderKeys = {{
    {Key::Left, ScrollRequest::LineLeft},
    {Key::Up, ScrollRequest::LineLeft},
    {Key::Right, ScrollRequest::LineRight},
    {Key::Down, ScrollRequest::LineRight},
    {Key::PageUp, ScrollRequest::PageLeft},
    {Key::PageDown, ScrollRequest::PageRight},
    {Key::Home, ScrollRequest::ToLeft},
    {Key::End, ScrollRequest::ToRight},
}};

// Under high contrast, the elements not drawn in the window's text colour without paper of their
// own.
struct ContrastPair {
  DialogControl control;
  Ink ink;
  std::optional<Ink> paper;
};
constexpr std::array<ContrastPair, 10> kContrastPairs = {{
    {DialogControl::TitleStrip, Ink::WindowText, Ink::Highlight},
    {DialogControl::Caption, Ink::HighlightText, {}},
    {DialogControl::Link, Ink::HotLight, {}},
    {DialogControl::SetButton, Ink::WindowText, Ink::Button},
    {DialogControl::SetCaption, Ink::ButtonText, {}},
    {DialogControl::CancelButton, Ink::WindowText, Ink::Button},
    {DialogControl::CancelCaption, Ink::ButtonText, {}},
    {DialogControl::ExitButton, Ink::ButtonText, Ink::Button},
    {DialogControl::PatternPanel, Ink::WindowText, Ink::Window},
    {DialogControl::ValuesPanel, Ink::WindowText, Ink::Window},
}};

ContrastPair ContrastOf(DialogControl control) {
  for (const ContrastPair& pair : kContrastPairs) {
    if (pair.control == control) return pair;
  }
  return {control, Ink::WindowText, std::nullopt};
}

Box Union(const Box& a, const Box& b) {
  const std::int32_t x = std::min(a.x, b.x);
  const std::int32_t y = std::min(a.y, b.y);
  return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

}  // namespace

Face ChooseFace(std::string_view language_line, std::uint16_t ui_language) {
  if (SameLetters(language_line, "ja")) return Face::Japanese;
  if (SameLetters(language_line, "en")) return Face::English;
  return (ui_language & 0x3FF) == kJapanese ? Face::Japanese : Face::English;
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
    const std::int32_t count = kStopCount;
    FocusStop(focus_ < 0 ? (shift ? count - 1 : 0) : (focus_ + (shift ? count - 1 : 1)) % count);
    return true;
  }
  // The first arrow with nothing focused only puts the keyboard on the first slider.
  if (focus_ < 0) {
    FocusStop(0);
    return true;
  }
  const Element& focused = Whole(ItemsOf(focus_).front());
  if (focused.item.role == AccessibleRole::Slider) {
    for (const auto& [slider_key, request] : kSliderKeys) {
      if (key == slider_key) OnScroll(focused.index, request, 0);
    }
  } else if (focused.item.role == AccessibleRole::RadioButton) {
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

void SettingsDialog::OnKeyboardFocus(bool held) {
  keyboard_held_ = held;
  // Back in the dialog, a reader hears again where the keyboard is, not just the window.
  focused_item_ = -1;
  if (held) TellFocus();
}

std::optional<FocusCue> SettingsDialog::Cue() const {
  const std::int32_t item = FocusedItem();
  if (!cues_shown_ || item < 0) return std::nullopt;
  const auto focused = static_cast<std::size_t>(item);
  const Box box = ItemBox(focused);
  return FocusCue{Whole(focused).surface, {box.x - 1, box.y - 1, box.w + 2, box.h + 2}};
}

std::vector<AccessibleItem> SettingsDialog::AccessibleItems() const {
  std::vector<AccessibleItem> rows;
  const std::int32_t focused = FocusedItem();
  const Phrases& phrases = PhrasesOf(face_);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    AccessibleItem row;
    for (std::size_t at = 0; at < layout_.size(); ++at) {
      if (row.name.empty() && InItem(layout_[at], i)) row.name = looks_[at].text;
    }
    row.role = Whole(i).item.role;
    row.action = phrases.verbs[static_cast<std::size_t>(row.role)];
    if (item.stop == Stop::Patterns) row.group = phrases.pattern_group;
    if (item.stop == Stop::Colours)
      row.group = LookOf(DialogControl::StaticLabels, kColoursLabel).text;
    row.focused = focused == static_cast<std::int32_t>(i);
    row.box = ItemBox(i);
    if (const Panel* on = PanelOf(Whole(i).surface)) {
      const Box& panel = InLayout(on->control).box;
      row.box.x += panel.x;
      row.box.y += panel.y;
    }
    if (row.role == AccessibleRole::Slider)
      row.value = LookOf(DialogControl::SliderValues, Whole(i).index).text;
    row.checked = Selected(item);
    rows.push_back(row);
  }
  return rows;
}

std::string_view SettingsDialog::Title() const { return LookOf(DialogControl::Caption).text; }

void SettingsDialog::Activate(std::size_t item) {
  if (closed_ || item >= items_.size()) return;
  FocusStop(static_cast<std::int32_t>(items_[item].stop));
  Press(item);
  Release(item);
}

void SettingsDialog::OnThemeChange(bool high_contrast) {
  high_contrast_ = high_contrast;
  changed_.fill(true);
  if (!loaded_) return;
  OnResize();
  TilePanels();
}

Ink SettingsDialog::InkOf(const Element& element) const {
  return high_contrast_ ? ContrastOf(element.control).ink : element.ink;
}

std::optional<Ink> SettingsDialog::PaperOf(const Element& element) const {
  return high_contrast_ ? ContrastOf(element.control).paper : std::nullopt;
}

std::string_view SettingsDialog::ExitTip() const { return PhrasesOf(face_).exit_tip; }

std::string_view SettingsDialog::NotSavedMessage() const { return PhrasesOf(face_).not_saved; }

void SettingsDialog::FocusOn(const Element& element) {
  if (element.item.part != Part::None) FocusStop(static_cast<std::int32_t>(element.item.stop));
}

void SettingsDialog::ShowCues() {
  if (cues_shown_) return;
  cues_shown_ = true;
  host_.ShowFocusCues();
}

void SettingsDialog::FocusStop(std::int32_t stop) {
  if (stop != focus_ && held_) {
    // A button Space holds down goes back up without acting when the keyboard leaves it.
    for (const Element& element : layout_) {
      if (element.kind == ElementKind::Picture && InItem(element, *held_))
        ShowButton(element.control, false);
    }
    held_.reset();
  }
  focus_ = stop;
  TellFocus();
}

void SettingsDialog::TellFocus() {
  const std::int32_t item = FocusedItem();
  if (item == focused_item_ || !keyboard_held_) return;
  focused_item_ = item;
  host_.TellReader(platform::ReaderEvent::Focus, item);
}

void SettingsDialog::TellReader(platform::ReaderEvent event, DialogControl control,
                                std::int32_t index) {
  // A value outside the choices (from a hand-edited file) names no element and no item.
  const std::size_t at = At(control, index);
  if (!loaded_ || at == layout_.size()) return;
  const auto item = std::ranges::find(items_, Item{layout_[at].item.stop, index});
  if (item != items_.end())
    host_.TellReader(event, static_cast<std::int32_t>(item - items_.begin()));
}

// A choice whose mark shows the settings value: Kind for the patterns, Sync for the colours.
bool SettingsDialog::Selected(const Item& choice) const {
  if (choice.stop == Stop::Patterns) return values_.Kind == choice.choice;
  if (choice.stop == Stop::Colours) return values_.Sync == choice.choice;
  return false;
}

// In a choice group the keyboard is on the choice selected, or on the first when none is.
std::int32_t SettingsDialog::FocusedItem() const {
  if (focus_ < 0 || !keyboard_held_) return -1;
  const std::vector<std::size_t> items = ItemsOf(focus_);
  for (std::size_t item : items) {
    if (Selected(items_[item])) return static_cast<std::int32_t>(item);
  }
  return static_cast<std::int32_t>(items.front());
}

// The next or previous choice, round the group; from none selected, the first or the last.
void SettingsDialog::MoveInGroup(std::int32_t step) {
  const std::vector<std::size_t> items = ItemsOf(focus_);
  const auto count = static_cast<std::int32_t>(items.size());
  std::int32_t selected = -1;
  for (std::int32_t i = 0; i < count; ++i) {
    if (Selected(items_[items[static_cast<std::size_t>(i)]])) selected = i;
  }
  const std::int32_t next = selected >= 0 ? (selected + step + count) % count
                            : step > 0    ? 0
                                          : count - 1;
  Press(items[static_cast<std::size_t>(next)]);
}

// The press half of what a click does; choices select on it, buttons show their pressed picture.
void SettingsDialog::Press(std::size_t item) {
  Act(Whole(item), Phase::Press, std::nullopt);
  const AccessibleRole role = Whole(item).item.role;
  if (role == AccessibleRole::PushButton || role == AccessibleRole::Link) held_ = item;
  // A choice made from the keyboard is where the keyboard is now.
  TellFocus();
}

// The release half: buttons act on it, the link opens.
void SettingsDialog::Release(std::size_t item) {
  held_.reset();
  Act(Whole(item), Phase::Release, std::nullopt);
}

Box SettingsDialog::ItemBox(std::size_t item) const {
  std::optional<Box> box;
  for (const Element& element : layout_) {
    if (element.item.part == Part::Name || !InItem(element, item)) continue;
    box = box ? Union(*box, element.box) : element.box;
  }
  return box.value_or(Box{});
}

bool SettingsDialog::InItem(const Element& element, std::size_t item) const {
  return element.item.part != Part::None && element.item.stop == items_[item].stop &&
         element.index == items_[item].choice;
}

const Element& SettingsDialog::Whole(std::size_t item) const {
  return *std::ranges::find_if(layout_, [&](const Element& element) {
    return element.item.part == Part::Whole && InItem(element, item);
  });
}

// The items in Tab order, each choice of a group in its order.
std::vector<SettingsDialog::Item> SettingsDialog::ItemsIn(std::span<const Element> layout) {
  std::vector<Item> items;
  for (const Element& element : layout) {
    if (element.item.part != Part::None) items.push_back({element.item.stop, element.index});
  }
  std::ranges::sort(items);
  const auto [end, _] = std::ranges::unique(items);
  items.erase(end, items.end());
  return items;
}

// The items of one stop of the Tab order: a choice group's several, any other's one.
std::vector<std::size_t> SettingsDialog::ItemsOf(std::int32_t stop) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (static_cast<std::int32_t>(items_[i].stop) == stop) found.push_back(i);
  }
  return found;
}

}  // namespace quillmere::settings_dialog
