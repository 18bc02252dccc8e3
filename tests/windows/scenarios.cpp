// The scenarios of the Windows tests, and the driver's entry point.
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
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include <powrprof.h>

#include "common/control_ids.h"
#include "driver.h"

namespace quellor::wintest {
namespace {

namespace f1 = ids::form1;
namespace f2 = ids::form2;
namespace f3 = ids::form3;

using Scenario = void (*)(const std::string& program);

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

// Exactly these command lines were run, each once, in this order.
void CheckRecorded(const std::vector<std::string>& expected) {
  std::string joined;
  for (const std::string& line : expected) joined += line + "\n";
  CheckEqual("command lines run", ReadRecorder(), joined);
}

void CheckFiredBetween(double seconds, double earliest, double latest) {
  Note("the command ran " + Seconds(seconds) + " after the start");
  Check(seconds >= earliest && seconds <= latest,
        "the command ran " + Seconds(seconds) + " after the start, expected between " +
            Seconds(earliest) + " and " + Seconds(latest));
}

// Clicks Abort and expects "Shutdown -a" and the end of the program.
void AbortAndCheck(Program& program, HWND form1) {
  Click(Control(form1, f1::kLabel10, "Label10 (Abort)"));
  Check(program.WaitForExit(5), "the program did not end within 5 s of Abort");
  WaitUntil([] { return !ReadRecorder().empty(); }, 3);
  Pause(0.5);
  CheckRecorded({"Shutdown -a"});
}

// Reads the countdown display as a number of seconds.
long CountdownShown(HWND form1) {
  const std::string text = Text(Control(form1, f1::kLabel3, "Label3"));
  int h = 0, m = 0, s = 0;
  Check(std::sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s) == 3,
        "the countdown display reads " + Shown(text));
  return h * 3600L + m * 60L + s;
}

// A countdown that fires: the command line, and when it ran.
void RunToFiring(const std::string& exe, const std::string& arguments, const std::string& first,
                 const std::string& expected, double earliest, double latest) {
  PrepareCleanState();
  Program program(exe);
  program.Start(arguments);
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  CheckEqual("countdown display at the start", Text(Control(form1, f1::kLabel3, "Label3")), first);
  CheckFiredBetween(program.WaitForFiring(latest + 6), earliest, latest);
  CheckRecorded({expected});
}

// ---------------------------------------------------------------------------
// The main window, the countdown, the operation, Abort

void MainWindowCaptions(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  CheckEqual("main window caption", Text(form1), "Quellor");
  const struct {
    int id;
    const char* name;
    const char* caption;
  } kCaptions[] = {
      {f1::kLabel8, "Label8", "Quellor"},
      {f1::kLabel2, "Label2", "Computer Operation :"},
      {f1::kLabel6, "Label6", "CPU Usage :"},
      {f1::kLabel7, "Label7", "Time out:"},
      {f1::kCheck1, "Check1", "Force close"},
      {f1::kCheck2, "Check2", "Always on top"},
      {f1::kLabel3, "Label3", "00:50:00"},
      {f1::kLabel1, "Label1", "hh:mm:ss"},
      {f1::kFrame2, "Frame2", "Shutdown Methods"},
      {f1::kOption1 + 0, "Option1(0)", "Timer"},
      {f1::kOption1 + 1, "Option1(1)", "CPU Idle Only"},
      {f1::kOption1 + 2, "Option1(2)", "Timer AND CPU"},
      {f1::kOption1 + 3, "Option1(3)", "Timer OR CPU"},
      {f1::kLabel4, "Label4", "% CPU Usage"},
      {f1::kText2, "Text2", "2"},
      {f1::kLabel9, "Label9", "Set Timer"},
      {f1::kLabel12, "Label12", "?"},
      {f1::kLabel10, "Label10", "Abort"},
  };
  for (const auto& expected : kCaptions) {
    CheckEqual(std::string(expected.name) + " caption",
               Text(Control(form1, expected.id, expected.name)), expected.caption);
  }
  Control(form1, f1::kFrame1, "Frame1");
  Control(form1, f1::kLabel5, "Label5");

  // The operations, Hibernate only where the system allows it (Wine does).
  std::vector<std::string> operations = {"Shutdown", "Restart", "Log Off"};
  if (IsPwrHibernateAllowed()) operations.emplace_back("Hibernate");
  const std::vector<std::string> items = ComboItems(Control(form1, f1::kCombo1, "Combo1"));
  auto listed = [](const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& item : list) out += (out.empty() ? "" : ", ") + item;
    return out;
  };
  Check(items == operations,
        "the operation list holds " + listed(items) + ", expected " + listed(operations));
  CheckEqual("selected operation", Text(Control(form1, f1::kCombo1, "Combo1")), "Shutdown");

  // -o0 selects Timer and disables the threshold box; no -f clears force close.
  Check(CheckState(Control(form1, f1::kOption1, "Option1(0)")) == BST_CHECKED,
        "Option1(0) is not selected");
  for (int i = 1; i < 4; ++i) {
    Check(CheckState(Control(form1, f1::kOption1 + i, "Option1")) == BST_UNCHECKED,
          "Option1(" + std::to_string(i) + ") is selected too");
  }
  Check(!Enabled(Control(form1, f1::kText2, "Text2")), "Text2 is enabled with method Timer");
  Check(CheckState(Control(form1, f1::kCheck1, "Check1")) == BST_UNCHECKED,
        "Force close is ticked although -f is absent");
  Check(CheckState(Control(form1, f1::kCheck2, "Check2")) == BST_CHECKED,
        "Always on top is not ticked on a first run");
  Check((GetWindowLongA(form1, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
        "the main window is not on top although Always on top is ticked");

  // Nothing is run while the program merely runs. Meanwhile the usage
  // display shows a sample with two decimals (Wine has the counter).
  Pause(1.5);
  CheckRecorded({});
  const std::string usage = Text(Control(form1, f1::kLabel5, "Label5"));
  double percent = -1;
  char sign = 0;
  int consumed = 0;
  const bool read = std::sscanf(usage.c_str(), "%lf%c%n", &percent, &sign, &consumed) == 2;
  const std::size_t point = usage.find('.');
  Check(read && sign == '%' && consumed == static_cast<int>(usage.size()) && percent >= 0 &&
            percent <= 100 && point != std::string::npos && usage.size() - point == 4,
        "the usage display reads " + Shown(usage) + ", expected a percentage like 3.25%");
  program.Terminate();
}

void CountdownRestart(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t15 -o0 -r");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  CheckEqual("countdown display at the start", Text(Control(form1, f1::kLabel3, "Label3")),
             "00:00:15");
  CheckEqual("selected operation", Text(Control(form1, f1::kCombo1, "Combo1")), "Restart");
  const double shownAt = program.Elapsed();
  Pause(4);
  // Four seconds later the display has counted four ticks, give or take one.
  const long left = CountdownShown(form1);
  const long ticks = 15 - left;
  Note("after " + Seconds(program.Elapsed() - shownAt) + " the display shows " +
       std::to_string(left) + " s left");
  Check(ticks >= 3 && ticks <= 5,
        "the countdown went down by " + std::to_string(ticks) + " in 4 s, expected about 4");
  CheckFiredBetween(program.WaitForFiring(25), 13, 19);
  CheckRecorded({"Shutdown -r -t 0"});
}

void CountdownRaisedByMethod(const std::string& exe) {
  // -o0 changes the method from the design's Timer AND CPU, which raises a
  // countdown under 10 seconds to 10.
  RunToFiring(exe, "-t3 -o0 -r", "00:00:10", "Shutdown -r -t 0", 8, 14);
}

void LogOffForced(const std::string& exe) {
  RunToFiring(exe, "-o0 -t12 -l -f", "00:00:12", "Shutdown -l -f", 10, 16);
}

void LogOffPlain(const std::string& exe) {
  RunToFiring(exe, "-o0 -t10 -l", "00:00:10", "Shutdown -l", 8, 14);
}

void ShutdownForced(const std::string& exe) {
  RunToFiring(exe, "-t10 -f -o0", "00:00:10", "Shutdown -s -f -t 0", 8, 14);
}

void CpuIdleFires(const std::string& exe) {
  // A stored threshold is not range-checked: at 1000 % every sample is
  // under it, so "CPU Idle Only" fires in the thirtieth tick, long before
  // the countdown would.
  PrepareCleanState();
  PlantDword("CPU Usage", 1000);
  Program program(exe);
  program.Start("-o1 -t3000 -r");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  CheckEqual("threshold", Text(Control(form1, f1::kText2, "Text2")), "1000");
  Check(Enabled(Control(form1, f1::kText2, "Text2")), "Text2 is disabled with CPU Idle Only");
  Pause(20);
  const long left = CountdownShown(form1);
  Check(program.Running(), "the program ended before 30 idle ticks could have passed");
  Check(left >= 2976 && left <= 2982,
        "after 20 s the countdown shows " + std::to_string(left) + " s, expected about 2980");
  CheckFiredBetween(program.WaitForFiring(30), 28, 37);
  CheckRecorded({"Shutdown -r -t 0"});
  CheckDwordSetting("Option", 1);
  CheckDwordSetting("Time Out", 3000);
}

void Abort(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  Pause(2.5);
  const long left = CountdownShown(form1);
  Check(left >= 2996 && left <= 2998,
        "the countdown shows " + std::to_string(left) + " s left after 2.5 s, expected 2997");
  AbortAndCheck(program, form1);
  // Abort stores the settings: the countdown length, not the time left.
  CheckDwordSetting("Time Out", 3000);
  CheckDwordSetting("Option", 0);
  CheckDwordSetting("Operation", 0);
  CheckDwordSetting("Force Close", 0);
}

// ---------------------------------------------------------------------------
// The timer dialog

HWND OpenTimerDialog(Program& program, HWND form1) {
  Click(Control(form1, f1::kLabel9, "Label9 (Set Timer)"));
  const HWND form3 = program.WaitForWindow(ids::kForm3Class, 5);
  // It docks under the main window, as wide as it.
  const RECT main = ScreenRect(form1);
  const RECT dialog = ScreenRect(form3);
  // Twips to pixels may round either way.
  Check(std::labs(dialog.left - main.left) <= 1 && std::labs(dialog.top - main.bottom) <= 1,
        "the timer dialog is at " + std::to_string(dialog.left) + "," + std::to_string(dialog.top) +
            ", expected under the main window at " + std::to_string(main.left) + "," +
            std::to_string(main.bottom));
  return form3;
}

void WaitForDialogClosed(Program& program) {
  Check(WaitUntil(
            [&] {
              const HWND form3 = FindProcessWindow(program.ProcessId(), ids::kForm3Class);
              return form3 == nullptr || !Shown(form3);
            },
            3),
        "the timer dialog is still open");
}

void TimerDialogOk(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  const HWND form3 = OpenTimerDialog(program, form1);
  CheckEqual("dialog mode", Text(Control(form3, f3::kFrame1, "Frame1 of the dialog")),
             "Count down");
  // Each opening starts in count-down mode with every field at 0.
  const HWND countDown = Control(form3, f3::kOption1, "Option1 of the dialog");
  Check(WaitUntil([&] { return CheckState(countDown) == BST_CHECKED; }, 1.5),
        "the dialog's Count down button is not selected when it opens");
  Check(CheckState(Control(form3, f3::kOption2, "Option2 of the dialog")) == BST_UNCHECKED,
        "the dialog's Timer button is selected when it opens");
  CheckEqual("Option1 of the dialog", Text(Control(form3, f3::kOption1, "Option1")), "Count down");
  CheckEqual("Option2 of the dialog", Text(Control(form3, f3::kOption2, "Option2")), "Timer");
  for (const int id : {f3::kText1, f3::kText2, f3::kText3}) {
    CheckEqual("field " + std::to_string(id) + " of the dialog", Text(Control(form3, id, "Text")),
               "0");
  }
  CheckEqual("Label5 of the dialog", Text(Control(form3, f3::kLabel5, "Label5")), "OK");
  CheckEqual("Label6 of the dialog", Text(Control(form3, f3::kLabel6, "Label6")), "Cancel");
  SetText(Control(form3, f3::kText1, "Text1 (hours)"), "1");
  SetText(Control(form3, f3::kText2, "Text2 (minutes)"), "30");
  Click(Control(form3, f3::kLabel5, "Label5 (OK)"));
  const HWND label3 = Control(form1, f1::kLabel3, "Label3");
  // OK shows the new countdown at once; the resumed tick then counts on.
  Check(WaitUntil([&] { return Text(label3) == "01:30:00"; }, 3),
        "the countdown display reads " + Shown(Text(label3)) + " after OK, expected 01:30:00");
  WaitForDialogClosed(program);
  Pause(2.5);
  const long left = CountdownShown(form1);
  Check(left >= 5396 && left <= 5398,
        "2.5 s after OK the countdown shows " + std::to_string(left) + " s, expected 5397");
  AbortAndCheck(program, form1);
  CheckDwordSetting("Time Out", 5400);
}

void TimerDialogClockTime(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  const HWND form3 = OpenTimerDialog(program, form1);
  const HWND hours = Control(form3, f3::kText1, "Text1 (hours)");
  // Choosing the time-of-day mode limits the hours to 24 at once.
  SetText(hours, "30");
  Send(Control(form3, f3::kOption2, "Option2 (Timer)"), BM_CLICK);
  const HWND frame = Control(form3, f3::kFrame1, "Frame1 of the dialog");
  Check(WaitUntil([&] { return Text(frame) == "Timer"; }, 2),
        "the dialog's frame reads " + Shown(Text(frame)) + " in time-of-day mode");
  CheckEqual("hours after choosing the time-of-day mode", Text(hours), " 24");
  // One hour from now, whether or not that passes midnight.
  SYSTEMTIME now{};
  GetLocalTime(&now);
  SetText(hours, std::to_string((now.wHour + 1) % 24));
  SetText(Control(form3, f3::kText2, "Text2 (minutes)"), std::to_string(now.wMinute));
  SetText(Control(form3, f3::kText3, "Text3 (seconds)"), std::to_string(now.wSecond));
  Click(Control(form3, f3::kLabel5, "Label5 (OK)"));
  WaitForDialogClosed(program);
  const long left = CountdownShown(form1);
  Check(left >= 3597 && left <= 3600,
        "an hour from now gives a countdown of " + std::to_string(left) + " s, expected 3600");
  AbortAndCheck(program, form1);
  const long stored = DwordSetting("Time Out");
  Check(stored >= 3598 && stored <= 3600,
        "the stored countdown length is " + std::to_string(stored) + ", expected 3600");
}

void TimerDialogCancel(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  Pause(1.5);
  const HWND form3 = OpenTimerDialog(program, form1);
  const std::string before = Text(Control(form1, f1::kLabel3, "Label3"));
  SetText(Control(form3, f3::kText1, "Text1 (hours)"), "5");
  // No tick runs while the dialog is open.
  Pause(3);
  CheckEqual("countdown while the dialog is open", Text(Control(form1, f1::kLabel3, "Label3")),
             before);
  Click(Control(form3, f3::kLabel6, "Label6 (Cancel)"));
  WaitForDialogClosed(program);
  CheckEqual("countdown after Cancel", Text(Control(form1, f1::kLabel3, "Label3")), before);
  const long atCancel = CountdownShown(form1);
  Pause(2.5);
  const long left = CountdownShown(form1);
  Check(atCancel - left >= 1 && atCancel - left <= 3, "after Cancel the countdown went from " +
                                                          std::to_string(atCancel) + " to " +
                                                          std::to_string(left) + " in 2.5 s");
  AbortAndCheck(program, form1);
  CheckDwordSetting("Time Out", 3000);
}

// ---------------------------------------------------------------------------
// The help window

std::string UsageText() {
  const char* const kLines[] = {
      "Command Line Usage:",
      "quellor -[x] -f -tyy -czz -oww",
      "[x]  is l, r,  s or h, where",
      "-l  : Log off",
      "-r  : Reboot window",
      "-s  : Shutdown window",
      "-h  : Hibernate (must enable in Power Options)",
      "",
      "-f  : Forces running applications to close without warning. This will not prompt for "
      "File-Save in any open applications, so will result in a loss of all unsaved data!!!",
      "",
      "yy  : timer in secs",
      "",
      "zz  : CPU Usage in %",
      "",
      "ww  : 0 = Timer only",
      "         1 = CPU idle only",
      "         2 = Timer AND CPU idle",
      "         3 = Timer OR CPU idle",
      "",
      "-?  : Show this help menu",
      "",
      "default : -s -f -t10 -c2-o2",
  };
  std::string text;
  for (const char* line : kLines) text += (text.empty() ? "" : "\r\n") + std::string(line);
  return text;
}

void CheckHelpContent(HWND form2) {
  CheckEqual("help window caption", Text(form2), "Quellor Help");
  CheckEqual("Label3 of the help window", Text(Control(form2, f2::kLabel3, "Label3")), "Quellor");
  CheckEqual("version line", Text(Control(form2, f2::kLabel4, "Label4")), "Version :2.0.3");
  CheckEqual("usage text", Text(Control(form2, f2::kText1, "Text1")), UsageText());
  CheckEqual("Label5 of the help window", Text(Control(form2, f2::kLabel5, "Label5")),
             "Online Help");
}

void HelpFromMainWindow(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  Pause(1.5);
  Click(Control(form1, f1::kLabel12, "Label12 (?)"));
  const HWND form2 = program.WaitForWindow(ids::kForm2Class, 5);
  CheckHelpContent(form2);
  const HWND back = Control(form2, f2::kLabel2, "Label2 (OK that returns)");
  const HWND end = Control(form2, f2::kLabel1, "Label1 (OK that ends)");
  Check(Shown(back) && Enabled(back), "the returning OK is not shown and enabled");
  Check(!Shown(end) && !Enabled(end), "the ending OK is shown or enabled");
  Check(WaitUntil([&] { return !Shown(form1); }, 2), "the main window stays shown under help");
  const std::string before = Text(Control(form1, f1::kLabel3, "Label3"));
  Pause(2.5);
  CheckEqual("countdown while help is shown", Text(Control(form1, f1::kLabel3, "Label3")), before);
  Click(back);
  Check(WaitUntil([&] { return Shown(form1); }, 3), "the main window did not come back");
  Check(WaitUntil(
            [&] {
              const HWND help = FindProcessWindow(program.ProcessId(), ids::kForm2Class);
              return help == nullptr || !Shown(help);
            },
            3),
        "the help window is still shown");
  Check(Enabled(form1), "the main window is disabled after help");
  CheckEqual("countdown after help", Text(Control(form1, f1::kLabel3, "Label3")), before);
  const long atReturn = CountdownShown(form1);
  Pause(2.5);
  const long left = CountdownShown(form1);
  Check(atReturn - left >= 1 && atReturn - left <= 3, "after help the countdown went from " +
                                                          std::to_string(atReturn) + " to " +
                                                          std::to_string(left) + " in 2.5 s");
  AbortAndCheck(program, form1);
}

void HelpSwitch(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-?");
  const HWND form2 = program.WaitForWindow(ids::kForm2Class);
  CheckHelpContent(form2);
  const HWND end = Control(form2, f2::kLabel1, "Label1 (OK that ends)");
  const HWND back = Control(form2, f2::kLabel2, "Label2 (OK that returns)");
  Check(Shown(end) && Enabled(end), "the ending OK is not shown and enabled");
  Check(!Shown(back) && !Enabled(back), "the returning OK is shown or enabled");
  const HWND form1 = FindProcessWindow(program.ProcessId(), ids::kForm1Class);
  Check(form1 == nullptr || !Shown(form1), "the main window is shown with -?");
  Pause(1);
  Click(end);
  Check(program.WaitForExit(5), "the program did not end within 5 s of the help window's OK");
  Pause(1);
  CheckRecorded({});
  Check(!SettingsKeyExists(), "the help window's OK stored settings");
}

void HelpSwitchOverridden(const std::string& exe) {
  // An operation switch is looked for before -?, which then shows no help.
  PrepareCleanState();
  Program program(exe);
  program.Start("-? -r -t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  CheckEqual("selected operation", Text(Control(form1, f1::kCombo1, "Combo1")), "Restart");
  Pause(1);
  const HWND form2 = FindProcessWindow(program.ProcessId(), ids::kForm2Class);
  Check(form2 == nullptr || !Shown(form2), "the help window is shown with -? -r");
  program.Terminate();
  CheckRecorded({});
}

// ---------------------------------------------------------------------------
// Always on top

bool OnTop(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void AlwaysOnTop(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t3000 -o0");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  const HWND form3 = OpenTimerDialog(program, form1);
  const HWND check2 = Control(form1, f1::kCheck2, "Check2");
  Check(OnTop(form1) && OnTop(form3), "the main window and the dialog are not both on top");
  // Clearing the box takes both windows off the top; ticking puts both back.
  Send(check2, BM_CLICK);
  Check(WaitUntil([&] { return CheckState(check2) == BST_UNCHECKED; }, 2),
        "Always on top did not clear");
  Check(WaitUntil([&] { return !OnTop(form1) && !OnTop(form3); }, 2),
        "clearing Always on top left the main window or the dialog on top");
  Send(check2, BM_CLICK);
  Check(WaitUntil([&] { return CheckState(check2) == BST_CHECKED; }, 2),
        "Always on top did not tick");
  Check(WaitUntil([&] { return OnTop(form1) && OnTop(form3); }, 2),
        "ticking Always on top did not put both windows on top");
  Send(check2, BM_CLICK);
  Check(WaitUntil([&] { return !OnTop(form1); }, 2), "the main window stayed on top");
  Click(Control(form3, f3::kLabel6, "Label6 (Cancel)"));
  WaitForDialogClosed(program);
  AbortAndCheck(program, form1);
  CheckDwordSetting("Always Top", 0);
}

// ---------------------------------------------------------------------------
// The stored settings

void SettingsSavedOnFiring(const std::string& exe) {
  PrepareCleanState();
  Program program(exe);
  program.Start("-t12 -o0 -r");
  const HWND form1 = program.WaitForWindow(ids::kForm1Class);
  const RECT where = ScreenRect(form1);
  Check(!SettingsKeyExists(), "settings were stored before anything fired");
  CheckFiredBetween(program.WaitForFiring(25), 10, 16);
  CheckRecorded({"Shutdown -r -t 0"});
  const long x = DwordSetting("PositionX");
  const long y = DwordSetting("PositionY");
  Note("stored position " + std::to_string(x) + "," + std::to_string(y) + " twips; window at " +
       std::to_string(where.left) + "," + std::to_string(where.top) + " px");
  Check(std::labs(x - Twips(where.left)) <= Twips(1) && std::labs(y - Twips(where.top)) <= Twips(1),
        "the stored position is not where the window stood (" + std::to_string(Twips(where.left)) +
            "," + std::to_string(Twips(where.top)) + " twips)");
  CheckDwordSetting("Operation", 1);
  CheckDwordSetting("CPU Usage", 2);
  CheckDwordSetting("Time Out", 12);
  CheckDwordSetting("Option", 0);
  CheckDwordSetting("Force Close", 0);
  CheckDwordSetting("Always Top", 1);
}

void SettingsPlanted(const std::string& exe) {
  PrepareCleanState();
  PlantString("CPU Usage", "abc");
  PlantDword("Always Top", 0);
  PlantDword("Time Out", 3600);
  {
    // The command line wins over the stored countdown.
    Program program(exe);
    program.Start("-t120");
    const HWND form1 = program.WaitForWindow(ids::kForm1Class);
    CheckEqual("countdown display", Text(Control(form1, f1::kLabel3, "Label3")), "00:02:00");
    CheckEqual("threshold", Text(Control(form1, f1::kText2, "Text2")), "abc");
    Check(CheckState(Control(form1, f1::kCheck2, "Check2")) == BST_UNCHECKED,
          "Always on top is ticked although 0 was stored");
    Check((GetWindowLongA(form1, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0,
          "the main window is on top although Always on top is clear");
    program.Terminate();
  }
  {
    // Without a command line the stored countdown holds.
    Program program(exe);
    program.Start("");
    const HWND form1 = program.WaitForWindow(ids::kForm1Class);
    CheckEqual("countdown display", Text(Control(form1, f1::kLabel3, "Label3")), "01:00:00");
    CheckEqual("threshold", Text(Control(form1, f1::kText2, "Text2")), "abc");
    Check(CheckState(Control(form1, f1::kCheck1, "Check1")) == BST_CHECKED,
          "Force close is clear although nothing cleared it");
    program.Terminate();
  }
  CheckRecorded({});
}

const std::map<std::string, Scenario>& Scenarios() {
  static const std::map<std::string, Scenario> kAll = {
      {"main-window-captions", MainWindowCaptions},
      {"countdown-restart", CountdownRestart},
      {"countdown-raised-by-method", CountdownRaisedByMethod},
      {"logoff-forced", LogOffForced},
      {"logoff-plain", LogOffPlain},
      {"shutdown-forced", ShutdownForced},
      {"abort", Abort},
      {"cpu-idle-fires", CpuIdleFires},
      {"timer-dialog-ok", TimerDialogOk},
      {"timer-dialog-cancel", TimerDialogCancel},
      {"timer-dialog-clock-time", TimerDialogClockTime},
      {"help-from-main-window", HelpFromMainWindow},
      {"help-switch", HelpSwitch},
      {"help-switch-overridden", HelpSwitchOverridden},
      {"always-on-top", AlwaysOnTop},
      {"settings-saved-on-firing", SettingsSavedOnFiring},
      {"settings-planted", SettingsPlanted},
  };
  return kAll;
}

int Usage() {
  std::printf(
      "usage: quellor_driver run SCENARIO PROGRAM | list | prepare | wait-window CLASS |\n"
      "       click CLASS ID | rect CLASS ID |\n"
      "       place X Y | recorded\n");
  return 2;
}

int Main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  if (command == "list") {
    for (const auto& [name, scenario] : Scenarios()) std::printf("%s\n", name.c_str());
    return 0;
  }
  if (command == "run" && args.size() == 3) {
    const auto found = Scenarios().find(args[1]);
    if (found == Scenarios().end()) {
      std::printf("no scenario %s\n", args[1].c_str());
      return 2;
    }
    std::printf("%s\n", args[1].c_str());
    std::fflush(stdout);
    found->second(args[2]);
    KillProcesses("quellor.exe");
    std::printf("PASS %s\n", args[1].c_str());
    return 0;
  }
  if (command == "prepare" && args.size() == 1) {
    PrepareCleanState();
    return 0;
  }
  if (command == "wait-window" && args.size() == 2) {
    HWND window = nullptr;
    Check(WaitUntil(
              [&] {
                window = FindAnyWindow(args[1].c_str());
                return window != nullptr && Shown(window);
              },
              15),
          "no window " + args[1] + " shown");
    return 0;
  }
  if (command == "click" && args.size() == 3) {
    const HWND window = FindAnyWindow(args[1].c_str());
    Check(window != nullptr, "no window " + args[1]);
    Click(Control(window, std::atoi(args[2].c_str()), "id " + args[2]));
    return 0;
  }
  if (command == "rect" && args.size() == 3) {
    const HWND window = FindAnyWindow(args[1].c_str());
    Check(window != nullptr, "no window " + args[1]);
    const RECT r = ScreenRect(Control(window, std::atoi(args[2].c_str()), "id " + args[2]));
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
  }
  if (command == "place" && args.size() == 3) {
    PlantDword("PositionX", static_cast<DWORD>(std::atol(args[1].c_str())));
    PlantDword("PositionY", static_cast<DWORD>(std::atol(args[2].c_str())));
    return 0;
  }
  if (command == "recorded" && args.size() == 1) {
    std::fputs(ReadRecorder().c_str(), stdout);
    return 0;
  }
  return Usage();
}

}  // namespace
}  // namespace quellor::wintest

int main(int argc, char** argv) {
  try {
    return quellor::wintest::Main(argc, argv);
  } catch (const quellor::wintest::TestFailure& failure) {
    std::printf("FAIL: %s\n", failure.what());
    quellor::wintest::KillProcesses("quellor.exe");
    return 1;
  }
}
