// The settings dialog's painting: each surface's base with the view's elements and the focus cue
// on it, the panels laid on the dialog's own surface.
#include <string>

#include "resource_ids.h"
#include "win32/dialog_window.h"
#include "win32/text.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using platform::DialogPicture;
using settings_dialog::Box;
using settings_dialog::Element;
using settings_dialog::ElementKind;
using settings_dialog::Surface;

std::size_t SurfaceIndex(Surface surface) { return static_cast<std::size_t>(surface); }

}  // namespace

MemorySurface& DialogWindow::BaseOf(Surface surface) { return bases_[SurfaceIndex(surface)]; }

MemorySurface& DialogWindow::BackingOf(Surface surface) { return backings_[SurfaceIndex(surface)]; }

RECT DialogWindow::PanelRect(Surface surface) const {
  const settings_dialog::Panel* panel = settings_dialog::PanelOf(surface);
  return panel == nullptr ? RECT{} : RectOf(scale_.ToPhysical(core_.InLayout(panel->control).box));
}

const Picture* DialogWindow::PictureFor(DialogPicture picture) const {
  int id = 0;
  switch (picture) {
    case DialogPicture::OptionOn:
      id = IDB_OPTION_ON;
      break;
    case DialogPicture::OptionOff:
      id = IDB_OPTION_OFF;
      break;
    case DialogPicture::ButtonReleased:
      id = IDB_BUTTON_RELEASED;
      break;
    case DialogPicture::ButtonPressed:
      id = IDB_BUTTON_PRESSED;
      break;
    case DialogPicture::ExitReleased:
      id = IDB_EXIT_RELEASED;
      break;
    case DialogPicture::ExitPressed:
      id = IDB_EXIT_PRESSED;
      break;
    case DialogPicture::None:
      return nullptr;
  }
  auto found = pictures_.find(id);
  return found == pictures_.end() || found->second.bitmap == nullptr ? nullptr : &found->second;
}

HFONT DialogWindow::FontOf(DialogControl control) const {
  return control == DialogControl::Link ? link_font_ : font_;
}

// A panel is drawn on its own surface, which then lies on the dialog's in the panel's place.
void DialogWindow::Compose(Surface surface) {
  if (!loaded_) return;
  MemorySurface& backing = BackingOf(surface);
  BaseOf(surface).CopyTo(backing.dc());
  for (const Element& element : core_.layout()) {
    if (element.surface == surface) DrawElement(backing.dc(), element);
  }
  DrawFocusCue(backing.dc(), surface);
  if (surface != Surface::Dialog) {
    const RECT place = PanelRect(surface);
    backing.CopyTo(BackingOf(Surface::Dialog).dc(), place.left, place.top);
    InvalidateRect(window_, &place, FALSE);
    return;
  }
  for (const settings_dialog::Panel& panel : settings_dialog::kPanels) {
    const RECT place = PanelRect(panel.surface);
    BackingOf(panel.surface).CopyTo(backing.dc(), place.left, place.top);
  }
  // Without its skin, the dialog keeps an edge against a desktop of its own colour.
  if (core_.high_contrast() && surface == Surface::Dialog) {
    const RECT edge = RectOf(scale_.ToPhysical(settings_dialog::kDialogClient));
    HBRUSH ink = CreateSolidBrush(ColourOf(settings_dialog::Ink::WindowText));
    FrameRect(backing.dc(), &edge, ink);
    DeleteObject(ink);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

void DialogWindow::ComposeAll() {
  core_.TakeChanges();
  for (Surface surface : settings_dialog::kSurfaces) Compose(surface);
}

void DialogWindow::ComposeChanged() {
  for (Surface surface : core_.TakeChanges()) Compose(surface);
}

void DialogWindow::DrawElement(HDC dc, const Element& element) {
  if (element.kind == ElementKind::Picture) DrawPictureElement(dc, element);
  if (element.kind == ElementKind::Label) DrawLabelElement(dc, element);
}

// Pictures and boxes are in layout pixels; the surfaces in the dialog's monitor's.
void DialogWindow::DrawPictureOver(HDC dc, const Picture& picture, const Box& box) {
  const Box at = scale_.ToPhysical(box);
  StretchPicture(dc, picture, at.x, at.y, at.w, at.h, !scale_.whole());
}

void DialogWindow::DrawPictureElement(HDC dc, const Element& element) {
  const Box& box = element.box;
  if (core_.high_contrast() && element.control != DialogControl::PatternStrips) {
    DrawHighContrastPicture(dc, element);
    return;
  }
  if (element.control == DialogControl::TitleStrip) {
    DrawPictureOver(dc, pictures_[IDB_TITLE], box);
    return;
  }
  if (element.control == DialogControl::PatternStrips) {
    const Picture& strip = pictures_[kPatternStripIds[static_cast<std::size_t>(element.index)]];
    DrawPictureOver(dc, strip, {box.x, box.y, strip.width, strip.height});
    return;
  }
  const Picture* picture = PictureFor(core_.LookOf(element.control, element.index).picture);
  if (picture == nullptr) return;
  // The two text buttons share one picture stretched to each button's box.
  if (element.control == DialogControl::SetButton ||
      element.control == DialogControl::CancelButton) {
    DrawPictureOver(dc, *picture, box);
  } else {
    DrawPictureOver(dc, *picture, {box.x, box.y, picture->width, picture->height});
  }
}

void DialogWindow::DrawLabelElement(HDC dc, const Element& element) {
  const std::wstring text = Widen(core_.LookOf(element.control, element.index).text);
  SetTextColor(dc, ColourOf(core_.InkOf(element)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ previous = SelectObject(dc, FontOf(element.control));
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
  if (element.align == settings_dialog::Align::Right) format |= DT_RIGHT;
  if (element.align == settings_dialog::Align::Centre) format |= DT_CENTER;
  // Captions wider in the fallback typeface than in the original one may run past their box.
  format |= DT_NOCLIP;
  RECT box = RectOf(scale_.ToPhysical(element.box));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
  SelectObject(dc, previous);
}

void DialogWindow::DrawBackgroundLine(std::int32_t y, std::int32_t width, std::uint32_t colour) {
  background_painted_ = true;
  // The line is one layout pixel high: the band of physical rows it covers.
  const RECT band = RectOf(scale_.ToPhysical(Box{0, y, width, 1}));
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(BaseOf(Surface::Dialog).dc(), &band, brush);
  DeleteObject(brush);
  Compose(Surface::Dialog);
}

void DialogWindow::CopyTextureTile(DialogControl panel, std::int32_t x, std::int32_t y) {
  const settings_dialog::Panel* on = settings_dialog::PanelOf(panel);
  if (on == nullptr) return;
  const Surface surface = on->surface;
  const Picture& tile = pictures_[IDB_TEXTURE];
  if (tile.bitmap == nullptr) return;
  DrawPictureOver(BaseOf(surface).dc(), tile, {x, y, tile.width, tile.height});
  Compose(surface);
}

void DialogWindow::FillPanel(DialogControl panel, std::uint32_t colour) {
  const settings_dialog::Panel* on = settings_dialog::PanelOf(panel);
  if (on == nullptr) return;
  const Surface surface = on->surface;
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT all = RectOf(scale_.ToPhysical(core_.InLayout(panel).box));
  const RECT from_corner{0, 0, all.right - all.left, all.bottom - all.top};
  FillRect(BaseOf(surface).dc(), &from_corner, brush);
  DeleteObject(brush);
  Compose(surface);
}

void DialogWindow::DrawFocusCue(HDC dc, Surface surface) {
  const auto cue = core_.Cue();
  if (!cue || cue->surface != surface) return;
  const RECT box = RectOf(scale_.ToPhysical(cue->box));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &box);
}

}  // namespace quillmere::win32
