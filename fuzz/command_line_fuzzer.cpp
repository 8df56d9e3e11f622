// Any argument text, in every state of the marker windows and the system: the entry routine
// ends or opens exactly one window, and never asks for anything before its guard.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "startup/command_line.h"
#include "startup/entry.h"
#include "startup/settings.h"
#include "tests/fake_platform.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string argument_text = startup::ArgumentTextOf(line);
  (void)startup::ModeLetter(argument_text);
  (void)startup::WindowHandleArgument(argument_text);

  testing::FakePlatform fake;
  if (flags & 1) fake.windows_by_title["quillmere_Main"] = 1;
  if (flags & 2) fake.windows_by_title["quillmereの設定"] = 2;
  if (flags & 4) fake.platform_id = 1;
  if (flags & 8) fake.window_rects[static_cast<platform::WindowHandle>(flags >> 4)] = {0, 0, 152, 112};
  platform::Platform p = fake.Bundle();
  startup::Settings() = {};
  startup::Start() = {};
  startup::RunEntry(argument_text, p);

  if (fake.calls.size() < 2 || fake.calls[0] != "FindWindow(quillmere_Main)" ||
      fake.calls[1] != "FindWindow(quillmereの設定)") {
    std::abort();
  }
  int windows_opened = 0;
  for (const auto& call : fake.calls) {
    windows_opened += call == "LoadSaverWindow" || call == "ShowSettingsDialog" ||
                      call.rfind("ShowPreviewWindow", 0) == 0;
  }
  if (windows_opened > 1 || ((flags & 3) && windows_opened != 0)) std::abort();
  return 0;
}
