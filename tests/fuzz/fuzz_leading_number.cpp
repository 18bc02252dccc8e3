// Any text read as a number: never NaN, conversions never out of range, and
// a formatted number reads back as itself.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = quellor::LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(value));

  const auto small = quellor::ToInt16(value);
  FUZZ_CHECK(!small || std::fabs(*small - value) <= 0.5);
  const auto whole = quellor::ToInt32(value);
  FUZZ_CHECK(!whole || std::fabs(static_cast<double>(*whole) - value) <= 0.5);
  const double rounded = quellor::RoundHalfEven(value);
  FUZZ_CHECK(std::isinf(value) || std::fabs(rounded - value) <= 0.5);

  if (std::isfinite(value)) {
    // Any finite number, however large or small, is written in full with two
    // decimals and reads back as itself on the fifteen digits it is written
    // from; only within a rounding of the largest doubles does that overflow.
    const std::string two = quellor::FormatFixed(value, 2);
    FUZZ_CHECK(two.find_first_not_of("-0123456789.") == std::string::npos);
    FUZZ_CHECK(two.size() >= 4 && two[two.size() - 3] == '.');
    const double back = quellor::LeadingNumber(two);
    if (std::isinf(back)) {
      FUZZ_CHECK(std::fabs(value) > 1.79769313486231e308 && (back > 0) == (value > 0));
    } else {
      FUZZ_CHECK(std::fabs(back - value) <= 0.005 + 1e-14 * std::fabs(value));
    }
  }
  if (std::isfinite(value) && std::fabs(value) < 1e12) {
    const std::string whole = quellor::FormatFixed(value, 0);
    FUZZ_CHECK(whole.find('.') == std::string::npos);
    FUZZ_CHECK(std::fabs(quellor::LeadingNumber(whole) - value) <= 0.5 + 1e-9 * std::fabs(value));
  }
  double plain = 0;
  FUZZ_CHECK(!quellor::IsPlainNumber(text, &plain) || !std::isnan(plain));
  return 0;
}
