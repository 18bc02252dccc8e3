// Any text read as a number: never NaN, conversions round to the nearest whole
// number or give nothing, and a formatted number reads back as itself. Typed
// into the threshold box and left, the text becomes a whole percentage: the
// number rounded, and held within 0 to 100.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = quellor::LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(value));
  double plain = 0;
  FUZZ_CHECK(!quellor::IsPlainNumber(text, &plain) || !std::isnan(plain));
  const auto near = [value](auto whole) { return !whole || std::fabs(*whole - value) <= 0.5; };
  FUZZ_CHECK(near(quellor::ToInt16(value)) && near(quellor::ToInt32(value)));
  FUZZ_CHECK(std::isinf(value) || std::fabs(quellor::RoundHalfEven(value) - value) <= 0.5);
  if (std::isfinite(value)) {
    // Written in full with two decimals, it reads back on the fifteen digits
    // it is written from; only a rounding of the largest doubles overflows.
    const double back = quellor::LeadingNumber(quellor::FormatFixed(value, 2));
    FUZZ_CHECK(std::isinf(back) ? std::fabs(value) > 1.79769313486231e308 && back * value > 0
                                : std::fabs(back - value) <= 0.005 + 1e-14 * std::fabs(value));
  }

  quellor::fake::Session s;
  s.Start();
  s.form.Text2.TextTypedByUser(text);
  s.form.Text2.OnLostFocus();
  const std::string& kept = s.form.Text2.Text();
  FUZZ_CHECK(IsWholeNumberUpTo(kept, 100));
  // On the 15 digits a number stands for, 0.49999999999999994 is one half.
  FUZZ_CHECK(std::fabs(quellor::LeadingNumber(kept) - std::clamp(value, 0.0, 100.0)) <=
             0.5 + 1e-12);
  return 0;
}
