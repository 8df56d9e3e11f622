// The recorded canvases: each row of canvas_hashes.txt drawn in memory and hashed, so that every
// build of the saver core can be held to the same pictures.
#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "saver/headless.h"

namespace quillmere::testing {

// FNV-1a over the pixels' bytes, lowest byte first.
inline std::uint64_t CanvasHash(std::span<const std::uint32_t> pixels) {
  constexpr std::uint64_t kOffset = 0xCBF29CE484222325ULL;
  constexpr std::uint64_t kPrime = 0x100000001B3ULL;
  std::uint64_t hash = kOffset;
  for (std::uint32_t pixel : pixels) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash = (hash ^ ((pixel >> shift) & 0xFFu)) * kPrime;
    }
  }
  return hash;
}

struct RecordedCanvas {
  std::string line;  // as the file has it
  saver::HeadlessRun run = {};
  std::string hash = {};  // 16 hex digits
};

// The file's rows: width height frames seed kind size speed num intval sync hash.
inline std::vector<RecordedCanvas> RecordedCanvases(std::istream& file) {
  std::vector<RecordedCanvas> rows;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    RecordedCanvas& row = rows.emplace_back(RecordedCanvas{.line = line});
    startup::SettingsValues& s = row.run.settings;
    std::istringstream(line) >> row.run.width >> row.run.height >> row.run.frames >> row.run.seed >>
        s.Kind >> s.Size >> s.Speed >> s.Num >> s.Intval >> s.Sync >> row.hash;
  }
  return rows;
}

// The hash of the run's canvas as the file writes it.
inline std::string HashOfRun(const saver::HeadlessRun& run) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx",
                static_cast<unsigned long long>(CanvasHash(saver::RenderHeadless(run))));
  return text;
}

}  // namespace quillmere::testing
