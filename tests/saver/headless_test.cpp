#include "saver/headless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace quillmere::saver {
namespace {

// Every turn, step, wrap and disc of these runs shows in their hashes; the Windows build, hashed
// under Wine, must match this file too.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  std::ifstream file(QUILLMERE_CANVAS_HASHES);
  ASSERT_TRUE(file) << QUILLMERE_CANVAS_HASHES;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    HeadlessRun run;
    startup::SettingsValues& s = run.settings;
    std::uint64_t expected = 0;
    fields >> run.width >> run.height >> run.frames >> run.seed >> s.Kind >> s.Size >> s.Speed >>
        s.Num >> s.Intval >> s.Sync >> std::hex >> expected;
    EXPECT_EQ(CanvasHash(RenderHeadless(run)), expected) << line;
  }
}

}  // namespace
}  // namespace quillmere::saver
