// The photo list page (template 153): page 0 of the photo-album sheet. It shows the slides of the
// album selected in the album editor as thumbnails (the default) or as a details table; each row's
// item data is one slide of the current album, which the page never owns. The user selects, sorts
// and drags slides (reorder, copy, or to another album) and works on them through the skin's edit
// button bar, the context menus and the main dialog's commands. Thumbnails come from the data
// model's loader thread, which the page stops before it deletes rows. UI thread only.
#pragma once

#include <memory>

#include "controls/LayoutMgr.h"
#include "controls/ListCtrls.h"
#include "modules/data/DVDImage.h"
#include "modules/data/ImageLoadManager.h"
#include "platform/base/Array.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CCoolButtonBar;
class CDVDAlbumBase;
class CDVDAlbumImage;
class CImageList;
class CListCtrlDragHelper;

#define IDD_ALBUM_PHOTO 153
#define IDC_PHOTO_LIST 1022
#define IDC_PHOTO_BUTTON_BAR 1239
#define IDR_PHOTO_ACCELERATORS 189

#ifndef WM_PHOTO_BAR_NOTIFY
#define WM_PHOTO_BAR_NOTIFY 0x0781
#endif
#ifndef WM_RELOAD_THUMBNAILS
#define WM_RELOAD_THUMBNAILS 0x0822
#endif
#ifndef WM_ENABLE_PHOTO_BAR
#define WM_ENABLE_PHOTO_BAR 0x0823
#endif

// Commands of the photo list.
#define ID_PHOTO_SELECT_ALL 32934
#define ID_PHOTO_REMOVE 32918
#define ID_PHOTO_REMOVE_ALL 32922
#define ID_PHOTO_ROTATE_CW 32919
#define ID_PHOTO_ROTATE_CCW 32920
#define ID_PHOTO_EDIT 32834
#define ID_PHOTO_CUSTOM_TRANSITION 33926
#define ID_PHOTO_SET_ALBUM_THUMBNAIL 32783
#define ID_PHOTO_AUTO_EXPOSURE 32808
#define ID_PHOTO_RANDOMIZE 32926
#define ID_PHOTO_REARRANGE 33925
#define ID_ALBUM_FULL_SCREEN 32809
#define ID_PHOTO_VIEW_DETAILS 33923
#define ID_PHOTO_VIEW_THUMBNAILS 33924
#define ID_BLANK_SLIDE_COLOR 32832
#define ID_PHOTO_ADD_BLANK 32836
#define ID_BLANK_IMAGE_FIRST 32861
#define ID_BLANK_IMAGE_LAST 32878
#define ID_ADD_PHOTOS 32789

class AlbumPhotoDlg : public CPropertyPage {
 public:
  AlbumPhotoDlg();
  ~AlbumPhotoDlg() override;

  // Refills the rows from an album (a photo album; anything else leaves the rows as they are).
  void FillPhotoList(CDVDAlbumBase* pAlbum, BOOL bWait);
  void FillPhotoListByIndex(int nIndex, BOOL bWait);
  void SetAlbum(CDVDAlbumBase* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }
  void DeselectAll();
  void ReloadThumbnails();
  void StopThumbnailLoader(BOOL bWait);
  BOOL IsLoadingThumbnails();
  // The slide of the row under a screen point, null for none.
  CDVDImage* GetPhotoAtScreenPoint(int x, int y);
  CListCtrl& GetListCtrl() { return m_list; }
  BOOL IsThumbnailView() const { return m_bThumbnailView; }

  // Commands.
  void UpdateButtonBar();
  void EnableButtonBar(BOOL bEnable);
  void OpenPhotoConfigDlg(int nMode);
  void OnAddBlankImage();
  void OnSelectAll();
  void SortByColumn(int nColumn);
  void SetThumbnailView();
  void SetDetailsView();
  void EditSelectedPhoto() { OpenPhotoConfigDlg(0); }
  void RemoveSelected();
  void RotateClockwise();
  void RotateCounterclockwise();
  void ToggleAutoExposure();
  void OnSetAsAlbumThumbnail();
  void OnBlankSlideColor();
  void OnBlankImageMenu(UINT nID);
  void OnAddButton();
  void OnAddAllButton();
  void ShowMoreMenu();
  CPoint KeyboardMenuPoint();
  void MoveSelectionTo(int nRow);
  void CopySelectionTo(int nRow);
  void StartAutoScroll(int nDirection);
  void StopAutoScroll();
  // The slides of the selected rows (non-null), in list order.
  void GetSelectedSlides(CDVDImageArray& slides);
  // Sort state, for the header arrow.
  int GetSortColumn() const { return m_nSortColumn; }
  BOOL IsSortAscending() const { return m_bSortAscending; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The row's picture for a drag: frame, thumbnail and caption, masked with RGB(10, 2, 12).
  CImageList* CreateItemDragImage(int nRow, POINT* pOrigin);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnListKeyDown(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReloadThumbnails(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPhotoBarNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEnablePhotoBar(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw);
  void DrawThumbnailItem(CDC* pDC, int nRow, const CRect& bounds, UINT nState);
  void OnItemChanged(const NMLISTVIEW* pNotify);
  void OnBeginDrag(NMLISTVIEW* pNotify);
  void RedrawVisibleRows();
  void SelectSlides(const CDVDImageArray& slides);
  void RefillAfterDrop(CDVDAlbumImage* album);
  CDVDImage* SlideOfRow(int nRow) const;
  class AlbumEditorDlg* Editor() const;

  CBufferedListCtrl m_list;
  CCoolButtonBar* m_pSkinBar;        // the skin's edit bar, from the constructor
  CCoolButtonBar* m_pBar = nullptr;  // the same bar once it is the page's window
  CLayoutMgr m_layout;
  CImageLoadManager m_loader;
  CDVDAlbumImage* m_pAlbum = nullptr;
  std::unique_ptr<CListCtrlDragHelper> m_pDragHelper;
  BOOL m_bAutoScroll = FALSE;
  int m_nScrollDirection = 0;  // 0 none, 1 up, 2 down
  BOOL m_bThumbnailView = TRUE;
  int m_nSavedSpacingX = 0;
  int m_nSavedSpacingY = 0;
  int m_nSortColumn = -1;
  BOOL m_bSortAscending = FALSE;
  int m_nLastClickedColumn = 0;
  HACCEL m_hAccel = nullptr;
};
