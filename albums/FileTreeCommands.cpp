// What the user does to the folder tree itself: keys and clicks, renaming, deleting and creating
// folders, opening items, the back/forward history, and the folder monitor thread that reads the
// tree again when the selected folder changes on the disk.
#include "albums/FileTreeCtrl.h"
#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SyncObjects.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/shellapi/ChangeNotify.h"
#include "platform/shellapi/FileOperation.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/user/Input.h"

namespace {

// A burst of changes (a copy of many photos) becomes one refresh: the monitor waits until the
// folder has been quiet this long, but no longer than the second figure.
constexpr DWORD kQuietMs = 150;
constexpr DWORD kLongestMergeMs = 1000;

std::string Str(const CString& text) {
  return std::string(text.GetString(), text.GetLength());
}

// Paths as the file operations take them: each NUL-terminated, the list ended by a second NUL.
std::string DoubleNul(const CString& path) {
  std::string list = Str(path);
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

HWND OperationOwner(CWnd* pTree) {
  if (CWnd* main = AfxGetMainWnd(); main && main->GetSafeHwnd()) return main->GetSafeHwnd();
  return pTree->GetSafeHwnd() ? ::GetAncestor(pTree->GetSafeHwnd(), GA_ROOT) : nullptr;
}

}  // namespace

// Stops a running monitor for a file operation of the tree's own, and starts it again on the
// same folder afterwards, so the tree does not read itself again for its own change.
class CFileTreeCtrl::MonitorPause {
 public:
  explicit MonitorPause(CFileTreeCtrl* pTree) : m_pTree(pTree) {
    if (m_pTree->m_pMonitorThread) {
      m_strFolder = m_pTree->m_strMonitoredFolder;
      m_pTree->StopMonitor();
    }
  }
  ~MonitorPause() {
    if (!m_strFolder.IsEmpty()) m_pTree->RestartMonitor(m_strFolder);
  }
  MonitorPause(const MonitorPause&) = delete;
  MonitorPause& operator=(const MonitorPause&) = delete;

 private:
  CFileTreeCtrl* m_pTree;
  CString m_strFolder;
};

// --- keys and clicks -------------------------------------------------------------------------

BOOL CFileTreeCtrl::PreTranslateMessage(MSG* pMsg) {
  if (GetEditControl()) {
    // Enter and Esc belong to the label editor, not to the dialog around the tree.
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
    return TRUE;
  }
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  if (pMsg->message == WM_CONTEXTMENU) return TRUE;
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 && shift)
    return TRUE;
  if (pMsg->message == WM_SYSKEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
        ShowProperties(GetSelectedItem());
        return TRUE;
      case VK_LEFT:
        Back();
        return TRUE;
      case VK_RIGHT:
        Forward();
        return TRUE;
      default:
        break;
    }
  } else if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
        OpenItem(GetSelectedItem());
        return TRUE;
      case VK_DELETE:
        DeleteItem(GetSelectedItem());
        return TRUE;
      case VK_F2:
        RenameItem(GetSelectedItem());
        return TRUE;
      case VK_F5:
        Refresh();
        return TRUE;
      case VK_BACK:
        UpOneLevel();
        return TRUE;
      default:
        break;
    }
  }
  return CTreeCtrl::PreTranslateMessage(pMsg);
}

BOOL CFileTreeCtrl::OnDblClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  const DWORD position = ::GetMessagePos();
  CPoint point(static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)));
  ScreenToClient(&point);
  const HTREEITEM hit = HitTest(point);
  const HTREEITEM caret = GetSelectedItem();
  if (hit && hit == caret && !GetHasChildren(caret)) OpenItem(caret);
  return FALSE;
}

BOOL CFileTreeCtrl::OnRightClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  const DWORD position = ::GetMessagePos();
  CPoint point(static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)));
  ScreenToClient(&point);
  if (const HTREEITEM hit = HitTest(point)) Select(hit, TVGN_CARET);
  return FALSE;
}

void CFileTreeCtrl::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pPopupMenu) return;
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;
    if (state.m_nID == static_cast<UINT>(-1)) {
      // A submenu stands for its first item.
      state.m_pSubMenu = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (!state.m_pSubMenu) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, state.m_nID < 0xF000);
    }
  }
}

// --- renaming --------------------------------------------------------------------------------

BOOL CFileTreeCtrl::RenameItem(HTREEITEM hItem) {
  if (!m_bAllowRename || !(IsFileItem(hItem) || IsFolderItem(hItem))) return FALSE;
  return EditLabel(hItem) != nullptr;
}

BOOL CFileTreeCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
  const HTREEITEM item = info->item.hItem;
  *pResult = (m_bAllowRename && (IsFileItem(item) || IsFolderItem(item))) ? 0 : 1;
  return TRUE;
}

BOOL CFileTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
  *pResult = 0;
  const HTREEITEM item = info->item.hItem;
  CFileTreeItem* record = GetItemRecord(item);
  if (info->item.pszText && record) {
    CString text = info->item.pszText;
    // A name with a separator would move the item into another folder, and "", "." and ".."
    // name no file: the old name stays.
    if (!filetree::IsAcceptableNewName(text)) {
      ::MessageBeep(MB_ICONWARNING);
    } else if (text != GetItemText(item)) {
      const CString from = record->m_strPath;
      CString name = text;
      if (record->m_bExtensionHidden)
        name += CString(std::string(pictavo::path::Extension(Str(from))).c_str());
      const CString to(filetree::JoinPath(std::string(pictavo::path::Folder(Str(from))), Str(name)).c_str());
      BOOL renamed = FALSE;
      {
        MonitorPause pause(this);
        const std::string fromList = DoubleNul(from), toList = DoubleNul(to);
        SHFILEOPSTRUCT operation{};
        operation.hwnd = OperationOwner(this);
        operation.wFunc = FO_RENAME;
        operation.pFrom = fromList.c_str();
        operation.pTo = toList.c_str();
        operation.fFlags = FOF_ALLOWUNDO;
        renamed = ::SHFileOperation(&operation) == 0 && !operation.fAnyOperationsAborted;
      }
      if (renamed && GetItemRecord(item) == record) {
        SetItemText(item, text);
        record->m_strPath = to;
        record->m_strName = name;
        if (!record->m_bExtensionHidden) SetItemImage(item, GetPathIcon(to), GetPathSelectedIcon(to));
        // The records below still hold the old paths: read the folder again under its new name.
        if (GetChildItem(item)) {
          const BOOL expanded = IsItemExpanded(item);
          AddChildren(to, item, TRUE, TRUE);
          if (expanded && GetChildItem(item)) Expand(item, TVE_EXPAND);
        }
      }
    }
  }
  if (m_bRefreshAfterEdit) {
    // A change of the disk came while the label was edited: read it now that the edit is over.
    m_bRefreshAfterEdit = FALSE;
    PostMessage(WM_FILETREECTRL_UPDATE_CHANGE, 0, 0);
  }
  return TRUE;
}

// --- deleting, creating, opening --------------------------------------------------------------

BOOL CFileTreeCtrl::DeleteItem(HTREEITEM hItem) {
  if (!m_bAllowDelete || !(IsFileItem(hItem) || IsFolderItem(hItem))) return FALSE;
  const bool forGood = ::GetKeyState(VK_SHIFT) < 0;
  BOOL deleted = FALSE;
  {
    MonitorPause pause(this);
    const std::string list = DoubleNul(GetItemPath(hItem));
    SHFILEOPSTRUCT operation{};
    operation.hwnd = OperationOwner(this);
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = forGood ? 0 : FOF_ALLOWUNDO;
    deleted = ::SHFileOperation(&operation) == 0 && !operation.fAnyOperationsAborted;
  }
  if (!deleted || !GetItemRecord(hItem)) return FALSE;
  const HTREEITEM parent = GetParentItem(hItem);
  HTREEITEM next = GetPrevSiblingItem(hItem);
  if (!next) next = GetNextSiblingItem(hItem);
  if (!next) next = parent;
  if (next) Select(next, TVGN_CARET);
  CTreeCtrl::DeleteItem(hItem);
  if (next && next == parent && !GetChildItem(parent)) SetHasChildren(parent, 0);
  return TRUE;
}

CString CFileTreeCtrl::MakeNewFolderPath(const CString& strFolder) {
  for (int n = 1;; ++n) {
    const CString candidate = filetree::NewFolderCandidate(strFolder, n);
    if (::GetFileAttributes(candidate) == INVALID_FILE_ATTRIBUTES) return candidate;
  }
}

HTREEITEM CFileTreeCtrl::CreateNewFolder(HTREEITEM hParent, const CString& strPath) {
  const CFileTreeItem* parent = GetItemRecord(hParent);
  if (!parent || !m_bAllowCreateFolder || parent->m_nKind == CFileTreeItem::kNetwork) return nullptr;
  // Computer and the network have no folder of their own to make one in.
  if (strPath.IsEmpty() && !IsFolder(parent->m_strPath)) return nullptr;
  const CString folder = strPath.IsEmpty() ? MakeNewFolderPath(parent->m_strPath) : strPath;
  const BOOL hadChildren = GetHasChildren(hParent);
  {
    MonitorPause pause(this);
    if (!::CreateDirectory(folder, nullptr)) return nullptr;
    ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATH, folder.GetString(), nullptr);
  }
  Expand(hParent, TVE_EXPAND);
  // Opening a parent that was never read lists the new folder already: it must not come twice.
  HTREEITEM item = nullptr;
  for (HTREEITEM child = GetChildItem(hParent); child && !item; child = GetNextSiblingItem(child))
    if (GetItemPath(child) == folder) item = child;
  if (!item) {
    auto* record = new CFileTreeItem;
    record->m_nKind = CFileTreeItem::kFolder;
    record->m_strPath = folder;
    record->m_strName = CString(std::string(pictavo::path::FileName(Str(folder))).c_str());
    item = InsertItem(hParent, record, FALSE, GetPathIcon(folder), GetPathSelectedIcon(folder), TRUE);
  }
  if (!item) return nullptr;
  if (!hadChildren) SetHasChildren(hParent, 1);
  Select(item, TVGN_CARET);
  RenameItem(item);
  return item;
}

BOOL CFileTreeCtrl::ShowProperties(HTREEITEM hItem) {
  if (!m_bAllowProperties || !hItem) return FALSE;
  const CString path = GetItemPath(hItem);
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = OperationOwner(this);
  info.lpVerb = "properties";
  info.lpFile = path;
  info.nShow = SW_SHOW;
  return ::ShellExecuteEx(&info);
}

BOOL CFileTreeCtrl::OpenItem(HTREEITEM hItem) {
  if (!m_bAllowOpen || !hItem) return FALSE;
  const CString path = GetItemPath(hItem);
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = OperationOwner(this);
  info.lpFile = path;
  info.nShow = SW_SHOW;
  return ::ShellExecuteEx(&info);
}

void CFileTreeCtrl::UpOneLevel() {
  const HTREEITEM caret = GetSelectedItem();
  if (!caret) return;
  if (const HTREEITEM parent = GetParentItem(caret)) Select(parent, TVGN_CARET);
}

// --- history ---------------------------------------------------------------------------------

BOOL CFileTreeCtrl::NavigateHistory(bool bBack) {
  const HTREEITEM caret = GetSelectedItem();
  const CFileTreeItem* caretRecord = GetItemRecord(caret);
  const filetree::HistoryEntry left{caret, caretRecord ? caretRecord->m_strPath : CString(),
                                    caretRecord ? caretRecord->m_nKind : BYTE(CFileTreeItem::kNew)};
  filetree::HistoryEntry entry;
  while (bBack ? m_history.PopBack(&entry) : m_history.PopForward(&entry)) {
    // An entry whose item went (a refresh, a collapse) is found again by its path or, for a
    // special root, by its kind; an entry whose folder went from the disk is skipped.
    HTREEITEM target = entry.hItem;
    m_bNavigatingHistory = TRUE;
    if (!target) {
      switch (entry.nKind) {
        case CFileTreeItem::kDesktop:
          target = m_hDesktop;
          break;
        case CFileTreeItem::kMyComputer:
          target = m_hMyComputer;
          break;
        case CFileTreeItem::kNetwork:
          target = entry.strPath.IsEmpty() ? m_hNetworkRoot : nullptr;
          break;
        default:
          if (!entry.strPath.IsEmpty() && ::GetFileAttributes(entry.strPath) != INVALID_FILE_ATTRIBUTES)
            target = SelectPath(entry.strPath, FALSE);
          break;
      }
    }
    if (target) {
      Select(target, TVGN_CARET);
      EnsureVisible(target);
    }
    m_bNavigatingHistory = FALSE;
    if (target && GetSelectedItem() == target) {
      if (caret && GetItemRecord(caret) == caretRecord) {
        if (bBack)
          m_history.AppendForward(left);
        else
          m_history.AppendBack(left);
      }
      return TRUE;
    }
  }
  return FALSE;
}

void CFileTreeCtrl::Back() {
  NavigateHistory(true);
}

BOOL CFileTreeCtrl::CanGoBack() {
  return m_history.CanGoBack();
}

void CFileTreeCtrl::Forward() {
  NavigateHistory(false);
}

BOOL CFileTreeCtrl::CanGoForward() {
  return m_history.CanGoForward();
}

int CFileTreeCtrl::GetMaxHistory() {
  return m_history.GetLimit();
}

void CFileTreeCtrl::SetMaxHistory(int nMax) {
  m_history.SetLimit(nMax);
}

// --- the folder monitor ----------------------------------------------------------------------

UINT FolderMonitorThread(LPVOID pParam) {
  return static_cast<CFileTreeCtrl*>(pParam)->MonitorFolder();
}

BOOL CFileTreeCtrl::CanMonitor(const CString& strPath) {
  if (strPath.IsEmpty() || IsFile(strPath) || !IsFolder(strPath)) return FALSE;
  if (!m_bDrivesKnown) RememberDrives();
  const std::string* drive = DriveHolding(filetree::NormalizePath(Str(strPath)));
  if (!drive) return TRUE;
  const UINT type = ::GetDriveType(drive->c_str());
  return type != DRIVE_REMOVABLE && type != DRIVE_CDROM;
}

BOOL CFileTreeCtrl::StartMonitor(const CString& strPath) {
  StopMonitor();
  m_strMonitoredFolder = strPath;
  if (!pictavo::path::EndsWithSeparator(Str(m_strMonitoredFolder))) m_strMonitoredFolder += "/";
  // A thread that ended by itself (a folder it could not watch) left a stop unclaimed: the next
  // thread must not take it for its own.
  m_pStopEvent->ResetEvent();
  m_hMonitorTarget = m_hWnd;
  CWinThread* thread = AfxBeginThread(FolderMonitorThread, this, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
  if (!thread) return FALSE;
  thread->m_bAutoDelete = FALSE;
  m_pMonitorThread = thread;
  m_pArmedEvent->ResetEvent();
  thread->ResumeThread();
  // Changes made right after the selection must not slip by before the watch is set up.
  ::WaitForSingleObject(*m_pArmedEvent, INFINITE);
  return TRUE;
}

void CFileTreeCtrl::RestartMonitor(const CString& strFolder) {
  if (m_lMonitorChanges && CanMonitor(strFolder)) StartMonitor(strFolder);
}

UINT CFileTreeCtrl::MonitorFolder() {
  // Monitor thread: reads only the folder, the two switches and the window handle.
  const DWORD filter = m_lShowFiles ? (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)
                                    : FILE_NOTIFY_CHANGE_DIR_NAME;
  const HANDLE change = ::FindFirstChangeNotification(m_strMonitoredFolder, FALSE, filter);
  m_pArmedEvent->SetEvent();
  if (change == INVALID_HANDLE_VALUE) return 0;
  const HANDLE handles[2] = {change, static_cast<HANDLE>(*m_pStopEvent)};
  for (;;) {
    if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    ::FindNextChangeNotification(change);
    if (!m_lMonitorChanges) break;
    bool stop = false;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kLongestMergeMs) {
      const DWORD quiet = ::WaitForMultipleObjects(2, handles, FALSE, kQuietMs);
      if (quiet == WAIT_TIMEOUT) break;
      if (quiet != WAIT_OBJECT_0) {
        stop = true;
        break;
      }
      ::FindNextChangeNotification(change);
    }
    if (stop) break;
    // One message at a time: while the tree has not read the last one, more changes add nothing.
    if (!m_bChangePosted.exchange(true)) ::PostMessage(m_hMonitorTarget, WM_FILETREECTRL_UPDATE_CHANGE, 0, 0);
  }
  ::FindCloseChangeNotification(change);
  return 0;
}

void CFileTreeCtrl::StopMonitor() {
  if (!m_pMonitorThread) return;
  m_pStopEvent->SetEvent();
  ::WaitForSingleObject(m_pMonitorThread->m_hThread, INFINITE);
  delete m_pMonitorThread;
  m_pMonitorThread = nullptr;
}

LRESULT CFileTreeCtrl::OnUpdateChange(WPARAM, LPARAM) {
  m_bChangePosted = false;
  if (!m_lMonitorChanges) return 0;
  if (GetEditControl()) {
    // Reading the tree now would throw away the label being typed.
    m_bRefreshAfterEdit = TRUE;
    return 0;
  }
  Refresh();
  return 0;
}
