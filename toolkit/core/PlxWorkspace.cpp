#include "toolkit/core/PlxWorkspace.h"

#include "platform/mfc/DockState.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxRebarState.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxSizingControlBar.h"
#include "toolkit/core/PlxUserTools.h"

namespace {

constexpr int kVersionMajor = 7;
constexpr int kVersionMinor = 10;
const char kVersionKey[] = "PlxControlBarVersion";
const char kPlacementKey[] = "WindowPlacement";

CPlxWorkspace* g_pWorkspace = nullptr;

// The top-level frame a bar belongs to, floating bars included.
CFrameWnd* TopFrameOf(CWnd* pWnd) {
  CFrameWnd* frame = AfxGetParentFrame(pWnd);
  while (frame != nullptr) {
    CFrameWnd* up = AfxGetParentFrame(frame);
    if (up == nullptr) break;
    frame = up;
  }
  return frame;
}

// The toolbars a frame's load or save carries: live ones, of that frame when restricted, and not
// the user's own (those go with the frame core).
template <class Fn>
void ForEachFrameToolbar(CPlxFrameCore* pImpl, BOOL bFrameOnly, Fn fn) {
  for (POSITION pos = CPlxToolBar::GetAllToolbars().GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxToolBar*>(CPlxToolBar::GetAllToolbars().GetNext(pos));
    if (bar->GetSafeHwnd() == nullptr || CWnd::FromHandlePermanent(bar->GetSafeHwnd()) != bar) continue;
    if (bFrameOnly && TopFrameOf(bar) != pImpl->m_pFrame) continue;
    if (pImpl->IsUserDefinedToolbar(bar) && pImpl->m_listUserDefinedToolbars.Find(bar) != nullptr) continue;
    if (pImpl->m_listTearOffToolbars.Find(bar) != nullptr) continue;
    fn(bar);
  }
}

template <class Fn>
void ForEachFrameSizingBar(CPlxFrameCore* pImpl, BOOL bFrameOnly, Fn fn) {
  for (POSITION pos = CPlxSizingControlBar::GetAllSizingBars().GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CPlxSizingControlBar*>(CPlxSizingControlBar::GetAllSizingBars().GetNext(pos));
    if (bar->GetSafeHwnd() == nullptr) continue;
    if (bFrameOnly && TopFrameOf(bar) != pImpl->m_pFrame) continue;
    fn(bar);
  }
}

}  // namespace

CPlxWorkspace::CPlxWorkspace(BOOL bResetState) : m_strRegSection("PlxWorkspace"), m_bResetState(bResetState) {
  g_pWorkspace = this;
}

CPlxWorkspace::~CPlxWorkspace() {
  if (g_pWorkspace == this) g_pWorkspace = nullptr;
  // Only what this workspace made; each destructor clears its process-wide pointer.
  if (m_bKeyboardManagerAutocreated) delete g_pKeyboardManager;
  if (m_bMouseManagerAutocreated) delete g_pMouseManager;
  if (m_bUserToolsManagerAutoCreated) delete g_pUserToolsManager;
  if (m_bShellAutocreated) delete g_pShellAccess;
  if (m_bContextMenuManagerAutocreated) delete g_pContextMenuManager;
}

CPlxWorkspace* CPlxWorkspace::GetWorkspace() {
  return g_pWorkspace;
}

BOOL CPlxWorkspace::InitContextMenuManager() {
  if (g_pContextMenuManager != nullptr) return FALSE;
  new CPlxContextMenuManager;  // becomes g_pContextMenuManager
  m_bContextMenuManagerAutocreated = TRUE;
  return TRUE;
}

BOOL CPlxWorkspace::InitShellAccess() {
  if (g_pShellAccess != nullptr) return FALSE;
  new CPlxShellAccess;  // becomes g_pShellAccess
  m_bShellAutocreated = TRUE;
  return TRUE;
}

CString CPlxWorkspace::GetRegSectionPath(LPCTSTR szSectionAdd) const {
  CString path = PlxGetRegPath(m_strRegSection);
  if (szSectionAdd != nullptr && *szSectionAdd != '\0') {
    path += szSectionAdd;
    path += "\\";
  }
  return path;
}

int CPlxWorkspace::GetDataVersion() const {
  if (m_iSavedVersionMajor == -1 || m_iSavedVersionMinor == -1) return -1;
  const int minor = m_iSavedVersionMinor;
  const int code = minor / 10 > 0 ? (minor / 10) * 0x100 + (minor % 10) * 0x10 : minor * 0x100;
  return (m_iSavedVersionMajor << 16) + code;
}

BOOL CPlxWorkspace::LoadState(LPCTSTR lpszSectionName, CPlxFrameCore* pFrameImpl) {
  if (lpszSectionName != nullptr) m_strRegSection = lpszSectionName;
  OnBeforeLoad();
  const CString profile = GetRegSectionPath();
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, TRUE);
    if (reg.Open(GetRegSectionPath(kVersionKey))) {
      reg.ReadInt("Major", m_iSavedVersionMajor);
      reg.ReadInt("Minor", m_iSavedVersionMinor);
    }
  }
  CPlxToolBar::LoadParameters(profile);
  GetCommandManager()->LoadState(profile);
  // A reset keeps the buttons' images out of the command manager while the bars load.
  if (m_bResetState) CPlxToolbarButton::s_bUpdateImages = FALSE;
  CFrameWnd* frame = pFrameImpl != nullptr ? pFrameImpl->m_pFrame : nullptr;
  if (frame != nullptr) LoadFrameState(pFrameImpl);
  if (g_pMouseManager != nullptr) g_pMouseManager->LoadState(profile);
  if (g_pKeyboardManager != nullptr) g_pKeyboardManager->LoadState(profile, frame);
  if (g_pUserToolsManager != nullptr) g_pUserToolsManager->LoadState(profile);
  if (g_pContextMenuManager != nullptr) g_pContextMenuManager->LoadState(profile);
  if (m_bResetState) CPlxToolbarButton::s_bUpdateImages = TRUE;
  OnAfterLoad();
  m_iSavedVersionMajor = kVersionMajor;
  m_iSavedVersionMinor = kVersionMinor;
  return TRUE;
}

BOOL CPlxWorkspace::SaveState(LPCTSTR lpszSectionName, CPlxFrameCore* pFrameImpl) {
  if (!m_bSaveState) return FALSE;
  if (lpszSectionName != nullptr) m_strRegSection = lpszSectionName;
  OnBeforeSave();
  const CString profile = GetRegSectionPath();
  BOOL saved = TRUE;
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    // A layout that did not reach the registry must not be reported as saved.
    saved = reg.CreateKey(GetRegSectionPath(kVersionKey)) && reg.WriteInt("Major", kVersionMajor) &&
            reg.WriteInt("Minor", kVersionMinor);
  }
  // What follows is written in the current form under the current version number: a save before
  // any load (version unknown) must not leave out fields that the next load reads.
  m_iSavedVersionMajor = kVersionMajor;
  m_iSavedVersionMinor = kVersionMinor;
  saved = CPlxToolBar::SaveParameters(profile) && saved;
  saved = GetCommandManager()->SaveState(profile) && saved;
  CFrameWnd* frame = pFrameImpl != nullptr ? pFrameImpl->m_pFrame : nullptr;
  if (frame != nullptr) saved = SaveFrameBars(pFrameImpl) && saved;
  if (g_pMouseManager != nullptr) saved = g_pMouseManager->SaveState(profile) && saved;
  if (g_pKeyboardManager != nullptr) saved = g_pKeyboardManager->SaveState(profile, frame) && saved;
  if (g_pUserToolsManager != nullptr) saved = g_pUserToolsManager->SaveState(profile) && saved;
  if (g_pContextMenuManager != nullptr) saved = g_pContextMenuManager->SaveState(profile) && saved;
  OnAfterSave();
  return saved;
}

BOOL CPlxWorkspace::CleanState(LPCTSTR lpszSectionName) {
  if (lpszSectionName != nullptr) m_strRegSection = lpszSectionName;
  // Without a section the key would be the application's whole key.
  if (m_strRegSection.IsEmpty()) return FALSE;
  CPlxRegistryHolder holder;
  return holder.Create(FALSE, FALSE).DeleteKey(GetRegSectionPath());
}

BOOL CPlxWorkspace::LoadWindowPlacement(CRect& rectNormalPosition, int& nFlags, int& nShowCmd) {
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, TRUE);
  if (!reg.Open(GetRegSectionPath(kPlacementKey))) return FALSE;
  RECT rect{};
  int flags = 0, showCmd = 0;
  if (!reg.ReadRect("MainWindowRect", rect) || !reg.ReadInt("Flags", flags) ||
      !reg.ReadInt("ShowCmd", showCmd))
    return FALSE;
  rectNormalPosition = rect;
  nFlags = flags;
  nShowCmd = showCmd;
  return TRUE;
}

BOOL CPlxWorkspace::StoreWindowPlacement(const CRect& rectNormalPosition, int nFlags, int nShowCmd) {
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, FALSE);
  if (!reg.CreateKey(GetRegSectionPath(kPlacementKey))) return FALSE;
  return reg.WriteRect("MainWindowRect", rectNormalPosition) && reg.WriteInt("Flags", nFlags) &&
         reg.WriteInt("ShowCmd", nShowCmd);
}

void CPlxWorkspace::LoadFrameState(CPlxFrameCore* pFrameImpl) {
  CFrameWnd* frame = pFrameImpl->m_pFrame;
  const CString profile = GetRegSectionPath();
  PlxLoadRebarState(profile, frame);
  ForEachFrameToolbar(pFrameImpl, m_bLoadSaveFrameBarsOnly,
                      [&](CPlxToolBar* bar) { bar->LoadState(profile, -1, (UINT)-1); });
  const CString sizingProfile = m_strRegSection + "\\SizingBars";
  ForEachFrameSizingBar(pFrameImpl, m_bLoadSaveFrameBarsOnly,
                        [&](CPlxSizingControlBar* bar) { bar->LoadState(sizingProfile); });
  // The user's bars and the torn-off ones exist before the layout that places them is applied.
  pFrameImpl->LoadUserToolbars();
  pFrameImpl->LoadTearOffMenus();
  CDockState state;
  state.LoadState(m_strRegSection + "\\ControlBars");
  if (state.GetCount() > 0 && (m_bForceDockStateLoad || pFrameImpl->IsDockStateValid(state)))
    pFrameImpl->SetDockState(state);
}

BOOL CPlxWorkspace::SaveFrameBars(CPlxFrameCore* pFrameImpl) {
  CFrameWnd* frame = pFrameImpl->m_pFrame;
  const CString profile = GetRegSectionPath();
  CDockState state;
  frame->GetDockState(state);
  BOOL saved = state.SaveState(m_strRegSection + "\\ControlBars");
  ForEachFrameToolbar(pFrameImpl, m_bLoadSaveFrameBarsOnly,
                      [&](CPlxToolBar* bar) { saved = bar->SaveState(profile, -1, (UINT)-1) && saved; });
  const CString sizingProfile = m_strRegSection + "\\SizingBars";
  ForEachFrameSizingBar(pFrameImpl, m_bLoadSaveFrameBarsOnly,
                        [&](CPlxSizingControlBar* bar) { bar->SaveState(sizingProfile); });
  saved = pFrameImpl->SaveUserToolbars(m_bLoadSaveFrameBarsOnly) && saved;
  saved = pFrameImpl->SaveTearOffMenus(m_bLoadSaveFrameBarsOnly) && saved;
  PlxSaveRebarState(profile, frame);
  return saved;
}
