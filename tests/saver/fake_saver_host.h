// A saver window host that keeps its canvas in memory and lets a test act inside each yield.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/saver_host.h"

namespace quillmere::testing {

struct FixedClock final : platform::TimeOfDay {
  float seconds = 43200.0f;
  float SecondsSinceMidnight() override { return seconds; }
};

struct FakeSaverHost final : platform::SaverHost {
  std::vector<std::uint32_t> canvas;
  std::vector<platform::Rect> covers;  // by the cover's number
  int timers_enabled = 0, shown = 0, presents = 0, yields = 0, destroyed = 0;
  bool input_pending = false;
  std::uint64_t milliseconds = 0, milliseconds_per_look = 0;  // the clock moves at each reading
  std::function<void(int)> on_yield;                         // called with the yield's number, from 1

  bool surfaces_fail = false;  // the window or its canvas cannot be made
  std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t w, std::int32_t h) override {
    canvas.assign(surfaces_fail ? 0 : static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
    return surfaces_fail ? std::nullopt : std::optional<std::span<std::uint32_t>>(canvas);
  }
  void EnableTimer() override { ++timers_enabled; }
  void ShowTopmost() override { ++shown; }
  void ShowCover(std::size_t cover, const platform::Rect& area) override {
    covers.resize(std::max(covers.size(), cover + 1));
    covers[cover] = area;
  }
  void RemoveCoversFrom(std::size_t count) override { covers.resize(std::min(covers.size(), count)); }
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

}  // namespace quillmere::testing
