// The main window: start-up, the one-second tick, the operation it carries
// out, the processor-usage monitor, the command line and its own controls.
//
// Its design controls:
//   Label8    the title "Quellor": opens the home page
//   Frame1    the frame around everything below the title
//   Timer1    the one-second tick
//   Label2    "Computer Operation :"      Combo1   the operation list
//   Label6    "CPU Usage :"               Label5   the usage read-out (on Shape1)
//   Label7    "Time out:"                 Label3   the time-left read-out (on Shape2)
//   Label1    "hh:mm:ss" under the time-left read-out
//   Check1    Force close                 Check2   Always on top
//   Frame2    "Shutdown Methods"          Option1  the four methods, by TriggerMethod
//   Label4    "% CPU Usage"               Text2    the idle threshold in percent
//   Label9    Set Timer                   Label12  ? (the help window)
//   Label10   Abort
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/form.h"
#include "controller/decision_rules.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace quellor {

class ProgramState;

// The built-in defaults of the countdown (seconds) and the threshold (percent).
inline constexpr int kDefaultCountdownSeconds = 10;
inline constexpr int kDefaultThreshold = 2;
// Choosing a method raises a shorter countdown to this many seconds.
inline constexpr double kShortestCountdownAfterMethod = 10;
inline constexpr const char* kProcessorCounterPath = "\\Processor(0)\\% Processor Time";
inline constexpr const char* kAppTitle = "Quellor";

struct CounterEntry {
  platform::CounterHandle Handle = 0;
  std::string Path;
};

class Form1 : public Form {
 public:
  explicit Form1(ProgramState& program);

  // Controls, in the order of the window's design.
  Label Label8;
  Frame Frame1;
  Timer Timer1;
  Label Label2;
  ComboBox Combo1;
  Label Label6;
  Label Label7;
  CheckBox Check1;
  CheckBox Check2;
  Shape Shape1;
  Label Label5;
  Shape Shape2;
  Label Label3;
  Label Label1;
  Frame Frame2;
  std::array<OptionButton, 4> Option1;
  Label Label4;
  TextBox Text2;
  Label Label9;
  Label Label12;
  Label Label10;

  // Fields.
  std::string CommandText;
  std::int32_t IdleCountdown = kIdleTicksRequired;
  std::int16_t TriggerFired = 0;  // -1 true, 0 false
  platform::QueryHandle hQuery = 0;
  std::array<CounterEntry, 100> Counters;
  std::int32_t CounterCount = 0;

  // Public operations.
  void DisplayTimer(double sec1);
  // The index of the selected method button, or -1 when none is selected.
  int SelectedMethod() const;
  void AddCounter(const std::string& strCounterName, platform::QueryHandle& query);
  // The stored settings: what the window shows, and the same applied back
  // (form1_settings.cpp).
  Settings GatherSettings() const;
  void ApplySettings(const Settings& settings);

  // Event handlers.
  void Timer1_Timer();
  void Check2_Click();
  void Option1_Click(int index);
  void Text2_Validate();
  void Label8_Click();
  void Label9_Click();
  void Label10_Click();
  void Label12_Click();
  void Form_MouseMove(const MouseArgs& args);
  void Form_QueryUnload();

  // Runs the chosen operation; does not return.
  [[noreturn]] void Execute();

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void ParseCommandLine(const std::string& text);
  void UpdateCpuUsage();
  // Starts one of the system's shutdown command lines, without waiting;
  // whether it could be started.
  bool StartCommand(const std::string& commandLine);
  ProgramState& program_;
  std::vector<OptionButton*> optionGroup_;
};

}  // namespace quellor
