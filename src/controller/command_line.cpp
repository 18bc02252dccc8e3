// The command-line switches of the main window. The text is not split into
// words: each switch is searched for on its own, and its number is read from
// everything that follows its first occurrence.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/number.h"
#include "controller/decision_rules.h"
#include "controller/form1.h"
#include "controller/program_state.h"

namespace quellor {
namespace {

bool Has(const std::string& text, std::string_view flag) {
  return text.find(flag) != std::string::npos;
}

// The number after the first occurrence of `flag`, rounded to a whole number;
// nothing when the flag is absent or the number does not fit 16 bits.
std::optional<std::int16_t> ValueOf(const std::string& text, std::string_view flag) {
  const std::size_t at = text.find(flag);
  if (at == std::string::npos) return std::nullopt;
  return ToInt16(LeadingNumber(std::string_view(text).substr(at + flag.size())));
}

}  // namespace

Switches ReadSwitches(const std::string& text, bool hibernateAllowed) {
  Switches out;
  if (const auto seconds = ValueOf(text, "-t"); seconds && *seconds > 0) out.countdown = seconds;
  if (const auto percent = ValueOf(text, "-c"); percent && *percent >= 0 && *percent <= 100) {
    out.threshold = percent;
  }
  if (const auto method = ValueOf(text, "-o"); method && *method >= 0 && *method <= 3) {
    out.method = *method;
  }
  out.force = Has(text, "-f");
  // The first row whose switch is given wins; hibernation counts only where
  // the machine allows it.
  for (const Operation& row : Operations()) {
    if (Has(text, std::string{'-', row.switchLetter}) && (!row.hibernates || hibernateAllowed)) {
      out.operation = row.kind;
      return out;
    }
  }
  out.help = Has(text, "-?");
  return out;
}

void Form1::ParseCommandLine(const std::string& text) {
  if (text.empty()) return;

  const Switches switches = ReadSwitches(text, program_.Os.power.IsPwrHibernateAllowed() != 0);
  if (switches.countdown) {
    program_.CountdownSeconds = *switches.countdown;
    program_.TimeOutSeconds = *switches.countdown;
  }
  if (switches.threshold) Text2.SetText(std::to_string(*switches.threshold));
  if (switches.method) Option1[static_cast<std::size_t>(*switches.method)].Select();
  Check1.SetValue(switches.force ? 1 : 0);

  if (switches.operation) {
    Combo1.SetListIndex(*switches.operation);
  } else if (switches.help) {
    // Help mode: the help window's OK ends the program, so the events are
    // handled here until then and start-up never goes on.
    program_.ShowHelp(true);
    program_.Os.user32.RunEventLoop();
  }
}

}  // namespace quellor
