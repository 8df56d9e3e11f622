// Stands in for the Display Properties dialog: a window with a preview pane of the size given
// on the command line, into which it starts quillmere.scr /p <pane>, or with "inproc" runs the
// same entry routine in its own process (Wine shows no drawing of a child window that another
// process owns). Files in its folder talk to the test: it writes ready.txt once the preview is
// up, waits for end.txt ("close" or "destroy"), ends the preview that way and writes in
// result.txt how long the preview took to end.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "win32/text.h"
#include "win32/win32_platform.h"
#include "startup/entry.h"

namespace {

constexpr int kPaneLeft = 20;
constexpr int kPaneTop = 20;
constexpr int kHostLeft = 100;
constexpr int kHostTop = 100;
constexpr DWORD kReadyLimitMs = 10000;
constexpr DWORD kEndCommandLimitMs = 90000;
constexpr DWORD kEndLimitMs = 5000;

std::wstring folder;

std::wstring InFolder(const wchar_t* name) { return folder + L"\\" + name; }

void WriteText(const wchar_t* name, const std::string& text) {
  FILE* file = _wfopen(InFolder(name).c_str(), L"wb");
  if (file == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::string ReadText(const wchar_t* name) {
  FILE* file = _wfopen(InFolder(name).c_str(), L"rb");
  if (file == nullptr) return {};
  char buffer[64] = {};
  const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  return std::string(buffer, length);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Pumps messages until done() or the time limit; false on the time limit.
template <typename Done>
bool PumpUntil(DWORD limit_ms, Done done) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return true;
}

void Register(HINSTANCE instance, const wchar_t* name, COLORREF colour) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = CreateSolidBrush(colour);
  window_class.lpszClassName = name;
  RegisterClassW(&window_class);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  const int pane_width = _wtoi(argv[1]);
  const int pane_height = _wtoi(argv[2]);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  folder = path;
  folder.resize(folder.find_last_of(L"\\/"));

  Register(instance, L"quillmere_host", RGB(0, 160, 0));
  Register(instance, L"quillmere_pane", RGB(0, 0, 200));
  HWND host = CreateWindowExW(0, L"quillmere_host", L"quillmere preview host",
                              WS_POPUP | WS_VISIBLE, kHostLeft, kHostTop,
                              pane_width + 2 * kPaneLeft, pane_height + 2 * kPaneTop, nullptr,
                              nullptr, instance, nullptr);
  HWND pane = CreateWindowExW(0, L"quillmere_pane", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kPaneLeft,
                              kPaneTop, pane_width, pane_height, host, nullptr, instance, nullptr);
  Pump();

  const std::wstring switches = L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(pane));
  const bool in_process = argc > 3 && std::wstring(argv[3]) == L"inproc";
  PROCESS_INFORMATION process{};
  quillmere::win32::Win32Platform windows(instance);
  if (in_process) {
    quillmere::platform::Platform platform = windows.Bundle();
    quillmere::startup::RunEntry(quillmere::win32::Narrow(switches), platform);
  } else {
    std::wstring command = L"\"" + InFolder(L"quillmere.scr") + L"\" " + switches;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
      WriteText(L"ready.txt", "started=0\n");
      return 1;
    }
  }
  HWND preview = nullptr;
  auto ended = [&] {
    return in_process ? preview != nullptr && !IsWindow(preview)
                      : WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
  };
  PumpUntil(kReadyLimitMs, [&] {
    HWND child = GetWindow(pane, GW_CHILD);
    return (child != nullptr && IsWindowVisible(child)) || ended();
  });
  preview = GetWindow(pane, GW_CHILD);
  RECT rect{};
  GetWindowRect(preview, &rect);
  char state[160];
  std::snprintf(state, sizeof state,
                "started=1\nchild=%d\nended=%d\nrect=%ld,%ld,%ld,%ld\nstyle=%lx\nvisible=%d\n",
                preview != nullptr, ended(), rect.left, rect.top, rect.right, rect.bottom,
                static_cast<unsigned long>(GetWindowLongW(preview, GWL_STYLE)),
                IsWindowVisible(preview));
  WriteText(L"ready.txt", state);

  PumpUntil(kEndCommandLimitMs, [&] { return !ReadText(L"end.txt").empty(); });
  const std::string how = ReadText(L"end.txt");
  const ULONGLONG start = GetTickCount64();
  if (how.rfind("close", 0) == 0) {
    if (preview != nullptr) PostMessageW(preview, WM_CLOSE, 0, 0);
  } else {
    DestroyWindow(pane);
  }
  const bool finished = PumpUntil(kEndLimitMs, ended);
  const ULONGLONG took = GetTickCount64() - start;
  char result[64];
  std::snprintf(result, sizeof result, "ended_ms=%lld\n",
                finished ? static_cast<long long>(took) : -1LL);
  if (!finished && !in_process) TerminateProcess(process.hProcess, 1);
  WriteText(L"result.txt", result);
  DestroyWindow(host);
  return 0;
}
