// A saver window host that keeps its canvas in memory and lets a test act inside each yield.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <list>
#include <set>
#include <stdexcept>
#include <vector>

#include "platform/saver_host.h"
#include "saver/saver_window.h"
#include "tests/fake_platform.h"

namespace quillmere::testing {

struct FakeSaverHost final : platform::SaverHost {
  std::vector<std::uint32_t> canvas;
  std::vector<platform::Rect> covers;  // by the cover's number
  std::list<std::vector<std::uint32_t>> cover_canvases;
  int presents = 0;
  int yields = 0;
  int waits = 0;  // yields that waited for a message
  int destroyed = 0;
  bool input_pending = false;
  bool surfaces_fail = false;         // the window or its canvas cannot be made
  bool session_display_told = false;  // the system tells the session's own display state
  bool cover_canvases_fail = false;   // so cannot the covers' canvases
  std::uint64_t milliseconds = 0;     // a millisecond passes at each reading
  std::function<void(int)> on_yield;  // called with the yield's number, from 1

  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t w, std::int32_t h) override {
    canvas.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
    if (surfaces_fail) return std::nullopt;
    return canvas;
  }
  void EnableTimer() override {}
  void ShowTopmost() override {}
  std::optional<std::span<std::uint32_t>> ShowCover(std::size_t cover, const platform::Rect& area,
                                                    bool animated) override {
    covers.resize(cover);
    covers.push_back(area);
    if (!animated || cover_canvases_fail) return std::nullopt;
    return cover_canvases.emplace_back(static_cast<std::size_t>(area.right - area.left) *
                                       static_cast<std::size_t>(area.bottom - area.top));
  }
  void RemoveCoversFrom(std::size_t count) override {
    covers.resize(std::min(covers.size(), count));
  }
  void PresentCanvases() override { ++presents; }
  bool ListenForDisplayState(platform::DisplaySource source) override {
    return source == platform::DisplaySource::Console || session_display_told;
  }
  void DispatchPending() override {
    if (++yields > 10000) throw std::runtime_error("the saver never ended");
    if (on_yield) on_yield(yields);
  }
  void WaitForMessages() override {
    ++waits;
    DispatchPending();
  }
  bool InputPending() override { return input_pending; }
  std::uint64_t Milliseconds() override { return ++milliseconds; }
  platform::WindowHandle Window() override { return 0x5AFE; }
  void DestroyAndEnd() override { ++destroyed; }
};

// One saver window with everything it reaches faked, on a w x h pixel screen.
struct SaverRig {
  static constexpr startup::SettingsValues kDefaults = startup::DefaultSettings();
  FakePlatform system;
  FakeSaverHost host;
  saver::RandomSource random;
  startup::SettingsValues settings;
  startup::StartState start;
  saver::SaverWindow saver;

  explicit SaverRig(startup::SettingsValues values = kDefaults, std::string args = "/s",
                    double w = 1024, double h = 768, std::uint64_t seed = 2024,
                    saver::SaverLimits limits = {})
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

inline std::set<std::uint32_t> Painted(const saver::Scene& scene) {
  return {scene.canvas().Pixels().begin(), scene.canvas().Pixels().end()};
}

inline bool AllAt(const saver::Scene& scene, std::int32_t x, std::int32_t y) {
  return std::ranges::all_of(scene.Crawlers(),
                             [&](const saver::Crawler& c) { return c.PosX == x && c.PosY == y; });
}

}  // namespace quillmere::testing
