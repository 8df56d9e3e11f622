#include "saver/headless.h"

#include <gtest/gtest.h>

#include "tests/support/canvas_hash.h"

namespace quillmere::saver {
namespace {

// The whole picture: the Windows build, hashed under Wine, must draw these too.
TEST(RenderHeadless, CanvasHashesMatchTheRecordedOnes) {
  for (const testing::RecordedCanvas& recorded : testing::kRecordedCanvases) {
    EXPECT_EQ(testing::CanvasHash(RenderHeadless(recorded.run)), recorded.hash)
        << "Kind " << recorded.run.settings.Kind;
  }
}

}  // namespace
}  // namespace quillmere::saver
