#include "startup/settings.h"

#include <gtest/gtest.h>

#include "startup/numbers.h"
#include "tests/fake_platform.h"

namespace quillmere::startup {
namespace {

using Calls = std::vector<std::string>;
constexpr std::int32_t kMin = -2147483647 - 1;
constexpr const char* kKeys[] = {"Kind", "Size", "Speed", "Num", "Intval", "Sync"};

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
      {"empty and no number", {{"Size", ""}, {"Speed", "abc"}, {"Num", "12x"}, {"Intval", ""}},
       {0, 5, 0, 0, 10, 0}},
      {"no range check", {{"Kind", "-1"}, {"Size", "500"}, {"Num", "0"}, {"Intval", " 3.5 "}},
       {-1, 500, 5, 0, 4, 0}},
      {"outside 32 bits", {{"Num", "2147483648"}, {"Sync", "-2147483648"}}, {0, 5, 5, 0, 10, kMin}},
      {"cut at 255 characters", {{"Size", std::string(253, '0') + "123"}}, {0, 12, 5, 100, 10, 0}},
  };
  Calls reads;  // each key in order, from the file beside the executable
  for (const char* key : kKeys) {
    reads.push_back("GetPrivateProfileString(Section," + std::string(key) + ",256,D:\\S S\\quillmere.ini)");
  }
  for (const Case& c : cases) {
    testing::FakePlatform fake;
    fake.folder = "D:\\S S";
    fake.ini["Section"] = c.keys;
    SettingsValues values;
    LoadSettings(fake, values);
    EXPECT_EQ(values, c.expected) << c.what;
    EXPECT_EQ(fake.calls, reads);
  }
}

TEST(ParseWholeNumber, AcceptsNumbersWithBlanksAndRoundsFractionsHalfToEven) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"5", 5}, {"\t-7  ", -7}, {"+12", 12}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4},
      {"0.5", 0}, {"1.49", 1}, {".5", 0}, {"1e3", 1000}, {"2147483647", 2147483647},
      {"-2147483648.5", kMin}, {"2147483647.5", {}}, {"1e10", {}}, {"1e999", {}}, {"5x", {}},
      {"1 2", {}}, {"-", {}}, {".", {}}, {"   ", {}}, {"0x10", {}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseWholeNumber(text), expected) << text;
}

TEST(ParseLeadingNumber, ReadsUpToTheFirstCharacterThatCannotContinueIt) {
  const std::pair<const char*, double> cases[] = {{":12", 0}, {"-5", -5}, {"7e", 7}, {"1e2x", 100}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseLeadingNumber(text), expected) << text;
}

TEST(WriteAllSettings, WritesAllSixKeysInOrderAndReportsAFailedWrite) {
  const std::string texts[] = {" 0", " 20", " 10", " 300", " 5", "-2147483648"};
  Calls writes;
  for (int i = 0; i < 6; ++i) {
    writes.push_back("WritePrivateProfileString(Section," + std::string(kKeys[i]) + ",[" +
                     texts[i] + "],C:\\Savers\\quillmere.ini)");
  }
  testing::FakePlatform fake;
  const SettingsValues values = {0, 20, 10, 300, 5, kMin};
  EXPECT_TRUE(WriteAllSettings(fake, values));
  EXPECT_EQ(fake.calls, writes);
  fake.calls.clear();
  fake.writes_succeed = false;
  EXPECT_FALSE(WriteAllSettings(fake, values));
  EXPECT_EQ(fake.calls, writes);  // every key is still tried
}

TEST(WriteIniString, HandsTheSystemNamesOfAtMost127Characters) {
  testing::FakePlatform fake;
  WriteIniString(fake, std::string(200, 's'), std::string(128, 'k'), " 1", "p");
  EXPECT_EQ(fake.calls, Calls{"WritePrivateProfileString(" + std::string(127, 's') + "," +
                              std::string(127, 'k') + ",[ 1],p)"});
}

}  // namespace
}  // namespace quillmere::startup
