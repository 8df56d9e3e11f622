// A small RGB raster with the few drawing operations the artwork needs, and its file formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere::art {

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t);

class Image {
 public:
  Image(int width, int height, Rgb fill = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const;
  void Set(int x, int y, Rgb colour);
  // Paints colour over the pixel with the given coverage, 0 to 1.
  void Blend(int x, int y, Rgb colour, double coverage);
  // An anti-aliased disc, coverage from 4 x 4 samples per pixel.
  void Disc(double cx, double cy, double radius, Rgb colour);
  // An anti-aliased ring of the given thickness around the circle of `radius`.
  void Ring(double cx, double cy, double radius, double thickness, Rgb colour);
  // An anti-aliased line segment of the given thickness with round ends.
  void Line(double x0, double y0, double x1, double y1, double thickness, Rgb colour);

 private:
  template <typename Inside>
  void Cover(double x0, double y0, double x1, double y1, Rgb colour, Inside inside);
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// 24-bit, bottom-up, rows padded to four bytes.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// A 32 x 32 monochrome cursor: '#' black, '.' white, anything else transparent.
std::vector<std::uint8_t> EncodeCursor(const std::vector<std::string>& rows, int hot_x, int hot_y);

// A 32 x 32, 256-colour icon; pixels where `opaque` is false are transparent.
std::vector<std::uint8_t> EncodeIcon(const Image& image, const std::vector<bool>& opaque,
                                     const std::vector<Rgb>& palette);

}  // namespace quillmere::art
