// Speed of the saver's core: one crawler's frame step, and disc stamping per pixel.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "saver/canvas.h"
#include "saver/scene.h"

namespace {

using namespace quillmere;

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;

// The primary's scene at Num 200, Speed 5 on a 1920x1080 canvas, Size as given; a frame is what
// the saver window's frame does to it.
struct BenchScene {
  std::vector<std::uint32_t> pixels;
  saver::RandomSource random{1};
  startup::SettingsValues settings;
  saver::Scene scene;

  explicit BenchScene(std::int32_t size)
      : pixels(static_cast<std::size_t>(kWidth) * kHeight),
        settings{3, size, 5, 200, 10, 0},
        scene(kWidth, kHeight, saver::Canvas(pixels, kWidth, kHeight)) {
    scene.Populate(settings, settings.Num, random);
    scene.BuildColourTable(settings.Sync, random);
  }
  void Frame() {
    scene.TakeFrameColour(settings.Sync);
    for (std::int32_t i = 1; i <= scene.CrawlerCount(); ++i) {
      scene.MoveAndStamp(i, settings, random);
    }
    scene.AdvanceFrameColour(settings.Sync);
  }
};

// Turn, step, wrap and the three draws with re-seed, without a disc (Size below 0 draws none).
void BM_FrameStepPerCrawler(benchmark::State& state) {
  BenchScene saver(-1);
  for (auto _ : state) saver.Frame();
  state.SetItemsProcessed(state.iterations() * saver.settings.Num);
}
BENCHMARK(BM_FrameStepPerCrawler);

// The whole frame at Size 20, per crawler: the step and its disc.
void BM_FramePerCrawlerSize20(benchmark::State& state) {
  BenchScene saver(20);
  for (auto _ : state) saver.Frame();
  state.SetItemsProcessed(state.iterations() * saver.settings.Num);
}
BENCHMARK(BM_FramePerCrawlerSize20);

// Stamping radius-20 discs across the canvas, per pixel painted.
void BM_StampDiscPerPixel(benchmark::State& state) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  saver::Canvas canvas(pixels, kWidth, kHeight);
  constexpr std::int32_t kRadius = 20;
  std::int64_t disc_pixels = 0;
  for (std::int32_t dy = -kRadius; dy <= kRadius; ++dy) {
    for (std::int32_t dx = -kRadius; dx <= kRadius; ++dx)
      disc_pixels += dx * dx + dy * dy <= kRadius * kRadius;
  }
  std::int32_t x = 100;
  std::int32_t y = 100;
  for (auto _ : state) {
    canvas.StampDisc(x, y, kRadius, 0x00FFAA00u);
    x = (x + 97) % (kWidth - 2 * kRadius) + kRadius;
    y = (y + 61) % (kHeight - 2 * kRadius) + kRadius;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * disc_pixels);
}
BENCHMARK(BM_StampDiscPerPixel);

}  // namespace

BENCHMARK_MAIN();
