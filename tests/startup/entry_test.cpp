#include "startup/entry.h"

#include <gtest/gtest.h>

#include "startup/command_line.h"
#include "startup/platform_helpers.h"
#include "startup/settings.h"
#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using Calls = std::vector<std::string>;

// Runs the entry routine as a fresh process; returns what it did after the guard, with every
// run of settings reads shown as one "LoadSettings".
Calls ActionsOf(testing::FakePlatform& fake, std::string_view argument_text) {
  Settings() = {};
  Start() = {};
  platform::Platform p = fake.Bundle();
  RunEntry(argument_text, p);
  const Calls guard = {"FindWindow(quillmere_Main)", "FindWindow(quillmereの設定)"};
  EXPECT_TRUE(fake.calls.size() >= 2 && Calls(fake.calls.begin(), fake.calls.begin() + 2) == guard)
      << "the guard comes first, argument text [" << argument_text << "]";
  Calls actions;
  for (std::size_t i = 2; i < fake.calls.size(); ++i) {
    const bool read = fake.calls[i].starts_with("GetPrivateProfileString");
    if (!read || actions.empty() || actions.back() != "LoadSettings") {
      actions.push_back(read ? "LoadSettings" : fake.calls[i]);
    }
  }
  return actions;
}

TEST(RunEntry, ModesTable) {
  const Calls saver = {"LoadSettings", "ShowCursor(0)", "SystemParametersInfo(97,-1)",
                       "LoadSaverWindow", "EndProcess"};
  const Calls dialog = {"LoadSettings", "ShowSettingsDialog", "EndProcess"};
  const Calls nothing = {"LoadSettings", "EndProcess"}, ended = {"EndProcess"};
  const Calls nt = {"LoadSettings", "GetVersionEx(148)", "EndProcess"};
  // A pane of 152 x 112 pixels at 15 twips per pixel across and 12 down.
  const Calls preview = {"GetWindowRect(0x4d2)", "LoadPreviewWindow", "GetWindowLong(0x5150,-16)",
                         "SetWindowLong(0x5150,-16,0x46000000)", "SetParent(0x5150,0x4d2)",
                         "PlacePreviewWindow(0x5150,2280,1344)",
                         "SizePreviewPicture(0x5150,152,112)", "ShowPreviewWindow(0x5150)"};
  auto password = [](std::string parent) {
    return Calls{"LoadSettings", "GetVersionEx(148)", "PwdChangePassword(SCRSAVE," + parent + ")",
                 "EndProcess"};
  };
  struct Case {
    const char* text;
    Calls actions;
    std::uint32_t platform_id = platform::kPlatformWin32Nt;
    std::int32_t version_result = 1;
    const char* marker = "";
  };
  const Case cases[] = {
      {"/s", saver}, {"/S", saver}, {"-s", saver}, {"xs", saver}, {"あs", saver},
      {"", {"LoadSettings", "LoadSaverWindow", "EndProcess"}},
      {"/c", dialog}, {"/c:5678", dialog}, {"-C", dialog}, {"s", nothing}, {"/", nothing},
      {"/x", nothing}, {"/p 1234", preview}, {"/p:1234", preview}, {"/P 1234.5", preview},
      {"/p 12 34x", preview}, {"/pあ1234", preview},
      // A host that is not a window would leave an orphan preview nobody ends.
      {"/p", ended}, {"/p abc", ended}, {"/p 99999999999", ended},
      {"/a 1234", nt}, {"/a 1234", password("0x4d2"), 1}, {"/A  77 ", password("0x4d"), 1},
      {"/a 12.5", password("0xc"), 1}, {"/a -1", password("0xffffffffffffffff"), 1},
      {"/a 12ab", nt, 1}, {"/a", nt, 1},
      // The version is believed only when GetVersionEx answers exactly 1.
      {"/a 1234", password("0x4d2"), 2, 0}, {"/a 1234", password("0x4d2"), 2, 2},
      {"/p 1234", ended, 1, 1, "quillmere_Main"}, {"/a 1234", ended, 1, 1, "quillmereの設定"},
      {"", ended, 2, 1, "quillmereの設定"},
  };
  for (const Case& c : cases) {
    testing::FakePlatform fake;
    fake.window_rects[1234] = {100, 50, 252, 162};
    fake.twips_per_pixel_y = 12;
    fake.show_cursor_result = -3;
    fake.platform_id = c.platform_id;
    fake.version_result = c.version_result;
    fake.ini["Section"]["Num"] = " 150";
    if (*c.marker) fake.windows_by_title[c.marker] = 0x42;
    EXPECT_EQ(ActionsOf(fake, c.text), c.actions) << "[" << c.text << "] " << c.marker;
    const bool hidden = c.actions.size() > 1 && c.actions[1] == "ShowCursor(0)";
    EXPECT_EQ(Start().saved_cursor_count, hidden ? -3 : 0) << c.text;
    if (hidden) { EXPECT_EQ(Start().argument_text, c.text); }
    EXPECT_EQ(Settings().Num, c.actions[0] == "LoadSettings" ? 150 : 0) << c.text;
  }
}

TEST(RunEntry, PreviewPaneSizeRoundsHalvesToEvenAndKeepsWidePanes) {
  struct Case {
    double twips_x, twips_y;
    platform::Rect pane;
    std::string place, picture;
  };
  const Case cases[] = {
      {12.5, 7.5, {0, 0, 113, 113}, "1412,848", "112.96,113.067"},  // from 1412.5 and 847.5
      {15, 15, {0, 0, 3000, 2500}, "45000,37500", "3000,2500"},
  };
  for (const Case& c : cases) {
    testing::FakePlatform fake;
    fake.twips_per_pixel_x = c.twips_x;
    fake.twips_per_pixel_y = c.twips_y;
    fake.window_rects[1234] = c.pane;
    ActionsOf(fake, "/p 1234");
    EXPECT_EQ(fake.Calls("Place"), Calls{"PlacePreviewWindow(0x5150," + c.place + ")"});
    EXPECT_EQ(fake.Calls("SizePrev"), Calls{"SizePreviewPicture(0x5150," + c.picture + ")"});
  }
}

TEST(ArgumentTextOf, DropsTheProgramPathAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentTextOf("C:\\x\\quillmere.scr /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentTextOf("\"C:\\My Savers\\quillmere.scr\" \t /s"), "/s");
  EXPECT_EQ(ArgumentTextOf("quillmere.scr   "), "");
  EXPECT_EQ(ArgumentTextOf("\"C:\\unterminated /s"), "");
}

// The dialog's zoom runs from where the cursor was when it was recorded, whatever came since.
TEST(Zoom, RunsBetweenTheRecordedCursorPointAndTheWindow) {
  const std::pair<std::optional<platform::Point>, const char*> cases[] = {
      {std::nullopt, "{0,0,0,0}"},               {platform::Point{100, 200}, "{100,200,100,200}"},
      {platform::Point{40000, 30}, "{7,30,7,30}"}, {platform::Point{-5, -40000}, "{-5,9,-5,9}"},
      {platform::Point{32767, -32768}, "{32767,-32768,32767,-32768}"},
      {platform::Point{32768, -32769}, "{7,9,7,9}"},  // outside 16 bits: kept
  };
  for (const auto& [cursor, point] : cases) {
    testing::FakePlatform fake;
    fake.cursor = cursor;
    fake.window_rects[0x77] = {274, 268, 750, 499};
    ZoomOrigin origin{7, 9};
    RecordZoomOrigin(fake, origin);
    fake.cursor = platform::Point{5, 5};
    ZoomWindowOpen(fake, 0x77, origin);
    ZoomWindowClose(fake, 0x77, origin);
    ZoomWindowClose(fake, 0x99, origin);  // no such window: its rectangle stays zeros
    const std::string p = point;
    EXPECT_EQ(fake.Calls("Draw"), (Calls{"DrawAnimatedRects(0x77,3," + p + ",{274,268,750,499})",
                                        "DrawAnimatedRects(0x77,3,{274,268,750,499}," + p + ")",
                                        "DrawAnimatedRects(0x99,3,{0,0,0,0}," + p + ")"}));
  }
}

}  // namespace
}  // namespace quillmere::startup
