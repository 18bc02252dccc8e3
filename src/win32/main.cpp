// Entry point of the Windows program.
// The system headers come first through services.h, which keeps the
// interfaces' names free of the system's character-set macros.
#include "win32/services/services.h"

#include "program/program.h"
#include "win32/front_end/front_end.h"
#include "win32/services/system_library.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  // Before anything loads a library: none from the program's folder.
  quellor::win32::LoadLibrariesFromSystemFolderOnly();
  // The common controls library comes with the first control of its look
  // (the manifest asks for version 6) or the first tool tip (tool_tips.cpp).
  using namespace quellor::win32;
  FrontEnd frontEnd;
  Win32Pdh pdh;
  Win32Power power;
  Win32Registry registry;
  Win32User32 user32(frontEnd);
  Win32Shell32 shell32;
  Win32Process process;
  Win32Instances instances;
  quellor::platform::Platform platform{pdh, power, registry, user32, shell32, process, instances};

  quellor::Program program(platform);
  frontEnd.Attach(program.form1);
  frontEnd.Attach(program.form2);
  frontEnd.Attach(program.form3);
  frontEnd.SetFinished([&program] { return program.Finished(); });
  // Loads and shows the main window; its load handler may end the program or
  // keep it in the help window's loop.
  program.Main();
  frontEnd.Run();
}
