#include "settings_dialog/dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "../fake_platform.h"
#include "fake_dialog_host.h"
#include "startup/platform_helpers.h"

namespace quillmere::settings_dialog {
namespace {

using enum platform::DialogControl;
using enum ScrollRequest;
using startup::SettingsValues;
using Lines = std::vector<std::string>;
constexpr SettingsValues kDefaults{0, 5, 5, 100, 10, 0};
constexpr MouseButton kLeft = MouseButton::Left, kRight = MouseButton::Right;
constexpr MouseButton kMiddle = MouseButton::Middle;
constexpr Surface kDialog = Surface::Dialog, kPicA = Surface::Pic_a, kPicB = Surface::Pic_b;

// The dialog on a recording platform and window; the window at its centred place on 1024 x 768.
struct Bench {
  explicit Bench(const SettingsValues& v = kDefaults) : values(v) {
    fake.window_rects[host.window] = {274, 268, 750, 499};
  }
  Bench& Load() { return dialog.Load(), *this; }
  // The calls so far that start with one of the prefixes; the log is emptied.
  Lines Take(std::initializer_list<std::string_view> prefixes) {
    Lines taken;
    for (const std::string& call : fake.calls) {
      for (std::string_view prefix : prefixes) {
        if (call.starts_with(prefix)) taken.push_back(call);
      }
    }
    fake.calls.clear();
    return taken;
  }
  void Click(Surface surface, std::int32_t x, std::int32_t y, MouseButton button = kLeft) {
    dialog.OnMouseDown(surface, x, y, button);
    dialog.OnMouseUp(surface, x, y, button);
  }

  testing::FakePlatform fake;
  platform::Platform platform = fake.Bundle();
  testing::FakeDialogHost host{fake.calls};
  SettingsValues values;
  SettingsDialog dialog{platform, host, values};
};

const std::string kClose = "DrawAnimatedRects(0x7001,3,{274,268,750,499},{0,0,0,0})";
std::string Write(const std::string& key, const std::string& text) {
  return "WritePrivateProfileString(Section," + key + ",[" + text + "],C:\\Savers\\quillmere.ini)";
}

TEST(Skin, ThePainterShadesEveryRowAndTheLoadTilesBothPanelsColumnByColumn) {
  Bench b;
  b.dialog.OnResize();
  ASSERT_EQ(b.host.lines.size(), 232u);
  std::int64_t row = 0;
  for (const auto& line : b.host.lines) EXPECT_EQ(line, (std::array<std::int64_t, 3>{row++, 476, line[2]}));
  // v = |sin(y / (231 / 3.142)) * 220| half to even, drawn as 0x00BBGGRR = RGB(v, v, v + 30).
  const std::pair<std::size_t, std::int64_t> rows[] = {
      {0, 0x1E0000},   {16, 0x4E3030},  {115, 0xFADCDC}, {136, 0xF1D3D3}, {154, 0xDCBEBE},
      {202, 0x725454}, {207, 0x644646}, {216, 0x4A2C2C}, {231, 0x1E0000}};
  for (auto [y, colour] : rows) EXPECT_EQ(b.host.lines[y][2], colour) << "row " << y;

  b.Load();
  std::vector<std::tuple<DialogControl, std::int32_t, std::int32_t>> tiles;
  for (DialogControl panel : {Pic_a, Pic_b}) {
    for (std::int32_t x : {0, 239}) {
      for (std::int32_t y = 0; y <= 156; y += 26) tiles.emplace_back(panel, x, y);
    }
  }
  EXPECT_EQ(b.host.tiles, tiles);
}

TEST(Loading, MarksTheChoicesInRangeAndShowsReleasedFaces) {
  struct Case {
    std::int32_t kind, sync;
    std::string patterns, syncs;  // one more than there are marks: nothing beyond the last
  };
  const Case cases[] = {{0, 0, "+-----.", "+-."}, {1, 1, "-+----.", "-+."}, {2, 0, "--+---.", "+-."},
                        {3, 1, "---+--.", "-+."}, {4, 0, "----+-.", "+-."}, {5, 1, "-----+.", "-+."},
                        {6, 2, "------.", "..."}, {-1, -1, "------.", "..."}, {7, 3, "------.", "..."}};
  for (const Case& c : cases) {
    Bench b({c.kind, 5, 5, 100, 10, c.sync});
    b.Load();
    EXPECT_EQ(b.host.Marks(Img_Ptn, 7), c.patterns) << "Kind " << c.kind;
    EXPECT_EQ(b.host.Marks(Img_Sync, 3), c.syncs) << "Sync " << c.sync;
    EXPECT_EQ(b.values, (SettingsValues{c.kind, 5, 5, 100, 10, c.sync}));
  }
  Bench b;
  b.Load();
  const Lines faces = b.Take({"Show(Img_Set", "Show(Img_Can", "Show(ImgExit"});
  EXPECT_EQ(faces, (Lines{"Show(Img_Set,0,Released)", "Show(Img_Can,0,Released)",
                          "Show(ImgExit,0,ExitReleased)"}));
}

TEST(Loading, SetsTheSlidersItCanThenEveryValueLabel) {
  struct Case {
    SettingsValues values;
    Lines calls;
    std::array<std::int16_t, 4> positions;
  };
  const Case cases[] = {
      {kDefaults,  // Size and Num already stand there: no notification for them
       {"Slider(1,5)", "Label(lbl_HS,1,5)", "Slider(3,10)", "Label(lbl_HS,3,10)", "Label(lbl_HS,0,5)",
        "Label(lbl_HS,1,5)", "Label(lbl_HS,2,100)", "Label(lbl_HS,3,10)"},
       {5, 5, 100, 10}},
      {{0, 20, 1, 50, 60, 0},
       {"Slider(0,20)", "Label(lbl_HS,0,20)", "Slider(1,1)", "Label(lbl_HS,1,1)", "Slider(2,50)",
        "Label(lbl_HS,2,50)", "Slider(3,60)", "Label(lbl_HS,3,60)", "Label(lbl_HS,0,20)",
        "Label(lbl_HS,1,1)", "Label(lbl_HS,2,50)", "Label(lbl_HS,3,60)"},
       {20, 1, 50, 60}},
      {{0, 0, 11, 300, -4, 0},  // beyond every range: the sliders keep their initial places
       {"Label(lbl_HS,0,0)", "Label(lbl_HS,1,11)", "Label(lbl_HS,2,300)", "Label(lbl_HS,3,-4)"},
       {5, 4, 100, 30}},
  };
  for (const Case& c : cases) {
    Bench b(c.values);
    b.Load();
    EXPECT_EQ(b.Take({"Slider", "Label"}), c.calls);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(b.dialog.slider(i).value(), c.positions[i]);
    EXPECT_EQ(b.values, c.values);
  }
}

TEST(Sliders, EveryMoveOfOneStepOrToAnEndStoresAndShowsTheValue) {
  Bench b;
  b.Load().Take({});
  struct Case {
    ScrollRequest request;
    std::int32_t thumb, num;
    Lines calls;
  };
  const Case cases[] = {
      {LineRight, 0, 101, {"Slider(2,101)", "Label(lbl_HS,2,101)"}},
      {PageLeft, 0, 100, {"Slider(2,100)", "Label(lbl_HS,2,100)"}},
      {LineLeft, 0, 99, {"Slider(2,99)", "Label(lbl_HS,2,99)"}},
      {PageRight, 0, 100, {"Slider(2,100)", "Label(lbl_HS,2,100)"}},
      {ThumbTrack, 150, 100, {}},  // nothing while the thumb is dragged
      {ThumbPosition, 150, 150, {"Slider(2,150)", "Label(lbl_HS,2,150)"}},
      {ToRight, 0, 200, {"Slider(2,200)", "Label(lbl_HS,2,200)"}},
      {LineRight, 0, 200, {}},
      {ToLeft, 0, 50, {"Slider(2,50)", "Label(lbl_HS,2,50)"}},
      {PageLeft, 0, 50, {}},
  };
  for (const Case& c : cases) {
    b.dialog.OnScroll(2, c.request, c.thumb);
    EXPECT_EQ(b.Take({"Slider", "Label"}), c.calls) << static_cast<int>(c.request);
    EXPECT_EQ(b.values, (SettingsValues{0, 5, 5, c.num, 10, 0}));
  }
}

TEST(Sliders, EachSliderStoresIntoItsOwnValueWithinItsRange) {
  struct Case {
    std::int32_t index;
    std::int32_t SettingsValues::*value;
    std::int32_t minimum, maximum;
  };
  const Case cases[] = {{0, &SettingsValues::Size, 1, 20}, {1, &SettingsValues::Speed, 1, 10},
                        {2, &SettingsValues::Num, 50, 200}, {3, &SettingsValues::Intval, 5, 60}};
  for (const Case& c : cases) {
    Bench b;
    b.Load().Take({});
    SettingsValues want = kDefaults;
    for (auto [request, end] : {std::pair{ToLeft, c.minimum}, {ToRight, c.maximum}}) {
      b.dialog.OnScroll(c.index, request, 0);
      want.*c.value = end;
      EXPECT_EQ(b.values, want) << "HS(" << c.index << ")";
      EXPECT_EQ(b.Take({"Label"}), Lines{"Label(lbl_HS," + std::to_string(c.index) + "," +
                                         std::to_string(end) + ")"});
    }
  }
  Bench b;
  b.Load().Take({});
  for (std::int16_t index : {std::int16_t{-1}, std::int16_t{4}}) {
    b.dialog.OnScroll(index, ToRight, 0);
    b.dialog.OnSliderChange(index);
  }
  EXPECT_EQ(b.values, kDefaults);
  EXPECT_TRUE(b.Take({""}).empty());
}

TEST(Choosers, APressOfAnyButtonSelectsAndTheReleaseChangesNothing) {
  Bench b;
  b.Load();
  struct Case {
    Surface surface;
    std::int32_t x, y;
    MouseButton button;
    std::string patterns, syncs;
  };
  const Case cases[] = {
      {kPicA, 30, 50, kRight, "--+---", "+-"},     // third preview strip
      {kPicA, 24, 108, kMiddle, "-----+", "+-"},   // "ﾗﾝﾀﾞﾑ"
      {kPicA, 20, 100, kLeft, "----+-", "+-"},     // mark 4's last pixel
      {kPicA, 184, 8, kLeft, "+-----", "+-"},      // strip 0's last column
      {kPicA, 21, 28, kLeft, "+-----", "+-"},      // between mark and strip
      {kPicA, 8, 21, kLeft, "+-----", "+-"},       // between two rows
      {kPicB, 194, 120, kRight, "+-----", "-+"},   // "非同期"
      {kPicB, 88, 108, kLeft, "+-----", "+-"},     // sync mark 0
      {kPicB, 152, 108, kMiddle, "+-----", "-+"},  // sync mark 1
      {kPicB, 104, 110, kLeft, "+-----", "+-"},    // "同期"
  };
  for (const Case& c : cases) {
    b.dialog.OnMouseDown(c.surface, c.x, c.y, c.button);
    b.dialog.OnMouseUp(kDialog, 5, 100, c.button);
    EXPECT_EQ(b.host.Marks(Img_Ptn, 6), c.patterns) << c.x << "," << c.y;
    EXPECT_EQ(b.host.Marks(Img_Sync, 2), c.syncs) << c.x << "," << c.y;
    EXPECT_EQ(b.values.Kind, static_cast<std::int32_t>(c.patterns.find('+')));
    EXPECT_EQ(b.values.Sync, static_cast<std::int32_t>(c.syncs.find('+')));
  }
  EXPECT_TRUE(b.Take({"Write"}).empty());

  Bench odd({9, 5, 5, 100, 10, 3});  // a group out of range at load gets its look from a press
  odd.Load().dialog.OnMouseDown(kPicB, 104, 110, kLeft);
  EXPECT_EQ(odd.host.Marks(Img_Sync, 2) + odd.host.Marks(Img_Ptn, 6), "+-------");
  EXPECT_EQ(odd.values.Kind, 9);
}

TEST(Buttons, SetShowsTheReleasedFaceYieldsWritesAllSixThenCloses) {
  Bench b({3, 7, 2, 300, -4, 1});
  b.Load().Take({});
  b.dialog.OnMouseDown(kDialog, 276, 192, kRight);
  EXPECT_EQ(b.Take({"Show", "Write"}), Lines{"Show(Img_Set,0,Pressed)"});
  b.dialog.OnMouseUp(kDialog, 5, 100, kRight);  // released away from the button
  EXPECT_EQ(b.Take({"Show", "Dispatch", "Write", "DrawAnimated", "Destroy"}),
            (Lines{"Show(Img_Set,0,Released)", "DispatchPending", Write("Kind", " 3"),
                   Write("Size", " 7"), Write("Speed", " 2"), Write("Num", " 300"),
                   Write("Intval", "-4"), Write("Sync", " 1"), kClose, "Destroy"}));
}

TEST(Buttons, AFailedWriteTellsTheUserAndKeepsTheDialogOpen) {
  Bench b;
  b.Load().Take({});
  b.fake.writes_succeed = false;
  b.Click(kDialog, 366, 208);
  const Lines calls = b.Take({"Write", "Tell", "Destroy"});
  EXPECT_EQ(calls.size(), 7u);  // every key is still tried
  EXPECT_EQ(calls.back(), "TellSettingsNotSaved");
  b.fake.writes_succeed = true;
  b.Click(kDialog, 366, 208);
  EXPECT_EQ(b.Take({"Write", "Destroy"}).back(), "Destroy");
}

TEST(Buttons, CancelExitAndOtherClosesWriteNothingAndEndTheDialogOnce) {
  struct Case {
    std::int32_t x, y;  // the button, or (-1, -1) for a close from the system
    bool close_in_yield;
    Lines calls;
  };
  const Lines cancel = {"Show(Img_Can,0,Pressed)", "Show(Img_Can,0,Released)", "DispatchPending"};
  const Lines exit = {"Show(ImgExit,0,ExitPressed)", "Show(ImgExit,0,ExitReleased)", "DispatchPending"};
  const Lines set = {"Show(Img_Set,0,Pressed)", "Show(Img_Set,0,Released)", "DispatchPending"};
  const Case cases[] = {{372, 192, false, cancel}, {470, 18, false, exit}, {-1, -1, false, {}},
                        {462, 208, true, cancel},  {456, 4, true, exit},   {300, 200, true, set}};
  for (const Case& c : cases) {
    Bench b;
    b.Load().dialog.OnScroll(0, LineRight, 0);
    b.Take({});
    if (c.close_in_yield) b.host.on_dispatch = [&b] { b.dialog.OnSystemClose(); };
    if (c.x < 0) b.dialog.OnSystemClose(); else b.Click(kDialog, c.x, c.y, kMiddle);
    Lines want = c.calls;
    want.insert(want.end(), {kClose, "Destroy"});
    EXPECT_EQ(b.Take({"Show", "Dispatch", "Write", "DrawAnimated", "Destroy"}), want) << c.x;
  }
}

TEST(Buttons, PressesOnAFaceOutsideItsCaptionDoNothing) {
  Bench b;
  b.Load().Take({});
  for (auto [x, y] : {std::pair{300, 191}, {300, 209}, {400, 188}, {400, 209}}) b.Click(kDialog, x, y);
  EXPECT_TRUE(b.Take({"Show", "Write", "Destroy"}).empty());
}

TEST(Buttons, TheLinkOpensOnALeftOrRightClickThatEndsOverItsText) {
  Bench b;
  b.Load().dialog.SetTextWidth(lbl_URL, 0, 150);
  struct Case {
    std::int32_t down_x, up_x;
    MouseButton button;
    bool opens;
  };
  const Case cases[] = {{16, 16, kLeft, true}, {20, 165, kRight, true}, {20, 20, kMiddle, false},
                        {20, 166, kLeft, false}, {200, 200, kLeft, false}};
  for (const Case& c : cases) {
    b.Take({});
    b.dialog.OnMouseDown(kDialog, c.down_x, 206, c.button);
    b.dialog.OnMouseUp(kDialog, c.up_x, 206, c.button);
    EXPECT_EQ(b.Take({"ShellOpen", "Destroy"}),
              c.opens ? Lines{"ShellOpen(0x7001," + std::string(kHomePageUrl) + ")"} : Lines{})
        << c.down_x << " to " << c.up_x;
  }
}

TEST(Drag, TheWindowFollowsTheCursorTopFirstUntilAnyRelease) {
  Bench b;
  b.Load();
  b.fake.window_rects[b.host.window] = {300, 200, 776, 431};
  b.fake.cursor = platform::Point{400, 210};
  b.dialog.OnMouseDown(kDialog, 200, 10, kLeft);
  b.fake.cursor = platform::Point{500, 400};
  b.dialog.OnMouseMove(kDialog, 200, 200);  // the strip holds the mouse wherever it goes
  b.fake.cursor = platform::Point{-50, 5};
  b.dialog.OnMouseMove(kDialog, 0, 0);
  EXPECT_EQ(b.Take({"Move"}), (Lines{"MoveTop(390)", "MoveLeft(400)", "MoveTop(-5)", "MoveLeft(-150)"}));
  b.dialog.OnMouseDown(kDialog, 200, 10, kRight);
  b.dialog.OnMouseUp(kDialog, 200, 10, kRight);
  b.dialog.OnMouseMove(kDialog, 200, 10);
  EXPECT_TRUE(b.Take({"Move"}).empty());

  struct Case {
    std::int32_t x, y;
    MouseButton button;
    std::int16_t dragging;
  };
  const Case cases[] = {{0, 0, kLeft, 1},    {475, 21, kLeft, 1}, {200, 10, kRight, 0},
                        {200, 10, kMiddle, 0}, {20, 8, kLeft, 0},  {460, 8, kLeft, 0}, {200, 22, kLeft, 0}};
  for (const Case& c : cases) {
    Bench fresh;
    fresh.Load().dialog.OnMouseDown(kDialog, c.x, c.y, c.button);
    EXPECT_EQ(fresh.dialog.dragging(), c.dragging) << c.x << "," << c.y;
  }
}

TEST(Zoom, OpensFromTheCursorAtLoadAsTheLastStepAndClosesBackThere) {
  for (auto [cursor, origin] : {std::pair{std::optional<platform::Point>{{800, 600}}, "{800,600,800,600}"},
                                {std::nullopt, "{0,0,0,0}"}}) {
    startup::TheZoomOrigin() = {7, 7};
    Bench b;
    b.fake.cursor = cursor;
    b.Load();
    EXPECT_EQ(b.fake.calls.back(), "DrawAnimatedRects(0x7001,3," + std::string(origin) + ",{274,268,750,499})");
    b.Take({});
    b.fake.cursor = platform::Point{10, 10};
    b.fake.window_rects[b.host.window] = {0, 0, 476, 231};  // dragged meanwhile
    b.dialog.OnSystemClose();
    EXPECT_EQ(b.Take({"DrawAnimated"}),
              Lines{"DrawAnimatedRects(0x7001,3,{0,0,476,231}," + std::string(origin) + ")"});
  }
}

TEST(Pointers, TheHandShowsOverWhatReactsToAClick) {
  Bench b;
  struct Case {
    Surface surface;
    std::int32_t x, y;
    Pointer want;
  };
  const Case cases[] = {
      {kDialog, 200, 10, Pointer::Arrow}, {kDialog, 460, 8, Pointer::Hand},   // strip, exit
      {kDialog, 300, 195, Pointer::Hand}, {kDialog, 300, 189, Pointer::Arrow},  // caption, face
      {kDialog, 20, 206, Pointer::Hand},  {kDialog, 20, 190, Pointer::Arrow},   // link, credit
      {kPicA, 100, 50, Pointer::Hand},    {kPicA, 30, 110, Pointer::Hand},      // strip, "ﾗﾝﾀﾞﾑ"
      {kPicB, 60, 14, Pointer::Arrow},    {kPicB, 100, 10, Pointer::Hand},      // caption, slider
      {kPicB, 180, 14, Pointer::Arrow},   {kPicB, 160, 110, Pointer::Hand},     // value, "非同期"
      {kDialog, 5, 100, Pointer::Arrow}};
  for (const Case& c : cases) EXPECT_EQ(b.dialog.PointerAt(c.surface, c.x, c.y), c.want) << c.x << "," << c.y;
}

}  // namespace
}  // namespace quillmere::settings_dialog
