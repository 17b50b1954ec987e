// The sound recording dialog (template 308), run by Tools > Sound Recorder without a parent; its
// result is not used. Recording comes with the slide-editing dialogs; Close ends it.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_RECORD_SOUND 308

class CRecordSoundDlg : public CDialog {
 public:
  explicit CRecordSoundDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
};
