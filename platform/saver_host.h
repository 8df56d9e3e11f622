// What the full-screen saver needs from the system beyond platform.h: the time of day, and
// its window's surfaces, timer and message queue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/platform.h"

namespace quillmere::platform {

// Who tells the monitor's power state: the session's own monitor (Windows 8 on), or the console's.
enum class PowerSource { Session, Console };

// What was drawn on a canvas since it was last presented: all of it, or these boxes (pixels of
// the canvas, right and bottom edges excluded).
struct CanvasChanges {
  bool whole = false;
  std::span<const Rect> boxes = {};
};

// The time of day as the random source's re-seed reads it; must be cheap to call.
class TimeOfDay {
 public:
  virtual ~TimeOfDay() = default;
  // Seconds since local midnight, with fraction.
  virtual float SecondsSinceMidnight() = 0;
};

// The saver window as the platform builds it: a borderless black window with a visible
// surface and an off-screen canvas of the same size, a one-second timer, the queue, and a
// cover over every other monitor, black or with a canvas of its own.
class SaverHost {
 public:
  virtual ~SaverHost() = default;
  // Covers the primary screen with the window (made at the first call, moved and sized at the
  // next) and makes both surfaces width x height pixels, the canvas new and black; returns the
  // canvas memory, rows top to bottom, each pixel 0x00RRGGBB; empty when the window or the
  // canvas could not be made.
  virtual std::optional<std::span<std::uint32_t>> PrepareSurfaces(std::int32_t width,
                                                                  std::int32_t height) = 0;
  virtual void EnableTimer() = 0;
  // Shows the window normally (making it active), then topmost without moving or activating.
  virtual void ShowTopmost() = 0;
  // Shows a black topmost window over `area` (pixels relative to the primary's top-left) that
  // never takes the activation, or moves cover number `cover` there when it exists; its input
  // comes back to the saver tagged with `cover`. An `animated` cover gets a new black canvas of
  // its size, whose memory is returned as PrepareSurfaces returns the window's; empty when it
  // cannot be made, or for a cover that stays black.
  virtual std::optional<std::span<std::uint32_t>> ShowCover(std::size_t cover, const Rect& area,
                                                            bool animated) = 0;
  // Removes the covers numbered `count` and above.
  virtual void RemoveCoversFrom(std::size_t count) = 0;
  // Copies what changed on the window's canvas to its visible surface.
  virtual void PresentWindow(const CanvasChanges& changes) = 0;
  // Copies what changed on cover number `cover`'s canvas to that cover.
  virtual void PresentCover(std::size_t cover, const CanvasChanges& changes) = 0;
  // Asks to be told when the monitor's power state changes (WM_POWERBROADCAST); false where the
  // system cannot tell it from that source.
  virtual bool ListenForMonitorPower(PowerSource source) = 0;
  // Asks to be told when the energy saver (battery saver) goes on or off; its state now.
  virtual bool ListenForEnergySaver() = 0;
  // The primary monitor's refresh rate in hertz; 0 or 1 for the hardware's default.
  virtual std::int32_t RefreshRate() = 0;
  // Dispatches every message pending for the thread once.
  virtual void DispatchPending() = 0;
  // Sleeps until a message arrives, then dispatches every pending message once.
  virtual void WaitForMessages() = 0;
  // Sleeps until a message arrives or Microseconds() reaches `deadline`, then dispatches every
  // pending message once.
  virtual void WaitForMessagesUntil(std::uint64_t deadline) = 0;
  // True when keyboard or mouse input, or a message another program sent, waits in the queue.
  virtual bool InputPending() = 0;
  // A monotonic count of microseconds, for the frame's time budget and its pace.
  virtual std::uint64_t Microseconds() = 0;
  virtual WindowHandle Window() = 0;
  // Destroys the window and ends the process; on Windows this never returns.
  virtual void DestroyAndEnd() = 0;
};

}  // namespace quillmere::platform
