// CPlxContextMenuManager as the popup menus reach it: the command chosen in a tracked menu comes
// back here instead of being posted. Keeping and tracking the application's context menus comes
// with the manager's own work.
#pragma once

#include "platform/base/Object.h"

class CPlxContextMenuManager : public CObject {
 public:
  // Becomes the process's manager (g_pContextMenuManager) until destroyed.
  CPlxContextMenuManager();
  ~CPlxContextMenuManager() override;

  UINT m_nLastCommand = 0;  // the command chosen in the last tracked menu
  BOOL m_bTrackMode = FALSE;
};

extern CPlxContextMenuManager* g_pContextMenuManager;
