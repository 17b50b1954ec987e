// The photo list page (template 153): page 0 of the photo-album sheet, the slides of the current
// album as rows of list view 1022 whose item data is the slide. This is the album editor's view
// of it: filling, the thumbnail loader's control and the commands the editor answers.
#pragma once

#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/PropertySheet.h"

class CDVDAlbumBase;
class CListCtrlDragHelper;
class CDVDAlbumImage;

#define IDD_ALBUM_PHOTO 153
#define IDC_PHOTO_LIST 1022
#define IDC_PHOTO_BUTTON_BAR 1239

class AlbumPhotoDlg : public CPropertyPage {
 public:
  AlbumPhotoDlg();
  ~AlbumPhotoDlg() override;

  void FillPhotoList(CDVDAlbumBase* pAlbum, BOOL bWait);
  void FillPhotoListByIndex(int nIndex, BOOL bWait);
  void SetAlbum(CDVDAlbumBase* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }
  void UpdateButtonBar();
  void ReloadThumbnails();
  void StopThumbnailLoader(int nWait);
  BOOL IsLoadingThumbnails();
  CListCtrl& GetListCtrl() { return m_list; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnTakeDragCapture(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  CListCtrl m_list;
  CDVDAlbumImage* m_pAlbum = nullptr;
  CListCtrlDragHelper* m_pDragHelper = nullptr;  // owned
};
