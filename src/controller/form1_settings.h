// The main window's settings: gathered from its controls and stored, or read
// and applied to them as the user's own changes would be.
#pragma once

#include "settings/settings.h"

namespace quellor {

class ProgramState;

// Stores the main window's state: position, operation, threshold, countdown
// length, method and both check boxes. Never fails visibly and never throws,
// so the operation that follows always runs.
void SaveSettings(ProgramState& program) noexcept;
// Applies the stored values to the main window, with the same consequences as
// the user changing each control; a value that is missing, or fits no
// control, leaves the control as start-up set it. A stored position that
// would leave the window off every monitor is pulled back onto the nearest
// one.
void LoadSettings(ProgramState& program);

}  // namespace quellor
