// Stored settings of any type, size and content: start-up applies only what
// fits, every key is closed again, and the next save writes only texts and
// 32-bit numbers.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_allowed.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "settings/settings.h"

using quellor::Program;
using quellor::fake::FakePlatform;
using quellor::fake::ProcessEnded;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::array<const char*, 8> kNames = {
      "PositionX", "PositionY", "Operation", "CPU Usage", "Time Out", "Option", "Force Close",
      "Always Top"};
  FuzzInput in(data, size);
  FakePlatform fake;
  fake.power.HibernateAllowed = (in.Byte() & 1) != 0;
  const std::uint8_t present = in.Byte();
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if ((present & (1u << i)) == 0) continue;
    const std::uint32_t type = in.Byte() % 12;
    const std::string bytes = in.Piece();
    fake.registry.Plant(quellor::kSettingsKey, kNames[i], type,
                        std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  auto os = fake.Get();
  Program program(os);
  const auto& form = program.form1;
  try {
    program.Main();
  } catch (const ProcessEnded&) {
    FUZZ_CHECK(false);  // nothing stored may end the program at start-up
  }
  FUZZ_CHECK(fake.registry.OpenHandles() == 0);
  FUZZ_CHECK(std::isfinite(program.CountdownSeconds) && program.CountdownSeconds >= 0);
  FUZZ_CHECK(form.Combo1.ListIndex() >= -1 &&
             form.Combo1.ListIndex() < static_cast<int>(form.Combo1.Items().size()));
  FUZZ_CHECK(form.Check1.Value() >= 0 && form.Check1.Value() <= 2);
  FUZZ_CHECK(form.Check2.Value() >= 0 && form.Check2.Value() <= 2);
  int selected = 0;
  for (const auto& button : form.Option1) selected += button.Value() ? 1 : 0;
  FUZZ_CHECK(selected == 1);
  FUZZ_CHECK(std::isfinite(form.Left()) && std::isfinite(form.Top()));

  try {
    program.form1.Label10_Click();
  } catch (const ProcessEnded&) {
  }
  FUZZ_CHECK(fake.process.Ends == 1);
  FUZZ_CHECK(fake.process.Runs.size() == 1 && fake.process.Runs[0].commandLine == "Shutdown -a");
  FUZZ_CHECK(fake.registry.OpenHandles() == 0);
  for (const char* name : kNames) {
    const auto* value = fake.registry.Find(quellor::kSettingsKey, name);
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
