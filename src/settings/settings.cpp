#include "settings/settings.h"

// Placeholder until the persisted settings land.
namespace quellor {
void SaveSettings(Program&) {}
void LoadSettings(Program&) {}
}  // namespace quellor
