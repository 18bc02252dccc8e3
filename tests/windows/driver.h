// The toolkit of the Windows test driver: starting the program, finding its
// windows and controls by their native identifiers, reading and clicking
// them, and looking at what the program left behind (the shutdown recorder's
// file and the registry).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quellor::wintest {

// A failed expectation; the scenario stops and the message is printed.
class TestFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& message);
void Check(bool condition, const std::string& message);
void CheckEqual(const std::string& what, const std::string& actual, const std::string& expected);
// A text with its line breaks and other control characters made visible.
std::string Shown(const std::string& text);
void Note(const std::string& message);

class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  void Restart() { start_ = std::chrono::steady_clock::now(); }
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

// Polls `condition` every `pollMs` until it holds or `timeoutSeconds` passed.
bool WaitUntil(const std::function<bool()>& condition, double timeoutSeconds, DWORD pollMs = 50);
void Pause(double seconds);

// A Unix path under Wine ("/a/b") becomes the drive Z: path ("Z:\a\b");
// a Windows path is returned unchanged.
std::string WindowsPath(const std::string& path);

// The shutdown recorder.
std::string RecorderFile();
void ClearRecorder();
std::string ReadRecorder();
// Fails unless the system's shutdown command is the recorder.
void RequireRecorder();

// Ends every process of this image name (leftovers of an earlier run).
void KillProcesses(const char* imageName);

// The program's settings under HKEY_CURRENT_USER.
inline constexpr const char* kProductKey = "Software\\Quellor";
inline constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";
void DeleteSettings();
bool SettingsKeyExists();
struct RegistryEntry {
  DWORD type = 0;
  std::vector<BYTE> data;
};
std::optional<RegistryEntry> ReadSetting(const std::string& name);
void PlantDword(const std::string& name, DWORD value);
void PlantString(const std::string& name, const std::string& value);
// Checks that a value is a REG_DWORD holding `expected`.
void CheckDwordSetting(const std::string& name, long expected);
long DwordSetting(const std::string& name);

// Windows and controls of another process.
HWND FindProcessWindow(DWORD processId, const char* className);
HWND FindAnyWindow(const char* className);
// The descendant of `top` with this control identifier, or a failure.
HWND Control(HWND top, int id, const std::string& name);
std::string Text(HWND window);
std::vector<std::string> ComboItems(HWND combo);
int CheckState(HWND button);
bool Shown(HWND window);
bool Enabled(HWND window);
// A left click in the middle of the control, as posted mouse messages.
void Click(HWND control);
void SetText(HWND control, const std::string& text);
// Sends a message that carries no pointers and returns its result.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
RECT ScreenRect(HWND window);
// Pixels to twips on the primary screen.
long Twips(long pixels);

// One run of the program under test.
class Program {
 public:
  explicit Program(std::string exePath) : exePath_(std::move(exePath)) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();

  void Start(const std::string& arguments);
  // Waits for a shown window of the class that belongs to this run.
  HWND WaitForWindow(const char* className, double timeoutSeconds = 10);
  bool WaitForExit(double timeoutSeconds);
  bool Running() const;
  void Terminate();
  DWORD ProcessId() const { return info_.dwProcessId; }
  // Seconds since Start.
  double Elapsed() const { return clock_.Seconds(); }
  // Waits for the end of the process while watching the recorder's file, and
  // returns the seconds from Start to the first recorded line (or to the
  // exit when nothing was recorded). Fails when the process outlives the
  // timeout.
  double WaitForFiring(double timeoutSeconds);

 private:
  std::string exePath_;
  PROCESS_INFORMATION info_{};
  Stopwatch clock_;
};

// Before every scenario: no program left running, the recorder in place and
// empty, no stored settings.
void PrepareCleanState();

}  // namespace quellor::wintest
