// The photo editor's pan-and-zoom pages: the "Pan&Zoom" tab (template 303), which chooses between
// the album's motion and the slide's own and offers the engine's presets, and the custom page
// (template 374), shown in place of the canvas while that tab is selected, with the starting and
// ending positions as two draggable previews, their values, copy and paste, and reset buttons.
#pragma once

#include "controls/NumericSpinCtrl.h"
#include "editing/PanZoomPreviewStatic.h"
#include "platform/comctl/AfxControls.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/PropertySheet.h"

#define IDD_PHOTO_EDIT_PANZOOM 303
#define IDD_PHOTO_EDIT_CUSTOM_PANZOOM 374

// Sent by the two reset bars of the custom page.
#define WM_PANZOOM_RESET_START 0x166A
#define WM_PANZOOM_RESET_END 0x166B

class CxImage;
class CDVDImage;
class CDVDAlbumImage;
class CCoolButtonBar;
class CPhotoEditOperCustomPanZoomPage;
struct _tagPhotoPanZoomSaveParam;

class CPhotoEditOperPanZoomPage : public CPropertyPage {
  DECLARE_DYNCREATE(CPhotoEditOperPanZoomPage)

 public:
  CPhotoEditOperPanZoomPage();
  ~CPhotoEditOperPanZoomPage() override;

  // Stores the controls into the slide being left, then shows `pImage` (null on close).
  void SetImage(CDVDImage* pImage);
  // Switches to Custom as a click on it would. TRUE.
  BOOL SelectCustom();

  void SetAlbum(CDVDAlbumImage* pAlbum) { m_pAlbum = pAlbum; }
  void SetCustomPage(CPhotoEditOperCustomPanZoomPage* pPage) { m_pCustomPage = pPage; }
  CDVDImage* GetImage() const { return m_pImage; }
  // 0 Album, 1 Custom, -1 before anything was shown.
  int GetChoice() const { return m_nChoice; }
  int GetPresetIndex() const { return m_nPreset; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnAlbum();
  afx_msg void OnCustom();
  afx_msg void OnSelChangePreset();
  DECLARE_MESSAGE_MAP()

 private:
  // TRUE stores the choice into the slide, FALSE shows the slide.
  void Exchange(BOOL bStore);
  void EnablePresets();

  int m_nAuto = 0;
  int m_nPreset = -1;
  int m_nChoice = -1;
  CDVDImage* m_pImage = nullptr;
  CDVDAlbumImage* m_pAlbum = nullptr;
  BOOL m_bHold = TRUE;
  CBrush m_brushBackground;
  CPhotoEditOperCustomPanZoomPage* m_pCustomPage = nullptr;
};

class CPhotoEditOperCustomPanZoomPage : public CPropertyPage {
 public:
  // pDisplay: the canvas's display picture; ppImage: the dialog's current-slide member.
  CPhotoEditOperCustomPanZoomPage(CxImage* pDisplay, CDVDImage** ppImage);
  ~CPhotoEditOperCustomPanZoomPage() override;

  BOOL EnableCustom(BOOL bEnable);
  // Shows an engine preset in both positions.
  void ApplyPreset(int nPreset);
  // The two positions shown; nPreset receives the preset index they amount to.
  void GetSaveParam(int& nPreset, _tagPhotoPanZoomSaveParam& saved);
  // Shows the stored start position, end position or both.
  void ApplySaveParam(const _tagPhotoPanZoomSaveParam& saved, BOOL bStart, BOOL bEnd);
  // Rebuilds both previews' sources (after a slide, aspect or scale change). TRUE when both did.
  BOOL PrepareSources();
  void RefreshPreviews();

  void SetPanZoomPage(CPhotoEditOperPanZoomPage* pPage) { m_pPanZoomPage = pPage; }
  CPanZoomPreviewStatic& GetStartPreview() { return m_previewStart; }
  CPanZoomPreviewStatic& GetEndPreview() { return m_previewEnd; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnEditChange(UINT nID);
  afx_msg void OnEditKillFocus(UINT nID);
  afx_msg void OnCopyPosition();
  afx_msg void OnPastePosition();
  afx_msg LRESULT OnPreviewDragged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResetStart(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnResetEnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  struct EditInfo;
  static const EditInfo* FindEdit(UINT nID);
  CNumericSpinCtrl& SpinOf(const EditInfo& info);
  CSliderCtrl* SliderOf(const EditInfo& info);
  CPanZoomPreviewStatic& PreviewOf(const EditInfo& info);
  double& ValueOf(const EditInfo& info);
  // Checks and applies the value of one edit: the range message, the clamp, the slider, the
  // preview. Run when the edit is left, on Enter, and for every change the page makes itself.
  void CommitEdit(UINT nID);
  // Rewrites an edit's text as its spin shows the value kept.
  void TidyEdit(UINT nID);
  // Checks an edit typed into and not yet left.
  void CommitPending();
  // Shows a value in an edit through its spin (two decimals) and applies it.
  void SetEditValue(UINT nID, double value);
  // The positions of a record on the applied sides, then one refresh.
  void ShowPositions(const _tagPanZoomWorkParamEx& record, BOOL bStart, BOOL bEnd);

  CStatic m_hint;
  CSliderCtrl m_sliderStartRotate;
  CSliderCtrl m_sliderEndRotate;
  CSliderCtrl m_sliderEndZoom;
  CSliderCtrl m_sliderStartZoom;
  CNumericSpinCtrl m_spinStartRotate;
  CNumericSpinCtrl m_spinEndRotate;
  CNumericSpinCtrl m_spinEndZoom;
  CNumericSpinCtrl m_spinStartZoom;
  CNumericSpinCtrl m_spinEndPanY;
  CNumericSpinCtrl m_spinEndPanX;
  CNumericSpinCtrl m_spinStartPanY;
  CNumericSpinCtrl m_spinStartPanX;
  CPanZoomPreviewStatic m_previewStart;
  CPanZoomPreviewStatic m_previewEnd;
  double m_fStartPanX = 0, m_fStartPanY = 0, m_fEndPanX = 0, m_fEndPanY = 0;
  double m_fStartZoom = 100, m_fEndZoom = 100, m_fStartRotate = 0, m_fEndRotate = 0;
  CDVDImage** m_ppImage;
  HCURSOR m_hMoveCursor = nullptr;
  HCURSOR m_hNoCursor = nullptr;
  BOOL m_bPanEditQuiet = FALSE;
  BOOL m_bSliderSource = FALSE;
  BOOL m_bHoldRender = FALSE;
  CPhotoEditOperPanZoomPage* m_pPanZoomPage = nullptr;
  CBrush m_brushBackground;
  CCoolButtonBar* m_pResetStart = nullptr;
  CCoolButtonBar* m_pResetEnd = nullptr;
  CFont m_fontHint;
  BOOL m_bReady = FALSE;         // the controls exist and show the values
  BOOL m_bProgrammatic = FALSE;  // the page itself writes an edit
  UINT m_nDirtyEdit = 0;         // the edit typed into and not yet checked, 0 for none
};
