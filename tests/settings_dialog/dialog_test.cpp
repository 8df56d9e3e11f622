#include "settings_dialog/dialog.h"

#include <gtest/gtest.h>
#include <algorithm>

#include "fake_dialog_host.h"
#include "settings_dialog/skin.h"
#include "win32/layout_scale.h"

namespace quillmere::settings_dialog {
namespace {

using enum platform::DialogControl;
using enum ScrollRequest;
using enum Pointer;
using startup::SettingsValues;
using Lines = std::vector<std::string>;
using win32::LayoutScale;
constexpr SettingsValues kDefaults{0, 5, 5, 100, 10, 0};
constexpr MouseButton kLeft = MouseButton::Left, kRight = MouseButton::Right,
                      kMiddle = MouseButton::Middle;
constexpr Surface kDialog = Surface::Dialog, kPicA = Surface::Pic_a, kPicB = Surface::Pic_b;

// The dialog on a recording platform and window, the window centred on a 1024 x 768 screen.
struct Bench {
  explicit Bench(const SettingsValues& v = kDefaults) : values(v) {
    fake.window_rects[0x7001] = {274, 268, 750, 499};
  }
  Bench& Load() { return dialog.Load(), *this; }
  // The calls so far that start with one of the prefixes; the log is emptied.
  Lines Take(std::initializer_list<std::string_view> prefixes) {
    Lines taken;
    for (const std::string& call : std::exchange(fake.calls, {}))
      if (std::ranges::any_of(prefixes, [&](auto prefix) { return call.starts_with(prefix); }))
        taken.push_back(call);
    return taken;
  }
  void Click(Surface surface, std::int32_t x, std::int32_t y, MouseButton button = kLeft,
             std::int32_t up_x = -1) {
    dialog.OnMouseDown(surface, x, y, button);
    dialog.OnMouseUp(surface, up_x < 0 ? x : up_x, y, button);
  }
  testing::FakePlatform fake;
  platform::Platform platform = fake.Bundle();
  testing::FakeDialogHost host{fake};
  SettingsValues values;
  SettingsDialog dialog{platform, host, values};
};

TEST(Skin, PainterRowsPanelTilesAndPlacementOnTheScreen) {
  Bench b;
  b.dialog.OnResize();
  ASSERT_EQ(b.host.lines.size(), 232u);
  std::int64_t y = 0;
  for (const auto& line : b.host.lines)
    EXPECT_EQ(line, (std::array<std::int64_t, 3>{y++, 476, line[2]}));
  // v = |sin(y / (231 / 3.142)) * 220| half to even, drawn as 0x00BBGGRR = RGB(v, v, v + 30).
  const std::pair<std::size_t, std::int64_t> rows[] = {
      {0, 0x1E0000},   {16, 0x4E3030},  {115, 0xFADCDC}, {136, 0xF1D3D3}, {154, 0xDCBEBE},
      {202, 0x725454}, {207, 0x644646}, {216, 0x4A2C2C}, {231, 0x1E0000}};
  for (auto [row, colour] : rows) EXPECT_EQ(b.host.lines[row][2], colour) << "row " << row;
  Lines tiles;  // per panel a column of seven copies, then a second column wholly outside
  for (std::string column :
       {"Tile(Pic_a,0,", "Tile(Pic_a,239,", "Tile(Pic_b,0,", "Tile(Pic_b,239,"})
    for (int ty = 0; ty <= 156; ty += 26) tiles.push_back(column + std::to_string(ty) + ")");
  EXPECT_EQ(b.Load().Take({"Tile"}), tiles);
  EXPECT_TRUE(TileCopies(10, 10, 0, 26).empty() && TileCopies(10, 10, 239, 0).empty());
  // Centred at the size it is given (the window's at its scale); x and y convert separately.
  struct Case {
    double twips_x, twips_y, width, height;
    platform::Rect want;
    std::int32_t w = 476, h = 231;
  };
  const Case cases[] = {{15, 15, 1024, 768, {274, 268, 750, 499}},
                        {10, 10, 1024, 768, {274, 268, 750, 499}},
                        {15, 12, 1280, 1024, {402, 396, 878, 627}},
                        {10, 10, 1024, 768, {155, 210, 869, 557}, 714, 347},
                        {7.5, 7.5, 1024, 768, {36, 153, 988, 615}, 952, 462}};
  for (const Case& c : cases) {
    std::tie(b.fake.twips_per_pixel_x, b.fake.twips_per_pixel_y) = std::pair(c.twips_x, c.twips_y);
    std::tie(b.fake.screen_width_twips, b.fake.screen_height_twips) =
        std::pair(c.width * c.twips_x, c.height * c.twips_y);
    EXPECT_EQ(DialogPlacement(b.fake, c.w, c.h), c.want) << c.width << "x" << c.height;
  }
}

TEST(Skin, LayoutPixelsScaleWithHalvesUpEdgeByEdgeAndEveryPhysicalPixelMapsBackIntoItsOwn) {
  // back: the layout pixels of physical -1 to 4; text: a 301-pixel text in layout pixels, rounded
  // up.
  struct Case {
    std::int32_t dpi;
    Box client, strip;
    std::array<std::int32_t, 6> back;
    std::int32_t text;
  };
  const Case cases[] = {{96, {0, 0, 476, 231}, {24, 28, 161, 13}, {-1, 0, 1, 2, 3, 4}, 301},
                        {120, {0, 0, 595, 289}, {30, 35, 201, 16}, {-1, 0, 1, 1, 2, 3}, 241},
                        {144, {0, 0, 714, 347}, {36, 42, 242, 20}, {-1, 0, 0, 1, 2, 2}, 201},
                        {192, {0, 0, 952, 462}, {48, 56, 322, 26}, {-1, 0, 0, 1, 1, 2}, 151}};
  for (const Case& c : cases) {
    const LayoutScale scale(c.dpi);
    EXPECT_EQ(scale.ToPhysical(kDialogClient), c.client) << c.dpi;
    EXPECT_EQ(scale.ToPhysical(Find(Pic_Ptn, 1)->box), c.strip) << c.dpi;
    for (std::size_t i = 0; i < 6; ++i)
      EXPECT_EQ(scale.ToLayout(static_cast<std::int32_t>(i) - 1), c.back[i]) << c.dpi << ": " << i;
    EXPECT_EQ(scale.LengthToLayout(301), c.text) << c.dpi;
  }
  // WM_DPICHANGED from 96 to 144: the suggested place, and the size at 144 even where the system
  // rounded down.
  EXPECT_EQ(win32::DialogWindowFor({100, 50, 814, 396}, LayoutScale(144)),
            (platform::Rect{100, 50, 814, 397}));
}

TEST(Loading, MarksTheChoicesInRangeShowsTheReleasedFacesAndSetsTheSlidersItCanThenEveryLabel) {
  // One character more than there are marks: nothing is shown beyond the last.
  struct Mark {
    std::int32_t kind, sync;
    std::string marks;
  };
  for (const Mark& c : {Mark{0, 0, "+-----.|+-."},
                        {1, 1, "-+----.|-+."},
                        {2, 0, "--+---.|+-."},
                        {3, 1, "---+--.|-+."},
                        {4, 0, "----+-.|+-."},
                        {5, 1, "-----+.|-+."},
                        {6, 2, "------.|..."},
                        {-1, -1, "------.|..."},
                        {7, 3, "------.|..."}}) {
    Bench b({c.kind, 5, 5, 100, 10, c.sync});
    b.Load();
    EXPECT_EQ(b.host.Marks(Img_Ptn, 7) + "|" + b.host.Marks(Img_Sync, 3), c.marks) << c.kind;
    EXPECT_EQ(b.values, (SettingsValues{c.kind, 5, 5, 100, 10, c.sync}));
    EXPECT_EQ(b.Take({"Show(Img_Set", "Show(Img_Can", "Show(ImgExit"}),
              (Lines{"Show(Img_Set,0,Released)", "Show(Img_Can,0,Released)",
                     "Show(ImgExit,0,ExitReleased)"}));
  }
  struct Case {
    SettingsValues values;
    Lines calls;
    std::array<std::int16_t, 4> positions;
  };
  const Case cases[] = {
      {{0, 5, 1, 50, 60, 0},  // Size already stands at 5: no notification for it
       {"Slider(1,1)", "Label(lbl_HS,1,1)", "Slider(2,50)", "Label(lbl_HS,2,50)", "Slider(3,60)",
        "Label(lbl_HS,3,60)", "Label(lbl_HS,0,5)", "Label(lbl_HS,1,1)", "Label(lbl_HS,2,50)",
        "Label(lbl_HS,3,60)"},
       {5, 1, 50, 60}},
      {{0, 0, 11, 300, -4, 0},  // beyond every range: the sliders keep their initial places
       {"Label(lbl_HS,0,0)", "Label(lbl_HS,1,11)", "Label(lbl_HS,2,300)", "Label(lbl_HS,3,-4)"},
       {5, 4, 100, 30}}};
  for (const Case& c : cases) {
    Bench b(c.values);
    EXPECT_EQ(b.Load().Take({"Slider", "Label"}), c.calls);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(b.dialog.slider(i).value(), c.positions[i]);
    EXPECT_EQ(b.values, c.values);
  }
}

TEST(Sliders, EachMoveStoresIntoItsOwnValueWithinItsRangeAndShowsIt) {
  std::int32_t SettingsValues::*const rows[] = {&SettingsValues::Size, &SettingsValues::Speed,
                                                &SettingsValues::Num, &SettingsValues::Intval};
  Bench b;
  b.Load().Take({});
  SettingsValues want = kDefaults;
  // One step at a time; a dragged thumb changes nothing until it is let go; no index beyond HS(3).
  struct Case {
    std::int32_t index;
    ScrollRequest request;
    std::int32_t value;
    bool moved;
  };  // value: or the thumb
  const Case cases[] = {
      {2, LineRight, 101, true}, {2, PageLeft, 100, true},    {2, LineLeft, 99, true},
      {2, PageRight, 100, true}, {2, ThumbTrack, 150, false}, {2, ThumbPosition, 150, true},
      {2, ToRight, 200, true},   {2, LineRight, 200, false},  {2, ToLeft, 50, true},
      {2, PageLeft, 50, false},  {0, ToLeft, 1, true},        {0, ToRight, 20, true},
      {1, ToLeft, 1, true},      {1, ToRight, 10, true},      {3, ToLeft, 5, true},
      {3, ToRight, 60, true},    {4, ToRight, 0, false},      {-1, ToLeft, 0, false}};
  for (const Case& c : cases) {
    b.dialog.OnScroll(c.index, c.request, c.value);
    if (c.moved) want.*rows[c.index] = c.value;
    const std::string shown = std::to_string(c.index) + "," + std::to_string(c.value) + ")";
    EXPECT_EQ(b.Take({""}),
              (c.moved ? Lines{"Slider(" + shown, "Label(lbl_HS," + shown} : Lines{}));
    EXPECT_EQ(b.values, want) << "HS(" << c.index << ") " << static_cast<int>(c.request);
  }
  b.dialog.OnSliderChange(4), b.dialog.OnSliderChange(-1);
  EXPECT_TRUE(b.values == want && b.Take({""}).empty());
}

TEST(Choosers, APressOfAnyButtonSelectsAndTheReleaseChangesNothing) {
  Bench b;
  b.Load();
  // At another DPI x and y are physical pixels, which the window maps back to layout pixels.
  struct Case {
    Surface surface;
    std::int32_t x, y;
    MouseButton button;
    std::string marks;
    std::int32_t dpi = 96;
  };
  const Case cases[] = {{kPicA, 30, 50, kRight, "--+---|+-"},
                        {kPicA, 24, 108, kMiddle, "-----+|+-"},  // strip 2, "ﾗﾝﾀﾞﾑ"
                        {kPicA, 8, 88, kLeft, "----+-|+-"},
                        {kPicA, 184, 8, kLeft, "+-----|+-"},  // mark 4, strip 0
                        {kPicA, 21, 28, kLeft, "+-----|+-"},
                        {kPicA, 8, 21, kLeft, "+-----|+-"},  // gaps: no choice
                        {kPicB, 194, 120, kRight, "+-----|-+"},
                        {kPicB, 88, 108, kLeft, "+-----|+-"},  // "非同期", mark 0
                        {kPicB, 152, 108, kMiddle, "+-----|-+"},
                        {kPicB, 104, 110, kLeft, "+-----|+-"},  // mark 1, "同期"
                        {kPicA, 277, 91, kRight, "--+---|+-", 144},
                        {kPicA, 36, 92, kLeft, "--+---|+-", 144},  // strip 2's last pixel, a gap
                        {kPicA, 41, 201, kLeft, "----+-|+-", 192},
                        {kPicB, 389, 241, kLeft, "----+-|-+", 192},   // mark 4, "非同期"
                        {kPicB, 390, 230, kLeft, "----+-|-+", 192}};  // just right of "非同期"
  for (const Case& c : cases) {
    const LayoutScale scale(c.dpi);
    b.dialog.OnMouseDown(c.surface, scale.ToLayout(c.x), scale.ToLayout(c.y), c.button);
    b.dialog.OnMouseUp(kDialog, 5, 100, c.button);
    EXPECT_EQ(b.host.Marks(Img_Ptn, 6) + "|" + b.host.Marks(Img_Sync, 2), c.marks)
        << c.x << "," << c.y;
    EXPECT_EQ(
        std::pair(b.values.Kind, b.values.Sync),
        std::pair(static_cast<int>(c.marks.find('+')), static_cast<int>(c.marks.rfind('+')) - 7));
  }
  EXPECT_TRUE(b.Take({"Write"}).empty());
  Bench odd({9, 5, 5, 100, 10, 3});  // a group out of range at load gets its look from a press
  odd.Load().dialog.OnMouseDown(kPicB, 104, 110, kLeft);
  EXPECT_EQ(odd.host.Marks(Img_Ptn, 6) + "|" + odd.host.Marks(Img_Sync, 2), "------|+-");
  EXPECT_EQ(odd.values.Kind, 9);
}

TEST(Buttons, SetWritesAllSixAfterTheYieldOnlySetWritesAndEveryCloseEndsTheDialogOnce) {
  const Lines set = {"Show(Img_Set,0,Pressed)", "Show(Img_Set,0,Released)", "DispatchPending"};
  const Lines can = {"Show(Img_Can,0,Pressed)", "Show(Img_Can,0,Released)", "DispatchPending"};
  const Lines exit = {"Show(ImgExit,0,ExitPressed)", "Show(ImgExit,0,ExitReleased)",
                      "DispatchPending"};
  const std::string close = "DrawAnimatedRects(0x7001,3,{274,268,750,499},{0,0,0,0})";
  Lines commit = set;
  for (auto [key, text] : {std::pair<std::string, std::string>{"Kind", " 3"},
                           {"Size", " 7"},
                           {"Speed", " 2"},
                           {"Num", " 300"},
                           {"Intval", "-4"},
                           {"Sync", " 1"}})
    commit.push_back("WritePrivateProfileString(Section," + key + ",[" + text +
                     "],C:\\Savers\\quillmere.ini)");
  // Pressed at (x, y) and released away from it; (-1, -1): a close from the system, as may come in
  // the yield.
  struct Case {
    std::int32_t x, y;
    bool close_in_yield, writes_fail;
    Lines calls;
    std::int32_t dpi = 96;
  };
  const Case cases[] = {{276, 192, false, false, commit},      {372, 192, false, false, can},
                        {470, 18, false, false, exit},         {-1, -1, false, false, {}},
                        {366, 208, true, false, set},          {462, 208, true, false, can},
                        {456, 4, true, false, exit},           {300, 200, false, true, commit},
                        {552, 384, false, false, commit, 192}, {941, 37, false, false, exit, 192}};
  for (const Case& c : cases) {
    Bench b({3, 7, 2, 300, -4, 1});
    b.Load().Take({});
    b.fake.writes_succeed = !c.writes_fail;
    if (c.close_in_yield) b.host.on_dispatch = [&b] { b.dialog.OnSystemClose(); };
    const LayoutScale scale(c.dpi);
    if (c.x < 0)
      b.dialog.OnSystemClose();
    else
      b.Click(kDialog, scale.ToLayout(c.x), scale.ToLayout(c.y), kRight, 5);
    Lines want = c.calls;  // after a failed write the user is told and the dialog stays open
    for (auto end : c.writes_fail ? Lines{"TellSettingsNotSaved"} : Lines{close, "Destroy"})
      want.push_back(end);
    EXPECT_EQ(b.Take({"Show", "Dispatch", "Write", "Tell", "DrawAnimated", "Destroy"}), want)
        << c.x;
  }
}

TEST(Buttons, TheFacesOutsideTheirCaptionsAndTheLinkOutsideItsTextDoNothing) {
  Bench b;
  b.Load().dialog.SetTextWidth(lbl_URL, 0, 150);
  b.Take({});
  for (auto [x, y] : {std::pair{300, 191}, {300, 209}, {400, 188}, {400, 209}, {200, 206}})
    b.Click(kDialog, x, y);
  b.Click(kDialog, 20, 206, kMiddle);
  b.Click(kDialog, 20, 206, kLeft, 166);  // released off the text
  EXPECT_TRUE(b.Take({"Show", "Write", "Destroy", "ShellOpen"}).empty());
  b.Click(kDialog, 16, 206, kLeft);
  b.Click(kDialog, 20, 206, kRight, 165);
  const std::string open = "ShellOpen(0x7001," + std::string(kHomePageUrl) + ")";
  EXPECT_EQ(b.Take({"Show", "Write", "Destroy", "ShellOpen"}), (Lines{open, open}));
}

TEST(DragAndZoom, TheWindowFollowsTheCursorTopFirstAndZoomsBackToWhereTheCursorWasAtLoad) {
  Bench b;
  b.fake.cursor = platform::Point{800, 600};
  b.Load();
  EXPECT_EQ(b.fake.calls.back(), "DrawAnimatedRects(0x7001,3,{800,600,800,600},{274,268,750,499})");
  b.fake.window_rects[b.host.window] = {300, 200, 776, 431};
  b.fake.cursor = platform::Point{400, 210};
  b.dialog.OnMouseDown(kDialog, 200, 10, kLeft);
  b.fake.cursor = platform::Point{500, 400};
  b.dialog.OnMouseMove(kDialog, 200, 200);  // the strip holds the mouse wherever it goes
  b.fake.cursor = platform::Point{-50, 5};
  b.dialog.OnMouseMove(kDialog, 0, 0);
  EXPECT_EQ(b.Take({"Move"}),
            (Lines{"MoveTop(390)", "MoveLeft(400)", "MoveTop(-5)", "MoveLeft(-150)"}));
  b.Click(kDialog, 200, 10, kRight);  // any release ends the drag
  b.dialog.OnMouseMove(kDialog, 200, 10);
  EXPECT_TRUE(b.dialog.OnMouseDown(kDialog, 200, 10, kLeft));
  b.dialog.OnCaptureLost();  // so does losing the capture, and the next press holds it again
  b.dialog.OnMouseMove(kDialog, 200, 10);
  EXPECT_TRUE(b.dialog.OnMouseDown(kDialog, 200, 10, kLeft));
  b.dialog.OnSystemClose();
  EXPECT_EQ(b.Take({"Move", "DrawAnimated"}),
            Lines{"DrawAnimatedRects(0x7001,3,{300,200,776,431},{800,600,800,600})"});
  struct Case {
    std::int32_t x, y;
    MouseButton button;
    std::int16_t dragging;
    std::int32_t dpi = 96;
  };
  const Case cases[] = {
      {0, 0, kLeft, 1},         {475, 21, kLeft, 1},      {200, 10, kRight, 0},
      {200, 10, kMiddle, 0},    {20, 8, kLeft, 0},        {460, 8, kLeft, 0},
      {200, 22, kLeft, 0},                                  // caption, exit, below
      {951, 43, kLeft, 1, 192}, {100, 44, kLeft, 0, 192},   // the strip's last row, below
      {166, 25, kLeft, 0, 144}, {167, 25, kLeft, 1, 144}};  // the caption's last column, after
  for (const Case& c : cases) {
    Bench fresh;
    fresh.Load().dialog.OnMouseDown(kDialog, LayoutScale(c.dpi).ToLayout(c.x),
                                    LayoutScale(c.dpi).ToLayout(c.y), c.button);
    EXPECT_EQ(fresh.dialog.dragging(), c.dragging) << c.x << "," << c.y;
  }
}

TEST(Pointers, TheHandShowsOverWhatReactsToAClick) {
  Bench b;
  struct Case {
    Surface surface;
    std::int32_t x, y;
    Pointer want;
    std::int32_t dpi = 96;
  };
  const Case cases[] = {
      {kDialog, 200, 10, Arrow},      {kDialog, 460, 8, Hand},         {kDialog, 300, 195, Hand},
      {kDialog, 300, 189, Arrow},     {kDialog, 20, 206, Hand},        {kPicA, 100, 50, Hand},
      {kPicB, 60, 14, Arrow},         {kPicB, 100, 10, Hand},          {kPicB, 160, 110, Hand},
      {kDialog, 550, 313, Hand, 144}, {kDialog, 551, 313, Arrow, 144},  // "設定" and just beyond
      {kDialog, 912, 8, Hand, 192},   {kDialog, 911, 8, Arrow, 192},    // exit and the strip
      {kPicB, 176, 16, Hand, 192},    {kPicB, 175, 16, Arrow, 192}};    // HS(0) and just left of it
  for (const Case& c : cases)
    EXPECT_EQ(b.dialog.PointerAt(c.surface, LayoutScale(c.dpi).ToLayout(c.x),
                                 LayoutScale(c.dpi).ToLayout(c.y)),
              c.want)
        << c.x;
}

}  // namespace
}  // namespace quillmere::settings_dialog
