// Any settings file text: the reader never fails, and a value it accepts survives a write and
// a read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "startup/numbers.h"
#include "startup/settings.h"
#include "tests/fake_platform.h"

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (auto value = startup::ParseWholeNumber(text)) {
    if (startup::ParseWholeNumber(startup::FormatValueText(*value)) != *value) std::abort();
  }
  (void)startup::ParseLeadingNumber(text);

  // The same text as every key of a file, then written back and read again.
  testing::FakePlatform fake;
  for (const auto& setting : startup::kSettings) fake.ini["Section"][std::string(setting.key)] = text;
  startup::SettingsValues values;
  startup::LoadSettings(fake, values);
  startup::WriteAllSettings(fake, values);
  startup::SettingsValues again;
  startup::LoadSettings(fake, again);
  if (!(again == values)) std::abort();
  return 0;
}
