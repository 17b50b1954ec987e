// The album editor (template 152), the lower half of the organize page: the project's albums as
// a column of skin cards whose selection is the active album, and beside it the two tab strips
// with the photo-album and video-album sheets below them. Every window changes the current album through
// this page. Its commands add photos, make and delete albums, open and create projects and act on
// the current album's slides. UI thread only.
#pragma once

#include <vector>

#include "albums/AlbumPropSheet.h"
#include "controls/AlbumListBox.h"
#include "controls/LayoutMgr.h"
#include "controls/SkinTabStrip.h"
#include "modules/data/DVDImage.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CCoolButtonBar;
class CDSTLAudio;
class CDVDAlbumBase;
class CDVDAlbumImage;
class CDVDAlbumMovie;
class CFullScreenPlayerWnd;
class CListBoxDragHelper;
struct _DV_LIST_ITEM_DATA;

#define IDD_ALBUM_EDITOR 152
#define IDC_ALBUM_TAB_AREA 1491
#define IDC_ALBUM_SHEET_AREA 1023
#define IDC_ALBUM_COMBO 1243
#define IDC_ALBUM_LIST 1072
#define IDC_ALBUM_TAB_STRIP 1139
#define IDC_VIDEO_ALBUM_TAB_STRIP 1140
#define IDC_ALBUM_BUTTON_BAR 1240
#define IDC_ALBUM_SHEET 88
#define IDC_VIDEO_ALBUM_SHEET 89

class AlbumEditorDlg : public CPropertyPage {
 public:
  AlbumEditorDlg();
  ~AlbumEditorDlg() override;

  // --- project (the main dialog's File commands end here) ---
  // An empty project with the settings' defaults; the album list and every page emptied. 1.
  int NewProject();
  // Opens a project file; missing media are appended to `missingFiles` and counted. A file the
  // data model can't read is reported and leaves the previous project and its list in place.
  // TRUE when the file was opened.
  int OpenProject(CString strPath, CStringArray& missingFiles, int& nMissing);
  int OpenProject(CString strPath, CStringArray& missingFiles);

  // --- the album list and its selection ---
  void SetActiveAlbumIndex(int nIndex);
  int GetActiveAlbumIndex() const { return m_nActiveAlbumIndex; }
  CDVDAlbumBase* GetSelectedAlbum();
  CDVDAlbumImage* GetCurrentImageAlbum();
  CDVDAlbumMovie* GetCurrentMovieAlbum();
  int FindAlbumIndex(CDVDAlbumBase* pAlbum);
  // Makes the list's selection the active album and shows it on every page; nothing when the
  // selection is already active (set the active index to -1 first to refresh).
  void ApplyAlbumSelection(BOOL bWait, BOOL bResetPage);
  BOOL SelectAlbum(CDVDAlbumBase* pAlbum);
  CDVDAlbumBase* GetAlbumAtPoint(POINT ptScreen);
  CMyListBoxA& GetAlbumList() { return m_albumList; }

  // --- sheets and pages ---
  void SelectPropPage(int nPage);
  void SelectVideoPropPage(int nPage);
  void ShowAlbumSheet(int nKind, BOOL bResetPage);
  void ShowAlbumPhotos(int nIndex, BOOL bWait);
  void RefreshPhotoList(BOOL bWait);
  void ShowAlbumOptions(int nIndex);
  void ShowAlbumTheme(int nIndex);
  BOOL ShowAlbumPreview(int nIndex, int nPlay);
  void RefreshOutputFormats();
  AlbumPropSheet& GetAlbumSheet() { return m_albumSheet; }
  CVideoAlbumPropSheet* GetVideoAlbumSheet() { return m_pVideoSheet; }

  // --- adding photos ---
  // Add Photos from the main menu: the file dialog, any number of files. TRUE when confirmed.
  int AddPhotos();
  // One photo into the album in the slot (made on demand, named `lpszAlbumName` or after the
  // photo's folder) before `pPosition` (null: at the end). TRUE when the album took it.
  BOOL AddPhotoFile(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, CDVDImage* pPosition, LPCTSTR lpszAlbumName);
  // Photo files into the current album (or one made after their folder) in short steps posted
  // to this window; the list is refreshed and the added slides selected after the last step.
  void AddPhotoFiles(std::vector<CString> paths);
  BOOL IsAddingPhotoFiles() const { return m_addBatch.active; }
  void CancelPhotoFiles();
  CDVDImage* AddBrowserPhotos(CDVDAlbumBase** ppAlbum, CDVDImage* pRowImage);
  BOOL AddBlankSlide(LPCTSTR lpszPicture, COLORREF clrBackground);
  int DropPhotosOnAlbumList(int x, int y, CDVDImageArray* pImages, BOOL bCopy);
  void RefreshAfterAdd(CDVDAlbumBase* pPhotoAlbum, CDVDAlbumMovie* pVideoAlbum, BOOL bPhotosAdded);
  void ClearAddedImages() { m_arrAddedImages.RemoveAll(); }
  void SelectAddedImages();
  const CDVDImageArray& GetAddedImages() const { return m_arrAddedImages; }

  // --- album commands ---
  int NewAlbum();
  void OnNewAlbum();
  void OnNewAlbumVariant();
  BOOL AskNewAlbum(int nKind, int* pResult);
  void NewPhotoAlbum(LPCTSTR lpszName);
  CDVDAlbumMovie* NewVideoAlbum(LPCTSTR lpszName);
  void DeleteCurrentAlbum();
  int OnDeleteAlbum();
  void ShowAlbumFullScreen(CDVDAlbumImage* pAlbum, BOOL bUseSelection);
  void OnBatchCollect();
  void RemoveSelectedPhotos();
  void RotateSelectedPhotos(int nDegrees);
  BOOL RandomizeSlideOrder();
  BOOL RearrangeToViewOrder();
  // Add Video Clips from the main menu: the file dialog (one file). TRUE when confirmed.
  int AddVideos();
  // Add Background Music: the selected music rows of the file browser, else the album options
  // page's own add-music dialog. 0.
  int AddMusic();

  // --- adding music, video clips, browser rows and dropped files ---
  // Music into the album in the slot (a photo album made on demand). Files at or under the size
  // limit, or unreadable, are skipped silently. TRUE unless no album could be selected.
  BOOL AddMusicToAlbum(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, BOOL bPhotosPage, BOOL bKeepPage);
  // The same into the active album when it is a photo album.
  BOOL AddMusicFile(LPCTSTR lpszPath, BOOL bPhotosPage, BOOL bKeepPage);
  // A clip at the end of the video album in the slot (made on demand). TRUE when inserted.
  BOOL AddVideoFile(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath);
  // A clip before `pPosition` (null: the data model's place); refused files are reported.
  BOOL AddVideoFileAt(CDVDAlbumBase** ppAlbum, LPCTSTR lpszPath, _DV_LIST_ITEM_DATA* pPosition);
  // The file browser's selected rows of the kinds asked for, or all its rows.
  void AddSelectedBrowserItems(BOOL bPhotos, BOOL bVideos, BOOL bMusic);
  void AddAllBrowserItems();
  // The file browser's selected rows dropped on the album editor's windows. 1.
  int DropBrowserItems(CDVDAlbumBase** ppPhotoAlbum, CDVDAlbumBase** ppVideoAlbum, CDVDImage* pPosition,
                       _DV_LIST_ITEM_DATA* pClipPosition, LPCTSTR lpszAlbumName);
  // Files dropped from the desktop (WM_DROPFILES): photos, clips and folders; frees the drop.
  afx_msg void OnDropFiles(HDROP hDropInfo);

  void StartDragScroll(int nDirection);
  void StopDragScroll();

  COLORREF m_clrBlankSlide = 0;  // the photo page's blank-slide commands read and write it

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnAlbumListSelChange();
  afx_msg void OnAlbumListDblClk();
  afx_msg void OnDeleteAlbumCommand();
  afx_msg void OnAlbumProperties();
  afx_msg void OnFullScreen();
  afx_msg LRESULT OnAlbumTabSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVideoAlbumTabSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAlbumButtonBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAlbumDragDrop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddPhotosStep(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void BuildTabStrips();
  // The table in (0, 0, cx, cy), then the strips and sheets onto their placeholders.
  void LayOut(int cx, int cy);
  // The album dragged in the list lands before the album under the point (a copy with Ctrl).
  void MoveDraggedAlbum(UINT nFlags, CPoint point);
  CDVDAlbumImage* CreatePhotoAlbum(LPCTSTR lpszName, BOOL bAtActive = FALSE);
  // The music file into the album when it passes the size rule; the music list follows.
  void AddMusicIfAccepted(CDVDAlbumImage* pAlbum, LPCTSTR lpszPath);
  // The browser rows (all, or the selected ones of the kinds asked for) into the albums.
  void AddBrowserRows(BOOL bAll, BOOL bPhotos, BOOL bVideos, BOOL bMusic);
  CString TreeFolderAlbumName();
  // Selects the first album when none is; FALSE when the list is empty.
  BOOL EnsureAlbumSelected();
  void RebuildTimeline();
  void PostStatusBarUpdate();
  void UpdatePageButtons();
  void RedrawAlbumList();
  void ClearAlbumList();
  void FillAlbumListFromProject();
  void StopThumbnails(int nWait);

  CStatic m_tabArea;    // 1491: where the tab strips go
  CStatic m_sheetArea;  // 1023: where the sheets go
  CComboBox m_combo;    // 1243: hidden, never filled
  CMyListBoxA m_albumList;
  CSkinTabStrip m_photoTabs;
  CSkinTabStrip m_videoTabs;
  AlbumPropSheet m_albumSheet;
  CLayoutMgr m_layout;
  CVideoAlbumPropSheet* m_pVideoSheet = nullptr;  // owned
  int m_nActiveAlbumIndex = -1;                   // mirrors the project's active album
  CListBoxDragHelper* m_pDragHelper = nullptr;    // owned
  CFullScreenPlayerWnd* m_pFullScreen = nullptr;  // deletes itself and clears this pointer
  int m_nScrollDirection = 0;                     // 1 up, 2 down
  int m_bAutoScroll = 0;                          // timer 7213 runs
  CDVDImageArray m_arrAddedImages;                // the slides of the last add batch
  struct AddBatch {
    bool active = false;
    std::vector<CString> paths;
    size_t next = 0;
    CDVDAlbumBase* slot = nullptr;  // checked against the project before every step
    CDVDAlbumMovie* video = nullptr;
  } m_addBatch;                            // Add Photos' files still to go in
  CDSTLAudio* m_pAudio = nullptr;          // owned, the full-screen display's music
  HANDLE m_hStopEvent = nullptr;           // owned
  HANDLE m_hDoneEvent = nullptr;           // owned
  CCoolButtonBar* m_pButtonBar = nullptr;  // the main skin's album bar
};

// Inserts a video file into a video album before `pPosition` (null: at the end). A file the data
// model can't read is reported (with the offer of the support page); the album list repaints
// either way. The new clip, or null.
_DV_LIST_ITEM_DATA* InsertVideoFileChecked(CDVDAlbumMovie* pAlbum, _DV_LIST_ITEM_DATA* pPosition, LPCTSTR lpszPath,
                                           int nFlag);
_DV_LIST_ITEM_DATA* InsertVideoFileAtEnd(CDVDAlbumMovie* pAlbum, LPCTSTR lpszPath);
