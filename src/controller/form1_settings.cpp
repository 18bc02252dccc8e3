#include "controller/form1_settings.h"

#include <algorithm>

#include "controller/form1.h"
#include "controller/program_state.h"

namespace quellor {
namespace {

// A window that a stored position put wholly off every monitor is moved
// into the work area of the nearest one, as far as it fits; a window that
// still shows a part of itself stays where it is.
void KeepOnScreen(Form& window, platform::User32& user32) {
  const Rect rect{window.Left(), window.Top(), window.Width(), window.Height()};
  if (user32.IsOnAnyMonitor(rect)) return;
  const Rect area = user32.NearestWorkArea(rect);
  const float left = std::max(area.left, std::min(rect.left, area.left + area.width - rect.width));
  const float top = std::max(area.top, std::min(rect.top, area.top + area.height - rect.height));
  window.Move(left, top);
}

}  // namespace

Settings Form1::GatherSettings() const {
  Settings settings;
  settings.positionX = Left();
  settings.positionY = Top();
  settings.operation = static_cast<std::int16_t>(Combo1.ListIndex());
  settings.cpuUsage = Text2.Text();
  settings.timeOut = program_.TimeOutSeconds;
  // With no button selected the stored method stays.
  if (const int method = SelectedMethod(); method >= 0) {
    settings.option = static_cast<std::int16_t>(method);
  }
  settings.forceClose = Check1.Value();
  settings.alwaysTop = Check2.Value();
  return settings;
}

void Form1::ApplySettings(const Settings& settings) {
  // Each value is applied in this order, as a user's change would be;
  // "Option" comes before "Time Out" so that the method's click handling
  // cannot override the stored countdown.
  if (settings.positionX) Move(*settings.positionX, Top());
  if (settings.positionY) Move(Left(), *settings.positionY);
  if (settings.positionX || settings.positionY) KeepOnScreen(*this, program_.Os.user32);

  // SetListIndex refuses an index that the list does not have (Hibernate
  // stored on an earlier run where this system no longer allows it).
  if (settings.operation) Combo1.SetListIndex(*settings.operation);
  if (settings.cpuUsage) Text2.SetText(*settings.cpuUsage);
  if (settings.option && *settings.option >= 0 &&
      *settings.option < static_cast<int>(Option1.size())) {
    Option1[static_cast<std::size_t>(*settings.option)].Select();
  }
  if (settings.timeOut) {
    program_.TimeOutSeconds = *settings.timeOut;
    program_.CountdownSeconds = *settings.timeOut;
  }
  if (settings.forceClose) Check1.SetValue(*settings.forceClose);
  if (settings.alwaysTop) Check2.SetValue(*settings.alwaysTop);
}

void SaveSettings(ProgramState& program) noexcept {
  // The operation runs right after this, whatever happened here: a failure
  // to store the settings must never stand in its way.
  try {
    WriteSettings(program.Registry, program.MainWindow().GatherSettings());
  } catch (...) {  // NOLINT(bugprone-empty-catch): nothing to report, by design
  }
}

void LoadSettings(ProgramState& program) {
  program.MainWindow().ApplySettings(ReadSettings(program.Registry));
}

}  // namespace quellor
