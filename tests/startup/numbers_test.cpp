#include "startup/numbers.h"

#include <gtest/gtest.h>

#include <optional>

namespace quillmere::startup {
namespace {

TEST(ParseWholeNumber, AcceptsNumbersWithBlanksAndRoundsFractionsHalfToEven) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"5", 5},         {" 100", 100},           {"  -7  ", -7},      {"+12", 12},
      {"2.5", 2},       {"3.5", 4},              {"-2.5", -2},        {"0.5", 0},
      {"1.49", 1},      {".5", 0},               {"1e3", 1000},       {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},          {"\t9\t", 9},
      {"2147483648", std::nullopt},              {"-2147483649", std::nullopt},
      {"2147483647.5", std::nullopt},            {"1e10", std::nullopt},
      {"abc", std::nullopt},                     {"5x", std::nullopt},
      {"1 2", std::nullopt},                     {"-", std::nullopt},
      {".", std::nullopt},                       {"", std::nullopt},
      {"   ", std::nullopt},                     {"1e999", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseWholeNumber(c.text), c.expected) << "text [" << c.text << "]";
  }
}

TEST(ParseLeadingNumber, ReadsUpToTheFirstCharacterThatCannotContinueIt) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"1234", 1234}, {" 1234", 1234}, {":1234", 0},   {"12 34", 1234}, {"1234abc", 1234},
      {"", 0},        {"abc", 0},      {"-5", -5},     {"2.5", 2.5},    {"7e", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseLeadingNumber(c.text), c.expected) << "text [" << c.text << "]";
  }
}

TEST(FormatValueText, PutsOneBlankBeforeValuesThatAreNotNegative) {
  EXPECT_EQ(FormatValueText(5), " 5");
  EXPECT_EQ(FormatValueText(100), " 100");
  EXPECT_EQ(FormatValueText(0), " 0");
  EXPECT_EQ(FormatValueText(-3), "-3");
  EXPECT_EQ(FormatValueText(-2147483647 - 1), "-2147483648");
}

TEST(FormatValueText, ReadsBackAsTheSameNumber) {
  for (std::int32_t value : {0, 1, -1, 300, 2147483647, -2147483647 - 1}) {
    EXPECT_EQ(ParseWholeNumber(FormatValueText(value)), value);
  }
}

}  // namespace
}  // namespace quillmere::startup
