// Registering the common control classes.
#include <mutex>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/Support.h"

void InitCommonControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    using namespace pictavo::comctl::detail;
    RegisterHeaderClass();
    RegisterListViewClass();
    RegisterTreeViewClass();
    RegisterTabClass();
    RegisterTrackbarClass();
    RegisterUpDownClass();
    RegisterProgressClass();
    RegisterTooltipClass();
    RegisterStatusBarClass();
    RegisterReBarClass();
  });
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  InitCommonControls();
  return TRUE;
}
