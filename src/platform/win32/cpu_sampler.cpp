#include "platform/win32/cpu_sampler.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>

namespace quellor::win32 {

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

bool ReadProcessorTimes(ProcessorTimes& times) {
  // Room for every processor the system reports to a process (at most 64, one
  // group), on the stack: a sample takes no allocation and no other call.
  constexpr std::size_t kMaxProcessors = 64;
  std::array<SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION, kMaxProcessors> info;
  ULONG returned = 0;
  const NTSTATUS status =
      NtQuerySystemInformation(SystemProcessorPerformanceInformation, info.data(),
                               static_cast<ULONG>(sizeof(info)), &returned);
  if (status < 0 || returned < sizeof(info[0])) return false;
  times.idle = static_cast<std::uint64_t>(info[0].IdleTime.QuadPart);
  times.kernel = static_cast<std::uint64_t>(info[0].KernelTime.QuadPart);
  times.user = static_cast<std::uint64_t>(info[0].UserTime.QuadPart);
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

}  // namespace quellor::win32
