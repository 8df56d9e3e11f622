// "canvas_check HASHES" draws each recorded run of the hashes file with this build's saver core and
// compares the canvas hashes; it also checks that a memory surface's first pixel row is the top
// one GDI sees. Exit code 0 when all agree; what differs goes to canvas_check.txt beside it.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "startup/command_line.h"
#include "tests/support/canvas_hash.h"
#include "win32/memory_surface.h"
#include "win32/text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  std::ifstream hashes(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::ostringstream report;
  const std::vector<testing::RecordedCanvas> rows = testing::RecordedCanvases(hashes);
  for (const testing::RecordedCanvas& row : rows) {
    const std::string got = testing::HashOfRun(row.run);
    if (got != row.hash) report << row.line << " drew " << got << "\n";
  }
  win32::MemorySurface surface;
  bool top_row_first = surface.Create(2, 2);
  if (top_row_first) {
    surface.pixels()[0] = 0xFF0000;  // red, as the canvas holds it
    top_row_first = GetPixel(surface.dc(), 0, 0) == RGB(255, 0, 0);
  }
  if (!top_row_first) report << "the surface's first row is not its top row\n";
  if (rows.empty()) report << "no recorded runs\n";
  std::ofstream("canvas_check.txt") << report.str();
  return report.str().empty() ? 0 : 1;
}
