#include "toolkit/core/PlxWorkspace.h"

#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxUserTools.h"

namespace {

constexpr int kVersionMajor = 7;
constexpr int kVersionMinor = 10;
const char kVersionKey[] = "PlxControlBarVersion";
const char kPlacementKey[] = "WindowPlacement";

CPlxWorkspace* g_pWorkspace = nullptr;

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

BOOL CPlxWorkspace::LoadState(LPCTSTR lpszSectionName, void*) {
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
  // The frame's own bars, bands and dock layout come with the frame's part; the keyboard
  // manager's frame is then the main window.
  if (g_pMouseManager != nullptr) g_pMouseManager->LoadState(profile);
  if (g_pKeyboardManager != nullptr) g_pKeyboardManager->LoadState(profile, nullptr);
  if (g_pUserToolsManager != nullptr) g_pUserToolsManager->LoadState(profile);
  if (g_pContextMenuManager != nullptr) g_pContextMenuManager->LoadState(profile);
  if (m_bResetState) CPlxToolbarButton::s_bUpdateImages = TRUE;
  OnAfterLoad();
  m_iSavedVersionMajor = kVersionMajor;
  m_iSavedVersionMinor = kVersionMinor;
  return TRUE;
}

BOOL CPlxWorkspace::SaveState(LPCTSTR lpszSectionName, void*) {
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
  saved = CPlxToolBar::SaveParameters(profile) && saved;
  saved = GetCommandManager()->SaveState(profile) && saved;
  if (g_pMouseManager != nullptr) saved = g_pMouseManager->SaveState(profile) && saved;
  if (g_pKeyboardManager != nullptr) saved = g_pKeyboardManager->SaveState(profile, nullptr) && saved;
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
