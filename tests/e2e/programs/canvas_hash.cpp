// "canvas_hash W H FRAMES SEED KIND SIZE SPEED NUM INTVAL SYNC" runs the saver's frames in
// memory and writes the canvas hash to hash.txt beside itself; "palette PATTERN WIDTH" writes
// the pattern's colours, one "r g b" a line, to palette.txt.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "win32/text.h"
#include "saver/colour_patterns.h"
#include "saver/headless.h"
#include "startup/command_line.h"

namespace {

std::wstring BesideMe(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  std::istringstream args(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::string first;
  args >> first;
  if (first == "palette") {
    std::int32_t pattern = 0;
    float width = 0;
    args >> pattern >> width;
    saver::RandomSource random(1);
    std::FILE* out = _wfopen(BesideMe(L"palette.txt").c_str(), L"w");
    if (out == nullptr) return 3;
    for (saver::Colour c : saver::PatternColours(pattern, width, random)) {
      std::fprintf(out, "%d %d %d\n", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
    std::fclose(out);
    return 0;
  }
  saver::HeadlessRun run;
  std::istringstream numbers(first + " " + args.str().substr(first.size()));
  numbers >> run.width >> run.height >> run.frames >> run.seed >> run.settings.Kind >>
      run.settings.Size >> run.settings.Speed >> run.settings.Num >> run.settings.Intval >>
      run.settings.Sync;
  if (!numbers) return 2;
  std::FILE* out = _wfopen(BesideMe(L"hash.txt").c_str(), L"w");
  if (out == nullptr) return 3;
  std::fprintf(out, "%016llx\n",
               static_cast<unsigned long long>(saver::CanvasHash(saver::RenderHeadless(run))));
  std::fclose(out);
  return 0;
}
