// quillmere-art: draws every picture of the program from code and writes them into a folder,
// so that the committed artwork can always be made again.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "saver/colour_patterns.h"
#include "saver/headless.h"
#include "saver/random.h"
#include "settings_dialog/layout.h"
#include "startup/settings.h"
#include "tools/art/image.h"

namespace quillmere::art {
namespace {

using platform::DialogControl;

constexpr Rgb kPanelGrey{214, 214, 210};
constexpr Rgb kTitleTop{58, 78, 140};
constexpr Rgb kTitleBottom{16, 26, 72};

// A repeatable pseudo-random value in [0, 1) for the integer coordinates of a picture.
double Noise(std::uint32_t a, std::uint32_t b) {
  std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h >> 8) / double(1u << 24);
}

Rgb Shade(Rgb c, double delta) { return {c.r + delta, c.g + delta, c.b + delta}; }

Rgb TitleRow(int y) {
  if (y == 0) return {120, 142, 204};
  if (y == 21) return {8, 12, 40};
  return Mix(kTitleTop, kTitleBottom, (y - 1) / 19.0);
}

// The hue wheel: red, yellow, green, cyan, blue, magenta and back, hue running from 0 to 6.
Rgb HueColour(double hue) {
  const double up = 255 * (hue - std::floor(hue));
  const double down = 255 - up;
  const Rgb colours[6] = {{255, up, 0},   {down, 255, 0}, {0, 255, up},
                          {0, down, 255}, {up, 0, 255},   {255, 0, down}};
  return colours[static_cast<int>(hue) % 6];
}

Rgb FromColour(saver::Colour c) {
  return {double(c & 0xFF), double((c >> 8) & 0xFF), double((c >> 16) & 0xFF)};
}

Image PreviewStill() {
  saver::HeadlessRun run;
  run.settings = {3, 2, 3, 12, 10, 0};
  run.width = 152;
  run.height = 112;
  run.frames = 180;
  run.seed = 11;
  const std::vector<std::uint32_t> canvas = saver::RenderHeadless(run);
  Image image(run.width, run.height);
  for (int y = 0; y < run.height; ++y) {
    for (int x = 0; x < run.width; ++x) {
      const std::uint32_t p = canvas[static_cast<std::size_t>(y * run.width + x)];
      image.Set(x, y, {double((p >> 16) & 0xFF), double((p >> 8) & 0xFF), double(p & 0xFF)});
    }
  }
  return image;
}

Image TitleStrip() {
  Image image(500, 22);
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < 500; ++x) {
      // A faint sheen that brightens towards the left, where the caption sits.
      const double sheen = 14 * std::exp(-x / 160.0) * (y < 11 ? 1.0 : 0.4);
      image.Set(x, y, Shade(TitleRow(y), sheen + 3 * (Noise(std::uint32_t(x), 77u) - 0.5)));
    }
  }
  // A thread of trail colours along the lower edge.
  for (int x = 0; x < 500; ++x) {
    image.Blend(x, 20, HueColour(x / 500.0 * 6.0), 0.55);
  }
  return image;
}

Image ExitFace(bool pressed) {
  const int width = pressed ? 16 : 15;
  Image image(width, 15);
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < width; ++x) image.Set(x, y, TitleRow(4 + y));
  }
  const double shift = pressed ? 1.0 : 0.0;
  const Rgb top = pressed ? Rgb{150, 40, 44} : Rgb{232, 98, 92};
  const Rgb bottom = pressed ? Rgb{110, 22, 28} : Rgb{168, 36, 40};
  for (int y = 0; y < 15; ++y) {
    const Rgb row = Mix(top, bottom, y / 14.0);
    for (int x = 0; x < 15; ++x) {
      const bool corner = (x == 0 || x == 14) && (y == 0 || y == 14);
      const bool edge = x == 0 || x == 14 || y == 0 || y == 14;
      const int at = x + static_cast<int>(shift);
      if (corner) {
        image.Blend(at, y, {70, 14, 20}, 0.45);
      } else if (edge) {
        image.Set(at, y, {84, 16, 22});
      } else {
        image.Set(at, y, y == 1 && !pressed ? Mix(row, {255, 200, 196}, 0.5) : row);
      }
    }
  }
  const double c = 7 + shift;
  const double cy = pressed ? 7.5 : 7.0;
  image.Line(c - 3.2, cy - 3.2, c + 3.2, cy + 3.2, 1.9, {255, 250, 248});
  image.Line(c - 3.2, cy + 3.2, c + 3.2, cy - 3.2, 1.9, {255, 250, 248});
  return image;
}

// Stretched to 91 x 22 by replicating pixels, so the edge columns become soft bevels.
Image ButtonFace(bool pressed) {
  Image image(21, 20);
  const Rgb top = pressed ? Rgb{168, 188, 226} : Rgb{252, 252, 254};
  const Rgb bottom = pressed ? Rgb{206, 218, 242} : Rgb{196, 200, 214};
  const Rgb border = pressed ? Rgb{52, 84, 156} : Rgb{108, 112, 132};
  for (int y = 0; y < 20; ++y) {
    Rgb row = Mix(top, bottom, y / 19.0);
    if (y == 1) row = pressed ? Mix(row, {120, 140, 190}, 0.6) : Rgb{255, 255, 255};
    for (int x = 0; x < 21; ++x) {
      Rgb c = row;
      if (x == 0 || x == 20) c = Mix(row, border, 0.55);
      if (x == 1) c = Shade(row, pressed ? -10 : 6);
      if (x == 19) c = Shade(row, pressed ? 6 : -10);
      if (y == 0 || y == 19) c = border;
      image.Set(x, y, c);
    }
  }
  return image;
}

Image OptionMark(bool on) {
  Image image(13, 13, kPanelGrey);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 13; ++x) {
      const double t = std::clamp((x + y) / 24.0, 0.0, 1.0);
      const Rgb fill = Mix({255, 255, 255}, {206, 208, 216}, t);
      const double d = std::hypot(x + 0.5 - 6.5, y + 0.5 - 6.5);
      if (d < 5.2) image.Set(x, y, fill);
    }
  }
  image.Disc(6.5, 6.5, 5.4, Mix({255, 255, 255}, {214, 216, 222}, 0.5));
  image.Disc(6.0, 6.0, 4.2, {255, 255, 255});
  image.Ring(6.5, 6.5, 5.6, 1.2, {92, 98, 116});
  if (on) {
    image.Disc(6.5, 6.5, 3.1, {34, 84, 196});
    image.Disc(6.5, 6.5, 2.2, {58, 118, 232});
    image.Disc(5.6, 5.6, 0.9, {190, 214, 255});
  }
  return image;
}

// Light grey, with fine horizontal streaks; seamless from its bottom row to its top.
Image TextureTile() {
  constexpr int w = settings_dialog::kTileWidth;
  constexpr int h = settings_dialog::kTileHeight;
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    const double row =
        4 * std::sin(y * 2 * std::numbers::pi / 13) + 5 * (Noise(1u, std::uint32_t(y)) - 0.5);
    for (int x = 0; x < w; ++x) {
      const double grain = 5 * (Noise(std::uint32_t(x), std::uint32_t(y)) - 0.5);
      image.Set(x, y, Shade(kPanelGrey, row + grain));
    }
    // A few streaks per row, lighter or darker, fading at their ends.
    for (int s = 0; s < 3; ++s) {
      const double start = Noise(std::uint32_t(s + 10), std::uint32_t(y)) * w;
      const double length = 20 + Noise(std::uint32_t(s + 20), std::uint32_t(y)) * 90;
      const double depth = (Noise(std::uint32_t(s + 30), std::uint32_t(y)) - 0.45) * 22;
      for (int i = 0; i < static_cast<int>(length); ++i) {
        const double fade = std::sin(i / length * std::numbers::pi);
        const int x = (static_cast<int>(start) + i) % w;
        image.Set(x, y, Shade(image.At(x, y), depth * fade));
      }
    }
  }
  return image;
}

Image PatternStrip(std::int32_t pattern) {
  saver::RandomSource random(0x5EED0000u + static_cast<std::uint32_t>(pattern));
  const std::vector<saver::Colour> table = saver::PatternColours(pattern, 1024.0f, random);
  const settings_dialog::Box& box =
      std::ranges::find(settings_dialog::Layout(), DialogControl::PatternStrips,
                        &settings_dialog::Element::control)
          ->box;
  const int w = box.w;
  const int h = box.h;
  Image image(w, h);
  // Random colours come in blocks, so the strip reads as a band rather than as noise.
  const int block = pattern == 4 ? 4 : 1;
  for (int x = 0; x < w; ++x) {
    const std::size_t index =
        pattern == 4 ? static_cast<std::size_t>(x / block) % table.size()
                     : static_cast<std::size_t>(x) * table.size() / static_cast<std::size_t>(w);
    const Rgb c = FromColour(table[index]);
    for (int y = 0; y < h; ++y) {
      const double light = y < 6 ? 10 - 2.0 * y : -2.0 * (y - 6);
      image.Set(x, y, Shade(c, light));
    }
  }
  for (int x = 0; x < w; ++x) {
    image.Set(x, 0, Mix(image.At(x, 0), {60, 60, 72}, 0.7));
    image.Set(x, h - 1, Mix(image.At(x, h - 1), {60, 60, 72}, 0.7));
  }
  for (int y = 0; y < h; ++y) {
    image.Set(0, y, Mix(image.At(0, y), {60, 60, 72}, 0.7));
    image.Set(w - 1, y, Mix(image.At(w - 1, y), {60, 60, 72}, 0.7));
  }
  return image;
}

// A pointing hand: white with a black outline, the tip of the index finger at (12, 1).
std::vector<std::string> HandCursor() {
  std::vector<std::string> fill(32, std::string(32, ' '));
  auto box = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) fill[std::size_t(y)][std::size_t(x)] = '.';
    }
  };
  box(11, 2, 13, 15);                                                     // index finger
  box(15, 8, 17, 15);                                                     // middle finger
  box(19, 9, 21, 15);                                                     // ring finger
  box(23, 11, 24, 15);                                                    // little finger
  box(8, 16, 24, 22);                                                     // palm
  box(10, 23, 23, 25);                                                    // wrist
  for (int i = 0; i < 6; ++i) box(5 + i / 2, 12 + i, 7 + i / 2, 13 + i);  // thumb
  box(11, 14, 14, 16);
  std::vector<std::string> rows = fill;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (fill[std::size_t(y)][std::size_t(x)] == '.') continue;
      auto filled = [&](int nx, int ny) {
        return nx >= 0 && ny >= 0 && nx < 32 && ny < 32 &&
               fill[std::size_t(ny)][std::size_t(nx)] == '.';
      };
      if (filled(x - 1, y) || filled(x + 1, y) || filled(x, y - 1) || filled(x, y + 1)) {
        rows[std::size_t(y)][std::size_t(x)] = '#';
      }
    }
  }
  // Knuckle lines between the fingers, down to the palm.
  for (int y = 10; y <= 14; ++y) rows[std::size_t(y)][14] = '#';
  for (int y = 11; y <= 14; ++y) rows[std::size_t(y)][18] = '#';
  for (int y = 12; y <= 14; ++y) rows[std::size_t(y)][22] = '#';
  return rows;
}

std::vector<Rgb> IconPalette() {
  std::vector<Rgb> palette;
  for (int i = 0; i < 40; ++i) palette.push_back(Mix({6, 10, 34}, {120, 140, 210}, i / 39.0));
  for (int i = 0; i < 16; ++i) palette.push_back(Mix({0, 0, 0}, {255, 255, 255}, i / 15.0));
  for (int h = 0; h < 25; ++h) {
    const Rgb colour = HueColour(h / 25.0 * 6.0);
    for (int k = 1; k <= 8; ++k) palette.push_back(Mix({20, 30, 80}, colour, k / 8.0));
  }
  return palette;
}

// A dark tile with a colour-banded trail curling across it.
Image IconPicture(std::vector<bool>& opaque) {
  Image image(32, 32);
  opaque.assign(32 * 32, false);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = std::max(0.0, std::max(4.5 - x, x - 26.5));
      const double dy = std::max(0.0, std::max(4.5 - y, y - 26.5));
      if (dx * dx + dy * dy > 4.7 * 4.7) continue;
      opaque[std::size_t(y * 32 + x)] = true;
      image.Set(x, y, Mix({40, 56, 128}, {8, 12, 40}, (x + 2 * y) / 93.0));
    }
  }
  for (int i = 0; i < 120; ++i) {
    const double t = i / 119.0;
    const double angle = 0.8 + t * 4.4;
    const double radius = 11.5 - t * 6.0;
    const double x = 16 + radius * std::cos(angle);
    const double y = 16 + radius * std::sin(angle);
    image.Disc(x, y, 2.6, HueColour(t * 6.0));
  }
  image.Disc(16 + 5.5 * std::cos(5.2), 16 + 5.5 * std::sin(5.2), 1.0, {255, 255, 255});
  return image;
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace
}  // namespace quillmere::art

int main(int argc, char** argv) {
  using namespace quillmere::art;
  if (argc != 2) {
    std::fputs("usage: quillmere-art <output folder>\n", stderr);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  struct Picture {
    const char* name;
    std::function<Image()> draw;
  };
  const Picture pictures[] = {
      {"preview.bmp", PreviewStill},
      {"title.bmp", TitleStrip},
      {"exit_released.bmp", [] { return ExitFace(false); }},
      {"exit_pressed.bmp", [] { return ExitFace(true); }},
      {"button_released.bmp", [] { return ButtonFace(false); }},
      {"button_pressed.bmp", [] { return ButtonFace(true); }},
      {"option_on.bmp", [] { return OptionMark(true); }},
      {"option_off.bmp", [] { return OptionMark(false); }},
      {"texture.bmp", TextureTile},
      {"pattern0.bmp", [] { return PatternStrip(0); }},
      {"pattern1.bmp", [] { return PatternStrip(1); }},
      {"pattern2.bmp", [] { return PatternStrip(2); }},
      {"pattern3.bmp", [] { return PatternStrip(3); }},
      {"pattern4.bmp", [] { return PatternStrip(4); }},
  };
  bool ok = true;
  for (const Picture& picture : pictures)
    ok &= Write(folder + picture.name, EncodeBmp(picture.draw()));
  ok &= Write(folder + "hand.cur", EncodeCursor(HandCursor(), 12, 1));
  std::vector<bool> opaque;
  const Image icon = IconPicture(opaque);
  ok &= Write(folder + "quillmere.ico", EncodeIcon(icon, opaque, IconPalette()));
  if (!ok) {
    std::fprintf(stderr, "quillmere-art: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
