#include "toolkit/bars/PlxCommandManager.h"

#include "platform/base/CString.h"
#include "toolkit/core/PlxRegistry.h"

namespace {

constexpr UINT kHashSize = 17;
const char kRegSection[] = "PlxToolBars";
const char kRegEntry[] = "CommandsWithoutImages";

CPlxCommandManager g_CommandManager;

bool IsStorable(UINT uiCmd) {
  return uiCmd != 0 && uiCmd != static_cast<UINT>(-1);
}

CString KeyPath(LPCTSTR lpszProfileName) {
  const CString path = PlxGetRegPath(kRegSection, lpszProfileName);
  CString key;
  key.Format("%sPlxCommandManager", static_cast<LPCTSTR>(path));
  return key;
}

}  // namespace

CPlxCommandManager* GetCommandManager() {
  return &g_CommandManager;
}

CPlxCommandManager::CPlxCommandManager() {
  m_CommandIndex.InitHashTable(kHashSize, FALSE);
  m_CommandIndexUser.InitHashTable(kHashSize, FALSE);
}

CPlxCommandManager::~CPlxCommandManager() = default;

void CPlxCommandManager::SetCmdImage(UINT uiCmd, int iImage, BOOL bUserImage) {
  if (!IsStorable(uiCmd)) return;
  // The other strip's binding, when there is one, wins.
  if (GetCmdImage(uiCmd, !bUserImage) >= 0) return;
  (bUserImage ? m_CommandIndexUser : m_CommandIndex).SetAt(uiCmd, iImage);
}

int CPlxCommandManager::GetCmdImage(UINT uiCmd, BOOL bUserImage) const {
  int iImage = -1;
  if (!(bUserImage ? m_CommandIndexUser : m_CommandIndex).Lookup(uiCmd, iImage)) return -1;
  return iImage;
}

void CPlxCommandManager::ClearUserCmdImage(UINT uiCmd) {
  m_CommandIndexUser.RemoveKey(uiCmd);
  if (m_CommandIndexUser.IsEmpty()) m_CommandIndexUser.RemoveAll();
}

void CPlxCommandManager::ClearAllCmdImages() {
  m_CommandIndex.RemoveAll();
  m_CommandIndexUser.RemoveAll();
  m_lstCommandsWithoutImages.RemoveAll();
}

void CPlxCommandManager::EnableMenuItemImage(UINT uiCmd, BOOL bEnable) {
  POSITION pos = m_lstCommandsWithoutImages.Find(uiCmd);
  if (bEnable) {
    if (pos != nullptr) m_lstCommandsWithoutImages.RemoveAt(pos);
  } else if (pos == nullptr) {
    m_lstCommandsWithoutImages.AddTail(uiCmd);
  }
}

BOOL CPlxCommandManager::LoadState(LPCTSTR lpszProfileName) {
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, TRUE);
  if (!reg.Open(KeyPath(lpszProfileName))) return FALSE;
  // Read into a scratch list so a damaged value leaves the current one as it was.
  CList<UINT, UINT> loaded;
  if (!reg.ReadSerialized(kRegEntry, loaded)) return FALSE;
  m_lstCommandsWithoutImages.RemoveAll();
  m_lstCommandsWithoutImages.AddTail(&loaded);
  return TRUE;
}

BOOL CPlxCommandManager::SaveState(LPCTSTR lpszProfileName) {
  CPlxRegistryHolder holder;
  CPlxRegistry& reg = holder.Create(FALSE, FALSE);
  if (!reg.CreateKey(KeyPath(lpszProfileName))) return FALSE;
  return reg.WriteSerialized(kRegEntry, m_lstCommandsWithoutImages);
}
