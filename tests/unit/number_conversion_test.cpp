// Numbers are written through the C runtime so that the Windows program links
// no conversion tables; they must read what the C++ library's to_chars wrote,
// digit for digit, on every edge and on random values. Built natively and for
// Windows (run under Wine).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/number.h"

namespace quellor {
namespace {

// Every edge (zeros, subnormals, the limits, infinities and NaN, halfway
// cases, each power of two with the narrower gap below it), then random bits.
template <typename Floating, typename Bits>
std::vector<Floating> EdgesAndRandomValues() {
  using Limits = std::numeric_limits<Floating>;
  // clang-format off
  std::vector<Floating> values = {0, -Floating{0}, Limits::denorm_min(), Limits::min(), Limits::max(),
      Limits::lowest(), Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN(), -Limits::quiet_NaN()};
  for (const double value : {0.1, 1e23, 2147483648.5, 9007199254740993.0, 100000000000000.5, 100000000000001.5})
    values.push_back(static_cast<Floating>(value));
  for (int exponent = Limits::min_exponent - Limits::digits; exponent < Limits::max_exponent; ++exponent)
    values.insert(values.end(), {std::ldexp(Floating{1}, exponent), -std::nextafter(std::ldexp(Floating{1}, exponent), Floating{0})});
  std::mt19937_64 random(29);
  for (int i = 0; i < 100000; ++i) { const auto bits = static_cast<Bits>(random()); std::memcpy(&values.emplace_back(), &bits, sizeof bits); }
  // clang-format on
  return values;
}

template <typename Floating, typename Bits>
void ExpectTheLibrarysShortest() {
  for (const Floating value : EdgesAndRandomValues<Floating, Bits>()) {
    char text[400];
    // clang-format off
    const auto end = std::isfinite(value) ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed) : std::to_chars(text, text + sizeof text, value);
    // clang-format on
    ASSERT_EQ(ShortestDecimal(value), std::string(text, end.ptr)) << std::hexfloat << value;
  }
}

TEST(NumberConversions, ShortestDecimalWritesTheLibrarysDigits) {
  ExpectTheLibrarysShortest<double, std::uint64_t>();
  ExpectTheLibrarysShortest<float, std::uint32_t>();
}

// FormatFixed with all fifteen significant digits kept (the decimals that
// takes; none from 1e15 up) against the library's digits.
TEST(NumberConversions, FormatFixedRoundsOnTheLibrarysFifteenDigits) {
  for (const double value : EdgesAndRandomValues<double, std::uint64_t>()) {
    if (!std::isfinite(value)) continue;  // written "0", never converted
    char digits[400];
    // clang-format off
    *std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::scientific, 14).ptr = '\0';
    const int exponent = std::atoi(digits + 17);  // "d.dddddddddddddde+XX"
    const int decimals = exponent > 14 ? 0 : 14 - exponent;
    std::string text = value < 0 ? "-" : "";  // a zero without its sign
    if (exponent > 14) text += digits[0] + std::string(digits + 2, 14) + std::string(exponent - 14, '0');
    else text.append(digits, std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, decimals).ptr);
    // clang-format on
    ASSERT_EQ(FormatFixed(value, decimals), text) << std::hexfloat << value;
  }
}

}  // namespace
}  // namespace quellor
