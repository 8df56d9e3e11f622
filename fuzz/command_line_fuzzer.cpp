// Any command line and marker windows (the first byte): one window at most, none if marked.
#include <algorithm>
#include <cstdlib>

#include "startup/command_line.h"
#include "startup/entry.h"
#include "tests/fake_platform.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  testing::FakePlatform fake;
  if (data[0] & 1) fake.windows_by_title[std::string(startup::kSaverWindowTitle)] = 1;
  if (data[0] & 2) fake.windows_by_title[std::string(startup::kSettingsDialogTitle)] = 2;
  if (data[0] & 4) fake.platform_id = 1;
  fake.window_rects[data[0] >> 3] = {0, 0, 152, 112};
  fake.module_path = "C:\\My Savers\\q.scr";
  platform::Platform p = fake.Bundle();
  const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
  startup::RunEntry(startup::ArgumentTextOf(line, startup::ProgramPaths(fake)), p);
  const auto opened = std::ranges::count_if(fake.calls, [](const std::string& call) {
    return call == "LoadSaverWindow" || call == "ShowSettingsDialog" ||
           call.starts_with("ShowPreviewWindow");
  });
  if (fake.calls.size() < 2 ||
      fake.calls[0] != "FindWindow(" + std::string(startup::kSaverWindowTitle) + ")")
    std::abort();
  if (opened > ((data[0] & 3) ? 0 : 1)) std::abort();
  return 0;
}
