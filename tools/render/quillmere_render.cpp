// quillmere-render: runs the saver's frames without a window and writes the canvas as a PNG.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "saver/headless.h"
#include "startup/settings.h"

namespace {

using quillmere::saver::HeadlessRun;

constexpr std::string_view kUsage =
    "usage: quillmere-render [--width W] [--height H] [--frames N] [--seed S] [--kind K]\n"
    "                        [--size Z] [--speed V] [--num N] [--intval I] [--sync Y]\n"
    "                        [--out file.png]\n";

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

struct Options {
  HeadlessRun run;
  std::string out = "quillmere.png";
};

bool ParseOptions(int argc, char** argv, Options& options) {
  HeadlessRun& run = options.run;
  run.settings = quillmere::startup::DefaultSettings();
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string_view value = argv[++i];
    std::int32_t* number = nullptr;
    if (name == "--width")
      number = &run.width;
    else if (name == "--height")
      number = &run.height;
    else if (name == "--frames")
      number = &run.frames;
    else if (name == "--kind")
      number = &run.settings.Kind;
    else if (name == "--size")
      number = &run.settings.Size;
    else if (name == "--speed")
      number = &run.settings.Speed;
    else if (name == "--num")
      number = &run.settings.Num;
    else if (name == "--intval")
      number = &run.settings.Intval;
    else if (name == "--sync")
      number = &run.settings.Sync;
    if (number != nullptr) {
      if (!ParseNumber(value, *number)) return false;
    } else if (name == "--seed") {
      if (!ParseNumber(value, run.seed)) return false;
    } else if (name == "--out") {
      options.out = value;
    } else {
      return false;
    }
  }
  constexpr std::int32_t kLargestSide = 1 << 14;
  return run.width > 0 && run.height > 0 && run.width <= kLargestSide &&
         run.height <= kLargestSide && run.frames >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage.data(), stderr);
    return 2;
  }
  const std::vector<std::uint32_t> canvas = quillmere::saver::RenderHeadless(options.run);
  std::vector<unsigned char> rgb;
  rgb.reserve(canvas.size() * 3);
  for (std::uint32_t pixel : canvas) {
    rgb.push_back(static_cast<unsigned char>(pixel >> 16));
    rgb.push_back(static_cast<unsigned char>(pixel >> 8));
    rgb.push_back(static_cast<unsigned char>(pixel));
  }
  const int written = stbi_write_png(options.out.c_str(), options.run.width, options.run.height, 3,
                                     rgb.data(), options.run.width * 3);
  if (written == 0) {
    std::fprintf(stderr, "quillmere-render: cannot write %s\n", options.out.c_str());
    return 1;
  }
  return 0;
}
