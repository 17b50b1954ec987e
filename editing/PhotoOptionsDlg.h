// The "Photo Options" dialog (template 318) for one slide, opened from the duration and sound
// zones of a timeline photo item. So far it only shows; the slide's sound, durations and pan and
// zoom come with the slide-editing dialogs.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_PHOTO_OPTIONS 318

class CDVDImage;

class CPhotoOptionsDlg : public CDialog {
 public:
  explicit CPhotoOptionsDlg(CDVDImage* pImage, CWnd* pParent = nullptr);

  CDVDImage* GetImage() const { return m_pImage; }

 protected:
  BOOL OnInitDialog() override;

 private:
  CDVDImage* m_pImage;
};
