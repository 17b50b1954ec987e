// The preview window of the album pages (template 145). What the main window asks of it: whether
// it plays. Playback comes with the preview renderer; until then nothing plays.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_ALBUM_PREVIEW 145

class AlbumPreviewDlg : public CDialog {
 public:
  AlbumPreviewDlg() : CDialog(IDD_ALBUM_PREVIEW) {}

  BOOL IsPlaying() const { return m_bPlaying; }

 protected:
  BOOL m_bPlaying = FALSE;  // UI thread
};
