// The stack protector's guard and its failure handlers, in place of those of
// GCC's runtime (libssp). The guard is seeded from kernel32 alone. Asking the
// CryptoAPI loads rsaenh, bcrypt and crypt32, and advapi32's RtlGenRandom
// (SystemFunction036) is forwarded to cryptbase: none of them is a known
// system library, so the loader would look for them beside the program first,
// before WinMain can restrict where libraries come from. The seed is what the
// usual C runtimes take for their security cookie: what differs from run to
// run, from thread to thread and from one address-space layout to the next.
#include <windows.h>

#include <cstdint>

// NOLINTBEGIN: these names are the ones the compiler's stack protector uses.
extern "C" {

void* __stack_chk_guard = nullptr;

// A smashed stack (or a checked copy that would overflow) ends the program at
// once, as the system ends a program whose stack cookie is broken.
__attribute__((noreturn, no_stack_protector)) void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_STACK_BUFFER_OVERRUN));
  __builtin_trap();
}

__attribute__((noreturn, no_stack_protector)) void __stack_chk_fail_local() {
  __stack_chk_fail();
}

__attribute__((noreturn, no_stack_protector)) void __chk_fail() {
  __stack_chk_fail();
}

}  // extern "C"

namespace {

// Spreads every bit of the gathered values over the whole guard, so that the
// few that change from run to run do not sit in a few bits of it.
__attribute__((no_stack_protector)) std::uint64_t Mix(std::uint64_t value) {
  value = (value ^ (value >> 30U)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27U)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31U);
}

// Before every other constructor, so that nothing of the program runs with the
// guard still 0. Functions already running when it changes would fail their
// check on return; only the C runtime's start-up is, and it has no guard.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  const auto counts = static_cast<std::uint64_t>(counter.QuadPart);
  std::uint64_t seed = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32U) | now.dwLowDateTime;
  seed ^= (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32U) | GetCurrentThreadId();
  seed ^= GetTickCount64();
  seed ^= (counts << 32U) ^ counts;
  // Where the stack, the program and kernel32 lie moves with each start (the
  // stack, the program) or each boot (kernel32).
  seed ^= reinterpret_cast<std::uintptr_t>(&counter);
  seed = Mix(seed ^ reinterpret_cast<std::uintptr_t>(&SeedStackGuard));
  seed = Mix(seed ^ reinterpret_cast<std::uintptr_t>(&GetTickCount64));
  // A guard of 0 would equal what zeroed memory holds.
  __stack_chk_guard = reinterpret_cast<void*>(seed != 0 ? seed : 0x2B992DDFA232ULL);
}

}  // namespace
// NOLINTEND
