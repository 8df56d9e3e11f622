// The composition root: builds the Win32 platform and hands the argument text to the entry routine.
#include <windows.h>

#include "win32/text.h"
#include "win32/win32_platform.h"
#include "startup/command_line.h"
#include "startup/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace quillmere;
  win32::Win32Platform windows(instance);
  platform::Platform platform = windows.Bundle();
  const std::string command_line = win32::Narrow(GetCommandLineW());
  startup::RunEntry(startup::ArgumentTextOf(command_line, startup::ProgramPaths(windows)),
                    platform);

  // Waits for each message until the quit: a preview lives on here for as long as its window does.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  ExitProcess(0);
}
