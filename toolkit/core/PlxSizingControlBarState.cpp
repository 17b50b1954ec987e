// CPlxSizingControlBar's profile: its three sizes, the expanded and rolled states and the active
// tab of its tab window, under "<path>-SCBar-<id>" in the application profile. What comes back is
// checked: sizes stay between the bar's minimum and its maximum (and the screen), a roll state
// outside the frame's codes and a tab the tab window does not have are ignored.
#include <algorithm>

#include "platform/mfc/WinApp.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxMiniDockFrameWnd.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace {

constexpr int kLastRollState = 5;  // the mini frame's roll codes run from 0 to 5

// A stored length within [minimum, maximum (when positive), screen].
int ClampStored(int stored, int minimum, int maximum, int screen) {
  if (maximum > 0) stored = std::min(stored, maximum);
  if (screen > 0) stored = std::min(stored, screen);
  return std::max(stored, minimum);
}

}  // namespace

CString CPlxSizingControlBar::GetStateSection(LPCTSTR lpszProfileName) const {
  // Sized to the text: a long profile name never cuts or overruns the section.
  CString section;
  section.Format("%s-SCBar-%d", static_cast<LPCTSTR>(PlxGetRegPath(m_strRegSection, lpszProfileName)),
                 GetDlgCtrlID());
  return section;
}

void CPlxSizingControlBar::LoadState(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const CString section = GetStateSection(lpszProfileName);
  const int screenX = ::GetSystemMetrics(SM_CXVIRTUALSCREEN) > 0 ? ::GetSystemMetrics(SM_CXVIRTUALSCREEN)
                                                                 : ::GetSystemMetrics(SM_CXSCREEN);
  const int screenY = ::GetSystemMetrics(SM_CYVIRTUALSCREEN) > 0 ? ::GetSystemMetrics(SM_CYVIRTUALSCREEN)
                                                                 : ::GetSystemMetrics(SM_CYSCREEN);
  auto load = [&](LPCTSTR entry, LONG& value, bool across) {
    const int stored = static_cast<int>(app->GetProfileInt(section, entry, value));
    value = across ? ClampStored(stored, m_szMin.cx, m_szMax.cx, screenX)
                   : ClampStored(stored, m_szMin.cy, m_szMax.cy, screenY);
  };
  load("sizeHorzCX", m_szHorz.cx, true);
  load("sizeHorzCY", m_szHorz.cy, false);
  load("sizeVertCX", m_szVert.cx, true);
  load("sizeVertCY", m_szVert.cy, false);
  load("sizeFloatCX", m_szFloat.cx, true);
  load("sizeFloatCY", m_szFloat.cy, false);

  if (app->GetProfileInt(section, "Expanded", 0) != 0 && !m_bMaximized) ToggleExpand(TRUE);
  m_bRolled = app->GetProfileInt(section, "RolledFloat", m_bRolled) != 0;
  const int rollState =
      static_cast<int>(app->GetProfileInt(section, "RolledFloatDynamicState", m_nRollState));
  if (rollState >= 0 && rollState <= kLastRollState) m_nRollState = rollState;
  if (m_nRollState == 2 || m_nRollState == 4) m_bRolled = TRUE;
  // A floating bar's frame shows what the bar now holds.
  if (m_nRollState != 0)
    if (auto* mini =
            dynamic_cast<CPlxMiniDockFrameWnd*>(m_pDockBar != nullptr ? m_pDockBar->GetParent() : nullptr)) {
      mini->m_bRolled = m_bRolled;
      mini->m_nRollState = m_nRollState;
    }

  if (m_bSaveActiveTab)
    if (CPlxTabWnd* tabs = GetTabWnd()) {
      const int tab = static_cast<int>(app->GetProfileInt(section, "ActiveTab", 0));
      if (tab >= 0 && tab < tabs->GetTabsNum()) tabs->SetActiveTab(tab);
    }
}

void CPlxSizingControlBar::SaveState(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const CString section = GetStateSection(lpszProfileName);
  // An expanded bar stores the size it returns to.
  const CSize horz = m_bMaximized && IsHorzDocked() ? m_szOld : m_szHorz;
  const CSize vert = m_bMaximized && IsVertDocked() ? m_szOld : m_szVert;
  app->WriteProfileInt(section, "sizeHorzCX", horz.cx);
  app->WriteProfileInt(section, "sizeHorzCY", horz.cy);
  app->WriteProfileInt(section, "sizeVertCX", vert.cx);
  app->WriteProfileInt(section, "sizeVertCY", vert.cy);
  app->WriteProfileInt(section, "sizeFloatCX", m_szFloat.cx);
  app->WriteProfileInt(section, "sizeFloatCY", m_szFloat.cy);
  app->WriteProfileInt(section, "Expanded", m_bMaximized);
  if (m_nRollState != 0) {
    app->WriteProfileInt(section, "RolledFloat", m_bRolled);
    app->WriteProfileInt(section, "RolledFloatDynamicState", m_nRollState);
  }
  if (m_bSaveActiveTab)
    if (CPlxTabWnd* tabs = GetTabWnd()) app->WriteProfileInt(section, "ActiveTab", tabs->GetActiveTab());
}
