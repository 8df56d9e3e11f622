#include "settings_dialog/layout.h"

#include <gtest/gtest.h>

namespace quillmere::settings_dialog {
namespace {

using enum platform::DialogControl;

struct Placed {
  DialogControl control;
  std::int32_t index;
  Surface surface;
  Box box;
  std::string_view text;
  Pointer pointer;
};

TEST(Layout, EveryElementLiesWhereTheDialogPutsIt) {
  const Placed expected[] = {
      {Image1, 0, Surface::Dialog, {0, 0, 479, 22}, "", Pointer::Arrow},
      {Label9, 0, Surface::Dialog, {12, 4, 99, 13}, "quillmereの設定", Pointer::Arrow},
      {ImgExit, 0, Surface::Dialog, {456, 4, 15, 15}, "", Pointer::Hand},
      {Pic_a, 0, Surface::Dialog, {12, 36, 201, 133}, "", Pointer::Arrow},
      {Pic_b, 0, Surface::Dialog, {228, 36, 233, 133}, "", Pointer::Arrow},
      {lbl, 9, Surface::Dialog, {16, 184, 165, 13}, kCredit, Pointer::Arrow},
      {lbl_URL, 0, Surface::Dialog, {16, 204, 214, 13}, kHomePageUrl, Pointer::Hand},
      {Img_Set, 0, Surface::Dialog, {276, 188, 91, 22}, "", Pointer::Arrow},
      {lbl_Set, 0, Surface::Dialog, {276, 192, 91, 17}, "設定", Pointer::Hand},
      {Img_Can, 0, Surface::Dialog, {372, 188, 91, 22}, "", Pointer::Arrow},
      {lbl_Can, 0, Surface::Dialog, {372, 192, 91, 17}, "ｷｬﾝｾﾙ", Pointer::Hand},
      {Img_Ptn, 0, Surface::Pic_a, {8, 8, 13, 13}, "", Pointer::Hand},
      {Img_Ptn, 3, Surface::Pic_a, {8, 68, 13, 13}, "", Pointer::Hand},
      {Img_Ptn, 5, Surface::Pic_a, {8, 108, 13, 13}, "", Pointer::Hand},
      {Pic_Ptn, 0, Surface::Pic_a, {24, 8, 161, 13}, "", Pointer::Hand},
      {Pic_Ptn, 4, Surface::Pic_a, {24, 88, 161, 13}, "", Pointer::Hand},
      {lbl_Ptn, 0, Surface::Pic_a, {24, 108, 32, 13}, "ﾗﾝﾀﾞﾑ", Pointer::Hand},
      {lbl, 0, Surface::Pic_b, {56, 12, 27, 13}, "ｻｲｽﾞ", Pointer::Arrow},
      {lbl, 1, Surface::Pic_b, {48, 36, 35, 13}, "ｽﾋﾟｰﾄﾞ", Pointer::Arrow},
      {lbl, 2, Surface::Pic_b, {68, 60, 13, 13}, "数", Pointer::Arrow},
      {lbl, 3, Surface::Pic_b, {8, 84, 75, 13}, "ｸﾘｱ・ｲﾝﾀｰﾊﾞﾙ", Pointer::Arrow},
      {lbl, 4, Surface::Pic_b, {28, 108, 52, 13}, "色の表示", Pointer::Arrow},
      {lbl, 5, Surface::Pic_b, {204, 84, 12, 12}, "秒", Pointer::Arrow},
      {HS, 0, Surface::Pic_b, {88, 8, 85, 17}, "", Pointer::Hand},
      {HS, 3, Surface::Pic_b, {88, 80, 85, 17}, "", Pointer::Hand},
      {lbl_HS, 0, Surface::Pic_b, {176, 12, 25, 13}, "999", Pointer::Arrow},
      {lbl_HS, 2, Surface::Pic_b, {176, 60, 25, 13}, "999", Pointer::Arrow},
      {Img_Sync, 0, Surface::Pic_b, {88, 108, 13, 13}, "", Pointer::Hand},
      {lbl_Sync, 0, Surface::Pic_b, {104, 108, 26, 13}, "同期", Pointer::Hand},
      {Img_Sync, 1, Surface::Pic_b, {140, 108, 13, 13}, "", Pointer::Hand},
      {lbl_Sync, 1, Surface::Pic_b, {156, 108, 39, 13}, "非同期", Pointer::Hand},
  };
  for (const Placed& want : expected) {
    const Element* element = Find(want.control, want.index);
    ASSERT_NE(element, nullptr) << static_cast<int>(want.control) << "(" << want.index << ")";
    EXPECT_EQ(element->surface, want.surface) << want.text;
    EXPECT_EQ(element->box, want.box) << static_cast<int>(want.control) << "(" << want.index << ")";
    EXPECT_EQ(element->text, want.text);
    EXPECT_EQ(element->pointer, want.pointer) << static_cast<int>(want.control) << "(" << want.index << ")";
  }
  EXPECT_EQ(Find(Img_Ptn, 6), nullptr);
  EXPECT_EQ(Find(Pic_Ptn, 5), nullptr);
  EXPECT_EQ(Find(Img_Sync, 2), nullptr);
}

TEST(Layout, TheTopmostElementTakesThePointer) {
  struct Case {
    Surface surface;
    std::int32_t x, y;
    const Element* want;
  };
  const Case cases[] = {
      {Surface::Dialog, 200, 10, Find(Image1)},
      {Surface::Dialog, 20, 8, Find(Label9)},      // the caption lies on the strip
      {Surface::Dialog, 460, 8, Find(ImgExit)},
      {Surface::Dialog, 300, 189, Find(Img_Set)},  // the face's top rows, outside the caption
      {Surface::Dialog, 300, 195, Find(lbl_Set)},
      {Surface::Dialog, 400, 208, Find(lbl_Can)},
      {Surface::Dialog, 400, 209, Find(Img_Can)},  // the face's bottom row
      {Surface::Dialog, 5, 100, nullptr},
      {Surface::Pic_a, 30, 50, Find(Pic_Ptn, 2)},
      {Surface::Pic_a, 10, 110, Find(Img_Ptn, 5)},
      {Surface::Pic_a, 190, 50, nullptr},
      {Surface::Pic_b, 110, 112, Find(lbl_Sync, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HitTest(c.surface, c.x, c.y), c.want) << c.x << "," << c.y;
  }
}

}  // namespace
}  // namespace quillmere::settings_dialog
