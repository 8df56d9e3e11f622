// A saver window host that keeps its canvas in memory and lets a test act inside each yield.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/saver_host.h"
#include "saver/saver_window.h"
#include "tests/fake_platform.h"

namespace quillmere::testing {

struct FixedClock final : platform::TimeOfDay {
  float seconds = 43200.0f;
  float SecondsSinceMidnight() override { return seconds; }
};

struct FakeSaverHost final : platform::SaverHost {
  std::vector<std::uint32_t> canvas;
  std::vector<platform::Rect> covers;  // by the cover's number
  int timers_enabled = 0, shown = 0, presents = 0, yields = 0, destroyed = 0;
  bool input_pending = false,
       surfaces_fail = false;  // surfaces_fail: the window or its canvas cannot be made
  std::uint64_t milliseconds = 0, milliseconds_per_look = 0;  // the clock moves at each reading
  std::function<void(int)> on_yield;  // called with the yield's number, from 1
  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t w, std::int32_t h) override {
    canvas.assign(surfaces_fail ? 0 : static_cast<std::size_t>(w) * static_cast<std::size_t>(h),
                  0u);
    return surfaces_fail ? std::nullopt : std::optional<std::span<std::uint32_t>>(canvas);
  }
  void EnableTimer() override { ++timers_enabled; }
  void ShowTopmost() override { ++shown; }
  void ShowCover(std::size_t cover, const platform::Rect& area) override {
    covers.resize(std::max(covers.size(), cover + 1));
    covers[cover] = area;
  }
  void RemoveCoversFrom(std::size_t count) override {
    covers.resize(std::min(covers.size(), count));
  }
  void PresentCanvas() override { ++presents; }
  void DispatchPending() override {
    ++yields;
    if (on_yield) on_yield(yields);
  }
  bool InputPending() override { return input_pending; }
  std::uint64_t Milliseconds() override { return milliseconds += milliseconds_per_look; }
  platform::WindowHandle Window() override { return 0x5AFE; }
  void DestroyAndEnd() override { ++destroyed; }
};

// One saver window with everything it reaches faked, on a w x h pixel screen.
struct SaverRig {
  static constexpr startup::SettingsValues kDefaults = {0, 5, 5, 100, 10, 0};
  FakePlatform system;
  FakeSaverHost host;
  FixedClock clock;
  saver::RandomSource random;
  startup::SettingsValues settings;
  startup::StartState start;
  saver::SaverWindow saver;

  explicit SaverRig(startup::SettingsValues values = kDefaults, std::string args = "/s",
                    double w = 1024, double h = 768, std::uint64_t seed = 2024,
                    saver::SaverLimits limits = {})
      : random(seed, &clock),
        settings(values),
        start{std::move(args), -1},
        saver({system, system, system, system, host}, random, settings, start, limits) {
    system.screen_width_twips = w * 15, system.screen_height_twips = h * 15;
  }
  saver::SaverWindow* operator->() { return &saver; }
  void Load() { saver.PrepareSaver(), saver.StartAnimation(); }
  std::span<saver::Crawler> Crawlers() {
    return saver.Crawlers().subspan(saver.Crawlers().empty() ? 0 : 1);
  }
  std::set<std::uint32_t> Painted() const { return {host.canvas.begin(), host.canvas.end()}; }
  bool AllAt(std::int32_t x, std::int32_t y) {
    return std::ranges::all_of(Crawlers(),
                               [&](const saver::Crawler& c) { return c.PosX == x && c.PosY == y; });
  }
  bool AllOnScreen(std::int32_t w, std::int32_t h) {
    return std::ranges::all_of(Crawlers(), [&](const saver::Crawler& c) {
      return c.PosX >= 0 && c.PosX <= w && c.PosY >= 0 && c.PosY <= h && c.Heading >= 0 &&
             c.Heading < 360;
    });
  }
};

}  // namespace quillmere::testing
