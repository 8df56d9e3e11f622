// Fonts and typefaces: picks the labels' typeface once and makes the label fonts in it.
#include "win32/fonts.h"

#include <array>
#include <cmath>
#include <vector>

#include "win32/win32_platform.h"

namespace quillmere::win32 {
namespace {

// The labels' typeface, and the installed Japanese typefaces that stand in for it, best first.
constexpr std::array<const wchar_t*, 4> kTypefaces = {L"ＭＳ Ｐゴシック", L"MS UI Gothic",
                                                      L"Yu Gothic UI", L"IPAPGothic"};
constexpr double kFontPoints = 9.75;

using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

int CALLBACK TypefaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool TypefaceInstalled(HDC dc, const wchar_t* typeface) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, typeface, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, TypefaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Chosen once per process: the first typeface of the list that the system has.
const wchar_t* LabelTypeface() {
  static const wchar_t* typeface = [] {
    HDC screen = GetDC(nullptr);
    const wchar_t* chosen = kTypefaces.back();
    for (const wchar_t* candidate : kTypefaces) {
      if (TypefaceInstalled(screen, candidate)) {
        chosen = candidate;
        break;
      }
    }
    ReleaseDC(nullptr, screen);
    return chosen;
  }();
  return typeface;
}

// Whether the font draws every character of the text with a glyph of its own.
bool HasGlyphs(HFONT font, const wchar_t* text) {
  const int length = lstrlenW(text);
  std::vector<WORD> glyphs(static_cast<std::size_t>(length) + 1);
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  const DWORD done =
      GetGlyphIndicesW(screen, text, length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  if (done == GDI_ERROR) return false;
  for (int i = 0; i < length; ++i) {
    if (text[i] >= L' ' && glyphs[static_cast<std::size_t>(i)] == 0xFFFF) return false;
  }
  return true;
}

}  // namespace

// Its pixel size is the layout's, which is that of 96 dots per inch, times the scale.
HFONT MakeLabelFont(bool underline, const settings_dialog::LayoutScale& scale) {
  const auto layout_pixels = static_cast<std::int32_t>(
      std::lround(kFontPoints * settings_dialog::LayoutScale::kLayoutDpi / 72.0));
  const int height = -scale.ToPhysical(layout_pixels);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, LabelTypeface());
}

// Windows before 10 (1607) tell the message font at the system's DPI only; it is scaled from there.
HFONT MakeMessageFont(int dpi, const wchar_t* text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  static const auto for_dpi =
      LoadOptional<SystemParametersInfoForDpiFunction>(L"user32.dll", "SystemParametersInfoForDpi");
  LOGFONTW& wanted = metrics.lfMessageFont;
  if (for_dpi == nullptr ||
      !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    wanted.lfHeight = MulDiv(wanted.lfHeight, dpi, DpiOf(nullptr));
  }
  HFONT font = CreateFontIndirectW(&wanted);
  if (font == nullptr || HasGlyphs(font, text)) return font;
  DeleteObject(font);
  lstrcpynW(wanted.lfFaceName, LabelTypeface(), LF_FACESIZE);
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  return CreateFontIndirectW(&wanted);
}

}  // namespace quillmere::win32
