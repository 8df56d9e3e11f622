// Frames per second of the real saver window under Windows, beside two references on an
// identical full-screen window: naive GDI discs, and the copy and yield alone.
// "saver_fps saver|naive-gdi|blit-only FRAMES" writes the measured fps to fps.txt beside itself.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/saver_surfaces.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "saver/colour_patterns.h"
#include "saver/saver_window.h"
#include "startup/command_line.h"

namespace {

using namespace quillmere;

// The settings every mode draws with.
constexpr startup::SettingsValues kBenchSettings{3, 20, 5, 200, 10, 0};
constexpr int kWarmUpFrames = 20;

using Clock = std::chrono::steady_clock;

std::wstring BesideMe(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

template <typename Frame>
double FramesPerSecond(int frames, Frame frame) {
  for (int i = 0; i < kWarmUpFrames; ++i) frame();
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < frames; ++i) frame();
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  return frames / elapsed.count();
}

double RunSaver(HINSTANCE instance, int frames) {
  win32::Win32Platform system(instance);
  win32::Win32SaverHost host(instance);
  win32::LocalTimeOfDay clock;
  saver::RandomSource random(1, &clock);
  startup::StartState start{"/s", -1};
  saver::SaverWindow window({system, system, system, system, host}, random, kBenchSettings, start);
  host.Attach(&window);
  window.PrepareSaver();
  window.StartAnimation();
  return FramesPerSecond(frames, [&] { window.RunFrame(); });
}

// What a plain GDI saver would do: one Ellipse per crawler with the DC brush and pen.
double RunNaiveGdi(HINSTANCE instance, int frames, bool draw) {
  win32::Win32SaverHost host(instance);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  host.PrepareSurfaces(width, height);
  host.ShowTopmost();
  HDC buffer = host.BufferDC();
  SelectObject(buffer, GetStockObject(DC_BRUSH));
  SelectObject(buffer, GetStockObject(DC_PEN));
  saver::RandomSource random(1);
  const std::vector<saver::Colour> colours = saver::PatternColours(3, static_cast<float>(width), random);
  std::vector<POINT> heads(static_cast<std::size_t>(kBenchSettings.Num), POINT{width / 2, height / 2});
  std::size_t colour = 0;
  const int r = kBenchSettings.Size;
  return FramesPerSecond(frames, [&] {
    if (draw) {
      const COLORREF c = static_cast<COLORREF>(colours[colour]);
      SetDCBrushColor(buffer, c);
      SetDCPenColor(buffer, c);
      for (POINT& p : heads) {
        p.x = (p.x + saver::RandomBetween(random, -5, 5) + width) % width;
        p.y = (p.y + saver::RandomBetween(random, -5, 5) + height) % height;
        Ellipse(buffer, p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
      }
      colour = (colour + 1) % colours.size();
    }
    host.PresentCanvas();
    host.DispatchPending();
  });
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::istringstream args(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::string mode;
  int frames = 0;
  args >> mode >> frames;
  if (frames <= 0) return 2;
  double fps = 0;
  if (mode == "saver") fps = RunSaver(instance, frames);
  else if (mode == "naive-gdi") fps = RunNaiveGdi(instance, frames, true);
  else if (mode == "blit-only") fps = RunNaiveGdi(instance, frames, false);
  else return 2;
  std::FILE* out = _wfopen(BesideMe(L"fps.txt").c_str(), L"w");
  if (out == nullptr) return 3;
  std::fprintf(out, "%.2f\n", fps);
  std::fclose(out);
  ExitProcess(0);
}
