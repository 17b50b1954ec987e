// CFileTreeCtrl: the file browser's folder tree. A desktop node holds Home, Documents, Computer
// (the mount points, shown as drives) and Network, then the desktop folder's own folders; below
// them the folders (and, when asked, files) of the disk, read when a node is first opened and
// dropped again when it is closed. Paths map to items and back, so the panel beside it can show
// the selected folder and select a folder by its path.
//
// The control also renames, deletes (to the trash, or for good with Shift), creates and opens
// folders, keeps a back/forward history of selections and can watch the selected folder for
// changes; each of these is switched by an option, and the file browser panel leaves the editing
// and the watching off.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "albums/FileTreeRules.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/mfc/Afx.h"
#include "platform/shellapi/ItemIdList.h"

struct IMalloc;
struct IShellFolder;
struct NETRESOURCE;
class CEvent;
class CFileFind;
class CWinThread;

// The registered message "FileTreeCtrlUpdateChange" the folder monitor posts to its tree.
extern const UINT WM_FILETREECTRL_UPDATE_CHANGE;

// One tree item's record (its lParam), owned by the tree and deleted with the item.
class CFileTreeItem {
 public:
  enum Kind : BYTE {
    kDesktop = 0,
    kNetwork = 1,  // the network root, a container, a server or a share
    kMyDocuments = 2,
    kMyComputer = 3,
    kUserProfile = 4,
    kFile = 5,
    kFolder = 6,
    kDrive = 7,
    kNew = 8
  };

  CFileTreeItem() = default;
  CFileTreeItem(const CFileTreeItem& other);
  CFileTreeItem& operator=(const CFileTreeItem&) = delete;
  virtual ~CFileTreeItem();

  // Keeps an owned copy of the resource and its four strings (null frees the copy).
  void SetNetResource(const NETRESOURCE* pResource);

  CString m_strPath;  // the full path; a drive's mount point; empty for Computer and network nodes
  CString m_strName;  // what path lookup matches: the file name, the mount point, the shown name
  NETRESOURCE* m_pNetResource = nullptr;
  BYTE m_nKind = kNew;
  BYTE m_bExtensionHidden = FALSE;  // the shown text leaves out the file's extension
};

class CFileTreeCtrl : public CTreeCtrl {
  DECLARE_DYNCREATE(CFileTreeCtrl)

 public:
  CFileTreeCtrl();
  ~CFileTreeCtrl() override;

  using CTreeCtrl::GetItemImage;
  using CTreeCtrl::InsertItem;

  // --- paths and kinds ---
  virtual CString GetItemPath(HTREEITEM hItem) const;
  // Follows existing items only: nothing is read from the disk or selected.
  virtual HTREEITEM FindItemByPath(const CString& strPath);
  virtual BOOL IsFile(const CString& strPath);
  virtual BOOL IsFileItem(HTREEITEM hItem);
  virtual BOOL IsFolder(const CString& strPath);
  virtual BOOL IsFolderItem(HTREEITEM hItem);
  // A mount point (the tree's drives).
  virtual BOOL IsDrive(const CString& strPath);
  virtual BOOL IsDriveItem(HTREEITEM hItem);
  virtual BOOL IsCompressed(const CString& strPath);
  virtual BOOL IsItemCompressed(HTREEITEM hItem);
  virtual BOOL IsEncrypted(const CString& strPath);
  virtual BOOL IsItemEncrypted(HTREEITEM hItem);
  // Whether the folder is a disk share of this machine: never on this system.
  virtual BOOL IsShared(const CString& strPath);

  // --- commands (each under its permission) ---
  virtual BOOL RenameItem(HTREEITEM hItem);
  virtual BOOL ShowProperties(HTREEITEM hItem);
  // Deletes the item's file or folder: to the trash, or for good while Shift is held; asks first.
  // (CTreeCtrl::DeleteItem drops an item from the tree alone.)
  virtual BOOL DeleteItem(HTREEITEM hItem);
  virtual BOOL OpenItem(HTREEITEM hItem);
  // Makes a folder (`strPath`, or "New Folder", "New Folder (2)" ... in the parent) and starts
  // renaming it; null when it could not be made.
  virtual HTREEITEM CreateNewFolder(HTREEITEM hParent, const CString& strPath);

  virtual void AttachImageList();
  virtual void UpOneLevel();
  // Reads everything again and selects the same path.
  virtual void Refresh();

  // --- history ---
  virtual void Back();
  virtual BOOL CanGoBack();
  virtual void Forward();
  virtual BOOL CanGoForward();
  virtual int GetMaxHistory();
  virtual void SetMaxHistory(int nMax);

  // --- filling ---
  virtual void AddChildren(const CString& strPath, HTREEITEM hParent, BOOL bRedrawOff, BOOL bDeleteExisting);
  virtual void AddDrives(HTREEITEM hParent, BOOL bRedrawOff);
  virtual int GetPidlIcon(LPCITEMIDLIST pidl);
  virtual int GetItemImage(HTREEITEM hItem);
  virtual int GetPathIcon(const CString& strPath);
  virtual int GetPidlSelectedIcon(LPCITEMIDLIST pidl);
  virtual int GetItemSelectedImage(HTREEITEM hItem);
  virtual int GetPathSelectedIcon(const CString& strPath);
  virtual BOOL HasChildren(const CString& strPath);
  virtual BOOL HasChildNamed(HTREEITEM hParent, const CString& strText);
  // Appends an item for `pData` (which the tree then owns) under hParent.
  virtual HTREEITEM InsertItem(HTREEITEM hParent, CFileTreeItem* pData, BOOL bShared, int nImage,
                               int nSelectedImage, BOOL bTestChildren);
  // The child whose record name is `strName`: spelled exactly first, else without regard to case.
  virtual HTREEITEM FindChild(HTREEITEM hParent, const CString& strName);
  virtual BOOL IsRemovableDrive(const CString& strPath);
  virtual HTREEITEM CopyItem(HTREEITEM hItem, HTREEITEM hNewParent, HTREEITEM hAfter);
  virtual HTREEITEM CopyBranch(HTREEITEM hItem, HTREEITEM hNewParent, HTREEITEM hAfter);
  virtual BOOL IsAcceptableFile(const CFileFind& find);
  virtual BOOL IsAcceptableFolder(const CFileFind& find);
  virtual BOOL IsDriveShown(const CString& strPath);
  virtual BOOL IsNetworkItemShown(const CFileTreeItem* pData);

  // --- folder monitor ---
  virtual BOOL CanMonitor(const CString& strPath);
  virtual BOOL StartMonitor(const CString& strPath);
  // The monitor thread's loop.
  virtual UINT MonitorFolder();
  virtual void StopMonitor();

  virtual BOOL GetVolumeSerial(const CString& strPath, DWORD* pSerial);
  virtual BOOL CheckDriveMedia(const CString& strPath);
  // Called after every selection change; does nothing here.
  virtual void OnSelectionChanged(NMHDR* pNMHDR, const CString& strPath);
  virtual BOOL AddNetworkChildren(HTREEITEM hParent);
  virtual CString GetShellDisplayName(const CString& strPath);
  virtual CString MakeNewFolderPath(const CString& strFolder);
  virtual void AddSpecialRoots();

  // --- the rest ---
  // The path of the selected item; empty when nothing is selected.
  CString GetSelectedPath();
  // Opens the tree down to a path and selects it (and, with bExpand, opens it too). Null when a
  // part of the path is missing; the deepest folder reached stays selected.
  HTREEITEM SelectPath(const CString& strPath, BOOL bExpand);

  // Options that rebuild the tree.
  void SetShowFiles(BOOL bShow);
  void SetShowNetwork(BOOL bShow);
  void SetShowDesktop(BOOL bShow);
  void SetShowMyDocuments(BOOL bShow);
  void SetShowUserProfile(BOOL bShow);
  void SetShowMyComputer(BOOL bShow);
  void SetRootFolder(const CString& strFolder, BOOL bShowAsItem);
  void SetHiddenDriveTypes(DWORD dwMask);
  // 0 files without their extension, 1 names as stored, 2 names as the desktop shows them.
  void SetDisplayTextMode(int nMode);
  // Options that take effect from the next operation.
  void SetAllowRename(BOOL bAllow) { m_bAllowRename = bAllow; }
  void SetAllowOpen(BOOL bAllow) { m_bAllowOpen = bAllow; }
  void SetAllowProperties(BOOL bAllow) { m_bAllowProperties = bAllow; }
  void SetAllowDelete(BOOL bAllow) { m_bAllowDelete = bAllow; }
  void SetAllowCreateFolder(BOOL bAllow) { m_bAllowCreateFolder = bAllow; }
  // Watching the selected folder: on, the monitor starts with the next selection.
  void SetMonitorChanges(BOOL bMonitor);
  BOOL GetShowFiles() const { return m_lShowFiles != 0; }
  BOOL GetMonitorChanges() const { return m_lMonitorChanges != 0; }
  BOOL IsMonitorRunning() const { return m_pMonitorThread != nullptr; }
  CString GetMonitoredFolder() const { return m_strMonitoredFolder; }

  CString GetDisplayText(CFileTreeItem* pData);
  void ExpandItem(HTREEITEM hItem);
  BOOL GetHasChildren(HTREEITEM hItem);
  void SetHasChildren(HTREEITEM hItem, int nValue);
  BOOL IsItemExpanded(HTREEITEM hItem);
  HTREEITEM FindServerContainer(HTREEITEM hItem);
  // Deletes every item and forgets the special items.
  BOOL DeleteAllItems();

  CFileTreeItem* GetItemRecord(HTREEITEM hItem) const;
  HTREEITEM GetDesktopItem() const { return m_hDesktop; }
  HTREEITEM GetMyComputerItem() const { return m_hMyComputer; }
  HTREEITEM GetMyDocumentsItem() const { return m_hMyDocuments; }
  HTREEITEM GetUserProfileItem() const { return m_hUserProfile; }
  HTREEITEM GetNetworkItem() const { return m_hNetworkRoot; }
  const filetree::History& GetHistory() const { return m_history; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg BOOL OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnRightClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg LRESULT OnUpdateChange(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  friend UINT FolderMonitorThread(LPVOID pParam);

  // Fills or opens an item on the way down a path.
  void FillOrExpand(HTREEITEM hItem);
  // The start of a path walk: the item, the part of the path left and whether the first part
  // names a drive (a mount point); null when the path cannot be reached.
  HTREEITEM FindStart(const std::string& strPath, bool bFill, std::string* pRest, bool* pDriveFirst);
  HTREEITEM FindDriveChild(HTREEITEM hComputer, const std::string& strPath, std::string* pRest);
  HTREEITEM WalkPath(const CString& strPath, bool bFill, bool bSelect);
  void RememberDrives();
  const std::string* DriveHolding(const std::string& strPath) const;
  // The special root items whose handles the tree keeps.
  bool IsSpecialRoot(HTREEITEM hItem) const;
  // An item whose path went away from the disk: deleted, and the parent loses its button when
  // nothing is left under it.
  void RemoveVanished(HTREEITEM hItem);
  HTREEITEM InsertSpecialRoot(int nCsidl, BYTE nKind, const CString& strPath, const CString& strFallbackName);
  CString FolderPathOf(int nCsidl) const;
  BOOL NavigateHistory(bool bBack);
  // Stops a running monitor for the span of a file operation and starts it again afterwards.
  class MonitorPause;
  void RestartMonitor(const CString& strFolder);

  // Options and state, UI thread unless said otherwise.
  CString m_strRootFolder;
  CString m_strMyDocumentsPath, m_strUserProfilePath, m_strDesktopPath;
  volatile LONG m_lShowFiles = TRUE;  // read by the monitor thread too
  HTREEITEM m_hBaseParent = TVI_ROOT;
  HTREEITEM m_hNetworkRoot = nullptr, m_hDesktop = nullptr, m_hMyDocuments = nullptr;
  HTREEITEM m_hMyComputer = nullptr, m_hUserProfile = nullptr, m_hRootFolder = nullptr;
  BOOL m_bShowMyComputer = TRUE, m_bShowDesktop = TRUE, m_bShowMyDocuments = FALSE, m_bShowUserProfile = TRUE;
  BOOL m_bAllowRename = FALSE, m_bAllowOpen = TRUE, m_bAllowProperties = TRUE, m_bAllowDelete = FALSE;
  BOOL m_bAllowCreateFolder = FALSE;
  DWORD m_dwHiddenDriveTypes = 0;
  DWORD m_dwExcludedFileAttributes, m_dwExcludedFolderAttributes;
  CStringArray m_arrFileMasks;
  COLORREF m_clrCompressed = RGB(0, 0, 255), m_clrEncrypted = RGB(255, 0, 0);
  BOOL m_bShowCompressed = TRUE, m_bShowEncrypted = TRUE;
  filetree::History m_history;
  BOOL m_bNavigatingHistory = FALSE;
  BOOL m_bShowNetwork = TRUE, m_bSharedOverlay = TRUE;
  int m_nDisplayTextMode = 2;
  IMalloc* m_pMalloc = nullptr;
  IShellFolder* m_pDesktopFolder = nullptr;
  DWORD m_dwNetResourceType = 0;
  BOOL m_bShellDriveNames = TRUE, m_bRootFolderItem = FALSE;
  int m_nComputerIcon = -1, m_nComputerOpenIcon = -1;
  volatile LONG m_lMonitorChanges = FALSE;  // read by the monitor thread too
  CString m_strMonitoredFolder;             // written before the thread starts, then read by it
  CWinThread* m_pMonitorThread = nullptr;
  std::unique_ptr<CEvent> m_pStopEvent;      // auto-reset
  std::unique_ptr<CEvent> m_pArmedEvent;     // manual-reset: the thread watches (or gave up)
  HWND m_hMonitorTarget = nullptr;           // the window the monitor posts to
  std::atomic<bool> m_bChangePosted{false};  // a posted change the UI thread has not seen yet
  BOOL m_bRefreshAfterEdit = FALSE;          // a change came during a label edit
  BOOL m_bCollapsingReset = FALSE;           // our own collapse-and-reset is under way
  std::vector<std::string> m_drives;         // the mount points, read on Refresh and AddDrives
  bool m_bDrivesKnown = false;
};

// The monitor thread's entry: the control's MonitorFolder.
UINT FolderMonitorThread(LPVOID pParam);

// The share list of this machine, re-read by every tree refresh. This system shares no folders,
// so it stays empty; the calls keep their order for the day it does.
class CShareList {
 public:
  CShareList();
  ~CShareList();
  CShareList(const CShareList&) = delete;
  CShareList& operator=(const CShareList&) = delete;
  void Enumerate();
  BOOL IsShared(const CString& strPath) const;
  DWORD GetCount() const { return m_nEntries; }

 private:
  BOOL m_bNT = TRUE;
  LPBYTE m_pBuffer = nullptr;
  DWORD m_nEntries = 0;
};
CShareList& GetShareList();
