// The six settings: their table, the process-wide values and the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillmere::startup {

struct SettingsValues {
  std::int32_t Kind = 0;
  std::int32_t Size = 0;
  std::int32_t Speed = 0;
  std::int32_t Num = 0;
  std::int32_t Intval = 0;
  std::int32_t Sync = 0;
  // 1 keeps every monitor but the primary black; any other value animates them all.
  std::int32_t Monitors = 0;
  // The most frames a second, from a hand-written line; none without one.
  std::optional<std::int32_t> FrameRate = std::nullopt;
  bool operator==(const SettingsValues&) const = default;
};

// Colour patterns 0 to 4; Kind 5 asks for a random one at every restart.
inline constexpr std::int32_t kPatternCount = 5;
inline constexpr std::int32_t kRandomPatternKind = kPatternCount;

// One row per key, in the order the file is read and written.
struct SettingDescription {
  std::string_view key;
  std::int32_t SettingsValues::*value;
  std::int32_t default_value;
  std::int32_t dialog_min;  // the range the settings dialog offers
  std::int32_t dialog_max;
};

inline constexpr std::array<SettingDescription, 6> kSettings = {{
    {"Kind", &SettingsValues::Kind, 0, 0, kRandomPatternKind},
    {"Size", &SettingsValues::Size, 5, 1, 20},
    {"Speed", &SettingsValues::Speed, 5, 1, 10},
    {"Num", &SettingsValues::Num, 100, 50, 200},
    {"Intval", &SettingsValues::Intval, 10, 5, 60},
    {"Sync", &SettingsValues::Sync, 0, 0, 1},
}};

// A seventh key, read by the same rules but never written: the dialog has no place for it.
inline constexpr SettingDescription kMonitorsSetting = {"Monitors", &SettingsValues::Monitors, 0, 0,
                                                        1};

// A hand-written line that paces the saver's frames; never written.
inline constexpr std::string_view kFrameRateKey = "FrameRate";

// A hand-written line that picks the settings dialog's language ("ja" or "en"); never written.
inline constexpr std::string_view kLanguageKey = "Language";

// The values of a file without any of the keys.
constexpr SettingsValues DefaultSettings() {
  SettingsValues values;
  for (const SettingDescription& setting : kSettings) values.*setting.value = setting.default_value;
  values.*kMonitorsSetting.value = kMonitorsSetting.default_value;
  return values;
}

inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kSettingsFileName = "\\quillmere.ini";

// The process-wide settings values: 0 until LoadSettings runs.
SettingsValues& Settings();

// The executable's folder followed by "\quillmere.ini", built afresh on every call.
std::string SettingsFilePath(platform::ProfileFiles& profile);

// The value of one key, or empty text when the file, section or key is missing or empty.
std::string ReadIniString(platform::ProfileFiles& profile, std::string_view section,
                          std::string_view key, std::string_view path);

// Writes one key. Returns true when the system reports success.
bool WriteIniString(platform::ProfileFiles& profile, std::string_view section, std::string_view key,
                    std::string_view value, std::string_view path);

// Fills values from the settings file, Monitors and FrameRate too: defaults for missing or empty
// keys (none for FrameRate); a text that is not a 32-bit number leaves its value as it was, and
// makes FrameRate 0.
void LoadSettings(platform::ProfileFiles& profile, SettingsValues& values = Settings());

// Writes all six keys in order; true only when every write succeeded (each is attempted).
bool WriteAllSettings(platform::ProfileFiles& profile, const SettingsValues& values = Settings());

}  // namespace quillmere::startup
