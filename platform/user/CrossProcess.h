// Messages between processes: the record WM_COPYDATA carries to a window of another running copy
// of the program. Windows of other copies are recognisably foreign (IsForeignWindowHandle), and
// IsWindow, GetLastActivePopup, IsIconic, ShowWindow, SetForegroundWindow and a synchronous
// SendMessage of WM_COPYDATA reach them: the copy that owns the window answers over a Unix socket
// in the user's runtime folder and handles the message in the window's own thread. Other
// messages do not cross (SendMessage gives 0 with ERROR_NOT_SUPPORTED).
#pragma once

#include "platform/base/WinTypes.h"

struct COPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  PVOID lpData;  // the receiver gets a copy that lives until its window procedure returns
};
using PCOPYDATASTRUCT = COPYDATASTRUCT*;
