// "accessible_reader TITLE OUTFILE [ID...]" reads the client area of the top-level window titled
// TITLE as a screen reader in another process does, and writes OUTFILE in UTF-8: how it got the
// object, then a tab-separated line for the client (id 0) and each child: id, role, state, name,
// value, left top width height, the id accHitTest gives at the middle of that box, and the id
// accNavigate gives next (first child for the client; "-" for none); then what a name past the last
// child answers. Then it does the default action of each ID given, in order, and once the window
// has gone asks the object once more.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win32/text.h"

namespace {

using quillmere::win32::Narrow;

std::string Hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
  return text;
}

VARIANT Child(LONG id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// A number the object answered, or "-" where it gave none.
std::string NumberOf(const VARIANT& found) {
  return found.vt == VT_I4 ? std::to_string(found.lVal) : "-";
}

// A text property, tabs and line ends left out so that the report stays one line a child.
template <typename Getter>
std::string TextOf(Getter get) {
  BSTR text = nullptr;
  std::string narrow = SUCCEEDED(get(&text)) && text != nullptr ? Narrow(text) : "";
  SysFreeString(text);
  std::erase_if(narrow, [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
  return narrow;
}

HWND FindTitled(const wchar_t* title) {
  for (int tries = 0; tries < 100; ++tries) {
    if (HWND window = FindWindowW(nullptr, title)) return window;
    Sleep(100);
  }
  return nullptr;
}

IAccessible* Connect(HWND window, std::string& via) {
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  via = SUCCEEDED(found) ? "via=AccessibleObjectFromWindow\n" : "via=none\t" + Hex(found) + "\n";
  return SUCCEEDED(found) ? object : nullptr;
}

std::string Row(IAccessible* object, LONG id) {
  const VARIANT child = Child(id);
  VARIANT role, state, hit, next;
  for (VARIANT* v : {&role, &state, &hit, &next}) VariantInit(v);
  object->get_accRole(child, &role);
  object->get_accState(child, &state);
  LONG x = 0, y = 0, w = 0, h = 0;
  object->accLocation(&x, &y, &w, &h, child);
  object->accHitTest(x + w / 2, y + h / 2, &hit);
  object->accNavigate(id == CHILDID_SELF ? NAVDIR_FIRSTCHILD : NAVDIR_NEXT, child, &next);
  const std::string name = TextOf([&](BSTR* t) { return object->get_accName(child, t); });
  const std::string value = TextOf([&](BSTR* t) { return object->get_accValue(child, t); });
  return std::to_string(id) + "\t" + NumberOf(role) + "\t" + NumberOf(state) + "\t" + name + "\t" +
         value + "\t" + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) +
         " " + std::to_string(h) + "\t" + NumberOf(hit) + "\t" + NumberOf(next) + "\n";
}

std::string Report(IAccessible* object) {
  LONG count = 0;
  object->get_accChildCount(&count);
  std::string report;
  for (LONG id = 0; id <= count; ++id) report += Row(object, id);
  BSTR name = nullptr;
  report += "beyond\t" + Hex(object->get_accName(Child(count + 1), &name)) + "\n";
  SysFreeString(name);
  return report;
}

// The default actions asked for; once they have closed the window, what the object answers.
std::string Act(IAccessible* object, HWND window, const std::vector<LONG>& ids) {
  std::string report;
  for (LONG id : ids)
    report +=
        "do\t" + std::to_string(id) + "\t" + Hex(object->accDoDefaultAction(Child(id))) + "\n";
  for (int tries = 0; tries < 100 && IsWindow(window); ++tries) Sleep(100);
  if (IsWindow(window)) return report;
  LONG count = 0;
  return report + "gone\t" + Hex(object->get_accChildCount(&count)) + "\n";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HWND window = FindTitled(argv[1]);
  std::string via = "via=none\tno window\n";
  IAccessible* object = window != nullptr ? Connect(window, via) : nullptr;
  std::string report = via;
  if (object != nullptr) {
    report += Report(object);
    std::vector<LONG> ids;
    for (int i = 3; i < argc; ++i) ids.push_back(_wtoi(argv[i]));
    if (!ids.empty()) report += Act(object, window, ids);
    object->Release();
  }
  if (FILE* file = _wfopen(argv[2], L"wb")) {
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
  }
  CoUninitialize();
  return object != nullptr ? 0 : 1;
}
