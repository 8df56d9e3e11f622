#include "settings_dialog/dialog.h"

#include <string>
#include <utility>

#include "settings_dialog/skin.h"
#include "startup/platform_helpers.h"

namespace quillmere::settings_dialog {
using platform::DialogPicture;
using SettingsValues = startup::SettingsValues;

SettingsDialog::SettingsDialog(platform::Platform& platform, platform::SettingsDialogHost& host,
                               startup::SettingsValues& values)
    : platform_(platform),
      host_(host),
      values_(values),
      face_(ChooseFace(
          startup::ReadIniString(platform.profile, startup::kSettingsSection, startup::kLanguageKey,
                                 startup::SettingsFilePath(platform.profile)),
          platform.system.UserInterfaceLanguage())),
      layout_(Layout().begin(), Layout().end()),
      looks_(layout_.size()),
      items_(ItemsIn(layout_)),
      sliders_{Slider(kSliderRows[0]), Slider(kSliderRows[1]), Slider(kSliderRows[2]),
               Slider(kSliderRows[3])} {
  for (std::size_t i = 0; i < layout_.size(); ++i) {
    looks_[i].text = layout_[i].text[static_cast<std::size_t>(face_)];
  }
}

std::size_t SettingsDialog::At(DialogControl control, std::int32_t index) const {
  std::size_t at = 0;
  while (at < layout_.size() && (layout_[at].control != control || layout_[at].index != index))
    ++at;
  return at;
}

const Element& SettingsDialog::InLayout(DialogControl control, std::int32_t index) const {
  return layout_[At(control, index)];
}

const Look& SettingsDialog::LookOf(DialogControl control, std::int32_t index) const {
  static const Look kNothing;
  const std::size_t at = At(control, index);
  return at < looks_.size() ? looks_[at] : kNothing;
}

std::vector<Surface> SettingsDialog::TakeChanges() {
  const std::optional<FocusCue> cue = Cue();
  if (cue != painted_cue_) {
    for (const auto& ring : {cue, painted_cue_}) {
      if (ring) changed_[static_cast<std::size_t>(ring->surface)] = true;
    }
    painted_cue_ = cue;
  }
  std::vector<Surface> changes;
  for (Surface surface : kSurfaces) {
    if (std::exchange(changed_[static_cast<std::size_t>(surface)], false))
      changes.push_back(surface);
  }
  return changes;
}

// A look that differs is painted again by the host; an element the layout lacks has none.
template <typename Value>
void SettingsDialog::Change(DialogControl control, std::int32_t index, Value Look::*field,
                            Value value) {
  const std::size_t at = At(control, index);
  if (at == layout_.size() || looks_[at].*field == value) return;
  looks_[at].*field = std::move(value);
  changed_[static_cast<std::size_t>(layout_[at].surface)] = true;
}

void SettingsDialog::Show(DialogControl control, std::int32_t index, DialogPicture picture) {
  Change(control, index, &Look::picture, picture);
}

void SettingsDialog::ShowButton(DialogControl button, bool pressed) {
  if (button == DialogControl::ExitButton) {
    Show(button, 0, pressed ? DialogPicture::ExitPressed : DialogPicture::ExitReleased);
  } else {
    Show(button, 0, pressed ? DialogPicture::ButtonPressed : DialogPicture::ButtonReleased);
  }
}

// A value outside the choices (from a hand-edited file) names no mark: a Sync other than 0 or 1
// leaves both sync marks as they were.
void SettingsDialog::ShowMarks() {
  for (std::int32_t i = 0; i <= startup::kRandomPatternKind; ++i) {
    Show(DialogControl::PatternMarks, i,
         i == values_.Kind ? DialogPicture::OptionOn : DialogPicture::OptionOff);
  }
  Show(DialogControl::SyncMarks, values_.Sync, DialogPicture::OptionOn);
  Show(DialogControl::SyncMarks, values_.Sync ^ 1, DialogPicture::OptionOff);
}

void SettingsDialog::Load() {
  dragging_ = false;
  TilePanels();
  ShowMarks();
  for (DialogControl button :
       {DialogControl::SetButton, DialogControl::CancelButton, DialogControl::ExitButton}) {
    ShowButton(button, false);
  }
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(sliders_.size()); ++i) {
    SetSlider(i, values_.*kSliderRows[static_cast<std::size_t>(i)].value);
  }
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(sliders_.size()); ++i) {
    Change(DialogControl::SliderValues, i, &Look::text,
           std::to_string(values_.*kSliderRows[static_cast<std::size_t>(i)].value));
  }
  host_.TakeNoText();
  startup::RecordZoomOrigin(platform_.windowing);
  startup::ZoomWindowOpen(platform_.windowing, host_.Window());
  loaded_ = true;
}

void SettingsDialog::OnResize() {
  const std::optional<std::uint32_t> paper =
      high_contrast_ ? std::optional(host_.ColourOf(Ink::Window)) : std::nullopt;
  for (const BackgroundRow& row : BackgroundRows(kDialogClient.h)) {
    host_.DrawBackgroundLine(row.y, kDialogClient.w, paper.value_or(row.colour));
  }
}

void SettingsDialog::TilePanels() {
  for (const Panel& panel : kPanels) {
    if (high_contrast_) {
      host_.FillPanel(panel.surface, host_.ColourOf(Ink::Window));
      continue;
    }
    const Box& box = InLayout(panel.control).box;
    for (const TileCopy& copy : TileCopies(box.w, box.h))
      host_.CopyTextureTile(panel.surface, copy.x, copy.y);
  }
}

void SettingsDialog::SetTextWidth(DialogControl control, std::int32_t index, std::int32_t width) {
  const std::size_t at = At(control, index);
  if (at < layout_.size() && layout_[at].width_follows_text) layout_[at].box.w = width;
}

bool SettingsDialog::OnMouseDown(Surface surface, std::int32_t x, std::int32_t y,
                                 MouseButton button) {
  const Element* element = HitTest(surface, x, y, layout_);
  if (element == nullptr) return false;
  Act(*element, Phase::Press, button);
  // A click puts the keyboard where it was, on the choice it may just have made.
  if (!closed_) FocusOn(*element);
  if (captured_ != nullptr || closed_) return false;
  captured_ = element;
  return true;
}

void SettingsDialog::OnMouseUp(Surface surface, std::int32_t x, std::int32_t y,
                               MouseButton button) {
  const Element* element = captured_ != nullptr ? captured_ : HitTest(surface, x, y, layout_);
  captured_ = nullptr;
  if (element == nullptr || closed_) return;
  // The link opens on a click only: the button goes up over its text.
  if (element->control == DialogControl::Link &&
      !(element->surface == surface && element->box.Contains(x, y)))
    return;
  Act(*element, Phase::Release, button);
}

// What pressing or releasing an element does, for the mouse, the keyboard and a reader alike; a
// mouse's button where it matters, none from the keyboard or a reader.
void SettingsDialog::Act(const Element& element, Phase phase, std::optional<MouseButton> button) {
  const auto index = static_cast<std::int16_t>(element.index);
  const bool press = phase == Phase::Press;
  switch (element.control) {
    case DialogControl::TitleStrip:
      if (button) press ? OnTitlePress(*button) : OnTitleRelease();
      break;
    case DialogControl::ExitButton:
      Button(DialogControl::ExitButton, phase);
      break;
    case DialogControl::SetCaption:
      Button(DialogControl::SetButton, phase);
      break;
    case DialogControl::CancelCaption:
      Button(DialogControl::CancelButton, phase);
      break;
    case DialogControl::Link:
      if (!press && (!button || *button == MouseButton::Left || *button == MouseButton::Right))
        OnUrlClick();
      break;
    case DialogControl::PatternMarks:
      if (press) OnPatternMarkPress(index);
      break;
    case DialogControl::PatternStrips:
      if (press) OnPatternStripPress(index);
      break;
    case DialogControl::RandomLabel:
      if (press) OnRandomLabelPress();
      break;
    case DialogControl::SyncMarks:
      if (press) OnSyncMarkPress(index);
      break;
    case DialogControl::SyncLabels:
      if (press) OnSyncLabelPress(index);
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
  dragging_ = false;
}

void SettingsDialog::OnDpiChange(std::int32_t dpi) {
  const LayoutScale scale(dpi);
  grab_x_ = static_cast<std::int16_t>(scale_.Rescale(grab_x_, scale));
  grab_y_ = static_cast<std::int16_t>(scale_.Rescale(grab_y_, scale));
  scale_ = scale;
}

Pointer SettingsDialog::PointerAt(Surface surface, std::int32_t x, std::int32_t y) const {
  const Element* element = HitTest(surface, x, y, layout_);
  return element != nullptr && element->item.part == Part::Whole ? Pointer::Hand : Pointer::Arrow;
}

void SettingsDialog::OnScroll(std::int32_t index, ScrollRequest request,
                              std::int32_t thumb_position) {
  if (index < 0 || index >= static_cast<std::int32_t>(sliders_.size())) return;
  Slider& slider = sliders_[static_cast<std::size_t>(index)];
  FocusOn(InLayout(DialogControl::Sliders, index));
  if (slider.Apply(request, thumb_position)) {
    host_.SetSliderPosition(index, slider.value());
    OnSliderChange(static_cast<std::int16_t>(index));
  } else if (request == ScrollRequest::EndScroll || request == ScrollRequest::ThumbPosition) {
    // A thumb let go where it started, or beyond the ends, goes back to the value held.
    host_.SetSliderPosition(index, slider.value());
  }
}

void SettingsDialog::OnSystemClose() {
  if (!closed_) OnUnload();
}

void SettingsDialog::OnSliderChange(std::int16_t index) {
  if (index < 0 || index >= static_cast<std::int16_t>(sliders_.size())) return;
  const Slider& slider = sliders_[static_cast<std::size_t>(index)];
  Change(DialogControl::SliderValues, index, &Look::text, std::to_string(slider.value()));
  const bool moved = values_.*slider.row().value != slider.value();
  values_.*slider.row().value = slider.value();
  if (moved) TellReader(platform::ReaderEvent::ValueChange, DialogControl::Sliders, index);
}

void SettingsDialog::OnPatternMarkPress(std::int16_t index) {
  Select(&SettingsValues::Kind, index);
}
void SettingsDialog::OnPatternStripPress(std::int16_t index) {
  Select(&SettingsValues::Kind, index);
}
void SettingsDialog::OnRandomLabelPress() {
  Select(&SettingsValues::Kind, startup::kRandomPatternKind);
}
void SettingsDialog::OnSyncMarkPress(std::int16_t index) { Select(&SettingsValues::Sync, index); }
void SettingsDialog::OnSyncLabelPress(std::int16_t index) { Select(&SettingsValues::Sync, index); }

// The button shows itself pressed until the release, which yields before it acts; only the set
// button writes, and closing after a failed write would lose every choice the user made.
void SettingsDialog::Button(DialogControl button, Phase phase) {
  ShowButton(button, phase == Phase::Press);
  if (phase == Phase::Press) return;
  host_.DispatchPending();
  if (closed_) return;
  if (button == DialogControl::SetButton &&
      !startup::WriteAllSettings(platform_.profile, values_)) {
    host_.TellSettingsNotSaved(NotSavedMessage());
    return;
  }
  OnUnload();
}

void SettingsDialog::OnUrlClick() {
  platform_.shell.Open(host_.Window(), LookOf(DialogControl::Link).text);
}

void SettingsDialog::OnTitlePress(MouseButton button) {
  if (button != MouseButton::Left) return;
  dragging_ = true;
  const platform::Point cursor = Cursor();
  const platform::Point window = WindowPosition();
  grab_x_ = static_cast<std::int16_t>(cursor.x - window.x);
  grab_y_ = static_cast<std::int16_t>(cursor.y - window.y);
}

void SettingsDialog::OnTitleMove() {
  if (!dragging_) return;
  const platform::Point cursor = Cursor();
  host_.MoveWindowTop(cursor.y - grab_y_);
  host_.MoveWindowLeft(cursor.x - grab_x_);
}

void SettingsDialog::OnTitleRelease() { dragging_ = false; }

void SettingsDialog::OnUnload() {
  closed_ = true;
  captured_ = nullptr;
  startup::ZoomWindowClose(platform_.windowing, host_.Window());
  host_.Destroy();
}

// Readers hear of the choice that lost its check and of the one that gained it.
void SettingsDialog::Select(std::int32_t SettingsValues::*value, std::int32_t choice) {
  const std::int32_t was = std::exchange(values_.*value, choice);
  ShowMarks();
  if (was == choice) return;
  const DialogControl marks =
      value == &SettingsValues::Kind ? DialogControl::PatternMarks : DialogControl::SyncMarks;
  TellReader(platform::ReaderEvent::StateChange, marks, was);
  TellReader(platform::ReaderEvent::StateChange, marks, choice);
}

void SettingsDialog::SetSlider(std::int32_t index, std::int32_t value) {
  Slider& slider = sliders_[static_cast<std::size_t>(index)];
  if (!slider.Set(value)) return;
  host_.SetSliderPosition(index, slider.value());
  OnSliderChange(static_cast<std::int16_t>(index));
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
