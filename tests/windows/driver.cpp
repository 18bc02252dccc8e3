// The Windows test driver: it starts the program, finds its windows and
// controls by their native identifiers, works them with the mouse and the
// keyboard, and looks at what the program left behind (the shutdown
// recorder's file and the registry).
//
//   quellor_driver run SCENARIO PROGRAM   runs one scenario against PROGRAM
//   quellor_driver prepare                clean state (as before a scenario)
//   quellor_driver wait-window CLASS      waits until a window of CLASS shows
//   quellor_driver click CLASS ID         clicks a control of that window
//   quellor_driver place X Y              stores a main-window position (twips)
//   quellor_driver recorded               prints the recorder's file
//   quellor_driver selection CLASS ID     prints "focused" or "unfocused" and the
//                                         selection of that window's text box
//   quellor_driver high-contrast          high contrast for the running program
//
// Exit code 0 when everything held; otherwise 1 with the reason on stdout.
#include <windows.h>
// after windows.h
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/control_ids.h"
#include "recorder_identity.h"

namespace quellor::wintest {
namespace {

namespace f1 = ids::form1;
namespace f2 = ids::form2;
namespace f3 = ids::form3;

// A failed expectation stops the scenario; main prints the message.
void Check(bool condition, const std::string& message) {
  if (!condition) throw std::runtime_error(message);
}

void CheckEqual(const std::string& what, const std::string& actual, const std::string& expected) {
  Check(actual == expected, what + ": expected \"" + expected + "\", got \"" + actual + "\"");
}

template <typename Condition>
bool WaitUntil(const Condition& condition, double seconds) {
  for (double waited = 0; waited < seconds; waited += 0.05) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The system's shutdown command, or with `suffix`, where it is moved away.
std::string ShutdownCommand(const char* suffix = "") {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  return std::string(system) + "\\shutdown.exe" + suffix;
}

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), static_cast<int>(utf8.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  return wide;
}

// A process started by `commandLine` (UTF-8, given to the system as Unicode);
// ended when this goes away.
class Process {
 public:
  Process(const std::string& application, const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // what it writes is not wanted here
    std::wstring text = Wide(commandLine);
    Check(CreateProcessW(Wide(application).c_str(), text.data(), nullptr, nullptr, FALSE,
                         CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info_) != FALSE,
          "cannot start " + application);
  }
  ~Process() {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  // Its exit code once it has ended, waiting up to `seconds`; STILL_ACTIVE
  // while it runs.
  DWORD ExitCodeWithin(double seconds) const {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds * 1000));
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// Fails unless the system's shutdown command is the recorder: it carries the
// recorder's identity text (checked before it is run) and answers as the
// recorder.
void RequireRecorder() {
  const std::string refusal = ShutdownCommand() +
                              " is not the shutdown recorder; refusing to run the program (run "
                              "the tests through scripts/wine-session.sh)";
  Check(ReadWhole(ShutdownCommand()).find(kIdentity) != std::string::npos, refusal);
  const Process recorder(ShutdownCommand(), "shutdown.exe " + std::string(kIdentifyArgument));
  Check(recorder.ExitCodeWithin(10) == kIdentityExitCode, refusal);
}

// ---------------------------------------------------------------------------
// The registry

constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

// Settings written "Name=1,Other Name=2".
std::map<std::string, long> Settings(const std::string& list) {
  std::map<std::string, long> values;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    values[item.substr(0, item.find('='))] = std::stol(item.substr(item.find('=') + 1));
  }
  return values;
}

void PlantDwords(const std::string& list) {
  for (const auto& [name, value] : Settings(list)) {
    const auto data = static_cast<DWORD>(value);
    Check(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), REG_DWORD, &data, 4) ==
              ERROR_SUCCESS,
          "cannot plant the setting " + name);
  }
}

// Each setting must be a stored REG_DWORD of that value.
void ExpectDwords(const std::string& list) {
  for (const auto& [name, value] : Settings(list)) {
    DWORD type = 0, size = 4;
    std::int32_t actual = 0;
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_ANY, &type, &actual, &size);
    Check(type == REG_DWORD && actual == value,
          "the setting \"" + name + "\" is " + std::to_string(actual) + " of type " +
              std::to_string(type) + ", expected the REG_DWORD " + std::to_string(value));
  }
}

// No program left running, the recorder in place and its file empty, no
// stored settings (a run that stopped early may have left the shutdown
// command moved away).
void PrepareCleanState() {
  std::system("taskkill /f /im quellor.exe >nul 2>nul");
  MoveFileExA(ShutdownCommand(".away").c_str(), ShutdownCommand().c_str(),
              MOVEFILE_REPLACE_EXISTING);
  RequireRecorder();
  Check(std::ofstream(RecorderFile(), std::ios::trunc).good(), "cannot empty the recorder's file");
  const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quellor");
  Check(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, "cannot delete the settings");
}

// ---------------------------------------------------------------------------
// Windows and controls

// The shown top-level window of that class, or null.
HWND ShownWindow(const char* className) {
  const HWND found = FindWindowA(className, nullptr);
  return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

HWND Control(HWND top, int id) {
  // A window just shown may still be creating its controls.
  Check(WaitUntil([&] { return GetDlgItem(top, id) != nullptr; }, 2),
        "no control with the id " + std::to_string(id));
  return GetDlgItem(top, id);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  Check(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0,
        "the program does not answer window message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

std::string Text(HWND window) {
  char text[256] = {};
  Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

bool Ticked(HWND button) {
  return Send(button, BM_GETCHECK) == BST_CHECKED;
}

bool OnTop(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Click(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
}

// Replaces the text of a box with `text`, typed key by key.
void Type(HWND box, const std::string& text) {
  Send(box, EM_SETSEL, 0, -1);
  for (const char c : text) PostMessageA(box, WM_CHAR, static_cast<WPARAM>(c), 1);
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// A window's place on the screen in twips, as the program stores it.
std::string TwipsAt(HWND window) {
  const HDC screen = GetDC(nullptr);
  const int twipsPerPixel = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const RECT at = ScreenRect(window);
  return "PositionX=" + std::to_string(at.left * twipsPerPixel) +
         ",PositionY=" + std::to_string(at.top * twipsPerPixel);
}

// One run of the program under test, from its start until its window of
// `windowClass` is shown; ended when it goes away.
class Run {
 public:
  Run(const std::string& exe, const std::string& arguments, bool quoted = true)
      : start_(GetTickCount64()),
        process_(exe, (quoted ? "\"" + exe + "\" " : exe + " ") + arguments) {
    std::printf("  started %s %s\n", exe.c_str(), arguments.c_str());
    window = WaitForWindow(ids::kForm1Class);
  }

  HWND Main(int id) const { return Control(window, id); }
  double Elapsed() const { return static_cast<double>(GetTickCount64() - start_) / 1000; }
  HWND WaitForWindow(const char* windowClass) const {
    Check(WaitUntil([&] { return ShownWindow(windowClass); }, 10),
          std::string("no window ") + windowClass + " shown");
    return ShownWindow(windowClass);
  }
  // Waits for the end and checks when it came (the program ends right after
  // starting its command), its exit code and which command lines ran.
  void ExpectEnd(double earliest, double latest, DWORD exitCode, const std::string& recorded) {
    const DWORD code = process_.ExitCodeWithin(std::max(0.0, latest - Elapsed()));
    const double at = Elapsed();
    Check(code != STILL_ACTIVE && at >= earliest,
          "ended at " + std::to_string(at) + " s, not between " + std::to_string(earliest) +
              " and " + std::to_string(latest) + " s");
    Check(code == exitCode,
          "exit code " + std::to_string(code) + ", expected " + std::to_string(exitCode));
    // The recorder is a process of its own; give it time to write its line,
    // and anything started late time to show up.
    WaitUntil([&] { return ReadWhole(RecorderFile()) == recorded; }, 3);
    Sleep(500);
    CheckEqual("command lines run", ReadWhole(RecorderFile()), recorded);
  }
  bool Running() const { return process_.ExitCodeWithin(0) == STILL_ACTIVE; }
  HWND window = nullptr;

 private:
  ULONGLONG start_;
  Process process_;
};

// ---------------------------------------------------------------------------
// What a screen reader reads of a control (role, name, default action and
// "unavailable" when the state says so), from this process; then, with
// `press`, its default action done.
std::string Aloud(HWND control, bool press = false) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(&object));
  Check(object != nullptr,
        "no accessible object for control " + std::to_string(GetDlgCtrlID(control)));
  VARIANT self{}, role{}, state{};
  self.vt = VT_I4;  // lVal 0: the control itself (CHILDID_SELF)
  BSTR texts[2] = {};
  object->get_accRole(self, &role);
  object->get_accState(self, &state);
  object->get_accName(self, &texts[0]);
  object->get_accDefaultAction(self, &texts[1]);
  std::string read = std::to_string(role.lVal);
  for (BSTR text : texts) {
    read += ' ';
    for (const wchar_t* c = text; c != nullptr && *c != 0; ++c) read += static_cast<char>(*c);
    SysFreeString(text);
  }
  if ((state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0) read += " unavailable";
  Check(!press || SUCCEEDED(object->accDoDefaultAction(self)), "pressing " + read + " failed");
  object->Release();
  return read;
}

void ExpectReadAloud(HWND window, const std::vector<std::pair<int, std::string>>& rows) {
  for (const auto& [id, read] : rows) CheckEqual("read aloud", Aloud(Control(window, id)), read);
}

// A screen reader reads the label buttons and presses "?", help's OK and
// Abort.
std::string ReadAndPress(Run& s) {
  CoInitialize(nullptr);
  const std::string button = std::to_string(ROLE_SYSTEM_PUSHBUTTON) + " ";
  ExpectReadAloud(s.window, {{f1::kLabel9, button + "Set Timer Press"},
                             {f1::kLabel12, button + "? Press"},
                             {f1::kLabel10, button + "Abort Press"},
                             {f1::kLabel3, std::to_string(ROLE_SYSTEM_STATICTEXT) + " Time out "}});
  Aloud(s.Main(f1::kLabel12), true);
  const HWND help = s.WaitForWindow(ids::kForm2Class);
  Check(WaitUntil([&] { return !IsWindowVisible(s.window); }, 3),
        "help left the main window shown");
  ExpectReadAloud(help, {{f2::kLabel5, button + "Online Help Press"},
                         {f2::kLabel2, button + "OK Press"},
                         {f2::kLabel1, button + "OK Press unavailable"}});
  Aloud(Control(help, f2::kLabel2), true);
  Check(WaitUntil([&] { return GetForegroundWindow() == s.window; }, 3) &&
            !ShownWindow(ids::kForm2Class),
        "help's OK did not bring the main window back, active");
  Aloud(s.Main(f1::kLabel10), true);
  return "CPU Usage=2";
}

// ---------------------------------------------------------------------------
// The scenarios

// The run of the real windows: stored settings come back in them, the mouse
// and the keyboard work them, and Abort ends the run; gives where the main
// window stood then, which it must have stored.
std::string WorkTheWindows(Run& s) {
  CheckEqual("where the window opens", TwipsAt(s.window), "PositionX=7320,PositionY=2400");
  CheckEqual("the countdown", Text(s.Main(f1::kLabel3)), "00:50:00");
  CheckEqual("the operation", Text(s.Main(f1::kCombo1)), "Restart");
  Check(Ticked(s.Main(f1::kCheck1)), "Force close is clear although 1 was stored");
  Check(!Ticked(s.Main(f1::kCheck2)) && !OnTop(s.window), "on top although 0 was stored");

  // Clicked, the selected method takes the focus; the Down key then goes
  // down the methods, selecting as it goes.
  Click(s.Main(f1::kOption1));
  for (const int to : {1, 2}) {
    PostMessageA(s.Main(f1::kOption1), WM_KEYDOWN, VK_DOWN, 0);
    Check(WaitUntil([&] { return Ticked(s.Main(f1::kOption1 + to)); }, 2),
          "the Down key did not select method " + std::to_string(to));
  }

  // Set Timer: the dialog hangs under the main window, and where either
  // window was moved, the other follows at the next mouse move over it. (The
  // system's own move loop is not driven: the window is moved as it moves
  // it, then the mouse moves.)
  Click(s.Main(f1::kLabel9));
  const HWND form3 = s.WaitForWindow(ids::kForm3Class);
  const auto docked = [&] {
    const RECT main = ScreenRect(s.window), dialog = ScreenRect(form3);
    return std::labs(dialog.left - main.left) <= 1 && std::labs(dialog.top - main.bottom) <= 1;
  };
  for (const auto& [mover, dx, dy] : {std::tuple{s.window, 40, 30}, std::tuple{form3, -25, 45}}) {
    const RECT before = ScreenRect(mover);
    SetWindowPos(mover, nullptr, before.left + dx, before.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(mover, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Check(WaitUntil(docked, 3), mover == s.window ? "the dialog did not follow the main window"
                                                  : "the main window did not follow the dialog");
  }
  Click(s.Main(f1::kCheck2));
  Check(WaitUntil([&] { return OnTop(s.window) && OnTop(form3); }, 2),
        "ticking Always on top did not put both windows on top");
  Type(Control(form3, f3::kText1), "1");
  Type(Control(form3, f3::kText2), "35");
  Click(Control(form3, f3::kLabel5));
  Check(WaitUntil([&] { return Text(s.Main(f1::kLabel3)) == "01:35:00"; }, 3),
        "typing 1 h 35 min and OK did not set the countdown to 01:35:00");

  // Help hides the main window; closed by a WM_CLOSE that another program
  // sends, it gives back a shown, usable, ticking main window.
  Click(s.Main(f1::kLabel12));
  Send(s.WaitForWindow(ids::kForm2Class), WM_CLOSE);
  Check(WaitUntil([&] { return IsWindowVisible(s.window) && !ShownWindow(ids::kForm2Class); }, 3) &&
            IsWindowEnabled(s.window),
        "the main window is not back and usable after help was closed from outside");
  Check(WaitUntil([&] { return Text(s.Main(f1::kLabel3)) != "01:35:00"; }, 3),
        "the countdown does not tick after help");

  // Minimised, the window stands off the screen: no place to store.
  const std::string where = TwipsAt(s.window);
  ShowWindow(s.window, SW_MINIMIZE);
  Check(WaitUntil([&] { return IsIconic(s.window) != FALSE; }, 2), "the window did not minimise");
  Click(s.Main(f1::kLabel10));
  return where;
}

// Messages another program can send that claim what did not happen: 600
// ticks of the one-second timer within a second, a change of resolution whose
// lParam is no rectangle, a click on the help window's hidden OK that ends
// the program. None may act; the program then ends by Abort.
std::string ForgeMessages(Run& s) {
  const HWND countdown = s.Main(f1::kLabel3);
  for (int i = 0; i < 600; ++i) PostMessageA(s.window, WM_TIMER, 1, 0);
  PostMessageA(s.window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), 0x1234);
  Sleep(1500);
  Check(s.Running(), "the program ended on the forged ticks or the forged change of resolution");
  Check(Text(countdown) >= "00:09:57", "600 forged ticks took the countdown to " + Text(countdown));

  Click(s.Main(f1::kLabel12));
  const HWND help = s.WaitForWindow(ids::kForm2Class);
  const HWND hiddenOk = Control(help, f2::kLabel1);
  Check(!IsWindowVisible(hiddenOk), "the help window's ending OK shows");
  PostMessageA(help, WM_COMMAND, MAKEWPARAM(f2::kLabel1, STN_CLICKED),
               reinterpret_cast<LPARAM>(hiddenOk));
  Sleep(1000);
  Check(s.Running(), "a forged click on the hidden OK ended the program");
  Click(Control(help, f2::kLabel2));
  Check(WaitUntil([&] { return IsWindowVisible(s.window) != FALSE; }, 3),
        "the help window's OK did not bring the main window back");
  Click(s.Main(f1::kLabel10));
  return "Option=0";
}

// The runs: the settings planted first, what stands in the program's way,
// the arguments, what is done with the windows (nothing: the run ends by
// itself), the command lines that must run and between which seconds after
// the start the program must end, the settings it must have stored and its
// exit code (the README lists them).
enum class Obstacle { kNone, kShutdownCommandAway, kElsewhere };
struct Scenario {
  const char *name, *planted;
  Obstacle obstacle;
  const char* arguments;
  std::string (*work)(Run&);
  const char* recorded;
  double earliest, latest;
  const char* stored;
  DWORD exitCode;
};
const Scenario kScenarios[] = {
    {"windows",
     "PositionX=7320,PositionY=2400,Operation=1,Time Out=3000,Option=0,Force Close=1,Always Top=0",
     Obstacle::kNone, "", WorkTheWindows, "Shutdown -a\n", 0, 30,
     "Time Out=5700,Option=2,Operation=1,Force Close=1,Always Top=1", 0},
    {"screen-reader", "", Obstacle::kNone, "-t3000 -o0", ReadAndPress, "Shutdown -a\n", 0, 30,
     "Time Out=3000,Option=0", 0},
    {"restart", "Option=0", Obstacle::kNone, "-t4 -r", nullptr, "Shutdown -r -t 0\n", 3, 9,
     "Operation=1,CPU Usage=2,Time Out=4,Option=0,Force Close=0,Always Top=1", 0},
    // Without the system's shutdown command the program still ends in time,
    // having stored its settings first, and says that nothing was started.
    {"shutdown-command-missing", "Option=0", Obstacle::kShutdownCommandAway, "-t4 -r", nullptr, "",
     3, 9, "Operation=1,Time Out=4", 1},
    // A stored operation that is no entry of the list: nothing runs, and the
    // exit code says so.
    {"no-operation", "Option=0,Operation=-1", Obstacle::kNone, "-t4", nullptr, "", 3, 9,
     "Operation=-1,Time Out=4", 2},
    // Characters that only look like a dash or a switch letter (fullwidth
    // dash and h, a hyphen, a fullwidth l) select nothing; -r is the one
    // real switch, and it outranks hibernation, so none can start it.
    {"look-alike-switches", "Option=0", Obstacle::kNone, "-t4 \uFF0D\uFF48 \u2010h -\uFF4C -r",
     nullptr, "Shutdown -r -t 0\n", 3, 9, "Operation=1", 0},
    {"forged-messages", "Option=0", Obstacle::kNone, "-t600", ForgeMessages, "Shutdown -a\n", 0, 30,
     "Time Out=600", 0},
    // A copy of the program in a folder whose name holds "-l" (built by
    // tests/windows/CMakeLists.txt), started by an unquoted command line: the
    // switches come only from after its path. Beside it are libraries under
    // the names of system libraries that are not known ones, which Windows
    // looks for beside a program first (as Wine does here with native ones
    // first, set where the scenario starts): none may be loaded.
    {"program-elsewhere", "Option=0", Obstacle::kElsewhere, "-t4", nullptr, "Shutdown -s -t 0\n", 3,
     9, "Operation=0", 0},
};

void RunScenario(const std::string& exe, const Scenario& row) {
  char overrides[4096] = {}, driver[MAX_PATH] = {};
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  const std::string folder = std::string(driver, std::strrchr(driver, '\\')) + "\\My Apps-l\\";
  DeleteFileA((folder + "loaded.txt").c_str());
  PlantDwords(row.planted);
  Check(row.obstacle != Obstacle::kShutdownCommandAway ||
            MoveFileExA(ShutdownCommand().c_str(), ShutdownCommand(".away").c_str(), 0) != FALSE,
        "cannot move the shutdown command away");
  Check(row.obstacle != Obstacle::kElsewhere ||
            std::strstr(overrides, "pdh,powrprof,uxtheme,bcrypt,crypt32=n,b") != nullptr,
        "WINEDLLOVERRIDES does not put the planted libraries first (run it through ctest)");
  std::string stored = row.stored;
  {
    const bool elsewhere = row.obstacle == Obstacle::kElsewhere;
    Run s(elsewhere ? folder + "quellor.exe" : exe, row.arguments, !elsewhere);
    if (row.work != nullptr) stored += "," + row.work(s);
    s.ExpectEnd(row.earliest, row.latest, row.exitCode, row.recorded);
  }
  MoveFileExA(ShutdownCommand(".away").c_str(), ShutdownCommand().c_str(), 0);
  ExpectDwords(stored);
  CheckEqual("planted libraries loaded", ReadWhole(folder + "loaded.txt"), "");
}

std::string Selection(HWND top, int id) {
  const HWND box = Control(top, id);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread);
  DWORD start = 0, end = 0;
  Send(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return (thread.hwndFocus == box ? "focused " : "unfocused ") + std::to_string(start) + " " +
         std::to_string(end);
}

// High contrast for the running program: the hook, loaded into it, answers
// on (Wine answers off whatever is set) and sets a high-contrast scheme,
// which lasts until the session's Wine server ends.
void TurnHighContrastOn() {
  char hook[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, hook, MAX_PATH);
  std::strcpy(std::strrchr(hook, '\\'), "\\high_contrast_hook.dll");
  DWORD id = 0;
  GetWindowThreadProcessId(ShownWindow(ids::kForm1Class), &id);
  const HANDLE program = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
  Check(program != nullptr, "the program does not run");
  void* remote = VirtualAllocEx(program, nullptr, sizeof hook, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(program, remote, hook, sizeof hook, nullptr);
  const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  const HANDLE loader = CreateRemoteThread(program, nullptr, 0, load, remote, 0, nullptr);
  Check(loader != nullptr && WaitForSingleObject(loader, 5000) == WAIT_OBJECT_0,
        "cannot load the hook into the program");
  CloseHandle(loader);
  CloseHandle(program);
}

int Main(const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "run" && args.size() == 3) {
    const Scenario* row = std::find_if(std::begin(kScenarios), std::end(kScenarios),
                                       [&](const Scenario& f) { return args[1] == f.name; });
    Check(row != std::end(kScenarios), "no scenario " + args[1]);
    PrepareCleanState();
    RunScenario(args[2], *row);
    std::printf("PASS %s\n", args[1].c_str());
  } else if (command == "prepare" && args.size() == 1) {
    PrepareCleanState();
  } else if (command == "wait-window" && args.size() == 2) {
    Check(WaitUntil([&] { return ShownWindow(args[1].c_str()); }, 15), "no window " + args[1]);
  } else if (command == "click" && args.size() == 3) {
    Click(Control(ShownWindow(args[1].c_str()), std::atoi(args[2].c_str())));
  } else if (command == "place" && args.size() == 3) {
    PlantDwords("PositionX=" + args[1] + ",PositionY=" + args[2]);
  } else if (command == "selection" && args.size() == 3) {
    std::puts(Selection(ShownWindow(args[1].c_str()), std::atoi(args[2].c_str())).c_str());
  } else if (command == "high-contrast" && args.size() == 1) {
    TurnHighContrastOn();
  } else if (command == "recorded" && args.size() == 1) {
    std::fputs(ReadWhole(RecorderFile()).c_str(), stdout);
  } else {
    std::printf("usage: see the head of tests/windows/driver.cpp\n");
    return 2;
  }
  return 0;
}

}  // namespace
}  // namespace quellor::wintest

int main(int argc, char** argv) {
  try {
    return quellor::wintest::Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    std::printf("FAIL: %s\n", failure.what());
    return 1;
  }
}
