#include "controller/decision_rules.h"

#include <cmath>

#include "controller/form1.h"

namespace quellor {

bool TriggerHolds(int method, bool timerDone, bool idle) {
  switch (method) {
    case kMethodTimer:
      return timerDone;
    case kMethodCpuIdle:
      return idle;
    case kMethodTimerAndCpu:
      return idle && timerDone;
    case kMethodTimerOrCpu:
      return idle || timerDone;
    default:
      return false;
  }
}

int NextIdleCount(int count, double threshold, double usage) {
  if (threshold > usage) return count > 0 ? count - 1 : count;
  return kIdleTicksRequired;
}

std::string OperationCommand(int operation, bool force) {
  switch (operation) {
    case kOperationShutdown:
      return force ? "Shutdown -s -f -t 0" : "Shutdown -s -t 0";
    case kOperationRestart:
      return force ? "Shutdown -r -f -t 0" : "Shutdown -r -t 0";
    case kOperationLogOff:
      // The system's shutdown command refuses a delay together with log-off.
      return force ? "Shutdown -l -f" : "Shutdown -l";
    case kOperationHibernate:
      return kHibernateMarker;
    default:
      return "";
  }
}

std::optional<double> UsableReading(double value, platform::Status status) {
  if (status != platform::kPdhCstatusValidData && status != platform::kPdhCstatusNewData) {
    return std::nullopt;
  }
  // A value that is no number is no reading either, whatever its status says:
  // written out it would read as 0, an idle processor.
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace quellor
