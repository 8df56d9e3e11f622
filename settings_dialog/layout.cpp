#include "settings_dialog/layout.h"

#include <ranges>

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
constexpr Surface D = Surface::Dialog;
constexpr Surface A = Surface::Pic_a;
constexpr Surface B = Surface::Pic_b;
constexpr ElementKind Pic = ElementKind::Picture;
constexpr ElementKind Text = ElementKind::Label;
constexpr Pointer H = Pointer::Hand;
constexpr Pointer N = Pointer::Arrow;
constexpr Align L = Align::Left;
constexpr Align R = Align::Right;
constexpr Align C = Align::Centre;

constexpr std::array kElements = std::to_array<Element>({
    {Image1, 0, D, Pic, {0, 0, 479, 22}, {}, L, N},
    {Label9, 0, D, Text, {12, 4, 99, 13}, "quillmereの設定", L, N, Ink::White},
    {ImgExit, 0, D, Pic, {456, 4, 15, 15}, {}, L, H},
    {lbl, 9, D, Text, {16, 184, 165, 13}, kCredit, L, N, Ink::WindowText, true},
    {lbl_URL, 0, D, Text, {16, 204, 214, 13}, kHomePageUrl, L, H, Ink::Link, true},
    {Img_Set, 0, D, Pic, {276, 188, 91, 22}, {}, L, N},
    {lbl_Set, 0, D, Text, {276, 192, 91, 17}, "設定", C, H},
    {Img_Can, 0, D, Pic, {372, 188, 91, 22}, {}, L, N},
    {lbl_Can, 0, D, Text, {372, 192, 91, 17}, "ｷｬﾝｾﾙ", C, H},
    {Pic_a, 0, D, ElementKind::Panel, {12, 36, 201, 133}, {}, L, N},
    {Pic_b, 0, D, ElementKind::Panel, {228, 36, 233, 133}, {}, L, N},

    {Img_Ptn, 0, A, Pic, {8, 8, 13, 13}, {}, L, H},
    {Pic_Ptn, 0, A, Pic, {24, 8, 161, 13}, {}, L, H},
    {Img_Ptn, 1, A, Pic, {8, 28, 13, 13}, {}, L, H},
    {Pic_Ptn, 1, A, Pic, {24, 28, 161, 13}, {}, L, H},
    {Img_Ptn, 2, A, Pic, {8, 48, 13, 13}, {}, L, H},
    {Pic_Ptn, 2, A, Pic, {24, 48, 161, 13}, {}, L, H},
    {Img_Ptn, 3, A, Pic, {8, 68, 13, 13}, {}, L, H},
    {Pic_Ptn, 3, A, Pic, {24, 68, 161, 13}, {}, L, H},
    {Img_Ptn, 4, A, Pic, {8, 88, 13, 13}, {}, L, H},
    {Pic_Ptn, 4, A, Pic, {24, 88, 161, 13}, {}, L, H},
    {Img_Ptn, 5, A, Pic, {8, 108, 13, 13}, {}, L, H},
    {lbl_Ptn, 0, A, Text, {24, 108, 32, 13}, "ﾗﾝﾀﾞﾑ", L, H},

    {lbl, 0, B, Text, {56, 12, 27, 13}, "ｻｲｽﾞ", R, N},
    {HS, 0, B, ElementKind::Slider, {88, 8, 85, 17}, {}, L, H},
    {lbl_HS, 0, B, Text, {176, 12, 25, 13}, "999", R, N},
    {lbl, 1, B, Text, {48, 36, 35, 13}, "ｽﾋﾟｰﾄﾞ", R, N},
    {HS, 1, B, ElementKind::Slider, {88, 32, 85, 17}, {}, L, H},
    {lbl_HS, 1, B, Text, {176, 36, 25, 13}, "999", R, N},
    {lbl, 2, B, Text, {68, 60, 13, 13}, "数", R, N},
    {HS, 2, B, ElementKind::Slider, {88, 56, 85, 17}, {}, L, H},
    {lbl_HS, 2, B, Text, {176, 60, 25, 13}, "999", R, N},
    {lbl, 3, B, Text, {8, 84, 75, 13}, "ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", R, N},
    {HS, 3, B, ElementKind::Slider, {88, 80, 85, 17}, {}, L, H},
    {lbl_HS, 3, B, Text, {176, 84, 25, 13}, "999", R, N},
    {lbl, 5, B, Text, {204, 84, 12, 12}, "秒", L, N},
    {lbl, 4, B, Text, {28, 108, 52, 13}, "色の表示", R, N},
    {Img_Sync, 0, B, Pic, {88, 108, 13, 13}, {}, L, H},
    {lbl_Sync, 0, B, Text, {104, 108, 26, 13}, "同期", L, H},
    {Img_Sync, 1, B, Pic, {140, 108, 13, 13}, {}, L, H},
    {lbl_Sync, 1, B, Text, {156, 108, 39, 13}, "非同期", L, H},
});

}  // namespace

std::span<const Element> Layout() { return kElements; }

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
