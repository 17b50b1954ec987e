// The calling thread's last error, as the platform API reports failures.
#pragma once

#include "platform/base/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD error);

namespace pictavo {
// Maps an errno value to the nearest platform error code.
DWORD ErrorFromErrno(int err);
// Sets the last error from errno and returns FALSE, for the common failure path.
BOOL FailWithErrno();
}  // namespace pictavo
