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
#include <sstream>
#include <stdexcept>
#include <string>
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

// Waits up to `seconds` for `condition` to give something true, and gives
// that; fails with `failure` unless it is empty, when the wait ran out.
template <typename Condition>
auto Await(const Condition& condition, const std::string& failure, double seconds = 3) {
  for (double waited = 0; waited < seconds && !condition(); waited += 0.05) Sleep(50);
  const auto value = condition();
  Check(value || failure.empty(), failure);
  return value;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// A file beside this driver.
std::string Beside(const std::string& name) {
  char driver[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  return std::string(driver, std::strrchr(driver, '\\') + 1) + name;
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
  Process(const std::string& application, const std::string& commandLine)
      : start_(GetTickCount64()) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // what it writes is not wanted here
    std::wstring text = Wide(commandLine);
    Check(CreateProcessW(Wide(application).c_str(), text.data(), nullptr, nullptr, FALSE,
                         CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info_) != FALSE,
          "cannot start " + application);
  }
  ~Process() { TerminateProcess(info_.hProcess, 1); }  // the driver ends soon after
  // Its exit code once it has ended, waiting up to `seconds`; STILL_ACTIVE
  // while it runs.
  DWORD ExitCodeWithin(double seconds) const {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(std::max(0.0, seconds) * 1000));
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  double Elapsed() const { return static_cast<double>(GetTickCount64() - start_) / 1000; }

 private:
  ULONGLONG start_;
  PROCESS_INFORMATION info_{};
};

// Fails unless the system's shutdown command is the recorder: it carries the
// recorder's identity text (checked before it is run) and answers as the
// recorder.
void RequireRecorder() {
  const std::string refusal =
      ShutdownCommand() + " is not the shutdown recorder: run this through scripts/wine-session.sh";
  Check(ReadWhole(ShutdownCommand()).find(kIdentity) != std::string::npos, refusal);
  const Process recorder(ShutdownCommand(), "shutdown.exe " + std::string(kIdentifyArgument));
  Check(recorder.ExitCodeWithin(10) == kIdentityExitCode, refusal);
}

constexpr const char* kSettingsKey = "Software\\Quellor\\Settings";

// Each setting of `list` ("Name=1,Other Name=2") must be a stored REG_DWORD
// of that value; with `plant`, it is stored first.
void Dwords(const std::string& list, bool plant) {
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    const std::string name = item.substr(0, item.find('='));
    const std::int32_t value = std::stoi(item.substr(item.find('=') + 1));
    if (plant) RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), REG_DWORD, &value, 4);
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

// A window or control of the program, seen from this process.
struct Window {
  HWND hwnd = nullptr;

  // Its control of that identifier (a window just shown may still be
  // creating its controls).
  Window operator[](int id) const {
    return {Await([&] { return GetDlgItem(hwnd, id); }, "no control " + std::to_string(id), 2)};
  }
  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const {
    DWORD_PTR result = 0;
    Check(SendMessageTimeoutA(hwnd, message, w, l, SMTO_ABORTIFHUNG, 5000, &result) != 0,
          "the program does not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
  }
  void Post(UINT message, WPARAM w = 0, LPARAM l = 0) const { PostMessageA(hwnd, message, w, l); }
  std::string Text() const {
    char text[256] = {};
    Send(WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  bool Ticked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  bool OnTop() const { return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  bool Shown() const { return IsWindowVisible(hwnd) != FALSE; }
  RECT Rect() const {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
  }
  void Click() const {
    RECT client{};
    GetClientRect(hwnd, &client);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, client.bottom / 2));
    Post(WM_LBUTTONUP, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
  }
  // Replaces its text with `text`, typed key by key.
  void Type(const std::string& text) const {
    Send(EM_SETSEL, 0, -1);
    for (const char c : text) Post(WM_CHAR, static_cast<WPARAM>(c), 1);
  }
};

// The shown top-level window of that class, or null.
HWND ShownWindow(const std::string& className) {
  const HWND found = FindWindowA(className.c_str(), nullptr);
  return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

Window WaitForWindow(const std::string& className, double seconds = 10) {
  return {Await([&] { return ShownWindow(className); }, "no window " + className, seconds)};
}

// A window's place on the screen in twips, as the program stores it.
std::string TwipsAt(Window window) {
  const HDC screen = GetDC(nullptr);
  const int twipsPerPixel = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return "PositionX=" + std::to_string(window.Rect().left * twipsPerPixel) +
         ",PositionY=" + std::to_string(window.Rect().top * twipsPerPixel);
}

// What a screen reader reads of each control (role, name, default action and
// "unavailable" when the state says so), from this process; then the last
// one's default action is done.
void ExpectAloud(Window window, std::initializer_list<std::pair<int, std::string>> rows) {
  for (const auto* row = rows.begin(); row != rows.end(); ++row) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window[row->first].hwnd, static_cast<DWORD>(OBJID_CLIENT),
                               __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    Check(object != nullptr, "no accessible object for control " + std::to_string(row->first));
    VARIANT self{}, role{}, state{};
    self.vt = VT_I4;  // lVal 0: the control itself (CHILDID_SELF)
    BSTR name = nullptr, action = nullptr;
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->get_accName(self, &name);
    object->get_accDefaultAction(self, &action);
    const bool unavailable = (state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0;
    const std::wstring read = std::to_wstring(role.lVal) + L' ' + (name ? name : L"") + L' ' +
                              (action ? action : L"") + (unavailable ? L" unavailable" : L"");
    SysFreeString(name);
    SysFreeString(action);
    CheckEqual("read aloud", std::string(read.begin(), read.end()), row->second);
    // The last is pressed: it works when it is available, and only then.
    Check(row + 1 != rows.end() || SUCCEEDED(object->accDoDefaultAction(self)) != unavailable,
          "pressing did not do as the state says");
    object->Release();
  }
}

// ---------------------------------------------------------------------------
// The scenarios that work the windows; each ends the run by Abort and gives
// settings that the run must have stored beside those of its row.

// A screen reader reads the label buttons and presses "?", help's OK and
// Abort.
std::string ReadAndPress(Window main) {
  CoInitialize(nullptr);
  const std::string button = std::to_string(ROLE_SYSTEM_PUSHBUTTON) + " ";
  ExpectAloud(main, {{f1::kLabel9, button + "Set Timer Press"},
                     {f1::kLabel3, std::to_string(ROLE_SYSTEM_STATICTEXT) + " Time out "},
                     {f1::kLabel12, button + "? Press"}});
  const Window help = WaitForWindow(ids::kForm2Class);
  Await([&] { return !main.Shown(); }, "help left the main window shown");
  ExpectAloud(help, {{f2::kLabel5, button + "Online Help Press"},
                     {f2::kLabel1, button + "OK Press unavailable"},
                     {f2::kLabel2, button + "OK Press"}});
  Await([&] { return GetForegroundWindow() == main.hwnd && !ShownWindow(ids::kForm2Class); },
        "help's OK did not bring the main window back, active");
  ExpectAloud(main, {{f1::kLabel10, button + "Abort Press"}});
  return "";
}

// The real windows: stored settings come back in them, the mouse and the
// keyboard work them; gives where the main window stood at the end.
std::string WorkTheWindows(Window main) {
  const Window countdown = main[f1::kLabel3];
  const auto on = [](bool on) { return on ? " on" : " off"; };
  CheckEqual("the stored settings shown (place, countdown, operation, force, on top)",
             TwipsAt(main) + " " + countdown.Text() + " " + main[f1::kCombo1].Text() +
                 on(main[f1::kCheck1].Ticked()) + on(main[f1::kCheck2].Ticked() || main.OnTop()),
             "PositionX=7320,PositionY=2400 00:50:00 Restart on off");

  // Clicked, the selected method takes the focus; the Down key then goes
  // down the methods, selecting as it goes.
  main[f1::kOption1].Click();
  for (const int to : {1, 2}) {
    main[f1::kOption1].Post(WM_KEYDOWN, VK_DOWN);
    Await([&] { return main[f1::kOption1 + to].Ticked(); },
          "the Down key did not select method " + std::to_string(to), 2);
  }

  // Set Timer: the dialog hangs under the main window, and where either
  // window was moved, the other follows at the next mouse move over it. (The
  // system's own move loop is not driven: the window is moved as it moves
  // it, then the mouse moves.)
  main[f1::kLabel9].Click();
  const Window dialog = WaitForWindow(ids::kForm3Class);
  const auto docked = [&] {
    return std::labs(dialog.Rect().left - main.Rect().left) <= 1 &&
           std::labs(dialog.Rect().top - main.Rect().bottom) <= 1;
  };
  for (const Window mover : {main, dialog}) {
    SetWindowPos(mover.hwnd, nullptr, mover.Rect().left + 40, mover.Rect().top + 30, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    mover.Post(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Await(docked, mover.hwnd == main.hwnd ? "the dialog did not follow the main window"
                                          : "the main window did not follow the dialog");
  }
  main[f1::kCheck2].Click();
  Await([&] { return main.OnTop() && dialog.OnTop(); }, "Always on top left a window under", 2);
  dialog[f3::kText1].Type("1");
  dialog[f3::kText2].Type("35");
  dialog[f3::kLabel5].Click();
  Await([&] { return countdown.Text() == "01:35:00"; }, "1 h 35 min and OK did not set 01:35:00");

  // Help hides the main window; closed by a WM_CLOSE that another program
  // sends, it gives back a shown, usable, ticking main window.
  main[f1::kLabel12].Click();
  WaitForWindow(ids::kForm2Class).Send(WM_CLOSE);
  Await(
      [&] { return main.Shown() && IsWindowEnabled(main.hwnd) && !ShownWindow(ids::kForm2Class); },
      "the main window is not back and usable after help was closed from outside");
  Await([&] { return countdown.Text() != "01:35:00"; }, "the countdown does not tick after help");
  // Minimised, the window stands off the screen: no place to store.
  const std::string where = TwipsAt(main);
  ShowWindow(main.hwnd, SW_MINIMIZE);
  Await([&] { return IsIconic(main.hwnd) != FALSE; }, "the window did not minimise", 2);
  main[f1::kLabel10].Click();
  return where;
}

// Messages another program can send that claim what did not happen: 600
// ticks of the one-second timer within a second, a change of resolution whose
// lParam is no rectangle, a click on the help window's hidden OK that ends
// the program. None may act.
std::string ForgeMessages(Window main) {
  for (int i = 0; i < 600; ++i) main.Post(WM_TIMER, 1);
  main.Post(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), 0x1234);
  Sleep(1500);
  Check(IsWindow(main.hwnd), "the program ended on the forged ticks or change of resolution");
  const std::string left = main[f1::kLabel3].Text();
  Check(left >= "00:09:57", "600 forged ticks took the countdown to " + left);

  main[f1::kLabel12].Click();
  const Window help = WaitForWindow(ids::kForm2Class), hiddenOk = help[f2::kLabel1];
  Check(!hiddenOk.Shown(), "the help window's ending OK shows");
  help.Post(WM_COMMAND, MAKEWPARAM(f2::kLabel1, STN_CLICKED),
            reinterpret_cast<LPARAM>(hiddenOk.hwnd));
  Sleep(1000);
  Check(IsWindow(help.hwnd), "a forged click on the hidden OK ended the program");
  help[f2::kLabel2].Click();
  Await([&] { return main.Shown(); }, "the help window's OK did not bring the main window back");
  main[f1::kLabel10].Click();
  return "";
}

// The program under test, started by the scenario.
std::string running;

// Started again while it counts, minimised: the second start brings it back
// and ends with 4, having run and stored nothing.
std::string StartAgain(Window main) {
  ShowWindow(main.hwnd, SW_MINIMIZE);
  const Process second(running, '"' + running + "\" -t4 -o0 -r");
  CheckEqual("the second start's exit code", std::to_string(second.ExitCodeWithin(10)), "4");
  Check(IsIconic(main.hwnd) == FALSE, "the second start did not restore the counting one");
  main[f1::kLabel10].Click();
  return "";
}

// Started for help alone, the main window hidden and disabled behind it:
// forged clicks on its Set Timer (the label's own message, a screen reader's
// default action) open no timer dialog, whose Cancel would start the tick.
std::string ForgeBehindHelp(Window help) {
  const Window main{FindWindowA(ids::kForm1Class, nullptr)};
  main.Post(WM_COMMAND, MAKEWPARAM(f1::kLabel9, STN_CLICKED),
            reinterpret_cast<LPARAM>(main[f1::kLabel9].hwnd));
  CoInitialize(nullptr);
  ExpectAloud(main, {{f1::kLabel9,
                      std::to_string(ROLE_SYSTEM_PUSHBUTTON) + " Set Timer Press unavailable"}});
  Check(!Await([] { return FindWindowA(ids::kForm3Class, nullptr); }, "", 1), "Set Timer opened");
  help[f2::kLabel1].Click();
  return "";
}

// The runs: the settings planted first (unless a row says otherwise, the
// Timer method), whether the shutdown command is moved away or a copy of the
// program elsewhere is run, the arguments (-t4), what is done with the windows
// (nothing: the run ends by itself 3 to 9 s after its start; else it ends by
// Abort within 30 s), the command lines that must run (Abort's), the
// settings it must have stored and its exit code (0; the README lists them).
struct Scenario {
  const char *name, *planted = "Option=0";
  bool shutdownCommandAway = false, elsewhere = false;
  const char* arguments = "-t4";
  std::string (*work)(Window main) = nullptr;
  const char* window = ids::kForm1Class;  // the window that work is given
  const char *recorded = "Shutdown -a\n", *stored;
  DWORD exitCode = 0;
};
// clang-format off
const Scenario kScenarios[] = {
    {.name = "windows",
     .planted = "PositionX=7320,PositionY=2400,Operation=1,Time Out=3000,Option=0,Force Close=1,Always Top=0",
     .arguments = "", .work = WorkTheWindows, .stored = "Time Out=5700,Option=2,Operation=1,Force Close=1,Always Top=1"},
    {.name = "screen-reader", .planted = "", .arguments = "-t3000 -o0", .work = ReadAndPress,
     .stored = "Time Out=3000,Option=0,CPU Usage=2"},
    {.name = "restart", .arguments = "-t4 -r", .recorded = "Shutdown -r -t 0\n",
     .stored = "Operation=1,CPU Usage=2,Time Out=4,Option=0,Force Close=0,Always Top=1"},
    // Without the system's shutdown command the program still ends in time,
    // having stored its settings first, and says that nothing was started.
    {.name = "shutdown-command-missing", .shutdownCommandAway = true, .arguments = "-t4 -r", .recorded = "",
     .stored = "Operation=1,Time Out=4", .exitCode = 1},
    // A stored operation that is no entry of the list: nothing runs, and the
    // exit code says so.
    {.name = "no-operation", .planted = "Option=0,Operation=-1", .recorded = "", .stored = "Operation=-1,Time Out=4", .exitCode = 2},
    // Characters that only look like a dash or a switch letter (fullwidth
    // dash and h, a hyphen, a fullwidth l) select nothing; -r is the one
    // real switch, and it outranks hibernation, so none can start it.
    {.name = "look-alike-switches", .arguments = "-t4 \uFF0D\uFF48 \u2010h -\uFF4C -r", .recorded = "Shutdown -r -t 0\n",
     .stored = "Operation=1"},
    {.name = "forged-messages", .arguments = "-t600", .work = ForgeMessages, .stored = "Time Out=600,Option=0"},
    {.name = "second-start", .arguments = "-t600", .work = StartAgain, .stored = "Time Out=600,Operation=0"},
    // Stored settings that would restart 10 s after a Cancel in the timer dialog.
    {.name = "help-start", .planted = "Option=0,Operation=1,Time Out=10", .arguments = "-?", .work = ForgeBehindHelp,
     .window = ids::kForm2Class, .recorded = "", .stored = "Option=0,Operation=1,Time Out=10"},
    // A copy of the program in a folder whose name holds "-l" (built by
    // tests/windows/CMakeLists.txt), started by an unquoted command line: the
    // switches come only from after its path. Beside it are libraries under
    // the names of system libraries that are not known ones, which Windows
    // looks for beside a program first (as Wine does here with native ones
    // first, set where the scenario starts): none may be loaded.
    {.name = "program-elsewhere", .elsewhere = true, .recorded = "Shutdown -s -t 0\n", .stored = "Operation=0"}};
// clang-format on

void RunScenario(const std::string& name, const std::string& exe) {
  const auto* found = std::find_if(std::begin(kScenarios), std::end(kScenarios),
                                   [&](const Scenario& s) { return name == s.name; });
  Check(found != std::end(kScenarios), "no scenario " + name);
  const Scenario& row = *found;
  PrepareCleanState();
  const std::string program = running = row.elsewhere ? Beside("My Apps-l\\quellor.exe") : exe;
  const std::string loaded = Beside("My Apps-l\\loaded.txt");
  const char* overrides = std::getenv("WINEDLLOVERRIDES");
  Check(!row.elsewhere || std::strstr(overrides ? overrides : "",
                                      "pdh,powrprof,uxtheme,bcrypt,crypt32=n,b") != nullptr,
        "WINEDLLOVERRIDES does not put the planted libraries first (run it through ctest)");
  DeleteFileA(loaded.c_str());
  Dwords(row.planted, true);
  Check(!row.shutdownCommandAway ||
            MoveFileExA(ShutdownCommand().c_str(), ShutdownCommand(".away").c_str(), 0) != FALSE,
        "cannot move the shutdown command away");
  std::string stored = row.stored;
  const Process run(program, (row.elsewhere ? program : '"' + program + '"') + " " + row.arguments);
  std::printf("  started %s %s\n", program.c_str(), row.arguments);
  if (row.work != nullptr) stored += "," + row.work(WaitForWindow(row.window));
  // The program ends right after starting its command.
  const double earliest = row.work ? 0 : 3, latest = row.work ? 30 : 9;
  const DWORD code = run.ExitCodeWithin(latest - run.Elapsed());
  Check(code == row.exitCode && run.Elapsed() >= earliest,
        "exit code " + std::to_string(code) + " at " + std::to_string(run.Elapsed()) +
            " s, expected " + std::to_string(row.exitCode) + " between " +
            std::to_string(earliest) + " and " + std::to_string(latest) + " s");
  // The recorder is a process of its own; give it time to write its line,
  // and anything started late time to show up.
  Await([&] { return ReadWhole(RecorderFile()) == row.recorded; }, "", 3);
  Sleep(500);
  CheckEqual("command lines run", ReadWhole(RecorderFile()), row.recorded);
  MoveFileExA(ShutdownCommand(".away").c_str(), ShutdownCommand().c_str(), 0);
  Dwords(stored, false);
  CheckEqual("planted libraries loaded", ReadWhole(loaded), "");
  std::printf("PASS %s\n", row.name);
}

// Prints whether that window's text box has the focus, and its selection.
void PrintSelection(const std::string& windowClass, const std::string& id) {
  const Window box = WaitForWindow(windowClass)[std::stoi(id)];
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(box.hwnd, nullptr), &thread);
  DWORD start = 0, end = 0;
  box.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::printf("%s %lu %lu\n", thread.hwndFocus == box.hwnd ? "focused" : "unfocused", start, end);
}

// High contrast for the running program: the hook, loaded into it, answers
// on (Wine answers off whatever is set) and sets a high-contrast scheme,
// which lasts until the session's Wine server ends.
void TurnHighContrastOn() {
  const std::string hook = Beside("high_contrast_hook.dll");
  DWORD id = 0;
  GetWindowThreadProcessId(ShownWindow(ids::kForm1Class), &id);
  const HANDLE program = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
  Check(program != nullptr, "the program does not run");
  void* remote = VirtualAllocEx(program, nullptr, hook.size() + 1, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(program, remote, hook.c_str(), hook.size() + 1, nullptr);
  const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  const HANDLE loader = CreateRemoteThread(program, nullptr, 0, load, remote, 0, nullptr);
  Check(loader != nullptr && WaitForSingleObject(loader, 5000) == WAIT_OBJECT_0,
        "cannot load the hook into the program");
  CloseHandle(loader);
  CloseHandle(program);
}

// The commands, by name and number of arguments.
using Args = std::vector<std::string>;
const struct Command {
  const char* name;
  std::size_t arguments;
  void (*act)(const Args& a);
} kCommands[] = {
    {"run", 2, [](const Args& a) { RunScenario(a[1], a[2]); }},
    {"prepare", 0, [](const Args&) { PrepareCleanState(); }},
    {"wait-window", 1, [](const Args& a) { WaitForWindow(a[1], 15); }},
    {"click", 2, [](const Args& a) { WaitForWindow(a[1])[std::stoi(a[2])].Click(); }},
    {"place", 2, [](const Args& a) { Dwords("PositionX=" + a[1] + ",PositionY=" + a[2], true); }},
    {"selection", 2, [](const Args& a) { PrintSelection(a[1], a[2]); }},
    {"high-contrast", 0, [](const Args&) { TurnHighContrastOn(); }},
    {"recorded", 0, [](const Args&) { std::fputs(ReadWhole(RecorderFile()).c_str(), stdout); }},
};

}  // namespace
}  // namespace quellor::wintest

int main(int argc, char** argv) {
  using namespace quellor::wintest;
  const Args args(argv + 1, argv + argc);
  for (const Command& command : kCommands) {
    if (args.size() != command.arguments + 1 || args[0] != command.name) continue;
    try {
      command.act(args);
      return 0;
    } catch (const std::exception& failure) {
      std::printf("FAIL: %s\n", failure.what());
      return 1;
    }
  }
  std::printf("usage: see the head of tests/windows/driver.cpp\n");
  return 2;
}
