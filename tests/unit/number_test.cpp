// The one way numbers are read out of texts, and the two roundings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/number.h"

namespace quellor {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  const struct {
    const char* text;
    double value;
  } kCases[] = {
      {" 1 2", 12},   {"90 -c20", 90},  {"50%", 50},   {"abc", 0},       {"", 0},
      {"\t\n7", 7},   {"-3.25", -3.25}, {"+4", 4},     {"1.5.5", 1.5},   {".5", 0.5},
      {"-", 0},       {"&H10", 16},     {"&hff", 255}, {"&O17", 15},     {"&O8", 0},
      {"&X1", 0},     {"1e3", 1000},    {"2D2", 200},  {"5e-1", 0.5},    {"7E", 7},
      {"1 e 2", 100}, {"2-o2", 2},      {"1e-400", 0}, {"0.004", 0.004},
  };
  for (const auto& c : kCases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(LeadingNumber, GivesInfinityForHugeExponentsAndNeverNaN) {
  EXPECT_EQ(LeadingNumber("1e309"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-1e309"), -std::numeric_limits<double>::infinity());
  EXPECT_FALSE(std::isnan(LeadingNumber("1e99999999999999")));
}

TEST(Rounding, ConversionsRoundHalvesToEvenAndFormatsAwayFromZero) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_EQ(ToInt16(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(ToInt16(-32768.5), -32768);       // rounds to the even -32768
  EXPECT_EQ(ToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(ToInt32(2147483647.6), std::nullopt);

  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(12.5, 0), "13");
  EXPECT_EQ(FormatFixed(-0.3, 0), "0");
  EXPECT_EQ(FormatFixed(7.5, 2), "7.50");
  EXPECT_EQ(FormatFixed(1.005, 2), "1.01");
  EXPECT_EQ(FormatFixed(99.995, 2), "100.00");
  EXPECT_EQ(FormatFixed(0.001, 2), "0.00");
  EXPECT_EQ(FormatTwoDigits(-7), "-07");
  EXPECT_EQ(FormatTwoDigits(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace quellor
