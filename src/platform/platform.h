// The operating-system services the program uses, one small interface each.
//
// The Windows build implements them in src/win32; the unit tests use
// fakes. Names follow the system calls they stand for. Handles are opaque
// integers; status results follow the system's codes (0 is success).
#pragma once

#include <cstdint>
#include <string>

#include "common/controls.h"

namespace quellor::platform {

using QueryHandle = std::uintptr_t;
using CounterHandle = std::uintptr_t;
using KeyHandle = std::uintptr_t;
using Status = std::int32_t;

// The performance-counter service.
class Pdh {
 public:
  virtual ~Pdh() = default;
  // Opens a query on live data; stores its handle in `query`.
  virtual Status PdhOpenQuery(std::uintptr_t userData, QueryHandle& query) = 0;
  // Adds a counter by its English path; stores its handle, or leaves 0.
  virtual Status PdhVbAddCounter(QueryHandle query, const std::string& path,
                                 CounterHandle& counter) = 0;
  virtual Status PdhCollectQueryData(QueryHandle query) = 0;
  // The counter's value in percent; `counterStatus` tells whether it is usable
  // (0 valid data, 1 new data, anything else not).
  virtual double PdhVbGetDoubleCounterValue(CounterHandle counter, Status& counterStatus) = 0;
  virtual Status PdhCloseQuery(QueryHandle query) = 0;
};

inline constexpr Status kPdhCstatusValidData = 0;
inline constexpr Status kPdhCstatusNewData = 1;

// Power management.
class Power {
 public:
  virtual ~Power() = default;
  // Nonzero when the system allows hibernation.
  virtual int IsPwrHibernateAllowed() = 0;
  // Returns when the system has resumed, or at once when refused.
  virtual int SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) = 0;
};

// The registry, ANSI forms. Predefined roots are passed as their handle values.
inline constexpr KeyHandle kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr Status kErrorMoreData = 234;

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; `key` stays 0 when it cannot be opened.
  virtual Status RegOpenKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) = 0;
  // Opens the key, creating it and any missing parents first.
  virtual Status RegCreateKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) = 0;
  // With `data` null, reports the type and size; otherwise copies at most
  // `byteCount` bytes and sets `byteCount` to the size of the value.
  virtual Status RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                  std::uint8_t* data, std::uint32_t& byteCount) = 0;
  virtual Status RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t byteCount) = 0;
  virtual Status RegCloseKey(KeyHandle key) = 0;
};

// Window services of user32 and shell32.
inline constexpr std::intptr_t kHwndTopMost = -1;
inline constexpr std::intptr_t kHwndNoTopMost = -2;
inline constexpr unsigned kSwpNoSize = 1;
inline constexpr unsigned kSwpNoMove = 2;
inline constexpr unsigned kWmNcLButtonDown = 161;
inline constexpr std::intptr_t kHtCaption = 2;
inline constexpr int kSwShowNormal = 1;

class User32 {
 public:
  virtual ~User32() = default;
  virtual int SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx,
                           int cy, unsigned flags) = 0;
  virtual int ReleaseCapture() = 0;
  // For a window drag this returns when the drag ends.
  virtual std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  // The work area (twips, screen coordinates) of the monitor nearest to a
  // window placed at `window`, and whether any part of it lies on a monitor.
  virtual Rect NearestWorkArea(const Rect& window) = 0;
  virtual bool IsOnAnyMonitor(const Rect& window) = 0;
  // A message box with an OK button; returns when it is closed.
  virtual void MessageBox(const std::string& text, const std::string& title) = 0;
  // Keeps handling window events and never returns on its own; the program
  // ends from inside one of them.
  virtual void RunEventLoop() = 0;
};

class Shell32 {
 public:
  virtual ~Shell32() = default;
  virtual std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& operation,
                                      const std::string& file, int showCommand) = 0;
};

struct LocalTime {
  int hour = 0, minute = 0, second = 0;
};

inline constexpr int kWindowStyleMinimizedFocus = 2;

// How the program ended, for whoever started it: a scheduled task shows this
// as its last run result, so only a started operation or Abort is 0.
enum ExitCode : int {
  kExitDone = 0,               // the operation started, Abort ran, or the user left
  kExitCommandNotStarted = 1,  // the shutdown command (or hibernation) could not be started
  kExitNoOperation = 2,        // the trigger held with no operation selected
  kExitQueryFailed = 3,        // the processor-usage query could not be opened
  kExitAnotherCounts = 4,      // another copy counts in this session: it was shown instead
};

// The process and what it runs.
class Process {
 public:
  virtual ~Process() = default;
  // The arguments after the program's own name, as one text.
  virtual std::string CommandLineText() = 0;
  // Starts a command line ("Shutdown -s -f -t 0") with the given window style
  // and does not wait for it; false when it could not be started. The program
  // names only the system's own shutdown command, which the platform runs
  // from the system folder.
  virtual bool RunCommandLine(const std::string& commandLine, int windowStyle) = 0;
  // Ends the process at once with that exit code; no further handler runs.
  [[noreturn]] virtual void EndProcess(ExitCode code) = 0;
  virtual LocalTime Now() = 0;
};

// The copies of the program in the user's session.
class Instances {
 public:
  virtual ~Instances() = default;
  // Claims the session's one countdown for this process, until it ends however
  // it ends (a copy that crashed or was killed holds it no longer); false
  // while another running copy holds it.
  virtual bool ClaimCountdown() = 0;
  // Brings the window of the copy that holds it to the front, restored if
  // minimised.
  virtual void ShowCountingCopy() = 0;
};

// Everything together, as the program is given it.
struct Platform {
  Pdh& pdh;
  Power& power;
  Registry& registry;
  User32& user32;
  Shell32& shell32;
  Process& process;
  Instances& instances;
};

}  // namespace quellor::platform
