// A saver window host that keeps its canvas in memory and lets a test act inside each yield.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "platform/saver_host.h"
#include "saver/saver_window.h"
#include "tests/fake_platform.h"

namespace quillmere::testing {

// A window's canvas and what the window shows, each copy taking the canvas's pixels in its boxes.
struct FakeSurface {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> canvas;
  std::vector<std::uint32_t> screen;
  std::int64_t copied = 0;  // pixels, over all copies

  void Make(std::int32_t w, std::int32_t h) {
    width = w;
    height = h;
    canvas.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
    screen = canvas;
  }
  void Copy(platform::Rect box) {
    if (box.left < 0 || box.top < 0 || box.right > width || box.bottom > height)
      throw std::out_of_range("a copy beyond the canvas");
    copied += std::int64_t{box.right - box.left} * (box.bottom - box.top);
    for (std::int64_t at = std::int64_t{box.top} * width; at < std::int64_t{box.bottom} * width;
         at += width)
      std::copy(canvas.begin() + at + box.left, canvas.begin() + at + box.right,
                screen.begin() + at + box.left);
  }
  void Present(const platform::CanvasChanges& changes) {
    if (changes.whole) Copy({0, 0, width, height});
    for (const platform::Rect& box : changes.boxes) Copy(box);
  }
};

struct FakeSaverHost final : platform::SaverHost {
  FakeSurface window;
  std::vector<platform::Rect> covers;                 // by the cover's number
  std::map<std::size_t, FakeSurface> cover_surfaces;  // the animated covers', by number
  int yields = 0;
  int waits = 0;  // yields that waited for a message
  int destroyed = 0;
  bool surfaces_fail = false;        // the window or its canvas cannot be made
  bool session_power_told = false;   // the system tells the session's own monitor power
  bool cover_canvases_fail = false;  // so cannot the covers' canvases
  bool energy_saver = false;
  std::int32_t refresh_rate = 0;
  std::uint64_t now = 0;                    // microseconds
  std::uint64_t per_reading = 1000;         // how far each reading moves the clock
  std::optional<std::uint64_t> message_at;  // when the next message arrives, ending a wait
  std::vector<std::uint64_t> frame_times;   // when each frame was presented
  std::function<void(int)> on_yield;        // called with the yield's number, from 1

  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t w, std::int32_t h) override {
    window.Make(w, h);
    if (surfaces_fail) return std::nullopt;
    return window.canvas;
  }
  void EnableTimer() override {}
  void ShowTopmost() override {}
  std::optional<std::span<std::uint32_t>> ShowCover(std::size_t cover, const platform::Rect& area,
                                                    bool animated) override {
    covers.resize(cover);
    covers.push_back(area);
    cover_surfaces.erase(cover);
    if (!animated || cover_canvases_fail) return std::nullopt;
    FakeSurface& made = cover_surfaces[cover];
    made.Make(area.right - area.left, area.bottom - area.top);
    return made.canvas;
  }
  void RemoveCoversFrom(std::size_t count) override {
    covers.resize(std::min(covers.size(), count));
  }
  void PresentWindow(const platform::CanvasChanges& changes) override {
    frame_times.push_back(now);
    window.Present(changes);
  }
  void PresentCover(std::size_t number, const platform::CanvasChanges& changes) override {
    cover_surfaces.at(number).Present(changes);
  }
  bool ListenForMonitorPower(platform::PowerSource source) override {
    return source == platform::PowerSource::Console || session_power_told;
  }
  bool ListenForEnergySaver() override { return energy_saver; }
  std::int32_t RefreshRate() override { return refresh_rate; }
  void DispatchPending() override {
    if (++yields > 10000) throw std::runtime_error("the saver never ended");
    if (on_yield) on_yield(yields);
  }
  void WaitForMessages() override {
    ++waits;
    DispatchPending();
  }
  void WaitForMessagesUntil(std::uint64_t deadline) override {
    const bool message = message_at && *message_at < deadline;
    now = std::max(now, message ? *message_at : deadline);
    if (message) message_at.reset();
    DispatchPending();
  }
  bool InputPending() override { return false; }
  std::uint64_t Microseconds() override { return now += per_reading; }
  platform::WindowHandle Window() override { return 0x5AFE; }
  void DestroyAndEnd() override { ++destroyed; }
};

// One saver window with everything it reaches faked, on a w x h pixel screen.
struct SaverRig {
  FakePlatform system;
  FakeSaverHost host;
  saver::RandomSource random;
  startup::SettingsValues settings;
  startup::StartState start;
  saver::SaverWindow saver;

  explicit SaverRig(startup::SettingsValues values = startup::DefaultSettings(),
                    std::string args = "/s", double w = 1024, double h = 768,
                    std::uint64_t seed = 2024, saver::SaverLimits limits = {})
      : random(seed),
        settings(values),
        start{std::move(args), -1},
        saver({system, system, system, system, host}, random,
              saver::RulesFor(startup::ModeOf(start.argument_text)), settings, start, limits) {
    system.screen_width_twips = w * 15;
    system.screen_height_twips = h * 15;
  }
  saver::SaverWindow* operator->() { return &saver; }
  void Load() {
    saver.PrepareSaver();
    saver.StartAnimation();
  }
};

inline bool AllAt(const saver::Scene& scene, std::int32_t x, std::int32_t y) {
  return std::ranges::all_of(scene.Crawlers(),
                             [&](const saver::Crawler& c) { return c.PosX == x && c.PosY == y; });
}

}  // namespace quillmere::testing
