// The trim dialog of a music clip (template 309) as the album options page calls it. For now it
// shows the clip it was given and leaves its trim points as they are.
#pragma once

#include "platform/mfc/Dialog.h"

struct _AUDIO_SOURCE;

#define IDD_TRIM_AUDIO 309

class CTrimAudioDlg : public CDialog {
 public:
  // The clip to edit (its file length must be positive) and whether it plays at once (the music
  // list's Play).
  CTrimAudioDlg(_AUDIO_SOURCE* pSource, BOOL bPlayAtOnce, CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  _AUDIO_SOURCE* m_pSource;
  BOOL m_bPlayAtOnce;
};
