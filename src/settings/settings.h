// The main window's choices, kept in the current user's registry between runs.
#pragma once

namespace quellor {

class ProgramState;

inline constexpr const char* kAppKey = "Software\\Quellor";
inline constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

// Copies the main window's state into the registry: position, operation,
// threshold, countdown length, method and both check boxes. Never fails
// visibly and never throws, so the operation that follows always runs.
void SaveSettings(ProgramState& program) noexcept;
// Copies the stored values back into the main window, with the same
// consequences as the user changing each control; a value that is missing,
// or fits no control, leaves the control as start-up set it. A stored
// position that would leave the window off every monitor is pulled back onto
// the nearest one.
void LoadSettings(ProgramState& program);

}  // namespace quellor
