// What the core costs per call: the tick that runs every second for hours,
// the countdown display, and the work of start-up and of firing.
//
// Besides the time, each benchmark reports how many heap allocations one call
// makes ("allocs") and how many bytes they ask for ("bytes"); the tick also
// reports how many control changes it leaves for the front end to redraw
// ("redraws"). The system services used here do nothing beyond what the
// program needs back from them and record nothing, so these figures are the
// program's own.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "common/number.h"
#include "controller/form1_settings.h"
#include "program/program.h"

namespace {

// Every allocation of the process, counted by the replaced operator new
// below. The benchmarks run on one thread.
std::size_t allocationCount = 0;
std::size_t allocatedBytes = 0;

void* Allocate(std::size_t size) {
  ++allocationCount;
  allocatedBytes += size;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t /*size*/) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t /*size*/) noexcept {
  std::free(memory);
}

namespace {

using quellor::Program;
namespace platform = quellor::platform;

// Counts the allocations made between its construction and Report().
class HeapMeter {
 public:
  HeapMeter() : count_(allocationCount), bytes_(allocatedBytes) {}
  void Report(benchmark::State& state) const {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocationCount - count_),
                                                  benchmark::Counter::kAvgIterations);
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(allocatedBytes - bytes_),
                                                 benchmark::Counter::kAvgIterations);
  }

 private:
  std::size_t count_;
  std::size_t bytes_;
};

// The sum of the change counters of a window and its controls: each step is
// one change that the front end redraws.
std::uint64_t Revisions(const quellor::Form& form) {
  std::uint64_t sum = form.Revision();
  for (const quellor::Control* control : form.Controls()) sum += control->Revision();
  return sum;
}

// A processor-usage source that hands out a fixed cycle of good samples and
// records nothing.
class CyclingPdh : public platform::Pdh {
 public:
  explicit CyclingPdh(std::vector<double> samples) : samples_(std::move(samples)) {}
  platform::Status PdhOpenQuery(std::uintptr_t /*userData*/,
                                platform::QueryHandle& query) override {
    query = kQuery;
    return 0;
  }
  platform::Status PdhVbAddCounter(platform::QueryHandle /*query*/, const std::string& /*path*/,
                                   platform::CounterHandle& counter) override {
    counter = kCounter;
    return 0;
  }
  platform::Status PdhCollectQueryData(platform::QueryHandle /*query*/) override { return 0; }
  double PdhVbGetDoubleCounterValue(platform::CounterHandle /*counter*/,
                                    platform::Status& counterStatus) override {
    counterStatus = platform::kPdhCstatusValidData;
    const double value = samples_[next_];
    next_ = next_ + 1 == samples_.size() ? 0 : next_ + 1;
    return value;
  }
  platform::Status PdhCloseQuery(platform::QueryHandle /*query*/) override { return 0; }

 private:
  static constexpr platform::QueryHandle kQuery = 0x51;
  static constexpr platform::CounterHandle kCounter = 0xC0;
  std::vector<double> samples_;
  std::size_t next_ = 0;
};

// An in-memory registry that keeps the values and records nothing. Keys are
// matched by their exact spelling, which is all the program uses.
class QuietRegistry : public platform::Registry {
 public:
  platform::Status RegOpenKeyA(platform::KeyHandle root, const std::string& subKey,
                               platform::KeyHandle& key) override {
    key = 0;
    if (root != platform::kHkeyCurrentUser) return kAccessDenied;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i].path == subKey) {
        key = HandleOf(i);
        return 0;
      }
    }
    return kNotFound;
  }
  platform::Status RegCreateKeyA(platform::KeyHandle root, const std::string& subKey,
                                 platform::KeyHandle& key) override {
    if (RegOpenKeyA(root, subKey, key) != kNotFound) return key == 0 ? kAccessDenied : 0;
    keys_.push_back(Key{subKey, {}});
    key = HandleOf(keys_.size() - 1);
    return 0;
  }
  platform::Status RegQueryValueExA(platform::KeyHandle key, const std::string& valueName,
                                    std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& byteCount) override {
    const Value* value = FindValue(key, valueName);
    if (value == nullptr) return kNotFound;
    type = value->type;
    const auto size = static_cast<std::uint32_t>(value->data.size());
    if (data != nullptr && byteCount < size) {
      byteCount = size;
      return platform::kErrorMoreData;
    }
    if (data != nullptr) {
      for (std::uint32_t i = 0; i < size; ++i) data[i] = value->data[i];
    }
    byteCount = size;
    return 0;
  }
  platform::Status RegSetValueExA(platform::KeyHandle key, const std::string& valueName,
                                  std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t byteCount) override {
    if (!IsHandle(key)) return kInvalidHandle;
    Value* value = FindValue(key, valueName);
    if (value == nullptr) {
      auto& values = keys_[IndexOf(key)].values;
      values.push_back(Value{valueName, 0, {}});
      value = &values.back();
    }
    value->type = type;
    value->data.assign(data, data + byteCount);
    return 0;
  }
  platform::Status RegCloseKey(platform::KeyHandle key) override {
    return IsHandle(key) ? 0 : kInvalidHandle;
  }

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  struct Key {
    std::string path;
    std::vector<Value> values;
  };
  static constexpr platform::Status kNotFound = 2;
  static constexpr platform::Status kAccessDenied = 5;
  static constexpr platform::Status kInvalidHandle = 6;
  static constexpr platform::KeyHandle kFirstHandle = 0x100;

  static platform::KeyHandle HandleOf(std::size_t index) { return kFirstHandle + index; }
  static std::size_t IndexOf(platform::KeyHandle key) { return key - kFirstHandle; }
  bool IsHandle(platform::KeyHandle key) const {
    return key >= kFirstHandle && IndexOf(key) < keys_.size();
  }
  Value* FindValue(platform::KeyHandle key, const std::string& name) {
    if (!IsHandle(key)) return nullptr;
    for (Value& value : keys_[IndexOf(key)].values) {
      if (value.name == name) return &value;
    }
    return nullptr;
  }

  std::vector<Key> keys_;
};

// The rest of the system, doing nothing and recording nothing.
class QuietPower : public platform::Power {
 public:
  int IsPwrHibernateAllowed() override { return 1; }
  int SetSuspendState(bool /*hibernate*/, bool /*force*/, bool /*disableWakeEvent*/) override {
    return 0;
  }
};

class QuietUser32 : public platform::User32 {
 public:
  int SetWindowPos(quellor::WindowHandle /*window*/, std::intptr_t /*insertAfter*/, int /*x*/,
                   int /*y*/, int /*cx*/, int /*cy*/, unsigned /*flags*/) override {
    return 1;
  }
  int ReleaseCapture() override { return 1; }
  std::intptr_t SendMessageA(quellor::WindowHandle /*window*/, unsigned /*message*/,
                             std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) override {
    return 0;
  }
  quellor::Rect NearestWorkArea(const quellor::Rect& /*window*/) override { return kScreen; }
  bool IsOnAnyMonitor(const quellor::Rect& /*window*/) override { return true; }
  void MessageBox(const std::string& /*text*/, const std::string& /*title*/) override {}
  void RunEventLoop() override {}

 private:
  static constexpr quellor::Rect kScreen{0, 0, 19200, 10800};
};

class QuietShell32 : public platform::Shell32 {
 public:
  std::intptr_t ShellExecuteA(quellor::WindowHandle /*owner*/, const std::string& /*operation*/,
                              const std::string& /*file*/, int /*showCommand*/) override {
    return 42;
  }
};

// Thrown where the program would end: a benchmark that sees it measured a
// program that fired.
struct ProcessEnded {};

class QuietProcess : public platform::Process {
 public:
  std::string CommandLineText() override { return CommandLine; }
  bool RunCommandLine(const std::string& /*commandLine*/, int /*windowStyle*/) override {
    return true;
  }
  [[noreturn]] void EndProcess(platform::ExitCode /*code*/) override { throw ProcessEnded{}; }
  platform::LocalTime Now() override { return {12, 0, 0}; }
  std::string CommandLine;
};

// The one copy in its session.
class AloneInstances : public platform::Instances {
 public:
  bool ClaimCountdown() override { return true; }
  void ShowCountingCopy() override {}
};

struct QuietSystem {
  explicit QuietSystem(std::string commandLine, std::vector<double> samples)
      : pdh(std::move(samples)) {
    process.CommandLine = std::move(commandLine);
  }
  CyclingPdh pdh;
  QuietPower power;
  QuietRegistry registry;
  QuietUser32 user32;
  QuietShell32 shell32;
  QuietProcess process;
  AloneInstances instances;
  platform::Platform os{pdh, power, registry, user32, shell32, process, instances};
};

// A started program that will not fire during the measurement.
struct Started {
  explicit Started(std::string commandLine, std::vector<double> samples = {50.0})
      : system(std::move(commandLine), std::move(samples)) {
    program.Main();
  }
  QuietSystem system;
  Program program{system.os};
};

// The countdown seconds that keep a tick counting down: never 0.
constexpr double kLongCountdown = 32000;

// The usual second: the countdown counts down and the usage changes, so both
// displays change. The usage climbs over the threshold every other tick, so
// the idle count never completes; the countdown is topped up before it ends.
void BM_Tick(benchmark::State& state) {
  Started s("-t32000 -o2 -c2", {1.25, 3.50, 0.75, 12.00});
  const std::uint64_t revisionsBefore = Revisions(s.program.form1);
  const HeapMeter heap;
  try {
    for (auto _ : state) {
      s.program.form1.Timer1_Timer();
      if (s.program.CountdownSeconds < 2) s.program.CountdownSeconds = kLongCountdown;
    }
  } catch (const ProcessEnded&) {
    state.SkipWithError("the tick fired; the measurement is void");
    return;
  }
  heap.Report(state);
  state.counters["redraws"] =
      benchmark::Counter(static_cast<double>(Revisions(s.program.form1) - revisionsBefore),
                         benchmark::Counter::kAvgIterations);
  // A tick that took no sample, or never showed the countdown, measured
  // something other than the tick.
  if (s.program.form1.Label5.Tag.empty()) state.SkipWithError("the tick took no usage sample");
  if (s.program.form1.Label3.Caption().size() != 8) {
    state.SkipWithError("the countdown display is not hh:mm:ss");
  }
}
BENCHMARK(BM_Tick);

// Waiting at the end of the countdown for an idle processor: the countdown
// stays 00:00:00 and the usage stays at 50%, so no display changes.
void BM_TickWaiting(benchmark::State& state) {
  Started s("-t1 -o2 -c2");
  const HeapMeter heap;
  const std::uint64_t revisionsBefore = Revisions(s.program.form1);
  try {
    for (auto _ : state) s.program.form1.Timer1_Timer();
  } catch (const ProcessEnded&) {
    state.SkipWithError("the tick fired; the measurement is void");
    return;
  }
  heap.Report(state);
  state.counters["redraws"] =
      benchmark::Counter(static_cast<double>(Revisions(s.program.form1) - revisionsBefore),
                         benchmark::Counter::kAvgIterations);
  if (s.program.CountdownSeconds != 0) state.SkipWithError("the countdown did not run out");
}
BENCHMARK(BM_TickWaiting);

void BM_DisplayTimer(benchmark::State& state) {
  Started s("-t32000 -o0");
  double seconds = 0;
  const HeapMeter heap;
  for (auto _ : state) {
    s.program.form1.DisplayTimer(seconds);
    seconds = seconds >= 86399 ? 0 : seconds + 1;
  }
  heap.Report(state);
}
BENCHMARK(BM_DisplayTimer);

// The pieces of a tick, to see where its time goes: the two readings of the
// threshold and the previous sample, the sample written with two decimals,
// and the three two-digit fields of the countdown.
void BM_LeadingNumber(benchmark::State& state) {
  const std::string texts[] = {"2", "12.50"};
  std::size_t next = 0;
  const HeapMeter heap;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quellor::LeadingNumber(texts[next]));
    next ^= 1;
  }
  heap.Report(state);
}
BENCHMARK(BM_LeadingNumber);

void BM_FormatFixed(benchmark::State& state) {
  const double values[] = {1.25, 12.0};
  std::size_t next = 0;
  const HeapMeter heap;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quellor::FormatFixed(values[next], 2));
    next ^= 1;
  }
  heap.Report(state);
}
BENCHMARK(BM_FormatFixed);

void BM_FormatTwoDigits(benchmark::State& state) {
  std::int64_t value = 0;
  const HeapMeter heap;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quellor::FormatTwoDigits(value));
    value = value == 59 ? 0 : value + 1;
  }
  heap.Report(state);
}
BENCHMARK(BM_FormatTwoDigits);

// Start-up as the program makes it: the three windows constructed, then the
// main window loaded: built-in defaults, stored settings (none here), the
// command line, the first sample and the first display.
void BM_StartUp(benchmark::State& state) {
  const HeapMeter heap;
  for (auto _ : state) {
    QuietSystem system("", {50.0});
    Program program(system.os);
    program.Main();
    benchmark::DoNotOptimize(program.CountdownSeconds);
  }
  heap.Report(state);
}
BENCHMARK(BM_StartUp);

// The main window unloaded and loaded again, which runs its whole load
// handler: the parser is a private operation, reachable only through it. The
// two runs differ only in the command line, so their difference is what one
// parse of the default switches costs beyond one of the empty text.
void Reload(benchmark::State& state, const char* commandLine) {
  Started s(commandLine);
  const HeapMeter heap;
  for (auto _ : state) {
    s.program.form1.Unload();
    s.program.form1.Show();
  }
  heap.Report(state);
  if (s.program.CountdownSeconds != 10 || !s.program.form1.Option1[2].Value()) {
    state.SkipWithError("the load handler did not apply the default switches");
  }
}

void BM_Reload_EmptyCommandLine(benchmark::State& state) {
  Reload(state, "");
}
BENCHMARK(BM_Reload_EmptyCommandLine);

void BM_Reload_DefaultSwitchesOnCommandLine(benchmark::State& state) {
  Reload(state, "-s -f -t10 -c2-o2");
}
BENCHMARK(BM_Reload_DefaultSwitchesOnCommandLine);

void BM_SaveSettings(benchmark::State& state) {
  Started s("-t1234 -c37 -o3 -r");
  const HeapMeter heap;
  for (auto _ : state) quellor::SaveSettings(s.program);
  heap.Report(state);
}
BENCHMARK(BM_SaveSettings);

void BM_LoadSettings(benchmark::State& state) {
  Started s("-t1234 -c37 -o3 -r");
  quellor::SaveSettings(s.program);
  // What was stored must come back, or the loop below measures a load that
  // finds nothing.
  s.program.TimeOutSeconds = 5;
  s.program.form1.Text2.SetText("9");
  quellor::LoadSettings(s.program);
  if (s.program.TimeOutSeconds != 1234 || s.program.form1.Text2.Text() != "37") {
    state.SkipWithError("LoadSettings did not read back what SaveSettings stored");
    return;
  }
  const HeapMeter heap;
  for (auto _ : state) quellor::LoadSettings(s.program);
  heap.Report(state);
}
BENCHMARK(BM_LoadSettings);

}  // namespace

BENCHMARK_MAIN();
