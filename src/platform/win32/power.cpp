#include "platform/win32/services.h"

#include <powrprof.h>

namespace quellor::win32 {

int Win32Power::IsPwrHibernateAllowed() {
  return ::IsPwrHibernateAllowed() ? 1 : 0;
}

int Win32Power::SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) {
  return ::SetSuspendState(hibernate ? TRUE : FALSE, force ? TRUE : FALSE,
                           disableWakeEvent ? TRUE : FALSE)
             ? 1
             : 0;
}

}  // namespace quellor::win32
