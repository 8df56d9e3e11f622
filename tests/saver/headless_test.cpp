#include "saver/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace quillmere::saver {
namespace {

// The same runs are hashed from the Windows build under Wine; both must match this file.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  std::ifstream file(QUILLMERE_CANVAS_HASHES);
  ASSERT_TRUE(file) << QUILLMERE_CANVAS_HASHES;
  int runs = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    HeadlessRun run;
    startup::SettingsValues& s = run.settings;
    std::string expected;
    fields >> run.width >> run.height >> run.frames >> run.seed >> s.Kind >> s.Size >> s.Speed >> s.Num >>
        s.Intval >> s.Sync >> expected;
    char hash[32];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(CanvasHash(RenderHeadless(run))));
    EXPECT_EQ(hash, expected) << line;
    ++runs;
  }
  EXPECT_EQ(runs, 6);
}

}  // namespace
}  // namespace quillmere::saver
