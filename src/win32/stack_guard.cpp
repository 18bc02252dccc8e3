// The stack protector's guard and its failure handlers, in place of those of
// GCC's runtime (libssp). Its start-up asks the CryptoAPI for the guard,
// which loads rsaenh, bcrypt and crypt32 before WinMain can restrict where
// libraries come from; bcrypt and crypt32 are no known system libraries, so
// copies planted beside the program would run first. RtlGenRandom lives in
// advapi32, which the program imports anyway, and loads nothing more.
#include <windows.h>
// After windows.h: it declares RtlGenRandom (SystemFunction036).
#include <ntsecapi.h>

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

// Before every other constructor, so that nothing of the program runs with the
// guard still 0. Functions already running when it changes would fail their
// check on return; only the C runtime's start-up is, and it has no guard.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
  if (RtlGenRandom(&__stack_chk_guard, sizeof __stack_chk_guard) != FALSE &&
      __stack_chk_guard != nullptr) {
    return;
  }
  // No random bytes: what differs from run to run, at least.
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  const auto mixed = static_cast<std::uintptr_t>(counter.QuadPart) ^
                     (static_cast<std::uintptr_t>(GetCurrentProcessId()) << 16) ^
                     static_cast<std::uintptr_t>(GetTickCount64()) ^
                     reinterpret_cast<std::uintptr_t>(&counter);
  __stack_chk_guard = reinterpret_cast<void*>(mixed | 1);
}

}  // namespace
// NOLINTEND
