#include "settings_dialog/layout.h"

#include <ranges>

#include "startup/entry.h"

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
constexpr Surface D = Surface::Dialog;
constexpr Surface P = Surface::PatternPanel;
constexpr Surface V = Surface::ValuesPanel;
constexpr ElementKind Pic = ElementKind::Picture;
constexpr ElementKind Text = ElementKind::Label;
constexpr Pointer H = Pointer::Hand;
constexpr Pointer N = Pointer::Arrow;
constexpr Align L = Align::Left;
constexpr Align R = Align::Right;
constexpr Align C = Align::Centre;

constexpr std::array kElements = std::to_array<Element>({
    {TitleStrip, 0, D, Pic, {0, 0, 479, 22}, {}, {}, L, N},
    {Caption,
     0,
     D,
     Text,
     {12, 4, 99, 13},
     startup::kSettingsDialogTitle,
     "quillmere settings",
     L,
     N,
     Ink::White},
    {ExitButton, 0, D, Pic, {456, 4, 15, 15}, "閉じる", "Close", L, H},
    {StaticLabels,
     9,
     D,
     Text,
     {16, 184, 165, 13},
     kCredit,
     kEnglishCredit,
     L,
     N,
     Ink::WindowText,
     true},
    {Link, 0, D, Text, {16, 204, 214, 13}, kHomePageUrl, kHomePageUrl, L, H, Ink::Link, true},
    {SetFace, 0, D, Pic, {276, 188, 91, 22}, {}, {}, L, N},
    {SetCaption, 0, D, Text, {276, 192, 91, 17}, "設定", "Save", C, H},
    {CancelFace, 0, D, Pic, {372, 188, 91, 22}, {}, {}, L, N},
    {CancelCaption, 0, D, Text, {372, 192, 91, 17}, "ｷｬﾝｾﾙ", "Cancel", C, H},
    {PatternPanel, 0, D, ElementKind::Panel, {12, 36, 201, 133}, {}, {}, L, N},
    {ValuesPanel, 0, D, ElementKind::Panel, {228, 36, 233, 133}, {}, {}, L, N},

    {PatternMarks, 0, P, Pic, {8, 8, 13, 13}, {}, {}, L, H},
    {PatternStrips, 0, P, Pic, {24, 8, 161, 13}, "金色", "Gold", L, H},
    {PatternMarks, 1, P, Pic, {8, 28, 13, 13}, {}, {}, L, H},
    {PatternStrips, 1, P, Pic, {24, 28, 161, 13}, "グレー", "Grey", L, H},
    {PatternMarks, 2, P, Pic, {8, 48, 13, 13}, {}, {}, L, H},
    {PatternStrips, 2, P, Pic, {24, 48, 161, 13}, "青", "Blue", L, H},
    {PatternMarks, 3, P, Pic, {8, 68, 13, 13}, {}, {}, L, H},
    {PatternStrips, 3, P, Pic, {24, 68, 161, 13}, "虹色", "Rainbow", L, H},
    {PatternMarks, 4, P, Pic, {8, 88, 13, 13}, {}, {}, L, H},
    {PatternStrips, 4, P, Pic, {24, 88, 161, 13}, "ランダムな色", "Random colours", L, H},
    {PatternMarks, 5, P, Pic, {8, 108, 13, 13}, {}, {}, L, H},
    {RandomLabel, 0, P, Text, {24, 108, 32, 13}, "ﾗﾝﾀﾞﾑ", "Random", L, H},

    {StaticLabels, 0, V, Text, {56, 12, 27, 13}, "ｻｲｽﾞ", "Size", R, N},
    {Sliders, 0, V, ElementKind::Slider, {88, 8, 85, 17}, {}, {}, L, H},
    {SliderValues, 0, V, Text, {176, 12, 25, 13}, "999", "999", R, N},
    {StaticLabels, 1, V, Text, {48, 36, 35, 13}, "ｽﾋﾟｰﾄﾞ", "Speed", R, N},
    {Sliders, 1, V, ElementKind::Slider, {88, 32, 85, 17}, {}, {}, L, H},
    {SliderValues, 1, V, Text, {176, 36, 25, 13}, "999", "999", R, N},
    {StaticLabels, 2, V, Text, {68, 60, 13, 13}, "数", "Count", R, N},
    {Sliders, 2, V, ElementKind::Slider, {88, 56, 85, 17}, {}, {}, L, H},
    {SliderValues, 2, V, Text, {176, 60, 25, 13}, "999", "999", R, N},
    {StaticLabels, 3, V, Text, {8, 84, 75, 13}, "ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", "Interval", R, N},
    {Sliders, 3, V, ElementKind::Slider, {88, 80, 85, 17}, {}, {}, L, H},
    {SliderValues, 3, V, Text, {176, 84, 25, 13}, "999", "999", R, N},
    {StaticLabels, 5, V, Text, {204, 84, 12, 12}, "秒", "s", L, N},
    {StaticLabels, 4, V, Text, {28, 108, 52, 13}, "色の表示", "Colours", R, N},
    {SyncMarks, 0, V, Pic, {88, 108, 13, 13}, {}, {}, L, H},
    {SyncLabels, 0, V, Text, {104, 108, 26, 13}, "同期", "One", L, H},
    {SyncMarks, 1, V, Pic, {140, 108, 13, 13}, {}, {}, L, H},
    {SyncLabels, 1, V, Text, {156, 108, 39, 13}, "非同期", "Each", L, H},
});

constexpr AccessibleRole kSlider = AccessibleRole::Slider;
constexpr AccessibleRole kRadio = AccessibleRole::RadioButton;
constexpr AccessibleRole kPush = AccessibleRole::PushButton;

constexpr std::array kActionables = std::to_array<Actionable>({
    {Sliders, 0, kSlider, 0, StaticLabels, 0, false},
    {Sliders, 1, kSlider, 1, StaticLabels, 1, false},
    {Sliders, 2, kSlider, 2, StaticLabels, 2, false},
    {Sliders, 3, kSlider, 3, StaticLabels, 3, false},
    {PatternMarks, 0, kRadio, 4, PatternStrips, 0, true},
    {PatternMarks, 1, kRadio, 4, PatternStrips, 1, true},
    {PatternMarks, 2, kRadio, 4, PatternStrips, 2, true},
    {PatternMarks, 3, kRadio, 4, PatternStrips, 3, true},
    {PatternMarks, 4, kRadio, 4, PatternStrips, 4, true},
    {PatternMarks, 5, kRadio, 4, RandomLabel, 0, true},
    {SyncMarks, 0, kRadio, 5, SyncLabels, 0, true},
    {SyncMarks, 1, kRadio, 5, SyncLabels, 1, true},
    {SetCaption, 0, kPush, 6, SetFace, 0, true},
    {CancelCaption, 0, kPush, 7, CancelFace, 0, true},
    {ExitButton, 0, kPush, 8, ExitButton, 0, true},
    {Link, 0, AccessibleRole::Link, 9, Link, 0, true},
});

}  // namespace

std::span<const Element> Layout() { return kElements; }

std::vector<Element> LayoutIn(Face face) {
  std::vector<Element> layout(kElements.begin(), kElements.end());
  if (face == Face::English) {
    for (Element& element : layout) element.text = element.english;
  }
  return layout;
}

std::span<const Actionable> Actionables() { return kActionables; }

const Element* Find(DialogControl control, std::int32_t index) {
  for (const Element& element : kElements) {
    if (element.control == control && element.index == index) return &element;
  }
  return nullptr;
}

const Element* HitTest(Surface surface, std::int32_t x, std::int32_t y,
                       std::span<const Element> layout) {
  for (const Element& element : std::views::reverse(layout)) {
    if (element.surface == surface && element.box.Contains(x, y)) return &element;
  }
  return nullptr;
}

}  // namespace quillmere::settings_dialog
