// The video clip page (template 380): page 0 of the video-album sheet. So far it knows the album
// the sheet shows; its clip list and buttons come with the video-album work.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

class CDVDAlbumMovie;

#define IDD_VIDEO_ALBUM_PAGE 380

class CVideoAlbumPage : public CDialog {
 public:
  // ppAlbum: the sheet's current-album member, through which the page reads its album.
  explicit CVideoAlbumPage(CDVDAlbumMovie** ppAlbum);
  ~CVideoAlbumPage() override;

  // Shows the album's clips; null empties the page.
  void ShowMovieAlbum(CDVDAlbumMovie* pAlbum);
  CDVDAlbumMovie* GetShownAlbum() const { return m_pShown; }
  // Enables the clip buttons by the clips and the selection.
  void UpdateClipButtons();
  void DeselectAll();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  CDVDAlbumMovie** m_ppAlbum;
  CDVDAlbumMovie* m_pShown = nullptr;
};
