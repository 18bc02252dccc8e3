// The Windows test driver: it starts the program, finds its windows and
// controls by their native identifiers, reads and clicks them, and looks at
// what the program left behind (the shutdown recorder's file and the
// registry).
//
//   quellor_driver run SCENARIO PROGRAM   runs one scenario against PROGRAM
//   quellor_driver list                   names the scenarios
//   quellor_driver prepare                clean state (as before a scenario)
//   quellor_driver wait-window CLASS      waits until a window of CLASS shows
//   quellor_driver click CLASS ID         clicks a control of that window
//   quellor_driver rect CLASS ID          prints a control's WxH+X+Y on screen
//   quellor_driver place X Y              stores a main-window position (twips)
//   quellor_driver recorded               prints the recorder's file
//
// Exit code 0 when everything held; otherwise 1 with the reason on stdout.
#include <windows.h>

#include <powrprof.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/control_ids.h"
#include "expected_usage.h"
#include "recorder_identity.h"

namespace quellor::wintest {
namespace {

// A failed expectation; the scenario stops and the message is printed.
class TestFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void Check(bool condition, const std::string& message) {
  if (!condition) throw TestFailure(message);
}

// A text with its line breaks made visible.
std::string Shown(std::string text) {
  for (std::size_t at = text.find_first_of("\r\n"); at != std::string::npos;
       at = text.find_first_of("\r\n", at + 2)) {
    text.replace(at, 1, text[at] == '\r' ? "\\r" : "\\n");
  }
  return "\"" + text + "\"";
}

void CheckEqual(const std::string& what, const std::string& actual, const std::string& expected) {
  Check(actual == expected, what + ": expected " + Shown(expected) + ", got " + Shown(actual));
}

void Note(const std::string& message) {
  std::printf("  %s\n", message.c_str());
  std::fflush(stdout);
}

bool WaitUntil(const std::function<bool()>& condition, double timeoutSeconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(50);
  }
}

void Pause(double seconds) {
  Sleep(static_cast<DWORD>(seconds * 1000));
}

std::string ReadWhole(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

// The system's shutdown command, or with `suffix`, where it is moved away.
std::string ShutdownCommand(const char* suffix = "") {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  return std::string(system) + "\\shutdown.exe" + suffix;
}

// Fails unless the system's shutdown command is the recorder: it carries the
// recorder's identity text and answers as the recorder.
void RequireRecorder() {
  const std::string application = ShutdownCommand();
  const std::string refusal = application +
                              " is not the shutdown recorder; refusing to run the program "
                              "(run the tests through scripts/wine-session.sh)";
  Check(ReadWhole(application).find(kIdentity) != std::string::npos, refusal);
  std::string commandLine = "shutdown.exe " + std::string(kIdentifyArgument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;  // its answer on stdout is not wanted here
  PROCESS_INFORMATION info{};
  Check(CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info) != FALSE,
        refusal);
  const DWORD waited = WaitForSingleObject(info.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  Check(waited == WAIT_OBJECT_0 && code == kIdentityExitCode, refusal);
}

std::string ReadRecorder() {
  return ReadWhole(RecorderFile());
}

void CheckRecorded(const std::vector<std::string>& expected) {
  std::string joined;
  for (const std::string& line : expected) joined += line + "\n";
  CheckEqual("command lines run", ReadRecorder(), joined);
}

void KillProcesses(const char* imageName) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, imageName) != 0) continue;
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (process == nullptr) continue;
    Note(std::string("ending a leftover ") + imageName);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

// The system's shutdown command moved away for as long as this lives.
class ShutdownCommandAway {
 public:
  ShutdownCommandAway() {
    Check(MoveFileExA(ShutdownCommand().c_str(), ShutdownCommand(".quellor-away").c_str(),
                      MOVEFILE_REPLACE_EXISTING) != FALSE &&
              GetFileAttributesA(ShutdownCommand().c_str()) == INVALID_FILE_ATTRIBUTES,
          "cannot move " + ShutdownCommand() + " away");
  }
  ~ShutdownCommandAway() {
    KillProcesses("quellor.exe");
    MoveFileExA(ShutdownCommand(".quellor-away").c_str(), ShutdownCommand().c_str(),
                MOVEFILE_REPLACE_EXISTING);
  }
  ShutdownCommandAway(const ShutdownCommandAway&) = delete;
  ShutdownCommandAway& operator=(const ShutdownCommandAway&) = delete;
};

// ---------------------------------------------------------------------------
// The registry

constexpr const char* kProductKey = "Software\\Quellor";
constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

void Plant(const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  Check(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS,
        "cannot create HKCU\\" + std::string(kSettingsKey));
  const LSTATUS status =
      RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  Check(status == ERROR_SUCCESS, "cannot plant the value " + name);
}

bool SettingsKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void PlantDword(const std::string& name, DWORD value) {
  Plant(name, REG_DWORD, &value, sizeof value);
}

void PlantString(const std::string& name, const std::string& value) {
  Plant(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// The value of a setting that must be a REG_DWORD.
long DwordSetting(const std::string& name) {
  DWORD type = 0, size = 4;
  std::int32_t value = 0;
  const LSTATUS status =
      RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_ANY, &type, &value, &size);
  Check(status == ERROR_SUCCESS && type == REG_DWORD && size == 4,
        "the setting \"" + name + "\" is no stored REG_DWORD (status " + std::to_string(status) +
            ", type " + std::to_string(type) + ")");
  return value;
}

// ---------------------------------------------------------------------------
// Windows and controls

struct Search {
  DWORD processId = 0;  // 0: any process
  const char* className = nullptr;
  int id = 0;
  HWND found = nullptr;
};

// A top-level window of that class (and process), or a control with that id.
BOOL CALLBACK Match(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  const bool match = search->className != nullptr
                         ? lstrcmpA(name, search->className) == 0 &&
                               (search->processId == 0 || owner == search->processId)
                         : GetDlgCtrlID(window) == search->id;
  if (match) search->found = window;
  return match ? FALSE : TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  Check(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0,
        "the program does not answer window message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

HWND FindProcessWindow(DWORD processId, const char* className) {
  Search search{processId, className};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Control(HWND top, int id) {
  Search search{0, nullptr, id};
  // A window just shown may still be creating its controls.
  WaitUntil(
      [&] {
        EnumChildWindows(top, Match, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      2);
  Check(search.found != nullptr, "no control with the id " + std::to_string(id));
  return search.found;
}

std::string Text(HWND window) {
  const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH));
  std::string text(length + 1, '\0');
  const auto got = static_cast<std::size_t>(
      Send(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < length ? got : length);
  return text;
}

// The entries of a list, asked in UTF-16, which the system passes between
// processes whatever the character set of the list.
std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items(static_cast<std::size_t>(Send(combo, CB_GETCOUNT)));
  for (std::size_t i = 0; i < items.size(); ++i) {
    wchar_t wide[256] = {};
    DWORD_PTR got = 0;
    Check(Send(combo, CB_GETLBTEXTLEN, i) < 255 &&
              SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide),
                                  SMTO_ABORTIFHUNG, 5000, &got) != 0 &&
              got < 256,
          "cannot read entry " + std::to_string(i) + " of the list");
    for (DWORD_PTR k = 0; k < got; ++k) items[i] += wide[k] < 0x80 ? char(wide[k]) : '?';
  }
  return items;
}

int CheckState(HWND button) {
  return static_cast<int>(Send(button, BM_GETCHECK));
}

bool Shown(HWND window) {
  return IsWindowVisible(window) != FALSE;
}

bool Enabled(HWND window) {
  return IsWindowEnabled(window) != FALSE;
}

bool OnTop(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Click(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
  Check(PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at) != FALSE &&
            PostMessageA(control, WM_LBUTTONUP, 0, at) != FALSE,
        "cannot click");
}

void SetText(HWND control, const std::string& text) {
  Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

long Twips(long pixels) {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(pixels, 1440, dpi > 0 ? dpi : 96);
}

// Gives the settings key a security descriptor: none at all (everyone may
// do everything) or an empty access list (no one may open it; its owner
// may still change the descriptor back).
bool SetSettingsKeyLocked(bool locked) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
    return false;
  }
  ACL empty{};
  InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  SECURITY_DESCRIPTOR descriptor{};
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, locked ? &empty : nullptr, FALSE);
  const LSTATUS status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void PrepareCleanState() {
  KillProcesses("quellor.exe");
  // A run that stopped while the shutdown command was moved away left it
  // there; otherwise there is nothing to move back.
  MoveFileExA(ShutdownCommand(".quellor-away").c_str(), ShutdownCommand().c_str(),
              MOVEFILE_REPLACE_EXISTING);
  RequireRecorder();
  const std::string file = RecorderFile();
  HANDLE emptied = INVALID_HANDLE_VALUE;
  WaitUntil(
      [&] {
        emptied = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return emptied != INVALID_HANDLE_VALUE;
      },
      1);
  Check(emptied != INVALID_HANDLE_VALUE, "cannot empty the recorder's file " + file);
  CloseHandle(emptied);
  SetSettingsKeyLocked(false);  // a run that stopped early may have left it locked
  const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
  Check((status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) && !SettingsKeyExists(),
        "cannot delete HKCU\\" + std::string(kProductKey));
}

// ---------------------------------------------------------------------------
// The scenarios' shared steps

namespace f1 = ids::form1;
namespace f2 = ids::form2;
namespace f3 = ids::form3;

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

void ExpectText(HWND top, int id, const std::string& expected) {
  CheckEqual("the text of control " + std::to_string(id), Text(Control(top, id)), expected);
}

void ExpectDwords(const std::vector<std::pair<const char*, long>>& expected) {
  for (const auto& [name, value] : expected) {
    const long actual = DwordSetting(name);
    Check(actual == value, std::string("the setting \"") + name + "\" holds " +
                               std::to_string(actual) + ", expected " + std::to_string(value));
  }
}

// The countdown display as a number of seconds.
long CountdownShown(HWND form1) {
  const std::string text = Text(Control(form1, f1::kLabel3));
  int h = 0, m = 0, s = 0;
  Check(std::sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s) == 3,
        "the countdown display reads " + Shown(text));
  return h * 3600L + m * 60L + s;
}

// Over `seconds` the countdown goes down by about as many ticks, or, when
// it is paused, stands still.
void ExpectCountdownOver(HWND form1, double seconds, bool ticking) {
  const long before = CountdownShown(form1);
  Pause(seconds);
  const long gone = before - CountdownShown(form1);
  Check(ticking ? gone >= seconds - 1.5 && gone <= seconds + 1 : gone == 0,
        "the countdown went down by " + std::to_string(gone) + " in " + Seconds(seconds) +
            (ticking ? "" : " while paused"));
}

// A path as Windows takes it: a Unix path under Wine is on drive Z:.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// One run of the program under test, from its start until its window of
// `windowClass` is shown; ended when it goes away.
class Run {
 public:
  Run(const std::string& exe, const std::string& arguments,
      const char* windowClass = ids::kForm1Class, bool quoted = true) {
    const std::string path = WindowsPath(exe);
    const std::string name = quoted ? "\"" + path + "\"" : path;
    std::string commandLine = name + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Note("starting quellor.exe " + arguments);
    start_ = std::chrono::steady_clock::now();
    Check(CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info_) != FALSE,
          "cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
    window = WaitForWindow(windowClass, 10);
  }
  ~Run() {
    if (Running()) TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  HWND Main(int id) const { return Control(window, id); }
  double Elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }
  bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit(double seconds) {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds * 1000)) == 0;
  }
  HWND Shown(const char* windowClass) const {
    const HWND found = FindProcessWindow(info_.dwProcessId, windowClass);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
  }
  HWND WaitForWindow(const char* windowClass, double seconds) {
    Check(WaitUntil([&] { return Shown(windowClass) != nullptr || !Running(); }, seconds) &&
              Running(),
          std::string("no window ") + windowClass + " shown within " + Seconds(seconds));
    return Shown(windowClass);
  }
  void WaitForHidden(const char* windowClass) {
    Check(WaitUntil([&] { return Shown(windowClass) == nullptr; }, 3),
          std::string("the window ") + windowClass + " is still shown");
  }
  // Waits for the end while watching the recorder's file, and checks when
  // the command ran (or the program ended, when nothing was recorded), and
  // what.
  void ExpectFiring(double earliest, double latest, const std::string& commandLine) {
    double at = -1;
    Check(WaitUntil(
              [&] {
                if (at < 0 && !ReadRecorder().empty()) at = Elapsed();
                return !Running();
              },
              latest + 6),
          "the program was still running " + Seconds(latest + 6) + " after its start");
    const double endedAt = Elapsed();
    Note("the program ended " + Seconds(endedAt) + " after its start");
    // The recorder is a process of its own; give it time to write its line.
    if (at < 0 && WaitUntil([] { return !ReadRecorder().empty(); }, 3)) at = Elapsed();
    if (at < 0) at = endedAt;
    Pause(0.5);  // anything started late would show up now
    Check(at >= earliest && at <= latest, "the command ran " + Seconds(at) +
                                              " after the start, expected between " +
                                              Seconds(earliest) + " and " + Seconds(latest));
    CheckRecorded({commandLine});
  }
  // Clicks Abort and expects "Shutdown -a" and the end of the program.
  void Abort() {
    Click(Main(f1::kLabel10));
    Check(WaitForExit(5), "the program did not end within 5 s of Abort");
    WaitUntil([] { return !ReadRecorder().empty(); }, 3);
    Pause(0.5);
    CheckRecorded({"Shutdown -a"});
  }
  // Set Timer: the dialog docks under the main window (twips to pixels may
  // round either way).
  HWND OpenTimerDialog() {
    Click(Main(f1::kLabel9));
    const HWND form3 = WaitForWindow(ids::kForm3Class, 5);
    const RECT main = ScreenRect(window), dialog = ScreenRect(form3);
    Check(std::labs(dialog.left - main.left) <= 1 && std::labs(dialog.top - main.bottom) <= 1,
          "the timer dialog is at " + std::to_string(dialog.left) + "," +
              std::to_string(dialog.top) + ", not under the main window");
    return form3;
  }

  HWND window = nullptr;

 private:
  PROCESS_INFORMATION info_{};
  std::chrono::steady_clock::time_point start_;
};

// The usage display, which must show a sample with two decimals.
std::string ExpectUsageReading(const Run& s) {
  const std::string usage = Text(s.Main(f1::kLabel5));
  const double percent = std::atof(usage.c_str());
  Check(usage.find_first_not_of("0123456789.%") == std::string::npos && usage.size() >= 5 &&
            usage.find('.') == usage.size() - 4 && usage.back() == '%' && percent <= 100,
        "the usage display reads " + Shown(usage) + ", expected a percentage like 3.25%");
  return usage;
}

// The countdowns that fire: the arguments, the display at the start, the
// command line run, and the earliest and latest second it may run at.
struct Firing {
  const char *arguments, *first, *commandLine;
  double earliest, latest;
};
const std::map<std::string, Firing> kFirings = {
    // -o0 changes the method, which raises a countdown under 10 to 10.
    {"countdown-raised-by-method", {"-t3 -o0 -r", "00:00:10", "Shutdown -r -t 0", 8, 14}},
    {"logoff-forced", {"-o0 -t12 -l -f", "00:00:12", "Shutdown -l -f", 10, 16}},
    {"logoff-plain", {"-o0 -t10 -l", "00:00:10", "Shutdown -l", 8, 14}},
    {"shutdown-forced", {"-t10 -f -o0", "00:00:10", "Shutdown -s -f -t 0", 8, 14}}};

// ---------------------------------------------------------------------------
// The main window, the countdown, the operation, Abort

void MainWindowCaptions(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  CheckEqual("main window caption", Text(s.window), "Quellor");
  // clang-format off
  const std::pair<int, const char*> kCaptions[] = {
      {f1::kLabel8, "Quellor"}, {f1::kLabel2, "Computer Operation :"},
      {f1::kLabel6, "CPU Usage :"}, {f1::kLabel7, "Time out:"}, {f1::kCheck1, "Force close"},
      {f1::kCheck2, "Always on top"}, {f1::kLabel3, "00:50:00"}, {f1::kLabel1, "hh:mm:ss"},
      {f1::kFrame2, "Shutdown Methods"}, {f1::kOption1 + 0, "Timer"},
      {f1::kOption1 + 1, "CPU Idle Only"}, {f1::kOption1 + 2, "Timer AND CPU"},
      {f1::kOption1 + 3, "Timer OR CPU"}, {f1::kLabel4, "% CPU Usage"}, {f1::kText2, "2"},
      {f1::kLabel9, "Set Timer"}, {f1::kLabel12, "?"}, {f1::kLabel10, "Abort"},
      {f1::kCombo1, "Shutdown"}};
  // clang-format on
  for (const auto& [id, caption] : kCaptions) ExpectText(s.window, id, caption);
  Control(s.window, f1::kFrame1);

  // The operations, Hibernate only where the system allows it (Wine does).
  std::vector<std::string> operations = {"Shutdown", "Restart", "Log Off"};
  if (IsPwrHibernateAllowed()) operations.emplace_back("Hibernate");
  Check(ComboItems(s.Main(f1::kCombo1)) == operations, "the operation list is not as expected");

  // -o0 selects Timer and disables the threshold box; no -f clears force
  // close; a first run is always on top.
  for (int i = 0; i < 4; ++i) {
    Check(CheckState(s.Main(f1::kOption1 + i)) == (i == 0 ? BST_CHECKED : BST_UNCHECKED),
          "Option1(" + std::to_string(i) + ") is in the wrong state with -o0");
  }
  Check(!Enabled(s.Main(f1::kText2)), "Text2 is enabled with method Timer");
  Check(CheckState(s.Main(f1::kCheck1)) == BST_UNCHECKED &&
            CheckState(s.Main(f1::kCheck2)) == BST_CHECKED && OnTop(s.window),
        "force close ticked, or always on top not ticked and applied");

  // Nothing is run while the program merely runs. Meanwhile the usage
  // display shows a sample with two decimals (Wine has the counter).
  Pause(1.5);
  CheckRecorded({});
  ExpectUsageReading(s);
}

void CountdownRestart(const std::string& exe) {
  Run s(exe, "-t15 -o0 -r");
  ExpectText(s.window, f1::kLabel3, "00:00:15");
  ExpectText(s.window, f1::kCombo1, "Restart");
  ExpectCountdownOver(s.window, 4, true);
  s.ExpectFiring(13, 19, "Shutdown -r -t 0");
}

void CpuIdleFires(const std::string& exe) {
  // A stored threshold is not range-checked: at 1000 % every sample is
  // under it, so "CPU Idle Only" fires in the thirtieth tick, long before
  // the countdown would.
  PlantDword("CPU Usage", 1000);
  Run s(exe, "-o1 -t3000 -r");
  ExpectText(s.window, f1::kText2, "1000");
  Check(Enabled(s.Main(f1::kText2)), "Text2 is disabled with CPU Idle Only");
  Pause(20);
  const long left = CountdownShown(s.window);
  Check(s.Running() && left >= 2976 && left <= 2982,
        "after 20 s the countdown shows " + std::to_string(left) + " s, expected about 2980");
  s.ExpectFiring(28, 37, "Shutdown -r -t 0");
  ExpectDwords({{"Option", 1}, {"Time Out", 3000}});
}

void Abort(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  Pause(2.5);
  const long left = CountdownShown(s.window);
  Check(left >= 2996 && left <= 2998,
        "the countdown shows " + std::to_string(left) + " s left after 2.5 s, expected 2997");
  s.Abort();
  // Abort stores the settings: the countdown length, not the time left.
  ExpectDwords({{"Time Out", 3000}, {"Option", 0}, {"Operation", 0}, {"Force Close", 0}});
}

// ---------------------------------------------------------------------------
// The timer dialog

void TimerDialogOk(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  const HWND form3 = s.OpenTimerDialog();
  // Each opening starts in count-down mode with every field at 0.
  const HWND countDown = Control(form3, f3::kOption1);
  Check(WaitUntil([&] { return CheckState(countDown) == BST_CHECKED; }, 1.5) &&
            CheckState(Control(form3, f3::kOption2)) == BST_UNCHECKED,
        "the dialog does not open in count-down mode");
  // clang-format off
  const std::pair<int, const char*> kCaptions[] = {
      {f3::kFrame1, "Count down"}, {f3::kOption1, "Count down"}, {f3::kOption2, "Timer"},
      {f3::kText1, "0"}, {f3::kText2, "0"}, {f3::kText3, "0"}, {f3::kLabel5, "OK"},
      {f3::kLabel6, "Cancel"}};
  // clang-format on
  for (const auto& [id, caption] : kCaptions) ExpectText(form3, id, caption);
  SetText(Control(form3, f3::kText1), "1");
  SetText(Control(form3, f3::kText2), "30");
  Click(Control(form3, f3::kLabel5));
  // OK shows the new countdown at once; the resumed tick then counts on.
  const HWND label3 = s.Main(f1::kLabel3);
  Check(WaitUntil([&] { return Text(label3) == "01:30:00"; }, 3),
        "the countdown display reads " + Shown(Text(label3)) + " after OK, expected 01:30:00");
  s.WaitForHidden(ids::kForm3Class);
  ExpectCountdownOver(s.window, 2.5, true);
  s.Abort();
  ExpectDwords({{"Time Out", 5400}});
}

// Where a window was moved, the other follows at the next mouse move over
// it: the dialog hangs under the main window, the main window sits on the
// dialog. (The system's own move loop is not driven here: the window is
// moved as that loop moves it, then the mouse moves.)
void DialogFollowsMainWindow(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  const HWND form3 = s.OpenTimerDialog();
  const auto expectDocked = [&](const char* after) {
    Check(WaitUntil(
              [&] {
                const RECT main = ScreenRect(s.window), dialog = ScreenRect(form3);
                return std::labs(dialog.left - main.left) <= 1 &&
                       std::labs(dialog.top - main.bottom) <= 1;
              },
              3),
          std::string("the dialog does not hang under the main window after ") + after);
  };
  for (const auto& [mover, dx, dy] : {std::tuple{s.window, 40, 30}, std::tuple{form3, -25, 45}}) {
    const RECT before = ScreenRect(mover);
    SetWindowPos(mover, nullptr, before.left + dx, before.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(mover, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    expectDocked(mover == s.window ? "moving the main window" : "moving the dialog");
    const RECT moved = ScreenRect(mover);
    Check(moved.left == before.left + dx && moved.top == before.top + dy,
          "the moved window did not stay where it was put");
  }
  Click(Control(form3, f3::kLabel6));
  s.WaitForHidden(ids::kForm3Class);
  s.Abort();
}

// ---------------------------------------------------------------------------
// The help window

void ExpectHelpContent(HWND form2, bool endsProgram) {
  const std::string usage = ExpectedUsageText();
  CheckEqual("help window caption", Text(form2), "Quellor Help");
  const std::pair<int, std::string> kCaptions[] = {{f2::kLabel3, "Quellor"},
                                                   {f2::kLabel4, "Version :2.0.3"},
                                                   {f2::kText1, usage},
                                                   {f2::kLabel5, "Online Help"}};
  for (const auto& [id, caption] : kCaptions) ExpectText(form2, id, caption);
  // One of the two OK labels: the one that ends the program, or the one that
  // returns to the main window.
  const HWND ends = Control(form2, f2::kLabel1), returns = Control(form2, f2::kLabel2);
  Check(Shown(ends) == endsProgram && Enabled(ends) == endsProgram &&
            Shown(returns) != endsProgram && Enabled(returns) != endsProgram,
        std::string("the help window does not offer only the OK that ") +
            (endsProgram ? "ends the program" : "returns"));
}

void HelpFromMainWindow(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  Pause(1.5);
  Click(s.Main(f1::kLabel12));
  const HWND form2 = s.WaitForWindow(ids::kForm2Class, 5);
  ExpectHelpContent(form2, false);
  Check(WaitUntil([&] { return !Shown(s.window); }, 2), "the main window stays shown under help");
  ExpectCountdownOver(s.window, 2.5, false);
  Click(Control(form2, f2::kLabel2));
  Check(WaitUntil([&] { return Shown(s.window); }, 3), "the main window did not come back");
  s.WaitForHidden(ids::kForm2Class);
  Check(Enabled(s.window), "the main window is disabled after help");
  ExpectCountdownOver(s.window, 2.5, true);
  s.Abort();
}

// Closed by a WM_CLOSE that another program sends (as tools and session
// managers do), help returns to a shown, usable, ticking main window.
void HelpClosedFromOutside(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  Pause(1.5);
  Click(s.Main(f1::kLabel12));
  const HWND form2 = s.WaitForWindow(ids::kForm2Class, 5);
  Check(WaitUntil([&] { return !Shown(s.window); }, 2), "the main window stays shown under help");
  Send(form2, WM_CLOSE);
  Check(WaitUntil([&] { return Shown(s.window); }, 3),
        "the main window stays hidden after help was closed from outside");
  s.WaitForHidden(ids::kForm2Class);
  Check(Enabled(s.window), "the main window is disabled after help was closed from outside");
  ExpectCountdownOver(s.window, 2.5, true);
  s.Abort();
}

void HelpSwitch(const std::string& exe) {
  Run s(exe, "-?", ids::kForm2Class);
  ExpectHelpContent(s.window, true);
  s.WaitForHidden(ids::kForm1Class);
  Pause(1);
  Click(s.Main(f2::kLabel1));
  Check(s.WaitForExit(5), "the program did not end within 5 s of the help window's OK");
  Pause(1);
  CheckRecorded({});
  Check(!SettingsKeyExists(), "the help window's OK stored settings");
}

// ---------------------------------------------------------------------------
// Always on top, and the stored settings

void AlwaysOnTop(const std::string& exe) {
  Run s(exe, "-t3000 -o0");
  const HWND form3 = s.OpenTimerDialog();
  const HWND check2 = s.Main(f1::kCheck2);
  Check(OnTop(s.window) && OnTop(form3), "the main window and the dialog are not both on top");
  // Clearing the box takes both windows off the top; ticking puts both back.
  for (const bool ticked : {false, true, false}) {
    Send(check2, BM_CLICK);
    Check(WaitUntil(
              [&] {
                return CheckState(check2) == (ticked ? BST_CHECKED : BST_UNCHECKED) &&
                       OnTop(s.window) == ticked && OnTop(form3) == ticked;
              },
              2),
          std::string(ticked ? "ticking" : "clearing") +
              " Always on top did not apply to both windows");
  }
  Click(Control(form3, f3::kLabel6));
  s.WaitForHidden(ids::kForm3Class);
  s.Abort();
  ExpectDwords({{"Always Top", 0}});
}

// What a run with -t12 -o0 -r stores, where the main window stood.
void ExpectSettingsOfTheRestartRun(const RECT& where) {
  const long x = DwordSetting("PositionX"), y = DwordSetting("PositionY");
  Check(std::labs(x - Twips(where.left)) <= Twips(1) && std::labs(y - Twips(where.top)) <= Twips(1),
        "the stored position " + std::to_string(x) + "," + std::to_string(y) +
            " is not where the window stood (" + std::to_string(Twips(where.left)) + "," +
            std::to_string(Twips(where.top)) + " twips)");
  // clang-format off
  ExpectDwords({{"Operation", 1}, {"CPU Usage", 2}, {"Time Out", 12}, {"Option", 0},
                {"Force Close", 0}, {"Always Top", 1}});
  // clang-format on
}

void SettingsSavedOnFiring(const std::string& exe) {
  Run s(exe, "-t12 -o0 -r");
  const RECT where = ScreenRect(s.window);
  Check(!SettingsKeyExists(), "settings were stored before anything fired");
  s.ExpectFiring(10, 16, "Shutdown -r -t 0");
  ExpectSettingsOfTheRestartRun(where);
}

void ShutdownCommandMissing(const std::string& exe) {
  // Without the system's shutdown command the program still ends in time,
  // having stored its settings first.
  const ShutdownCommandAway away;
  Run s(exe, "-t12 -o0 -r");
  const RECT where = ScreenRect(s.window);
  Check(s.WaitForExit(20), "the program was still running 20 s after its start");
  Note("the program ended " + Seconds(s.Elapsed()) + " after its start");
  CheckRecorded({});
  ExpectSettingsOfTheRestartRun(where);
}

void SettingsPlanted(const std::string& exe) {
  PlantString("CPU Usage", "abc");
  PlantDword("Always Top", 0);
  PlantDword("Time Out", 3600);
  {
    // The command line wins over the stored countdown.
    Run s(exe, "-t120");
    ExpectText(s.window, f1::kLabel3, "00:02:00");
    ExpectText(s.window, f1::kText2, "abc");
    Check(CheckState(s.Main(f1::kCheck2)) == BST_UNCHECKED && !OnTop(s.window),
          "Always on top is ticked or applied although 0 was stored");
  }
  // Without a command line the stored countdown holds, and nothing clears
  // force close.
  Run s(exe, "");
  ExpectText(s.window, f1::kLabel3, "01:00:00");
  ExpectText(s.window, f1::kText2, "abc");
  Check(CheckState(s.Main(f1::kCheck1)) == BST_CHECKED, "Force close is clear");
  CheckRecorded({});
}

// A stored position is applied as it stands, the screen's corner included.
void SettingsPlantedAtOrigin(const std::string& exe) {
  PlantDword("PositionX", 0);
  PlantDword("PositionY", 0);
  Run s(exe, "-t3000 -o0");
  const RECT at = ScreenRect(s.window);
  Check(at.left == 0 && at.top == 0, "stored at 0,0 the window opens at " +
                                         std::to_string(at.left) + "," + std::to_string(at.top));
  s.Abort();
}

void SettingsKeyUnreadable(const std::string& exe) {
  // Stored settings behind a key that cannot be opened count as none: the
  // built-in defaults hold, Abort still runs and ends, and nothing is lost.
  PlantDword("Time Out", 3600);
  PlantDword("Always Top", 0);
  Check(SetSettingsKeyLocked(true), "cannot lock the settings key");
  struct Unlock {
    ~Unlock() { SetSettingsKeyLocked(false); }
  } unlock;
  HKEY probe = nullptr;
  Check(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &probe) != ERROR_SUCCESS,
        "the locked settings key can still be opened");
  {
    Run s(exe, "-o0");
    ExpectText(s.window, f1::kLabel3, "00:00:10");
    Check(CheckState(s.Main(f1::kCheck2)) == BST_CHECKED && OnTop(s.window),
          "Always on top is not the built-in default");
    s.Abort();
  }
  Check(SetSettingsKeyLocked(false), "cannot unlock the settings key");
  ExpectDwords({{"Time Out", 3600}, {"Always Top", 0}});
}

// ---------------------------------------------------------------------------
// What the program loads and reads when someone else chose it

// A folder of its own under the temporary folder with a copy of the program
// under test and whatever else is added; emptied and removed again.
class ProgramCopy {
 public:
  ProgramCopy(const std::string& exe, const std::string& folderName) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + folderName;
    Empty();
    CreateDirectoryA(folder.c_str(), nullptr);
    path = Add(WindowsPath(exe), "quellor.exe");
  }
  ~ProgramCopy() {
    KillProcesses("quellor.exe");
    Empty();
    RemoveDirectoryA(folder.c_str());
  }
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;
  // Copies `from` into the folder as `name`; gives its path there.
  std::string Add(const std::string& from, const std::string& name) const {
    const std::string to = folder + "\\" + name;
    Check(CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE, "cannot copy " + from + " to " + to);
    return to;
  }
  bool Holds(const std::string& name) const {
    return GetFileAttributesA((folder + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string folder, path;

 private:
  void Empty() const {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
};

// Wine takes its load order for libraries from the environment that it
// started with, so that of a scenario is set where the scenario starts
// (tests/windows/CMakeLists.txt); the programs it starts inherit it.
void RequireDllOverrides(const std::string& wanted) {
  char overrides[4096] = {};
  const DWORD length = GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  Check(length < sizeof overrides && std::string(overrides).find(wanted) != std::string::npos,
        "WINEDLLOVERRIDES does not hold " + wanted + " (run the scenario through ctest)");
}

void PlantedLibraries(const std::string& exe) {
  // Libraries beside the program under the names of system libraries that
  // are not among the known ones, which Windows looks for there first (as
  // Wine does with native libraries first): none is loaded, and the usage
  // display shows the system's reading, not the planted one.
  const ProgramCopy copy(exe, "quellor-planted");
  char driver[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  std::string planted = driver;
  planted = planted.substr(0, planted.find_last_of('\\')) + "\\planted\\";
  const char* const kLibraries[] = {"pdh.dll", "powrprof.dll", "uxtheme.dll"};
  for (const char* library : kLibraries) copy.Add(planted + library, library);
  RequireDllOverrides("pdh,powrprof,uxtheme=n,b");
  Run s(copy.path, "-t3000 -o0");
  Pause(2.5);
  for (const char* library : kLibraries) {
    Check(!copy.Holds(library + std::string(".loaded")),
          std::string("the ") + library + " beside the program was loaded");
  }
  Check(ExpectUsageReading(s) != "66.66%", "the usage display shows the planted reading");
  s.Abort();
}

void CounterLibraryMissing(const std::string& exe) {
  // Without the counters' library the program starts all the same and reads
  // the processor's times itself.
  RequireDllOverrides("pdh=");
  Run s(exe, "-t3000 -o0");
  Pause(2.5);
  ExpectUsageReading(s);
  s.Abort();
}

void DwordOfNoSize(const std::string& exe) {
  // A stored "Time Out" of no bytes is no countdown of 0: with the stored
  // method Timer nothing fires at once, and the built-in 10 s stand.
  const DWORD unused = 0;
  Plant("Time Out", REG_DWORD, &unused, 0);
  PlantDword("Option", 0);
  Run s(exe, "");
  ExpectText(s.window, f1::kLabel3, "00:00:10");
  Pause(4);
  Check(s.Running(), "the program ended within 5 s of its start");
  CheckRecorded({});
  s.Abort();
}

void HugeThreshold(const std::string& exe) {
  // A stored threshold of 300,000 characters is no threshold: the box keeps
  // the built-in one, and the window answers within a second throughout.
  PlantString("CPU Usage", std::string(300000, '7'));
  Run s(exe, "-t3000 -o0");
  for (int i = 0; i < 6; ++i) {
    DWORD_PTR result = 0;
    Check(SendMessageTimeoutA(s.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0,
          "the main window did not answer within a second");
    Pause(0.5);
  }
  ExpectText(s.window, f1::kText2, "2");
  ExpectCountdownOver(s.window, 2.5, true);
  s.Abort();
}

void SwitchInProgramPath(const std::string& exe) {
  // Started by an unquoted command line whose folder's name holds "-l": the
  // switches come only from after the program's own path.
  const ProgramCopy copy(exe, "My Apps-l");
  Run s(copy.path, "-t3000 -o0", ids::kForm1Class, false);
  ExpectText(s.window, f1::kCombo1, "Shutdown");
  s.Abort();
}

using Scenario = void (*)(const std::string& exe);

const std::map<std::string, Scenario>& Scenarios() {
  static const std::map<std::string, Scenario> kAll = {
      {"main-window-captions", MainWindowCaptions},
      {"countdown-restart", CountdownRestart},
      {"abort", Abort},
      {"cpu-idle-fires", CpuIdleFires},
      {"timer-dialog-ok", TimerDialogOk},
      {"dialog-follows-main-window", DialogFollowsMainWindow},
      {"help-from-main-window", HelpFromMainWindow},
      {"help-closed-from-outside", HelpClosedFromOutside},
      {"help-switch", HelpSwitch},
      {"always-on-top", AlwaysOnTop},
      {"settings-saved-on-firing", SettingsSavedOnFiring},
      {"shutdown-command-missing", ShutdownCommandMissing},
      {"settings-planted", SettingsPlanted},
      {"settings-planted-at-origin", SettingsPlantedAtOrigin},
      {"settings-key-unreadable", SettingsKeyUnreadable},
      {"planted-libraries", PlantedLibraries},
      {"counter-library-missing", CounterLibraryMissing},
      {"dword-of-no-size", DwordOfNoSize},
      {"huge-threshold", HugeThreshold},
      {"switch-in-program-path", SwitchInProgramPath},
  };
  return kAll;
}

HWND FindAnyWindow(const std::string& className) {
  const HWND window = FindProcessWindow(0, className.c_str());
  Check(window != nullptr, "no window " + className);
  return window;
}

int Main(const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "list") {
    for (const auto& [name, scenario] : Scenarios()) std::printf("%s\n", name.c_str());
    for (const auto& [name, firing] : kFirings) std::printf("%s\n", name.c_str());
  } else if (command == "run" && args.size() == 3 &&
             (Scenarios().count(args[1]) != 0 || kFirings.count(args[1]) != 0)) {
    std::printf("%s\n", args[1].c_str());
    PrepareCleanState();
    if (kFirings.count(args[1]) != 0) {
      const Firing& f = kFirings.at(args[1]);
      Run s(args[2], f.arguments);
      ExpectText(s.window, f1::kLabel3, f.first);
      s.ExpectFiring(f.earliest, f.latest, f.commandLine);
    } else {
      Scenarios().at(args[1])(args[2]);
    }
    KillProcesses("quellor.exe");
    std::printf("PASS %s\n", args[1].c_str());
  } else if (command == "prepare" && args.size() == 1) {
    PrepareCleanState();
  } else if (command == "wait-window" && args.size() == 2) {
    Check(WaitUntil(
              [&] {
                const HWND window = FindProcessWindow(0, args[1].c_str());
                return window != nullptr && Shown(window);
              },
              15),
          "no window " + args[1] + " shown");
  } else if (command == "click" && args.size() == 3) {
    Click(Control(FindAnyWindow(args[1]), std::atoi(args[2].c_str())));
  } else if (command == "rect" && args.size() == 3) {
    const RECT r = ScreenRect(Control(FindAnyWindow(args[1]), std::atoi(args[2].c_str())));
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  } else if (command == "place" && args.size() == 3) {
    PlantDword("PositionX", static_cast<DWORD>(std::atol(args[1].c_str())));
    PlantDword("PositionY", static_cast<DWORD>(std::atol(args[2].c_str())));
  } else if (command == "recorded" && args.size() == 1) {
    std::fputs(ReadRecorder().c_str(), stdout);
  } else {
    std::printf(
        "usage: quellor_driver run SCENARIO PROGRAM | list | prepare | wait-window CLASS |\n"
        "       click CLASS ID | rect CLASS ID | place X Y | recorded\n");
    return 2;
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace quellor::wintest

int main(int argc, char** argv) {
  try {
    return quellor::wintest::Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const quellor::wintest::TestFailure& failure) {
    std::printf("FAIL: %s\n", failure.what());
    quellor::wintest::KillProcesses("quellor.exe");
    return 1;
  }
}
