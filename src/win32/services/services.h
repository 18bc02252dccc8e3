// The system services behind the platform interfaces, on Win32.
//
// Include this before anything else that includes <windows.h> or the
// platform interfaces: it keeps the system's character-set macros (MessageBox)
// from renaming the interfaces' methods.
#pragma once

#include <windows.h>
// The interface's own names, not the system's character-set macros.
#undef MessageBox

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "win32/event_loop.h"
#include "win32/services/cpu_sampler.h"

namespace quellor::win32 {

// The performance counters of PDH, from the system folder. A processor
// counter that the system does not have (Wine has none per processor), or
// all of them when the library cannot be loaded, is stood in for by a counter
// that reads the first processor's busy share from the kernel's time
// accounts.
class Win32Pdh : public platform::Pdh {
 public:
  platform::Status PdhOpenQuery(std::uintptr_t userData, platform::QueryHandle& query) override;
  platform::Status PdhVbAddCounter(platform::QueryHandle query, const std::string& path,
                                   platform::CounterHandle& counter) override;
  platform::Status PdhCollectQueryData(platform::QueryHandle query) override;
  double PdhVbGetDoubleCounterValue(platform::CounterHandle counter,
                                    platform::Status& counterStatus) override;
  platform::Status PdhCloseQuery(platform::QueryHandle query) override;

 private:
  struct StandIn {
    platform::QueryHandle query = 0;
    ProcessorCounter counter{ReadProcessorTimes};
  };
  // By the handle given out, which is the entry's address.
  std::map<platform::CounterHandle, std::unique_ptr<StandIn>> standIns_;
  // The last query handed out without the library.
  platform::QueryHandle ownQueries_ = 0;
};

class Win32Power : public platform::Power {
 public:
  int IsPwrHibernateAllowed() override;
  int SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override;
};

// A key handle as the system takes it: the predefined roots, which come as
// their 32-bit values, become the system's (sign-extended) handles.
HKEY NativeKey(platform::KeyHandle key);

class Win32Registry : public platform::Registry {
 public:
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
};

class Win32User32 : public platform::User32 {
 public:
  explicit Win32User32(EventLoop& loop) : loop_(loop) {}
  int SetWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                   unsigned flags) override;
  int ReleaseCapture() override;
  std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  Rect NearestWorkArea(const Rect& window) override;
  bool IsOnAnyMonitor(const Rect& window) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  [[noreturn]] void RunEventLoop() override;

 private:
  EventLoop& loop_;
};

class Win32Shell32 : public platform::Shell32 {
 public:
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& operation,
                              const std::string& file, int showCommand) override;
};

// A text in the system's ANSI code page, with each character that has no
// exact form there written as kNoExactForm: never the best fit, which would
// make a fullwidth or other look-alike dash or letter a switch.
inline constexpr char kNoExactForm = '_';
std::string NarrowExactly(const std::wstring& text);

class Win32Process : public platform::Process {
 public:
  std::string CommandLineText() override;
  bool RunCommandLine(const std::string& commandLine, int windowStyle) override;
  [[noreturn]] void EndProcess(platform::ExitCode code) override;
  platform::LocalTime Now() override;
};

// The session's countdown is a mutex in the session's own namespace, held by
// the counting copy's thread: the system releases it when that copy ends, as
// it ends. The other copy's window is found by the program's window classes.
class Win32Instances : public platform::Instances {
 public:
  bool ClaimCountdown() override;
  void ShowCountingCopy() override;

 private:
  HANDLE claim_ = nullptr;  // held until the process ends
};

}  // namespace quellor::win32
