// The video clip page (template 380): page 0 of the video-album sheet. It lists the clips of the
// sheet's current video album as 128 x 128 tiles (thumbnail, duration, size, play range) or as a
// details table; each row's item data is one clip record of the album, which the page never
// owns. The user adds clips (the file browser's selection or the Add Video Clips dialog), removes
// them, and moves or copies them by dragging, within the list or onto another album. The video
// preview is stopped before the clips change. UI thread only.
#pragma once

#include <memory>

#include "controls/LayoutMgr.h"
#include "controls/ListCtrls.h"
#include "platform/base/Array.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CCoolButtonBar;
class CDVDAlbumMovie;
class CListCtrlDragHelper;
struct _DV_LIST_ITEM_DATA;

#define IDD_VIDEO_ALBUM_PAGE 380
#define IDC_VIDEO_CLIP_LIST 1021
#define IDC_VIDEO_CLIP_BAR 1489
#define IDC_VIDEO_ADD_FILES 1490
#define IDC_VIDEO_REMOVE 1494
#define IDC_VIDEO_REMOVE_ALL 1495
#define WM_VIDEO_CLIPS_BUTTON_BAR 0x1143
#define ID_ADD_VIDEO_CLIPS 33996

class CVideoAlbumPage : public CPropertyPage {
 public:
  // ppAlbum: the sheet's current-album member, through which the page reads its album.
  explicit CVideoAlbumPage(CDVDAlbumMovie** ppAlbum);
  ~CVideoAlbumPage() override;

  // One row per clip of the album; null (or a photo album) empties the list.
  void ShowMovieAlbum(CDVDAlbumMovie* pAlbum);
  CDVDAlbumMovie* GetShownAlbum() const { return m_pShown; }
  // Remove is enabled with a selected row.
  void UpdateClipButtons();
  void DeselectAll();
  void SelectAll();
  void RemoveSelectedClips();
  void RemoveAllClips();
  void ShowDetailsView();
  void ShowThumbnailView();
  BOOL IsThumbnailView() const { return m_bThumbnailView; }
  // The selected rows' clips (moved or copied) before the clip of `nTargetRow` (-1: the end).
  // 0 without an album or a selected clip, else 1.
  int MoveSelectedClips(int nTargetRow);
  int CopySelectedClips(int nTargetRow);
  // The selected clips dropped on the album list at a screen point: moved (or copied) into the
  // video album there, or into a new one below the last album. 1 when they went somewhere.
  int DropClipsOnAlbum(int x, int y, BOOL bCopy);
  // The picture of one tile for a drag, masked with RGB(10, 2, 12); null without a clip.
  CImageList* CreateClipDragImage(int nRow);
  CListCtrl& GetListCtrl() { return m_list; }
  CCoolButtonBar* GetButtonBar() { return m_pBar; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnButtonBar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListKeyDown(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void BuildClipImageList();
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw);
  // One tile at `origin` in the state's look.
  void DrawClipTile(CDC* pDC, int nRow, CPoint origin, int nImage, COLORREF clrText);
  void OnBeginDrag(NMLISTVIEW* pNotify);
  void AddBrowserClips();
  void GetSelectedClips(CPtrArray& clips);
  void SelectClips(const CPtrArray& clips);
  _DV_LIST_ITEM_DATA* ClipOfRow(int nRow) const;
  CDVDAlbumMovie* CurrentAlbum() const;

  CVideoListCtrl m_list;
  CLayoutMgr m_layout;
  HACCEL m_hAccel = nullptr;
  BOOL m_bThumbnailView = TRUE;
  int m_nDetailsSpacingX = 0;
  int m_nDetailsSpacingY = 0;
  CImageList m_tiles;
  CDVDAlbumMovie** m_ppAlbum;
  CDVDAlbumMovie* m_pShown = nullptr;
  std::unique_ptr<CListCtrlDragHelper> m_pDragHelper;
  CCoolButtonBar* m_pSkinBar;        // the skin's "video_clips_toolbar"
  CCoolButtonBar* m_pBar = nullptr;  // the same bar once it is the page's window
};
