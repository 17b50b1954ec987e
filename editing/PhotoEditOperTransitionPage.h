// The photo editor's "Transition" tab (template 302): the transition into the current slide,
// previewed on the sample pictures, and the slide's two durations, the album's or its own. The
// photo configuration dialog hands it each slide with SetImage; the controls go into the slide
// being left, and nothing is stored before the page has been shown with a slide.
#pragma once

#include "editing/TransitionControls.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_PHOTO_EDIT_TRANSITION 302

class CDVDImage;
class CDVDAlbumImage;

class CPhotoEditOperTransitionPage : public CPropertyPage {
 public:
  CPhotoEditOperTransitionPage();
  ~CPhotoEditOperTransitionPage() override;

  // Stores the controls into the slide being left, then shows `pImage` (null on close).
  void SetImage(CDVDImage* pImage);
  void SetAlbum(CDVDAlbumImage* pAlbum) { m_pAlbum = pAlbum; }
  CDVDImage* GetImage() const { return m_pImage; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnChoice();
  afx_msg void OnPreview();
  afx_msg void OnSelChangeTransition();
  afx_msg void OnDurationChange();
  DECLARE_MESSAGE_MAP()

 private:
  // TRUE stores the controls into the slide, FALSE shows the slide in them.
  void Exchange(BOOL bStore);
  void LoadChoice();
  void EnableCustom();

  CComboBox m_comboTransition;
  CSpinButtonCtrl m_spinPhoto;
  CSpinButtonCtrl m_spinTransition;
  int m_nCustomOne = 0;
  int m_nCustomTwo = 0;
  int m_nAlbumOne = 0;
  int m_nAlbumTwo = 0;
  int m_nChoice = -1;
  CDVDImage* m_pImage = nullptr;
  CDVDAlbumImage* m_pAlbum = nullptr;
  COLORREF m_clrBackground = 0;  // the slide's background colour; the preview reads it
  CTransitionPreviewStatic m_preview;
  BOOL m_bHold = TRUE;
  BOOL m_bPicked = FALSE;  // the user chose a transition for the slide shown
  CBrush m_brushBackground;
};
