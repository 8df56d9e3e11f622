// The skinned settings dialog: one popup window that draws its two panels, four slider controls.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "resource_ids.h"
#include "platform/settings_dialog_host.h"
#include "settings_dialog/dialog.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/layout_scale.h"
#include "win32/dialog_accessible.h"
#include "win32/memory_surface.h"
#include "win32/pictures.h"

namespace quillmere::win32 {

// The pictures of platform::DialogPicture, in its order; None has none.
inline constexpr std::array<int, 7> kPictureIds = {0,
                                                   IDB_OPTION_ON,
                                                   IDB_OPTION_OFF,
                                                   IDB_BUTTON_RELEASED,
                                                   IDB_BUTTON_PRESSED,
                                                   IDB_EXIT_RELEASED,
                                                   IDB_EXIT_PRESSED};

// Shows the settings dialog modally; returns when it has closed.
void ShowSettingsDialog(HINSTANCE instance, platform::Platform& platform);

// Whether the user chose a high-contrast theme.
bool HighContrastOn();

inline RECT RectOf(const settings_dialog::Box& box) {
  return {box.x, box.y, box.x + box.w, box.y + box.h};
}

class DialogWindow final : public platform::SettingsDialogHost, public AccessibleSource {
 public:
  DialogWindow(HINSTANCE instance, platform::Platform& platform)
      : instance_(instance), platform_(platform), core_(platform, *this) {}
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  ~DialogWindow() override;

  // Builds the windows and runs the dialog's message loop until it closes.
  void Run();

  // SettingsDialogHost
  platform::WindowHandle Window() override;
  void DrawBackgroundLine(std::int32_t y, std::int32_t width, std::uint32_t colour) override;
  void CopyTextureTile(platform::DialogSurface panel, std::int32_t x, std::int32_t y) override;
  void FillPanel(platform::DialogSurface panel, std::uint32_t colour) override;
  std::uint32_t ColourOf(platform::Ink ink) override;
  void SetSliderPosition(std::int32_t index, std::int32_t value) override;
  void MoveWindowTop(std::int32_t top) override;
  void MoveWindowLeft(std::int32_t left) override;
  void DispatchPending() override;
  void Destroy() override;
  void TellSettingsNotSaved(std::string_view message) override;
  void TellReader(platform::ReaderEvent event, std::int32_t item) override;
  void ShowFocusCues() override;
  void TakeNoText() override;

  // AccessibleSource
  std::vector<settings_dialog::AccessibleItem> AccessibleItems() override;
  std::string AccessibleTitle() override;
  void ActivateItem(std::size_t item) override;
  RECT ScreenRectOf(const settings_dialog::Box& box) override;
  HWND AccessibleWindow() override;

 private:
  using Surface = settings_dialog::Surface;
  using MouseButton = settings_dialog::MouseButton;
  using LayoutScale = settings_dialog::LayoutScale;

  static LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SliderProc(HWND slider, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR);
  LRESULT OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  // One handler a message.
  LRESULT OnPaint(HWND window);
  LRESULT OnEraseBackground();
  LRESULT OnSize();
  LRESULT OnGetDpiScaledSize(WPARAM wparam, LPARAM lparam);
  LRESULT OnDpiChanged(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetCursor(HWND window, WPARAM wparam, LPARAM lparam);
  LRESULT OnMouseDown(HWND window, MouseButton button, LPARAM lparam);
  LRESULT OnMouseUp(MouseButton button, LPARAM lparam);
  LRESULT OnMouseMove(LPARAM lparam);
  LRESULT OnSetFocus(HWND from);
  LRESULT OnKillFocus(HWND to);
  LRESULT OnCaptureLost(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnHScroll(HWND slider, WPARAM wparam);
  LRESULT OnUpdateUiState(HWND window, WPARAM wparam, LPARAM lparam);
  LRESULT OnThemeChange(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnClose();
  LRESULT OnDestroy(HWND window);
  LRESULT OnGetObject(HWND window, WPARAM wparam, LPARAM lparam);
  LRESULT OnActivateItem(WPARAM item);
  void DetachAccessible();
  // A point of the dialog's client, in physical pixels, on the surface that shows it.
  struct SurfacePoint {
    Surface surface;
    platform::Point at;  // layout pixels of that surface
  };
  SurfacePoint Locate(POINT point) const;
  bool Ours(HWND window) const;

  // Keys reach the core before any window sees them.
  void Dispatch(const MSG& message);
  bool TakeKey(const MSG& message);

  // Building the window and its controls.
  void RegisterClasses();
  void CreateWindows(const platform::Rect& placement);
  void CreateSurfaces();
  void MeasureAutoSizedLabels();
  void AddExitTip();
  void SendExitTip(UINT message);

  // Everything drawn or placed in physical pixels follows the DPI of the dialog's monitor.
  void Rescale(int dpi, const platform::Rect& window);
  void MakeFonts();
  void DeleteFonts();
  void MoveWindowTo(std::optional<std::int32_t> left, std::optional<std::int32_t> top);
  void PlaceControls();
  platform::Rect CentredPlacement(const LayoutScale& scale);

  // Drawing the controls onto the surfaces.
  void Compose(Surface surface);
  void ComposeAll();
  // Paints what the core's view changed: after each message the dialog handled, and before a yield.
  void ComposeChanged();
  void DrawFocusCue(HDC dc, Surface surface);
  void DrawHighContrastPicture(HDC dc, const settings_dialog::Element& element);
  void DrawElement(HDC dc, const settings_dialog::Element& element);
  void DrawPictureElement(HDC dc, const settings_dialog::Element& element);
  void DrawLabelElement(HDC dc, const settings_dialog::Element& element);
  void DrawPictureOver(HDC dc, const Picture& picture, const settings_dialog::Box& box);
  MemorySurface& BaseOf(Surface surface);
  MemorySurface& BackingOf(Surface surface);
  // Where a panel's surface lies on the dialog's, in physical pixels.
  RECT PanelRect(Surface surface) const;
  // The resource's picture, loaded at its first use.
  const Picture& PictureOf(int id);
  HFONT FontOf(platform::DialogControl control) const;

  HINSTANCE instance_;
  platform::Platform& platform_;
  settings_dialog::SettingsDialog core_;
  HWND window_ = nullptr;
  HWND tip_ = nullptr;
  LayoutScale scale_;  // layout pixels to the dialog's monitor's pixels and back
  std::array<HWND, 4> sliders_{};
  bool destroyed_ = false;
  bool loaded_ = false;
  bool background_painted_ = false;
  HFONT font_ = nullptr;
  HFONT link_font_ = nullptr;
  HCURSOR hand_ = nullptr;
  HCURSOR arrow_ = nullptr;
  std::array<MemorySurface, 3> bases_;  // the painted background and the tiled panels
  std::array<MemorySurface, 3>
      backings_;  // what each surface shows: its base with the elements on it
  std::map<int, Picture> pictures_;
  DialogAccessible* accessible_ = nullptr;  // made at the first request, detached with the window
};

}  // namespace quillmere::win32
