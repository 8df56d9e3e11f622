// "write K S Sp N I Sy" stores six values with the program's own commit; "read" loads the
// settings file as the program does and writes the values, one "key=value" a line, to probe.txt.
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "win32/text.h"
#include "win32/win32_platform.h"
#include "startup/command_line.h"
#include "startup/settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  win32::Win32Platform windows(instance);
  std::istringstream args(startup::ArgumentTextOf(win32::Narrow(GetCommandLineW())));
  std::string verb;
  args >> verb;
  startup::SettingsValues values;
  if (verb == "write") {
    for (const auto& setting : startup::kSettings) args >> values.*setting.value;
    return startup::WriteAllSettings(windows, values) ? 0 : 3;
  }
  if (verb != "read") return 2;
  startup::LoadSettings(windows, values);
  std::string report;
  for (const auto& setting : startup::kSettings) {
    report += std::string(setting.key) + "=" + std::to_string(values.*setting.value) + "\n";
  }
  FILE* out = _wfopen(win32::Widen(windows.ExecutableFolder() + "\\probe.txt").c_str(), L"wb");
  if (!out) return 4;
  std::fwrite(report.data(), 1, report.size(), out);
  std::fclose(out);
  return 0;
}
