#include "settings_dialog/dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "settings_dialog/layout_scale.h"
#include "settings_dialog/skin.h"
#include "tests/fake_platform.h"

namespace quillmere::settings_dialog {
namespace {

using enum DialogControl;
using enum MouseButton;
using platform::DialogPicture;
using platform::Point;
using startup::SettingsValues;
using Lines = std::vector<std::string>;
constexpr Surface kDialog = Surface::Dialog;
constexpr Surface kPatterns = Surface::PatternPanel;
constexpr Surface kValues = Surface::ValuesPanel;

// The dialog loaded centred on a 1024 x 768 screen, the cursor at (800, 600), logging to the fake.
struct Bench final : platform::SettingsDialogHost {
  explicit Bench(const SettingsValues& loaded = startup::DefaultSettings(),
                 testing::FakePlatform system = {})
      : fake(std::move(system)), values(loaded) {
    fake.window_rects[Window()] = {274, 268, 750, 499};
    fake.cursor = Point{800, 600};
    dialog.Load();
    dialog.OnKeyboardFocus(true);
  }
  void Keys(std::initializer_list<Key> keys, bool shift = false) {
    for (Key key : keys) {
      dialog.OnKeyDown(key, shift);
      dialog.OnKeyUp(key);
    }
  }
  // The calls since the last Take that start with one of the prefixes.
  Lines Take(std::initializer_list<std::string_view> prefixes) {
    Lines taken;
    std::ranges::copy_if(std::exchange(fake.calls, {}), std::back_inserter(taken), [&](auto& call) {
      return std::ranges::any_of(prefixes, [&](auto prefix) { return call.starts_with(prefix); });
    });
    return taken;
  }
  void Click(Point down, Point up, MouseButton button = Left, Surface on = kDialog) {
    dialog.OnMouseDown(on, down.x, down.y, button);
    dialog.OnMouseUp(on, up.x, up.y, button);
  }
  // Each group's marks and one place beyond: '+' option-on, '-' option-off, '.' nothing shown.
  std::string Marks() { return Marks(PatternMarks, 7) + "|" + Marks(SyncMarks, 3); }
  std::string Marks(DialogControl control, std::int32_t count) {
    std::string marks;
    for (std::int32_t i = 0; i < count; ++i) marks += ".+-????"[int(Picture(control, i))];
    return marks;
  }
  DialogPicture Picture(DialogControl control, std::int32_t index = 0) {
    return dialog.LookOf(control, index).picture;
  }

  platform::WindowHandle Window() override { return 0x7001; }
  void DrawBackgroundLine(std::int32_t, std::int32_t, std::uint32_t colour) override {
    line_colours.insert(colour);
  }
  void CopyTextureTile(Surface, std::int32_t, std::int32_t) override { fake.Log("Tile"); }
  void FillPanel(Surface, std::uint32_t colour) override { fake.Log("FillPanel", colour); }
  std::uint32_t ColourOf(Ink ink) override { return 0x100 + static_cast<std::uint32_t>(ink); }
  void SetSliderPosition(std::int32_t i, std::int32_t v) override { fake.Log("Slider", i, v); }
  void MoveWindowTop(std::int32_t top) override { fake.Log("MoveTop", top); }
  void MoveWindowLeft(std::int32_t left) override { fake.Log("MoveLeft", left); }
  // The yield paints the buttons' pictures as they are then.
  void DispatchPending() override {
    fake.Log("DispatchPending", int(Picture(SetButton)), int(Picture(CancelButton)),
             int(Picture(ExitButton)));
    if (close_in_yield) dialog.OnSystemClose();
  }
  void Destroy() override { fake.Log("Destroy"); }
  void TellSettingsNotSaved(std::string_view text) override { fake.Log("NotSaved", text); }
  void TellReader(platform::ReaderEvent event, std::int32_t item) override {
    fake.Log(std::array{"Focus", "Value", "State"}[static_cast<std::size_t>(event)], item);
  }
  void ShowFocusCues() override { fake.Log("ShowFocusCues"); }
  void TakeNoText() override { fake.Log("TakeNoText"); }
  testing::FakePlatform fake;
  platform::Platform platform = fake.Bundle();
  SettingsValues values;
  std::set<std::uint32_t> line_colours;
  bool close_in_yield = false;  // the system closes the dialog while it yields
  SettingsDialog dialog{platform, *this, values};
};

// The one test of the mapping between layout and physical pixels; the others stay at 96 DPI.
TEST(LayoutScale, MapsEdgesWithHalvesUpAndPhysicalPixelsBackIntoTheirLayoutPixel) {
  const LayoutScale scale(120);
  EXPECT_EQ(scale.ToPhysical(Box{1, 3, 5, 7}), (Box{1, 4, 7, 9}));  // edges at 7.5 and 12.5
  std::vector<std::int32_t> back;  // the layout pixels of physical -1 to 4
  for (std::int32_t p = -1; p <= 4; ++p) back.push_back(scale.ToLayout(p));
  EXPECT_EQ(back, (std::vector<std::int32_t>{-1, 0, 1, 1, 2, 3}));
  EXPECT_EQ(scale.LengthToLayout(301), 241);  // 240.8 rounded up
  // A change of scale takes the system's suggested corner and the size at the new scale.
  EXPECT_EQ(DialogWindowFor({100, 50, 814, 396}, LayoutScale(144)),
            (platform::Rect{100, 50, 814, 397}));  // the system rounded 346.5 down
}

// sin(y / (231 / 3.142)) * 220: the rows where the painter's 3.142 and pi round apart.
TEST(BackgroundRows, DivideTheHeightBy3142) {
  const std::map<std::int32_t, std::uint32_t> want = {{16, 0x4E3030}, {216, 0x4A2C2C}};
  const std::vector<BackgroundRow> rows = BackgroundRows(231);
  ASSERT_EQ(rows.size(), 232u);
  for (auto [y, colour] : want) EXPECT_EQ(rows[static_cast<std::size_t>(y)].colour, colour) << y;
}

TEST(Choosers, APressOfAnyButtonSelectsAndShowsTheGroupAndTheReleaseOverAnotherChoiceKeepsIt) {
  Bench b({9, 5, 5, 100, 10, 3});
  EXPECT_EQ(b.Marks(), "------.|...");  // values outside the choices: no mark on, no sync mark
  struct Row {
    std::string_view name;
    Surface on;
    Point at;
    MouseButton button = Left;
    std::string marks;
  };
  const Row rows[] = {
      {.name = "同期", .on = kValues, .at = {104, 110}, .marks = "------.|+-."},
      {.name = "strip 2", .on = kPatterns, .at = {30, 50}, .button = Right, .marks = "--+---.|+-."},
      {.name = "ﾗﾝﾀﾞﾑ", .on = kPatterns, .at = {24, 108}, .button = Middle, .marks = "-----+.|+-."},
      {.name = "mark 4", .on = kPatterns, .at = {8, 88}, .marks = "----+-.|+-."},
      {.name = "mark 4 again", .on = kPatterns, .at = {8, 88}, .marks = "----+-.|+-."},
      {.name = "right of mark 1", .on = kPatterns, .at = {21, 28}, .marks = "----+-.|+-."},
      {.name = "非同期", .on = kValues, .at = {194, 120}, .marks = "----+-.|-+."},
      {.name = "sync mark 0", .on = kValues, .at = {88, 108}, .marks = "----+-.|+-."},
  };
  for (const Row& row : rows) {
    b.dialog.OnMouseDown(row.on, row.at.x, row.at.y, row.button);
    EXPECT_EQ(b.Marks(), row.marks) << row.name;
    b.dialog.OnMouseUp(row.on, 30, 10, row.button);  // over strip 0 in the pattern panel
    EXPECT_EQ(b.Marks(), row.marks) << row.name << " released";
  }
  // Readers hear each check gained or lost (patterns: items 4-9, colours: 10-11); no writes.
  EXPECT_EQ(b.Take({"State", "Write"}),
            (Lines{"State(10)", "State(6)", "State(6)", "State(9)", "State(9)", "State(8)",
                   "State(10)", "State(11)", "State(11)", "State(10)"}));
}

// A button acts on the release of any mouse button after a yield that shows it released (as all
// are: pictures 3, 3, 5); only 設定 writes (its last key as the dialog holds it), and not when the
// system closed it in that yield. The load sets the sliders that can take their value (Size 5 is
// where its slider starts; Num 300 lies outside its slider, which stays); the zoom opens from the
// cursor of the load, with no input method, and closes back to it.
TEST(Buttons, ActAfterTheYieldOnlySetWritesAndTheDialogEndsOnce) {
  const std::string last_write =
      "WritePrivateProfileString(Section,Sync,[ 1],C:\\Savers\\quillmere.ini)";
  const std::string open = "DrawAnimatedRects(0x7001,3,{800,600,800,600},{274,268,750,499})";
  const std::string close = "DrawAnimatedRects(0x7001,3,{300,200,776,431},{800,600,800,600})";
  struct Row {
    Point at;
    DialogControl button;
    bool closed_in_yield = false;
  };
  const Row rows[] = {
      {.at = {276, 192}, .button = SetButton},
      {.at = {462, 208}, .button = CancelButton},
      {.at = {456, 4}, .button = ExitButton},
      {.at = {366, 208}, .button = SetButton, .closed_in_yield = true},
  };
  for (const Row& row : rows) {
    Bench b({0, 5, 1, 300, 60, 1});
    b.fake.window_rects[b.Window()] = {300, 200, 776, 431};  // dragged since the load
    b.fake.cursor = Point{10, 10};
    b.close_in_yield = row.closed_in_yield;
    b.dialog.OnMouseDown(kDialog, row.at.x, row.at.y, Right);
    const auto pressed =
        row.button == ExitButton ? DialogPicture::ExitPressed : DialogPicture::ButtonPressed;
    EXPECT_EQ(b.Picture(row.button), pressed);
    b.dialog.OnMouseUp(kDialog, 5, 5, Right);
    Lines want = {"Slider(1,1)", "Slider(3,60)", "TakeNoText", open, "DispatchPending(3,3,5)"};
    if (row.button == SetButton && !row.closed_in_yield) want.push_back(last_write);
    want.insert(want.end(), {close, "Destroy"});
    EXPECT_EQ(b.Take({"Slider", "TakeNoText", "Dispatch", "WritePrivateProfileString(Section,Sync",
                      "DrawAnimated", "Destroy"}),
              want)
        << int(row.button) << (row.closed_in_yield ? " closed in the yield" : "");
  }
}

// The pointer keeps its place on the strip, which a change of scale mid-drag rescales (halves up).
TEST(Drag, TheWindowFollowsTheCursorTopFirstAtTheGrabOffsetOfItsScale) {
  struct Row {
    std::int32_t from, to;
    Point grab, want;  // the cursor's offset from the window's corner at the press, and after
  };
  const Row rows[] = {
      {.from = 144, .to = 96, .grab = {45, 15}, .want = {30, 10}},
      {.from = 96, .to = 144, .grab = {31, 11}, .want = {47, 17}},      // 46.5 and 16.5 go up
      {.from = 96, .to = 192, .grab = {470, 220}, .want = {940, 440}},  // off the screen
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
    EXPECT_EQ(b.Take({"Move"}), moves) << row.from << " to " << row.to;
  }
}

// The hand shows over what reacts to a click; only a left press on the strip starts a drag.
TEST(Mouse, TheHandShowsWhereAClickActsAndAnyReleaseOrALostCaptureEndsAStripDrag) {
  Bench b;
  EXPECT_EQ(b.dialog.PointerAt(kDialog, 460, 8), Pointer::Hand);     // exit
  EXPECT_EQ(b.dialog.PointerAt(kDialog, 300, 195), Pointer::Hand);   // 設定
  EXPECT_EQ(b.dialog.PointerAt(kDialog, 300, 191), Pointer::Arrow);  // the set button above it
  EXPECT_EQ(b.dialog.PointerAt(kValues, 60, 14), Pointer::Arrow);    // ｻｲｽﾞ
  EXPECT_EQ(b.dialog.PointerAt(kValues, 100, 10), Pointer::Hand);    // its slider
  b.dialog.OnMouseDown(kDialog, 200, 10, Right);
  b.dialog.OnMouseDown(kDialog, 20, 8, Left);  // the caption lies on the strip
  EXPECT_FALSE(b.dialog.dragging());
  b.dialog.OnMouseDown(kDialog, 475, 21, Left);
  EXPECT_TRUE(b.dialog.dragging());
  b.dialog.OnMouseUp(kDialog, 5, 5, Right);
  EXPECT_FALSE(b.dialog.dragging());
  b.dialog.OnMouseDown(kDialog, 200, 10, Left);
  b.dialog.OnCaptureLost();
  EXPECT_TRUE(b.dialog.OnMouseDown(kDialog, 200, 10, Left));  // the mouse is held again
}

// The link opens on a click of the left or right button within its text, and on Space; the clicks
// leave the keyboard on it without a cue. Tab shows the cue, which rings each stop in turn.
TEST(Keyboard, TabVisitsEveryStopInOrderAndTheCueRingsTheFocusedItem) {
  Bench b({2, 5, 5, 100, 10, 1});
  const std::string open = "ShellOpen(0x7001,https://quillmere.example/)";
  b.dialog.SetTextWidth(Link, 0, 150);
  b.Click({20, 206}, {20, 206}, Middle);
  b.Click({20, 206}, {166, 206});
  b.Click({16, 206}, {16, 206});
  b.Click({20, 206}, {165, 206}, Right);
  EXPECT_EQ(b.dialog.Cue(), std::nullopt);
  b.Keys({Key::Space, Key::Tab});
  EXPECT_EQ(b.Take({"ShellOpen", "Destroy", "Focus", "ShowFocusCues"}),
            (Lines{"Focus(15)", open, open, open, "ShowFocusCues", "Focus(0)"}));
  const std::pair<std::string, FocusCue> rows[] = {
      {"Focus(1)", {kValues, {87, 31, 87, 19}}},
      {"Focus(2)", {kValues, {87, 55, 87, 19}}},
      {"Focus(3)", {kValues, {87, 79, 87, 19}}},
      {"Focus(6)", {kPatterns, {7, 47, 179, 15}}},  // the selected choice
      {"Focus(11)", {kValues, {139, 107, 57, 15}}},
      {"Focus(12)", {kDialog, {275, 187, 93, 24}}},  // round the button's picture
      {"Focus(13)", {kDialog, {371, 187, 93, 24}}},
      {"Focus(14)", {kDialog, {455, 3, 17, 17}}},
      {"Focus(15)", {kDialog, {15, 203, 152, 15}}},  // as wide as its text
      {"Focus(0)", {kValues, {87, 7, 87, 19}}},
  };
  for (const auto& [heard, cue] : rows) {
    b.Keys({Key::Tab});
    EXPECT_EQ(b.Take({"Focus", "ShowFocusCues"}).back(), heard);
    EXPECT_EQ(b.dialog.Cue(), cue) << heard;
    const std::vector<Surface> painted = b.dialog.TakeChanges();  // the cue's surface among them
    EXPECT_NE(std::ranges::find(painted, cue.surface), painted.end()) << heard;
  }
  b.dialog.OnKeyboardFocus(false);  // another program in front: nothing is focused or ringed
  EXPECT_EQ(b.dialog.Cue(), std::nullopt);
}

// The sliders start at Size 5, Speed 4, Num 100 and Intval 30, so this load moves none.
TEST(Sliders, EveryMoveIsShownStoredAndHeardAndSpaceHoldsAButtonUntilTheKeyboardLeaves) {
  Bench b({0, 5, 4, 100, 30, 0});
  EXPECT_EQ(b.Take({"Slider"}), Lines{});
  Lines shown;  // the moved slider's label after each move; a dragged thumb waits to be let go
  for (Key key : {Key::Down, Key::Right, Key::Down, Key::Left, Key::Up, Key::PageDown, Key::PageUp,
                  Key::End, Key::Right, Key::Home, Key::Left}) {
    b.Keys({key});
    shown.push_back(b.dialog.LookOf(SliderValues, 0).text);
  }
  // The first arrow only puts the keyboard on Size.
  EXPECT_EQ(shown, (Lines{"5", "6", "7", "6", "5", "6", "5", "20", "20", "1", "1"}));
  using enum ScrollRequest;
  const std::pair<std::int32_t, ScrollRequest> moves[] = {
      {2, LineRight}, {2, PageLeft},  {2, ThumbTrack}, {2, ThumbPosition},
      {2, ToRight},   {2, LineRight}, {2, ToLeft},     {3, ToLeft},
      {3, ToRight},   {1, ToLeft},    {1, ToRight}};
  shown.clear();
  for (auto [index, move] : moves) {
    b.dialog.OnScroll(index, move, 150);
    shown.push_back(b.dialog.LookOf(SliderValues, index).text);
  }
  EXPECT_EQ(shown, (Lines{"101", "100", "100", "150", "200", "200", "50", "5", "60", "1", "10"}));
  EXPECT_EQ(b.values.Num, 50);
  EXPECT_EQ(b.values.Intval, 60);
  EXPECT_EQ(b.Take({"Value(2)"}), Lines(5, "Value(2)"));  // the slider is item 2
  // From Speed back to the set button, which Space holds down until the keyboard leaves it.
  b.Keys({Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab}, true);
  b.dialog.OnKeyDown(Key::Space, false);
  EXPECT_EQ(b.Picture(SetButton), DialogPicture::ButtonPressed);
  b.dialog.OnKeyDown(Key::Tab, false);
  b.dialog.OnKeyUp(Key::Space);
  EXPECT_EQ(b.Picture(SetButton), DialogPicture::ButtonReleased);
  EXPECT_EQ(b.Take({"Dispatch", "Write", "Destroy"}), Lines{});
}

TEST(Keyboard, ArrowsAndSpaceSelectRoundAChoiceGroupAsAPressDoes) {
  struct Row {
    std::string name;
    std::int32_t kind = 2, sync = 0, tabs = 5;  // below 0: back with Shift
    std::initializer_list<Key> keys;
    std::string marks;
  };
  const Row rows[] = {
      {.name = "down", .keys = {Key::Down}, .marks = "---+--.|+-."},
      {.name = "right from the last", .kind = 5, .keys = {Key::Right}, .marks = "+-----.|+-."},
      {.name = "up from the first", .kind = 0, .keys = {Key::Up}, .marks = "-----+.|+-."},
      {.name = "down from none", .kind = 7, .keys = {Key::Down}, .marks = "+-----.|+-."},
      {.name = "up from none", .kind = 7, .keys = {Key::Up}, .marks = "-----+.|+-."},
      {.name = "space on none", .kind = -1, .keys = {Key::Space}, .marks = "+-----.|+-."},
      {.name = "pages", .keys = {Key::PageDown, Key::Home, Key::End}, .marks = "--+---.|+-."},
      {.name = "sync none, back",
       .sync = 3,
       .tabs = -5,
       .keys = {Key::Left},
       .marks = "--+---.|-+."},
  };
  for (const Row& row : rows) {
    Bench b({row.kind, 5, 5, 100, 10, row.sync});
    for (std::int32_t i = 0; i < std::abs(row.tabs); ++i) b.Keys({Key::Tab}, row.tabs < 0);
    b.Keys(row.keys);
    EXPECT_EQ(b.Marks(), row.marks) << row.name;
  }
}

// A line naming neither face is ignored, as is one that only begins with one's name.
TEST(Face, AHandWrittenLanguageLineWinsOverTheSystemsAndTheNotSavedMessageIsInIt) {
  EXPECT_EQ(ChooseFace("fr", 0x0411), Face::Japanese);
  EXPECT_EQ(ChooseFace("japanese", 0x0409), Face::English);
  // "en" on a Japanese system; no line on a Japanese system of another region.
  for (auto [language, ui] : {std::pair{"en", 0x0411}, std::pair{"", 0x0811}}) {
    testing::FakePlatform system;
    system.ini["Section"]["Language"] = language;
    system.ui_language = static_cast<std::uint16_t>(ui);
    Bench b({}, system);
    const bool english = *language == 'e';
    EXPECT_EQ(b.dialog.face(), english ? Face::English : Face::Japanese) << language;
    b.fake.writes_fail = true;
    b.Click({276, 192}, {276, 192});  // set, on a file that cannot be written
    const std::string said =
        english ? "The settings could not be saved." : "設定を保存できませんでした。";
    EXPECT_TRUE(b.Take({"NotSaved"}).at(0).starts_with("NotSaved(" + said)) << language;
  }
}

TEST(HighContrast, PaintsInTheSystemsColoursAndEveryTextStandsOnItsPair) {
  Bench b;
  b.Take({});
  b.dialog.OnThemeChange(true);
  EXPECT_EQ(b.line_colours, (std::set<std::uint32_t>{0x103}));  // the window colour
  EXPECT_EQ(b.Take({"FillPanel", "Tile"}), Lines(2, "FillPanel(259)"));
  using enum Ink;
  const std::set<std::pair<Ink, Ink>> pairs = {
      {WindowText, Window}, {HotLight, Window}, {HighlightText, Highlight}, {ButtonText, Button}};
  const auto layout = b.dialog.layout();
  for (auto label = layout.begin(); label != layout.end(); ++label) {
    if (label->kind != ElementKind::Label) continue;
    Ink paper = Ink::Window;
    for (auto under = layout.begin(); under != label; ++under) {
      const Box& box = label->box;
      if (under->surface == label->surface && under->box.Contains(box.x + 1, box.y + 1) &&
          b.dialog.PaperOf(*under))
        paper = *b.dialog.PaperOf(*under);
    }
    EXPECT_TRUE(pairs.contains({b.dialog.InkOf(*label), paper})) << label->text[0];
  }
  b.dialog.OnThemeChange(false);
  EXPECT_GT(b.line_colours.size(), 100u);
  EXPECT_EQ(b.Take({"FillPanel", "Tile"}), Lines(28, "Tile"));
}

}  // namespace
}  // namespace quillmere::settings_dialog
