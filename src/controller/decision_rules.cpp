#include "controller/decision_rules.h"

#include <cmath>

namespace quellor {
namespace {

// The usage text's line "[x]  is l, r,  s or h, where" has two blanks after
// "r,": so it has always read, and so it stays (Restart's pad).
// clang-format off
constexpr Operation kOperations[] = {
    // The system's shutdown command refuses a delay together with log-off.
    {.kind = kOperationLogOff, .listText = "Log Off", .switchLetter = 'l',
     .helpLine = "Log off", .command = "Shutdown -l", .delayed = false},
    {.kind = kOperationRestart, .listText = "Restart", .switchLetter = 'r', .usagePad = " ",
     .helpLine = "Reboot window", .command = "Shutdown -r"},
    {.kind = kOperationShutdown, .listText = "Shutdown", .switchLetter = 's',
     .helpLine = "Shutdown window", .command = "Shutdown -s"},
    {.kind = kOperationHibernate, .listText = "Hibernate", .switchLetter = 'h',
     .helpLine = "Hibernate (must enable in Power Options)", .command = "Hibernate",
     .hibernates = true, .delayed = false},
};
// clang-format on

}  // namespace

std::span<const Operation> Operations() {
  return kOperations;
}

const Operation* OperationOf(int kind) {
  for (const Operation& operation : kOperations) {
    if (operation.kind == kind) return &operation;
  }
  return nullptr;
}

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
  const Operation* row = OperationOf(operation);
  if (row == nullptr) return "";
  std::string command = row->command;
  if (row->hibernates) return command;
  if (force) command += " -f";
  if (row->delayed) command += " -t 0";
  return command;
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
