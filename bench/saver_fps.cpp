// Frames per second of the real saver window under Windows, on every monitor, beside two
// references on the same windows: naive GDI discs on the primary, and the copies and yield alone.
// The three take turns in short runs, so a busy machine slows them alike.
// "saver_fps FRAMES [shipped]" writes "saver naive-gdi blit-only" fps, the pixels of all the
// screens (which the references copy whole each frame, the saver only where its discs fell) and
// the saver's drawing in µs a frame (from the frame's start to its copies) to fps.txt beside
// itself; with "shipped" all draw with the settings the saver ships with, else with the largest
// discs and crawler count the dialog offers. The drawing is timed in a stretch of the saver's own
// frames after the turns. "saver_fps paced SECONDS" times the paced saver.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "win32/saver_surfaces.h"
#include "win32/text.h"
#include "win32/win32_platform.h"
#include "saver/colour_patterns.h"
#include "saver/saver_window.h"
#include "startup/command_line.h"

namespace {

using namespace quillmere;

// The hue wheel with the dialog's largest discs and most crawlers.
constexpr startup::SettingsValues kHeavySettings{3, 20, 5, 200, 10, 0};

constexpr int kWarmUpFrames = 20;
// Crawlers start at the centre, where their discs overlap; they are timed once spread out.
constexpr int kSpreadingFrames = 5000;
constexpr std::int32_t kPacedRate = 60;
constexpr DWORD kLingerMs = 2000;

using Clock = std::chrono::steady_clock;

std::wstring BesideMe(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

constexpr int kFramesPerTurn = 25;

// What a plain GDI saver would draw: one Ellipse per crawler with the DC brush and pen.
class NaiveGdi {
 public:
  NaiveGdi(HDC buffer, int width, int height, const startup::SettingsValues& settings)
      : buffer_(buffer),
        width_(width),
        height_(height),
        radius_(settings.Size),
        heads_(static_cast<std::size_t>(settings.Num), POINT{width / 2, height / 2}) {
    SelectObject(buffer_, GetStockObject(DC_BRUSH));
    SelectObject(buffer_, GetStockObject(DC_PEN));
    colours_ = saver::PatternColours(settings.Kind, static_cast<float>(width), random_);
  }

  void Draw() {
    const auto c = static_cast<COLORREF>(colours_[next_colour_]);
    SetDCBrushColor(buffer_, c);
    SetDCPenColor(buffer_, c);
    const int r = radius_;
    for (POINT& p : heads_) {
      p.x = (p.x + saver::RandomBetween(random_, -5, 5) + width_) % width_;
      p.y = (p.y + saver::RandomBetween(random_, -5, 5) + height_) % height_;
      Ellipse(buffer_, p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
    }
    next_colour_ = (next_colour_ + 1) % colours_.size();
  }

 private:
  HDC buffer_;
  int width_;
  int height_;
  int radius_;
  std::vector<POINT> heads_;
  saver::RandomSource random_{1};
  std::vector<saver::Colour> colours_;
  std::size_t next_colour_ = 0;
};

// The window's host, timing each saver frame from its start to its copies: the saver's drawing.
class DrawingTimer final : public platform::SaverHost {
 public:
  explicit DrawingTimer(win32::Win32SaverHost& host) : host_(host) {}

  void StartFrame() { frame_started_ = Clock::now(); }
  void Reset() { drawing_ = {}; }
  std::chrono::duration<double, std::micro> Drawing() const { return drawing_; }

  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t width,
                                                          std::int32_t height) override {
    return host_.PrepareSurfaces(width, height);
  }
  void EnableTimer() override { host_.EnableTimer(); }
  void ShowTopmost() override { host_.ShowTopmost(); }
  std::optional<std::span<std::uint32_t>> ShowCover(std::size_t cover, const platform::Rect& area,
                                                    bool animated) override {
    return host_.ShowCover(cover, area, animated);
  }
  void RemoveCoversFrom(std::size_t count) override { host_.RemoveCoversFrom(count); }
  // The window is presented first, so the frame's drawing ends there.
  void PresentWindow(const platform::CanvasChanges& changes) override {
    drawing_ += Clock::now() - frame_started_;
    ++presents_;
    host_.PresentWindow(changes);
  }
  void PresentCover(std::size_t cover, const platform::CanvasChanges& changes) override {
    host_.PresentCover(cover, changes);
  }
  bool ListenForMonitorPower(platform::PowerSource source) override {
    return host_.ListenForMonitorPower(source);
  }
  bool ListenForEnergySaver() override { return host_.ListenForEnergySaver(); }
  std::int32_t RefreshRate() override { return host_.RefreshRate(); }
  void DispatchPending() override { host_.DispatchPending(); }
  void WaitForMessages() override { host_.WaitForMessages(); }
  void WaitForMessagesUntil(std::uint64_t deadline) override {
    host_.WaitForMessagesUntil(deadline);
  }
  bool InputPending() override { return host_.InputPending(); }
  std::uint64_t Microseconds() override { return host_.Microseconds(); }
  platform::WindowHandle Window() override { return host_.Window(); }
  void DestroyAndEnd() override { host_.DestroyAndEnd(); }
  std::int64_t Presents() const { return presents_; }

 private:
  win32::Win32SaverHost& host_;
  Clock::time_point frame_started_;
  Clock::duration drawing_{};
  std::int64_t presents_ = 0;
};

// "paced SECONDS": the saver as it ships with FrameRate=60, for SECONDS after a second's warm-up
// (marked by measuring.txt, for the CPU's reading from outside), then its frames a second to
// paced.txt, which ends the reading.
int RunPaced(saver::SaverWindow& window, DrawingTimer& timer, int seconds) {
  const auto run_for = [&](std::chrono::duration<double> length) {
    const Clock::time_point started = Clock::now();
    while (Clock::now() - started < length) {
      timer.StartFrame();
      window.RunFrame();
    }
    return Clock::now() - started;
  };
  run_for(std::chrono::seconds(1));
  if (std::FILE* mark = _wfopen(BesideMe(L"measuring.txt").c_str(), L"w")) std::fclose(mark);
  const std::int64_t before = timer.Presents();
  const std::chrono::duration<double> took = run_for(std::chrono::seconds(seconds));
  std::FILE* out = _wfopen(BesideMe(L"paced.txt").c_str(), L"w");
  if (out == nullptr) return 3;
  std::fprintf(out, "%.1f\n", static_cast<double>(timer.Presents() - before) / took.count());
  std::fclose(out);
  Sleep(kLingerMs);  // still there while its time is read from outside
  ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::istringstream args(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::string first;
  std::string which;
  args >> first >> which;
  const bool paced = first == "paced";
  const int frames = paced ? 0 : std::atoi(first.c_str());
  if (!paced && frames <= 0) return 2;
  startup::SettingsValues settings =
      which == "shipped" || paced ? startup::DefaultSettings() : kHeavySettings;
  if (paced) settings.FrameRate = kPacedRate;

  win32::Win32Platform system(instance);
  win32::Win32SaverHost host(instance);
  DrawingTimer timer(host);
  win32::LocalTimeOfDay clock;
  saver::RandomSource random(1, &clock);
  startup::StartState start{"/s", -1};
  saver::SaverWindow window({system, system, system, system, timer}, random,
                            saver::RulesFor(startup::Mode::FullScreen), settings, start);
  host.Attach(&window);
  window.PrepareSaver();
  window.StartAnimation();
  if (paced) return RunPaced(window, timer, std::atoi(which.c_str()));
  NaiveGdi naive(host.BufferDC(), window.Primary().ScreenW(), window.Primary().ScreenH(), settings);

  // The references copy every canvas whole, as the saver did before it copied only what changed.
  const auto copy_everything = [&] {
    host.PresentWindow({.whole = true});
    for (std::size_t cover = 0; cover < window.Others().size(); ++cover)
      host.PresentCover(cover, {.whole = true});
    host.DispatchPending();
  };
  auto saver_frame = [&] {
    timer.StartFrame();
    window.RunFrame();
  };
  auto naive_frame = [&] {
    naive.Draw();
    copy_everything();
  };
  auto blit_frame = [&] { copy_everything(); };
  std::chrono::duration<double> spent[3] = {};
  auto take_turn = [&](int mode, auto& frame, int count) {
    const Clock::time_point started = Clock::now();
    for (int i = 0; i < count; ++i) frame();
    spent[mode] += Clock::now() - started;
  };
  for (int i = 0; i < kSpreadingFrames; ++i) window.RunFrame();
  for (int i = 0; i < kWarmUpFrames; ++i) {
    saver_frame();
    naive_frame();
    blit_frame();
  }
  for (int done = 0; done < frames; done += kFramesPerTurn) {
    const int count = std::min(kFramesPerTurn, frames - done);
    take_turn(0, saver_frame, count);
    take_turn(1, naive_frame, count);
    take_turn(2, blit_frame, count);
  }
  // The drawing is timed in frames of the saver's own, as it runs: the references' whole copies
  // would leave its canvas out of the cache at the start of every turn.
  timer.Reset();
  for (int i = 0; i < frames; ++i) saver_frame();

  std::FILE* out = _wfopen(BesideMe(L"fps.txt").c_str(), L"w");
  if (out == nullptr) return 3;
  std::int64_t pixels = std::int64_t{window.Primary().ScreenW()} * window.Primary().ScreenH();
  for (const saver::Scene& scene : window.Others()) {
    pixels += std::int64_t{scene.ScreenW()} * scene.ScreenH();
  }
  std::fprintf(out, "%.1f %.1f %.1f %lld %.1f\n", frames / spent[0].count(),
               frames / spent[1].count(), frames / spent[2].count(), static_cast<long long>(pixels),
               timer.Drawing().count() / frames);
  std::fclose(out);
  ExitProcess(0);
}
