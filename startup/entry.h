// The entry routine: the single-instance guard, the mode letter and the one window it opens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillmere::startup {

inline constexpr std::string_view kSaverWindowTitle = "quillmere_Main";
inline constexpr std::string_view kSettingsDialogTitle = "quillmereの設定";
inline constexpr std::string_view kPasswordRegistryKey = "SCRSAVE";

enum class Mode { Preview, PasswordChange, Settings, FullScreen, FullScreenWithCursor, None };

Mode ModeOf(std::string_view argument_text);

// What the rest of the run reads of how it was started.
struct StartState {
  std::string argument_text;
  std::int32_t saved_cursor_count = 0;  // what ShowCursor last returned
};
StartState& Start();

// Runs the entry routine. Returns in preview mode once the preview window is shown, and
// after the backend's EndProcess otherwise.
void RunEntry(std::string_view argument_text, platform::Platform& platform);

}  // namespace quillmere::startup
