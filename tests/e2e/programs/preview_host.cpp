// Stands in for the Display Properties dialog and the rest of the system, one verb each (below); a
// verb reports in ready.txt and result.txt beside the program.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "win32/text.h"
#include "win32/win32_platform.h"
#include "startup/entry.h"

namespace {

std::wstring folder;

void Write(const wchar_t* name, const std::string& text) {
  if (FILE* file = _wfopen((folder + L"\\" + name).c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

std::string Read(const wchar_t* name) {
  char buffer[64] = {};
  if (FILE* file = _wfopen((folder + L"\\" + name).c_str(), L"rb")) {
    std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
  }
  return buffer;
}

// Pumps messages until done() or the time limit; false on the time limit.
template <typename Done>
bool PumpUntil(ULONGLONG limit_ms, Done done) {
  for (const ULONGLONG start = GetTickCount64(); !done();) {
    if (GetTickCount64() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return true;
}

HWND Open(HINSTANCE instance, const wchar_t* name, COLORREF colour, DWORD style, int x, int w,
          int h, HWND parent) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.hbrBackground = CreateSolidBrush(colour);
  window_class.lpszClassName = name;
  RegisterClassW(&window_class);
  return CreateWindowExW(0, name, name, style | WS_VISIBLE, x, x, w, h, parent, nullptr, instance,
                         nullptr);
}

// "mode W H": 0 when the display mode changed.
int ChangeMode(const wchar_t* width, const wchar_t* height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(_wtoi(width));
  mode.dmPelsHeight = static_cast<DWORD>(_wtoi(height));
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsW(&mode, 0);
}

// "post TITLE MESSAGE WPARAM" or "send TITLE MESSAGE WPARAM LPARAM" (argv from the verb on), a
// send waiting up to 10 s; once the window has gone, reports the screen-saver-running flag.
int Deliver(bool send, LPWSTR* argv) {
  const HWND target = FindWindowW(nullptr, argv[1]);
  const auto number = [](const wchar_t* text) { return static_cast<UINT>(_wtoi(text)); };
  const ULONGLONG start = GetTickCount64();
  const bool posted = send ? SendMessageTimeoutW(target, number(argv[2]), number(argv[3]),
                                                 number(argv[4]), SMTO_NORMAL, 10000, nullptr)
                           : PostMessageW(target, number(argv[2]), number(argv[3]), 0);
  Write(L"ready.txt", "posted=" + std::to_string(posted) +
                          "\nanswered_ms=" + std::to_string(GetTickCount64() - start) + "\n");
  const bool gone = PumpUntil(10000, [target] { return !IsWindow(target); });
  BOOL running = TRUE;
  SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  Write(L"result.txt", "gone_ms=" + std::to_string(gone ? GetTickCount64() - start : 0) +
                           "\nrunning=" + std::to_string(running) + "\n");
  return 0;
}

// "W H [inproc]": a green window at 100, 100 with a blue W x H pane 20 px in, previewed by
// quillmere.scr /p <pane> or by the entry routine in this process (Wine shows no drawing into
// another process's child window); ended as end.txt says ("close" or "destroy").
int HostPreview(HINSTANCE instance, int width, int height, bool in_process) {
  // How a running saver stands before this program's own window takes the foreground.
  HWND saver =
      FindWindowW(nullptr, quillmere::win32::Widen(quillmere::startup::kSaverWindowTitle).c_str());
  const bool saver_on_top = (GetWindowLongW(saver, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const bool saver_active = saver != nullptr && GetForegroundWindow() == saver;
  HWND host = Open(instance, L"quillmere preview host", RGB(0, 160, 0), WS_POPUP, 100, width + 40,
                   height + 40, nullptr);
  HWND pane =
      Open(instance, L"pane", RGB(0, 0, 200), WS_CHILD | WS_CLIPCHILDREN, 20, width, height, host);
  PumpUntil(50, [] { return false; });  // both windows painted before the preview starts

  const std::wstring switches = L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(pane));
  PROCESS_INFORMATION process{};
  quillmere::win32::Win32Platform windows(instance);
  if (in_process) {
    quillmere::platform::Platform platform = windows.Bundle();
    quillmere::startup::RunEntry(quillmere::win32::Narrow(switches), platform);
  } else {
    std::wstring command = L"\"" + folder + L"\\quillmere.scr\" " + switches;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
      return 1;
  }
  HWND preview = nullptr;
  auto ended = [&] {
    return in_process ? preview != nullptr && !IsWindow(preview)
                      : WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
  };
  PumpUntil(10000, [&] {
    HWND child = GetWindow(pane, GW_CHILD);
    return (child != nullptr && IsWindowVisible(child)) || ended();
  });
  preview = GetWindow(pane, GW_CHILD);
  RECT rect{};
  GetWindowRect(preview, &rect);
  char state[200];
  std::snprintf(state, sizeof state,
                "child=%d\nended=%d\nrect=%ld,%ld,%ld,%ld\nstyle=%lx\nvisible=%d\n"
                "saver_on_top=%d\nsaver_active=%d\n",
                preview != nullptr, ended(), rect.left, rect.top, rect.right, rect.bottom,
                static_cast<unsigned long>(GetWindowLongW(preview, GWL_STYLE)),
                IsWindowVisible(preview), saver_on_top, saver_active);
  Write(L"ready.txt", state);

  PumpUntil(90000, [] { return !Read(L"end.txt").empty(); });
  const ULONGLONG start = GetTickCount64();
  Read(L"end.txt").rfind("close", 0) == 0 ? PostMessageW(preview, WM_CLOSE, 0, 0)
                                          : DestroyWindow(pane);
  const bool finished = PumpUntil(5000, ended);
  if (!finished && !in_process) TerminateProcess(process.hProcess, 1);
  const long long took = finished ? static_cast<long long>(GetTickCount64() - start) : -1;
  Write(L"result.txt", "ended_ms=" + std::to_string(took) + "\n");
  DestroyWindow(host);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring verb = argc > 1 ? argv[1] : L"";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  folder = path;
  folder.resize(folder.find_last_of(L"\\/"));
  if (argc == 4 && verb == L"mode") return ChangeMode(argv[2], argv[3]);
  if (argc == 5 && verb == L"post") return Deliver(false, argv + 1);
  if (argc == 6 && verb == L"send") return Deliver(true, argv + 1);
  if (argc < 3) return 2;
  return HostPreview(instance, _wtoi(argv[1]), _wtoi(argv[2]), argc > 3);
}
