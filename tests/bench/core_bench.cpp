// What the core costs per call: the tick that runs every second for hours,
// and the work of start-up and of firing.
#include <benchmark/benchmark.h>

#include <string>

#include "controller/program.h"
#include "fake_platform.h"
#include "settings/settings.h"

namespace {

using quellor::Program;
using quellor::fake::FakePlatform;

// A started program that will not fire: a long countdown, a busy processor.
struct Started {
  FakePlatform fake;
  quellor::platform::Platform os = fake.Get();
  Program program{os};
  Started() {
    fake.process.CommandLine = "-t32000 -o2 -c2";
    program.Main();
  }
};

void BM_Tick(benchmark::State& state) {
  Started s;
  // A busy processor, so the default method waits at the countdown's end.
  s.fake.pdh.Steady = quellor::fake::Sample{50.0, 0};
  for (auto _ : state) s.program.form1.Timer1_Timer();
}
BENCHMARK(BM_Tick);

void BM_DisplayTimer(benchmark::State& state) {
  Started s;
  double seconds = 0;
  for (auto _ : state) {
    s.program.form1.DisplayTimer(seconds);
    seconds = seconds >= 86399 ? 0 : seconds + 1;
  }
}
BENCHMARK(BM_DisplayTimer);

void BM_StartUpWithDefaultSwitches(benchmark::State& state) {
  // Start-up applies the default switches, the stored settings and the
  // command line: the parser's cost dominates it.
  for (auto _ : state) {
    FakePlatform fake;
    auto os = fake.Get();
    Program program(os);
    program.Main();
    benchmark::DoNotOptimize(program.CountdownSeconds);
  }
}
BENCHMARK(BM_StartUpWithDefaultSwitches);

void BM_SaveSettings(benchmark::State& state) {
  Started s;
  for (auto _ : state) {
    quellor::SaveSettings(s.program);
    state.PauseTiming();
    s.fake.registry.Calls.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SaveSettings);

void BM_LoadSettings(benchmark::State& state) {
  Started s;
  quellor::SaveSettings(s.program);
  for (auto _ : state) {
    quellor::LoadSettings(s.program);
    state.PauseTiming();
    s.fake.registry.Calls.clear();
    s.fake.user32.Calls.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadSettings);

}  // namespace

BENCHMARK_MAIN();
