#include "toolkit/core/PlxMouseManager.h"

#include <vector>

#include "platform/base/Archive.h"
#include "toolkit/core/PlxRegistry.h"

IMPLEMENT_SERIAL(CPlxMouseManager, CObject, 1)

CPlxMouseManager* g_pMouseManager = nullptr;

namespace {
constexpr LPCTSTR kSection = "PlxMouseManager";
constexpr LPCTSTR kValue = "Mouse";
}  // namespace

CPlxMouseManager::CPlxMouseManager() {
  m_ViewsNames.InitHashTable(17);
  m_ViewsToCommands.InitHashTable(17);
  m_ViewsToIcons.InitHashTable(17);
  g_pMouseManager = this;
}

CPlxMouseManager::~CPlxMouseManager() {
  if (g_pMouseManager == this) g_pMouseManager = nullptr;
}

BOOL CPlxMouseManager::AddView(int iViewId, LPCTSTR lpszViewName, UINT uiIconId) {
  if (!lpszViewName || !*lpszViewName) return FALSE;
  int existing = 0;
  if (m_ViewsNames.Lookup(lpszViewName, existing) && existing != iViewId) return FALSE;
  m_ViewsNames.SetAt(lpszViewName, iViewId);
  if (uiIconId)
    m_ViewsToIcons.SetAt(static_cast<UINT>(iViewId), uiIconId);
  else
    m_ViewsToIcons.RemoveKey(static_cast<UINT>(iViewId));
  return TRUE;
}

UINT CPlxMouseManager::GetViewDblClickCommand(int iViewId) const {
  UINT cmd = 0;
  return m_ViewsToCommands.Lookup(static_cast<UINT>(iViewId), cmd) ? cmd : 0;
}

void CPlxMouseManager::SetCommandForDblClick(int iViewId, UINT uiCmd) {
  if (uiCmd)
    m_ViewsToCommands.SetAt(static_cast<UINT>(iViewId), uiCmd);
  else
    m_ViewsToCommands.RemoveKey(static_cast<UINT>(iViewId));
}

void CPlxMouseManager::GetViewNames(CStringList& listOfNames) const {
  listOfNames.RemoveAll();
  for (POSITION pos = m_ViewsNames.GetStartPosition(); pos;) {
    CString name;
    int id = 0;
    m_ViewsNames.GetNextAssoc(pos, name, id);
    listOfNames.AddTail(name);
  }
}

int CPlxMouseManager::GetViewIdByName(LPCTSTR lpszName) const {
  int id = -1;
  return lpszName && m_ViewsNames.Lookup(lpszName, id) ? id : -1;
}

UINT CPlxMouseManager::GetViewIconId(int iViewId) const {
  UINT icon = 0;
  return m_ViewsToIcons.Lookup(static_cast<UINT>(iViewId), icon) ? icon : 0;
}

void CPlxMouseManager::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_ViewsToCommands.GetCount());
    for (POSITION pos = m_ViewsToCommands.GetStartPosition(); pos;) {
      UINT view = 0, cmd = 0;
      m_ViewsToCommands.GetNextAssoc(pos, view, cmd);
      ar << view << cmd;
    }
    return;
  }
  // Read whole before anything changes: a short or broken record throws and keeps the old set.
  DWORD count = 0;
  ar >> count;
  std::vector<std::pair<UINT, UINT>> read;
  for (DWORD i = 0; i < count; ++i) {
    UINT view = 0, cmd = 0;
    ar >> view >> cmd;
    read.emplace_back(view, cmd);
  }
  m_ViewsToCommands.RemoveAll();
  for (const auto& [view, cmd] : read) m_ViewsToCommands.SetAt(view, cmd);
}

BOOL CPlxMouseManager::LoadState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, TRUE);
  if (!registry.Open(path)) return FALSE;
  return registry.ReadSerialized(kValue, *this);
}

BOOL CPlxMouseManager::SaveState(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kSection, lpszProfileName);
  CPlxRegistryHolder holder;
  CPlxRegistry& registry = holder.Create(FALSE, FALSE);
  if (!registry.CreateKey(path)) return FALSE;
  return registry.WriteSerialized(kValue, *this);
}
