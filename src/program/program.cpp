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

void ProgramState::DragWindow(const Form& form, const MouseArgs& args) {
  if (args.button != kLeftButton) return;
  Os.user32.ReleaseCapture();
  Os.user32.SendMessageA(form.Handle(), platform::kWmNcLButtonDown,
                         static_cast<std::uintptr_t>(platform::kHtCaption), 0);
}

void ProgramState::OpenHomePage(const Form& owner) {
  Os.shell32.ShellExecuteA(owner.Handle(), "open", kHomePageUrl, platform::kSwShowNormal);
}

}  // namespace quellor
