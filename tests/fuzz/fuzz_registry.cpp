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
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_check.h"
#include "fuzz_expect.h"
#include "fuzz_input.h"
#include "settings/registry_key.h"
#include "settings/settings.h"

using quellor::Program;
using quellor::fake::FakePlatform;
using quellor::fake::FakeRegistry;
using quellor::fake::ProcessEnded;

namespace {

constexpr int kTicks = 40;

bool SameValue(const FakeRegistry::Value* a, const std::optional<FakeRegistry::Value>& b) {
  if (a == nullptr || !b) return a == nullptr && !b;
  return a->type == b->type && a->data == b->data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::array<const char*, 8> kNames = {"PositionX",   "PositionY", "Operation",
                                                    "CPU Usage",   "Time Out",  "Option",
                                                    "Force Close", "Always Top"};
  FuzzInput in(data, size);
  FakePlatform fake;
  const std::uint8_t setup = in.Byte();
  fake.power.HibernateAllowed = (setup & 1) != 0;
  const bool unwritable = (setup & 2) != 0;
  const bool unreadable = (setup & 4) != 0;
  const bool ticks = (setup & 8) != 0;
  const std::uint8_t present = in.Byte();
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if ((present & (1u << i)) == 0) continue;
    const std::uint32_t type = in.Byte() % 12;
    const std::string bytes = in.Piece();
    fake.registry.Plant(quellor::kSettingsKey, kNames[i], type,
                        std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  std::array<std::optional<FakeRegistry::Value>, kNames.size()> planted;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (const auto* value = fake.registry.Find(quellor::kSettingsKey, kNames[i])) {
      planted[i] = *value;
    }
  }
  fake.registry.Unwritable = unwritable;
  fake.registry.Unreadable = unreadable;
  fake.pdh.Steady = quellor::fake::Sample{0.0, 0};

  auto os = fake.Get();
  Program program(os);
  auto& form = program.form1;
  try {
    program.Main();
  } catch (const ProcessEnded&) {
    FUZZ_CHECK(false);  // nothing stored may end the program at start-up
  }
  FUZZ_CHECK(fake.registry.OpenHandles() == 0);
  FUZZ_CHECK(std::isfinite(program.CountdownSeconds) && program.CountdownSeconds >= 0);
  FUZZ_CHECK(program.CountdownSeconds == std::floor(program.CountdownSeconds));
  FUZZ_CHECK(form.Combo1.ListIndex() >= -1 &&
             form.Combo1.ListIndex() < static_cast<int>(form.Combo1.Items().size()));
  FUZZ_CHECK(form.Check1.Value() >= 0 && form.Check1.Value() <= 2);
  FUZZ_CHECK(form.Check2.Value() >= 0 && form.Check2.Value() <= 2);
  int method = -1;
  int selected = 0;
  for (std::size_t i = 0; i < form.Option1.size(); ++i) {
    if (form.Option1[i].Value()) {
      method = static_cast<int>(i);
      ++selected;
    }
  }
  FUZZ_CHECK(selected == 1);
  FUZZ_CHECK(std::isfinite(form.Left()) && std::isfinite(form.Top()));
  FUZZ_CHECK(form.Text2.Text().size() <= quellor::kMaxTextLength);
  if (unreadable) {
    // The built-in defaults, untouched.
    FUZZ_CHECK(program.CountdownSeconds == 10 && program.TimeOutSeconds == 10);
    FUZZ_CHECK(form.Text2.Text() == "2" && method == 2);
    FUZZ_CHECK(form.Combo1.ListIndex() == 0 && form.Check1.Value() == 1 &&
               form.Check2.Value() == 1);
    FUZZ_CHECK(form.Left() == 7320 && form.Top() == 5805);
  }

  if (ticks) {
    const int expected = ExpectedFiringTick(program.CountdownSeconds, method,
                                            quellor::LeadingNumber(form.Text2.Text()) > 0, kTicks);
    FUZZ_CHECK(TicksUntilEnd(form, kTicks) == expected);
    if (expected == 0) {
      FUZZ_CHECK(fake.process.Ends == 0 && fake.process.Runs.empty());
      return 0;
    }
    CheckOperationCarriedOut(fake, form);
  } else {
    try {
      form.Label10_Click();
    } catch (const ProcessEnded&) {
    }
    FUZZ_CHECK(fake.process.Ends == 1);
    FUZZ_CHECK(fake.process.Runs.size() == 1 && fake.process.Runs[0].commandLine == "Shutdown -a");
  }
  FUZZ_CHECK(fake.registry.OpenHandles() == 0);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const auto* value = fake.registry.Find(quellor::kSettingsKey, kNames[i]);
    if (unwritable) {
      FUZZ_CHECK(SameValue(value, planted[i]));
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
