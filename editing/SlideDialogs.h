// The slide dialogs the album options page opens, in the shape the page calls them: the random
// transition dialog (template 361) and the trim dialog of a music clip (template 309). For now
// both are small: the random dialog confirms randomizing from the saved subset, and the trim
// dialog shows the clip it was given and leaves its trim points as they are.
#pragma once

#include "platform/mfc/Dialog.h"

struct _AUDIO_SOURCE;

#define IDD_RANDOM_TRANSITION 361
#define IDD_TRIM_AUDIO 309

class CRandomTransitionDlg : public CDialog {
 public:
  // nMode 0: the album's Randomize command; 1: the album defaults of the options dialog.
  explicit CRandomTransitionDlg(int nMode, CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  int m_nMode;
};

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
