#include "settings/settings.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "common/number.h"
#include "controller/form1.h"
#include "controller/program_state.h"
#include "settings/registry_key.h"

namespace quellor {
namespace {

constexpr const char* kPositionX = "PositionX";
constexpr const char* kPositionY = "PositionY";
constexpr const char* kOperation = "Operation";
constexpr const char* kCpuUsage = "CPU Usage";
constexpr const char* kTimeOut = "Time Out";
constexpr const char* kOption = "Option";
constexpr const char* kForceClose = "Force Close";
constexpr const char* kAlwaysTop = "Always Top";

// The states a check box can take: clear, ticked, greyed.
constexpr int kMaxCheckState = 2;

// A stored integer, or a stored text that is a plain number as a whole.
std::optional<double> AsNumber(const RegistryValue& value) {
  if (const auto* whole = std::get_if<std::int32_t>(&value)) return *whole;
  double number = 0;
  if (IsPlainNumber(std::get<std::string>(value), &number)) return number;
  return std::nullopt;
}

std::optional<float> AsSingle(const RegistryValue& value) {
  const auto number = AsNumber(value);
  if (!number || !std::isfinite(*number) || std::fabs(*number) > FLT_MAX) return std::nullopt;
  return static_cast<float>(*number);
}

std::optional<std::int16_t> AsInt16(const RegistryValue& value) {
  const auto number = AsNumber(value);
  return number ? ToInt16(*number) : std::nullopt;
}

std::optional<std::int32_t> AsInt32(const RegistryValue& value) {
  const auto number = AsNumber(value);
  return number ? ToInt32(*number) : std::nullopt;
}

std::string AsText(const RegistryValue& value) {
  if (const auto* whole = std::get_if<std::int32_t>(&value)) return std::to_string(*whole);
  return std::get<std::string>(value);
}

std::optional<int> AsCheckState(const RegistryValue& value) {
  const auto state = AsInt16(value);
  if (!state || *state < 0 || *state > kMaxCheckState) return std::nullopt;
  return *state;
}

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

void Save(ProgramState& program) {
  RegistryKey& registry = program.Registry;
  Form1& form = program.MainWindow();
  registry.Root = platform::kHkeyCurrentUser;
  const platform::KeyHandle root = registry.Root;

  if (!registry.KeyExists(root, kAppKey)) {
    registry.CreateKey(root, kAppKey);
    registry.CreateKey(root, kSettingsKey);
  }
  if (!registry.KeyExists(root, kSettingsKey)) registry.CreateKey(root, kSettingsKey);

  registry.SetValue(root, kSettingsKey, kPositionX, form.Left());
  registry.SetValue(root, kSettingsKey, kPositionY, form.Top());
  registry.SetValue(root, kSettingsKey, kOperation, std::int32_t{form.Combo1.ListIndex()});
  registry.SetValue(root, kSettingsKey, kCpuUsage, form.Text2.Text());
  registry.SetValue(root, kSettingsKey, kTimeOut, program.TimeOutSeconds);
  // With no button selected the stored method stays.
  if (const int method = form.SelectedMethod(); method >= 0) {
    registry.SetValue(root, kSettingsKey, kOption, std::int32_t{method});
  }
  registry.SetValue(root, kSettingsKey, kForceClose, std::int32_t{form.Check1.Value()});
  registry.SetValue(root, kSettingsKey, kAlwaysTop, std::int32_t{form.Check2.Value()});
}

}  // namespace

void SaveSettings(ProgramState& program) noexcept {
  // The operation runs right after this, whatever happened here: a failure
  // to store the settings must never stand in its way.
  try {
    Save(program);
  } catch (...) {  // NOLINT(bugprone-empty-catch): nothing to report, by design
  }
}

void LoadSettings(ProgramState& program) {
  RegistryKey& registry = program.Registry;
  Form1& form = program.MainWindow();
  registry.Root = platform::kHkeyCurrentUser;
  const platform::KeyHandle root = registry.Root;
  const auto read = [&](const char* name) { return registry.GetValue(root, kSettingsKey, name); };

  // Each value is applied as soon as it is read, in this order; "Option"
  // comes before "Time Out" so that the method's click handling cannot
  // override the stored countdown.
  bool moved = false;
  if (const auto left = AsSingle(read(kPositionX))) {
    form.Move(*left, form.Top());
    moved = true;
  }
  if (const auto top = AsSingle(read(kPositionY))) {
    form.Move(form.Left(), *top);
    moved = true;
  }
  if (moved) KeepOnScreen(form, program.Os.user32);

  // SetListIndex refuses an index that the list does not have (Hibernate
  // stored on an earlier run where this system no longer allows it).
  if (const auto operation = AsInt16(read(kOperation))) form.Combo1.SetListIndex(*operation);

  if (const RegistryValue threshold = read(kCpuUsage); !IsEmpty(threshold)) {
    form.Text2.SetText(AsText(threshold));
  }

  if (const auto method = AsInt16(read(kOption))) {
    if (*method >= 0 && *method < static_cast<int>(form.Option1.size())) {
      form.Option1[static_cast<std::size_t>(*method)].Select();
    }
  }

  // A negative length (only a hand edit can store one) fits no countdown: the
  // tick would never see the time run out, so it is ignored like any other
  // value that fits nothing.
  if (const auto timeOut = AsInt32(read(kTimeOut)); timeOut && *timeOut >= 0) {
    program.TimeOutSeconds = *timeOut;
    program.CountdownSeconds = *timeOut;
  }

  if (const auto force = AsCheckState(read(kForceClose))) form.Check1.SetValue(*force);
  if (const auto onTop = AsCheckState(read(kAlwaysTop))) form.Check2.SetValue(*onTop);
}

}  // namespace quellor
