#include "startup/settings.h"

#include <algorithm>

#include "startup/numbers.h"

namespace quillmere::startup {
namespace {

constexpr std::uint32_t kReadBufferSize = 256;
constexpr std::size_t kNameField = 128;

// The system sees a name up to its NUL, so a name is cut to the field less its terminator.
std::string_view FitField(std::string_view name) {
  return name.substr(0, std::min(name.size(), kNameField - 1));
}

}  // namespace

SettingsValues& Settings() {
  static SettingsValues values;
  return values;
}

std::string SettingsFilePath(platform::ProfileFiles& profile) {
  return profile.ExecutableFolder() + std::string(kSettingsFileName);
}

std::string ReadIniString(platform::ProfileFiles& profile, std::string_view section,
                          std::string_view key, std::string_view path) {
  std::string text = profile.GetPrivateProfileString(section, key, "", kReadBufferSize, path);
  if (text.size() > kReadBufferSize - 1) text.resize(kReadBufferSize - 1);
  return text;
}

bool WriteIniString(platform::ProfileFiles& profile, std::string_view section, std::string_view key,
                    std::string_view value, std::string_view path) {
  return profile.WritePrivateProfileString(FitField(section), FitField(key), value, path);
}

void LoadSettings(platform::ProfileFiles& profile, SettingsValues& values) {
  const auto read = [&](std::string_view key) {
    return ReadIniString(profile, kSettingsSection, key, SettingsFilePath(profile));
  };
  const auto load = [&](const SettingDescription& setting) {
    const std::string text = read(setting.key);
    if (text.empty()) {
      values.*setting.value = setting.default_value;
    } else if (auto number = ParseWholeNumber(text)) {
      values.*setting.value = *number;
    }
  };
  for (const SettingDescription& setting : kSettings) load(setting);
  load(kMonitorsSetting);
  const std::string frame_rate = read(kFrameRateKey);
  values.FrameRate =
      frame_rate.empty() ? std::nullopt : std::optional(ParseWholeNumber(frame_rate).value_or(0));
}

bool WriteAllSettings(platform::ProfileFiles& profile, const SettingsValues& values) {
  bool all_written = true;
  for (const SettingDescription& setting : kSettings) {
    all_written &=
        WriteIniString(profile, kSettingsSection, setting.key,
                       FormatValueText(values.*setting.value), SettingsFilePath(profile));
  }
  return all_written;
}

}  // namespace quillmere::startup
