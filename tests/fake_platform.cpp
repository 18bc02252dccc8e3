#include "fake_platform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace quellor::fake {

using platform::KeyHandle;
using platform::Status;

Status FakePdh::PdhOpenQuery(std::uintptr_t /*userData*/, platform::QueryHandle& query) {
  Calls.push_back("open");
  if (OpenStatus != 0) return OpenStatus;
  query = kQuery;
  return 0;
}

Status FakePdh::PdhVbAddCounter(platform::QueryHandle query, const std::string& path,
                                platform::CounterHandle& counter) {
  Calls.push_back("add " + path);
  if (!CounterExists || query != kQuery) return static_cast<Status>(0xC0000BB9u);
  counter = kCounter;
  return 0;
}

Status FakePdh::PdhCollectQueryData(platform::QueryHandle /*query*/) {
  if (!Steady) Calls.push_back("collect");
  return 0;
}

double FakePdh::PdhVbGetDoubleCounterValue(platform::CounterHandle counter, Status& counterStatus) {
  if (Steady && counter == kCounter) {
    counterStatus = Steady->status;
    return Steady->value;
  }
  Calls.push_back("read");
  if (counter != kCounter || Samples.empty()) {
    counterStatus = static_cast<Status>(0x800007D5u);  // no data
    return 0;
  }
  Sample sample = Samples.front();
  Samples.pop_front();
  counterStatus = sample.status;
  return sample.value;
}

Status FakePdh::PdhCloseQuery(platform::QueryHandle /*query*/) {
  Calls.push_back("close");
  return 0;
}

int FakePower::SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) {
  Suspends.push_back({hibernate, force, disableWakeEvent});
  return 1;
}

std::string FakeRegistry::Normal(const std::string& path) {
  std::string out;
  for (char c : path) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

Status FakeRegistry::RegOpenKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  Calls.push_back("open " + subKey);
  key = 0;
  if (root != platform::kHkeyCurrentUser || Unreadable) return 5;  // access denied
  const std::string path = Normal(subKey);
  if (keys_.find(path) == keys_.end()) return 2;  // not found
  key = next_++;
  open_[key] = path;
  return 0;
}

Status FakeRegistry::RegCreateKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  Calls.push_back("create " + subKey);
  key = 0;
  if (root != platform::kHkeyCurrentUser || Unwritable) return 5;
  const std::string path = Normal(subKey);
  // Every level comes into being, as the system does it.
  for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    keys_[path.substr(0, at)];
  }
  keys_[path];
  key = next_++;
  open_[key] = path;
  return 0;
}

Status FakeRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName,
                                      std::uint32_t& type, std::uint8_t* data,
                                      std::uint32_t& byteCount) {
  Calls.push_back("query " + valueName);
  auto handle = open_.find(key);
  if (handle == open_.end()) return 6;  // invalid handle
  const Key& k = keys_[handle->second];
  auto it = k.values.find(valueName);
  if (it == k.values.end()) return 2;
  const Value& v = it->second;
  type = v.type;
  const auto size = static_cast<std::uint32_t>(v.data.size());
  if (data == nullptr) {
    byteCount = size;
    return 0;
  }
  if (byteCount < size) {
    byteCount = size;
    return platform::kErrorMoreData;
  }
  if (size > 0) std::memcpy(data, v.data.data(), size);
  byteCount = size;
  return 0;
}

Status FakeRegistry::RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t byteCount) {
  Calls.push_back("set " + valueName);
  if (Unwritable) return 5;
  auto handle = open_.find(key);
  if (handle == open_.end()) return 6;
  Key& k = keys_[handle->second];
  Value& v = k.values[valueName];
  v.type = type;
  v.data.assign(data, data + byteCount);
  return 0;
}

Status FakeRegistry::RegCloseKey(KeyHandle key) {
  Calls.push_back("close");
  return open_.erase(key) == 1 ? 0 : 6;
}

void FakeRegistry::Plant(const std::string& path, const std::string& name, std::uint32_t type,
                         std::vector<std::uint8_t> data) {
  KeyHandle key = 0;
  const bool wasUnwritable = Unwritable;
  Unwritable = false;
  RegCreateKeyA(platform::kHkeyCurrentUser, path, key);
  RegSetValueExA(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  RegCloseKey(key);
  Unwritable = wasUnwritable;
  Calls.clear();
}

void FakeRegistry::PlantString(const std::string& path, const std::string& name,
                               const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  Plant(path, name, platform::kRegSz, std::move(bytes));
}

void FakeRegistry::PlantDword(const std::string& path, const std::string& name,
                              std::uint32_t value) {
  Plant(path, name, platform::kRegDword,
        {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
         static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

bool FakeRegistry::HasKey(const std::string& path) const {
  return keys_.find(Normal(path)) != keys_.end();
}

const FakeRegistry::Value* FakeRegistry::Find(const std::string& path,
                                              const std::string& name) const {
  auto k = keys_.find(Normal(path));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.values.find(name);
  return v == k->second.values.end() ? nullptr : &v->second;
}

int FakeUser32::SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx,
                             int cy, unsigned flags) {
  Calls.push_back("SetWindowPos " + std::to_string(window) + " " + std::to_string(insertAfter) +
                  " " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(cx) +
                  " " + std::to_string(cy) + " " + std::to_string(flags));
  return 1;
}

std::intptr_t FakeUser32::SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  Calls.push_back("SendMessageA " + std::to_string(window) + " " + std::to_string(message) + " " +
                  std::to_string(wParam) + " " + std::to_string(lParam));
  if (message == platform::kWmNcLButtonDown && DuringDrag) DuringDrag(window);
  return 0;
}

namespace {
bool Overlaps(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}
float Gap(float lowA, float highA, float lowB, float highB) {
  if (highA < lowB) return lowB - highA;
  if (highB < lowA) return lowA - highB;
  return 0;
}
}  // namespace

Rect FakeUser32::NearestWorkArea(const Rect& window) {
  const Rect* best = &Monitors.front();
  float bestDistance = -1;
  for (const Rect& m : Monitors) {
    const float dx = Gap(window.left, window.left + window.width, m.left, m.left + m.width);
    const float dy = Gap(window.top, window.top + window.height, m.top, m.top + m.height);
    const float distance = dx * dx + dy * dy;
    if (bestDistance < 0 || distance < bestDistance) {
      best = &m;
      bestDistance = distance;
    }
  }
  return *best;
}

bool FakeUser32::IsOnAnyMonitor(const Rect& window) {
  for (const Rect& m : Monitors) {
    if (Overlaps(window, m)) return true;
  }
  return false;
}

void FakeUser32::MessageBox(const std::string& text, const std::string& title) {
  Messages.push_back({text, title});
}

void FakeUser32::RunEventLoop() {
  Calls.push_back("RunEventLoop");
  if (DuringEventLoop) DuringEventLoop();
  // The real loop never returns; a test whose script did not end the
  // program has found a hang.
  throw std::logic_error("the event loop ran out of events without the program ending");
}

std::intptr_t FakeShell32::ShellExecuteA(WindowHandle owner, const std::string& operation,
                                         const std::string& file, int showCommand) {
  Calls.push_back({owner, operation, file, showCommand});
  return Result;
}

void FakeProcess::RunCommandLine(const std::string& commandLine, int windowStyle) {
  Runs.push_back({commandLine, windowStyle});
  if (OnRun) OnRun();
}

void FakeProcess::EndProcess() {
  ++Ends;
  if (OnEnd) OnEnd();
  throw ProcessEnded{};
}

}  // namespace quellor::fake
