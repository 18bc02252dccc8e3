#include "common/processor_counter.h"

#include <algorithm>
#include <cctype>

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

bool StandsInForCounter(std::uintptr_t query, std::string_view path) {
  constexpr std::string_view kPath = "\\processor(0)\\% processor time";
  if (query == 0 || path.size() != kPath.size()) return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(path[i])) != kPath[i]) return false;
  }
  return true;
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

double ProcessorCounter::Value(CounterStatus& status) const {
  if (samples_ >= 2) {
    if (std::optional<double> busy = BusyPercent(previous_, latest_)) {
      status = kCounterValidData;
      return *busy;
    }
  }
  status = kCounterInvalidData;
  return 0;
}

}  // namespace quellor
