// CPropertyPage: a child dialog of a property sheet.
#include "platform/mfc/PropertySheet.h"
#include "platform/res/Resources.h"
#include "platform/res/Templates.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage() {
  m_psp.dwSize = sizeof m_psp;
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.pszTemplate = m_lpszTemplateName;
  if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName), m_nIDCaption(nIDCaption) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.pszTemplate = m_lpszTemplateName;
  if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

CPropertySheet* CPropertyPage::Sheet() const {
  return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

CString CPropertyPage::GetTitle() const {
  if ((m_psp.dwFlags & PSP_USETITLE) && m_psp.pszTitle) return CString(m_psp.pszTitle);
  if (!m_strCaption.IsEmpty()) return m_strCaption;
  HINSTANCE hInst = nullptr;
  const pictavo::res::DialogTemplate* t = FindTemplate(&hInst);
  return t ? CString(t->caption) : CString();
}

void CPropertyPage::SetModified(BOOL bChanged) {
  if (HWND sheet = ::GetParent(m_hWnd))
    ::SendMessage(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
  if (HWND sheet = ::GetParent(m_hWnd)) ::SendMessage(sheet, PSM_CANCELTOCLOSE, 0, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  HWND sheet = ::GetParent(m_hWnd);
  return sheet ? ::SendMessage(sheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
  return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() {
  OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
  return TRUE;
}

// A page ends nothing: its sheet owns OK and Cancel.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) {
  // The sheet's keys (Ctrl+Tab ...) and navigation belong to the sheet, which the walk reaches next.
  return CWnd::PreTranslateMessage(pMsg);
}
