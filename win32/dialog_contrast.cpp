// The settings dialog under high contrast: whether the theme is on, the system's colours, and
// plain shapes where the skin has pictures.
#include <algorithm>
#include <array>

#include "win32/dialog_window.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using platform::DialogPicture;
using settings_dialog::Element;

constexpr COLORREF kWhiteInk = RGB(255, 255, 255);
constexpr COLORREF kLinkInk = RGB(255, 255, 192);
// The system's colour for each ink, in the order of platform::Ink; the skin's two have their own.
constexpr std::array<int, 9> kSystemColours = {COLOR_WINDOWTEXT,
                                               -1,
                                               -1,
                                               COLOR_WINDOW,
                                               COLOR_HIGHLIGHT,
                                               COLOR_HIGHLIGHTTEXT,
                                               COLOR_HOTLIGHT,
                                               COLOR_BTNFACE,
                                               COLOR_BTNTEXT};

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

std::uint32_t DialogWindow::ColourOf(settings_dialog::Ink ink) {
  if (ink == settings_dialog::Ink::White) return kWhiteInk;
  if (ink == settings_dialog::Ink::Link) return kLinkInk;
  return GetSysColor(kSystemColours[static_cast<std::size_t>(ink)]);
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
  if (window == window_) core_.OnThemeChange(HighContrastOn());
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace quillmere::win32
