// The C++ library's throw helpers and terminate handler, for quellor.exe
// alone (its tests link the library's own). The library's versions throw
// exception classes that carry their message in a copy-on-write string, with
// all of that string's code, and its terminate handler writes the exception's
// demangled name to a console that a window program does not have. The
// program only ever catches with catch (...), so any failure may be thrown as
// bad_alloc, whose class operator new brings along anyway; one that nothing
// catches ends the program at once, as before. The threads library goes
// too: the program has one thread.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl58-cpp,readability-identifier-naming): the
// library's names
namespace std {
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_alloc();
}
void __throw_bad_function_call() {
  throw bad_alloc();
}
void __throw_length_error(const char* /*what*/) {
  throw bad_alloc();
}
void __throw_logic_error(const char* /*what*/) {
  throw bad_alloc();
}
void __throw_out_of_range_fmt(const char* /*format*/, ...) {
  throw bad_alloc();
}
}  // namespace std

// The default terminate handler.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

// The guards of static locals: the program has one thread, so a flag will
// do, without the library's locks and the threads library behind them.
extern "C" int __cxa_guard_acquire(unsigned char* guard) {
  return *guard == 0 ? 1 : 0;
}
extern "C" void __cxa_guard_release(unsigned char* guard) {
  *guard = 1;
}
extern "C" void __cxa_guard_abort(unsigned char* /*guard*/) {}

// Where the exception being handled is kept: the library keeps one per
// thread, in thread-local storage that brings a threads library along.
namespace {
struct ExceptionGlobals {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};
ExceptionGlobals globals;
}  // namespace
extern "C" ExceptionGlobals* __cxa_get_globals() noexcept {
  return &globals;
}
extern "C" ExceptionGlobals* __cxa_get_globals_fast() noexcept {
  return &globals;
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl58-cpp,readability-identifier-naming)
