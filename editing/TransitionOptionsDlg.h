// The "Transition Options" dialog (template 319) for one slide's transition, opened from a
// timeline transition item. So far it only shows; the transition and its durations are edited
// there with the slide-editing dialogs.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_TRANSITION_OPTIONS 319

class CDVDImage;

class CTransitionOptionsDlg : public CDialog {
 public:
  explicit CTransitionOptionsDlg(CDVDImage* pImage, CWnd* pParent = nullptr);

  CDVDImage* GetImage() const { return m_pImage; }

 protected:
  BOOL OnInitDialog() override;

 private:
  CDVDImage* m_pImage;
};
