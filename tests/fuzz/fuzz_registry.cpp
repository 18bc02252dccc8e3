// Stored settings of any type, size and content, with the registry readable
// or not and writable or not: start-up never ends the program nor lets
// anything escape, every key is closed again, the trigger fires as
// CheckFiring says, and the save (the trigger's or Abort's) writes only
// zero-terminated texts and 32-bit numbers; what was stored stays as it was
// when the save cannot write, or when nothing saved.
#include <optional>
#include <utility>
#include <vector>

#include "fuzz_common.h"
#include "settings/settings.h"

using quellor::fake::kSettingNames;
using Stored = std::pair<std::uint32_t, std::vector<std::uint8_t>>;  // type, bytes

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in{{reinterpret_cast<const char*>(data), size}};
  quellor::fake::Session s;
  const std::uint8_t setup = in.Byte();
  const std::uint8_t present = in.Byte();
  std::optional<Stored> planted[kSettingNames.size()];
  for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
    if ((present & (1u << i)) == 0) continue;
    const std::uint32_t type = in.Byte() % 12;
    const std::string bytes = in.Piece();
    planted[i] = Stored{type, {bytes.begin(), bytes.end()}};
    s.registry.Plant(quellor::kSettingsKey, kSettingNames[i], type, planted[i]->second);
  }
  s.power.HibernateAllowed = (setup & 1) != 0;
  s.registry.Unwritable = (setup & 2) != 0;
  s.registry.Unreadable = (setup & 4) != 0;
  s.Start();  // an end or an exception here escapes and aborts
  bool saved = true;
  try {
    if ((setup & 8) == 0) s.form.Label10.OnClick();  // Abort
    saved = CheckFiring(s, 40) != 0;
  } catch (const quellor::fake::ProcessEnded&) {
  }
  FUZZ_CHECK(s.registry.OpenHandles() == 0);
  for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
    const auto* value = s.registry.Find(quellor::kSettingsKey, kSettingNames[i]);
    if (s.registry.Unwritable || !saved) {
      FUZZ_CHECK(value ? planted[i] == Stored{value->type, value->data} : !planted[i]);
    } else {
      FUZZ_CHECK(value && (value->type == quellor::platform::kRegDword
                               ? value->data.size() == 4
                               : value->type == quellor::platform::kRegSz && !value->data.empty() &&
                                     value->data.back() == 0));
    }
  }
  return 0;
}
