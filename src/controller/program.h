// The program-wide state and procedures, and the three windows.
#pragma once

#include <cstdint>
#include <string>

#include "controller/form1.h"
#include "help_window/form2.h"
#include "platform/platform.h"
#include "settings/registry_key.h"
#include "timer_dialog/form3.h"

namespace quellor {

class Program {
 public:
  explicit Program(platform::Platform& platform);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Program entry: loads the main window and shows it.
  void Main();

  void MakeTopMost(WindowHandle window);
  void MakeNotTopMost(WindowHandle window);

  platform::Platform& Os;

  double CountdownSeconds = 10;
  std::int32_t TimeOutSeconds = 10;
  std::string DefaultSwitches;

  RegistryKey Registry;
  Form1 form1;
  Form2 form2;
  Form3 form3;
};

}  // namespace quellor
