// Any text left in the threshold box becomes a whole percentage from 0 to
// 100 (a number above 100 gives 100, one below 0 gives 0) and restarts the
// idle count.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "controller/program.h"
#include "fake_platform.h"
#include "fuzz_check.h"

using quellor::Program;
using quellor::fake::FakePlatform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakePlatform fake;
  fake.process.CommandLine = "-t3000 -o1";
  auto os = fake.Get();
  Program program(os);
  program.Main();
  auto& form = program.form1;
  form.IdleCountdown = 7;
  const std::string typed(reinterpret_cast<const char*>(data), size);
  form.Text2.TextTypedByUser(typed);
  form.Text2_Validate();
  const std::string& text = form.Text2.Text();
  double value = -1;
  FUZZ_CHECK(quellor::IsPlainNumber(text, &value));
  FUZZ_CHECK(text.find_first_of(". +") == std::string::npos);
  FUZZ_CHECK(value >= 0 && value <= 100 && value == std::floor(value));
  FUZZ_CHECK(form.IdleCountdown == 30);
  const double read = quellor::LeadingNumber(typed);
  // Rounding works on the 15 digits a number stands for, so 0.49999999999999994
  // counts as one half.
  if (read >= 0 && read <= 100) FUZZ_CHECK(std::fabs(value - read) <= 0.5 + 1e-12);
  if (read > 100) FUZZ_CHECK(value == 100);
  if (read < 0) FUZZ_CHECK(value == 0);
  return 0;
}
