// The photo editor's "Process" tab (template 305): brightness, contrast and gamma, the three
// colour-balance axes and automatic exposure of the current slide. Every slider move writes the
// slide's intensity record at once and makes the canvas redraw the photo with it. A slide nobody
// adjusted keeps no record, so browsing past it leaves it as it was.
#pragma once

#include "modules/data/PhotoParams.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_PHOTO_EDIT_PROCESS 305

#ifndef WM_PHOTO_INTENSITY_CHANGED
#define WM_PHOTO_INTENSITY_CHANGED 0x0903  // page -> canvas: lParam the slide
#endif
#ifndef WM_PHOTO_ROTATED
#define WM_PHOTO_ROTATED 0x0904  // -> canvas: wParam 90 or 270, lParam the slide
#endif
#ifndef WM_REDRAW_PHOTO_ROWS
#define WM_REDRAW_PHOTO_ROWS 0x0905  // -> photo configuration dialog: repaint the selected rows
#endif

class CDVDImage;
class CDVDAlbumImage;

class CPhotoEditOperProcessPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPhotoEditOperProcessPage)

 public:
  CPhotoEditOperProcessPage();
  ~CPhotoEditOperProcessPage() override;

  // Stores the sliders into the slide being left, then shows `pImage` (null on close).
  void SetImage(CDVDImage* pImage);
  CDVDImage* GetImage() const { return m_pImage; }
  void SetAlbum(CDVDAlbumImage* pAlbum) { m_pAlbum = pAlbum; }
  void SetCanvas(CWnd* pCanvas) { m_pCanvas = pCanvas; }

  // TRUE writes the sliders into the slide, FALSE shows the slide's values. StoreOrLoad always
  // writes a record; Exchange writes one only when it is not the default, and shows the
  // automatic-exposure flag too.
  void StoreOrLoad(BOOL bStore);
  void Exchange(BOOL bStore);

  // The record the six slider positions stand for, and the positions of a record.
  static _tagPhotoIntensityParam ParamFromPositions(const int positions[6]);
  static void PositionsFromParam(const _tagPhotoIntensityParam& param, int positions[6]);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnAutoExposure();
  afx_msg void OnResetLevels();
  afx_msg void OnResetBalance();
  afx_msg void OnRotate90();
  afx_msg void OnRotate270();
  void OnOK() override;
  DECLARE_MESSAGE_MAP()

 private:
  void ShowFirstSlide();
  void ShowParam(const _tagPhotoIntensityParam& param);
  void ResetGroup(BOOL bKeepBalance);
  // Writes `param` into the slide unless the slide already looks so (a write marks it changed).
  void WriteParam(const _tagPhotoIntensityParam& param);
  _tagPhotoIntensityParam SliderParam();
  void Rotate(int nDegrees);
  void NotifyCanvas();
  CWnd* CanvasWindow() const;

  CSliderCtrl m_sliders[6];  // brightness, contrast, gamma, cyan-red, magenta-green, yellow-blue
  int m_nAutoExposure = 0;
  int m_nValues[6] = {};  // shown in the read-only edits
  CDVDImage* m_pImage = nullptr;
  CDVDAlbumImage* m_pAlbum = nullptr;  // given by the dialog, not used here
  BOOL m_bHold = TRUE;
  _tagPhotoIntensityParam m_snapshot;  // the slide's record when it was shown
  CBrush m_brushBackground;
  CWnd* m_pCanvas = nullptr;  // the editing canvas, given by the dialog
};
