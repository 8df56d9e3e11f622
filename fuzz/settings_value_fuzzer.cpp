// Any value text for every key: a write (a blank before a number not below 0) and a second read
// give back what was read.
#include <cstdlib>

#include "startup/settings.h"
#include "tests/fake_platform.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  testing::FakePlatform fake;
  for (const auto& setting : startup::kSettings)
    fake.ini["Section"][std::string(setting.key)] = text;
  startup::SettingsValues values, again;
  startup::LoadSettings(fake, values);
  startup::WriteAllSettings(fake, values);
  for (const auto& setting : startup::kSettings) {
    const std::string& written = fake.ini["Section"][std::string(setting.key)];
    if (written.empty() || written[0] != (values.*setting.value < 0 ? '-' : ' ')) std::abort();
  }
  startup::LoadSettings(fake, again);
  if (!(again == values)) std::abort();
  return 0;
}
