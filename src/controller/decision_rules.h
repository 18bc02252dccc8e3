// The main window's decisions, each a function of what it looks at alone:
// the handlers call them and then apply what they give. The operations, the
// trigger methods and the idle count live here with the rules that read them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/platform.h"

namespace quellor {

// Ticks in a row under the threshold before the processor counts as idle.
inline constexpr int kIdleTicksRequired = 30;

// The operations, by their position in the operation list.
enum OperationKind : int {
  kOperationShutdown = 0,
  kOperationRestart = 1,
  kOperationLogOff = 2,
  kOperationHibernate = 3,
};

// The trigger methods, by the index of their option button.
enum TriggerMethod : int {
  kMethodTimer = 0,
  kMethodCpuIdle = 1,
  kMethodTimerAndCpu = 2,
  kMethodTimerOrCpu = 3,
};

// One operation: everything the list, the executor, the switch reader and the
// usage text know of it.
struct Operation {
  OperationKind kind;    // its position in the operation list
  const char* listText;  // its entry in the list
  char switchLetter;     // "-l" and so on
  // Blanks added after its letter's separator in the usage text's line
  // "[x]  is l, r,  s or h, where" (the design's line has two after "r,").
  const char* usagePad = "";
  const char* helpLine;  // what follows "-l  : " in the usage text
  // The start of its shutdown command line, or the hibernation request (the
  // command text then reads "Hibernate", and the operation is offered and
  // read from the command line only where the machine allows hibernation).
  const char* command;
  bool hibernates = false;
  bool delayed = true;  // whether " -t 0" ends the command line
};

// In the order of the usage text, which is also the order in which the
// switches win over each other when more than one is given.
std::span<const Operation> Operations();
// The row of a kind, or null for any other number.
const Operation* OperationOf(int kind);

// Whether the trigger holds for a method (the index of its option button; any
// other number, such as -1 for none selected, never holds).
bool TriggerHolds(int method, bool timerDone, bool idle);

// The idle count after a tick: one less, down to 0, while the usage is under
// the threshold; back to the full count otherwise.
int NextIdleCount(int count, double threshold, double usage);

// What carries out an operation (an OperationKind; any other number is no
// operation and gives ""): a shutdown command line, or the hibernation marker.
std::string OperationCommand(int operation, bool force);

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
