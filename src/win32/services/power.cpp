#include "win32/services/services.h"

#include <powrprof.h>

#include "win32/services/system_library.h"

namespace quellor::win32 {

// Without the power library the system allows nothing.
int Win32Power::IsPwrHibernateAllowed() {
  static auto* const kAllowed =
      SystemFunction<decltype(::IsPwrHibernateAllowed)>(L"powrprof.dll", "IsPwrHibernateAllowed");
  return kAllowed != nullptr && kAllowed() ? 1 : 0;
}

int Win32Power::SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) {
  static auto* const kSuspend =
      SystemFunction<decltype(::SetSuspendState)>(L"powrprof.dll", "SetSuspendState");
  return kSuspend != nullptr && kSuspend(hibernate ? TRUE : FALSE, force ? TRUE : FALSE,
                                         disableWakeEvent ? TRUE : FALSE)
             ? 1
             : 0;
}

}  // namespace quellor::win32
