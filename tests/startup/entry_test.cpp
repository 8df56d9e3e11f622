#include "startup/entry.h"

#include <gtest/gtest.h>

#include "startup/settings.h"
#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using testing::FakePlatform;

constexpr platform::WindowHandle kPane = 1234;

std::vector<std::string> StartWith(FakePlatform& fake, std::string_view argument_text) {
  Settings() = {};
  Start() = {};
  platform::Platform p = fake.Bundle();
  RunEntry(argument_text, p);
  return fake.calls;
}

// The calls that show what a run did, without the settings reads and the guard.
std::vector<std::string> Actions(const FakePlatform& fake) {
  std::vector<std::string> actions;
  for (const auto& call : fake.calls) {
    if (call.rfind("GetPrivateProfileString", 0) != 0 && call.rfind("FindWindow", 0) != 0) {
      actions.push_back(call);
    }
  }
  return actions;
}

TEST(RunEntry, ModesTable) {
  const std::vector<std::string> saver = {"ShowCursor(0)", "SystemParametersInfo(97,-1)",
                                          "LoadSaverWindow", "EndProcess"};
  struct Case {
    const char* argument_text;
    std::vector<std::string> actions;
  };
  const Case cases[] = {
      {"/s", saver},
      {"/S", saver},
      {"-s", saver},
      {"xs", saver},
      {"", {"LoadSaverWindow", "EndProcess"}},
      {"/c", {"ShowSettingsDialog", "EndProcess"}},
      {"/c:5678", {"ShowSettingsDialog", "EndProcess"}},
      {"-C", {"ShowSettingsDialog", "EndProcess"}},
      {"s", {"EndProcess"}},
      {"/", {"EndProcess"}},
      {"/x", {"EndProcess"}},
      {"/a 1234", {"GetVersionEx(148)", "EndProcess"}},
  };
  for (const Case& c : cases) {
    FakePlatform fake;
    StartWith(fake, c.argument_text);
    EXPECT_EQ(Actions(fake), c.actions) << "argument text [" << c.argument_text << "]";
    EXPECT_EQ(fake.Calls("GetPrivateProfileString").size(), 6u) << c.argument_text;
  }
}

TEST(RunEntry, TheGuardAsksForBothTitlesFirstAndEndsWhenEitherExists) {
  for (const char* marker : {"quillmere_Main", "quillmereの設定"}) {
    for (const char* argument_text : {"/s", "/p 1234", "/c", ""}) {
      FakePlatform fake;
      fake.windows_by_title[marker] = 0x42;
      fake.window_rects[kPane] = {0, 0, 152, 112};
      EXPECT_EQ(StartWith(fake, argument_text),
                (std::vector<std::string>{"FindWindow(quillmere_Main)",
                                          "FindWindow(quillmereの設定)", "EndProcess"}))
          << marker << " " << argument_text;
    }
  }
}

TEST(RunEntry, FullScreenKeepsTheCursorCountForTheEnd) {
  FakePlatform fake;
  fake.show_cursor_result = -1;
  StartWith(fake, "/s");
  EXPECT_EQ(Start().saved_cursor_count, -1);
  EXPECT_EQ(Start().argument_text, "/s");
}

TEST(RunEntry, PreviewSetUpMakesTheWindowAChildOfThePaneWithoutReadingSettings) {
  FakePlatform fake;
  fake.window_rects[kPane] = {100, 50, 252, 162};
  for (const char* argument_text : {"/p 1234", "/p:1234", "/P 1234.4"}) {
    fake.calls.clear();
    StartWith(fake, argument_text);
    EXPECT_EQ(Actions(fake), (std::vector<std::string>{
                                 "GetWindowRect(0x4d2)", "LoadPreviewWindow",
                                 "GetWindowLong(0x5150,-16)",
                                 "SetWindowLong(0x5150,-16,0x46000000)",
                                 "SetParent(0x5150,0x4d2)", "PlacePreviewWindow(0x5150,2280,1680)",
                                 "SizePreviewPicture(0x5150,152,112)", "ShowPreviewWindow(0x5150)"}))
        << argument_text;
  }
}

TEST(RunEntry, PreviewPaneWiderThan2184PixelsKeepsItsSize) {
  FakePlatform fake;
  fake.window_rects[kPane] = {0, 0, 3000, 2500};
  StartWith(fake, "/p 1234");
  EXPECT_EQ(fake.Calls("PlacePreviewWindow"),
            std::vector<std::string>{"PlacePreviewWindow(0x5150,45000,37500)"});
  EXPECT_EQ(fake.Calls("SizePreviewPicture"),
            std::vector<std::string>{"SizePreviewPicture(0x5150,3000,2500)"});
}

TEST(RunEntry, PreviewIntoSomethingThatIsNotAWindowEndsAtOnce) {
  for (const char* argument_text : {"/p", "/p 999", "/p abc", "/p 99999999999"}) {
    FakePlatform fake;
    fake.window_rects[kPane] = {0, 0, 152, 112};
    StartWith(fake, argument_text);
    EXPECT_EQ(Actions(fake), std::vector<std::string>{"EndProcess"}) << argument_text;
  }
}

TEST(RunEntry, PasswordChangeOnlyOffWindowsNtAndOnlyWithAWholeNumberHandle) {
  struct Case {
    const char* argument_text;
    std::uint32_t platform_id;
    std::vector<std::string> actions;
  };
  const Case cases[] = {
      {"/a 1234", platform::kPlatformWin32Nt, {"GetVersionEx(148)", "EndProcess"}},
      {"/a 1234", 1, {"GetVersionEx(148)", "PwdChangePassword(SCRSAVE,0x4d2)", "EndProcess"}},
      {"/a  77 ", 1, {"GetVersionEx(148)", "PwdChangePassword(SCRSAVE,0x4d)", "EndProcess"}},
      {"/a -1", 1, {"GetVersionEx(148)", "PwdChangePassword(SCRSAVE,0xffffffffffffffff)",
                    "EndProcess"}},
      {"/a 12ab", 1, {"GetVersionEx(148)", "EndProcess"}},
      {"/a", 1, {"GetVersionEx(148)", "EndProcess"}},
  };
  for (const Case& c : cases) {
    FakePlatform fake;
    fake.platform_id = c.platform_id;
    StartWith(fake, c.argument_text);
    EXPECT_EQ(Actions(fake), c.actions) << c.argument_text << " on " << c.platform_id;
  }
}

TEST(RunEntry, SettingsAreReadBeforeTheModeActs) {
  FakePlatform fake;
  fake.ini["Section"]["Num"] = " 150";
  StartWith(fake, "/s");
  EXPECT_EQ(Settings().Num, 150);
  EXPECT_EQ(Settings().Size, 5);
}

}  // namespace
}  // namespace quillmere::startup
