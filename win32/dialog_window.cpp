// The settings dialog's windows: creation, the message loop, and one handler a message.
#include "win32/dialog_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "resource_ids.h"
#include "settings_dialog/skin.h"
#include "startup/entry.h"
#include "win32/fonts.h"
#include "win32/text.h"
#include "win32/win32_platform.h"
#include "win32/window_class.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using settings_dialog::DialogWindowFor;
using settings_dialog::LayoutScale;
using settings_dialog::ScrollRequest;

constexpr wchar_t kDialogClass[] = L"quillmere_settings";
constexpr int kSliderIdBase = 100;
// A screen reader's default action, run from the message loop rather than inside its call.
constexpr UINT kActivateItemMessage = WM_APP + 1;

// The one dialog of the process; the window procedures forward to it.
DialogWindow* the_dialog = nullptr;

// What the scroll bar's codes SB_LINELEFT (0) to SB_ENDSCROLL (8) ask for.
constexpr std::array kRequests = {
    ScrollRequest::LineLeft,  ScrollRequest::LineRight,     ScrollRequest::PageLeft,
    ScrollRequest::PageRight, ScrollRequest::ThumbPosition, ScrollRequest::ThumbTrack,
    ScrollRequest::ToLeft,    ScrollRequest::ToRight,       ScrollRequest::EndScroll};

ScrollRequest RequestOf(WPARAM wparam) {
  return LOWORD(wparam) < kRequests.size() ? kRequests[LOWORD(wparam)] : ScrollRequest::EndScroll;
}

}  // namespace

void ShowSettingsDialog(HINSTANCE instance, platform::Platform& platform) {
  // Screen readers in other processes reach the accessible object through this apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    DialogWindow dialog(instance, platform);
    dialog.Run();
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

DialogWindow::~DialogWindow() {
  DetachAccessible();
  DeleteFonts();
}

platform::WindowHandle DialogWindow::Window() { return FromHwnd(window_); }

void DialogWindow::Run() {
  the_dialog = this;
  RegisterClasses();
  MakeFonts();
  hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_QUILLMERE_HAND));
  arrow_ = LoadCursorW(nullptr, IDC_ARROW);

  CreateSurfaces();
  // Known before the first resize notification paints the background.
  core_.OnThemeChange(HighContrastOn());
  CreateWindows(CentredPlacement(scale_));
  if (window_ == nullptr) return;
  // Built at the layout's own scale, then scaled the way a move to another monitor scales it.
  if (const int dpi = DpiOf(window_); dpi != scale_.dpi()) {
    Rescale(dpi, CentredPlacement(LayoutScale(dpi)));
  }
  // The painter runs on the resize notification; a system that sent none at creation gets one.
  if (!background_painted_) core_.OnResize();
  MeasureAutoSizedLabels();
  core_.Load();
  // Someone who asked to see keyboard cues always sees the focus cue from the first click.
  BOOL cues_always = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues_always, 0);
  core_.OnFocusCuesChange(cues_always != FALSE);
  loaded_ = true;
  ComposeAll();

  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  // The dialog itself holds the keyboard at first, so nothing blinks until the user moves.
  SetFocus(window_);
  UpdateWindow(window_);
  AddExitTip();
  // Modal: waits for each message until the dialog has closed, then ShowSettingsDialog returns.
  MSG message;
  while (!core_.closed() && !destroyed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    Dispatch(message);
  }
  the_dialog = nullptr;
}

void DialogWindow::RegisterClasses() {
  RegisterWindowClass(instance_, {.name = kDialogClass,
                                  .procedure = DialogProc,
                                  .icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_QUILLMERE))});
}

void DialogWindow::CreateWindows(const platform::Rect& placement) {
  const std::wstring title = Widen(startup::kSettingsDialogTitle);
  window_ = CreateWindowExW(0, kDialogClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                            placement.left, placement.top, placement.right - placement.left,
                            placement.bottom - placement.top, nullptr, nullptr, instance_, nullptr);
  if (window_ == nullptr) return;
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_QUILLMERE));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  // No tab stop: a click leaves the keyboard with the dialog, which draws the sliders' focus cue,
  // so no scroll bar blinks a caret of its own.
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const settings_dialog::SliderRow& row = settings_dialog::kSliderRows[i];
    // Named by its caption, for screen readers that reach the scroll bar's own window.
    const std::wstring caption =
        Widen(core_.LookOf(DialogControl::StaticLabels, static_cast<std::int32_t>(i)).text);
    sliders_[i] = CreateWindowExW(
        0, L"SCROLLBAR", caption.c_str(), WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSliderIdBase + static_cast<int>(i))),
        instance_, nullptr);
    SetWindowSubclass(sliders_[i], SliderProc, 0, 0);
    SetScrollRange(sliders_[i], SB_CTL, row.minimum, row.maximum, FALSE);
    SetScrollPos(sliders_[i], SB_CTL, row.initial, TRUE);
  }
  PlaceControls();
}

void DialogWindow::MoveWindowTop(std::int32_t top) { MoveWindowTo({}, top); }

void DialogWindow::MoveWindowLeft(std::int32_t left) { MoveWindowTo(left, {}); }

// One edge at a time, the other where the window is now.
void DialogWindow::MoveWindowTo(std::optional<std::int32_t> left, std::optional<std::int32_t> top) {
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, left.value_or(rect.left), top.value_or(rect.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::DispatchPending() {
  // A yield inside a handler: only what is queued now; a quit is put back for the modal loop.
  ComposeChanged();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
}

void DialogWindow::Destroy() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

LRESULT CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (the_dialog == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (the_dialog->window_ == nullptr) the_dialog->window_ = window;
  const LRESULT result = the_dialog->OnMessage(window, message, wparam, lparam);
  the_dialog->ComposeChanged();
  return result;
}

// A reader pointing at a slider meets its scroll bar's window: it answers with the dialog's rows.
LRESULT CALLBACK DialogWindow::SliderProc(HWND slider, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR) {
  if (message == WM_GETOBJECT && the_dialog != nullptr && static_cast<LONG>(lparam) == OBJID_CLIENT)
    return the_dialog->OnGetObject(the_dialog->window_, wparam, lparam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(slider, SliderProc, 0);
  return DefSubclassProc(slider, message, wparam, lparam);
}

LRESULT DialogWindow::OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint(window);
    case WM_ERASEBKGND:
      return OnEraseBackground();
    case WM_SIZE:
      return OnSize();
    case WM_GETDPISCALEDSIZE:
      return OnGetDpiScaledSize(wparam, lparam);
    case WM_DPICHANGED:
      return OnDpiChanged(wparam, lparam);
    case WM_SETCURSOR:
      return OnSetCursor(window, wparam, lparam);
    case WM_LBUTTONDOWN:
      return OnMouseDown(window, MouseButton::Left, lparam);
    case WM_RBUTTONDOWN:
      return OnMouseDown(window, MouseButton::Right, lparam);
    case WM_MBUTTONDOWN:
      return OnMouseDown(window, MouseButton::Middle, lparam);
    case WM_LBUTTONUP:
      return OnMouseUp(MouseButton::Left, lparam);
    case WM_RBUTTONUP:
      return OnMouseUp(MouseButton::Right, lparam);
    case WM_MBUTTONUP:
      return OnMouseUp(MouseButton::Middle, lparam);
    case WM_MOUSEMOVE:
      return OnMouseMove(lparam);
    case WM_SETFOCUS:
      return OnSetFocus(reinterpret_cast<HWND>(wparam));
    case WM_KILLFOCUS:
      return OnKillFocus(reinterpret_cast<HWND>(wparam));
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      return OnCaptureLost(window, message, wparam, lparam);
    case WM_HSCROLL:
      return OnHScroll(reinterpret_cast<HWND>(lparam), wparam);
    case WM_UPDATEUISTATE:
      return OnUpdateUiState(window, wparam, lparam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      return OnThemeChange(window, message, wparam, lparam);
    case WM_CLOSE:
      return OnClose();
    case WM_DESTROY:
      return OnDestroy(window);
    case WM_GETOBJECT:
      return OnGetObject(window, wparam, lparam);
    case kActivateItemMessage:
      return OnActivateItem(wparam);
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT DialogWindow::OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  BackingOf(Surface::Dialog).CopyTo(dc);
  EndPaint(window, &paint);
  return 0;
}

// The dialog paints all of itself from its backing image.
LRESULT DialogWindow::OnEraseBackground() { return 1; }

LRESULT DialogWindow::OnSize() {
  core_.OnResize();
  return 0;
}

// The system asks for the window's size at a new DPI before it suggests the new rectangle.
LRESULT DialogWindow::OnGetDpiScaledSize(WPARAM wparam, LPARAM lparam) {
  const settings_dialog::Box client =
      LayoutScale(LOWORD(wparam)).ToPhysical(settings_dialog::kDialogClient);
  *reinterpret_cast<SIZE*>(lparam) = {client.w, client.h};
  return TRUE;
}

LRESULT DialogWindow::OnDpiChanged(WPARAM wparam, LPARAM lparam) {
  const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
  const LayoutScale scale(LOWORD(wparam));
  Rescale(
      scale.dpi(),
      DialogWindowFor({suggested.left, suggested.top, suggested.right, suggested.bottom}, scale));
  return 0;
}

LRESULT DialogWindow::OnSetCursor(HWND window, WPARAM wparam, LPARAM lparam) {
  // The sliders' scroll bars lie over their rows, which give the pointer there too.
  const HWND under = reinterpret_cast<HWND>(wparam);
  if (under != window && std::ranges::find(sliders_, under) == sliders_.end())
    return DefWindowProcW(window, WM_SETCURSOR, wparam, lparam);
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  const SurfacePoint on = Locate(point);
  const bool hand = core_.PointerAt(on.surface, on.at.x, on.at.y) == settings_dialog::Pointer::Hand;
  SetCursor(hand ? hand_ : arrow_);
  return TRUE;
}

LRESULT DialogWindow::OnMouseDown(HWND window, MouseButton button, LPARAM lparam) {
  const SurfacePoint on = Locate({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  if (core_.OnMouseDown(on.surface, on.at.x, on.at.y, button) && !core_.closed()) {
    SetCapture(window);
  }
  return 0;
}

// The release goes to the pressed element before the capture goes, since losing it ends a press.
LRESULT DialogWindow::OnMouseUp(MouseButton button, LPARAM lparam) {
  const SurfacePoint on = Locate({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  core_.OnMouseUp(on.surface, on.at.x, on.at.y, button);
  if (GetCapture() != nullptr) ReleaseCapture();
  return 0;
}

// Alt+Tab, the Windows key or a consent prompt took the mouse: the button-up will never come.
LRESULT DialogWindow::OnCaptureLost(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  core_.OnCaptureLost();
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT DialogWindow::OnMouseMove(LPARAM lparam) {
  const SurfacePoint on = Locate({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  core_.OnMouseMove(on.surface, on.at.x, on.at.y);
  return 0;
}

// A move between the dialog and one of its scroll bars keeps the keyboard in the dialog.
LRESULT DialogWindow::OnSetFocus(HWND from) {
  if (!Ours(from)) core_.OnKeyboardFocus(true);
  return 0;
}

LRESULT DialogWindow::OnKillFocus(HWND to) {
  if (!Ours(to)) core_.OnKeyboardFocus(false);
  return 0;
}

bool DialogWindow::Ours(HWND window) const {
  return window != nullptr && (window == window_ || IsChild(window_, window));
}

// Physical pixels from the panel's corner map to its layout pixels as they did in a window of its
// own.
DialogWindow::SurfacePoint DialogWindow::Locate(POINT point) const {
  for (const settings_dialog::Panel& panel : settings_dialog::kPanels) {
    const RECT rect = PanelRect(panel.surface);
    if (PtInRect(&rect, point)) {
      return {panel.surface,
              {scale_.ToLayout(point.x - rect.left), scale_.ToLayout(point.y - rect.top)}};
    }
  }
  return {Surface::Dialog, {scale_.ToLayout(point.x), scale_.ToLayout(point.y)}};
}

LRESULT DialogWindow::OnHScroll(HWND slider, WPARAM wparam) {
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    if (sliders_[i] == slider) {
      core_.OnScroll(static_cast<std::int32_t>(i), RequestOf(wparam),
                     static_cast<std::int16_t>(HIWORD(wparam)));
    }
  }
  return 0;
}

LRESULT DialogWindow::OnClose() {
  core_.OnSystemClose();
  return 0;
}

LRESULT DialogWindow::OnDestroy(HWND window) {
  if (window == window_) {
    destroyed_ = true;
    DetachAccessible();
  }
  return 0;
}

LRESULT DialogWindow::OnGetObject(HWND window, WPARAM wparam, LPARAM lparam) {
  if (window != window_ || destroyed_ || static_cast<LONG>(lparam) != OBJID_CLIENT) {
    return DefWindowProcW(window, WM_GETOBJECT, wparam, lparam);
  }
  if (accessible_ == nullptr) accessible_ = new DialogAccessible(*this);
  // oleacc's import library has IID_IAccessible as a thunk in code, not the id: take the type's.
  return LresultFromObject(__uuidof(IAccessible), wparam, accessible_);
}

LRESULT DialogWindow::OnActivateItem(WPARAM item) {
  core_.Activate(item);
  return 0;
}

void DialogWindow::DetachAccessible() {
  if (accessible_ == nullptr) return;
  accessible_->Detach();
  accessible_->Release();
  accessible_ = nullptr;
}

std::vector<settings_dialog::AccessibleItem> DialogWindow::AccessibleItems() {
  return core_.AccessibleItems();
}

std::string DialogWindow::AccessibleTitle() { return std::string(core_.Title()); }

void DialogWindow::ActivateItem(std::size_t item) {
  PostMessageW(window_, kActivateItemMessage, item, 0);
}

RECT DialogWindow::ScreenRectOf(const settings_dialog::Box& box) {
  const settings_dialog::Box at = scale_.ToPhysical(box);
  POINT origin{at.x, at.y};
  ClientToScreen(window_, &origin);
  return {origin.x, origin.y, origin.x + at.w, origin.y + at.h};
}

HWND DialogWindow::AccessibleWindow() { return window_; }

}  // namespace quillmere::win32
