// The folder tree: records, options, filling, path lookup and drawing. Drives, network and shares
// are in FileTreeDrives.cpp; commands, history and the folder monitor in FileTreeCommands.cpp.
#include "albums/FileTreeCtrl.h"

#include <algorithm>

#include "platform/comctl/CommCtrl.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Interlocked.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/SyncObjects.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/Network.h"
#include "platform/shellapi/ShellFolder.h"

#ifndef FILE_ATTRIBUTE_OFFLINE
#define FILE_ATTRIBUTE_OFFLINE 0x00001000u
#endif
#ifndef FILE_ATTRIBUTE_ENCRYPTED
#define FILE_ATTRIBUTE_ENCRYPTED 0x00004000u
#endif

const UINT WM_FILETREECTRL_UPDATE_CHANGE = ::RegisterWindowMessage("FileTreeCtrlUpdateChange");

namespace {

constexpr DWORD kExcludedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

char* Duplicate(const char* text) {
  if (!text) return nullptr;
  const size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

void FreeResource(NETRESOURCE* resource) {
  if (!resource) return;
  delete[] resource->lpLocalName;
  delete[] resource->lpRemoteName;
  delete[] resource->lpComment;
  delete[] resource->lpProvider;
  delete resource;
}

int CALLBACK CompareChildren(LPARAM a, LPARAM b, LPARAM) {
  const auto* first = reinterpret_cast<const CFileTreeItem*>(a);
  const auto* second = reinterpret_cast<const CFileTreeItem*>(b);
  if (!first || !second) return first ? -1 : (second ? 1 : 0);
  return filetree::CompareRecords(first->m_nKind, first->m_strName, second->m_nKind, second->m_strName);
}

std::string Str(const CString& text) {
  return std::string(text.GetString(), text.GetLength());
}

// "<folder>/*.*", or "<folder>/<mask>".
CString Pattern(const CString& strFolder, const CString& strMask) {
  return CString(filetree::JoinPath(Str(strFolder), Str(strMask)).c_str());
}

}  // namespace

// --- the item record -------------------------------------------------------------------------

CFileTreeItem::CFileTreeItem(const CFileTreeItem& other)
    : m_strPath(other.m_strPath),
      m_strName(other.m_strName),
      m_nKind(other.m_nKind),
      m_bExtensionHidden(other.m_bExtensionHidden) {
  SetNetResource(other.m_pNetResource);
}

CFileTreeItem::~CFileTreeItem() {
  FreeResource(m_pNetResource);
}

void CFileTreeItem::SetNetResource(const NETRESOURCE* pResource) {
  NETRESOURCE* copy = nullptr;
  if (pResource) {
    copy = new NETRESOURCE(*pResource);
    copy->lpLocalName = Duplicate(pResource->lpLocalName);
    copy->lpRemoteName = Duplicate(pResource->lpRemoteName);
    copy->lpComment = Duplicate(pResource->lpComment);
    copy->lpProvider = Duplicate(pResource->lpProvider);
  }
  FreeResource(m_pNetResource);
  m_pNetResource = copy;
}

// --- the control -----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFileTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CFileTreeCtrl, CTreeCtrl)
ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDING, OnItemExpanding)
ON_NOTIFY_REFLECT_EX(TVN_SELCHANGED, OnSelChanged)
ON_NOTIFY_REFLECT_EX(TVN_DELETEITEM, OnDeleteItem)
ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT_EX(TVN_BEGINLABELEDIT, OnBeginLabelEdit)
ON_NOTIFY_REFLECT_EX(TVN_ENDLABELEDIT, OnEndLabelEdit)
ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnDblClick)
ON_NOTIFY_REFLECT_EX(NM_RCLICK, OnRightClick)
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_REGISTERED_MESSAGE(WM_FILETREECTRL_UPDATE_CHANGE, OnUpdateChange)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CFileTreeCtrl::CFileTreeCtrl()
    : m_dwExcludedFileAttributes(kExcludedAttributes),
      m_dwExcludedFolderAttributes(kExcludedAttributes),
      m_pStopEvent(std::make_unique<CEvent>(FALSE, FALSE)),
      m_pArmedEvent(std::make_unique<CEvent>(FALSE, TRUE)) {
  m_arrFileMasks.Add("*.*");
  char name[64] = {};
  DWORD size = 17;
  if (::GetComputerName(name, &size)) {
    CString server;
    server.Format("\\\\%s", name);
    m_nComputerIcon = GetPathIcon(server);
    m_nComputerOpenIcon = GetPathSelectedIcon(server);
  }
}

CFileTreeCtrl::~CFileTreeCtrl() {
  StopMonitor();
  if (m_pDesktopFolder) m_pDesktopFolder->Release();
  if (m_pMalloc) m_pMalloc->Release();
}

void CFileTreeCtrl::PreSubclassWindow() {
  CTreeCtrl::PreSubclassWindow();
  if (!m_pDesktopFolder && FAILED(SHGetDesktopFolder(&m_pDesktopFolder))) m_pDesktopFolder = nullptr;
  if (!m_pMalloc && FAILED(SHGetMalloc(&m_pMalloc))) m_pMalloc = nullptr;
}

CFileTreeItem* CFileTreeCtrl::GetItemRecord(HTREEITEM hItem) const {
  if (!hItem || hItem == TVI_ROOT || !GetSafeHwnd()) return nullptr;
  return reinterpret_cast<CFileTreeItem*>(CTreeCtrl::GetItemData(hItem));
}

CString CFileTreeCtrl::GetItemPath(HTREEITEM hItem) const {
  const CFileTreeItem* record = GetItemRecord(hItem);
  return record ? record->m_strPath : CString();
}

CString CFileTreeCtrl::GetSelectedPath() {
  return GetSafeHwnd() ? GetItemPath(GetSelectedItem()) : CString();
}

BOOL CFileTreeCtrl::IsFile(const CString& strPath) {
  const DWORD attributes = ::GetFileAttributes(strPath);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CFileTreeCtrl::IsFileItem(HTREEITEM hItem) {
  const CFileTreeItem* record = GetItemRecord(hItem);
  return record && record->m_nKind == CFileTreeItem::kFile;
}

BOOL CFileTreeCtrl::IsFolder(const CString& strPath) {
  const DWORD attributes = ::GetFileAttributes(strPath);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CFileTreeCtrl::IsFolderItem(HTREEITEM hItem) {
  const CFileTreeItem* record = GetItemRecord(hItem);
  return record && record->m_nKind == CFileTreeItem::kFolder;
}

BOOL CFileTreeCtrl::IsDriveItem(HTREEITEM hItem) {
  const CFileTreeItem* record = GetItemRecord(hItem);
  return record && record->m_nKind == CFileTreeItem::kDrive;
}

BOOL CFileTreeCtrl::IsCompressed(const CString& strPath) {
  if (strPath.IsEmpty() || IsDrive(strPath)) return FALSE;
  const DWORD attributes = ::GetFileAttributes(strPath);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_COMPRESSED);
}

BOOL CFileTreeCtrl::IsItemCompressed(HTREEITEM hItem) {
  return IsCompressed(GetItemPath(hItem));
}

BOOL CFileTreeCtrl::IsEncrypted(const CString& strPath) {
  if (strPath.IsEmpty() || IsDrive(strPath)) return FALSE;
  const DWORD attributes = ::GetFileAttributes(strPath);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_ENCRYPTED);
}

BOOL CFileTreeCtrl::IsItemEncrypted(HTREEITEM hItem) {
  return IsEncrypted(GetItemPath(hItem));
}

BOOL CFileTreeCtrl::IsShared(const CString& strPath) {
  return GetShareList().IsShared(strPath);
}

// --- options ---------------------------------------------------------------------------------

void CFileTreeCtrl::SetShowFiles(BOOL bShow) {
  ::InterlockedExchange(&m_lShowFiles, bShow ? TRUE : FALSE);
  Refresh();
}

void CFileTreeCtrl::SetShowNetwork(BOOL bShow) {
  m_bShowNetwork = bShow;
  Refresh();
}

void CFileTreeCtrl::SetShowDesktop(BOOL bShow) {
  m_bShowDesktop = bShow;
  Refresh();
}

void CFileTreeCtrl::SetShowMyDocuments(BOOL bShow) {
  m_bShowMyDocuments = bShow;
  Refresh();
}

void CFileTreeCtrl::SetShowUserProfile(BOOL bShow) {
  m_bShowUserProfile = bShow;
  Refresh();
}

void CFileTreeCtrl::SetShowMyComputer(BOOL bShow) {
  m_bShowMyComputer = bShow;
  Refresh();
}

void CFileTreeCtrl::SetRootFolder(const CString& strFolder, BOOL bShowAsItem) {
  m_strRootFolder = CString(filetree::NormalizePath(Str(strFolder)).c_str());
  m_bRootFolderItem = bShowAsItem;
  Refresh();
}

void CFileTreeCtrl::SetHiddenDriveTypes(DWORD dwMask) {
  m_dwHiddenDriveTypes = dwMask;
  Refresh();
}

void CFileTreeCtrl::SetDisplayTextMode(int nMode) {
  m_nDisplayTextMode = nMode;
  Refresh();
}

void CFileTreeCtrl::SetMonitorChanges(BOOL bMonitor) {
  ::InterlockedExchange(&m_lMonitorChanges, bMonitor ? TRUE : FALSE);
  if (!bMonitor) StopMonitor();
}

// --- building --------------------------------------------------------------------------------

BOOL CFileTreeCtrl::DeleteAllItems() {
  if (!GetSafeHwnd()) return FALSE;
  const BOOL done = CTreeCtrl::DeleteAllItems();
  m_hNetworkRoot = m_hDesktop = m_hMyDocuments = m_hMyComputer = m_hUserProfile = m_hRootFolder = nullptr;
  m_hBaseParent = TVI_ROOT;
  return done;
}

CString CFileTreeCtrl::FolderPathOf(int nCsidl) const {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPath(nullptr, nCsidl, nullptr, SHGFP_TYPE_CURRENT, path))) return CString();
  return CString(filetree::NormalizePath(path).c_str());
}

void CFileTreeCtrl::Refresh() {
  if (!GetSafeHwnd()) return;
  CWaitCursor wait;
  SetRedraw(FALSE);
  const HTREEITEM caret = GetSelectedItem();
  const CString selected = GetItemPath(caret);
  const BOOL expanded = caret && IsItemExpanded(caret);

  GetShareList().Enumerate();
  StopMonitor();
  DeleteAllItems();
  RememberDrives();

  if (!m_strRootFolder.IsEmpty()) {
    AddChildren(m_strRootFolder, m_hBaseParent, FALSE, TRUE);
  } else {
    if (m_bShowDesktop) {
      const CString desktop = FolderPathOf(CSIDL_DESKTOP);
      const CString home = FolderPathOf(CSIDL_PROFILE);
      // The desktop's own folders follow the special roots only when it is a folder of its own:
      // where the desktop is the home folder, Home already lists them.
      m_strDesktopPath = (IsFolder(desktop) && desktop != home) ? desktop : CString();
      auto* record = new CFileTreeItem;
      record->m_nKind = CFileTreeItem::kDesktop;
      record->m_strPath = desktop;
      LPITEMIDLIST pidl = nullptr;
      int image = 0, selectedImage = 0;
      if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl))) {
        SHFILEINFO info{};
        if (::SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                            SHGFI_PIDL | SHGFI_DISPLAYNAME))
          record->m_strName = info.szDisplayName;
        image = GetPidlIcon(pidl);
        selectedImage = GetPidlSelectedIcon(pidl);
        ::ILFree(pidl);
      }
      if (record->m_strName.IsEmpty()) record->m_strName = "Desktop";
      m_hDesktop = m_hBaseParent = InsertItem(TVI_ROOT, record, FALSE, image, selectedImage, FALSE);
    } else {
      m_strDesktopPath.Empty();
      m_hBaseParent = TVI_ROOT;
    }
    AddSpecialRoots();
    if (!m_strDesktopPath.IsEmpty()) AddChildren(m_strDesktopPath, m_hBaseParent, FALSE, FALSE);
  }

  // Putting the selection back is no step of the user's: the history stays as it was.
  HTREEITEM restored = nullptr;
  const BOOL navigating = m_bNavigatingHistory;
  m_bNavigatingHistory = TRUE;
  if (caret && !selected.IsEmpty()) restored = SelectPath(selected, expanded);
  m_bNavigatingHistory = navigating;
  if (!restored && m_hDesktop) Expand(m_hDesktop, TVE_EXPAND);
  SetRedraw(TRUE);
  Invalidate();
}

HTREEITEM CFileTreeCtrl::InsertSpecialRoot(int nCsidl, BYTE nKind, const CString& strPath,
                                           const CString& strFallbackName) {
  auto* record = new CFileTreeItem;
  record->m_nKind = nKind;
  record->m_strPath = strPath;
  int image = 0, selectedImage = 0;
  LPITEMIDLIST pidl = nullptr;
  if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, nCsidl, &pidl))) {
    SHFILEINFO info{};
    if (::SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                        SHGFI_PIDL | SHGFI_DISPLAYNAME))
      record->m_strName = info.szDisplayName;
    image = GetPidlIcon(pidl);
    selectedImage = GetPidlSelectedIcon(pidl);
    if (m_pMalloc)
      m_pMalloc->Free(pidl);
    else
      ::ILFree(pidl);
  }
  if (record->m_strName.IsEmpty()) record->m_strName = strFallbackName;
  return InsertItem(m_hBaseParent, record, FALSE, std::max(image, 0), std::max(selectedImage, 0), FALSE);
}

void CFileTreeCtrl::AddSpecialRoots() {
  if (m_bShowUserProfile) {
    m_strUserProfilePath = FolderPathOf(CSIDL_PROFILE);
    m_hUserProfile = InsertSpecialRoot(CSIDL_PROFILE, CFileTreeItem::kUserProfile, m_strUserProfilePath,
                                       CString(pictavo::path::FileName(Str(m_strUserProfilePath)).data()));
  }
  if (m_bShowMyDocuments) {
    // A documents folder the user never made gets no item: it would vanish at the first click.
    const CString documents = FolderPathOf(CSIDL_PERSONAL);
    m_strMyDocumentsPath = IsFolder(documents) ? documents : CString();
    if (!m_strMyDocumentsPath.IsEmpty())
      m_hMyDocuments = InsertSpecialRoot(CSIDL_PERSONAL, CFileTreeItem::kMyDocuments, m_strMyDocumentsPath,
                                         CString(pictavo::path::FileName(Str(documents)).data()));
  }
  if (m_bShowMyComputer)
    m_hMyComputer = InsertSpecialRoot(CSIDL_DRIVES, CFileTreeItem::kMyComputer, CString(), "Computer");
  else
    AddDrives(m_hBaseParent, FALSE);
  if (m_bShowNetwork)
    m_hNetworkRoot = InsertSpecialRoot(CSIDL_NETWORK, CFileTreeItem::kNetwork, CString(), "Network");
}

HTREEITEM CFileTreeCtrl::InsertItem(HTREEITEM hParent, CFileTreeItem* pData, BOOL bShared, int nImage,
                                    int nSelectedImage, BOOL bTestChildren) {
  if (!pData) return nullptr;
  const CString text = (pData->m_nKind == CFileTreeItem::kDrive && m_bShellDriveNames)
                           ? GetShellDisplayName(pData->m_strPath)
                           : GetDisplayText(pData);
  TVINSERTSTRUCT insert{};
  insert.hParent = hParent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPSTR>(text.GetString());
  insert.item.iImage = nImage;
  insert.item.iSelectedImage = nSelectedImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(pData);
  insert.item.cChildren = bTestChildren ? (HasChildren(pData->m_strPath) ? 1 : 0) : 1;
  if (bShared) {
    insert.item.mask |= TVIF_STATE;
    insert.item.state = INDEXTOOVERLAYMASK(1);
    insert.item.stateMask = TVIS_OVERLAYMASK;
  }
  const HTREEITEM item = CTreeCtrl::InsertItem(&insert);
  if (!item) delete pData;
  return item;
}

CString CFileTreeCtrl::GetDisplayText(CFileTreeItem* pData) {
  if (!pData) return CString();
  CString text = pData->m_strName;
  pData->m_bExtensionHidden = FALSE;
  if (m_nDisplayTextMode == 0 && IsFile(pData->m_strPath)) {
    const std::string name = Str(pData->m_strName);
    text = CString(std::string(name.substr(0, name.size() - pictavo::path::Extension(name).size())).c_str());
    pData->m_bExtensionHidden = text != pData->m_strName;
  }
  // Mode 2 shows names as the desktop's file manager does: whole, extension included.
  return text;
}

BOOL CFileTreeCtrl::HasChildren(const CString& strPath) {
  if (strPath.IsEmpty()) return FALSE;
  if (IsRemovableDrive(strPath)) return TRUE;
  {
    CFileFind find;
    BOOL more = find.FindFile(Pattern(strPath, "*.*"));
    while (more) {
      more = find.FindNextFile();
      if (IsAcceptableFolder(find)) return TRUE;
    }
  }
  if (!m_lShowFiles) return FALSE;
  for (INT_PTR i = 0; i < m_arrFileMasks.GetSize(); ++i) {
    CFileFind find;
    BOOL more = find.FindFile(Pattern(strPath, m_arrFileMasks[i]));
    while (more) {
      more = find.FindNextFile();
      if (!find.IsDirectory() && IsAcceptableFile(find)) return TRUE;
    }
  }
  return FALSE;
}

BOOL CFileTreeCtrl::IsAcceptableFile(const CFileFind& find) {
  return m_lShowFiles && !find.IsDirectory() && !find.MatchesMask(m_dwExcludedFileAttributes);
}

BOOL CFileTreeCtrl::IsAcceptableFolder(const CFileFind& find) {
  return find.IsDirectory() && !find.IsDots() && !find.MatchesMask(m_dwExcludedFolderAttributes);
}

void CFileTreeCtrl::AddChildren(const CString& strPath, HTREEITEM hParent, BOOL bRedrawOff,
                                BOOL bDeleteExisting) {
  CWaitCursor wait;
  if (bRedrawOff) SetRedraw(FALSE);
  if (bDeleteExisting && hParent) {
    HTREEITEM child = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    while (child) {
      const HTREEITEM next = GetNextSiblingItem(child);
      CTreeCtrl::DeleteItem(child);
      child = next;
    }
  }
  if (m_bRootFolderItem && !m_strRootFolder.IsEmpty() && hParent == m_hBaseParent) {
    auto* record = new CFileTreeItem;
    record->m_nKind = CFileTreeItem::kFolder;
    record->m_strPath = record->m_strName = m_strRootFolder;
    m_hRootFolder = InsertItem(hParent, record, FALSE, GetPathIcon(m_strRootFolder),
                               GetPathSelectedIcon(m_strRootFolder), TRUE);
    if (m_hRootFolder) Expand(m_hRootFolder, TVE_EXPAND);
    if (bRedrawOff) SetRedraw(TRUE);
    return;
  }

  int added = 0;
  {
    CFileFind find;
    BOOL more = find.FindFile(Pattern(strPath, "*.*"));
    while (more) {
      more = find.FindNextFile();
      if (!IsAcceptableFolder(find)) continue;
      auto* record = new CFileTreeItem;
      record->m_nKind = CFileTreeItem::kFolder;
      record->m_strName = find.GetFileName();
      record->m_strPath = CString(filetree::JoinPath(Str(strPath), Str(record->m_strName)).c_str());
      const BOOL shared = m_bSharedOverlay && IsShared(record->m_strPath);
      if (InsertItem(hParent, record, shared, GetPathIcon(record->m_strPath),
                     GetPathSelectedIcon(record->m_strPath), TRUE))
        ++added;
    }
  }
  if (m_lShowFiles) {
    for (INT_PTR i = 0; i < m_arrFileMasks.GetSize(); ++i) {
      CFileFind find;
      BOOL more = find.FindFile(Pattern(strPath, m_arrFileMasks[i]));
      while (more) {
        more = find.FindNextFile();
        if (find.IsDirectory() || !IsAcceptableFile(find)) continue;
        auto* record = new CFileTreeItem;
        record->m_nKind = CFileTreeItem::kFile;
        record->m_strName = find.GetFileName();
        record->m_strPath = CString(filetree::JoinPath(Str(strPath), Str(record->m_strName)).c_str());
        if (InsertItem(hParent, record, FALSE, GetPathIcon(record->m_strPath),
                       GetPathSelectedIcon(record->m_strPath), TRUE))
          ++added;
      }
    }
  }
  TVSORTCB sort{hParent, CompareChildren, 0};
  SortChildrenCB(&sort);
  if (added == 0 && hParent != m_hBaseParent) SetHasChildren(hParent, 0);
  if (bRedrawOff) SetRedraw(TRUE);
}

int CFileTreeCtrl::GetPidlIcon(LPCITEMIDLIST pidl) {
  SHFILEINFO info{};
  if (!::SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_LINKOVERLAY))
    return -1;
  return info.iIcon;
}

int CFileTreeCtrl::GetPidlSelectedIcon(LPCITEMIDLIST pidl) {
  SHFILEINFO info{};
  if (!::SHGetFileInfo(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON))
    return -1;
  return info.iIcon;
}

int CFileTreeCtrl::GetPathIcon(const CString& strPath) {
  SHFILEINFO info{};
  if (!::SHGetFileInfo(strPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return -1;
  return info.iIcon;
}

int CFileTreeCtrl::GetPathSelectedIcon(const CString& strPath) {
  SHFILEINFO info{};
  if (!::SHGetFileInfo(strPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON))
    return -1;
  return info.iIcon;
}

int CFileTreeCtrl::GetItemImage(HTREEITEM hItem) {
  int image = -1, selected = -1;
  return hItem && CTreeCtrl::GetItemImage(hItem, image, selected) ? image : -1;
}

int CFileTreeCtrl::GetItemSelectedImage(HTREEITEM hItem) {
  int image = -1, selected = -1;
  return hItem && CTreeCtrl::GetItemImage(hItem, image, selected) ? selected : -1;
}

BOOL CFileTreeCtrl::HasChildNamed(HTREEITEM hParent, const CString& strText) {
  for (HTREEITEM child = GetChildItem(hParent); child; child = GetNextSiblingItem(child))
    if (pictavo::unicode::EqualsNoCase(Str(GetItemText(child)), Str(strText))) return TRUE;
  return FALSE;
}

HTREEITEM CFileTreeCtrl::FindChild(HTREEITEM hParent, const CString& strName) {
  // Names may differ by case only (Photos and photos side by side): the exact one wins.
  HTREEITEM noCase = nullptr;
  const std::string wanted = Str(strName);
  for (HTREEITEM child = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent); child;
       child = GetNextSiblingItem(child)) {
    const CFileTreeItem* record = GetItemRecord(child);
    if (!record) continue;
    const std::string name = Str(record->m_strName);
    if (name == wanted) return child;
    if (!noCase && pictavo::unicode::EqualsNoCase(name, wanted)) noCase = child;
  }
  return noCase;
}

HTREEITEM CFileTreeCtrl::CopyItem(HTREEITEM hItem, HTREEITEM hNewParent, HTREEITEM hAfter) {
  const CFileTreeItem* record = GetItemRecord(hItem);
  TVITEM item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE | TVIF_HANDLE;
  item.hItem = hItem;
  item.stateMask = 0xFFFF;
  if (!GetItem(&item)) return nullptr;
  const CString text = GetItemText(hItem);
  TVINSERTSTRUCT insert{};
  insert.hParent = hNewParent;
  insert.hInsertAfter = hAfter;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE | TVIF_PARAM;
  insert.item.pszText = const_cast<LPSTR>(text.GetString());
  insert.item.iImage = item.iImage;
  insert.item.iSelectedImage = item.iSelectedImage;
  insert.item.cChildren = item.cChildren;
  insert.item.state = item.state & ~(TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  insert.item.stateMask = 0xFFFF & ~(TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  auto* copy = record ? new CFileTreeItem(*record) : nullptr;
  insert.item.lParam = reinterpret_cast<LPARAM>(copy);
  const HTREEITEM made = CTreeCtrl::InsertItem(&insert);
  if (!made) delete copy;
  return made;
}

HTREEITEM CFileTreeCtrl::CopyBranch(HTREEITEM hItem, HTREEITEM hNewParent, HTREEITEM hAfter) {
  const HTREEITEM made = CopyItem(hItem, hNewParent, hAfter);
  if (!made) return nullptr;
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child))
    CopyBranch(child, made, TVI_LAST);
  return made;
}

BOOL CFileTreeCtrl::GetHasChildren(HTREEITEM hItem) {
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  return hItem && GetItem(&item) && item.cChildren != 0;
}

void CFileTreeCtrl::SetHasChildren(HTREEITEM hItem, int nValue) {
  if (!hItem || hItem == TVI_ROOT) return;
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  item.cChildren = nValue;
  SetItem(&item);
}

BOOL CFileTreeCtrl::IsItemExpanded(HTREEITEM hItem) {
  return hItem && (GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED);
}

bool CFileTreeCtrl::IsSpecialRoot(HTREEITEM hItem) const {
  return hItem == m_hBaseParent || hItem == m_hMyDocuments || hItem == m_hUserProfile ||
         hItem == m_hNetworkRoot || hItem == m_hMyComputer;
}

void CFileTreeCtrl::RemoveVanished(HTREEITEM hItem) {
  const HTREEITEM parent = GetParentItem(hItem);
  CTreeCtrl::DeleteItem(hItem);
  // The parent loses its button only when nothing else is left under it.
  if (parent && !GetChildItem(parent)) SetHasChildren(parent, 0);
}

void CFileTreeCtrl::ExpandItem(HTREEITEM hItem) {
  if (!hItem) return;
  if (hItem == m_hBaseParent && m_strRootFolder.IsEmpty()) {
    AddSpecialRoots();
    if (!m_strDesktopPath.IsEmpty()) AddChildren(m_strDesktopPath, m_hBaseParent, FALSE, FALSE);
    return;
  }
  CFileTreeItem* record = GetItemRecord(hItem);
  if (!record) return;
  if (hItem == m_hMyComputer) {
    CWaitCursor wait;
    AddDrives(hItem, FALSE);
    return;
  }
  if (hItem == m_hNetworkRoot || (record->m_pNetResource && !IsFolder(record->m_strPath))) {
    CWaitCursor wait;
    AddNetworkChildren(hItem);
    return;
  }
  const CString path = record->m_strPath;
  if (path.IsEmpty()) return;
  if (CheckDriveMedia(path)) {
    if (IsFolder(path)) {
      if (!GetChildItem(hItem)) AddChildren(path, hItem, TRUE, TRUE);
    } else {
      RemoveVanished(hItem);
    }
  } else if (hItem != m_hBaseParent) {
    CWaitCursor wait;
    m_bCollapsingReset = TRUE;
    CTreeCtrl::Expand(hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
    m_bCollapsingReset = FALSE;
    SetHasChildren(hItem, 0);
  }
}

BOOL CFileTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
  const HTREEITEM item = nm->itemNew.hItem;
  *pResult = 0;
  if (m_bCollapsingReset || !item) return FALSE;
  if ((nm->action & TVE_ACTIONMASK) == TVE_EXPAND) {
    if (GetHasChildren(item) && !GetChildItem(item)) ExpandItem(item);
  } else if ((nm->action & TVE_ACTIONMASK) == TVE_COLLAPSE) {
    CWaitCursor wait;
    const int before = GetHasChildren(item) ? 1 : 0;
    const CFileTreeItem* record = GetItemRecord(item);
    const bool keepsButton =
        !(record && record->m_nKind == CFileTreeItem::kNetwork &&
          !(record->m_pNetResource && record->m_pNetResource->dwDisplayType == RESOURCEDISPLAYTYPE_SHARE));
    m_bCollapsingReset = TRUE;
    CTreeCtrl::Expand(item, TVE_COLLAPSE | TVE_COLLAPSERESET);
    m_bCollapsingReset = FALSE;
    if (keepsButton && GetItemRecord(item)) SetHasChildren(item, before);
  }
  return FALSE;
}

// --- paths to items --------------------------------------------------------------------------

void CFileTreeCtrl::FillOrExpand(HTREEITEM hItem) {
  if (!hItem || hItem == TVI_ROOT) return;
  if (GetHasChildren(hItem) && !GetChildItem(hItem))
    ExpandItem(hItem);
  else
    Expand(hItem, TVE_EXPAND);
}

HTREEITEM CFileTreeCtrl::FindDriveChild(HTREEITEM hComputer, const std::string& strPath, std::string* pRest) {
  // The deepest mount point that holds the path: a nested mount is its own drive.
  HTREEITEM best = nullptr;
  size_t bestLength = 0;
  for (bool noCase : {false, true}) {
    for (HTREEITEM child = hComputer == TVI_ROOT ? GetRootItem() : GetChildItem(hComputer); child;
         child = GetNextSiblingItem(child)) {
      const CFileTreeItem* record = GetItemRecord(child);
      if (!record || record->m_nKind != CFileTreeItem::kDrive) continue;
      const std::string mount = filetree::NormalizePath(Str(record->m_strPath));
      std::string rest;
      if (filetree::HasPathPrefix(strPath, mount, noCase, &rest) && (!best || mount.size() > bestLength)) {
        best = child;
        bestLength = mount.size();
        if (pRest) *pRest = rest;
      }
    }
    if (best) break;
  }
  return best;
}

HTREEITEM CFileTreeCtrl::FindStart(const std::string& strPath, bool bFill, std::string* pRest,
                                   bool* pDriveFirst) {
  *pDriveFirst = false;
  if (!m_strRootFolder.IsEmpty()) {
    if (!filetree::HasPathPrefix(strPath, Str(m_strRootFolder), false, pRest) &&
        !filetree::HasPathPrefix(strPath, Str(m_strRootFolder), true, pRest))
      return nullptr;
    return m_hRootFolder ? m_hRootFolder : m_hBaseParent;
  }
  // Paths that start with "\\" name network shares elsewhere; here they are plain paths (the
  // separators fold into one), so the network node never starts a walk.

  // A desktop that was closed lost its special items: open it again first.
  if (m_hDesktop && !GetChildItem(m_hDesktop) && bFill) FillOrExpand(m_hDesktop);

  const struct {
    const CString* path;
    HTREEITEM item;
  } roots[] = {{&m_strDesktopPath, m_hDesktop},
               {&m_strUserProfilePath, m_hUserProfile},
               {&m_strMyDocumentsPath, m_hMyDocuments}};
  for (bool noCase : {false, true}) {
    for (const auto& root : roots) {
      if (root.path->IsEmpty() || !root.item) continue;
      if (!filetree::HasPathPrefix(strPath, Str(*root.path), noCase, pRest)) continue;
      if (bFill) {
        FillOrExpand(root.item);
        if (root.item == m_hDesktop && pRest->empty()) CTreeCtrl::Expand(root.item, TVE_COLLAPSE);
      }
      return root.item;
    }
  }
  if (m_hMyComputer) {
    if (bFill) FillOrExpand(m_hMyComputer);
    *pDriveFirst = true;
    *pRest = strPath;
    return m_hMyComputer;
  }
  if (!m_bShowMyComputer) {
    // The drives sit right under the base parent.
    *pDriveFirst = true;
    *pRest = strPath;
    return m_hBaseParent;
  }
  return nullptr;
}

HTREEITEM CFileTreeCtrl::WalkPath(const CString& strPath, bool bFill, bool bSelect) {
  const std::string path = filetree::NormalizePath(Str(strPath));
  if (path.empty() || !GetSafeHwnd()) return nullptr;
  std::string rest;
  bool driveFirst = false;
  HTREEITEM current = FindStart(path, bFill, &rest, &driveFirst);
  if (!current) return nullptr;
  const bool targetIsDrive = IsDrive(strPath);
  if (driveFirst) {
    current = FindDriveChild(current, path, &rest);
    if (!current) return nullptr;
    if (!rest.empty() && bSelect) {
      Select(current, TVGN_CARET);
      if (GetSelectedItem() != current) return nullptr;
    }
    if (!rest.empty() && bFill) FillOrExpand(current);
  }
  const std::vector<std::string> parts = filetree::SplitComponents(rest);
  for (size_t i = 0; i < parts.size(); ++i) {
    const HTREEITEM child = FindChild(current, CString(parts[i].c_str()));
    if (!child) return nullptr;  // the deepest folder reached stays selected
    current = child;
    if (i + 1 < parts.size() && !targetIsDrive) {
      if (bSelect) {
        Select(current, TVGN_CARET);
        // A folder that went away from the disk was removed by its selection.
        if (GetSelectedItem() != current) return nullptr;
      }
      if (bFill) FillOrExpand(current);
    }
  }
  return current == TVI_ROOT ? nullptr : current;
}

HTREEITEM CFileTreeCtrl::SelectPath(const CString& strPath, BOOL bExpand) {
  if (!GetSafeHwnd()) return nullptr;
  const std::string path = filetree::NormalizePath(Str(strPath));
  if (path.empty()) return nullptr;
  if (!m_strRootFolder.IsEmpty()) {
    std::string rest;
    if (!filetree::HasPathPrefix(path, Str(m_strRootFolder), false, &rest) &&
        !filetree::HasPathPrefix(path, Str(m_strRootFolder), true, &rest))
      return nullptr;
    if (rest.empty()) {
      if (m_hRootFolder) Select(m_hRootFolder, TVGN_CARET);
      return m_hRootFolder;
    }
  }
  SetRedraw(FALSE);
  HTREEITEM result = WalkPath(strPath, true, true);
  if (result) {
    Select(result, TVGN_CARET);
    if (GetSelectedItem() != result) {
      result = nullptr;
    } else if (bExpand) {
      if (GetHasChildren(result) && !GetChildItem(result)) ExpandItem(result);
      if (GetItemRecord(result)) Expand(result, TVE_EXPAND);
    }
  }
  SetRedraw(TRUE);
  return result;
}

HTREEITEM CFileTreeCtrl::FindItemByPath(const CString& strPath) {
  return WalkPath(strPath, false, false);
}

// --- notifications ---------------------------------------------------------------------------

BOOL CFileTreeCtrl::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
  *pResult = 0;
  const HTREEITEM item = nm->itemNew.hItem;
  const CFileTreeItem* record = GetItemRecord(item);
  const CString path = record ? record->m_strPath : CString();
  if (item && record && !IsSpecialRoot(item) && record->m_nKind != CFileTreeItem::kNetwork &&
      !IsDrive(path) && ::GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES) {
    // Gone from the disk: the item goes, and its selection is not passed on, since the parent
    // would otherwise look at an item that no longer exists (the deletion selects a neighbour,
    // which it hears of).
    RemoveVanished(item);
    return TRUE;
  }
  const HTREEITEM old = nm->itemOld.hItem;
  if (old && !m_bNavigatingHistory) {
    const CFileTreeItem* oldRecord = GetItemRecord(old);
    m_history.PushSelection({old, oldRecord ? oldRecord->m_strPath : CString(),
                             oldRecord ? oldRecord->m_nKind : BYTE(CFileTreeItem::kNew)});
  }
  if (IsDrive(path)) {
    DWORD serial = 0;
    GetVolumeSerial(path, &serial);
  }
  if (m_lMonitorChanges && CanMonitor(path))
    StartMonitor(path);
  else
    StopMonitor();
  OnSelectionChanged(pNMHDR, path);
  return FALSE;
}

void CFileTreeCtrl::OnSelectionChanged(NMHDR*, const CString&) {}

BOOL CFileTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
  *pResult = 0;
  const HTREEITEM item = nm->itemOld.hItem;
  if (item && item != TVI_ROOT) {
    delete reinterpret_cast<CFileTreeItem*>(nm->itemOld.lParam);
    // Closing the desktop deletes the items behind the kept handles: they must not be used again.
    for (HTREEITEM* kept :
         {&m_hNetworkRoot, &m_hDesktop, &m_hMyDocuments, &m_hMyComputer, &m_hUserProfile, &m_hRootFolder})
      if (*kept == item) *kept = nullptr;
    if (m_hBaseParent == item) m_hBaseParent = TVI_ROOT;
    m_history.ForgetItem(item);
  }
  return FALSE;
}

BOOL CFileTreeCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(pNMHDR);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *pResult = CDRF_NOTIFYITEMDRAW;
      break;
    case CDDS_ITEMPREPAINT: {
      *pResult = 0;
      if (!IsWindowVisible() || (draw->nmcd.uItemState & CDIS_SELECTED)) break;
      const auto item = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
      if (m_bShowCompressed && IsItemCompressed(item))
        draw->clrText = m_clrCompressed;
      else if (m_bShowEncrypted && IsItemEncrypted(item))
        draw->clrText = m_clrEncrypted;
      break;
    }
    default:
      *pResult = 0;
      break;
  }
  return TRUE;
}

void CFileTreeCtrl::OnContextMenu(CWnd* pWnd, CPoint point) {
  CTreeCtrl::OnContextMenu(pWnd, point);
}

void CFileTreeCtrl::OnDestroy() {
  StopMonitor();
  DeleteAllItems();
  CTreeCtrl::OnDestroy();
}
