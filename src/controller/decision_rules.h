// The main window's decisions, each a function of what it looks at alone:
// the handlers call them and then apply what they give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace quellor {

// Whether the trigger holds for a method (the index of its option button; any
// other number, such as -1 for none selected, never holds).
bool TriggerHolds(int method, bool timerDone, bool idle);

// The idle count after a tick: one less, down to 0, while the usage is under
// the threshold; back to the full count otherwise.
int NextIdleCount(int count, double threshold, double usage);

// What carries out an operation (an OperationKind; any other number is no
// operation and gives ""): a shutdown command line, or the hibernation marker.
std::string OperationCommand(int operation, bool force);
inline constexpr const char* kHibernateMarker = "Hibernate";

// The usage a counter's reading gives, or nothing when the reading is no use.
std::optional<double> UsableReading(double value, platform::Status status);

// What a command line asks for; a number that is absent or out of range is
// nothing, as is an operation the machine cannot carry out.
struct Switches {
  std::optional<std::int16_t> countdown = {};  // -t, 1 or more
  std::optional<std::int16_t> threshold = {};  // -c, 0 to 100
  std::optional<int> method = {};              // -o, a TriggerMethod
  std::optional<int> operation = {};           // -l, -r, -s, -h: an OperationKind
  bool force = false;                          // -f
  bool help = false;                           // -?, when no operation is chosen
  bool operator==(const Switches&) const = default;
};
Switches ReadSwitches(const std::string& text, bool hibernateAllowed);

}  // namespace quellor
