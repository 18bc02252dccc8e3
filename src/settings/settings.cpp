#include "settings/settings.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "common/number.h"
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

}  // namespace

Settings ReadSettings(RegistryKey& registry) {
  const platform::KeyHandle root = platform::kHkeyCurrentUser;
  const auto read = [&](const char* name) { return registry.GetValue(root, kSettingsKey, name); };
  Settings settings;
  settings.positionX = AsSingle(read(kPositionX));
  settings.positionY = AsSingle(read(kPositionY));
  settings.operation = AsInt16(read(kOperation));
  if (const RegistryValue threshold = read(kCpuUsage); !IsEmpty(threshold)) {
    settings.cpuUsage = AsText(threshold);
  }
  // A negative length (only a hand edit can store one) fits no countdown: the
  // tick would never see the time run out, so it is ignored like any other
  // value that fits nothing.
  if (const auto timeOut = AsInt32(read(kTimeOut)); timeOut && *timeOut >= 0) {
    settings.timeOut = timeOut;
  }
  settings.option = AsInt16(read(kOption));
  settings.forceClose = AsCheckState(read(kForceClose));
  settings.alwaysTop = AsCheckState(read(kAlwaysTop));
  return settings;
}

void WriteSettings(RegistryKey& registry, const Settings& settings) {
  const platform::KeyHandle root = platform::kHkeyCurrentUser;
  if (!registry.KeyExists(root, kAppKey)) {
    registry.CreateKey(root, kAppKey);
    registry.CreateKey(root, kSettingsKey);
  }
  if (!registry.KeyExists(root, kSettingsKey)) registry.CreateKey(root, kSettingsKey);

  const auto write = [&](const char* name, const auto& value) {
    if (value) registry.SetValue(root, kSettingsKey, name, *value);
  };
  const auto writeWhole = [&](const char* name, const auto& value) {
    if (value) registry.SetValue(root, kSettingsKey, name, std::int32_t{*value});
  };
  write(kPositionX, settings.positionX);
  write(kPositionY, settings.positionY);
  writeWhole(kOperation, settings.operation);
  write(kCpuUsage, settings.cpuUsage);
  write(kTimeOut, settings.timeOut);
  writeWhole(kOption, settings.option);
  writeWhole(kForceClose, settings.forceClose);
  writeWhole(kAlwaysTop, settings.alwaysTop);
}

}  // namespace quellor
