// A small test runner for the Windows-side tests: tests register themselves,
// CHECK records a failure with its place and goes on.
#pragma once

#include <string>

namespace quellor::win32::test {

using TestFunction = void (*)();

struct Registration {
  Registration(const char* name, TestFunction function);
};

void Fail(const char* file, int line, const std::string& what);
// Runs every registered test; the process exit code: 0 when all passed.
int RunAll();

}  // namespace quellor::win32::test

#define QUELLOR_TEST(name)                                                            \
  static void name();                                                                 \
  static const ::quellor::win32::test::Registration name##Registration(#name, &name); \
  static void name()

#define CHECK(condition)                                                            \
  do {                                                                              \
    if (!(condition)) ::quellor::win32::test::Fail(__FILE__, __LINE__, #condition); \
  } while (false)

#define CHECK_EQ(actual, expected)                                                             \
  do {                                                                                         \
    const auto& checkActual = (actual);                                                        \
    const auto& checkExpected = (expected);                                                    \
    if (!(checkActual == checkExpected)) {                                                     \
      ::quellor::win32::test::Fail(__FILE__, __LINE__,                                         \
                                   std::string(#actual " == " #expected ": got ") +            \
                                       ::quellor::win32::test::Show(checkActual) + ", want " + \
                                       ::quellor::win32::test::Show(checkExpected));           \
    }                                                                                          \
  } while (false)

namespace quellor::win32::test {
inline std::string Show(const std::string& text) {
  return "\"" + text + "\"";
}
inline std::string Show(const char* text) {
  return Show(std::string(text));
}
inline std::string Show(bool value) {
  return value ? "true" : "false";
}
template <typename T>
std::string Show(const T& value) {
  return std::to_string(value);
}
}  // namespace quellor::win32::test
