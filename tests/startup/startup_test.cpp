#include "startup/entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "startup/command_line.h"
#include "startup/numbers.h"
#include "startup/platform_helpers.h"
#include "startup/settings.h"
#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using Calls = std::vector<std::string>;

// Runs the entry as a fresh process: what it did after the guard, each run of settings reads as
// "LoadSettings".
Calls ActionsOf(testing::FakePlatform& fake, std::string_view argument_text) {
  Settings() = {}, Start() = {};
  platform::Platform p = fake.Bundle();
  RunEntry(argument_text, p);
  const Calls guard = {"FindWindow(quillmere_Main)", "FindWindow(quillmereの設定)"};
  EXPECT_TRUE(fake.calls.size() >= 2 && Calls(fake.calls.begin(), fake.calls.begin() + 2) == guard)
      << "the guard comes first, argument text [" << argument_text << "]";
  Calls actions;
  for (std::size_t i = 2; i < fake.calls.size(); ++i) {
    const std::string action =
        fake.calls[i].starts_with("GetPrivateProfileString") ? "LoadSettings" : fake.calls[i];
    if (action != "LoadSettings" || actions.empty() || actions.back() != action)
      actions.push_back(action);
  }
  return actions;
}

TEST(RunEntry, ModesTable) {
  const Calls saver = {"ClaimSingleInstance",         "LoadSettings",    "ShowCursor(0)",
                       "SystemParametersInfo(97,-1)", "LoadSaverWindow", "EndProcess"};
  const Calls dialog = {"ClaimSingleInstance", "LoadSettings", "ShowSettingsDialog", "EndProcess"};
  const Calls nothing = {"LoadSettings", "EndProcess"}, ended = {"EndProcess"};
  const Calls lost = {"ClaimSingleInstance", "EndProcess"};
  const Calls nt = {"LoadSettings", "GetVersionEx(148)", "EndProcess"};
  auto preview = [](std::string host, std::string twips, std::string pixels) {
    return Calls{"AdoptDpiAwarenessOf(" + host + ")",
                 "GetWindowRect(" + host + ")",
                 "LoadPreviewWindow",
                 "GetWindowLong(0x5150,-16)",
                 "SetWindowLong(0x5150,-16,0x46000000)",
                 "SetParent(0x5150," + host + ")",
                 "PlacePreviewWindow(0x5150," + twips + ")",
                 "SizePreviewPicture(0x5150," + pixels + ")",
                 "ShowPreviewWindow(0x5150)"};
  };
  // 113 x 113 pixels at 12.5 twips across and 7.5 down: 1412.5 and 847.5 twips, halves to even.
  const Calls pane = preview("0x4d2", "1412,848", "112.96,113.067");
  // The pane went away between the check and SetParent: no stray window is left to show.
  Calls orphan = preview("0x37", "", "");
  orphan.resize(6), orphan.push_back("EndProcess");
  auto password = [&nt](std::string parent) {
    Calls calls = nt;
    return calls.insert(calls.end() - 1, "PwdChangePassword(SCRSAVE," + parent + ")"), calls;
  };
  struct Case {
    const char* text;
    Calls actions;
    std::uint32_t platform_id = platform::kPlatformWin32Nt;
    std::int32_t version_result = 1;
    const char* marker = "";
    bool claim_wins = true;
  };
  const Case cases[] = {
      {"/s", saver},
      {"/S", saver},
      {"-s", saver},
      {"xs", saver},
      {"あs", saver},
      {"", {"ClaimSingleInstance", "LoadSettings", "LoadSaverWindow", "EndProcess"}},
      {"/c", dialog},
      {"/c:5678", dialog},
      {"-C", dialog},
      {"s", nothing},
      {"/", nothing},
      {"/x", nothing},
      {"/p 1234", pane},
      {"/p:1234", pane},
      {"/P 1234.5", pane},
      {"/p 12 34x", pane},
      {"/pあ1234", pane},
      {"/p 77", preview("0x4d", "37500,18750", "3000,2500")},  // wider than 16 bits of twips
      // A host that is not a window would leave an orphan preview nobody ends.
      {"/p", ended},
      {"/p abc", ended},
      {"/p 99999999999", ended},
      {"/p 55", orphan},
      // Handles past 2^31 come unsigned and widen by the sign of their low 32 bits.
      {"/p 3000000000", preview("0xffffffffb2d05e00", "1412,848", "112.96,113.067")},
      {"/p -2147483648", preview("0xffffffff80000000", "1412,848", "112.96,113.067")},
      {"/p 2147483648", preview("0xffffffff80000000", "1412,848", "112.96,113.067")},
      {"/p 4294967296", ended},
      {"/p 4294967295.5", ended},
      {"/p -2147483649", ended},
      {"/a 3000000000", password("0xffffffffb2d05e00"), 1},
      {"/a 4294967295", password("0xffffffffffffffff"), 1},
      {"/a 4294967296", nt, 1},
      {"/a -2147483649", nt, 1},
      {"/a 1234", nt},
      {"/a 1234", password("0x4d2"), 1},
      {"/A  77 ", password("0x4d"), 1},
      {"/a 12.5", password("0xc"), 1},
      {"/a -1", password("0xffffffffffffffff"), 1},
      {"/a 12ab", nt, 1},
      {"/a", nt, 1},
      // The version is believed only when GetVersionEx answers exactly 1.
      {"/a 1234", password("0x4d2"), 2, 0},
      {"/a 1234", password("0x4d2"), 2, 2},
      {"/p 1234", ended, 1, 1, "quillmere_Main"},
      {"/a 1234", ended, 1, 1, "quillmereの設定"},
      {"", ended, 2, 1, "quillmereの設定"},
      // Another start got there first: nothing of the system's may change.
      {"/s", lost, 1, 1, "", false},
      {"", lost, 1, 1, "", false},
      {"/c", lost, 1, 1, "", false}};
  for (const Case& c : cases) {
    testing::FakePlatform fake;
    fake.window_rects = {{1234, {100, 50, 213, 163}},
                         {77, {0, 0, 3000, 2500}},
                         {55, {}},
                         {0xffffffffb2d05e00, {100, 50, 213, 163}},
                         {0xffffffff80000000, {100, 50, 213, 163}}};
    fake.refuses_children = 55;
    fake.twips_per_pixel_x = 12.5, fake.twips_per_pixel_y = 7.5, fake.show_cursor_result = -3;
    fake.platform_id = c.platform_id, fake.version_result = c.version_result,
    fake.claim_wins = c.claim_wins;
    fake.ini["Section"]["Num"] = " 150";
    if (*c.marker) fake.windows_by_title[c.marker] = 0x42;
    EXPECT_EQ(ActionsOf(fake, c.text), c.actions) << "[" << c.text << "] " << c.marker;
    const bool hidden = std::ranges::count(c.actions, "ShowCursor(0)") == 1;
    EXPECT_EQ(Start().saved_cursor_count, hidden ? -3 : 0) << c.text;
    if (hidden) {
      EXPECT_EQ(Start().argument_text, c.text);
    }
    EXPECT_EQ(Settings().Num, std::ranges::count(c.actions, "LoadSettings") ? 150 : 0) << c.text;
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
  using P = platform::Point;
  const std::pair<std::optional<P>, std::string> cases[] = {
      {std::nullopt, "{0,0,0,0}"},
      {P{100, 200}, "{100,200,100,200}"},
      {P{40000, 30}, "{7,30,7,30}"},
      {P{-5, -40000}, "{-5,9,-5,9}"},
      {P{32767, -32768}, "{32767,-32768,32767,-32768}"},
      {P{32768, -32769}, "{7,9,7,9}"}};  // outside 16 bits: kept
  for (const auto& [cursor, p] : cases) {
    testing::FakePlatform fake;
    fake.cursor = cursor;
    fake.window_rects[0x77] = {274, 268, 750, 499};
    ZoomOrigin origin{7, 9};
    RecordZoomOrigin(fake, origin);
    fake.cursor = platform::Point{5, 5};
    ZoomWindowOpen(fake, 0x77, origin);
    ZoomWindowClose(fake, 0x77, origin);
    ZoomWindowClose(fake, 0x99, origin);  // no such window: its rectangle stays zeros
    EXPECT_EQ(fake.Calls("Draw"), (Calls{"DrawAnimatedRects(0x77,3," + p + ",{274,268,750,499})",
                                         "DrawAnimatedRects(0x77,3,{274,268,750,499}," + p + ")",
                                         "DrawAnimatedRects(0x99,3,{0,0,0,0}," + p + ")"}));
  }
}

constexpr std::int32_t kMin = -2147483647 - 1;
const std::string kKeys[] = {"Kind", "Size", "Speed", "Num", "Intval", "Sync"};

TEST(LoadSettings, DefaultsForMissingOrEmptyValuesAndZeroForTextThatIsNoNumber) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> keys;
    SettingsValues expected;
  };
  const Case cases[] = {
      {"no file", {}, {0, 5, 5, 100, 10, 0}},
      {"written by the program",
       {{"Kind", " 3"},
        {"Size", " 20"},
        {"Speed", " 1"},
        {"Num", " 200"},
        {"Intval", " 60"},
        {"Sync", " 1"}},
       {3, 20, 1, 200, 60, 1}},
      {"empty and no number",
       {{"Size", ""}, {"Speed", "abc"}, {"Num", "12x"}, {"Intval", ""}},
       {0, 5, 0, 0, 10, 0}},
      {"no range check",
       {{"Kind", "-1"}, {"Size", "500"}, {"Num", "0"}, {"Intval", " 3.5 "}},
       {-1, 500, 5, 0, 4, 0}},
      {"outside 32 bits", {{"Num", "2147483648"}, {"Sync", "-2147483648"}}, {0, 5, 5, 0, 10, kMin}},
      {"cut at 255 characters", {{"Size", std::string(253, '0') + "123"}}, {0, 12, 5, 100, 10, 0}}};
  Calls reads;  // each key in order, from the file beside the executable
  for (const std::string& key : kKeys)
    reads.push_back("GetPrivateProfileString(Section," + key + ",256,D:\\S\\quillmere.ini)");
  for (const Case& c : cases) {
    testing::FakePlatform fake;
    fake.folder = "D:\\S", fake.ini["Section"] = c.keys;
    SettingsValues values;
    LoadSettings(fake, values);
    EXPECT_EQ(values, c.expected) << c.what;
    EXPECT_EQ(fake.calls, reads);
  }
}

TEST(ParseWholeNumber, AcceptsNumbersWithBlanksAndRoundsFractionsHalfToEven) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {{"5", 5},
                                                                       {"\t-7  ", -7},
                                                                       {"+12", 12},
                                                                       {"2.5", 2},
                                                                       {"3.5", 4},
                                                                       {"-2.5", -2},
                                                                       {"-3.5", -4},
                                                                       {"0.5", 0},
                                                                       {"1.49", 1},
                                                                       {".5", 0},
                                                                       {"1e3", 1000},
                                                                       {"2147483647", 2147483647},
                                                                       {"-2147483648.5", kMin},
                                                                       {"2147483647.5", {}},
                                                                       {"1e10", {}},
                                                                       {"1e999", {}},
                                                                       {"5x", {}},
                                                                       {"-2147483649", {}},
                                                                       {"1 2", {}},
                                                                       {"-", {}},
                                                                       {".", {}},
                                                                       {"   ", {}},
                                                                       {"0x10", {}}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseWholeNumber(text), expected) << text;
  // The leading number reads up to the first character that cannot continue it.
  const std::pair<const char*, double> leading[] = {
      {":12", 0}, {"-5", -5}, {"7e", 7}, {"1e2x", 100}};
  for (const auto& [text, expected] : leading)
    EXPECT_EQ(ParseLeadingNumber(text), expected) << text;
}

TEST(WriteIniString, AllSixKeysInOrderWithTheirValueTextAndNamesOfAtMost127Characters) {
  Calls writes;
  for (int i = 0; const char* text : {" 0", " 20", " 10", " 300", " 5", "-2147483648"})
    writes.push_back("WritePrivateProfileString(Section," + kKeys[i++] + ",[" + text +
                     "],C:\\Savers\\quillmere.ini)");
  testing::FakePlatform fake;
  for (bool succeed : {true, false}) {  // after a failed write every key is still tried
    fake.writes_succeed = succeed;
    EXPECT_EQ(WriteAllSettings(fake, {0, 20, 10, 300, 5, kMin}), succeed);
    EXPECT_EQ(std::exchange(fake.calls, {}), writes);
  }
  WriteIniString(fake, std::string(200, 's'), std::string(128, 'k'), " 1", "p");
  EXPECT_EQ(fake.calls, Calls{"WritePrivateProfileString(" + std::string(127, 's') + "," +
                              std::string(127, 'k') + ",[ 1],p)"});
}

}  // namespace
}  // namespace quillmere::startup
