// The WM_SYSCOMMAND handler the progress dialogs and the record dialog share: the dialog and the
// program's main window go to the task bar and come back together.
#pragma once

#include "platform/base/WinTypes.h"

class CWnd;

// SC_MINIMIZE hides the dialog and minimizes the main window; SC_RESTORE shows the dialog and
// restores the main window; then, as for every other command, the default processing runs.
// Called from the dialog's own OnSysCommand, while it handles the message.
void OnSysCommandHideWithMain(CWnd* pDialog, UINT nID, LPARAM lParam);
