#include "toolkit/bars/PlxURLLinkButton.h"

#include "modules/log/Log.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/user/Metrics.h"

IMPLEMENT_DYNAMIC(CPlxURLLinkButton, CPlxButton)

BEGIN_MESSAGE_MAP(CPlxURLLinkButton, CPlxButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CPlxURLLinkButton::CPlxURLLinkButton() = default;

CString CPlxURLLinkButton::GetTarget() const {
  CString strTarget = m_strURL;
  if (strTarget.IsEmpty()) GetWindowText(strTarget);
  return m_strPrefix + strTarget;
}

BOOL CPlxURLLinkButton::OnClicked() {
  if (!IsWindowEnabled()) return TRUE;
  if (m_bPassClickToParent) {
    m_bHover = m_bHighlighted = FALSE;
    Invalidate();
    UpdateWindow();
    return FALSE;
  }

  BeginWaitCursor();
  const CString strTarget = GetTarget();
  const auto nResult =
      reinterpret_cast<INT_PTR>(::ShellExecute(nullptr, nullptr, strTarget, nullptr, nullptr, SW_HIDE));
  m_bHover = m_bHighlighted = FALSE;
  Invalidate();
  UpdateWindow();
  EndWaitCursor();
  // The user clicked and nothing opened: say so rather than leave the click unanswered.
  if (nResult <= 32) {
    ::MessageBeep(static_cast<UINT>(-1));
    WriteErrorLog("Link %s could not be opened (%d)", static_cast<LPCTSTR>(strTarget),
                  static_cast<int>(nResult));
  }
  return TRUE;
}
