#include "toolkit/core/PlxWorkspace.h"

#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/core/PlxRegistry.h"

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
}

CPlxWorkspace* CPlxWorkspace::GetWorkspace() {
  return g_pWorkspace;
}

BOOL CPlxWorkspace::InitContextMenuManager() {
  if (m_bContextMenuManagerAutocreated) return FALSE;
  m_bContextMenuManagerAutocreated = TRUE;
  return TRUE;
}

BOOL CPlxWorkspace::InitShellAccess() {
  if (m_bShellAutocreated) return FALSE;
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
  GetCommandManager()->LoadState(profile);
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
  saved = GetCommandManager()->SaveState(profile) && saved;
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
