// The "Photo Configuration" dialog (template 299), where the slides of one album are edited one
// photo at a time; opened by a double click on a timeline photo item. So far it knows the slide it
// starts on and hands it back; the canvas and the operation pages come with the slide-editing
// dialogs.
#pragma once

#include "platform/mfc/Dialog.h"

#define IDD_PHOTO_CONFIG 299

class CDVDImage;
class CDVDImageArray;

class CPhotoConfigDlg : public CDialog {
 public:
  // nStart: 0 to open on the current slide; pSubset: the slides to edit (empty for the album's).
  CPhotoConfigDlg(int nStart, CDVDImageArray* pSubset, CWnd* pParent = nullptr);

  void SetCurrentImage(CDVDImage* pImage) { m_pCurrentImage = pImage; }
  CDVDImage* GetCurrentImage() const { return m_pCurrentImage; }

 protected:
  BOOL OnInitDialog() override;

 private:
  int m_nStart;
  CDVDImageArray* m_pSubset;
  CDVDImage* m_pCurrentImage = nullptr;
};
