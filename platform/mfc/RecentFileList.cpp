// The recent-file list: the entries, their profile section and their menu items.
#include "platform/mfc/RecentFileList.h"

#include <unistd.h>

#include <string>

#include "platform/base/Exceptions.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"

namespace {

std::string CurrentFolder() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

// A relative path is taken from the current folder, so the list names files wherever it is read.
std::string FullPath(const char* path) {
  std::string text = path ? path : "";
  if (text.empty() || pictavo::path::IsAbsolute(text)) return text;
  return pictavo::path::Join(CurrentFolder(), text);
}

// Shortens a path to at most `maxLength` bytes: the root, "...", and the last folders that fit;
// just the file name when even "root...\name" does not fit (and `atLeastName`).
std::string Abbreviate(const std::string& path, int maxLength, bool atLeastName) {
  if (static_cast<int>(path.size()) <= maxLength) return path;
  const std::string name(pictavo::path::FileName(path));
  size_t rootEnd = 0;
  while (rootEnd < path.size() && pictavo::path::IsSeparator(path[rootEnd])) ++rootEnd;
  const std::string root = path.substr(0, rootEnd);
  if (static_cast<int>(root.size() + 4 + name.size()) > maxLength) return atLeastName ? name : std::string();
  std::string tail = path.substr(rootEnd);
  for (;;) {
    const size_t next = tail.find_first_of("/\\");
    if (next == std::string::npos) break;
    tail.erase(0, next + 1);
    const std::string candidate = root + "..." + path[path.size() - name.size() - 1] + tail;
    if (static_cast<int>(candidate.size()) <= maxLength) return candidate;
  }
  return root + "..." + path[path.size() - name.size() - 1] + name;
}

}  // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen),
      m_nSize(nSize > 0 ? nSize : 0),
      m_arrNames(static_cast<size_t>(m_nSize)) {}

CString& CRecentFileList::operator[](int nIndex) {
  if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
  return m_arrNames[static_cast<size_t>(nIndex)];
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex < 0 || nIndex >= m_nSize) return;
  for (int i = nIndex; i < m_nSize - 1; ++i)
    m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i + 1)];
  m_arrNames[static_cast<size_t>(m_nSize - 1)].Empty();
}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
  if (m_nSize == 0 || !lpszPathName || !*lpszPathName) return;
  const std::string path = FullPath(lpszPathName);
  int slot = m_nSize - 1;  // the oldest goes when the path is new
  for (int i = 0; i < m_nSize; ++i) {
    if (pictavo::unicode::EqualsNoCase(m_arrNames[static_cast<size_t>(i)].Str(), path)) {
      slot = i;
      break;
    }
  }
  for (int i = slot; i > 0; --i) m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i - 1)];
  m_arrNames[0] = path;
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const {
  if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty()) return FALSE;
  std::string path = m_arrNames[static_cast<size_t>(nIndex)].Str();
  if (lpszCurDir && nCurDir > 0) {
    const std::string folder(pictavo::path::Folder(path));
    if (pictavo::unicode::EqualsNoCase(folder, std::string(lpszCurDir, static_cast<size_t>(nCurDir))))
      path = std::string(pictavo::path::FileName(path));
  }
  if (m_nMaxDisplayLength != -1) path = Abbreviate(path, m_nMaxDisplayLength, bAtLeastName != FALSE);
  strName = path;
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
  if (m_strOriginal.IsEmpty() && pCmdUI->m_pMenu)
    pCmdUI->m_pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
  if (m_nSize == 0 || m_arrNames[0].IsEmpty()) {
    if (!m_strOriginal.IsEmpty()) pCmdUI->SetText(m_strOriginal);
    pCmdUI->Enable(FALSE);
    return;
  }
  CMenu* menu = pCmdUI->m_pMenu;
  if (!menu) return;
  for (int i = 0; i < m_nSize; ++i) menu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
  const std::string folder = CurrentFolder();
  for (int i = 0; i < m_nSize; ++i) {
    CString name;
    if (!GetDisplayName(name, i, folder.c_str(), static_cast<int>(folder.size()))) break;
    name.Replace("&", "&&");  // a '&' of the path is no mnemonic
    CString text;
    text.Format("&%d %s", static_cast<int>((static_cast<UINT>(i) + 1 + m_nStart) % 10), name.GetString());
    menu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, text);
  }
  // The walk of the menu goes on after the items added.
  pCmdUI->m_nIndex--;
  pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
  pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList() {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  for (int i = 0; i < m_nSize; ++i) {
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    m_arrNames[static_cast<size_t>(i)] = app->GetProfileString(m_strSectionName, entry, "");
  }
}

void CRecentFileList::WriteList() {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  app->WriteProfileString(m_strSectionName, nullptr, nullptr);
  for (int i = 0; i < m_nSize; ++i) {
    if (m_arrNames[static_cast<size_t>(i)].IsEmpty()) continue;
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    app->WriteProfileString(m_strSectionName, entry, m_arrNames[static_cast<size_t>(i)]);
  }
}
