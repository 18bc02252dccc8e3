#include "fake_platform.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace quellor::fake {

using platform::KeyHandle;

std::string FakeRegistry::MakeKey(const std::string& path) {
  // Every level comes into being, as the system does it.
  for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    keys_[path.substr(0, at)];
  }
  keys_[path];
  return path;
}

Status FakeRegistry::OpenHandle(const std::string& path, KeyHandle& key) {
  key = next_++;
  open_[key] = path;
  return 0;
}

Status FakeRegistry::RegOpenKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  key = 0;
  if (root != platform::kHkeyCurrentUser || Unreadable) return 5;  // access denied
  if (!HasKey(subKey)) return 2;                                   // not found
  return OpenHandle(subKey, key);
}

Status FakeRegistry::RegCreateKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  key = 0;
  if (root != platform::kHkeyCurrentUser || Unwritable) return 5;
  return OpenHandle(MakeKey(subKey), key);
}

Status FakeRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName,
                                      std::uint32_t& type, std::uint8_t* data,
                                      std::uint32_t& byteCount) {
  const auto handle = open_.find(key);
  if (handle == open_.end()) return 6;  // invalid handle
  const Value* value = Find(handle->second, valueName);
  if (value == nullptr) return 2;
  type = value->type;
  const auto size = static_cast<std::uint32_t>(value->data.size());
  const bool fits = data == nullptr || byteCount >= size;
  if (data != nullptr && fits && size > 0) std::memcpy(data, value->data.data(), size);
  byteCount = size;
  return fits ? 0 : platform::kErrorMoreData;
}

Status FakeRegistry::RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t byteCount) {
  const auto handle = open_.find(key);
  if (Unwritable) return 5;
  if (handle == open_.end()) return 6;
  keys_[handle->second][valueName] = {type, std::vector<std::uint8_t>(data, data + byteCount)};
  if (Log != nullptr) Log->push_back("store " + valueName);
  return 0;
}

const FakeRegistry::Value* FakeRegistry::Find(const std::string& path,
                                              const std::string& name) const {
  const auto key = keys_.find(path);
  if (key == keys_.end()) return nullptr;
  const auto value = key->second.find(name);
  return value == key->second.end() ? nullptr : &value->second;
}

// The monitor whose top left corner is nearest the window's.
Rect FakeUser32::NearestWorkArea(const Rect& window) {
  const auto distance = [&](const Rect& m) {
    return std::abs(window.left - m.left) + std::abs(window.top - m.top);
  };
  const Rect* best = &Monitors.front();
  for (const Rect& m : Monitors) {
    if (distance(m) < distance(*best)) best = &m;
  }
  return *best;
}

bool FakeUser32::IsOnAnyMonitor(const Rect& window) {
  for (const Rect& m : Monitors) {
    if (window.left < m.left + m.width && m.left < window.left + window.width &&
        window.top < m.top + m.height && m.top < window.top + window.height) {
      return true;
    }
  }
  return false;
}

void FakeUser32::RunEventLoop() {
  Calls.push_back("RunEventLoop");
  if (DuringEventLoop) DuringEventLoop();
  throw std::logic_error("the event loop ran out of events without the program ending");
}

}  // namespace quellor::fake
