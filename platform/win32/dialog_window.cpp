#include "platform/win32/dialog_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "platform/settings_dialog_host.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "resource_ids.h"
#include "settings_dialog/dialog.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/skin.h"
#include "startup/entry.h"

namespace quillmere::win32 {
namespace {

using platform::DialogControl;
using platform::DialogPicture;
using settings_dialog::Element;
using settings_dialog::ElementKind;
using settings_dialog::MouseButton;
using settings_dialog::ScrollRequest;
using settings_dialog::Surface;

constexpr wchar_t kDialogClass[] = L"quillmere_settings";
constexpr wchar_t kPanelClass[] = L"quillmere_settings_panel";
constexpr int kSliderIdBase = 100;

// The labels' face, and the installed Japanese faces that stand in for it, best first.
constexpr std::array<const wchar_t*, 4> kFaces = {L"ＭＳ Ｐゴシック", L"MS UI Gothic",
                                                  L"Yu Gothic UI", L"IPAPGothic"};
constexpr double kFontPoints = 9.75;
constexpr double kSkinDotsPerInch = 96;
constexpr COLORREF kWhiteInk = RGB(255, 255, 255);
constexpr COLORREF kLinkInk = RGB(255, 255, 192);
constexpr COLORREF kDialogBackground = RGB(128, 128, 128);
constexpr char kExitTip[] = "exit button";
constexpr char kNotSavedTitle[] = "quillmere";
constexpr char kNotSavedText[] =
    "設定を保存できませんでした。\n"
    "設定ファイルに書き込めるか確かめてから、もう一度「設定」を押してください。";

constexpr std::array<int, 5> kPatternStripIds = {IDB_PATTERN0, IDB_PATTERN1, IDB_PATTERN2,
                                                 IDB_PATTERN3, IDB_PATTERN4};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Chosen once per process: the first face of the list that the system has.
const wchar_t* LabelFace() {
  static const wchar_t* face = [] {
    HDC screen = GetDC(nullptr);
    const wchar_t* chosen = kFaces.back();
    for (const wchar_t* candidate : kFaces) {
      if (FaceInstalled(screen, candidate)) {
        chosen = candidate;
        break;
      }
    }
    ReleaseDC(nullptr, screen);
    return chosen;
  }();
  return face;
}

// Sized for 96 dots per inch like the rest of the skin, which is laid out in pixels.
HFONT MakeLabelFont(bool underline) {
  const int height = -static_cast<int>(std::lround(kFontPoints * kSkinDotsPerInch / 72.0));
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, LabelFace());
}

// A memory surface: a DIB section selected into its own device context.
class Backing {
 public:
  Backing() = default;
  Backing(const Backing&) = delete;
  Backing& operator=(const Backing&) = delete;
  ~Backing() {
    if (dc_ != nullptr) {
      SelectObject(dc_, previous_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  void Create(int width, int height, COLORREF fill) {
    width_ = width;
    height_ = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void CopyTo(HDC target, int x = 0, int y = 0) const {
    BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
  }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A picture from the resources with its size.
struct Picture {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
};

Picture LoadPicture(HINSTANCE instance, int id) {
  Picture picture;
  picture.bitmap = static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info{};
  if (picture.bitmap != nullptr && GetObjectW(picture.bitmap, sizeof info, &info) != 0) {
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
  }
  return picture;
}

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

ScrollRequest RequestOf(WPARAM wparam) {
  switch (LOWORD(wparam)) {
    case SB_LINELEFT: return ScrollRequest::LineLeft;
    case SB_LINERIGHT: return ScrollRequest::LineRight;
    case SB_PAGELEFT: return ScrollRequest::PageLeft;
    case SB_PAGERIGHT: return ScrollRequest::PageRight;
    case SB_THUMBTRACK: return ScrollRequest::ThumbTrack;
    case SB_THUMBPOSITION: return ScrollRequest::ThumbPosition;
    case SB_LEFT: return ScrollRequest::ToLeft;
    case SB_RIGHT: return ScrollRequest::ToRight;
    default: return ScrollRequest::EndScroll;
  }
}

RECT RectOf(const settings_dialog::Box& box) { return {box.x, box.y, box.x + box.w, box.y + box.h}; }

class DialogWindow final : public platform::SettingsDialogHost {
 public:
  DialogWindow(HINSTANCE instance, platform::Platform& platform)
      : instance_(instance), platform_(platform), core_(platform, *this) {}
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  ~DialogWindow() override {
    for (HFONT font : {font_, link_font_}) {
      if (font != nullptr) DeleteObject(font);
    }
  }

  void Run();

  // SettingsDialogHost
  platform::WindowHandle Window() override { return FromHwnd(window_); }
  void DrawBackgroundLine(std::int32_t y, std::int32_t width, std::uint32_t colour) override;
  void CopyTextureTile(DialogControl panel, std::int32_t x, std::int32_t y) override;
  void ShowPicture(DialogControl control, std::int32_t index, DialogPicture picture) override;
  void SetLabelText(DialogControl control, std::int32_t index, std::string_view text) override;
  void SetSliderPosition(std::int32_t index, std::int32_t value) override;
  void MoveWindowTop(std::int32_t top) override;
  void MoveWindowLeft(std::int32_t left) override;
  void DispatchPending() override;
  void Destroy() override;
  void TellSettingsNotSaved() override;

  static LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT OnMessage(HWND window, Surface surface, UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint(HWND window, Surface surface);
  bool OnSetCursor(HWND window, Surface surface, HWND under);
  void OnMousePress(HWND window, Surface surface, UINT message, LPARAM lparam);
  void OnMouseRelease(Surface surface, UINT message, LPARAM lparam);
  void OnMouseMove(Surface surface, LPARAM lparam);
  void OnSliderScroll(HWND slider, WPARAM wparam);
  void OnClose();
  void OnDestroy(HWND window);

  void RegisterClasses();
  void CreateWindows(const platform::Rect& placement);
  void LoadPictures();
  void MeasureAutoSizedLabels();
  void AddExitTip();
  void Compose(Surface surface);
  void DrawElement(HDC dc, const Element& element);
  void DrawPicture(HDC dc, const Picture& picture, const settings_dialog::Box& box, bool stretch);
  Backing& BaseOf(Surface surface);
  Backing& BackingOf(Surface surface);
  HWND WindowOf(Surface surface) const;
  const Picture* PictureFor(DialogPicture picture) const;

  HINSTANCE instance_;
  platform::Platform& platform_;
  settings_dialog::SettingsDialog core_;
  HWND window_ = nullptr;
  std::array<HWND, 2> panels_{};
  std::array<HWND, 4> sliders_{};
  bool destroyed_ = false;
  bool loaded_ = false;
  bool background_painted_ = false;
  HFONT font_ = nullptr;
  HFONT link_font_ = nullptr;
  HCURSOR hand_ = nullptr;
  HCURSOR arrow_ = nullptr;
  std::array<Backing, 3> bases_;     // the painted background and the tiled panels
  std::array<Backing, 3> backings_;  // what each surface shows: its base with the elements on it
  std::map<int, Picture> pictures_;
  std::map<std::pair<DialogControl, std::int32_t>, DialogPicture> shown_;
  std::map<std::pair<DialogControl, std::int32_t>, std::wstring> texts_;
};

DialogWindow* the_dialog = nullptr;

std::size_t SurfaceIndex(Surface surface) { return static_cast<std::size_t>(surface); }

Backing& DialogWindow::BaseOf(Surface surface) { return bases_[SurfaceIndex(surface)]; }
Backing& DialogWindow::BackingOf(Surface surface) { return backings_[SurfaceIndex(surface)]; }

HWND DialogWindow::WindowOf(Surface surface) const {
  switch (surface) {
    case Surface::Pic_a: return panels_[0];
    case Surface::Pic_b: return panels_[1];
    default: return window_;
  }
}

const Picture* DialogWindow::PictureFor(DialogPicture picture) const {
  int id = 0;
  switch (picture) {
    case DialogPicture::OptionOn: id = IDB_OPTION_ON; break;
    case DialogPicture::OptionOff: id = IDB_OPTION_OFF; break;
    case DialogPicture::ButtonReleased: id = IDB_BUTTON_RELEASED; break;
    case DialogPicture::ButtonPressed: id = IDB_BUTTON_PRESSED; break;
    case DialogPicture::ExitReleased: id = IDB_EXIT_RELEASED; break;
    case DialogPicture::ExitPressed: id = IDB_EXIT_PRESSED; break;
    case DialogPicture::None: return nullptr;
  }
  auto found = pictures_.find(id);
  return found == pictures_.end() || found->second.bitmap == nullptr ? nullptr : &found->second;
}

void DialogWindow::Run() {
  the_dialog = this;
  RegisterClasses();
  LoadPictures();
  font_ = MakeLabelFont(false);
  link_font_ = MakeLabelFont(true);
  hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_QUILLMERE_HAND));
  arrow_ = LoadCursorW(nullptr, IDC_ARROW);

  const platform::Rect placement = settings_dialog::DialogPlacement(platform_.screen);
  const settings_dialog::Box& client = settings_dialog::kDialogClient;
  bases_[0].Create(client.w, client.h, kDialogBackground);
  backings_[0].Create(client.w, client.h, kDialogBackground);
  for (DialogControl panel : {DialogControl::Pic_a, DialogControl::Pic_b}) {
    const settings_dialog::Box& box = settings_dialog::Find(panel)->box;
    const std::size_t at = panel == DialogControl::Pic_a ? 1 : 2;
    bases_[at].Create(box.w, box.h, kDialogBackground);
    backings_[at].Create(box.w, box.h, kDialogBackground);
  }
  CreateWindows(placement);
  if (window_ == nullptr) return;
  // The painter runs on the resize notification; a system that sent none at creation gets one.
  if (!background_painted_) core_.OnResize();
  MeasureAutoSizedLabels();
  core_.Load();
  loaded_ = true;
  for (Surface surface : {Surface::Dialog, Surface::Pic_a, Surface::Pic_b}) Compose(surface);

  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  AddExitTip();
  MSG message;
  while (!core_.closed() && !destroyed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  the_dialog = nullptr;
}

void DialogWindow::RegisterClasses() {
  WNDCLASSW dialog_class{};
  dialog_class.lpfnWndProc = DialogProc;
  dialog_class.hInstance = instance_;
  dialog_class.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_QUILLMERE));
  dialog_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  dialog_class.lpszClassName = kDialogClass;
  RegisterClassW(&dialog_class);

  WNDCLASSW panel_class{};
  panel_class.lpfnWndProc = PanelProc;
  panel_class.hInstance = instance_;
  panel_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panel_class.lpszClassName = kPanelClass;
  RegisterClassW(&panel_class);
}

void DialogWindow::LoadPictures() {
  for (int id : {IDB_TITLE, IDB_EXIT_RELEASED, IDB_EXIT_PRESSED, IDB_BUTTON_RELEASED,
                 IDB_BUTTON_PRESSED, IDB_OPTION_ON, IDB_OPTION_OFF, IDB_TEXTURE}) {
    pictures_[id] = LoadPicture(instance_, id);
  }
  for (int id : kPatternStripIds) pictures_[id] = LoadPicture(instance_, id);
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

  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const settings_dialog::Box& box =
        settings_dialog::Find(i == 0 ? DialogControl::Pic_a : DialogControl::Pic_b)->box;
    panels_[i] = CreateWindowExW(0, kPanelClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                 box.x, box.y, box.w, box.h, window_, nullptr, instance_, nullptr);
  }
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const settings_dialog::Box& box =
        settings_dialog::Find(DialogControl::HS, static_cast<std::int32_t>(i))->box;
    const settings_dialog::SliderRow& row = settings_dialog::kSliderRows[i];
    sliders_[i] = CreateWindowExW(
        0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ, box.x, box.y, box.w, box.h,
        panels_[1], reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSliderIdBase + static_cast<int>(i))),
        instance_, nullptr);
    SetScrollRange(sliders_[i], SB_CTL, row.minimum, row.maximum, FALSE);
    SetScrollPos(sliders_[i], SB_CTL, row.initial, TRUE);
  }
}

void DialogWindow::MeasureAutoSizedLabels() {
  HDC dc = GetDC(window_);
  for (const Element& element : settings_dialog::Layout()) {
    if (!element.width_follows_text) continue;
    HGDIOBJ previous =
        SelectObject(dc, element.control == DialogControl::lbl_URL ? link_font_ : font_);
    const std::wstring text = Widen(element.text);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    core_.SetTextWidth(element.control, element.index, size.cx);
  }
  ReleaseDC(window_, dc);
}

void DialogWindow::AddExitTip() {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                             nullptr, instance_, nullptr);
  if (tip == nullptr) return;
  static std::wstring text = Widen(kExitTip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = 1;
  tool.rect = RectOf(settings_dialog::Find(DialogControl::ImgExit)->box);
  tool.hinst = instance_;
  tool.lpszText = text.data();
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void DialogWindow::DrawPicture(HDC dc, const Picture& picture, const settings_dialog::Box& box,
                               bool stretch) {
  if (picture.bitmap == nullptr) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, picture.bitmap);
  if (stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, box.x, box.y, box.w, box.h, source, 0, 0, picture.width, picture.height,
               SRCCOPY);
  } else {
    BitBlt(dc, box.x, box.y, picture.width, picture.height, source, 0, 0, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

void DialogWindow::DrawElement(HDC dc, const Element& element) {
  const auto key = std::make_pair(element.control, element.index);
  if (element.kind == ElementKind::Picture) {
    switch (element.control) {
      case DialogControl::Image1:
        DrawPicture(dc, pictures_[IDB_TITLE], element.box, true);
        return;
      case DialogControl::Pic_Ptn:
        DrawPicture(dc, pictures_[kPatternStripIds[static_cast<std::size_t>(element.index)]],
                    element.box, false);
        return;
      default: break;
    }
    auto shown = shown_.find(key);
    if (shown == shown_.end()) return;
    if (const Picture* picture = PictureFor(shown->second)) {
      const bool stretch =
          element.control == DialogControl::Img_Set || element.control == DialogControl::Img_Can;
      DrawPicture(dc, *picture, element.box, stretch);
    }
    return;
  }
  if (element.kind != ElementKind::Label) return;
  auto text_found = texts_.find(key);
  const std::wstring text = text_found != texts_.end() ? text_found->second : Widen(element.text);
  COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  if (element.ink == settings_dialog::Ink::White) ink = kWhiteInk;
  if (element.ink == settings_dialog::Ink::Link) ink = kLinkInk;
  SetTextColor(dc, ink);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ previous =
      SelectObject(dc, element.control == DialogControl::lbl_URL ? link_font_ : font_);
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
  if (element.align == settings_dialog::Align::Right) format |= DT_RIGHT;
  if (element.align == settings_dialog::Align::Centre) format |= DT_CENTER;
  // Captions wider in the fallback face than in the original one may run past their box.
  format |= DT_NOCLIP;
  RECT box = RectOf(element.box);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
  SelectObject(dc, previous);
}

void DialogWindow::Compose(Surface surface) {
  if (!loaded_) return;
  Backing& backing = BackingOf(surface);
  BaseOf(surface).CopyTo(backing.dc());
  for (const Element& element : core_.layout()) {
    if (element.surface == surface) DrawElement(backing.dc(), element);
  }
  if (HWND window = WindowOf(surface)) InvalidateRect(window, nullptr, FALSE);
}

void DialogWindow::DrawBackgroundLine(std::int32_t y, std::int32_t width, std::uint32_t colour) {
  background_painted_ = true;
  HDC dc = BaseOf(Surface::Dialog).dc();
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ previous = SelectObject(dc, pen);
  MoveToEx(dc, 0, y, nullptr);
  LineTo(dc, width, y);
  SelectObject(dc, previous);
  DeleteObject(pen);
  Compose(Surface::Dialog);
}

void DialogWindow::CopyTextureTile(DialogControl panel, std::int32_t x, std::int32_t y) {
  const Surface surface = panel == DialogControl::Pic_a ? Surface::Pic_a : Surface::Pic_b;
  const Picture& tile = pictures_[IDB_TEXTURE];
  if (tile.bitmap == nullptr) return;
  HDC source = CreateCompatibleDC(BaseOf(surface).dc());
  HGDIOBJ previous = SelectObject(source, tile.bitmap);
  BitBlt(BaseOf(surface).dc(), x, y, tile.width, tile.height, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  Compose(surface);
}

void DialogWindow::ShowPicture(DialogControl control, std::int32_t index, DialogPicture picture) {
  const Element* element = settings_dialog::Find(control, index);
  if (element == nullptr) return;
  shown_[{control, index}] = picture;
  Compose(element->surface);
}

void DialogWindow::SetLabelText(DialogControl control, std::int32_t index, std::string_view text) {
  const Element* element = settings_dialog::Find(control, index);
  if (element == nullptr) return;
  texts_[{control, index}] = Widen(text);
  Compose(element->surface);
}

void DialogWindow::SetSliderPosition(std::int32_t index, std::int32_t value) {
  if (index < 0 || index >= static_cast<std::int32_t>(sliders_.size())) return;
  SetScrollPos(sliders_[static_cast<std::size_t>(index)], SB_CTL, value, TRUE);
}

void DialogWindow::MoveWindowTop(std::int32_t top) {
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, rect.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::MoveWindowLeft(std::int32_t left) {
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void DialogWindow::Destroy() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

// The message box's own font may lack Japanese glyphs, so it takes the labels' font and grows
// to fit its text in that font.
struct MessageBoxFit {
  HFONT font = nullptr;
  HHOOK hook = nullptr;
  SIZE grow{};
};
MessageBoxFit message_fit;

BOOL CALLBACK FitMessageText(HWND child, LPARAM box) {
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(message_fit.font), TRUE);
  wchar_t kind[16] = {};
  GetClassNameW(child, kind, 16);
  const int length = GetWindowTextLengthW(child);
  if (lstrcmpiW(kind, L"Static") != 0 || length == 0) return TRUE;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  HDC dc = GetDC(child);
  HGDIOBJ previous = SelectObject(dc, message_fit.font);
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), length, &need, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, previous);
  ReleaseDC(child, dc);
  RECT has{};
  GetWindowRect(child, &has);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(box), reinterpret_cast<POINT*>(&has), 2);
  const LONG grow_x = std::max(0L, need.right - (has.right - has.left));
  const LONG grow_y = std::max(0L, need.bottom - (has.bottom - has.top));
  message_fit.grow = {std::max(message_fit.grow.cx, grow_x), std::max(message_fit.grow.cy, grow_y)};
  SetWindowPos(child, nullptr, 0, 0, has.right - has.left + grow_x, has.bottom - has.top + grow_y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL CALLBACK MoveMessageButton(HWND child, LPARAM box) {
  wchar_t kind[16] = {};
  GetClassNameW(child, kind, 16);
  if (lstrcmpiW(kind, L"Button") != 0) return TRUE;
  RECT at{};
  GetWindowRect(child, &at);
  MapWindowPoints(nullptr, reinterpret_cast<HWND>(box), reinterpret_cast<POINT*>(&at), 2);
  SetWindowPos(child, nullptr, at.left + message_fit.grow.cx / 2, at.top + message_fit.grow.cy, 0,
               0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code != HCBT_ACTIVATE) return CallNextHookEx(message_fit.hook, code, wparam, lparam);
  HWND box = reinterpret_cast<HWND>(wparam);
  message_fit.grow = {};
  EnumChildWindows(box, FitMessageText, reinterpret_cast<LPARAM>(box));
  EnumChildWindows(box, MoveMessageButton, reinterpret_cast<LPARAM>(box));
  RECT outer{};
  GetWindowRect(box, &outer);
  SetWindowPos(box, nullptr, outer.left - message_fit.grow.cx / 2, outer.top - message_fit.grow.cy / 2,
               outer.right - outer.left + message_fit.grow.cx,
               outer.bottom - outer.top + message_fit.grow.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  UnhookWindowsHookEx(message_fit.hook);
  message_fit.hook = nullptr;
  return 0;
}

void DialogWindow::TellSettingsNotSaved() {
  message_fit.font = font_;
  message_fit.hook = SetWindowsHookExW(WH_CBT, MessageBoxHook, nullptr, GetCurrentThreadId());
  MessageBoxW(window_, Widen(kNotSavedText).c_str(), Widen(kNotSavedTitle).c_str(),
              MB_OK | MB_ICONWARNING);
  if (message_fit.hook != nullptr) UnhookWindowsHookEx(message_fit.hook);
  message_fit.hook = nullptr;
}

void DialogWindow::OnPaint(HWND window, Surface surface) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  BackingOf(surface).CopyTo(dc);
  EndPaint(window, &paint);
}

bool DialogWindow::OnSetCursor(HWND window, Surface surface, HWND under) {
  for (HWND slider : sliders_) {
    if (under == slider) {
      SetCursor(hand_);
      return true;
    }
  }
  if (under != window) return false;
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  SetCursor(core_.PointerAt(surface, point.x, point.y) == settings_dialog::Pointer::Hand ? hand_
                                                                                        : arrow_);
  return true;
}

void DialogWindow::OnMousePress(HWND window, Surface surface, UINT message, LPARAM lparam) {
  if (core_.OnMouseDown(surface, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), ButtonOf(message)) &&
      !core_.closed()) {
    SetCapture(window);
  }
}

void DialogWindow::OnMouseRelease(Surface surface, UINT message, LPARAM lparam) {
  if (GetCapture() != nullptr) ReleaseCapture();
  core_.OnMouseUp(surface, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), ButtonOf(message));
}

void DialogWindow::OnMouseMove(Surface surface, LPARAM lparam) {
  core_.OnMouseMove(surface, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

void DialogWindow::OnSliderScroll(HWND slider, WPARAM wparam) {
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    if (sliders_[i] == slider) {
      core_.OnScroll(static_cast<std::int32_t>(i), RequestOf(wparam),
                     static_cast<std::int16_t>(HIWORD(wparam)));
    }
  }
}

void DialogWindow::OnClose() { core_.OnSystemClose(); }

void DialogWindow::OnDestroy(HWND window) {
  if (window == window_) destroyed_ = true;
}

LRESULT DialogWindow::OnMessage(HWND window, Surface surface, UINT message, WPARAM wparam,
                                LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(window, surface);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (surface == Surface::Dialog) core_.OnResize();
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(window, surface, reinterpret_cast<HWND>(wparam))) return TRUE;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnMousePress(window, surface, message, lparam);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnMouseRelease(surface, message, lparam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(surface, lparam);
      return 0;
    case WM_HSCROLL:
      OnSliderScroll(reinterpret_cast<HWND>(lparam), wparam);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (the_dialog == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (the_dialog->window_ == nullptr) the_dialog->window_ = window;
  return the_dialog->OnMessage(window, Surface::Dialog, message, wparam, lparam);
}

LRESULT CALLBACK DialogWindow::PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (the_dialog == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  const Surface surface = window == the_dialog->panels_[1] ? Surface::Pic_b : Surface::Pic_a;
  return the_dialog->OnMessage(window, surface, message, wparam, lparam);
}

}  // namespace

void ShowSettingsDialog(HINSTANCE instance, platform::Platform& platform) {
  DialogWindow dialog(instance, platform);
  dialog.Run();
}

}  // namespace quillmere::win32
