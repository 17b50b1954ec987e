#include "toolkit/customize/PlxPropertySheet.h"

#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndMessageMap.h"
#include "toolkit/core/PlxDialog.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNAMIC(CPlxPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CPlxPropertySheet, CPropertySheet)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

BOOL IsThreadMainWindow(const CWnd* pWnd) {
  CWinThread* thread = AfxGetThread();
  const CWnd* main = thread != nullptr ? thread->GetMainWnd() : AfxGetMainWnd();
  return main != nullptr && main == pWnd;
}

}  // namespace

void CPlxPropertySheet::OnActivatePage(CPlxPropertyPage* pPage) {
  m_pLastActivatedPage = pPage;
}

void CPlxPropertySheet::OnSysColorChange() {
  CPropertySheet::OnSysColorChange();
  if (IsThreadMainWindow(this)) g_plxGlobalData.UpdateSysColors();
}

void CPlxPropertySheet::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CPropertySheet::OnSettingChange(uFlags, lpszSection);
  if (IsThreadMainWindow(this)) g_plxGlobalData.OnSettingChange();
}
