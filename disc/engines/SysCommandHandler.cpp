#include "disc/engines/SysCommandHandler.h"

#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"

void OnSysCommandHideWithMain(CWnd* pDialog, UINT nID, LPARAM lParam) {
  CWnd* mainWnd = AfxGetMainWnd();
  if (mainWnd == pDialog) mainWnd = nullptr;
  switch (nID & 0xFFF0) {
    case SC_MINIMIZE:
      pDialog->ShowWindow(SW_HIDE);
      if (mainWnd != nullptr) mainWnd->ShowWindow(SW_MINIMIZE);
      break;
    case SC_RESTORE:
      pDialog->ShowWindow(SW_SHOW);
      if (mainWnd != nullptr) mainWnd->ShowWindow(SW_RESTORE);
      break;
    default:
      break;
  }
  pDialog->Default();
}
