// Number reading, rounding and formatting shared by every window.
//
// The program reads every number the user or the registry gives it the same
// way, and writes numbers back with the same two roundings, so these live in
// one place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quellor {

// Reads the number at the start of `text`: blanks, tabs and line feeds are
// skipped wherever they stand, then an optional sign, digits with at most one
// ".", and an optional exponent (E or D). "&H" and "&O" read hexadecimal and
// octal whole numbers. A text without a number reads as 0. Never NaN; a
// too-large exponent gives an infinity.
double LeadingNumber(std::string_view text);

// Rounds to a whole number, exact halves to the even neighbour (2.5 -> 2).
double RoundHalfEven(double value);

// Rounds half to even and converts, or nothing when the result does not fit
// (or the value is not finite). Never undefined behaviour.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// Writes `value` with a fixed number of decimals, exact halves rounded away
// from zero, "." as the decimal point whatever the locale: FormatFixed(7.5, 2)
// is "7.50", FormatFixed(12.5, 0) is "13". A negative value that rounds to
// zero is written without its sign.
std::string FormatFixed(double value, int decimals);

// The shortest text in plain decimal notation, without an exponent, that reads
// back as `value` ("0.1", "3000000000"); a whole number is written out digit
// for digit ("1e+20" never). "inf", "-inf", "nan" or "-nan" when not finite.
std::string ShortestDecimal(double value);
std::string ShortestDecimal(float value);

// A whole number with at least two digits, zero-padded ("07", "100").
std::string FormatTwoDigits(std::int64_t value);

// True when the whole of `text`, blanks around it allowed, is one plain
// decimal number with an optional sign (the registry's test for numbers).
bool IsPlainNumber(std::string_view text, double* value);

// The text without the spaces at either end.
std::string TrimSpaces(std::string_view text);

}  // namespace quellor
