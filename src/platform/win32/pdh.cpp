#include "platform/win32/services.h"

#include <pdh.h>
// The interface's own name, not the system's character-set macro.
#undef PdhOpenQuery

#include <cctype>

namespace quellor::win32 {

using platform::CounterHandle;
using platform::QueryHandle;
using platform::Status;

namespace {

// The counter path of the first processor's busy share, in any letter case.
bool IsFirstProcessorTime(const std::string& path) {
  static constexpr char kPath[] = "\\processor(0)\\% processor time";
  if (path.size() != sizeof(kPath) - 1) return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(path[i])) != kPath[i]) return false;
  }
  return true;
}

}  // namespace

Status Win32Pdh::PdhOpenQuery(std::uintptr_t userData, QueryHandle& query) {
  PDH_HQUERY handle = nullptr;
  const PDH_STATUS status = ::PdhOpenQueryA(nullptr, userData, &handle);
  if (status == ERROR_SUCCESS) query = reinterpret_cast<QueryHandle>(handle);
  return static_cast<Status>(status);
}

Status Win32Pdh::PdhVbAddCounter(QueryHandle query, const std::string& path,
                                 CounterHandle& counter) {
  PDH_HCOUNTER handle = nullptr;
  const PDH_STATUS status =
      PdhAddEnglishCounterA(reinterpret_cast<PDH_HQUERY>(query), path.c_str(), 0, &handle);
  if (status == ERROR_SUCCESS) {
    counter = reinterpret_cast<CounterHandle>(handle);
    return 0;
  }
  if (query != 0 && IsFirstProcessorTime(path)) {
    auto standIn = std::make_unique<StandIn>();
    standIn->query = query;
    counter = reinterpret_cast<CounterHandle>(standIn.get());
    standIns_[counter] = std::move(standIn);
    return 0;
  }
  return static_cast<Status>(status);
}

Status Win32Pdh::PdhCollectQueryData(QueryHandle query) {
  for (auto& [handle, standIn] : standIns_) {
    if (standIn->query == query) standIn->counter.Collect();
  }
  return static_cast<Status>(::PdhCollectQueryData(reinterpret_cast<PDH_HQUERY>(query)));
}

double Win32Pdh::PdhVbGetDoubleCounterValue(CounterHandle counter, Status& counterStatus) {
  auto standIn = standIns_.find(counter);
  if (standIn != standIns_.end()) return standIn->second->counter.Value(counterStatus);
  PDH_FMT_COUNTERVALUE value{};
  const PDH_STATUS status = PdhGetFormattedCounterValue(reinterpret_cast<PDH_HCOUNTER>(counter),
                                                        PDH_FMT_DOUBLE, nullptr, &value);
  if (status != ERROR_SUCCESS) {
    counterStatus = static_cast<Status>(status);
    return 0;
  }
  counterStatus = static_cast<Status>(value.CStatus);
  return value.doubleValue;
}

Status Win32Pdh::PdhCloseQuery(QueryHandle query) {
  for (auto it = standIns_.begin(); it != standIns_.end();) {
    it = it->second->query == query ? standIns_.erase(it) : std::next(it);
  }
  return static_cast<Status>(::PdhCloseQuery(reinterpret_cast<PDH_HQUERY>(query)));
}

}  // namespace quellor::win32
