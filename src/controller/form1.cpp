// The main window: start-up and closing, and the handlers of its own
// controls. Its design is in form1_design.cpp, the tick, the operation and the
// processor monitor in form1_engine.cpp, the command line in command_line.cpp.
#include "controller/form1.h"

#include <cstddef>
#include <string>

#include "common/number.h"
#include "controller/decision_rules.h"
#include "controller/form1_settings.h"
#include "controller/program_state.h"

namespace quellor {

void Form1::Form_Load() {
  Label8.SetCaption(kAppTitle);
  Label2.SetCaption("Computer Operation :");

  const bool hibernateAllowed = program_.Os.power.IsPwrHibernateAllowed() != 0;
  for (int kind = 0; const Operation* row = OperationOf(kind); ++kind) {
    if (!row->hibernates || hibernateAllowed) Combo1.AddItem(row->listText, row->kind);
  }
  Combo1.SetListIndex(kOperationShutdown);

  // No blank before "-o2": the defaults have always read "-c2-o2", and the
  // help window shows them so. Each switch is found on its own and its number
  // stops at the next "-", so they read as written with a blank.
  program_.DefaultSwitches = "-s -f -t" + std::to_string(kDefaultCountdownSeconds) + " -c" +
                             std::to_string(kDefaultThreshold) + "-o2";
  CommandText = "Shutdown " + program_.DefaultSwitches;
  program_.CountdownSeconds = kDefaultCountdownSeconds;
  program_.TimeOutSeconds = kDefaultCountdownSeconds;
  Text2.SetText(std::to_string(kDefaultThreshold));
  Option1[kMethodTimerAndCpu].Select();
  IdleCountdown = kIdleTicksRequired;
  TriggerFired = 0;

  ParseCommandLine(program_.DefaultSwitches);
  LoadSettings(program_);
  // A stored countdown must leave time to reach Abort: a start from the
  // Start menu or a Startup shortcut after a run with -t1 would otherwise act
  // within a second, every time. It is raised as choosing a method raises it
  // (the stored length stays); only the command line may ask for less.
  if (program_.CountdownSeconds < kShortestCountdownAfterMethod) {
    program_.CountdownSeconds = kShortestCountdownAfterMethod;
  }
  ParseCommandLine(TrimSpaces(program_.Os.process.CommandLineText()));
  // One copy counts in a session (a help start never comes here): a second
  // one, from a double click or a task that comes while a run counts, would
  // hide behind the first, and Abort on one would leave the other to act.
  if (!program_.Os.instances.ClaimCountdown()) {
    program_.Os.instances.ShowCountingCopy();
    program_.Os.process.EndProcess(platform::kExitAnotherCounts);
  }

  if (program_.Os.pdh.PdhOpenQuery(1, hQuery) != 0) {
    program_.Os.user32.MessageBox("OpenQuery failed", kAppTitle);
    program_.Os.process.EndProcess(platform::kExitQueryFailed);
  }
  AddCounter(kProcessorCounterPath, hQuery);
  UpdateCpuUsage();

  Text2.SetEnabled(SelectedMethod() != kMethodTimer);
  DisplayTimer(program_.CountdownSeconds);
  Check2_Click();
}

void Form1::Form_Unload() {
  Timer1.SetEnabled(false);
  program_.Os.pdh.PdhCloseQuery(hQuery);
}

void Form1::Form_QueryUnload() {
  // Closed from outside: the usual unload, then nothing is left to run.
  Unload();
  program_.Os.process.EndProcess(platform::kExitDone);
}

void Form1::Check2_Click() {
  const bool onTop = Check2.Value() != 0;
  auto apply = [this, onTop](WindowHandle window) {
    if (onTop) {
      program_.MakeTopMost(window);
    } else {
      program_.MakeNotTopMost(window);
    }
  };
  apply(Handle());
  if (program_.TimerDialog().Loaded()) apply(program_.TimerDialog().Handle());
}

void Form1::Option1_Click(int index) {
  Text2.SetEnabled(index != kMethodTimer);
  if (program_.CountdownSeconds < kShortestCountdownAfterMethod) {
    program_.CountdownSeconds = kShortestCountdownAfterMethod;
  }
  IdleCountdown = kIdleTicksRequired;
}

void Form1::Text2_Validate() {
  const double typed = LeadingNumber(Text2.Text());
  if (typed > 100) {
    Text2.SetText("100");
  } else if (typed < 0) {
    Text2.SetText("0");
  }
  Text2.SetText(FormatFixed(LeadingNumber(Text2.Text()), 0));
  IdleCountdown = kIdleTicksRequired;
}

void Form1::Label8_Click() {
  program_.OpenHomePage(*this);
}

void Form1::Label9_Click() {
  // The dialog's OK or Cancel would restart the tick that help has paused.
  if (program_.HelpWindow().Loaded()) return;
  Timer1.SetEnabled(false);
  program_.TimerDialog().Show();
}

void Form1::Label10_Click() {
  // Abort ended the run as asked, even where there was nothing to abort.
  StartCommand("Shutdown -a");
  SaveSettings(program_);
  program_.Os.process.EndProcess(platform::kExitDone);
}

void Form1::Label12_Click() {
  // The help window's return would restart the tick that the open timer
  // dialog has paused, so there is no help while the dialog is loaded.
  if (program_.TimerDialog().Loaded()) return;
  program_.ShowHelp(false);
}

int Form1::SelectedMethod() const {
  for (std::size_t i = 0; i < Option1.size(); ++i) {
    if (Option1[i].Value()) return static_cast<int>(i);
  }
  return -1;
}

void Form1::Form_MouseMove(const MouseArgs& args) {
  program_.DragWindow(*this, args);
  Form& dialog = program_.TimerDialog();
  if (dialog.Loaded()) dialog.Move(Left(), Top() + Height());
}

}  // namespace quellor
