#include "toolkit/customize/PlxHotKeyEdit.h"

#include "platform/base/VirtualKeys.h"
#include "platform/user/Input.h"

BEGIN_MESSAGE_MAP(CPlxHotKeyEdit, CEdit)
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CPlxHotKeyEdit::CPlxHotKeyEdit() : m_Helper(&m_Accel) {}

void CPlxHotKeyEdit::ResetKey() {
  m_Accel = ACCEL{};
  m_bKeyDefined = FALSE;
  if (GetSafeHwnd() != nullptr) SetWindowText("");
}

void CPlxHotKeyEdit::ShowKey() {
  CString text;
  m_Helper.Format(text);
  SetWindowText(text);
  SetSel(text.GetLength(), text.GetLength());
}

BOOL CPlxHotKeyEdit::PreTranslateMessage(MSG* pMsg) {
  BOOL down = FALSE;
  switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      down = pMsg->message == WM_KEYDOWN;
      break;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      down = pMsg->message == WM_SYSKEYDOWN;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      m_bIsFocused = TRUE;
      SetFocus();
      return TRUE;
    default:
      return CEdit::PreTranslateMessage(pMsg);
  }

  if (!m_bIsFirstPass) {
    m_bIsFocused = ::GetFocus() == m_hWnd;
    m_bIsFirstPass = TRUE;
  }
  // A new press (not an auto-repeat) after a complete combination starts over.
  if (down && (pMsg->lParam & (1 << 30)) == 0 && m_bKeyDefined) ResetKey();

  const UINT key = static_cast<UINT>(pMsg->wParam);
  if (!m_bKeyDefined) {
    BYTE flag = 0;
    if (key == VK_SHIFT) flag = FSHIFT;
    if (key == VK_CONTROL) flag = FCONTROL;
    if (key == VK_MENU) flag = FALT;
    if (flag != 0) {
      if (down)
        m_Accel.fVirt |= flag;
      else
        m_Accel.fVirt &= static_cast<BYTE>(~flag);
    } else {
      // The release of the key that moved the focus here is not a shortcut.
      if (!m_bIsFocused) {
        m_bIsFocused = TRUE;
        return TRUE;
      }
      m_Accel.key = static_cast<WORD>(key);
      if (down) {
        m_bKeyDefined = TRUE;
        m_Accel.fVirt |= FVIRTKEY;
      }
    }
  }

  if ((m_Accel.fVirt & (FSHIFT | FCONTROL | FALT)) == 0 && (m_Accel.fVirt & FVIRTKEY) != 0) {
    if (m_Accel.key == VK_TAB) {
      ResetKey();
      return CEdit::PreTranslateMessage(pMsg);
    }
    if (m_Accel.key == VK_ESCAPE) {
      ResetKey();
      return TRUE;
    }
  }
  ShowKey();
  return TRUE;
}

void CPlxHotKeyEdit::OnKillFocus(CWnd* pNewWnd) {
  m_bIsFocused = FALSE;
  CEdit::OnKillFocus(pNewWnd);
}
