#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace quillmere::startup {
namespace {

TEST(ArgumentTextOf, DropsTheProgramPathAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentTextOf("C:\\x\\quillmere.scr /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentTextOf("\"C:\\My Savers\\quillmere.scr\"   /s"), "/s");
  EXPECT_EQ(ArgumentTextOf("quillmere.scr"), "");
  EXPECT_EQ(ArgumentTextOf("quillmere.scr   "), "");
  EXPECT_EQ(ArgumentTextOf("\"C:\\unterminated"), "");
}

TEST(ModeLetter, IsTheSecondCharacterUpperCased) {
  struct Case {
    const char* text;
    char32_t letter;
  };
  const Case cases[] = {
      {"/s", U'S'}, {"-S", U'S'}, {"xs", U'S'}, {"/p 1234", U'P'}, {"/c:5678", U'C'},
      {"s", 0},     {"/", 0},     {"", 0},      {"/x", U'X'},      {"/あ", U'あ'},
      {"あs", U'S'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModeLetter(c.text), c.letter) << "text [" << c.text << "]";
  }
}

TEST(WindowHandleArgument, StartsAtTheFourthCharacter) {
  EXPECT_EQ(WindowHandleArgument("/p 1234"), "1234");
  EXPECT_EQ(WindowHandleArgument("/p:1234"), "1234");
  EXPECT_EQ(WindowHandleArgument("/p"), "");
  EXPECT_EQ(WindowHandleArgument("/p "), "");
  EXPECT_EQ(WindowHandleArgument("/pあ12"), "12");
}

}  // namespace
}  // namespace quillmere::startup
