// The toolkit's dialog bases as popup menus reach them: a dialog or property page that shows a
// toolkit popup menu registers it as its active menu while it is open. The rest of these bases
// (backgrounds, the mouse hook that closes the menu on an outside click) comes with their own work.
#pragma once

#include "platform/mfc/Dialog.h"
#include "platform/mfc/PropertySheet.h"

class CPlxPopupMenu;

class CPlxDialog : public CDialog {
  DECLARE_DYNAMIC(CPlxDialog)

 public:
  using CDialog::CDialog;
  // The popup this dialog shows, or null when it closed.
  void SetActiveMenu(CPlxPopupMenu* pMenu) { m_pActiveMenu = pMenu; }
  CPlxPopupMenu* GetActiveMenu() const { return m_pActiveMenu; }

 protected:
  CPlxPopupMenu* m_pActiveMenu = nullptr;
};

class CPlxPropertyPage : public CPropertyPage {
  DECLARE_DYNAMIC(CPlxPropertyPage)

 public:
  using CPropertyPage::CPropertyPage;
  void SetActiveMenu(CPlxPopupMenu* pMenu) { m_pActiveMenu = pMenu; }
  CPlxPopupMenu* GetActiveMenu() const { return m_pActiveMenu; }

 protected:
  CPlxPopupMenu* m_pActiveMenu = nullptr;
};
