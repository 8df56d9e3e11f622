#include "startup/entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "startup/command_line.h"
#include "startup/platform_helpers.h"
#include "startup/settings.h"
#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using Calls = std::vector<std::string>;

// A fresh process per row, window 1234 a 113 x 5000 pixel pane: the guard, then what the row wants.
TEST(RunEntry, DoesWhatTheModeLetterAsks) {
  const Calls saver = {"ClaimSingleInstance",         "LoadSettings",    "ShowCursor(0)",
                       "SystemParametersInfo(97,-1)", "LoadSaverWindow", "EndProcess"};
  const Calls visible = {"ClaimSingleInstance", "LoadSettings", "LoadSaverWindow", "EndProcess"};
  const Calls dialog = {"ClaimSingleInstance", "LoadSettings", "ShowSettingsDialog", "EndProcess"};
  const Calls nt = {"LoadSettings", "GetVersionEx(148)", "EndProcess"};
  const Calls password = {"LoadSettings", "GetVersionEx(148)", "PwdChangePassword(SCRSAVE,0x4d2)",
                          "EndProcess"};
  const Calls lost = {"ClaimSingleInstance", "EndProcess"};
  // At 12.5 twips a pixel across and 15 down: 1412.5 (halves to even) by 75000 twips.
  const Calls pane = {"AdoptDpiAwarenessOf(0x4d2)",
                      "GetWindowRect(0x4d2)",
                      "LoadPreviewWindow",
                      "GetWindowLong(0x5150,-16)",
                      "SetWindowLong(0x5150,-16,0x46000000)",
                      "SetParent(0x5150,0x4d2)",
                      "PlacePreviewWindow(0x5150,1412,75000)",
                      "SizePreviewPicture(0x5150,112.96,5000)",
                      "ShowPreviewWindow(0x5150)"};
  // The pane went between the check and SetParent: no window may be left that nothing ends.
  Calls orphan(pane.begin(), pane.begin() + 6);
  orphan.push_back("EndProcess");
  struct Row {
    std::string_view name;
    std::string_view text;
    Calls want;
    bool win98 = false;
    bool pane_goes = false;
    bool claim_lost = false;        // to another start, which must not see the system changed
    std::string_view running = "";  // the title of a window of ours already open
    std::int32_t version_result = 1;
  };
  const Row rows[] = {
      {.name = "full screen: any first character, either case", .text = "あS", .want = saver},
      {.name = "another start runs", .text = "/s", .want = lost, .claim_lost = true},
      {.name = "no arguments", .text = "", .want = visible},
      {.name = "settings ignore a handle", .text = "-C:5678", .want = dialog},
      {.name = "one character", .text = "s", .want = {"LoadSettings", "EndProcess"}},
      {.name = "preview", .text = "/p 1234", .want = pane},
      {.name = "pane gone", .text = "/p 1234", .want = orphan, .pane_goes = true},
      {.name = "preview into no window", .text = "/p", .want = {"EndProcess"}},
      {.name = "password on the NT family", .text = "/a 1234", .want = nt},
      {.name = "password on Windows 98", .text = "/a 1234", .want = password, .win98 = true},
      {.name = "password owner not a number", .text = "/a 12x", .want = nt, .win98 = true},
      {.name = "only 1 from GetVersionEx is NT",
       .text = "/a 1234",
       .want = password,
       .version_result = 2},
      {.name = "the saver runs", .text = "", .want = {"EndProcess"}, .running = "quillmere_Main"},
      {.name = "the dialog runs", .text = "", .want = {"EndProcess"}, .running = "quillmereの設定"},
  };
  for (const Row& row : rows) {
    Settings() = {};
    Start() = {};
    testing::FakePlatform fake;
    fake.window_rects[1234] = {100, 50, 213, 5050};
    fake.refuses_children = row.pane_goes ? 1234 : 0;
    fake.claim_wins = !row.claim_lost;
    fake.twips_per_pixel_x = 12.5;
    fake.platform_id = row.win98 ? 1 : platform::kPlatformWin32Nt;
    fake.version_result = row.version_result;
    fake.windows_by_title[std::string(row.running)] = 0x99;
    platform::Platform p = fake.Bundle();
    RunEntry(row.text, p);
    Calls actions;
    for (const std::string& call : fake.calls | std::views::drop(2))
      actions.push_back(call.starts_with("GetPrivateProfileString") ? "LoadSettings" : call);
    actions.erase(std::ranges::unique(actions).begin(), actions.end());
    EXPECT_EQ(actions, row.want) << row.name;
    EXPECT_EQ(Start().saved_cursor_count, row.want == saver ? -1 : 0) << row.name;
    EXPECT_EQ(Settings().Num, std::ranges::count(row.want, "LoadSettings") * 100) << row.name;
  }
}

// From the fourth character on, /p reads the number the text starts with, /a only a whole number.
TEST(HandleArgument, NamesTheWindowOfItsLow32BitsWidenedByTheirSign) {
  struct Row {
    std::string_view text;
    std::optional<platform::WindowHandle> p;
    std::optional<platform::WindowHandle> a;
  };
  const Row rows[] = {
      {.text = "12 34x", .p = 1234, .a = {}},
      {.text = "x1", .p = 0, .a = {}},  // no number: window 0
      {.text = "3000000000", .p = 0xffffffffb2d05e00, .a = 0xffffffffb2d05e00},
      {.text = "12.5", .p = 12, .a = 12},
      {.text = "35e-1", .p = 4, .a = 4},
      {.text = "-1", .p = 0xffffffffffffffff, .a = 0xffffffffffffffff},
      {.text = "4.294967296e9", .p = 0, .a = 0},  // 2^32
      {.text = "18446744073709551615", .p = 0xffffffffffffffff, .a = 0xffffffffffffffff},
      {.text = "-9223372036854775808", .p = 0, .a = 0},
      {.text = "18446744073709551616", .p = {}, .a = {}},  // beyond 64 bits: no window
      {.text = "18446744073709551615.5", .p = {}, .a = {}},
      {.text = "-9223372036854775809", .p = {}, .a = {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PreviewHostOf("/p:" + std::string(row.text)), row.p) << row.text;
    EXPECT_EQ(PasswordOwnerOf("/a " + std::string(row.text)), row.a) << row.text;
  }
}

// A folder without a short name keeps its own; a path counts only with a blank or the end after it.
TEST(ArgumentTextOf, DropsTheProgramPathAndTheBlanksAfterIt) {
  const std::string module = "C:\\PROGRA~1\\Ann Lee\\quillmere.scr";
  const std::string long_form = "C:\\Program Files\\Ann Lee\\quillmere.scr";
  const std::string short_form = "C:\\PROGRA~1\\Ann Lee\\QUILLM~1.SCR";
  struct Row {
    std::string name;
    std::string line;
    std::string_view want;
  };
  const Row rows[] = {
      {.name = "another path", .line = "C:\\x\\quillmere.scr /p 1234", .want = "/p 1234"},
      {.name = "quoted", .line = "\"C:\\My Savers\\quillmere.scr\" \t /s", .want = "/s"},
      {.name = "unterminated", .line = "\"C:\\unterminated /s", .want = ""},
      {.name = "as reported", .line = module + " /s", .want = "/s"},
      {.name = "long, any case",
       .line = "c:\\program files\\ann lee\\QUILLMERE.SCR /c",
       .want = "/c"},
      {.name = "short", .line = short_form + " /p 1234", .want = "/p 1234"},
      {.name = "at the end", .line = long_form, .want = ""},
      {.name = "not followed by a blank",
       .line = long_form + "2 /s",
       .want = "Files\\Ann Lee\\quillmere.scr2 /s"},
  };
  for (const Row& row : rows) {
    testing::FakePlatform fake;
    fake.module_path = module;
    fake.long_path = long_form;
    fake.short_path = short_form;
    EXPECT_EQ(ArgumentTextOf(row.line, ProgramPaths(fake)), row.want) << row.name;
  }
}

TEST(RecordZoomOrigin, TakesEachCursorCoordinateThatFits16Bits) {
  testing::FakePlatform fake;
  fake.cursor = platform::Point{-1280, 40000};  // left of the primary, and too far down for 16 bits
  ZoomOrigin origin{7, 9};
  RecordZoomOrigin(fake, origin);
  EXPECT_EQ(origin.x, -1280);
  EXPECT_EQ(origin.y, 9);
}

TEST(LoadSettings, ReadsEachKeyAsAWhole32BitNumber) {
  struct Row {
    std::array<std::string_view, 6> texts;
    std::array<std::int32_t, 6> want;
  };
  const Row rows[] = {
      {.texts = {}, .want = {0, 5, 5, 100, 10, 0}},  // an empty text reads as a missing key
      {.texts = {"\t-7  ", "+12", " 1e3 ", ".5", "", ""}, .want = {-7, 12, 1000, 0, 10, 0}},
      {.texts = {"2.5", "3.5", "-2.5", "-3.5", "0.5", "1.49"}, .want = {2, 4, -2, -4, 0, 1}},
      {.texts = {"5x", "abc", "1 2", "-", ".", "0x10"}, .want = {0, 0, 0, 0, 0, 0}},
      {.texts = {"2147483647", "-2147483648.5", "2147483647.5", "-2147483649", "1e999", "1e10"},
       .want = {INT32_MAX, INT32_MIN, 0, 0, 0, 0}},
  };
  const std::array<std::string, 6> keys = {"Kind", "Size", "Speed", "Num", "Intval", "Sync"};
  for (const Row& row : rows) {
    testing::FakePlatform fake;
    for (std::size_t i = 0; i < keys.size(); ++i) fake.ini["Section"][keys[i]] = row.texts[i];
    SettingsValues v;
    LoadSettings(fake, v);
    EXPECT_EQ((std::array{v.Kind, v.Size, v.Speed, v.Num, v.Intval, v.Sync}), row.want)
        << ::testing::PrintToString(row.texts);
    EXPECT_EQ(fake.calls.at(0),
              "GetPrivateProfileString(Section,Kind,256,C:\\Savers\\quillmere.ini)");
  }
}

}  // namespace
}  // namespace quillmere::startup
