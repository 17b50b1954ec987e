// The file browser panel (template 151), child 151 of the organize page, above the album
// editor: a folder tree beside a file list of the selected folder's subfolders, photos and music,
// with a splitter between them. The user hands rows to the album editor by double-click, the
// context menu, the album pages' add buttons or by dragging them (or a tree folder) onto the
// album list, the photo list, the album options page and its music list, or the video list. The
// panel also serves the album editor with the folder walks that turn a folder's photos into
// slides and the counters of its rows. Thumbnails of the listed photos come from the thumbnail
// loader's thread; the panel owns the rows and stops the loader before it frees them.
// UI thread only.
#pragma once

#include <memory>

#include "controls/LayoutMgr.h"
#include "controls/ListCtrls.h"
#include "controls/SizerBar.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/comctl/TreeView.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CAddFilesProgressWnd;
class CDVDAlbumBase;
class CDVDAlbumImage;
class CDVDAlbumMovie;
class CDVDImage;
class CFileTreeCtrl;
class CImageList;
class CImageLoadManager;
class CListCtrlDragHelper;
class CTreeCtrlDragHelper;
struct _tagDragInfo;
struct NMLISTVIEW;

#define IDD_EXPLORE_BAR 151
#define IDC_EXPLORE_TREE 1020
#define IDC_EXPLORE_LIST 1073
#define IDC_EXPLORE_SPLITTER 1025
#define IDR_EXPLORE_ACCEL 189
// Posted to the panel to sort the file list again by the remembered column (each one reverses
// the order once the list is sorted by that column).
#define WM_FILELIST_RESORT 0x1A73

// Item data of a file-browser row: kind 0 photo (`pData` a row-owned CDVDImage), 1 music, 2
// folder, 3 video clip (each of those a row-owned CString path). The parent-folder row ("..") is
// a folder row whose path ends with a separator.
struct _tagBrowserItem {
  int nKind;
  void* pData;
};

// The path of a music, folder or video row; a photo row's file; "" for none.
CString BrowserItemPath(const _tagBrowserItem* pItem);

class ExploreBarDlg : public CPropertyPage {
 public:
  ExploreBarDlg();
  ~ExploreBarDlg() override;

  // The folder selected in the folder tree; the folder shown while the tree has none.
  CString GetSelectedTreeFolder();

  // Replaces the rows by the listed entries of a folder and starts the thumbnail loader on them.
  void DisplayFolder(CString strFolder);
  // Sorts the rows by a column; the same column again reverses the order.
  void SortByColumn(int nColumn);
  CBufferedListCtrl& GetFileList() { return m_list; }
  CFileTreeCtrl* GetFolderTree() { return m_pTree; }
  BOOL IsThumbnailView() const { return m_bThumbnailView; }
  int GetSortColumn() const { return m_nSortColumn; }
  CImageLoadManager& GetThumbnailLoader() { return *m_pLoader; }

  // Counts the photo, music and video rows of the file list (folders are not counted), all of
  // them or the selected ones. Each output may be null.
  void CountAllItems(int* pPhotos, int* pMusic, int* pVideos);
  void CountSelectedItems(int* pPhotos, int* pMusic, int* pVideos);

  // Adds every photo of a folder (and of its subfolders when asked) to the album in the slot,
  // which is made on demand and named `lpszAlbumName` or after the folder. A progress window
  // with Cancel shows once the walk passes half a second. FALSE when the user cancelled.
  BOOL AddFolderToAlbum(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, CDVDAlbumMovie*& pVideoAlbum,
                        BOOL bSubfolders, CDVDImage* pPosition, LPCTSTR lpszAlbumName);
  // Batch collect: one new album per folder holding the folder's own photos, named after it; the
  // slot receives the last folder's album. FALSE when the user cancelled.
  BOOL AddFoldersAsAlbums(const CStringArray& folders, CDVDAlbumBase*& pLastAlbum);

  // The drag picture of the thumbnail view: the visible selected tiles (the drag helper's
  // callback), and one tile's picture.
  static CImageList* CreateBrowserDragImage(const _tagDragInfo* pInfo, POINT* pOrigin);
  CImageList* CreateTileDragImage(int nRow);
  // Draws one thumbnail tile with its corner at (x, y); the tile picture by the row's state, or
  // `nTile` when given.
  void DrawThumbnailTile(CDC* pDC, int nRow, int x, int y, int nTile = -1);

  CString m_strCurrentFolder;        // the folder shown; the last one saved until the user picks another
  CListCtrl* m_pFileList = nullptr;  // the file list once the panel has a window

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnCancelMode();
  afx_msg LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResort(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnViewThumbnails();
  afx_msg void OnViewDetails();
  afx_msg void OnViewLargeIcons();
  afx_msg void OnViewList();
  afx_msg void OnViewSmallIcons();
  afx_msg void OnSortCommand(UINT nID);
  afx_msg void OnAddToAlbum();
  afx_msg void OnAddAll();
  afx_msg void OnSelectAll();
  DECLARE_MESSAGE_MAP()

  LRESULT OnTreeSelChanged(NMHDR* pNotify);
  LRESULT OnTreeClick();
  LRESULT OnListDblClk();
  LRESULT OnListCustomDraw(NMHDR* pNotify);
  void OnListBeginDrag(NMLISTVIEW* pNotify);
  void OnTreeBeginDrag(NMHDR* pNotify);

 private:
  // The folder tree: made, subclassed and set up for a read-only navigator.
  BOOL CreateFolderTree();
  CString TreeSelectedPath();
  // Selects a folder in the tree and opens it; FALSE when the tree has no such folder.
  BOOL TreeSelectFolder(const CString& strPath);
  CString TreeItemPath(HTREEITEM hItem) const;
  void SetView(DWORD dwStyle, BOOL bThumbnails);
  // The skin's tile pictures and the application's shared system icon lists, looked up when
  // used: a skin reload replaces them.
  static CImageList* TileImages();
  static CImageList* LargeIcons();
  static CImageList* SmallIcons();
  void FreeRows();
  // Stops both auto-scrolls of a drag (the album list's and the photo list's).
  void StopAutoScrolls();
  void DropListRows(UINT nFlags, CPoint point);
  void DropTreeFolder(UINT nFlags, CPoint point);
  // Walks one folder; FALSE once the user cancelled.
  BOOL AddFolderFiles(LPCTSTR lpszFolder, CDVDAlbumImage*& pPhotoAlbum, BOOL bSubfolders,
                      CDVDImage* pPosition);
  // FALSE when the walk is to end: the progress window was cancelled.
  BOOL TickProgress();
  void ShowAdding(LPCTSTR lpszPath);
  BOOL AddPhotoToAlbum(CDVDAlbumImage*& pPhotoAlbum, LPCTSTR lpszPath, CDVDImage* pPosition);
  void BeginWalk();
  BOOL EndWalk();
  void CountItems(int* pPhotos, int* pMusic, int* pVideos, BOOL bSelectedOnly);

  CBufferedListCtrl m_list;  // 1073
  CLayoutMgr m_layout;
  CSizerBar m_sizerBar;  // takes the place of static 1025
  HACCEL m_hAccel = nullptr;
  std::unique_ptr<CImageLoadManager> m_pLoader;
  CFileTreeCtrl* m_pTree = nullptr;  // the folder tree, owned
  BOOL m_bThumbnailView = TRUE;
  int m_nIconSpacingX = 0;  // the other views' icon spacing
  int m_nIconSpacingY = 0;
  CListCtrlDragHelper* m_pListDrag = nullptr;  // owned
  CTreeCtrlDragHelper* m_pTreeDrag = nullptr;  // owned
  int m_nArrowColumn = -1;                     // the header item that carries the sort arrow
  BOOL m_bAscending = FALSE;
  int m_nSortColumn = 0;       // remembered, also in the settings
  int m_nTreeWidth = -1;       // the tree's width once it reached the stored one
  BOOL m_bNavigating = FALSE;  // a folder row's double-click moves the tree's selection

  CString m_strAlbumName;                       // the name a walk gives an album it makes
  CAddFilesProgressWnd* m_pProgress = nullptr;  // owned, during a walk only
  BOOL m_bCancelled = FALSE;
};

// The look of the organize page's two panels: the skin's page colour inside a thin frame a shade
// darker than the window around it.
void PaintAlbumPanel(CWnd* pPanel, CDC* pDC);
