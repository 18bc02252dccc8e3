// The first processor's busy share from its time accounts, shaped as a rate
// counter: a value needs two samples. It stands in for a performance counter
// that the system does not have, or cannot give.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quellor {

// Times of one processor in 100 ns units; kernel time includes idle time.
struct ProcessorTimes {
  std::uint64_t idle = 0;
  std::uint64_t kernel = 0;
  std::uint64_t user = 0;
};

// The busy percentage (0 to 100) between two samples, or nothing when no time
// has passed or the accounts went backwards.
std::optional<double> BusyPercent(const ProcessorTimes& before, const ProcessorTimes& after);

// A counter value's status, in the system's codes: valid, or read before two
// good samples exist.
using CounterStatus = std::int32_t;
inline constexpr CounterStatus kCounterValidData = 0;
inline constexpr CounterStatus kCounterInvalidData = static_cast<CounterStatus>(0xC0000BBAu);

// Whether a counter the system refused is stood in for: only the first
// processor's busy share (its path in any letter case), and only on a query
// that is open (nonzero).
bool StandsInForCounter(std::uintptr_t query, std::string_view path);

class ProcessorCounter {
 public:
  // Reads the processor's times; false when the system does not tell them.
  using Reader = bool (*)(ProcessorTimes&);
  explicit ProcessorCounter(Reader reader) : reader_(reader) {}

  // Takes a new sample; the one before it becomes the base of the value.
  void Collect();
  // The busy percentage over the last two samples, with status 0, or 0 with
  // kCounterInvalidData while there are not two good samples.
  double Value(CounterStatus& status) const;

 private:
  Reader reader_;
  ProcessorTimes previous_;
  ProcessorTimes latest_;
  int samples_ = 0;  // good samples in a row, up to 2
};

}  // namespace quellor
