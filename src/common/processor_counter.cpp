#include "common/processor_counter.h"

#include <algorithm>

namespace quellor {

std::optional<double> BusyPercent(const ProcessorTimes& before, const ProcessorTimes& after) {
  if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user) {
    return std::nullopt;
  }
  const std::uint64_t idle = after.idle - before.idle;
  const std::uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
  if (total == 0) return std::nullopt;
  const double busy = 100.0 * (1.0 - static_cast<double>(idle) / static_cast<double>(total));
  return std::clamp(busy, 0.0, 100.0);
}

void ProcessorCounter::Collect() {
  ProcessorTimes now;
  if (!reader_(now)) {
    samples_ = 0;
    return;
  }
  previous_ = latest_;
  latest_ = now;
  samples_ = std::min(samples_ + 1, 2);
}

double ProcessorCounter::Value(platform::Status& status) const {
  if (samples_ >= 2) {
    if (std::optional<double> busy = BusyPercent(previous_, latest_)) {
      status = platform::kPdhCstatusValidData;
      return *busy;
    }
  }
  status = kCounterInvalidData;
  return 0;
}

}  // namespace quellor
