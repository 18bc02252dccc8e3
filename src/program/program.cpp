#include "program/program.h"

namespace quellor {

Program::Program(platform::Platform& platform)
    : ProgramState(platform), form1(*this), form2(*this), form3(*this) {}

void Program::Main() {
  form1.Show();
}

void ProgramState::MakeTopMost(WindowHandle window) {
  Os.user32.SetWindowPos(window, platform::kHwndTopMost, 0, 0, 0, 0,
                         platform::kSwpNoSize | platform::kSwpNoMove);
}

void ProgramState::MakeNotTopMost(WindowHandle window) {
  Os.user32.SetWindowPos(window, platform::kHwndNoTopMost, 0, 0, 0, 0,
                         platform::kSwpNoSize | platform::kSwpNoMove);
}

}  // namespace quellor
