// "accessible_check" asks the dialog's accessible object, over three rows of its own, what a
// screen reader may ask at the edges: ids out of range, navigation past the ends, points off every
// row, rows without a value or an action, and every call once detached. Exit code 0 when each
// answer is the one worked out here; those that differ go to accessible_check.txt beside it.
#include <windows.h>
#include <oleacc.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "win32/dialog_accessible.h"

namespace {

using quillmere::settings_dialog::AccessibleItem;
using quillmere::settings_dialog::AccessibleRole;
using quillmere::settings_dialog::Box;

// A focused slider, a checked radio button and a link; the client's top-left at (100, 200).
struct Source final : quillmere::win32::AccessibleSource {
  std::vector<AccessibleItem> AccessibleItems() override {
    return {{"a", "7", AccessibleRole::Slider, false, true, {10, 10, 20, 10}},
            {"b", "", AccessibleRole::RadioButton, true, false, {40, 10, 20, 10}},
            {"c", "", AccessibleRole::Link, false, false, {70, 10, 20, 10}}};
  }
  void ActivateItem(std::size_t item) override { activated += std::to_string(item); }
  RECT ScreenRectOf(const Box& b) override {
    return {100 + b.x, 200 + b.y, 100 + b.x + b.w, 200 + b.y + b.h};
  }
  HWND AccessibleWindow() override { return nullptr; }
  std::string activated;
};

VARIANT Id(LONG id, VARTYPE type = VT_I4) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  v.lVal = id;
  return v;
}

// An answer as "hresult value": the value is a VARIANT's number or "-" when it holds none.
std::string Answer(HRESULT result, const VARIANT& v) {
  std::ostringstream text;
  text << std::hex << static_cast<unsigned long>(result) << " "
       << (v.vt == VT_I4 ? std::to_string(v.lVal) : "-");
  return text.str();
}

std::string Answer(HRESULT result, LONG number = 0) { return Answer(result, Id(number)); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Source source;
  auto* object = new quillmere::win32::DialogAccessible(source);
  IDispatch* none = nullptr;
  BSTR text = nullptr;
  VARIANT out;
  LONG count = 0;
  void* other = nullptr;
  const auto hit = [&](LONG x, LONG y) { return Answer(object->accHitTest(x, y, &out), out); };
  const auto counted = [&] {
    const HRESULT result = object->get_accChildCount(&count);
    return Answer(result, count);
  };
  const auto act = [&](LONG id) {
    const std::string answer = Answer(object->accDoDefaultAction(Id(id)));
    return answer + " " + source.activated;
  };
  const auto go = [&](LONG direction, LONG from) {
    return Answer(object->accNavigate(direction, Id(from), &out), out);
  };
  // Each row: what is asked, the answer, and the answer worked out by hand.
  const std::vector<std::vector<std::string>> checks = {
      {"count", counted(), "0 3"},
      {"a row is a simple child", Answer(object->get_accChild(Id(2), &none)), "1 0"},
      {"id past the last", Answer(object->get_accChild(Id(4), &none)), "80070057 0"},
      {"negative id", Answer(object->get_accName(Id(-1), &text)), "80070057 0"},
      {"id not a number", Answer(object->get_accRole(Id(1, VT_BSTR), &out)), "80070057 0"},
      {"radio button's value", Answer(object->get_accValue(Id(2), &text)), "80020003 0"},
      {"slider's action", Answer(object->accDoDefaultAction(Id(1))), "80020003 0"},
      {"link's action", act(3), "0 0 2"},
      {"focus", Answer(object->get_accFocus(&out), out), "0 1"},
      {"left of the client", hit(99, 205), "1 -"},
      {"client's first pixel", hit(100, 200), "0 0"},
      {"a row's last pixel", hit(189, 219), "0 3"},
      {"past a row's right edge", hit(190, 215), "0 0"},
      {"before the first", go(NAVDIR_PREVIOUS, 1), "1 -"},
      {"after the last", go(NAVDIR_NEXT, 3), "1 -"},
      {"last child", go(NAVDIR_LASTCHILD, CHILDID_SELF), "0 3"},
      {"a row's first child", go(NAVDIR_FIRSTCHILD, 2), "1 -"},
      {"leftwards", go(NAVDIR_LEFT, 2), "80020003 -"},
      {"another interface", Answer(object->QueryInterface(__uuidof(IOleWindow), &other)),
       "80004002 0"},
  };
  object->Detach();
  const std::vector<std::vector<std::string>> detached = {
      {"count", counted(), "80010108 0"},
      {"name", Answer(object->get_accName(Id(CHILDID_SELF), &text)), "80010108 0"},
      {"hit", hit(100, 200), "80010108 -"},
      {"action", act(3), "80010108 0 2"},
      {"last reference", Answer(static_cast<HRESULT>(object->Release())), "0 0"},
  };
  std::ostringstream report;
  for (const auto* rows : {&checks, &detached}) {
    for (const auto& row : *rows) {
      if (row[1] != row[2]) report << row[0] << ": " << row[1] << ", not " << row[2] << "\n";
    }
  }
  std::ofstream("accessible_check.txt") << report.str();
  CoUninitialize();
  return report.str().empty() ? 0 : 1;
}
