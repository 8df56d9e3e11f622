#include "startup/settings.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using testing::FakePlatform;

SettingsValues Load(const std::map<std::string, std::string>& keys) {
  FakePlatform fake;
  if (!keys.empty()) fake.ini["Section"] = keys;
  SettingsValues values;
  LoadSettings(fake, values);
  return values;
}

TEST(LoadSettings, ReadsTheSixKeysInOrderFromTheFileBesideTheExecutable) {
  FakePlatform fake;
  SettingsValues values;
  LoadSettings(fake, values);
  const std::string path = "C:\\Savers\\quillmere.ini";
  EXPECT_EQ(fake.calls, (std::vector<std::string>{
                            "GetPrivateProfileString(Section,Kind,256," + path + ")",
                            "GetPrivateProfileString(Section,Size,256," + path + ")",
                            "GetPrivateProfileString(Section,Speed,256," + path + ")",
                            "GetPrivateProfileString(Section,Num,256," + path + ")",
                            "GetPrivateProfileString(Section,Intval,256," + path + ")",
                            "GetPrivateProfileString(Section,Sync,256," + path + ")"}));
}

TEST(LoadSettings, DefaultsForMissingOrEmptyValuesAndZeroForTextThatIsNoNumber) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> keys;
    SettingsValues expected;
  };
  const Case cases[] = {
      {"no file", {}, {0, 5, 5, 100, 10, 0}},
      {"written by the program",
       {{"Kind", " 3"}, {"Size", " 20"}, {"Speed", " 1"}, {"Num", " 200"}, {"Intval", " 60"},
        {"Sync", " 1"}},
       {3, 20, 1, 200, 60, 1}},
      {"empty values", {{"Size", ""}, {"Num", ""}}, {0, 5, 5, 100, 10, 0}},
      {"text", {{"Size", "abc"}, {"Num", "12x"}}, {0, 0, 5, 0, 10, 0}},
      {"out of the dialog's ranges", {{"Num", "0"}, {"Size", "500"}, {"Kind", "-1"}},
       {-1, 500, 5, 0, 10, 0}},
      {"fractions and blanks", {{"Speed", "  2.5 "}, {"Intval", "3.5"}}, {0, 5, 2, 100, 4, 0}},
      {"outside 32 bits", {{"Num", "2147483648"}, {"Sync", "-2147483648"}},
       {0, 5, 5, 0, 10, -2147483647 - 1}},
      {"a 300-character value", {{"Size", std::string(300, '7')}}, {0, 0, 5, 100, 10, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.keys), c.expected) << c.what;
  }
}

TEST(ReadIniString, CutsValuesAt255Characters) {
  FakePlatform fake;
  fake.ini["Section"]["Size"] = std::string(300, '1');
  EXPECT_EQ(ReadIniString(fake, "Section", "Size", "x").size(), 255u);
}

TEST(WriteAllSettings, WritesAllSixKeysInOrderWithTheValueText) {
  FakePlatform fake;
  EXPECT_TRUE(WriteAllSettings(fake, {5, 1, 10, 300, 5, -1}));
  const std::string path = ",C:\\Savers\\quillmere.ini)";
  EXPECT_EQ(fake.calls, (std::vector<std::string>{
                            "WritePrivateProfileString(Section,Kind,[ 5]" + path,
                            "WritePrivateProfileString(Section,Size,[ 1]" + path,
                            "WritePrivateProfileString(Section,Speed,[ 10]" + path,
                            "WritePrivateProfileString(Section,Num,[ 300]" + path,
                            "WritePrivateProfileString(Section,Intval,[ 5]" + path,
                            "WritePrivateProfileString(Section,Sync,[-1]" + path}));
}

TEST(WriteAllSettings, ReportsAFailedWriteButStillAttemptsEveryKey) {
  FakePlatform fake;
  fake.writes_succeed = false;
  EXPECT_FALSE(WriteAllSettings(fake, {0, 5, 5, 100, 10, 0}));
  EXPECT_EQ(fake.Calls("WritePrivateProfileString").size(), 6u);
}

TEST(WriteIniString, HandsTheSystemNamesOfAtMost127Characters) {
  FakePlatform fake;
  WriteIniString(fake, std::string(200, 's'), "Kind", " 1", "p");
  EXPECT_EQ(fake.calls.back(),
            "WritePrivateProfileString(" + std::string(127, 's') + ",Kind,[ 1],p)");
}

}  // namespace
}  // namespace quillmere::startup
