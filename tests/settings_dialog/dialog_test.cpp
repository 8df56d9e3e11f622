#include "settings_dialog/dialog.h"

#include <gtest/gtest.h>

#include "../fake_platform.h"
#include "fake_dialog_host.h"
#include "startup/platform_helpers.h"

namespace quillmere::settings_dialog {
namespace {

using enum platform::DialogControl;
using platform::DialogPicture;

constexpr startup::SettingsValues kDefaults{0, 5, 5, 100, 10, 0};

// The dialog with a recording platform and window around it.
struct DialogBench {
  void LoadWith(const startup::SettingsValues& settings) {
    values = settings;
    dialog.Load();
  }
  std::vector<DialogPicture> PatternMarks() const {
    std::vector<DialogPicture> marks;
    for (std::int32_t i = 0; i < kPatternChoices; ++i) marks.push_back(host.Picture(Img_Ptn, i));
    return marks;
  }
  std::vector<DialogPicture> SyncMarks() const {
    return {host.Picture(Img_Sync, 0), host.Picture(Img_Sync, 1)};
  }
  void Press(Surface surface, const Element* element, MouseButton button = MouseButton::Left) {
    dialog.OnMouseDown(surface, element->box.x + 1, element->box.y + 1, button);
  }
  void Release(Surface surface, std::int32_t x, std::int32_t y,
               MouseButton button = MouseButton::Left) {
    dialog.OnMouseUp(surface, x, y, button);
  }
  void Click(Surface surface, const Element* element, MouseButton button = MouseButton::Left) {
    Press(surface, element, button);
    Release(surface, element->box.x + 1, element->box.y + 1, button);
  }
  std::vector<std::string> Writes() const { return fake.Calls("WritePrivateProfileString"); }

  testing::FakePlatform fake;
  platform::Platform platform = fake.Bundle();
  testing::FakeDialogHost host;
  startup::SettingsValues values;
  SettingsDialog dialog{platform, host, values};
};

class SettingsDialogTest : public ::testing::Test, public DialogBench {};

constexpr DialogPicture On = DialogPicture::OptionOn;
constexpr DialogPicture Off = DialogPicture::OptionOff;
constexpr DialogPicture None = DialogPicture::None;

TEST_F(SettingsDialogTest, LoadingMarksTheChoicesThatAreInRange) {
  struct Case {
    std::int32_t kind, sync;
    std::vector<DialogPicture> patterns, syncs;
  };
  const Case cases[] = {
      {0, 0, {On, Off, Off, Off, Off, Off}, {On, Off}},
      {5, 1, {Off, Off, Off, Off, Off, On}, {Off, On}},
      {7, 2, {Off, Off, Off, Off, Off, Off}, {None, None}},
      {-1, -1, {Off, Off, Off, Off, Off, Off}, {None, None}},
  };
  for (const Case& c : cases) {
    testing::FakeDialogHost fresh;
    startup::SettingsValues v = kDefaults;
    v.Kind = c.kind;
    v.Sync = c.sync;
    SettingsDialog d(platform, fresh, v);
    d.Load();
    for (std::int32_t i = 0; i < kPatternChoices; ++i) {
      EXPECT_EQ(fresh.Picture(Img_Ptn, i), c.patterns[static_cast<std::size_t>(i)])
          << "Kind " << c.kind << ", mark " << i;
    }
    EXPECT_EQ(fresh.Picture(Img_Sync, 0), c.syncs[0]) << "Sync " << c.sync;
    EXPECT_EQ(fresh.Picture(Img_Sync, 1), c.syncs[1]) << "Sync " << c.sync;
    EXPECT_EQ(v.Kind, c.kind);
    EXPECT_EQ(v.Sync, c.sync);
  }
}

TEST_F(SettingsDialogTest, LoadingShowsTheValuesAndTilesBothPanels) {
  LoadWith(kDefaults);
  EXPECT_EQ(host.Text(lbl_HS, 0), "5");
  EXPECT_EQ(host.Text(lbl_HS, 1), "5");
  EXPECT_EQ(host.Text(lbl_HS, 2), "100");
  EXPECT_EQ(host.Text(lbl_HS, 3), "10");
  // Size and Num already stand at their initial positions, so only Speed and Intval move.
  EXPECT_EQ(host.slider_positions, (std::map<std::int32_t, std::int32_t>{{1, 5}, {3, 10}}));
  EXPECT_EQ(host.Picture(Img_Set, 0), DialogPicture::ButtonReleased);
  EXPECT_EQ(host.Picture(Img_Can, 0), DialogPicture::ButtonReleased);
  EXPECT_EQ(host.Picture(ImgExit, 0), DialogPicture::ExitReleased);
  ASSERT_EQ(host.tile_copies.size(), 28u);
  EXPECT_EQ(host.tile_copies.front(), std::make_tuple(Pic_a, 0, 0));
  EXPECT_EQ(host.tile_copies.back(), std::make_tuple(Pic_b, 239, 156));
  EXPECT_EQ(values, kDefaults);
}

TEST_F(SettingsDialogTest, AValueASliderCannotTakeStaysInItsLabelAndInTheSettings) {
  startup::SettingsValues v = kDefaults;
  v.Num = 300;
  v.Size = 0;
  LoadWith(v);
  EXPECT_EQ(dialog.slider(2).value(), 100);
  EXPECT_EQ(dialog.slider(0).value(), 5);
  EXPECT_EQ(host.Text(lbl_HS, 2), "300");
  EXPECT_EQ(host.Text(lbl_HS, 0), "0");
  EXPECT_EQ(values.Num, 300);
  EXPECT_EQ(values.Size, 0);
  dialog.OnScroll(2, ScrollRequest::LineRight, 0);
  EXPECT_EQ(values.Num, 101);
  EXPECT_EQ(host.Text(lbl_HS, 2), "101");
}

TEST_F(SettingsDialogTest, SliderMovesNotifyOnlyWhenTheValueChanges) {
  LoadWith(kDefaults);
  struct Case {
    std::int32_t index;
    ScrollRequest request;
    std::int32_t thumb;
    std::string label;
    std::int32_t startup::SettingsValues::*value;
    std::int32_t want;
  };
  const Case cases[] = {
      {0, ScrollRequest::LineRight, 0, "6", &startup::SettingsValues::Size, 6},
      {0, ScrollRequest::PageLeft, 0, "5", &startup::SettingsValues::Size, 5},
      {2, ScrollRequest::ThumbTrack, 150, "100", &startup::SettingsValues::Num, 100},
      {2, ScrollRequest::ThumbPosition, 150, "150", &startup::SettingsValues::Num, 150},
      {1, ScrollRequest::ToRight, 0, "10", &startup::SettingsValues::Speed, 10},
      {1, ScrollRequest::LineRight, 0, "10", &startup::SettingsValues::Speed, 10},
      {3, ScrollRequest::ToLeft, 0, "5", &startup::SettingsValues::Intval, 5},
  };
  for (const Case& c : cases) {
    dialog.OnScroll(c.index, c.request, c.thumb);
    EXPECT_EQ(host.Text(lbl_HS, c.index), c.label) << c.index << " " << static_cast<int>(c.request);
    EXPECT_EQ(values.*c.value, c.want);
  }
  const auto labels_before = host.calls.size();
  dialog.OnScroll(1, ScrollRequest::LineRight, 0);  // already at its end
  dialog.OnScroll(2, ScrollRequest::ThumbTrack, 180);
  for (std::size_t i = labels_before; i < host.calls.size(); ++i) {
    EXPECT_EQ(host.calls[i].rfind("SetLabelText", 0), std::string::npos) << host.calls[i];
  }
}

TEST_F(SettingsDialogTest, ChoosersSelectOnAnyButtonPress) {
  LoadWith(kDefaults);
  Press(Surface::Pic_a, Find(Pic_Ptn, 2), MouseButton::Right);
  EXPECT_EQ(values.Kind, 2);
  EXPECT_EQ(PatternMarks(), (std::vector<DialogPicture>{Off, Off, On, Off, Off, Off}));
  Press(Surface::Pic_a, Find(lbl_Ptn), MouseButton::Middle);
  EXPECT_EQ(values.Kind, 5);
  EXPECT_EQ(PatternMarks(), (std::vector<DialogPicture>{Off, Off, Off, Off, Off, On}));
  Press(Surface::Pic_a, Find(Img_Ptn, 0));
  Release(Surface::Dialog, 5, 5);
  EXPECT_EQ(values.Kind, 0);
  Press(Surface::Pic_b, Find(lbl_Sync, 1));
  EXPECT_EQ(values.Sync, 1);
  EXPECT_EQ(SyncMarks(), (std::vector<DialogPicture>{Off, On}));
  Press(Surface::Pic_b, Find(Img_Sync, 0));
  EXPECT_EQ(values.Sync, 0);
  EXPECT_EQ(SyncMarks(), (std::vector<DialogPicture>{On, Off}));
  EXPECT_TRUE(Writes().empty());
}

TEST_F(SettingsDialogTest, AGroupOutOfRangeAtLoadGetsItsLookFromTheFirstPress) {
  startup::SettingsValues v = kDefaults;
  v.Kind = 9;
  v.Sync = 3;
  LoadWith(v);
  Press(Surface::Pic_b, Find(lbl_Sync, 0));
  EXPECT_EQ(SyncMarks(), (std::vector<DialogPicture>{On, Off}));
  EXPECT_EQ(values.Kind, 9);
  Press(Surface::Pic_a, Find(Img_Ptn, 4));
  EXPECT_EQ(PatternMarks(), (std::vector<DialogPicture>{Off, Off, Off, Off, On, Off}));
}

TEST_F(SettingsDialogTest, SetWritesAllSixKeysInOrderThenCloses) {
  LoadWith({3, 7, 2, 300, 60, 1});
  values.Intval = -4;
  Press(Surface::Dialog, Find(lbl_Set), MouseButton::Right);
  EXPECT_EQ(host.Picture(Img_Set, 0), DialogPicture::ButtonPressed);
  Release(Surface::Dialog, 5, 100, MouseButton::Right);  // released away from the button
  const std::string path = ",C:\\Savers\\quillmere.ini)";
  EXPECT_EQ(Writes(), (std::vector<std::string>{
                          "WritePrivateProfileString(Section,Kind,[ 3]" + path,
                          "WritePrivateProfileString(Section,Size,[ 7]" + path,
                          "WritePrivateProfileString(Section,Speed,[ 2]" + path,
                          "WritePrivateProfileString(Section,Num,[ 300]" + path,
                          "WritePrivateProfileString(Section,Intval,[-4]" + path,
                          "WritePrivateProfileString(Section,Sync,[ 1]" + path,
                      }));
  EXPECT_EQ(host.Picture(Img_Set, 0), DialogPicture::ButtonReleased);
  EXPECT_TRUE(dialog.closed());
  const auto& calls = host.calls;
  EXPECT_EQ(calls.back(), "Destroy");
  EXPECT_NE(std::find(calls.begin(), calls.end(), "DispatchPending"), calls.end());
  EXPECT_EQ(fake.Calls("DrawAnimatedRects").size(), 2u);
}

TEST_F(SettingsDialogTest, AFailedWriteTellsTheUserAndKeepsTheDialogOpen) {
  LoadWith(kDefaults);
  fake.writes_succeed = false;
  Click(Surface::Dialog, Find(lbl_Set));
  EXPECT_EQ(Writes().size(), 6u);  // every key is still tried
  EXPECT_FALSE(dialog.closed());
  EXPECT_EQ(host.calls.back(), "TellSettingsNotSaved");
  fake.writes_succeed = true;
  Click(Surface::Dialog, Find(lbl_Set));
  EXPECT_TRUE(dialog.closed());
  EXPECT_EQ(fake.ini["Section"]["Num"], " 100");
}

TEST_F(SettingsDialogTest, CancelExitAndASystemCloseWriteNothing) {
  struct Case {
    const char* what;
    std::function<void(DialogBench&)> close;
  };
  const Case cases[] = {
      {"cancel", [](DialogBench& t) { t.Click(Surface::Dialog, Find(lbl_Can)); }},
      {"exit", [](DialogBench& t) { t.Click(Surface::Dialog, Find(ImgExit), MouseButton::Right); }},
      {"system close", [](DialogBench& t) { t.dialog.OnSystemClose(); }},
  };
  for (const Case& c : cases) {
    DialogBench t;
    t.LoadWith(kDefaults);
    t.dialog.OnScroll(0, ScrollRequest::LineRight, 0);
    c.close(t);
    EXPECT_TRUE(t.dialog.closed()) << c.what;
    EXPECT_TRUE(t.Writes().empty()) << c.what;
    EXPECT_EQ(t.host.calls.back(), "Destroy") << c.what;
  }
}

TEST_F(SettingsDialogTest, PressesOnTheFacesOutsideTheCaptionsDoNothing) {
  LoadWith(kDefaults);
  dialog.OnMouseDown(Surface::Dialog, 300, 189, MouseButton::Left);
  dialog.OnMouseUp(Surface::Dialog, 300, 189, MouseButton::Left);
  dialog.OnMouseDown(Surface::Dialog, 400, 209, MouseButton::Left);
  dialog.OnMouseUp(Surface::Dialog, 400, 209, MouseButton::Left);
  EXPECT_FALSE(dialog.closed());
  EXPECT_EQ(host.Picture(Img_Set, 0), DialogPicture::ButtonReleased);
}

TEST_F(SettingsDialogTest, TheLinkOpensOnAClickThatEndsOverIt) {
  LoadWith(kDefaults);
  dialog.SetTextWidth(lbl_URL, 0, 150);
  const Element* url = Find(lbl_URL);
  Click(Surface::Dialog, url, MouseButton::Right);
  EXPECT_EQ(fake.Calls("ShellOpen"),
            (std::vector<std::string>{"ShellOpen(0x7001,https://quillmere.example/)"}));
  Press(Surface::Dialog, url);
  Release(Surface::Dialog, 300, 100);
  Press(Surface::Dialog, url, MouseButton::Middle);
  Release(Surface::Dialog, 20, 206, MouseButton::Middle);
  dialog.OnMouseDown(Surface::Dialog, 200, 206, MouseButton::Left);  // past the text's width
  dialog.OnMouseUp(Surface::Dialog, 200, 206, MouseButton::Left);
  EXPECT_EQ(fake.Calls("ShellOpen").size(), 1u);
  EXPECT_FALSE(dialog.closed());
}

TEST_F(SettingsDialogTest, DraggingTheTitleStripMovesTheWindowByTheGrabOffset) {
  LoadWith(kDefaults);
  fake.window_rects[host.window] = {300, 200, 776, 431};
  fake.cursor = platform::Point{400, 210};
  host.calls.clear();
  dialog.OnMouseDown(Surface::Dialog, 200, 10, MouseButton::Left);
  EXPECT_EQ(dialog.dragging(), 1);
  fake.cursor = platform::Point{500, 400};
  dialog.OnMouseMove(Surface::Dialog, 200, 200);  // the strip holds the mouse, wherever it is
  EXPECT_EQ(host.calls, (std::vector<std::string>{"MoveTop(390)", "MoveLeft(400)"}));
  fake.cursor = platform::Point{-50, 5};
  dialog.OnMouseMove(Surface::Dialog, 0, 0);
  EXPECT_EQ(host.calls.back(), "MoveLeft(-150)");  // nothing keeps it on the screen
  dialog.OnMouseUp(Surface::Dialog, 0, 0, MouseButton::Left);
  EXPECT_EQ(dialog.dragging(), 0);
  dialog.OnMouseMove(Surface::Dialog, 200, 10);
  EXPECT_EQ(host.calls.size(), 4u);
}

TEST_F(SettingsDialogTest, OnlyALeftPressOnTheStripItselfStartsADrag) {
  LoadWith(kDefaults);
  fake.window_rects[host.window] = {300, 200, 776, 431};
  fake.cursor = platform::Point{400, 210};
  struct Case {
    std::int32_t x, y;
    MouseButton button;
    std::int16_t dragging;
  };
  const Case cases[] = {{200, 10, MouseButton::Right, 0}, {20, 8, MouseButton::Left, 0},
                        {460, 8, MouseButton::Left, 0}, {200, 10, MouseButton::Left, 1}};
  for (const Case& c : cases) {
    dialog.OnMouseDown(Surface::Dialog, c.x, c.y, c.button);
    EXPECT_EQ(dialog.dragging(), c.dragging) << c.x << "," << c.y;
    if (c.dragging == 0) dialog.OnMouseUp(Surface::Dialog, c.x, c.y, c.button);
  }
  // The exit button was pressed and released in between: that closed the dialog.
  EXPECT_TRUE(dialog.closed());
}

TEST_F(SettingsDialogTest, ARightReleaseEndsALeftDrag) {
  LoadWith(kDefaults);
  dialog.OnMouseDown(Surface::Dialog, 200, 10, MouseButton::Left);
  dialog.OnMouseDown(Surface::Dialog, 200, 10, MouseButton::Right);
  EXPECT_EQ(dialog.dragging(), 1);
  dialog.OnMouseUp(Surface::Dialog, 200, 10, MouseButton::Right);
  EXPECT_EQ(dialog.dragging(), 0);
}

TEST_F(SettingsDialogTest, TheZoomRunsFromTheCursorAtLoadAndBackThere) {
  fake.cursor = platform::Point{800, 600};
  fake.window_rects[host.window] = {274, 268, 750, 499};
  startup::TheZoomOrigin() = {};
  LoadWith(kDefaults);
  fake.cursor = platform::Point{10, 10};
  fake.window_rects[host.window] = {0, 0, 476, 231};
  dialog.OnSystemClose();
  EXPECT_EQ(fake.Calls("DrawAnimatedRects"),
            (std::vector<std::string>{"DrawAnimatedRects(0x7001,3,{800,600,800,600},{274,268,750,499})",
                                      "DrawAnimatedRects(0x7001,3,{0,0,476,231},{800,600,800,600})"}));
}

TEST_F(SettingsDialogTest, PointersFollowTheLayout) {
  LoadWith(kDefaults);
  EXPECT_EQ(dialog.PointerAt(Surface::Dialog, 200, 10), Pointer::Arrow);
  EXPECT_EQ(dialog.PointerAt(Surface::Dialog, 460, 8), Pointer::Hand);
  EXPECT_EQ(dialog.PointerAt(Surface::Dialog, 300, 195), Pointer::Hand);
  EXPECT_EQ(dialog.PointerAt(Surface::Pic_a, 100, 50), Pointer::Hand);
  EXPECT_EQ(dialog.PointerAt(Surface::Pic_b, 60, 14), Pointer::Arrow);
  EXPECT_EQ(dialog.PointerAt(Surface::Dialog, 5, 100), Pointer::Arrow);
}

TEST_F(SettingsDialogTest, PaintingDrawsEveryRowOfTheClientArea) {
  dialog.OnResize();
  ASSERT_EQ(host.background_lines.size(), 232u);
  EXPECT_EQ(host.background_lines[115].second, 0x00FADCDCu);
}

}  // namespace
}  // namespace quillmere::settings_dialog
