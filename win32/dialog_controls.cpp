// The settings dialog's controls at the scale of its monitor: fonts, surfaces, sliders' places,
// labels' widths and the exit button's tip.
#include "win32/dialog_window.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <utility>

#include "resource_ids.h"
#include "settings_dialog/skin.h"
#include "win32/fonts.h"
#include "win32/message_box.h"
#include "win32/text.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using settings_dialog::Box;
using settings_dialog::Element;
using settings_dialog::LayoutScale;
using settings_dialog::Surface;

constexpr COLORREF kDialogBackground = RGB(128, 128, 128);
constexpr char kNotSavedTitle[] = "quillmere";

}  // namespace

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
  if (tip_ != nullptr) SendExitTip(TTM_NEWTOOLRECTW);
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
  if (tip_ != nullptr) SendExitTip(TTM_ADDTOOLW);
}

// The exit button's tip, added once and moved with the button at each new scale.
void DialogWindow::SendExitTip(UINT message) {
  static std::wstring text;
  text = Widen(core_.ExitTip());
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = 1;
  tool.rect = RectOf(scale_.ToPhysical(core_.InLayout(DialogControl::ExitButton).box));
  tool.hinst = instance_;
  tool.lpszText = text.data();
  SendMessageW(tip_, message, 0, reinterpret_cast<LPARAM>(&tool));
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
