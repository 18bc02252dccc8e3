#include "win32/services/services.h"

#include <pdh.h>
#include <pdhmsg.h>
// The interface's own name, not the system's character-set macro.
#undef PdhOpenQuery

#include <type_traits>

#include "win32/services/system_library.h"

namespace quellor::win32 {

using platform::CounterHandle;
using platform::QueryHandle;
using platform::Status;

namespace {

static_assert(kCounterValidData == platform::kPdhCstatusValidData);

// The library's functions, from the system folder; all of them or none.
struct PdhLibrary {
  decltype(&::PdhOpenQueryA) openQuery = nullptr;
  decltype(&::PdhAddEnglishCounterA) addEnglishCounter = nullptr;
  decltype(&::PdhCollectQueryData) collectQueryData = nullptr;
  decltype(&::PdhGetFormattedCounterValue) getFormattedCounterValue = nullptr;
  decltype(&::PdhCloseQuery) closeQuery = nullptr;

  bool Loaded() const { return closeQuery != nullptr; }
};

const PdhLibrary& Library() {
  static const PdhLibrary kLibrary = [] {
    PdhLibrary found;
    const auto load = [](auto& function, const char* name) {
      using Function = std::remove_pointer_t<std::remove_reference_t<decltype(function)>>;
      function = SystemFunction<Function>(L"pdh.dll", name);
      return function != nullptr;
    };
    if (load(found.openQuery, "PdhOpenQueryA") &&
        load(found.addEnglishCounter, "PdhAddEnglishCounterA") &&
        load(found.collectQueryData, "PdhCollectQueryData") &&
        load(found.getFormattedCounterValue, "PdhGetFormattedCounterValue") &&
        load(found.closeQuery, "PdhCloseQuery")) {
      return found;
    }
    return PdhLibrary{};
  }();
  return kLibrary;
}

}  // namespace

Status Win32Pdh::PdhOpenQuery(std::uintptr_t userData, QueryHandle& query) {
  const PdhLibrary& pdh = Library();
  if (!pdh.Loaded()) {
    // Without the library the stand-in counter is all there is; its queries
    // are the program's own.
    query = ++ownQueries_;
    return 0;
  }
  PDH_HQUERY handle = nullptr;
  const PDH_STATUS status = pdh.openQuery(nullptr, userData, &handle);
  if (status == ERROR_SUCCESS) query = reinterpret_cast<QueryHandle>(handle);
  return static_cast<Status>(status);
}

Status Win32Pdh::PdhVbAddCounter(QueryHandle query, const std::string& path,
                                 CounterHandle& counter) {
  const PdhLibrary& pdh = Library();
  PDH_HCOUNTER handle = nullptr;
  const PDH_STATUS status =
      pdh.Loaded()
          ? pdh.addEnglishCounter(reinterpret_cast<PDH_HQUERY>(query), path.c_str(), 0, &handle)
          : PDH_CSTATUS_NO_OBJECT;
  if (status == ERROR_SUCCESS) {
    counter = reinterpret_cast<CounterHandle>(handle);
    return 0;
  }
  if (StandsInForCounter(query, path)) {
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
  const PdhLibrary& pdh = Library();
  if (!pdh.Loaded()) return 0;
  return static_cast<Status>(pdh.collectQueryData(reinterpret_cast<PDH_HQUERY>(query)));
}

double Win32Pdh::PdhVbGetDoubleCounterValue(CounterHandle counter, Status& counterStatus) {
  auto standIn = standIns_.find(counter);
  if (standIn != standIns_.end()) return standIn->second->counter.Value(counterStatus);
  const PdhLibrary& pdh = Library();
  PDH_FMT_COUNTERVALUE value{};
  const PDH_STATUS status =
      pdh.Loaded() ? pdh.getFormattedCounterValue(reinterpret_cast<PDH_HCOUNTER>(counter),
                                                  PDH_FMT_DOUBLE, nullptr, &value)
                   : PDH_INVALID_HANDLE;
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
  const PdhLibrary& pdh = Library();
  if (!pdh.Loaded()) return 0;
  return static_cast<Status>(pdh.closeQuery(reinterpret_cast<PDH_HQUERY>(query)));
}

}  // namespace quellor::win32
