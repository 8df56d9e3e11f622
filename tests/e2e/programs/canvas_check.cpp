// Draws each recorded canvas with this build's saver core and compares the hashes; also checks
// that a memory surface's first pixel row is the top one GDI sees. Exit code 0 when all agree;
// what differs goes to canvas_check.txt beside it.
#include <windows.h>

#include <fstream>

#include "tests/support/canvas_hash.h"
#include "win32/memory_surface.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  std::ofstream report("canvas_check.txt");
  bool agree = true;
  for (const testing::RecordedCanvas& recorded : testing::kRecordedCanvases) {
    const std::uint64_t hash = testing::CanvasHash(saver::RenderHeadless(recorded.run));
    if (hash != recorded.hash) report << "Kind " << recorded.run.settings.Kind << " drew " << hash << "\n";
    agree = agree && hash == recorded.hash;
  }
  win32::MemorySurface surface;
  bool top_row_first = surface.Create(2, 2);
  if (top_row_first) {
    surface.pixels()[0] = 0xFF0000;  // red, as the canvas holds it
    top_row_first = GetPixel(surface.dc(), 0, 0) == RGB(255, 0, 0);
  }
  if (!top_row_first) report << "the surface's first row is not its top row\n";
  return agree && top_row_first ? 0 : 1;
}
