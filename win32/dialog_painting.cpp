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

const Picture& DialogWindow::PictureOf(int id) {
  auto [found, first] = pictures_.try_emplace(id);
  if (first) found->second = LoadPicture(instance_, id);
  return found->second;
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
  if (core_.high_contrast()) {
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
  if (core_.high_contrast() && element.control != DialogControl::PatternStrips) {
    DrawHighContrastPicture(dc, element);
    return;
  }
  // Strip k shows pattern k; the others show what the core's view says.
  const DialogPicture shown = core_.LookOf(element.control, element.index).picture;
  int id = kPictureIds[static_cast<std::size_t>(shown)];
  if (element.control == DialogControl::TitleStrip) id = IDB_TITLE;
  if (element.control == DialogControl::PatternStrips) id = IDB_PATTERN0 + element.index;
  if (id == 0) return;
  const Picture& picture = PictureOf(id);
  // The title strip and the two text buttons stretch their picture to their box.
  const bool stretched = element.control == DialogControl::TitleStrip ||
                         element.control == DialogControl::SetButton ||
                         element.control == DialogControl::CancelButton;
  const Box& box = element.box;
  DrawPictureOver(dc, picture, stretched ? box : Box{box.x, box.y, picture.width, picture.height});
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

void DialogWindow::CopyTextureTile(Surface panel, std::int32_t x, std::int32_t y) {
  const Picture& tile = PictureOf(IDB_TEXTURE);
  DrawPictureOver(BaseOf(panel).dc(), tile, {x, y, tile.width, tile.height});
  Compose(panel);
}

void DialogWindow::FillPanel(Surface panel, std::uint32_t colour) {
  BaseOf(panel).Fill(colour);
  Compose(panel);
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
