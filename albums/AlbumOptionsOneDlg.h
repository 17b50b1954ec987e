// The album options page (template 160): page 1 of the photo-album sheet, where the album's
// transitions, music and timeline are edited. So far it knows the album it shows and answers the
// album editor's calls; its controls come with the transition and music work.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

class CDVDAlbumImage;

#define IDD_ALBUM_OPTIONS_ONE 160

class AlbumOptionsOneDlg : public CDialog {
 public:
  AlbumOptionsOneDlg();
  ~AlbumOptionsOneDlg() override;

  // The album the page shows; null for none.
  void SetAlbum(CDVDAlbumImage* pAlbum);
  CDVDAlbumImage* GetAlbum() const { return m_pAlbum; }
  // The timeline is built again from the album (counted, so callers can be checked).
  void RebuildTimeline();
  void RepaintTimeline();
  int GetTimelineBuilds() const { return m_nTimelineBuilds; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnProjectReloaded(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CDVDAlbumImage* m_pAlbum = nullptr;  // UI thread
  int m_nTimelineBuilds = 0;
};
