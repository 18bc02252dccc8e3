// A thin layer over the registry: one call opens, reads or writes, and closes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/platform.h"

namespace quellor {

// What the registry gives back: a text or a 32-bit integer. The empty text
// stands for a value that is not stored (or cannot be read).
using RegistryValue = std::variant<std::string, std::int32_t>;

// What may be written: numbers of any of the program's kinds, or a text.
using RegistryInput = std::variant<std::string, std::int16_t, std::int32_t, float, double>;

bool IsEmpty(const RegistryValue& value);

class RegistryKey {
 public:
  explicit RegistryKey(platform::Registry& registry) : registry_(registry) {}

  bool KeyExists(platform::KeyHandle root, const std::string& subKey);
  void CreateKey(platform::KeyHandle root, const std::string& subKey);
  RegistryValue GetValue(platform::KeyHandle root, const std::string& subKey,
                         const std::string& valueName);
  void SetValue(platform::KeyHandle root, const std::string& subKey, const std::string& valueName,
                const RegistryInput& value);

  // The root in use; the settings set it before each save and load.
  platform::KeyHandle Root = platform::kHkeyCurrentUser;
  // The status of the last registry call.
  platform::Status LastStatus = 0;

 private:
  platform::Registry& registry_;
};

}  // namespace quellor
