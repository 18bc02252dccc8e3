#include "settings/registry_key.h"

// Placeholder until the registry layer lands.
namespace quellor {
bool IsEmpty(const RegistryValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  return text != nullptr && text->empty();
}
bool RegistryKey::KeyExists(platform::KeyHandle, const std::string&) {
  return false;
}
void RegistryKey::CreateKey(platform::KeyHandle, const std::string&) {}
RegistryValue RegistryKey::GetValue(platform::KeyHandle, const std::string&, const std::string&) {
  return std::string();
}
void RegistryKey::SetValue(platform::KeyHandle, const std::string&, const std::string&,
                           const RegistryInput&) {}
}  // namespace quellor
