// Stored settings of any type, size and content, with the registry readable
// or not and writable or not: start-up applies only what fits (nothing at all
// when it cannot read), every key is closed again, Abort or the trigger still
// carries out exactly the selected operation in the tick its rule gives, and
// the save writes only texts and 32-bit numbers, or nothing when it cannot
// write.
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/number.h"
#include "controller/form1_settings.h"
#include "fuzz_common.h"

using quellor::kSettingsKey;
using quellor::fake::kSettingNames;
using Value = quellor::fake::FakeRegistry::Value;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  quellor::fake::Session s;
  const std::uint8_t setup = in.Byte();
  s.power.HibernateAllowed = (setup & 1) != 0;
  const std::uint8_t present = in.Byte();
  std::array<std::optional<Value>, kSettingNames.size()> planted;
  for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
    if ((present & (1u << i)) == 0) continue;
    const std::uint32_t type = in.Byte() % 12;
    const std::string bytes = in.Piece();
    planted[i] = Value{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
    s.registry.Plant(kSettingsKey, kSettingNames[i], type, planted[i]->data);
  }
  const bool unwritable = (setup & 2) != 0;
  const bool unreadable = (setup & 4) != 0;
  s.registry.Unwritable = unwritable;
  s.registry.Unreadable = unreadable;
  s.pdh.Samples = {{0.0}};

  auto& form = s.form;
  s.Start();  // nothing stored may end the program: that would escape and abort
  FUZZ_CHECK(s.registry.OpenHandles() == 0);
  FUZZ_CHECK(std::isfinite(s.program.CountdownSeconds) && s.program.CountdownSeconds >= 0);
  FUZZ_CHECK(s.program.CountdownSeconds == std::floor(s.program.CountdownSeconds));
  FUZZ_CHECK(form.Combo1.ListIndex() >= -1 &&
             form.Combo1.ListIndex() < static_cast<int>(form.Combo1.Items().size()));
  FUZZ_CHECK(form.Check1.Value() >= 0 && form.Check1.Value() <= 2);
  FUZZ_CHECK(form.Check2.Value() >= 0 && form.Check2.Value() <= 2);
  const int method = SelectedMethod(form);
  FUZZ_CHECK(std::isfinite(form.Left()) && std::isfinite(form.Top()));
  FUZZ_CHECK(form.Text2.Text().size() <= quellor::kMaxTextLength);
  if (unreadable) {
    // The built-in defaults, untouched.
    FUZZ_CHECK(s.program.CountdownSeconds == 10 && s.program.TimeOutSeconds == 10);
    FUZZ_CHECK(form.Text2.Text() == "2" && method == 2);
    FUZZ_CHECK(form.Combo1.ListIndex() == 0 && form.Check1.Value() == 1 &&
               form.Check2.Value() == 1);
    FUZZ_CHECK(form.Left() == 7320 && form.Top() == 5805);
  }

  if ((setup & 8) != 0) {
    if (CheckFiring(s, 40) == 0) return 0;
  } else {
    try {
      form.Label10.OnClick();
    } catch (const quellor::fake::ProcessEnded&) {
    }
    FUZZ_CHECK(s.process.Ends == std::vector{quellor::platform::kExitDone});
    FUZZ_CHECK(s.process.Runs.size() == 1 && s.process.Runs[0].commandLine == "Shutdown -a");
  }
  FUZZ_CHECK(s.registry.OpenHandles() == 0);
  for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
    const Value* value = s.registry.Find(kSettingsKey, kSettingNames[i]);
    if (unwritable) {
      // What was stored stays as it was.
      FUZZ_CHECK((value == nullptr) == !planted[i]);
      FUZZ_CHECK(!value || (value->type == planted[i]->type && value->data == planted[i]->data));
      continue;
    }
    FUZZ_CHECK(value != nullptr);
    if (value->type == quellor::platform::kRegDword) {
      FUZZ_CHECK(value->data.size() == 4);
    } else {
      FUZZ_CHECK(value->type == quellor::platform::kRegSz);
      FUZZ_CHECK(!value->data.empty() && value->data.back() == 0);
    }
  }
  return 0;
}
