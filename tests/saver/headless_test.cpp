#include "saver/headless.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/canvas_hash.h"

namespace quillmere::saver {
namespace {

// The whole picture: the Windows build, hashed under Wine, must match this file too.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  std::ifstream file(QUILLMERE_CANVAS_HASHES);
  ASSERT_TRUE(file) << QUILLMERE_CANVAS_HASHES;
  for (const testing::RecordedCanvas& row : testing::RecordedCanvases(file)) {
    EXPECT_EQ(testing::HashOfRun(row.run), row.hash) << row.line;
  }
}

}  // namespace
}  // namespace quillmere::saver
