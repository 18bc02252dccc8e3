// Any text typed into the threshold box counts as typed until the box is
// left; then it becomes a whole percentage from 0 to 100 (a number above 100
// gives 100, one below 0 gives 0) and the idle count restarts.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quellor::fake::Session s;
  s.Start("-t3000 -o1");
  const std::string typed(reinterpret_cast<const char*>(data), size);
  s.form.Text2.TextTypedByUser(typed);
  // Until the box is left, the tick reads the text as typed, against the
  // empty reading (no sample came yet), which is 0.
  const double read = quellor::LeadingNumber(typed);
  s.form.IdleCountdown = 7;
  s.form.Timer1_Timer();
  FUZZ_CHECK(s.form.IdleCountdown == (read > 0 ? 6 : 30));
  s.form.IdleCountdown = 7;
  s.form.Text2.OnLostFocus();
  const std::string& text = s.form.Text2.Text();
  double value = -1;
  FUZZ_CHECK(quellor::IsPlainNumber(text, &value));
  FUZZ_CHECK(text.find_first_of(". +") == std::string::npos);
  FUZZ_CHECK(value >= 0 && value <= 100 && value == std::floor(value));
  FUZZ_CHECK(s.form.IdleCountdown == 30);
  // Rounding works on the 15 digits a number stands for, so 0.49999999999999994
  // counts as one half.
  if (read >= 0 && read <= 100) FUZZ_CHECK(std::fabs(value - read) <= 0.5 + 1e-12);
  if (read > 100) FUZZ_CHECK(value == 100);
  if (read < 0) FUZZ_CHECK(value == 0);
  return 0;
}
