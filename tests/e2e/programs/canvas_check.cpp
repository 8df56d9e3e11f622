// "canvas_check HASHES" draws each recorded run of the hashes file with this build's saver core and
// compares the canvas hashes; it also checks that a memory surface's first pixel row is the top
// one GDI sees. Exit code 0 when all agree; what differs goes to canvas_check.txt beside it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "saver/headless.h"
#include "startup/command_line.h"
#include "win32/memory_surface.h"
#include "win32/text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  std::ifstream hashes(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::ostringstream report;
  std::string line;
  int rows = 0;
  while (std::getline(hashes, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    saver::HeadlessRun run;
    std::string want;
    row >> run.width >> run.height >> run.frames >> run.seed >> run.settings.Kind >>
        run.settings.Size >> run.settings.Speed >> run.settings.Num >> run.settings.Intval >>
        run.settings.Sync >> want;
    char got[20];
    std::snprintf(got, sizeof got, "%016llx",
                  static_cast<unsigned long long>(saver::CanvasHash(saver::RenderHeadless(run))));
    if (got != want) report << line << " drew " << got << "\n";
    ++rows;
  }
  win32::MemorySurface surface;
  bool top_row_first = surface.Create(2, 2);
  if (top_row_first) {
    surface.pixels()[0] = 0xFF0000;  // red, as the canvas holds it
    top_row_first = GetPixel(surface.dc(), 0, 0) == RGB(255, 0, 0);
  }
  if (!top_row_first) report << "the surface's first row is not its top row\n";
  if (rows < 5) report << "only " << rows << " recorded runs\n";
  std::ofstream("canvas_check.txt") << report.str();
  return report.str().empty() ? 0 : 1;
}
