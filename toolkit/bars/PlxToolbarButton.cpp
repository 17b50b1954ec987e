#include "toolkit/bars/PlxToolbarButton.h"

IMPLEMENT_DYNCREATE(CPlxToolbarButton, CObject)
IMPLEMENT_DYNCREATE(CPlxToolbarMenuButton, CPlxToolbarButton)
IMPLEMENT_DYNCREATE(CPlxShowAllButton, CPlxToolbarMenuButton)

BOOL CPlxToolbarButton::IsEditable() const {
  // The recent-file, window-list and system command ranges belong to the frame, not the user.
  if (m_nID >= 0xE110 && m_nID <= 0xE12F) return FALSE;  // ID_FILE_MRU_FIRST .. the MRU range
  if (m_nID >= 0xFF00) return FALSE;                     // MDI window list
  if (m_nID >= 0xF000 && m_nID < 0xF1F0) return FALSE;   // SC_ system commands
  return TRUE;
}
