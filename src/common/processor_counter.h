// The first processor's busy share from its time accounts, shaped as a rate
// counter: a value needs two samples. It stands in for a performance counter
// that the system does not have, or cannot give.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

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

// Status of a value read before two good samples exist.
inline constexpr platform::Status kCounterInvalidData = static_cast<platform::Status>(0xC0000BBAu);

class ProcessorCounter {
 public:
  // Reads the processor's times; false when the system does not tell them.
  using Reader = bool (*)(ProcessorTimes&);
  explicit ProcessorCounter(Reader reader) : reader_(reader) {}

  // Takes a new sample; the one before it becomes the base of the value.
  void Collect();
  // The busy percentage over the last two samples, with status 0, or 0 with
  // kCounterInvalidData while there are not two good samples.
  double Value(platform::Status& status) const;

 private:
  Reader reader_;
  ProcessorTimes previous_;
  ProcessorTimes latest_;
  int samples_ = 0;  // good samples in a row, up to 2
};

}  // namespace quellor
