// The organize page (template 150), the one page of the main window: the file browser panel
// above the album editor with a sizer bar between them. It keeps the panel's height across
// layouts, owns the album pages' context menus (menu 194) and relays the main window's project
// and language notifications to its two children. The main window reaches the album editor's
// project, album and photo commands through its forwarders.
#pragma once

#include "albums/AlbumEditorDlg.h"
#include "albums/ExploreBarDlg.h"
#include "controls/IconMenu.h"
#include "controls/LayoutMgr.h"
#include "controls/SizerBar.h"
#include "platform/base/Array.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_PAGE_EDITOR_NEW 150
#define IDC_EDITOR_SIZER 1024
#define IDC_EXPLORE_BAR 151
#define IDC_ALBUM_EDITOR 152
#define IDR_EDITOR_CONTEXT 194
#define IDR_CONTEXT_MENU_IMAGES 276

#ifndef WM_MOVE_PAGE
#define WM_MOVE_PAGE 0x07FD
#endif
#ifndef WM_PROJECT_RELOADED
#define WM_PROJECT_RELOADED 0x07FF
#endif
#ifndef WM_PAGE_SHOW
#define WM_PAGE_SHOW 0x0589
#endif
#ifndef WM_LANGUAGE_CHANGED
#define WM_LANGUAGE_CHANGED 0x12D8
#endif

class CCmdUI;

class CPageEditorNew : public CPropertyPage {
  DECLARE_DYNCREATE(CPageEditorNew)

 public:
  CPageEditorNew();
  ~CPageEditorNew() override;

  // The popups of the context menu, by position.
  CMenu* GetPopupEditor();
  CMenu* GetPopupEditorFile();
  CMenu* GetPopupEditorAlbum();
  CMenu* GetPopupEditorMore();
  CMenu* GetPopupEditorTransition700();
  CMenu* GetPopupEditorTimeline700();
  CMenu* GetPopupEditorMusicList700();
  CMenu* GetPopupEditorTmMore();
  CMenu* GetPopupEditorVideoClipsDlg();

  // The album editor's commands.
  int OpenProject(const CString& strPath, CStringArray& missingFiles);
  int NewProject();
  int NewAlbum();
  int AddPhotos();
  int DeleteAlbum();
  int AddMusic();

  // Shows or hides the file browser panel with its sizer; the album editor takes the room.
  void ToggleFileBrowser();
  void OnUpdateToggleFileBrowser(CCmdUI* pCmdUI);
  // The panel's height and the folder tree's width (60 without a tree). TRUE.
  BOOL GetPanelSizes(int& nExploreBarHeight, int& nShellTreeWidth);
  CString GetLastFolder();
  // The main window's "Add Blank Image" popup in the photo list's context menus.
  void InsertBlankImagePopup();
  void RemoveBlankImagePopup();

  AlbumEditorDlg* GetAlbumEditor() { return &m_albumEditor; }
  ExploreBarDlg* GetExploreBar() { return &m_exploreBar; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnClose();
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg LRESULT OnMovePage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnWinMgr(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void LoadContextMenu();
  void LayoutAgain();

  ExploreBarDlg m_exploreBar;
  AlbumEditorDlg m_albumEditor;
  CIconMenu m_contextMenu;
  CLayoutMgr m_layout;
  CSizerBar m_sizerBar;
  int m_nExploreBarHeight = -1;  // the panel's remembered height; UI thread
};
