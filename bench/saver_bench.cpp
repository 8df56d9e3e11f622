// Speed of the saver's core at the dialog's heaviest settings (Size 20, Num 200), in µs a frame:
// the whole frame, its movement alone and its discs alone, on 1920x1080 and on two monitors.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/quiet_system.h"
#include "saver/canvas.h"
#include "saver/saver_window.h"

namespace {

using namespace quillmere;

constexpr std::int32_t kSize = 20;
constexpr std::int32_t kRecordedFrames = 64;
constexpr std::int32_t kSpreadingFrames = 5000;

// The screens a run lays out: the primary first, then the others from its right edge.
struct Layout {
  std::vector<platform::Rect> screens;
};
const Layout kOneScreen{{{0, 0, 1920, 1080}}};
const Layout kTwoMonitors{{{0, 0, 1024, 768}, {1024, 0, 1824, 600}}};

// A saver at Num 200, Speed 5 on the layout's monitors; Size as given.
struct BenchSaver {
  bench::QuietSystem system;
  saver::RandomSource random{1};
  startup::SettingsValues settings;
  startup::StartState start{"/s", -1};
  saver::SaverWindow window;

  BenchSaver(const Layout& layout, std::int32_t size)
      : system(layout.screens),
        settings{3, size, 5, 200, 10, 0},
        window(saver::SaverServices{system, system, system, system, system}, random,
               saver::RulesFor(startup::Mode::FullScreen), settings, start) {
    window.PrepareSaver();
    window.StartAnimation();
    // Crawlers start at the centre, where their discs overlap; they are timed once spread out.
    for (std::int32_t i = 0; i < kSpreadingFrames; ++i) Frame();
  }
  void Frame() { window.RunFrame(); }
};

const Layout& LayoutOf(const benchmark::State& state) {
  return state.range(0) == 1 ? kOneScreen : kTwoMonitors;
}

// The whole frame: every crawler's step and disc.
void BM_Frame(benchmark::State& state) {
  BenchSaver saver(LayoutOf(state), kSize);
  for (auto _ : state) saver.Frame();
}

// Turn, step, wrap and the three draws with re-seed, without a disc (Size below 0 draws none).
void BM_FrameMovement(benchmark::State& state) {
  BenchSaver saver(LayoutOf(state), -1);
  for (auto _ : state) saver.Frame();
}

// The discs of recorded frames stamped in the saver's order on canvases of the screens' sizes.
void BM_FrameDiscs(benchmark::State& state) {
  const Layout& layout = LayoutOf(state);
  BenchSaver saver(layout, -1);
  struct Disc {
    std::size_t screen;
    std::int32_t x;
    std::int32_t y;
  };
  std::vector<std::vector<Disc>> frames(kRecordedFrames);
  for (std::vector<Disc>& frame : frames) {
    saver.Frame();
    for (const saver::Crawler& c : saver.window.Primary().Crawlers())
      frame.push_back({0, c.PosX, c.PosY});
    std::size_t screen = 1;
    for (const saver::Scene& scene : saver.window.Others()) {
      for (const saver::Crawler& c : scene.Crawlers()) frame.push_back({screen, c.PosX, c.PosY});
      ++screen;
    }
  }
  std::vector<std::vector<std::uint32_t>> memory;
  std::vector<saver::Canvas> canvases;
  for (const platform::Rect& screen : layout.screens) {
    const std::int32_t w = screen.right - screen.left;
    const std::int32_t h = screen.bottom - screen.top;
    memory.emplace_back(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  }
  for (std::size_t i = 0; i < memory.size(); ++i) {
    const platform::Rect& screen = layout.screens[i];
    canvases.emplace_back(memory[i], screen.right - screen.left, screen.bottom - screen.top);
  }
  std::size_t next = 0;
  std::uint32_t pixel = 0x00FFAA00u;
  for (auto _ : state) {
    for (const Disc& d : frames[next]) canvases[d.screen].StampDisc(d.x, d.y, kSize, pixel);
    next = (next + 1) % frames.size();
    pixel += 0x010203u;
    benchmark::ClobberMemory();
  }
}

void Layouts(benchmark::internal::Benchmark* b) {
  b->ArgName("monitors")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_Frame)->Apply(Layouts);
BENCHMARK(BM_FrameMovement)->Apply(Layouts);
BENCHMARK(BM_FrameDiscs)->Apply(Layouts);

}  // namespace

BENCHMARK_MAIN();
