// The main window's choices, kept in the current user's registry between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/registry_key.h"

namespace quellor {

inline constexpr const char* kAppKey = "Software\\Quellor";
inline constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

// The eight stored values. As read, each is there only when it is stored and
// fits a value of its kind; as written, each one there is stored.
struct Settings {
  std::optional<float> positionX;
  std::optional<float> positionY;
  std::optional<std::int16_t> operation;  // the operation list's index
  std::optional<std::string> cpuUsage;    // the threshold box's text, never empty
  std::optional<std::int32_t> timeOut;    // the countdown's length in seconds, never negative
  std::optional<std::int16_t> option;     // the method button's index
  std::optional<int> forceClose;          // check box states: 0 clear, 1 ticked, 2 greyed
  std::optional<int> alwaysTop;

  bool operator==(const Settings&) const = default;
};

// Reads the eight values from the current user's settings key.
Settings ReadSettings(RegistryKey& registry);
// Stores the values that are there, creating the key first when needed.
void WriteSettings(RegistryKey& registry, const Settings& settings);

}  // namespace quellor
