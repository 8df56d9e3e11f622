#include "tools/art/image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace quillmere::art {
namespace {

constexpr int kSamples = 4;

std::uint8_t Byte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits,
                   std::uint32_t image_size, std::uint32_t colours) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, 0);
  Put32(out, image_size);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, colours);
  Put32(out, 0);
}

// One directory entry for a single 32 x 32 image; the two middle fields are the hot spot of a
// cursor and the planes and bit count of an icon.
void PutDirectory(std::vector<std::uint8_t>& out, std::uint32_t type, std::uint32_t colour_count,
                  std::uint32_t field_a, std::uint32_t field_b, std::uint32_t bytes) {
  Put16(out, 0);
  Put16(out, type);
  Put16(out, 1);
  out.push_back(32);
  out.push_back(32);
  out.push_back(static_cast<std::uint8_t>(colour_count));
  out.push_back(0);
  Put16(out, field_a);
  Put16(out, field_b);
  Put32(out, bytes);
  Put32(out, 6 + 16);
}

// A 1-bit mask, bottom-up, 32 pixels a row.
std::vector<std::uint8_t> Mask(const std::vector<bool>& bits) {
  std::vector<std::uint8_t> mask(32 * 4, 0);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (bits[static_cast<std::size_t>(y * 32 + x)]) {
        mask[static_cast<std::size_t>((31 - y) * 4 + x / 8)] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  return mask;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

Rgb Image::At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

void Image::Set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
}

void Image::Blend(int x, int y, Rgb colour, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  Set(x, y, Mix(At(x, y), colour, std::min(coverage, 1.0)));
}

template <typename Inside>
void Image::Cover(double x0, double y0, double x1, double y1, Rgb colour, Inside inside) {
  const int left = std::max(0, static_cast<int>(std::floor(x0)));
  const int top = std::max(0, static_cast<int>(std::floor(y0)));
  const int right = std::min(width_ - 1, static_cast<int>(std::ceil(x1)));
  const int bottom = std::min(height_ - 1, static_cast<int>(std::ceil(y1)));
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
        }
      }
      Blend(x, y, colour, hits / double(kSamples * kSamples));
    }
  }
}

void Image::Disc(double cx, double cy, double radius, Rgb colour) {
  Cover(cx - radius, cy - radius, cx + radius, cy + radius, colour, [&](double x, double y) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  });
}

void Image::Ring(double cx, double cy, double radius, double thickness, Rgb colour) {
  const double outer = radius + thickness / 2;
  const double inner = radius - thickness / 2;
  Cover(cx - outer, cy - outer, cx + outer, cy + outer, colour, [&](double x, double y) {
    const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d <= outer * outer && d >= inner * inner;
  });
}

void Image::Line(double x0, double y0, double x1, double y1, double thickness, Rgb colour) {
  const double half = thickness / 2;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double length2 = std::max(dx * dx + dy * dy, std::numeric_limits<double>::min());
  Cover(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half,
        std::max(y0, y1) + half, colour, [&](double x, double y) {
          const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0);
          const double px = x0 + t * dx - x;
          const double py = y0 + t * dy - y;
          return px * px + py * py <= half * half;
        });
}

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
  const int stride = (image.width() * 3 + 3) / 4 * 4;
  const auto pixel_bytes = static_cast<std::uint32_t>(stride * image.height());
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 14 + 40 + pixel_bytes);
  Put32(out, 0);
  Put32(out, 14 + 40);
  PutInfoHeader(out, image.width(), image.height(), 24, pixel_bytes, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.At(x, y);
      out.push_back(Byte(c.b));
      out.push_back(Byte(c.g));
      out.push_back(Byte(c.r));
    }
    for (int pad = image.width() * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> EncodeCursor(const std::vector<std::string>& rows, int hot_x, int hot_y) {
  std::vector<bool> white(32 * 32, false);
  std::vector<bool> transparent(32 * 32, true);
  for (std::size_t y = 0; y < 32 && y < rows.size(); ++y) {
    for (std::size_t x = 0; x < 32 && x < rows[y].size(); ++x) {
      const char c = rows[y][x];
      if (c == '#' || c == '.') transparent[y * 32 + x] = false;
      if (c == '.') white[y * 32 + x] = true;
    }
  }
  const std::vector<std::uint8_t> xor_mask = Mask(white);
  const std::vector<std::uint8_t> and_mask = Mask(transparent);
  const auto bytes = static_cast<std::uint32_t>(40 + 8 + xor_mask.size() + and_mask.size());
  std::vector<std::uint8_t> out;
  PutDirectory(out, 2, 2, static_cast<std::uint32_t>(hot_x), static_cast<std::uint32_t>(hot_y),
               bytes);
  PutInfoHeader(out, 32, 64, 1, static_cast<std::uint32_t>(xor_mask.size() + and_mask.size()), 2);
  for (int c : {0, 0, 0, 0, 255, 255, 255, 0}) out.push_back(static_cast<std::uint8_t>(c));
  out.insert(out.end(), xor_mask.begin(), xor_mask.end());
  out.insert(out.end(), and_mask.begin(), and_mask.end());
  return out;
}

std::vector<std::uint8_t> EncodeIcon(const Image& image, const std::vector<bool>& opaque,
                                     const std::vector<Rgb>& palette) {
  std::vector<std::uint8_t> indices(32 * 32, 0);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::size_t at = static_cast<std::size_t>(y * 32 + x);
      if (!opaque[at]) continue;
      const Rgb c = image.At(x, y);
      double best = std::numeric_limits<double>::max();
      for (std::size_t i = 0; i < palette.size(); ++i) {
        const double dr = palette[i].r - c.r;
        const double dg = palette[i].g - c.g;
        const double db = palette[i].b - c.b;
        const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < best) {
          best = d;
          indices[at] = static_cast<std::uint8_t>(i);
        }
      }
    }
  }
  std::vector<bool> transparent(32 * 32);
  for (std::size_t i = 0; i < transparent.size(); ++i) transparent[i] = !opaque[i];
  const std::vector<std::uint8_t> and_mask = Mask(transparent);
  const auto bytes = static_cast<std::uint32_t>(40 + 256 * 4 + indices.size() + and_mask.size());
  std::vector<std::uint8_t> out;
  PutDirectory(out, 1, 0, 1, 8, bytes);
  PutInfoHeader(out, 32, 64, 8, static_cast<std::uint32_t>(indices.size() + and_mask.size()), 256);
  for (std::size_t i = 0; i < 256; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{};
    out.push_back(Byte(c.b));
    out.push_back(Byte(c.g));
    out.push_back(Byte(c.r));
    out.push_back(0);
  }
  for (int y = 31; y >= 0; --y) {
    for (int x = 0; x < 32; ++x) out.push_back(indices[static_cast<std::size_t>(y * 32 + x)]);
  }
  out.insert(out.end(), and_mask.begin(), and_mask.end());
  return out;
}

}  // namespace quillmere::art
