// Stands in for the host's dialog, a screen reader and the rest of the system, one verb each.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <set>
#include <span>
#include <string>

#include "saver/saver_window.h"
#include "startup/entry.h"
#include "saver/headless.h"
#include "win32/memory_surface.h"
#include "win32/saver_surfaces.h"
#include "win32/text.h"
#include "win32/win32_platform.h"

namespace {

std::wstring folder;

// Renamed into place once written, so that a reader never sees half of it.
void Write(const wchar_t* name, const std::string& text) {
  const std::wstring path = folder + L"\\" + name, part = path + L".part";
  if (FILE* file = _wfopen(part.c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

bool Exists(const wchar_t* name) {
  return GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
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

// "pointer": 1 while the pointer shows an image over the foreground window, 0 while it is hidden.
int PointerShown() {
  CURSORINFO pointer{};
  pointer.cbSize = sizeof pointer;
  return GetCursorInfo(&pointer) && (pointer.flags & CURSOR_SHOWING) && pointer.hCursor ? 1 : 0;
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

// "post TITLE MESSAGE WPARAM" or "send TITLE MESSAGE WPARAM"; then the running flag.
int Deliver(bool send, LPWSTR* argv) {
  const HWND target = FindWindowW(nullptr, argv[1]);
  const auto number = [](const wchar_t* text) { return static_cast<UINT>(_wtoi(text)); };
  const ULONGLONG start = GetTickCount64();
  const bool posted = send ? SendMessageTimeoutW(target, number(argv[2]), number(argv[3]), 0,
                                                 SMTO_NORMAL, 10000, nullptr)
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

// "W H [inproc]": a green window with a W x H pane previewed in this process or another, until
// close.txt or destroy.txt appears; Wine shows no drawing into another process's child window.
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
  PumpUntil(10000, [&] { return IsWindowVisible(GetWindow(pane, GW_CHILD)) || ended(); });
  preview = GetWindow(pane, GW_CHILD);
  RECT rect{};
  GetWindowRect(preview, &rect);
  char state[200];
  std::snprintf(state, sizeof state,
                "child=%d\nrect=%ld,%ld,%ld,%ld\nstyle=%lx\nvisible=%d\nsaver_on_top=%d\n"
                "saver_active=%d\n",
                preview != nullptr, rect.left, rect.top, rect.right, rect.bottom,
                static_cast<unsigned long>(GetWindowLongW(preview, GWL_STYLE)),
                IsWindowVisible(preview), saver_on_top, saver_active);
  Write(L"ready.txt", state);

  PumpUntil(90000, [] { return Exists(L"close.txt") || Exists(L"destroy.txt"); });
  const ULONGLONG start = GetTickCount64();
  Exists(L"close.txt") ? PostMessageW(preview, WM_CLOSE, 0, 0) : DestroyWindow(pane);
  const bool finished = PumpUntil(5000, ended);
  if (!finished && !in_process) TerminateProcess(process.hProcess, 1);
  const long long took = finished ? static_cast<long long>(GetTickCount64() - start) : -1;
  Write(L"result.txt", "ended_ms=" + std::to_string(took) + "\n");
  DestroyWindow(host);
  return 0;
}

std::string Hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
  return text;
}

VARIANT Child(LONG id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// A number the object answered, or "-" where it gave none.
std::string NumberOf(const VARIANT& found) {
  return found.vt == VT_I4 ? std::to_string(found.lVal) : "-";
}

// A text property.
template <typename Getter>
std::string TextOf(Getter get) {
  BSTR text = nullptr;
  std::string narrow =
      SUCCEEDED(get(&text)) && text != nullptr ? quillmere::win32::Narrow(text) : "";
  SysFreeString(text);
  return narrow;
}

// What a reader pointing there meets on Windows: the child the window there hit-tests.
VARIANT HitAt(POINT point) {
  VARIANT hit{};
  IAccessible* there = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(WindowFromPoint(point), static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&there)))) {
    there->accHitTest(point.x, point.y, &hit);
    there->Release();
  }
  return hit;
}

// Tab-separated: id, role, state, name, value, box, the id hit at its middle, the next id (for the
// client its first child; "-" for none), description and default action.
std::string Row(IAccessible* object, LONG id) {
  const VARIANT child = Child(id);
  VARIANT role{}, state{}, next{};
  object->get_accRole(child, &role);
  object->get_accState(child, &state);
  LONG x = 0, y = 0, w = 0, h = 0;
  object->accLocation(&x, &y, &w, &h, child);
  const VARIANT hit = HitAt({x + w / 2, y + h / 2});
  object->accNavigate(id == CHILDID_SELF ? NAVDIR_FIRSTCHILD : NAVDIR_NEXT, child, &next);
  const std::string name = TextOf([&](BSTR* t) { return object->get_accName(child, t); });
  const std::string value = TextOf([&](BSTR* t) { return object->get_accValue(child, t); });
  const std::string group = TextOf([&](BSTR* t) { return object->get_accDescription(child, t); });
  const std::string verb = TextOf([&](BSTR* t) { return object->get_accDefaultAction(child, t); });
  return std::to_string(id) + "\t" + NumberOf(role) + "\t" + NumberOf(state) + "\t" + name + "\t" +
         value + "\t" + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) +
         " " + std::to_string(h) + "\t" + NumberOf(hit) + "\t" + NumberOf(next) + "\t" + group +
         "\t" + verb + "\n";
}

// "read TITLE [ID...]": as a screen reader in another process, writes report.txt (UTF-8): a Row for
// the client (id 0) and each child, the focused id and what a name past the last child answers;
// then the default action of each ID, and once the window has gone, the object asked again.
std::string Report(IAccessible* object, HWND window, LPWSTR* ids, int id_count) {
  LONG count = 0;
  object->get_accChildCount(&count);
  std::string report;
  for (LONG id = 0; id <= count; ++id) report += Row(object, id);
  VARIANT focus{};
  object->get_accFocus(&focus);
  report += "focus\t" + NumberOf(focus) + "\n";
  BSTR name = nullptr;
  report += "beyond\t" + Hex(object->get_accName(Child(count + 1), &name)) + "\n";
  SysFreeString(name);
  if (id_count == 0) return report;
  for (int i = 0; i < id_count; ++i) {
    const HRESULT done = object->accDoDefaultAction(Child(_wtoi(ids[i])));
    // Whether the window outlived the call: an action done inside it would have closed it already.
    report += "do\t" + std::to_string(_wtoi(ids[i])) + "\t" + Hex(done) + "\t" +
              std::to_string(IsWindow(window)) + "\n";
  }
  for (int tries = 0; tries < 100 && IsWindow(window); ++tries) Sleep(100);
  if (IsWindow(window)) return report;
  return report + "gone\t" + Hex(object->get_accChildCount(&count)) + "\n";
}

int ReadAccessible(LPWSTR* argv, int argc) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HWND window = FindWindowW(nullptr, argv[0]);
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  Write(L"report.txt", SUCCEEDED(found) ? Report(object, window, argv + 1, argc - 1)
                                        : "no object\t" + Hex(found) + "\n");
  if (object != nullptr) object->Release();
  CoUninitialize();
  return SUCCEEDED(found) ? 0 : 1;
}

FILE* heard = nullptr;
HWND listened = nullptr;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window != listened || object != OBJID_CLIENT) return;
  std::fprintf(heard, "%#lx %ld\n", static_cast<unsigned long>(event), static_cast<long>(child));
  std::fflush(heard);
}

// "hear TITLE": as a screen reader in another process, writes each event from focus to value change
// of the client area of the window titled TITLE to heard.txt ("0x8005 3"), until it is ended.
int HearEvents(const wchar_t* title) {
  listened = FindWindowW(nullptr, title);
  heard = _wfopen((folder + L"\\heard.txt").c_str(), L"wb");
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr,
                                             Hear, 0, 0, WINEVENT_OUTOFCONTEXT);
  Write(L"ready.txt", "posted=" + std::to_string(hook != nullptr && listened != nullptr) + "\n");
  PumpUntil(60000, [] { return false; });
  UnhookWinEvent(hook);
  return 0;
}

// FNV-1a over the pixels' bytes, lowest byte first.
std::uint64_t CanvasHash(std::span<const std::uint32_t> pixels) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (std::uint32_t pixel : pixels) {
    for (int shift = 0; shift < 32; shift += 8)
      hash = (hash ^ ((pixel >> shift) & 0xFFu)) * 0x100000001B3ULL;
  }
  return hash;
}

// Recorded natively: the gold picture of the defaults, and the random colours and patterns no other
// test draws.
const std::pair<quillmere::saver::HeadlessRun, std::uint64_t> kRecordedCanvases[] = {
    {{.settings = {0, 5, 5, 100, 10, 0}}, 0xc0116f80533edd83},
    {{.settings = {4, 5, 5, 100, 10, 1}, .frames = 80, .seed = 99}, 0x92dc33f1cd46adf3},
    {{.settings = {5, 0, 10, 200, 10, 2}, .width = 640, .height = 480, .frames = 60, .seed = 5},
     0xeb62594c78a23b4f},
};

// Whether a window shows exactly the canvas, its pixels read back through its own DC.
bool Shows(HWND window, const quillmere::saver::Canvas& canvas) {
  quillmere::win32::MemorySurface shown;
  if (!shown.Create(canvas.Width(), canvas.Height())) return false;
  HDC dc = GetDC(window);
  BitBlt(shown.dc(), 0, 0, canvas.Width(), canvas.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return std::ranges::equal(shown.pixels(), canvas.Pixels(), {},
                            [](std::uint32_t p) { return p & 0xFFFFFFu; });
}

// "screens": whether this build draws the recorded canvases, and whether every monitor's window
// shows its canvas after frames and re-steers, in all patterns, the window's own timer stopped so
// no tick clears a shown canvas; writes what differed, the patterns and monitors to screens.txt.
int CheckScreens(HINSTANCE instance) {
  using namespace quillmere;
  std::string report;
  for (const auto& [run, recorded] : kRecordedCanvases) {
    const std::uint64_t hash = CanvasHash(saver::RenderHeadless(run));
    if (hash != recorded)
      report +=
          "Kind " + std::to_string(run.settings.Kind) + " drew " + std::to_string(hash) + "\n";
  }
  const startup::SettingsValues settings = {
      .Kind = 5, .Size = 20, .Speed = 10, .Num = 200, .Intval = 1, .Sync = 1};
  win32::Win32Platform system(instance);
  win32::Win32SaverHost host(instance);
  saver::RandomSource random(GetTickCount64());
  startup::StartState start{"", -1};
  saver::SaverWindow saver({system, system, system, system, host}, random,
                           saver::RulesFor(startup::Mode::None), settings, start);
  host.Attach(&saver);
  saver.PrepareSaver();
  KillTimer(reinterpret_cast<HWND>(host.Window()), win32::kResteerTimer);
  saver.StartAnimation();
  std::set<std::int32_t> patterns;
  const auto check = [&](const std::string& when) {
    bool shown = Shows(reinterpret_cast<HWND>(host.Window()), saver.Primary().canvas());
    for (std::size_t i = 0; i < saver.Others().size(); ++i)
      shown = Shows(host.CoverWindow(i), saver.Others()[i].canvas()) && shown;
    if (!shown) report += "a window differs from its canvas " + when + "\n";
  };
  for (int cycle = 0; cycle < 60 && patterns.size() < 5; ++cycle) {
    for (int frame = 0; frame < 150; ++frame) saver.RunFrame();
    check("after frames");
    saver.OnTimerTick();
    saver.RunFrame();
    check("after a re-steer");
    patterns.insert(saver.Primary().Pattern());
  }
  report += "patterns " + std::to_string(patterns.size()) + "\nmonitors " +
            std::to_string(saver.Others().size() + 1) + "\n";
  Write(L"screens.txt", report);
  return 0;
}

// "claim": holds the saver's single-instance claim, with no window, until it is ended.
int HoldClaim(HINSTANCE instance) {
  const bool claimed = quillmere::win32::Win32Platform(instance).ClaimSingleInstance();
  Write(L"ready.txt", "claimed=" + std::to_string(claimed) + "\n");
  PumpUntil(90000, [] { return false; });
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
  if (argc == 2 && verb == L"pointer") return PointerShown();
  if (argc == 4 && verb == L"mode") return ChangeMode(argv[2], argv[3]);
  if (argc == 5 && (verb == L"post" || verb == L"send")) return Deliver(verb == L"send", argv + 1);
  if (argc >= 3 && verb == L"read") return ReadAccessible(argv + 2, argc - 2);
  if (argc == 2 && verb == L"screens") return CheckScreens(instance);
  if (argc == 3 && verb == L"hear") return HearEvents(argv[2]);
  if (argc == 2 && verb == L"claim") return HoldClaim(instance);
  if (argc < 3) return 2;
  return HostPreview(instance, _wtoi(argv[1]), _wtoi(argv[2]), argc > 3);
}
