#include "settings_dialog/dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "settings_dialog/layout_scale.h"
#include "tests/fake_platform.h"

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
using enum ScrollRequest;
using enum MouseButton;
using platform::DialogPicture;
using platform::Point;
using startup::SettingsValues;
using Lines = std::vector<std::string>;
constexpr SettingsValues kDefaults{0, 5, 5, 100, 10, 0};
constexpr Surface kDialog = Surface::Dialog;
constexpr Surface kPatterns = Surface::PatternPanel;
constexpr Surface kValues = Surface::ValuesPanel;
const std::string kClose = "DrawAnimatedRects(0x7001,3,{274,268,750,499},{800,600,800,600})";

// The dialog, loaded with the cursor at (800, 600), in a window centred on a 1024 x 768 screen
// that logs into the recording platform's list, so one list shows the order of everything.
struct Bench final : platform::SettingsDialogHost {
  explicit Bench(const SettingsValues& loaded = kDefaults) : values(loaded) {
    fake.window_rects[Window()] = {274, 268, 750, 499};
    fake.cursor = Point{800, 600};
    dialog.Load();
  }
  // The calls since the last Take that start with one of the prefixes.
  Lines Take(std::initializer_list<std::string_view> prefixes) {
    Lines taken;
    std::ranges::copy_if(std::exchange(fake.calls, {}), std::back_inserter(taken), [&](auto& call) {
      return std::ranges::any_of(prefixes, [&](auto prefix) { return call.starts_with(prefix); });
    });
    return taken;
  }
  // A press at one point of the dialog surface and the release at another.
  void Click(Point down, Point up, MouseButton button = Left) {
    dialog.OnMouseDown(kDialog, down.x, down.y, button);
    dialog.OnMouseUp(kDialog, up.x, up.y, button);
  }
  // The pattern marks, then the sync marks, each with one place beyond the last: '+' option-on,
  // '-' option-off, '.' nothing shown.
  std::string Marks() { return Marks(PatternMarks, 7) + "|" + Marks(SyncMarks, 3); }
  std::string Marks(DialogControl control, std::int32_t count) {
    std::string marks;
    for (std::int32_t i = 0; i < count; ++i) marks += ".+-????"[int(pictures[{control, i}])];
    return marks;
  }

  platform::WindowHandle Window() override { return 0x7001; }
  void DrawBackgroundLine(std::int32_t, std::int32_t, std::uint32_t) override {}
  void CopyTextureTile(DialogControl, std::int32_t, std::int32_t) override {}
  void ShowPicture(DialogControl control, std::int32_t index, DialogPicture picture) override {
    pictures[{control, index}] = picture;
    const char* names[] = {"None",    "On",           "Off",        "Released",
                           "Pressed", "ExitReleased", "ExitPressed"};
    fake.Log("Show", Name(control), index, names[static_cast<int>(picture)]);
  }
  void SetLabelText(DialogControl control, std::int32_t index, std::string_view text) override {
    fake.Log("Label", Name(control), index, text);
  }
  void SetSliderPosition(std::int32_t index, std::int32_t value) override {
    fake.Log("Slider", index, value);
  }
  void MoveWindowTop(std::int32_t top) override { fake.Log("MoveTop", top); }
  void MoveWindowLeft(std::int32_t left) override { fake.Log("MoveLeft", left); }
  void DispatchPending() override {
    fake.Log("DispatchPending");
    if (on_dispatch) on_dispatch();
  }
  void Destroy() override { fake.Log("Destroy"); }
  void TellSettingsNotSaved() override { fake.Log("TellSettingsNotSaved"); }
  static std::string Name(DialogControl control) {
    const char* names[] = {"TitleStrip",    "Caption",      "ExitButton",    "PatternPanel",
                           "ValuesPanel",   "StaticLabels", "Link",          "SetFace",
                           "SetCaption",    "CancelFace",   "CancelCaption", "PatternMarks",
                           "PatternStrips", "RandomLabel",  "Sliders",       "SliderValues",
                           "SyncMarks",     "SyncLabels"};
    return names[static_cast<int>(control)];
  }

  testing::FakePlatform fake;
  platform::Platform platform = fake.Bundle();
  SettingsValues values;
  std::map<std::pair<DialogControl, std::int32_t>, DialogPicture> pictures;
  std::function<void()> on_dispatch;  // messages that arrive during the yield
  SettingsDialog dialog{platform, *this, values};
};

std::string Write(std::string_view key, std::string_view text) {
  return "WritePrivateProfileString(Section," + std::string(key) + ",[" + std::string(text) +
         "],C:\\Savers\\quillmere.ini)";
}

// The one test of the mapping between layout and physical pixels; the others stay at 96 DPI.
TEST(LayoutScale, MapsEdgesWithHalvesUpAndPhysicalPixelsBackIntoTheirLayoutPixel) {
  struct Row {
    std::int32_t dpi;
    Box box;                           // of the layout box {1, 3, 5, 7}
    std::array<std::int32_t, 6> back;  // the layout pixels of physical -1 to 4
    std::int32_t text;                 // a 301-pixel text in layout pixels, rounded up
  };
  const Row rows[] = {
      {.dpi = 120, .box = {1, 4, 7, 9}, .back = {-1, 0, 1, 1, 2, 3}, .text = 241},
      {.dpi = 144, .box = {2, 5, 7, 10}, .back = {-1, 0, 0, 1, 2, 2}, .text = 201},
  };
  for (const Row& row : rows) {
    const LayoutScale scale(row.dpi);
    EXPECT_EQ(scale.ToPhysical(Box{1, 3, 5, 7}), row.box) << row.dpi;
    for (std::int32_t p = -1; p <= 4; ++p) {
      EXPECT_EQ(scale.ToLayout(p), row.back[static_cast<std::size_t>(p + 1)]) << row.dpi;
    }
    EXPECT_EQ(scale.LengthToLayout(301), row.text) << row.dpi;
  }
}

TEST(LayoutScale, ADpiChangeTakesTheSuggestedCornerAndTheSizeAtTheNewScale) {
  // The system rounded 346.5 down.
  EXPECT_EQ(DialogWindowFor({100, 50, 814, 396}, LayoutScale(144)),
            (platform::Rect{100, 50, 814, 397}));
}

TEST(Loading, MarksTheKindAndTheSyncOnlyWhenInRange) {
  struct Row {
    std::int32_t kind, sync;
    std::string marks;
  };
  const Row rows[] = {
      {.kind = 0, .sync = 0, .marks = "+-----.|+-."},
      {.kind = 5, .sync = 1, .marks = "-----+.|-+."},
      {.kind = 6, .sync = 2, .marks = "------.|..."},
  };
  for (const Row& row : rows) {
    Bench b({row.kind, 5, 5, 100, 10, row.sync});
    EXPECT_EQ(b.Marks(), row.marks) << row.kind << "," << row.sync;
    EXPECT_EQ(b.values, (SettingsValues{row.kind, 5, 5, 100, 10, row.sync}));
  }
}

TEST(Loading, ShowsTheButtonsReleased) {
  EXPECT_EQ(Bench().Take({"Show(SetFace", "Show(CancelFace", "Show(ExitButton"}),
            (Lines{"Show(SetFace,0,Released)", "Show(CancelFace,0,Released)",
                   "Show(ExitButton,0,ExitReleased)"}));
}

TEST(Loading, SetsTheSlidersThatCanTakeTheirValueThenEveryValueLabel) {
  const SettingsValues loaded = {0, 5, 1, 300, 60, 0};  // Size is at 5 already, Num beyond 200
  Bench b(loaded);
  EXPECT_EQ(b.Take({"Slider", "Label"}),
            (Lines{"Slider(1,1)", "Label(SliderValues,1,1)", "Slider(3,60)",
                   "Label(SliderValues,3,60)", "Label(SliderValues,0,5)", "Label(SliderValues,1,1)",
                   "Label(SliderValues,2,300)", "Label(SliderValues,3,60)"}));
  EXPECT_EQ(b.dialog.slider(2).value(), 100);
  EXPECT_EQ(b.values, loaded);
}

TEST(Zoom, OpensFromTheCursorAtLoadAndClosesBackToIt) {
  Bench b;
  b.fake.window_rects[b.Window()] = {300, 200, 776, 431};
  b.fake.cursor = Point{10, 10};
  b.dialog.OnSystemClose();
  EXPECT_EQ(b.Take({"DrawAnimated"}),
            (Lines{"DrawAnimatedRects(0x7001,3,{800,600,800,600},{274,268,750,499})",
                   "DrawAnimatedRects(0x7001,3,{300,200,776,431},{800,600,800,600})"}));
}

TEST(Sliders, EveryMoveWithinTheRangeIsShownAndStored) {
  Bench b;
  b.Take({});
  b.dialog.OnScroll(2, LineRight, 0);
  b.dialog.OnScroll(2, PageLeft, 0);
  b.dialog.OnScroll(2, ThumbTrack, 150);  // a dragged thumb changes nothing until let go
  b.dialog.OnScroll(2, ThumbPosition, 150);
  b.dialog.OnScroll(2, ToRight, 0);
  b.dialog.OnScroll(2, LineRight, 0);
  b.dialog.OnScroll(2, ToLeft, 0);
  b.dialog.OnScroll(2, PageLeft, 0);
  EXPECT_EQ(b.Take({"Label"}), (Lines{"Label(SliderValues,2,101)", "Label(SliderValues,2,100)",
                                      "Label(SliderValues,2,150)", "Label(SliderValues,2,200)",
                                      "Label(SliderValues,2,50)"}));
  EXPECT_EQ(b.values.Num, 50);
}

// The marks with one pattern and one sync choice selected.
std::string Selected(std::int32_t kind, std::int32_t sync) {
  std::string marks = "------.|--.";
  marks[static_cast<std::size_t>(kind)] = '+';
  marks[static_cast<std::size_t>(8 + sync)] = '+';
  return marks;
}

TEST(Choosers, APressOfAnyButtonSelectsAndTheReleaseOverAnotherChoiceKeepsIt) {
  Bench b;
  struct Row {
    std::string_view name;
    Surface on;
    Point at;
    MouseButton button = Left;
    std::int32_t kind = 0, sync = 0;
  };
  const Row rows[] = {
      {.name = "strip 2", .on = kPatterns, .at = {30, 50}, .button = Right, .kind = 2},
      {.name = "ﾗﾝﾀﾞﾑ", .on = kPatterns, .at = {24, 108}, .button = Middle, .kind = 5},
      {.name = "mark 4", .on = kPatterns, .at = {8, 88}, .kind = 4},
      {.name = "right of mark 1", .on = kPatterns, .at = {21, 28}, .kind = 4},
      {.name = "非同期", .on = kValues, .at = {194, 120}, .kind = 4, .sync = 1},
      {.name = "sync mark 0", .on = kValues, .at = {88, 108}, .kind = 4},
  };
  for (const Row& row : rows) {
    b.dialog.OnMouseDown(row.on, row.at.x, row.at.y, row.button);
    EXPECT_EQ(b.Marks(), Selected(row.kind, row.sync)) << row.name;
    b.dialog.OnMouseUp(row.on, 30, 10, row.button);  // over strip 0 in the pattern panel
    EXPECT_EQ(b.Marks(), Selected(row.kind, row.sync)) << row.name << " released";
    EXPECT_EQ(b.values.Kind, row.kind) << row.name;
    EXPECT_EQ(b.values.Sync, row.sync) << row.name;
  }
  EXPECT_EQ(b.Take({"Write"}), Lines{});
}

TEST(Choosers, AGroupWithoutAMarkAtLoadGetsItsLookFromAPress) {
  Bench b({9, 5, 5, 100, 10, 3});
  b.dialog.OnMouseDown(kValues, 104, 110, Left);
  EXPECT_EQ(b.Marks(), "------.|+-.");
  EXPECT_EQ(b.values.Kind, 9);
}

TEST(Buttons, SetCommitsFromItsCaptionAfterTheYieldAndCloses) {
  Bench b({3, 7, 2, 300, -4, 1});
  b.Take({});
  b.Click({300, 191}, {300, 191});  // the face's top rows lie outside the caption
  b.Click({276, 192}, {5, 5}, Right);
  EXPECT_EQ(
      b.Take({"Show", "Dispatch", "Write", "DrawAnimated", "Destroy"}),
      (Lines{"Show(SetFace,0,Pressed)", "Show(SetFace,0,Released)", "DispatchPending",
             Write("Kind", " 3"), Write("Size", " 7"), Write("Speed", " 2"), Write("Num", " 300"),
             Write("Intval", "-4"), Write("Sync", " 1"), kClose, "Destroy"}));
}

TEST(Buttons, ClosingWithoutACommitWritesNothingAndEndsTheDialogOnce) {
  struct Row {
    std::string_view name;
    Point at;
    std::string face;
    bool closed_in_yield = false;
  };
  const Row rows[] = {
      {.name = "cancel", .at = {462, 208}, .face = "CancelFace,0,"},
      {.name = "exit", .at = {456, 4}, .face = "ExitButton,0,Exit"},
      {.name = "set", .at = {366, 208}, .face = "SetFace,0,", .closed_in_yield = true},
      {.name = "cancel", .at = {372, 192}, .face = "CancelFace,0,", .closed_in_yield = true},
      {.name = "exit", .at = {470, 18}, .face = "ExitButton,0,Exit", .closed_in_yield = true},
  };
  for (const Row& row : rows) {
    Bench b;
    b.Take({});
    if (row.closed_in_yield) b.on_dispatch = [&b] { b.dialog.OnSystemClose(); };
    b.Click(row.at, {5, 5}, Right);
    EXPECT_EQ(b.Take({"Show", "Dispatch", "Write", "DrawAnimated", "Destroy"}),
              (Lines{"Show(" + row.face + "Pressed)", "Show(" + row.face + "Released)",
                     "DispatchPending", kClose, "Destroy"}))
        << row.name << (row.closed_in_yield ? " closed in the yield" : "");
  }
}

TEST(Link, OpensOnAClickOfTheLeftOrRightButtonWithinItsText) {
  Bench b;
  b.dialog.SetTextWidth(Link, 0, 150);
  b.Click({20, 206}, {20, 206}, Middle);
  b.Click({20, 206}, {166, 206});
  b.Click({16, 206}, {16, 206});
  b.Click({20, 206}, {165, 206}, Right);
  const std::string open = "ShellOpen(0x7001," + std::string(kHomePageUrl) + ")";
  EXPECT_EQ(b.Take({"ShellOpen", "Destroy"}), (Lines{open, open}));
}

// The strip holds the mouse wherever the pointer goes; the window goes where the pointer keeps its
// place on the strip, which a change of scale mid-drag grows or shrinks (halves up, as the layout).
TEST(Drag, TheWindowFollowsTheCursorTopFirstAtTheGrabOffsetOfItsScale) {
  struct Row {
    std::string_view name;
    std::int32_t from, to;
    Point grab, want;  // the cursor's offset from the window's corner at the press, and after
  };
  const Row rows[] = {
      {.name = "one scale", .from = 96, .to = 96, .grab = {100, 10}, .want = {100, 10}},
      {.name = "96 to 144", .from = 96, .to = 144, .grab = {30, 10}, .want = {45, 15}},
      {.name = "144 to 96", .from = 144, .to = 96, .grab = {45, 15}, .want = {30, 10}},
      {.name = "halves go up", .from = 96, .to = 144, .grab = {31, 11}, .want = {47, 17}},
      {.name = "thirds go down", .from = 144, .to = 96, .grab = {47, 17}, .want = {31, 11}},
      {.name = "off the screen", .from = 96, .to = 192, .grab = {470, 220}, .want = {940, 440}},
  };
  for (const Row& row : rows) {
    Bench b;
    b.dialog.OnDpiChange(row.from);
    b.fake.cursor = Point{274 + row.grab.x, 268 + row.grab.y};
    b.dialog.OnMouseDown(kDialog, 200, 10, Left);
    b.dialog.OnDpiChange(row.to);
    b.fake.cursor = Point{500, 400};
    b.dialog.OnMouseMove(kValues, 0, 0);
    const Lines moves = {"MoveTop(" + std::to_string(400 - row.want.y) + ")",
                         "MoveLeft(" + std::to_string(500 - row.want.x) + ")"};
    EXPECT_EQ(b.Take({"Move"}), moves) << row.name;
  }
}

TEST(Drag, OnlyALeftPressOnTheStripItselfStartsOne) {
  Bench b;
  b.dialog.OnMouseDown(kDialog, 200, 10, Right);
  EXPECT_EQ(b.dialog.dragging(), 0);
  b.dialog.OnMouseDown(kDialog, 20, 8, Left);  // the caption lies on the strip
  EXPECT_EQ(b.dialog.dragging(), 0);
  b.dialog.OnMouseDown(kDialog, 475, 21, Left);
  EXPECT_EQ(b.dialog.dragging(), 1);
}

TEST(Drag, EndsOnTheReleaseOfAnyButton) {
  Bench b;
  b.dialog.OnMouseDown(kDialog, 200, 10, Left);
  b.dialog.OnMouseUp(kDialog, 200, 10, Right);
  b.dialog.OnMouseMove(kDialog, 200, 10);
  EXPECT_EQ(b.Take({"Move"}), Lines{});
}

TEST(Drag, APressAfterALostCaptureHoldsTheMouseAgain) {
  Bench b;
  b.dialog.OnMouseDown(kDialog, 200, 10, Left);
  b.dialog.OnCaptureLost();
  EXPECT_TRUE(b.dialog.OnMouseDown(kDialog, 200, 10, Left));
}

TEST(Pointers, TheHandShowsOverWhatReactsToAClick) {
  Bench b;
  struct Row {
    std::string_view name;
    Surface on;
    Point at;
    Pointer want = Pointer::Hand;
  };
  const Row rows[] = {
      {.name = "title strip", .on = kDialog, .at = {200, 10}, .want = Pointer::Arrow},
      {.name = "exit", .on = kDialog, .at = {460, 8}},
      {.name = "設定", .on = kDialog, .at = {300, 195}},
      {.name = "set face", .on = kDialog, .at = {300, 189}, .want = Pointer::Arrow},
      {.name = "ｻｲｽﾞ", .on = kValues, .at = {60, 14}, .want = Pointer::Arrow},
      {.name = "slider", .on = kValues, .at = {100, 10}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(b.dialog.PointerAt(row.on, row.at.x, row.at.y), row.want) << row.name;
  }
}

}  // namespace
}  // namespace quillmere::settings_dialog
