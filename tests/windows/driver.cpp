#include "driver.h"

#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "recorder_identity.h"

namespace quellor::wintest {

void Fail(const std::string& message) {
  throw TestFailure(message);
}

void Check(bool condition, const std::string& message) {
  if (!condition) Fail(message);
}

std::string Shown(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void CheckEqual(const std::string& what, const std::string& actual, const std::string& expected) {
  if (actual != expected) Fail(what + ": expected " + Shown(expected) + ", got " + Shown(actual));
}

void Note(const std::string& message) {
  std::printf("  %s\n", message.c_str());
  std::fflush(stdout);
}

bool WaitUntil(const std::function<bool()>& condition, double timeoutSeconds, DWORD pollMs) {
  const Stopwatch clock;
  for (;;) {
    if (condition()) return true;
    if (clock.Seconds() >= timeoutSeconds) return false;
    Sleep(pollMs);
  }
}

void Pause(double seconds) {
  Sleep(static_cast<DWORD>(seconds * 1000));
}

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

// ---------------------------------------------------------------------------
// The recorder

std::string RecorderFile() {
  char buffer[MAX_PATH * 2] = {};
  const DWORD length =
      GetEnvironmentVariableA(kRecorderFileVariable, buffer, static_cast<DWORD>(sizeof buffer));
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  CreateDirectoryA(kDefaultRecorderDirectory, nullptr);
  return kDefaultRecorderFile;
}

void ClearRecorder() {
  const std::string path = RecorderFile();
  for (int attempt = 0; attempt < 50; ++attempt) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return;
    }
    Sleep(20);
  }
  Fail("cannot empty the recorder's file " + path);
}

std::string ReadRecorder() {
  const std::string path = RecorderFile();
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

void RequireRecorder() {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string application = std::string(system) + "\\shutdown.exe";
  // Look before running anything: the recorder carries its identity text.
  const HANDLE file = CreateFileA(application.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string image;
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
      image.append(buffer, got);
    CloseHandle(file);
  }
  if (image.find(kIdentity) == std::string::npos) {
    Fail(application +
         " is not the shutdown recorder; refusing to run the program "
         "(run the tests through scripts/wine-session.sh)");
  }
  std::string commandLine = "shutdown.exe " + std::string(kIdentifyArgument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;  // its answer on stdout is not wanted here
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
    Fail("cannot start " + application + " to make sure that it is the recorder");
  }
  const DWORD waited = WaitForSingleObject(info.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (waited != WAIT_OBJECT_0 || code != kIdentityExitCode) {
    Fail(application +
         " is not the shutdown recorder; refusing to run the program "
         "(run the tests through scripts/wine-session.sh)");
  }
}

// ---------------------------------------------------------------------------
// Processes

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

// ---------------------------------------------------------------------------
// The registry

void DeleteSettings() {
  const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
  Check(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND,
        "cannot delete HKCU\\" + std::string(kProductKey));
  Check(!SettingsKeyExists(), "HKCU\\" + std::string(kSettingsKey) + " is still there");
}

bool SettingsKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::optional<RegistryEntry> ReadSetting(const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryEntry entry;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &entry.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    entry.data.resize(size);
    status = RegQueryValueExA(key, name.c_str(), nullptr, &entry.type, entry.data.data(), &size);
    entry.data.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return entry;
}

namespace {
HKEY CreateSettingsKey() {
  HKEY key = nullptr;
  Check(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS,
        "cannot create HKCU\\" + std::string(kSettingsKey));
  return key;
}
}  // namespace

void PlantDword(const std::string& name, DWORD value) {
  const HKEY key = CreateSettingsKey();
  const LSTATUS status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  Check(status == ERROR_SUCCESS, "cannot plant the value " + name);
}

void PlantString(const std::string& name, const std::string& value) {
  const HKEY key = CreateSettingsKey();
  const LSTATUS status =
      RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  Check(status == ERROR_SUCCESS, "cannot plant the value " + name);
}

long DwordSetting(const std::string& name) {
  const std::optional<RegistryEntry> entry = ReadSetting(name);
  Check(entry.has_value(), "the setting \"" + name + "\" was not stored");
  Check(entry->type == REG_DWORD,
        "the setting \"" + name + "\" has type " + std::to_string(entry->type) + ", not REG_DWORD");
  Check(entry->data.size() == 4, "the setting \"" + name + "\" is not 4 bytes long");
  std::int32_t value = 0;
  std::memcpy(&value, entry->data.data(), 4);
  return value;
}

void CheckDwordSetting(const std::string& name, long expected) {
  const long actual = DwordSetting(name);
  Check(actual == expected, "the setting \"" + name + "\" holds " + std::to_string(actual) +
                                ", expected " + std::to_string(expected));
}

// ---------------------------------------------------------------------------
// Windows and controls

namespace {
struct WindowSearch {
  DWORD processId = 0;  // 0: any process
  const char* className = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, search->className) != 0) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search->processId != 0 && owner != search->processId) return TRUE;
  search->found = window;
  return FALSE;
}

struct ControlSearch {
  int id = 0;
  HWND found = nullptr;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ControlSearch*>(parameter);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
    Fail("the program does not answer window message " + std::to_string(message));
  }
  return static_cast<LRESULT>(result);
}

HWND FindProcessWindow(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindAnyWindow(const char* className) {
  return FindProcessWindow(0, className);
}

HWND Control(HWND top, int id, const std::string& name) {
  ControlSearch search{id, nullptr};
  // A window just shown may still be creating its controls.
  WaitUntil(
      [&] {
        EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      2);
  if (search.found == nullptr) Fail("no control " + name + " (id " + std::to_string(id) + ")");
  return search.found;
}

std::string Text(HWND window) {
  const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
  std::string text(length + 1, '\0');
  const auto got = static_cast<std::size_t>(
      Send(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < length ? got : length);
  return text;
}

std::vector<std::string> ComboItems(HWND combo) {
  // Asked in UTF-16, which the system passes between processes whatever the
  // character set of the list.
  std::vector<std::string> items;
  const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG,
                             5000, &length) ||
        static_cast<LRESULT>(length) == CB_ERR) {
      Fail("cannot read entry " + std::to_string(i) + " of the list");
    }
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 5000, &got);
    wide.resize(got <= length ? got : length);
    std::string item;
    for (const wchar_t c : wide) item += c < 0x80 ? static_cast<char>(c) : '?';
    items.push_back(item);
  }
  return items;
}

int CheckState(HWND button) {
  return static_cast<int>(Send(button, BM_GETCHECK, 0, 0));
}

bool Shown(HWND window) {
  return IsWindowVisible(window) != FALSE;
}

bool Enabled(HWND window) {
  return IsWindowEnabled(window) != FALSE;
}

void Click(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
  Check(PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at) != FALSE, "cannot click");
  Check(PostMessageA(control, WM_LBUTTONUP, 0, at) != FALSE, "cannot click");
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

// ---------------------------------------------------------------------------
// Program

Program::~Program() {
  if (info_.hProcess != nullptr) {
    if (Running()) Terminate();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
}

void Program::Start(const std::string& arguments) {
  const std::string path = WindowsPath(exePath_);
  Check(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES,
        "the program " + path + " has not been built");
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Note("starting quellor.exe " + arguments);
  clock_.Restart();
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    Fail("cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
  }
}

HWND Program::WaitForWindow(const char* className, double timeoutSeconds) {
  HWND window = nullptr;
  const bool found = WaitUntil(
      [&] {
        window = FindProcessWindow(info_.dwProcessId, className);
        return (window != nullptr && Shown(window)) || !Running();
      },
      timeoutSeconds);
  Check(Running(), std::string("the program ended before its window ") + className + " was shown");
  Check(found, std::string("no window ") + className + " shown within " +
                   std::to_string(static_cast<int>(timeoutSeconds)) + " s");
  return window;
}

bool Program::WaitForExit(double timeoutSeconds) {
  return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutSeconds * 1000)) ==
         WAIT_OBJECT_0;
}

bool Program::Running() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Terminate() {
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

double Program::WaitForFiring(double timeoutSeconds) {
  double recordedAt = -1;
  const bool ended = WaitUntil(
      [&] {
        if (recordedAt < 0 && !ReadRecorder().empty()) recordedAt = Elapsed();
        return !Running();
      },
      timeoutSeconds);
  Check(ended, "the program was still running " + std::to_string(static_cast<int>(timeoutSeconds)) +
                   " s after its start");
  const double endedAt = Elapsed();
  // The recorder is a process of its own; give it time to write its line.
  if (recordedAt < 0) {
    WaitUntil([] { return !ReadRecorder().empty(); }, 3);
    if (!ReadRecorder().empty()) recordedAt = Elapsed();
  }
  // Anything started late would show up now.
  Pause(0.5);
  char line[96];
  std::snprintf(line, sizeof line, "program ended %.2f s after its start", endedAt);
  Note(line);
  return recordedAt < 0 ? endedAt : recordedAt;
}

void PrepareCleanState() {
  KillProcesses("quellor.exe");
  RequireRecorder();
  ClearRecorder();
  DeleteSettings();
}

}  // namespace quellor::wintest
