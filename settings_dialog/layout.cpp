#include "settings_dialog/layout.h"

#include <ranges>

#include "startup/entry.h"

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
using Surface::Dialog;
using enum ElementKind;
using enum Pointer;
using enum Align;
constexpr Surface kPatterns = Surface::PatternPanel;
constexpr Surface kValues = Surface::ValuesPanel;
constexpr std::string_view kTitle = startup::kSettingsDialogTitle;
constexpr std::string_view kEnglishTitle = "quillmere settings";
constexpr std::string_view kUrl = kHomePageUrl;
constexpr std::string_view kCreditEn = kEnglishCredit;
constexpr Ink kWhite = Ink::White;
constexpr Ink kLinkInk = Ink::Link;

constexpr std::array kElements = std::to_array<Element>({
    {TitleStrip, 0, Dialog, Picture, {0, 0, 479, 22}, {}, {}, Left, Arrow},
    {Caption, 0, Dialog, Label, {12, 4, 99, 13}, kTitle, kEnglishTitle, Left, Arrow, false, kWhite},
    {ExitButton, 0, Dialog, Picture, {456, 4, 15, 15}, "閉じる", "Close", Left, Hand},
    {StaticLabels, 9, Dialog, Label, {16, 184, 165, 13}, kCredit, kCreditEn, Left, Arrow, true},
    {Link, 0, Dialog, Label, {16, 204, 214, 13}, kUrl, kUrl, Left, Hand, true, kLinkInk},
    {SetFace, 0, Dialog, Picture, {276, 188, 91, 22}, {}, {}, Left, Arrow},
    {SetCaption, 0, Dialog, Label, {276, 192, 91, 17}, "設定", "Save", Centre, Hand},
    {CancelFace, 0, Dialog, Picture, {372, 188, 91, 22}, {}, {}, Left, Arrow},
    {CancelCaption, 0, Dialog, Label, {372, 192, 91, 17}, "ｷｬﾝｾﾙ", "Cancel", Centre, Hand},
    {PatternPanel, 0, Dialog, Panel, {12, 36, 201, 133}, {}, {}, Left, Arrow},
    {ValuesPanel, 0, Dialog, Panel, {228, 36, 233, 133}, {}, {}, Left, Arrow},

    {PatternMarks, 0, kPatterns, Picture, {8, 8, 13, 13}, {}, {}, Left, Hand},
    {PatternStrips, 0, kPatterns, Picture, {24, 8, 161, 13}, "金色", "Gold", Left, Hand},
    {PatternMarks, 1, kPatterns, Picture, {8, 28, 13, 13}, {}, {}, Left, Hand},
    {PatternStrips, 1, kPatterns, Picture, {24, 28, 161, 13}, "グレー", "Grey", Left, Hand},
    {PatternMarks, 2, kPatterns, Picture, {8, 48, 13, 13}, {}, {}, Left, Hand},
    {PatternStrips, 2, kPatterns, Picture, {24, 48, 161, 13}, "青", "Blue", Left, Hand},
    {PatternMarks, 3, kPatterns, Picture, {8, 68, 13, 13}, {}, {}, Left, Hand},
    {PatternStrips, 3, kPatterns, Picture, {24, 68, 161, 13}, "虹色", "Rainbow", Left, Hand},
    {PatternMarks, 4, kPatterns, Picture, {8, 88, 13, 13}, {}, {}, Left, Hand},
    {PatternStrips, 4, kPatterns, Picture, {24, 88, 161, 13}, "紙吹雪", "Confetti", Left, Hand},
    {PatternMarks, 5, kPatterns, Picture, {8, 108, 13, 13}, {}, {}, Left, Hand},
    {RandomLabel, 0, kPatterns, Label, {24, 108, 32, 13}, "ﾗﾝﾀﾞﾑ", "Random", Left, Hand},

    {StaticLabels, 0, kValues, Label, {56, 12, 27, 13}, "ｻｲｽﾞ", "Size", Right, Arrow},
    {Sliders, 0, kValues, Slider, {88, 8, 85, 17}, {}, {}, Left, Hand},
    {SliderValues, 0, kValues, Label, {176, 12, 25, 13}, "999", "999", Right, Arrow},
    {StaticLabels, 1, kValues, Label, {48, 36, 35, 13}, "ｽﾋﾟｰﾄﾞ", "Speed", Right, Arrow},
    {Sliders, 1, kValues, Slider, {88, 32, 85, 17}, {}, {}, Left, Hand},
    {SliderValues, 1, kValues, Label, {176, 36, 25, 13}, "999", "999", Right, Arrow},
    {StaticLabels, 2, kValues, Label, {68, 60, 13, 13}, "数", "Count", Right, Arrow},
    {Sliders, 2, kValues, Slider, {88, 56, 85, 17}, {}, {}, Left, Hand},
    {SliderValues, 2, kValues, Label, {176, 60, 25, 13}, "999", "999", Right, Arrow},
    {StaticLabels, 3, kValues, Label, {8, 84, 75, 13}, "ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", "Interval", Right, Arrow},
    {Sliders, 3, kValues, Slider, {88, 80, 85, 17}, {}, {}, Left, Hand},
    {SliderValues, 3, kValues, Label, {176, 84, 25, 13}, "999", "999", Right, Arrow},
    {StaticLabels, 5, kValues, Label, {204, 84, 12, 12}, "秒", "s", Left, Arrow},
    {StaticLabels, 4, kValues, Label, {28, 108, 52, 13}, "色の表示", "Colours", Right, Arrow},
    {SyncMarks, 0, kValues, Picture, {88, 108, 13, 13}, {}, {}, Left, Hand},
    {SyncLabels, 0, kValues, Label, {104, 108, 26, 13}, "同期", "One", Left, Hand},
    {SyncMarks, 1, kValues, Picture, {140, 108, 13, 13}, {}, {}, Left, Hand},
    {SyncLabels, 1, kValues, Label, {156, 108, 39, 13}, "非同期", "Each", Left, Hand},
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

const Element* HitTest(Surface surface, std::int32_t x, std::int32_t y,
                       std::span<const Element> layout) {
  for (const Element& element : std::views::reverse(layout)) {
    if (element.surface == surface && element.box.Contains(x, y)) return &element;
  }
  return nullptr;
}

}  // namespace quillmere::settings_dialog
