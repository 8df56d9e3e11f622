#include "settings_dialog/layout.h"

#include <ranges>

#include "startup/entry.h"

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
using Surface::Dialog;
using enum ElementKind;
using enum Align;
constexpr Surface kPatterns = Surface::PatternPanel;
constexpr Surface kValues = Surface::ValuesPanel;
constexpr std::string_view kTitle = startup::kSettingsDialogTitle;
constexpr std::string_view kEnglishTitle = "quillmere settings";
constexpr std::string_view kUrl = kHomePageUrl;
constexpr std::string_view kCreditEn = kEnglishCredit;
constexpr Ink kWhite = Ink::White;
constexpr Ink kLinkInk = Ink::Link;
constexpr std::array<std::string_view, kFaces> kIntervalWords = {"ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", "Interval"};
using Role = AccessibleRole;
// Each item a user acts on: its stop in the Tab order and the role a reader hears it in.
constexpr ItemPart kSize = Whole(Stop::Size, Role::Slider);
constexpr ItemPart kSpeed = Whole(Stop::Speed, Role::Slider);
constexpr ItemPart kCount = Whole(Stop::Count, Role::Slider);
constexpr ItemPart kInterval = Whole(Stop::Interval, Role::Slider);
constexpr ItemPart kPattern = Whole(Stop::Patterns, Role::RadioButton);
constexpr ItemPart kColour = Whole(Stop::Colours, Role::RadioButton);
constexpr ItemPart kSet = Whole(Stop::Set, Role::PushButton);
constexpr ItemPart kCancel = Whole(Stop::Cancel, Role::PushButton);
constexpr ItemPart kExit = Whole(Stop::Exit, Role::PushButton);
constexpr ItemPart kLinkItem = Whole(Stop::Link, Role::Link);

constexpr std::array kElements = std::to_array<Element>({
    {TitleStrip, 0, Dialog, Picture, {0, 0, 479, 22}, {}},
    {Caption, 0, Dialog, Label, {12, 4, 99, 13}, {kTitle, kEnglishTitle}, {}, Left, false, kWhite},
    {ExitButton, 0, Dialog, Picture, {456, 4, 15, 15}, {"閉じる", "Close"}, kExit},
    {StaticLabels, 9, Dialog, Label, {16, 184, 165, 13}, {kCredit, kCreditEn}, {}, Left, true},
    {Link, 0, Dialog, Label, {16, 204, 214, 13}, {kUrl, kUrl}, kLinkItem, Left, true, kLinkInk},
    {SetButton, 0, Dialog, Picture, {276, 188, 91, 22}, {}, BoxOf(kSet)},
    {SetCaption, 0, Dialog, Label, {276, 192, 91, 17}, {"設定", "Save"}, kSet, Centre},
    {CancelButton, 0, Dialog, Picture, {372, 188, 91, 22}, {}, BoxOf(kCancel)},
    {CancelCaption, 0, Dialog, Label, {372, 192, 91, 17}, {"ｷｬﾝｾﾙ", "Cancel"}, kCancel, Centre},
    {PatternPanel, 0, Dialog, Panel, {12, 36, 201, 133}, {}},
    {ValuesPanel, 0, Dialog, Panel, {228, 36, 233, 133}, {}},
    {PatternMarks, 0, kPatterns, Picture, {8, 8, 13, 13}, {}, kPattern},
    {PatternStrips, 0, kPatterns, Picture, {24, 8, 161, 13}, {"金色", "Gold"}, kPattern},
    {PatternMarks, 1, kPatterns, Picture, {8, 28, 13, 13}, {}, kPattern},
    {PatternStrips, 1, kPatterns, Picture, {24, 28, 161, 13}, {"グレー", "Grey"}, kPattern},
    {PatternMarks, 2, kPatterns, Picture, {8, 48, 13, 13}, {}, kPattern},
    {PatternStrips, 2, kPatterns, Picture, {24, 48, 161, 13}, {"青", "Blue"}, kPattern},
    {PatternMarks, 3, kPatterns, Picture, {8, 68, 13, 13}, {}, kPattern},
    {PatternStrips, 3, kPatterns, Picture, {24, 68, 161, 13}, {"虹色", "Rainbow"}, kPattern},
    {PatternMarks, 4, kPatterns, Picture, {8, 88, 13, 13}, {}, kPattern},
    {PatternStrips, 4, kPatterns, Picture, {24, 88, 161, 13}, {"紙吹雪", "Confetti"}, kPattern},
    {PatternMarks, 5, kPatterns, Picture, {8, 108, 13, 13}, {}, kPattern},
    {RandomLabel, 5, kPatterns, Label, {24, 108, 32, 13}, {"ﾗﾝﾀﾞﾑ", "Random"}, kPattern},
    {StaticLabels, 0, kValues, Label, {56, 12, 27, 13}, {"ｻｲｽﾞ", "Size"}, NameOf(kSize), Right},
    {Sliders, 0, kValues, Slider, {88, 8, 85, 17}, {}, kSize},
    {SliderValues, 0, kValues, Label, {176, 12, 25, 13}, {"999", "999"}, {}, Right},
    {StaticLabels, 1, kValues, Label, {48, 36, 35, 13}, {"ｽﾋﾟｰﾄﾞ", "Speed"}, NameOf(kSpeed), Right},
    {Sliders, 1, kValues, Slider, {88, 32, 85, 17}, {}, kSpeed},
    {SliderValues, 1, kValues, Label, {176, 36, 25, 13}, {"999", "999"}, {}, Right},
    {StaticLabels, 2, kValues, Label, {68, 60, 13, 13}, {"数", "Count"}, NameOf(kCount), Right},
    {Sliders, 2, kValues, Slider, {88, 56, 85, 17}, {}, kCount},
    {SliderValues, 2, kValues, Label, {176, 60, 25, 13}, {"999", "999"}, {}, Right},
    {StaticLabels, 3, kValues, Label, {8, 84, 75, 13}, kIntervalWords, NameOf(kInterval), Right},
    {Sliders, 3, kValues, Slider, {88, 80, 85, 17}, {}, kInterval},
    {SliderValues, 3, kValues, Label, {176, 84, 25, 13}, {"999", "999"}, {}, Right},
    {StaticLabels, 5, kValues, Label, {204, 84, 12, 12}, {"秒", "s"}},
    {StaticLabels, 4, kValues, Label, {28, 108, 52, 13}, {"色の表示", "Colours"}, {}, Right},
    {SyncMarks, 0, kValues, Picture, {88, 108, 13, 13}, {}, kColour},
    {SyncLabels, 0, kValues, Label, {104, 108, 26, 13}, {"同期", "One"}, kColour},
    {SyncMarks, 1, kValues, Picture, {140, 108, 13, 13}, {}, kColour},
    {SyncLabels, 1, kValues, Label, {156, 108, 39, 13}, {"非同期", "Each"}, kColour},
});

}  // namespace

std::span<const Element> Layout() { return kElements; }

const Element* HitTest(Surface surface, std::int32_t x, std::int32_t y,
                       std::span<const Element> layout) {
  for (const Element& element : std::views::reverse(layout)) {
    if (element.surface == surface && element.box.Contains(x, y)) return &element;
  }
  return nullptr;
}

}  // namespace quillmere::settings_dialog
