// The settings dialog's controls: pictures, labels, sliders and tip, drawn onto backing images.
#include "win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "resource_ids.h"
#include "settings_dialog/skin.h"
#include "win32/fonts.h"
#include "win32/message_box.h"
#include "win32/text.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using platform::DialogPicture;
using settings_dialog::Box;
using settings_dialog::Element;
using settings_dialog::ElementKind;
using settings_dialog::LayoutScale;
using settings_dialog::Surface;

constexpr COLORREF kDialogBackground = RGB(128, 128, 128);
constexpr char kNotSavedTitle[] = "quillmere";

constexpr std::array<int, startup::kPatternCount> kPatternStripIds = {
    IDB_PATTERN0, IDB_PATTERN1, IDB_PATTERN2, IDB_PATTERN3, IDB_PATTERN4};

std::size_t SurfaceIndex(Surface surface) { return static_cast<std::size_t>(surface); }

TOOLINFOW ExitTool(HWND dialog, HINSTANCE instance, const Box& box, std::string_view tip) {
  static std::wstring text;
  text = Widen(tip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = dialog;
  tool.uId = 1;
  tool.rect = RectOf(box);
  tool.hinst = instance;
  tool.lpszText = text.data();
  return tool;
}

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

void DialogWindow::LoadPictures() {
  for (int id : {IDB_TITLE, IDB_EXIT_RELEASED, IDB_EXIT_PRESSED, IDB_BUTTON_RELEASED,
                 IDB_BUTTON_PRESSED, IDB_OPTION_ON, IDB_OPTION_OFF, IDB_TEXTURE}) {
    pictures_[id] = LoadPicture(instance_, id);
  }
  for (int id : kPatternStripIds) pictures_[id] = LoadPicture(instance_, id);
}

void DialogWindow::CreateSurfaces() {
  const std::array<Box, 3> sizes = {settings_dialog::kDialogClient,
                                    core_.InLayout(settings_dialog::kPanels[0].control).box,
                                    core_.InLayout(settings_dialog::kPanels[1].control).box};
  for (std::size_t at = 0; at < sizes.size(); ++at) {
    const Box size = scale_.ToPhysical(sizes[at]);
    for (MemorySurface* surface : {&bases_[at], &backings_[at]}) {
      surface->Create(size.w, size.h);
      surface->Fill(kDialogBackground);
    }
  }
}

void DialogWindow::DeleteFonts() {
  for (HFONT font : {font_, link_font_}) {
    if (font != nullptr) DeleteObject(font);
  }
}

void DialogWindow::MakeFonts() {
  DeleteFonts();
  font_ = MakeLabelFont(false, scale_);
  link_font_ = MakeLabelFont(true, scale_);
}

void DialogWindow::PlaceControls() {
  const RECT panel = PanelRect(Surface::ValuesPanel);
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const Box at =
        scale_.ToPhysical(core_.InLayout(DialogControl::Sliders, static_cast<std::int32_t>(i)).box);
    SetWindowPos(sliders_[i], nullptr, panel.left + at.x, panel.top + at.y, at.w, at.h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

platform::Rect DialogWindow::CentredPlacement(const LayoutScale& scale) {
  const Box client = scale.ToPhysical(settings_dialog::kDialogClient);
  return settings_dialog::DialogPlacement(platform_.screen, client.w, client.h);
}

void DialogWindow::Rescale(int dpi, const platform::Rect& window) {
  // The skin is painted again at the new scale, then the elements go on it once.
  const bool loaded = std::exchange(loaded_, false);
  scale_ = LayoutScale(dpi);
  core_.OnDpiChange(dpi);
  MakeFonts();
  CreateSurfaces();
  PlaceControls();
  SetWindowPos(window_, nullptr, window.left, window.top, window.right - window.left,
               window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
  core_.OnResize();
  if (loaded) {
    MeasureAutoSizedLabels();
    core_.TilePanels();
  }
  loaded_ = loaded;
  ComposeAll();
  if (tip_ != nullptr) {
    TOOLINFOW tool =
        ExitTool(window_, instance_,
                 scale_.ToPhysical(core_.InLayout(DialogControl::ExitButton).box), core_.ExitTip());
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void DialogWindow::MeasureAutoSizedLabels() {
  HDC dc = GetDC(window_);
  for (const Element& element : core_.layout()) {
    if (!element.width_follows_text) continue;
    HGDIOBJ previous = SelectObject(dc, FontOf(element.control));
    const std::wstring text = Widen(core_.LookOf(element.control, element.index).text);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    core_.SetTextWidth(element.control, element.index, scale_.LengthToLayout(size.cx));
  }
  ReleaseDC(window_, dc);
}

void DialogWindow::AddExitTip() {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                         nullptr, instance_, nullptr);
  if (tip_ == nullptr) return;
  TOOLINFOW tool =
      ExitTool(window_, instance_, scale_.ToPhysical(core_.InLayout(DialogControl::ExitButton).box),
               core_.ExitTip());
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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
  if (element.control == DialogControl::SetFace || element.control == DialogControl::CancelFace) {
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
  // Captions wider in the fallback face than in the original one may run past their box.
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

void DialogWindow::SetSliderPosition(std::int32_t index, std::int32_t value) {
  if (index < 0 || index >= static_cast<std::int32_t>(sliders_.size())) return;
  SetScrollPos(sliders_[static_cast<std::size_t>(index)], SB_CTL, value, TRUE);
}

void DialogWindow::TellSettingsNotSaved(std::string_view message) {
  const std::wstring text = Widen(message);
  HFONT font = MakeMessageFont(scale_.dpi(), text.c_str());
  ShowMessageBoxInFont(window_, font, text.c_str(), Widen(kNotSavedTitle).c_str());
  if (font != nullptr) DeleteObject(font);
}

}  // namespace quillmere::win32
