// What the windows use of the program: the system services, the program-wide
// variables, the registry layer, the main window, the two dialogs as the main
// window opens them, and the procedures that put a window on top or take it
// off. The program (src/program) implements it.
#pragma once

#include <cstdint>
#include <string>

#include "common/form.h"
#include "platform/platform.h"
#include "settings/registry_key.h"

namespace quellor {

class Form1;

// Opened by the main window's title label and by the help window's "Online Help".
inline constexpr const char* kHomePageUrl = "https://www.quellor.example/";

class ProgramState {
 public:
  explicit ProgramState(platform::Platform& platform) : Os(platform), Registry(platform.registry) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;
  virtual ~ProgramState() = default;

  virtual Form1& MainWindow() = 0;
  // The timer dialog, which the main window opens, moves with itself and
  // keeps on top as it is.
  virtual Form& TimerDialog() = 0;
  // Shows the help window with one of its two OK labels: the one that ends
  // the program, or the one that returns to the main window.
  virtual void ShowHelp(bool endsProgram) = 0;
  virtual const Form& HelpWindow() = 0;

  void MakeTopMost(WindowHandle window);
  void MakeNotTopMost(WindowHandle window);
  // A move with the left button down on a borderless window drags it as by a
  // caption; returns when the drag ends, the new place reported.
  void DragWindow(const Form& form, const MouseArgs& args);
  // The product's home page in the default browser.
  void OpenHomePage(const Form& owner);

  platform::Platform& Os;
  double CountdownSeconds = 10;
  std::int32_t TimeOutSeconds = 10;
  std::string DefaultSwitches;
  RegistryKey Registry;
};

}  // namespace quellor
