// The preview pages the album sheets hold: the photo album's preview container (template 178),
// the video album's preview container (template 382) and the output-format container (template
// 386). So far they answer the album editor's messages and calls; the preview windows and the
// output pages come with the preview and output work.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Dialog.h"

class CDVDAlbumMovie;

#define IDD_ALBUM_PREVIEW_CONTAINER 178
#define IDD_VIDEO_PREVIEW_CONTAINER 382
#define IDD_ALBUM_VIDEO_PROFILE_CONTAINER 386

// A page of a sheet: the skin's page colour, Enter and Esc do not close it.
class CPreviewPageBase : public CDialog {
 public:
  explicit CPreviewPageBase(UINT nIDTemplate) : CDialog(nIDTemplate), m_nTemplate(nIDTemplate) {}

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_nTemplate;
};

class AlbumPreviewContainer : public CPreviewPageBase {
 public:
  AlbumPreviewContainer() : CPreviewPageBase(IDD_ALBUM_PREVIEW_CONTAINER) {}
  // The album the last WM_PREVIEW_SELECT_ALBUM named, and whether it asked to play.
  int GetSelectedAlbum() const { return m_nAlbum; }
  int GetStops() const { return m_nStops; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnSelectAlbum(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStop(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nAlbum = -1;
  int m_nStops = 0;
};

class CVideoPreviewContainer : public CPreviewPageBase {
 public:
  explicit CVideoPreviewContainer(CDVDAlbumMovie** ppAlbum)
      : CPreviewPageBase(IDD_VIDEO_PREVIEW_CONTAINER), m_ppAlbum(ppAlbum) {}
  void StopPreview() {}

 private:
  CDVDAlbumMovie** m_ppAlbum;
};
