// Fonts and faces: picks the labels' face once and makes the label fonts in it.
#include "win32/fonts.h"

#include <array>
#include <cmath>

namespace quillmere::win32 {
namespace {

// The labels' face, and the installed Japanese faces that stand in for it, best first.
constexpr std::array<const wchar_t*, 4> kFaces = {L"ＭＳ Ｐゴシック", L"MS UI Gothic",
                                                  L"Yu Gothic UI", L"IPAPGothic"};
constexpr double kFontPoints = 9.75;
constexpr double kSkinDotsPerInch = 96;

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

}  // namespace

// Sized for 96 dots per inch like the rest of the skin, which is laid out in pixels.
HFONT MakeLabelFont(bool underline) {
  const int height = -static_cast<int>(std::lround(kFontPoints * kSkinDotsPerInch / 72.0));
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, LabelFace());
}

}  // namespace quillmere::win32
