// The settings dialog under high contrast: whether the theme is on, the system's colours, and
// plain shapes where the skin has pictures.
#include <algorithm>

#include "win32/dialog_window.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using platform::DialogPicture;
using settings_dialog::Element;

constexpr COLORREF kWhiteInk = RGB(255, 255, 255);
constexpr COLORREF kLinkInk = RGB(255, 255, 192);

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

std::uint32_t DialogWindow::ColourOf(settings_dialog::Ink ink) {
  using settings_dialog::Ink;
  switch (ink) {
    case Ink::White:
      return kWhiteInk;
    case Ink::Link:
      return kLinkInk;
    case Ink::Window:
      return GetSysColor(COLOR_WINDOW);
    case Ink::Highlight:
      return GetSysColor(COLOR_HIGHLIGHT);
    case Ink::HighlightText:
      return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case Ink::HotLight:
      return GetSysColor(COLOR_HOTLIGHT);
    case Ink::Button:
      return GetSysColor(COLOR_BTNFACE);
    case Ink::ButtonText:
      return GetSysColor(COLOR_BTNTEXT);
    case Ink::WindowText:
      break;
  }
  return GetSysColor(COLOR_WINDOWTEXT);
}

// Under high contrast the skin's pictures give way to plain shapes in the system's colours.
void DialogWindow::DrawHighContrastPicture(HDC dc, const Element& element) {
  const RECT box = RectOf(scale_.ToPhysical(element.box));
  const COLORREF ink = ColourOf(core_.InkOf(element));
  if (const auto paper = core_.PaperOf(element)) {
    HBRUSH brush = CreateSolidBrush(ColourOf(*paper));
    FillRect(dc, &box, brush);
    DeleteObject(brush);
  }
  const DialogPicture picture = core_.LookOf(element.control, element.index).picture;
  const int line = std::max(1, scale_.ToPhysical(1));
  const bool pressed =
      picture == DialogPicture::ButtonPressed || picture == DialogPicture::ExitPressed;
  HPEN pen = CreatePen(PS_SOLID, pressed ? 2 * line : line, ink);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  switch (element.control) {
    case DialogControl::SetButton:
    case DialogControl::CancelButton:
      Rectangle(dc, box.left, box.top, box.right, box.bottom);
      break;
    case DialogControl::ExitButton:
      Rectangle(dc, box.left, box.top, box.right, box.bottom);
      MoveToEx(dc, box.left + 3 * line, box.top + 3 * line, nullptr);
      LineTo(dc, box.right - 3 * line, box.bottom - 3 * line);
      MoveToEx(dc, box.right - 3 * line - 1, box.top + 3 * line, nullptr);
      LineTo(dc, box.left + 3 * line - 1, box.bottom - 3 * line);
      break;
    case DialogControl::PatternMarks:
    case DialogControl::SyncMarks:
      if (picture == DialogPicture::None) break;
      Ellipse(dc, box.left, box.top, box.right, box.bottom);
      if (picture == DialogPicture::OptionOn) {
        HBRUSH dot = CreateSolidBrush(ink);
        SelectObject(dc, dot);
        Ellipse(dc, box.left + 3 * line, box.top + 3 * line, box.right - 3 * line,
                box.bottom - 3 * line);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        DeleteObject(dot);
      }
      break;
    default:
      break;
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

LRESULT DialogWindow::OnThemeChange(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window == window_) {
    core_.OnThemeChange(HighContrastOn());
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace quillmere::win32
