#include "win32/services/cpu_sampler.h"

#include <windows.h>
#include <winternl.h>

#include <array>

namespace quellor::win32 {

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

}  // namespace quellor::win32
