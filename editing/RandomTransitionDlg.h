// The random transition dialog (template 361) as the album options page calls it. For now it
// is small: it confirms randomizing from the saved subset.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_RANDOM_TRANSITION 361

class CRandomTransitionDlg : public CDialog {
 public:
  // nMode 0: the album's Randomize command; 1: the album defaults of the options dialog.
  explicit CRandomTransitionDlg(int nMode, CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  int m_nMode;
};
