// A scripted stand-in for the operating system, for the unit tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quellor::fake {

// Thrown by EndProcess, so a test sees where the program ended.
struct ProcessEnded {};

struct Sample {
  double value = 0;
  platform::Status status = platform::kPdhCstatusValidData;
};

class FakePdh : public platform::Pdh {
 public:
  platform::Status PdhOpenQuery(std::uintptr_t userData, platform::QueryHandle& query) override;
  platform::Status PdhVbAddCounter(platform::QueryHandle query, const std::string& path,
                                   platform::CounterHandle& counter) override;
  platform::Status PdhCollectQueryData(platform::QueryHandle query) override;
  double PdhVbGetDoubleCounterValue(platform::CounterHandle counter,
                                    platform::Status& counterStatus) override;
  platform::Status PdhCloseQuery(platform::QueryHandle query) override;

  // Script: the samples handed out one per read; when they run out, a bad
  // status (no data).
  std::deque<Sample> Samples;
  // When set, every read gives this sample and the script is not used.
  std::optional<Sample> Steady;
  platform::Status OpenStatus = 0;
  bool CounterExists = true;

  // Record.
  std::vector<std::string> Calls;  // "open", "add <path>", "collect", "read", "close"
  static constexpr platform::QueryHandle kQuery = 0x51;
  static constexpr platform::CounterHandle kCounter = 0xC0;
};

class FakePower : public platform::Power {
 public:
  int IsPwrHibernateAllowed() override { return HibernateAllowed ? 1 : 0; }
  int SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override;

  bool HibernateAllowed = true;
  struct Suspend {
    bool hibernate, force, disableWakeEvent;
  };
  std::vector<Suspend> Suspends;
};

// An in-memory registry that keeps each value's type and bytes as given.
class FakeRegistry : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };

  platform::Status RegOpenKeyA(platform::KeyHandle root, const std::string& subKey,
                               platform::KeyHandle& key) override;
  platform::Status RegCreateKeyA(platform::KeyHandle root, const std::string& subKey,
                                 platform::KeyHandle& key) override;
  platform::Status RegQueryValueExA(platform::KeyHandle key, const std::string& valueName,
                                    std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& byteCount) override;
  platform::Status RegSetValueExA(platform::KeyHandle key, const std::string& valueName,
                                  std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t byteCount) override;
  platform::Status RegCloseKey(platform::KeyHandle key) override;

  // Planting and reading back, by full path below HKEY_CURRENT_USER.
  void Plant(const std::string& path, const std::string& name, std::uint32_t type,
             std::vector<std::uint8_t> data);
  void PlantString(const std::string& path, const std::string& name, const std::string& text);
  void PlantDword(const std::string& path, const std::string& name, std::uint32_t value);
  bool HasKey(const std::string& path) const;
  const Value* Find(const std::string& path, const std::string& name) const;

  // Faults.
  bool Unreadable = false;  // every open fails
  bool Unwritable = false;  // every create and set fails

  int OpenHandles() const { return static_cast<int>(open_.size()); }
  std::vector<std::string> Calls;  // "open <path>", "create <path>", "query <name>", "set <name>"

 private:
  struct Key {
    std::map<std::string, Value> values;
  };
  static std::string Normal(const std::string& path);
  std::map<std::string, Key> keys_;  // by lower-case path, "" the root
  std::map<platform::KeyHandle, std::string> open_;
  platform::KeyHandle next_ = 0x100;
};

class FakeUser32 : public platform::User32 {
 public:
  int SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                   unsigned flags) override;
  int ReleaseCapture() override {
    Calls.push_back("ReleaseCapture");
    return 1;
  }
  std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  Rect NearestWorkArea(const Rect& window) override;
  bool IsOnAnyMonitor(const Rect& window) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  void RunEventLoop() override;

  // Monitors' work areas in twips; the first is the primary one.
  std::vector<Rect> Monitors{Rect{0, 0, 19200, 10800}};

  std::vector<std::string> Calls;
  struct Message {
    std::string text, title;
  };
  std::vector<Message> Messages;
  // Runs inside the help mode's event loop: the test's clicks. When it
  // returns without the program ending, the loop gives up with an error.
  std::function<void()> DuringEventLoop;
  // Runs inside a drag (SendMessageA with WM_NCLBUTTONDOWN).
  std::function<void(WindowHandle)> DuringDrag;
};

class FakeShell32 : public platform::Shell32 {
 public:
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& operation,
                              const std::string& file, int showCommand) override;
  struct Call {
    WindowHandle owner;
    std::string operation, file;
    int showCommand;
  };
  std::vector<Call> Calls;
  std::intptr_t Result = 42;  // above 32: opened
};

class FakeProcess : public platform::Process {
 public:
  std::string CommandLineText() override { return CommandLine; }
  void RunCommandLine(const std::string& commandLine, int windowStyle) override;
  [[noreturn]] void EndProcess() override;
  platform::LocalTime Now() override { return Clock; }

  std::string CommandLine;
  platform::LocalTime Clock{12, 0, 0};
  struct Run {
    std::string commandLine;
    int windowStyle;
  };
  std::vector<Run> Runs;
  int Ends = 0;
  // Called as a command line is run (it may throw, as a platform that cannot
  // start it does) and as the process ends, before the exception: lets a
  // test check the order of what happened.
  std::function<void()> OnRun, OnEnd;
};

// All of them, ready to hand to a Program.
struct FakePlatform {
  FakePdh pdh;
  FakePower power;
  FakeRegistry registry;
  FakeUser32 user32;
  FakeShell32 shell32;
  FakeProcess process;
  platform::Platform Get() { return {pdh, power, registry, user32, shell32, process}; }
};

}  // namespace quellor::fake
