// The calling thread's last common dialog error, for CommDlgExtendedError.
#pragma once

#include "platform/base/WinTypes.h"

namespace pictavo::comdlg {

void SetExtendedError(DWORD code);

}  // namespace pictavo::comdlg
