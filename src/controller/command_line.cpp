// The command-line switches of the main window. The text is not split into
// words: each switch is searched for on its own, and its number is read from
// everything that follows its first occurrence.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/number.h"
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

void Form1::ParseCommandLine(const std::string& text) {
  if (text.empty()) return;

  if (const auto seconds = ValueOf(text, "-t"); seconds && *seconds > 0) {
    program_.CountdownSeconds = *seconds;
    program_.TimeOutSeconds = *seconds;
  }
  if (const auto percent = ValueOf(text, "-c"); percent && *percent >= 0 && *percent <= 100) {
    Text2.SetText(std::to_string(*percent));
  }
  if (const auto method = ValueOf(text, "-o"); method && *method >= 0 && *method <= 3) {
    Option1[static_cast<std::size_t>(*method)].Select();
  }
  Check1.SetValue(Has(text, "-f") ? 1 : 0);

  if (Has(text, "-l")) {
    Combo1.SetListIndex(OperationPosition[kOperationLogOff]);
  } else if (Has(text, "-r")) {
    Combo1.SetListIndex(OperationPosition[kOperationRestart]);
  } else if (Has(text, "-s")) {
    Combo1.SetListIndex(OperationPosition[kOperationShutdown]);
  } else if (Has(text, "-h") && program_.Os.power.IsPwrHibernateAllowed() != 0) {
    Combo1.SetListIndex(OperationPosition[kOperationHibernate]);
  } else if (Has(text, "-?")) {
    // Help mode: the help window's OK ends the program, so the events are
    // handled here until then and start-up never goes on.
    program_.ShowHelp(true);
    program_.Os.user32.RunEventLoop();
  }
}

}  // namespace quellor
