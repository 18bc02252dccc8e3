#include "common/number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quellor {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Walks a text the way the reading does: blanks never count.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  char Peek() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Next() { ++pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

double ReadWhole(Reader& in, int base) {
  double value = 0;
  for (int d = DigitValue(in.Peek()); d < base; d = DigitValue(in.Peek())) {
    value = value * base + d;  // saturates to infinity, never wraps
    in.Next();
  }
  return value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  Reader in(text);
  if (in.Peek() == '&') {
    in.Next();
    const char kind = in.Peek();
    if (kind == 'H' || kind == 'h') {
      in.Next();
      return ReadWhole(in, 16);
    }
    if (kind == 'O' || kind == 'o') {
      in.Next();
      return ReadWhole(in, 8);
    }
    return 0;
  }

  // Gather the number without blanks, then convert it independently of the
  // locale.
  std::string number;
  if (in.Peek() == '-' || in.Peek() == '+') {
    number += in.Peek();
    in.Next();
  }
  bool anyDigit = false;
  bool point = false;
  long long leadingDigits = 0;  // digits before the point, leading zeros dropped
  for (char c = in.Peek();; c = in.Peek()) {
    if (IsDigit(c)) {
      anyDigit = true;
      if (!point && (c != '0' || leadingDigits > 0)) ++leadingDigits;
      number += c;
    } else if (c == '.' && !point) {
      point = true;
      number += c;
    } else {
      break;
    }
    in.Next();
  }
  if (!anyDigit) return 0;

  long long exponent = 0;
  const char e = in.Peek();
  if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
    in.Next();
    bool negative = false;
    if (in.Peek() == '-' || in.Peek() == '+') {
      negative = in.Peek() == '-';
      in.Next();
    }
    while (IsDigit(in.Peek())) {
      if (exponent < 1000000) exponent = exponent * 10 + (in.Peek() - '0');
      in.Next();
    }
    if (negative) exponent = -exponent;
    number += 'e';
    number += std::to_string(exponent);
  }

  const char* first = number.data();
  if (*first == '+') ++first;
  double value = 0;
  const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    const bool negative = number[0] == '-';
    const bool huge = leadingDigits + exponent > 0;
    value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    if (negative) value = -value;
  } else if (error != std::errc()) {
    value = 0;
  }
  return value == 0 ? 0.0 : value;  // no negative zero
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff < 0.5) return lower == 0 ? 0.0 : lower;
  if (diff > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? (lower == 0 ? 0.0 : lower) : lower + 1;
}

std::optional<std::int16_t> ToInt16(double value) {
  const double r = RoundHalfEven(value);
  if (!std::isfinite(r) || r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> ToInt32(double value) {
  const double r = RoundHalfEven(value);
  if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  if (decimals < 0) decimals = 0;
  // Round on the 15 significant digits that the value stands for, not on its
  // binary expansion, so 1.005 is written 1.01: printf's "%.14e" gives them,
  // "d.dddddddddddddde+XX", correctly rounded.
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  constexpr int kSignificant = 15;
  const char* e = buffer + kSignificant + 1;
  int exponent = 0;
  for (const char* digit = e + 2; IsDigit(*digit); ++digit)
    exponent = exponent * 10 + (*digit - '0');
  if (e[1] == '-') exponent = -exponent;

  // The digits with a 0 in front for a carry out of the first: the value is
  // 0.ddd... times ten to the power of pointAt.
  char digits[kSignificant + 1];
  digits[0] = '0';
  digits[1] = buffer[0];
  std::memcpy(digits + 2, buffer + 2, kSignificant - 1);
  const long long pointAt = exponent + 2LL;
  // Positions [0, kept) survive the rounding; the one at kept decides it.
  const long long kept = std::clamp<long long>(pointAt + decimals, 0, kSignificant + 1);
  if (kept <= kSignificant && digits[kept] >= '5') {
    long long i = kept - 1;
    for (; digits[i] == '9'; --i) digits[i] = '0';
    ++digits[i];  // stops at the leading 0 at the latest
  }
  const auto digitAt = [&](long long position) {
    return position >= 0 && position < kept ? digits[position] : '0';
  };

  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(pointAt, 1LL) + decimals + 2));
  bool isZero = true;
  for (long long position = 0; position < pointAt; ++position) {
    const char digit = digitAt(position);
    if (digit != '0') isZero = false;
    if (!isZero) out += digit;  // no leading zeros
  }
  if (out.empty()) out += '0';
  if (decimals > 0) {
    out += '.';
    for (long long position = pointAt; position < pointAt + decimals; ++position) {
      const char digit = digitAt(position);
      if (digit != '0') isZero = false;
      out += digit;
    }
  }
  if (value < 0 && !isZero) out.insert(0, 1, '-');
  return out;
}

namespace {

// Whether digits times ten to the power of exponent reads back as value. The
// library reads, as LeadingNumber does: MinGW's strtod misrounds some numbers
// next to a power of two.
template <typename Floating>
bool ReadsBack(std::uint64_t digits, int exponent, Floating value) {
  const std::string text = std::to_string(digits) + "e" + std::to_string(exponent);
  Floating read = 0;
  std::from_chars(text.data(), text.data() + text.size(), read);
  return read == value;
}

template <typename Floating>
std::string Shortest(Floating value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // The fewest significant digits that read back as the value: the value
  // rounded to so many digits or, next to a power of two, where the values
  // below lie twice as close, the decimal one unit above that. `exponent` is
  // the power of ten of the last digit.
  const Floating magnitude = std::fabs(value);
  std::uint64_t digits = 0;
  int exponent = 0;
  for (int significant = 1;; ++significant) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*e", significant - 1, static_cast<double>(magnitude));
    digits = 0;
    const char* c = text;
    for (; *c != 'e'; ++c) {
      if (IsDigit(*c)) digits = digits * 10 + static_cast<std::uint64_t>(*c - '0');
    }
    exponent = std::atoi(c + 1) - (significant - 1);
    if (significant == std::numeric_limits<Floating>::max_digits10 ||
        ReadsBack(digits, exponent, magnitude)) {
      break;
    }
    if (ReadsBack(digits + 1, exponent, magnitude)) {
      ++digits;
      break;
    }
  }
  for (; digits % 10 == 0 && digits != 0; digits /= 10) ++exponent;
  // A whole number is written out in full, the digits it stands for exactly
  // rather than the shortest followed by zeros: of two texts as long, the
  // nearer one.
  if (exponent >= 0) {
    char whole[320];  // the largest double has 309 digits
    std::snprintf(whole, sizeof whole, "%.0f", static_cast<double>(value));
    return whole;
  }
  const std::string all = std::to_string(digits);
  const long long before =
      static_cast<long long>(all.size()) + exponent;  // digits before the point
  std::string out = value < 0 ? "-" : "";
  if (before <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-before), '0');
    out += all;
  } else {
    out.append(all, 0, static_cast<std::size_t>(before));
    out += '.';
    out.append(all, static_cast<std::size_t>(before));
  }
  return out;
}

}  // namespace

std::string ShortestDecimal(double value) {
  return Shortest(value);
}
std::string ShortestDecimal(float value) {
  return Shortest(value);
}

std::string FormatTwoDigits(std::int64_t value) {
  // The magnitude in unsigned arithmetic: the most negative value has none
  // as a signed number.
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string out = std::to_string(magnitude);
  if (out.size() < 2) out.insert(0, 2 - out.size(), '0');
  return value < 0 ? "-" + out : out;
}

bool IsPlainNumber(std::string_view text, double* value) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  std::string_view body = text.substr(begin, end - begin);
  std::size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
  bool anyDigit = false;
  bool point = false;
  for (; i < body.size(); ++i) {
    if (IsDigit(body[i])) {
      anyDigit = true;
    } else if (body[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!anyDigit) return false;
  if (value != nullptr) *value = LeadingNumber(body);
  return true;
}

std::string TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace quellor
