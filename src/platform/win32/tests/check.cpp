#include "check.h"

#include <cstdio>
#include <vector>

namespace quellor::win32::test {

namespace {
struct Entry {
  const char* name;
  TestFunction function;
};
std::vector<Entry>& Tests() {
  static std::vector<Entry> tests;
  return tests;
}
int failures = 0;
}  // namespace

Registration::Registration(const char* name, TestFunction function) {
  Tests().push_back({name, function});
}

void Fail(const char* file, int line, const std::string& what) {
  ++failures;
  std::printf("  FAILED %s:%d: %s\n", file, line, what.c_str());
}

int RunAll() {
  int failedTests = 0;
  for (const Entry& entry : Tests()) {
    const int before = failures;
    entry.function();
    const bool passed = failures == before;
    if (!passed) ++failedTests;
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", entry.name);
  }
  std::printf("%zu tests, %d failed\n", Tests().size(), failedTests);
  std::fflush(stdout);
  return failedTests == 0 ? 0 : 1;
}

}  // namespace quellor::win32::test

int main() {
  return quellor::win32::test::RunAll();
}
