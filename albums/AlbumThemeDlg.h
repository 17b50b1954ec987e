// The theme page (template 296): page 2 of the photo-album sheet, where the album's theme,
// titles and credits are chosen. So far it knows the album it shows; its theme list and preview
// come with the theme work.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

class CDVDAlbumImage;

#define IDD_ALBUM_THEME 296

class CAlbumThemeDlg : public CDialog {
 public:
  CAlbumThemeDlg();
  ~CAlbumThemeDlg() override;

  // The album the page shows; null for none.
  void SetAlbum(CDVDAlbumImage* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CDVDAlbumImage* m_pAlbum = nullptr;  // UI thread
};
