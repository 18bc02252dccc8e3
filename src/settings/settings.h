// The main window's choices, kept in the current user's registry between runs.
#pragma once

namespace quellor {

class Program;

inline constexpr const char* kAppKey = "Software\\Quellor";
inline constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

// Copies the main window's state into the registry. Never fails visibly.
void SaveSettings(Program& program);
// Copies the stored values back into the main window; a value that is
// missing, or fits no control, leaves the control as start-up set it.
void LoadSettings(Program& program);

}  // namespace quellor
