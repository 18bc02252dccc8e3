// A scripted stand-in for the operating system, and a program running on it,
// for the unit tests and the fuzz targets.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "program/program.h"

namespace quellor::fake {

using platform::Status;

// Thrown by EndProcess, so a test sees where the program ended.
struct ProcessEnded {};

// What the program did to the machine, in order: "store NAME", "run LINE",
// "suspend", "end".
using Events = std::vector<std::string>;

// The eight settings, in the order the program stores them.
inline constexpr std::array<const char*, 8> kSettingNames = {
    "PositionX", "PositionY", "Operation",   "CPU Usage",
    "Time Out",  "Option",    "Force Close", "Always Top"};

// "name a b c": one call and its arguments, as the fakes note them.
template <typename... Args>
std::string Call(const std::string& name, Args... args) {
  std::string out = name;
  ((out += " " + std::to_string(args)), ...);
  return out;
}

struct Sample {
  double value = 0;
  Status status = platform::kPdhCstatusValidData;
};

class FakePdh : public platform::Pdh {
 public:
  static constexpr auto kNoData = static_cast<Status>(0x800007D5u);

  Status PdhOpenQuery(std::uintptr_t /*userData*/, platform::QueryHandle& query) override {
    if (OpenStatus == 0) query = 0x51;
    return Note("open", OpenStatus);
  }
  Status PdhVbAddCounter(platform::QueryHandle query, const std::string& path,
                         platform::CounterHandle& counter) override {
    counter = query;
    return Note("add " + path);
  }
  Status PdhCollectQueryData(platform::QueryHandle /*query*/) override { return Note("collect"); }
  // The next sample of the script; the last one stays. No data without one.
  double PdhVbGetDoubleCounterValue(platform::CounterHandle counter, Status& status) override {
    const Sample sample =
        counter == 0x51 && !Samples.empty() ? Samples.front() : Sample{0, kNoData};
    if (Samples.size() > 1) Samples.pop_front();
    status = Note("read", sample.status);
    return sample.value;
  }
  Status PdhCloseQuery(platform::QueryHandle /*query*/) override { return Note("close"); }

  std::deque<Sample> Samples;
  Status OpenStatus = 0;
  std::vector<std::string> Calls;  // "open", "add <path>", "collect", "read", "close"

 private:
  Status Note(std::string call, Status status = 0) {
    Calls.push_back(std::move(call));
    return status;
  }
};

class FakePower : public platform::Power {
 public:
  int IsPwrHibernateAllowed() override { return HibernateAllowed ? 1 : 0; }
  int SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override {
    Suspends.push_back({hibernate, force, disableWakeEvent});
    if (Log != nullptr) Log->push_back("suspend");
    if (Fails) throw std::runtime_error("suspend failed");
    return SuspendResult;
  }
  bool HibernateAllowed = true;
  int SuspendResult = 1;  // 0: the system refuses
  bool Fails = false;
  Events* Log = nullptr;
  struct Suspend {
    bool hibernate, force, disableWakeEvent;
    bool operator==(const Suspend&) const = default;
  };
  std::vector<Suspend> Suspends;
};

// An in-memory registry below HKEY_CURRENT_USER that keeps each value's type
// and bytes as given.
class FakeRegistry : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };

  Status RegOpenKeyA(platform::KeyHandle root, const std::string& subKey,
                     platform::KeyHandle& key) override;
  Status RegCreateKeyA(platform::KeyHandle root, const std::string& subKey,
                       platform::KeyHandle& key) override;
  Status RegQueryValueExA(platform::KeyHandle key, const std::string& valueName,
                          std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& byteCount) override;
  Status RegSetValueExA(platform::KeyHandle key, const std::string& valueName, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t byteCount) override;
  Status RegCloseKey(platform::KeyHandle key) override { return open_.erase(key) == 1 ? 0 : 6; }

  void Plant(const std::string& path, const std::string& name, std::uint32_t type,
             std::vector<std::uint8_t> data) {
    keys_[MakeKey(path)][name] = {type, std::move(data)};
  }
  bool HasKey(const std::string& path) const { return keys_.count(path) != 0; }
  const Value* Find(const std::string& path, const std::string& name) const;

  bool Unreadable = false;  // every open fails
  bool Unwritable = false;  // every create and set fails
  Events* Log = nullptr;
  int OpenHandles() const { return static_cast<int>(open_.size()); }

 private:
  std::string MakeKey(const std::string& subKey);  // with its parents; returns its path
  Status OpenHandle(const std::string& path, platform::KeyHandle& key);
  std::map<std::string, std::map<std::string, Value>> keys_;  // by path
  std::map<platform::KeyHandle, std::string> open_;
  platform::KeyHandle next_ = 0x100;
};

class FakeUser32 : public platform::User32 {
 public:
  int SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                   unsigned flags) override {
    Calls.push_back(Call("SetWindowPos", window, insertAfter, x, y, cx, cy, flags));
    return 1;
  }
  int ReleaseCapture() override {
    Calls.push_back("ReleaseCapture");
    return 1;
  }
  // Runs DuringDrag inside a drag (WM_NCLBUTTONDOWN).
  std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override {
    Calls.push_back(Call("SendMessageA", window, message, wParam, lParam));
    if (message == platform::kWmNcLButtonDown && DuringDrag) DuringDrag(window);
    return 0;
  }
  Rect NearestWorkArea(const Rect& window) override;
  bool IsOnAnyMonitor(const Rect& window) override;
  void MessageBox(const std::string& text, const std::string& title) override {
    Calls.push_back("MessageBox " + text + " | " + title);
  }
  // Runs DuringEventLoop: the test's clicks in help mode. The real loop never
  // returns, so when the script did not end the program it throws.
  void RunEventLoop() override;

  // Monitors' work areas in twips; the first is the primary one.
  std::vector<Rect> Monitors{Rect{0, 0, 19200, 10800}};
  std::vector<std::string> Calls;
  std::function<void()> DuringEventLoop;
  std::function<void(WindowHandle)> DuringDrag;
};

// Opens whatever it is asked to, and notes it: "ShellExecuteA OWNER SHOW OPERATION FILE".
class FakeShell32 : public platform::Shell32 {
 public:
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& operation,
                              const std::string& file, int showCommand) override {
    Calls.push_back(Call("ShellExecuteA", owner, showCommand) + " " + operation + " " + file);
    return 42;
  }
  std::vector<std::string> Calls;
};

// The process, and the other copies of the program in its session.
class FakeProcess : public platform::Process, public platform::Instances {
 public:
  std::string CommandLineText() override { return CommandLine; }
  bool RunCommandLine(const std::string& commandLine, int windowStyle) override {
    Runs.push_back({commandLine, windowStyle});
    Log.push_back("run " + commandLine);
    if (RunFails) throw std::runtime_error("run failed");
    return Startable;
  }
  [[noreturn]] void EndProcess(platform::ExitCode code) override {
    Ends.push_back(code);
    Log.push_back("end");
    throw ProcessEnded{};
  }
  bool ClaimCountdown() override { return !OtherCopyCounts; }
  void ShowCountingCopy() override { Log.emplace_back("show counting copy"); }
  // A clock that moves on by a second at every reading.
  platform::LocalTime Now() override {
    const platform::LocalTime now = Clock;
    if (++Clock.second == 60)
      Clock = {(Clock.hour + (Clock.minute == 59)) % 24, (Clock.minute + 1) % 60};
    return now;
  }

  std::string CommandLine;
  platform::LocalTime Clock{12, 0, 0};
  struct Run {
    std::string commandLine;
    int windowStyle;
    bool operator==(const Run&) const = default;
  };
  std::vector<Run> Runs;
  bool Startable = true;                 // whether a command line can be started
  std::vector<platform::ExitCode> Ends;  // the exit code of each end
  bool RunFails = false;
  bool OtherCopyCounts = false;
  Events Log;
};

// All of them, ready to hand to a Program.
struct FakePlatform {
  FakePdh pdh;
  FakePower power;
  FakeRegistry registry;
  FakeUser32 user32;
  FakeShell32 shell32;
  FakeProcess process;
  FakePlatform() { registry.Log = power.Log = &process.Log; }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;
  platform::Platform Get() { return {pdh, power, registry, user32, shell32, process, process}; }
};

// One run of the program on a fake machine, which may outlive it.
struct Launch {
  explicit Launch(platform::Platform machine) : os(machine), program(os) {}
  platform::Platform os;
  Program program;
  Form1& form = program.form1;

  // Ticks up to `limit` times: the tick in which the program ended, or 0.
  int TicksUntilEnd(int limit) {
    for (int tick = 1; tick <= limit; ++tick) {
      try {
        form.Timer1.OnTimer();  // as the window's timer runs it
      } catch (const ProcessEnded&) {
        return tick;
      }
    }
    return 0;
  }
};

// A program on a machine of its own, started with `commandLine` by Start().
struct Session : FakePlatform, Launch {
  Session() : Launch(Get()) {}
  void Start(const std::string& commandLine = "") {
    process.CommandLine = commandLine;
    program.Main();
  }
};

}  // namespace quellor::fake
