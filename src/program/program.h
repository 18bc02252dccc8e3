// The program: its three windows and the program-wide state they share.
#pragma once

#include "controller/form1.h"
#include "controller/program_state.h"
#include "help_window/form2.h"
#include "timer_dialog/form3.h"

namespace quellor {

class Program : public ProgramState {
 public:
  explicit Program(platform::Platform& platform);

  // Program entry: loads the main window and shows it.
  void Main();
  Form1& MainWindow() override { return form1; }
  Form& TimerDialog() override { return form3; }
  void ShowHelp(bool endsProgram) override { form2.ShowWithOk(endsProgram); }
  const Form& HelpWindow() override { return form2; }
  // True once none of the windows is loaded: nothing is left to run.
  bool Finished() const { return NoneLoaded({&form1, &form2, &form3}); }

  Form1 form1;
  Form2 form2;
  Form3 form3;
};

}  // namespace quellor
