// Folder trees over the shell namespace: CShellFolderTree shows the desktop with the home folder,
// the documents folder, Computer and its drives (the mount points) and the folders below them,
// filled as nodes are expanded; CFolderCheckTree adds a check box per folder and collects the checked
// folders, with the sub-folders on disk of checked folders that were never expanded.
#pragma once

#include "platform/base/CString.h"
#include "platform/comctl/AfxTreeCtrl.h"
#include "platform/mfc/Afx.h"
#include "platform/shellapi/ItemIdList.h"

struct IMalloc;
struct IShellFolder;
class CStringArray;

#define WM_SHELL_TREE_REFRESH 0x04D7  // wParam: the item whose children are read again

// The record of one tree item, its lParam.
struct ShellTreeItemData {
  CString strPath;       // the parsing name: a path, or "::{class id}" for a virtual folder
  UINT uAttributes = 0;  // SFGAO_HASSUBFOLDER, _FILESYSTEM, _SHARE, _LINK of the item
  int nKind = 0;         // 4 the desktop root, 3 Computer, 0 any other folder
  IShellFolder* pFolder = nullptr;
  LPITEMIDLIST pidlAbsolute = nullptr;  // from the tree's allocator
  UINT cbAbsolute = 0;                  // bytes of pidlAbsolute without its terminator
};

class CShellFolderTree : public CTreeCtrl {
 public:
  CShellFolderTree();
  ~CShellFolderTree() override;

  // Styles, the system image list and the desktop root with its first level; selects the root
  // file system. Run on WM_CREATE, and by a dialog whose template holds the tree.
  void Initialize();
  // The path of an item; without one, that of the selection (empty when nothing is selected).
  CString GetItemPath(HTREEITEM hItem = nullptr) const;
  // Opens the tree down to a folder and selects it; FALSE when the shell does not know it.
  BOOL SelectPath(LPCTSTR lpszPath);

  // The children of hItem were just inserted.
  virtual void OnItemPopulated(HTREEITEM hItem);

  // Orders two children: shell items before file-system ones (in the shell's order), then
  // file-system ancestors first, then paths without regard to case.
  static int CompareRecords(const ShellTreeItemData* a, const ShellTreeItemData* b);
  // Whether a parsing name is one the tree never shows (network, recycle bin).
  static BOOL IsHiddenVirtualFolder(const CString& strPath);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg BOOL OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  ShellTreeItemData* RecordOf(HTREEITEM hItem) const;
  void Populate(HTREEITEM hItem);
  HTREEITEM InsertChild(LPCITEMIDLIST pidlRelative, HTREEITEM hParent);
  void InsertDocuments(HTREEITEM hRoot);
  void DeleteChildren(HTREEITEM hItem);
  void FreeRecord(ShellTreeItemData* pRecord);

 private:
  void FreeSubtree(HTREEITEM hItem);

  IMalloc* m_pMalloc = nullptr;
  bool m_bInitialized = false;
};

class CFolderCheckTree : public CShellFolderTree {
 public:
  void CheckSelected();
  void UncheckSelected();
  void CheckSelectedSubtree();
  void UncheckSelectedSubtree();
  void UncheckAll();
  // Every checked folder, and the sub-folders on disk of checked folders never expanded; stops,
  // keeping what it gathered, when *pbCancel becomes non-zero (looked at after each message
  // dispatched on the way). Returns 1.
  int GetCheckedFolders(CStringArray& arrFolders, BOOL* pbCancel);

  void OnItemPopulated(HTREEITEM hItem) override;
  BOOL IsChecked(HTREEITEM hItem) const;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void SetChecked(HTREEITEM hItem, BOOL bCheck);
  void SetSubtree(HTREEITEM hItem, BOOL bCheck);
  void UpdateAncestorsBold(HTREEITEM hItem);
  bool Collect(HTREEITEM hItem, CStringArray& arrFolders, BOOL* pbCancel);
  bool CollectFromDisk(const CString& strFolder, CStringArray& arrFolders, BOOL* pbCancel, int nDepth);
};
