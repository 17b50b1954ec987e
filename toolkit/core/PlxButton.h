// CPlxButton: the toolkit's owner-drawn push button, also a check box or radio button. It draws
// its face, frame, image (bitmaps, icons or a menu glyph) and caption itself, shows a hot state
// under the mouse, can repeat its command while held and shows its caption as a tooltip when
// clipped. CPlxBufferedDC is the off-screen drawing object it and the property list paint with.
#pragma once

#include <array>

#include "platform/comctl/AfxControls.h"
#include "platform/mfc/StdControls.h"
#include "toolkit/core/PlxButtonImages.h"

// Off-screen drawing for every toolkit window that buffers; nothing in the program clears it.
extern BOOL PlxDrawOffscreen;

// Draws into a memory bitmap of the rectangle and copies it to the target on destruction (only
// the part the target's clip box lets through).
class CPlxBufferedDC : public CDC {
 public:
  CPlxBufferedDC(CDC& dc, const CRect& rect);
  ~CPlxBufferedDC() override;
  CPlxBufferedDC(const CPlxBufferedDC&) = delete;
  CPlxBufferedDC& operator=(const CPlxBufferedDC&) = delete;
  BOOL IsOffscreen() const { return m_bMemDC; }

 private:
  CDC& m_dc;
  BOOL m_bMemDC = FALSE;
  CBitmap m_bmp;
  CBitmap* m_pOldBmp = nullptr;
  CRect m_rect;
};

class CPlxButton : public CButton {
  DECLARE_DYNCREATE(CPlxButton)

 public:
  enum FlatStyle {
    BUTTONSTYLE_3D = 0,
    BUTTONSTYLE_FLAT = 1,
    BUTTONSTYLE_SEMIFLAT = 2,
    BUTTONSTYLE_NOBORDERS = 3
  };
  enum AlignStyle { ALIGN_LEFT = 0, ALIGN_RIGHT = 1, ALIGN_CENTER = 2 };

  CPlxButton();
  ~CPlxButton() override;

  static void EnableWinXPTheme(BOOL bEnable = TRUE) { s_bWinXPTheme = bEnable; }
  static BOOL IsWinXPThemeEnabled() { return s_bWinXPTheme; }

  void SetImageFromBitmaps(HBITMAP hBitmap, BOOL bDestroy, HBITMAP hBitmapHot, BOOL bMap3dColors,
                           BOOL bChecked, HBITMAP hBitmapDisabled = nullptr);
  void SetImage(HBITMAP hBitmap, BOOL bDestroy = TRUE, HBITMAP hBitmapHot = nullptr,
                BOOL bMap3dColors = FALSE, HBITMAP hBitmapDisabled = nullptr) {
    SetImageFromBitmaps(hBitmap, bDestroy, hBitmapHot, bMap3dColors, FALSE, hBitmapDisabled);
  }
  void SetImageFromIcons(HICON hIcon, BOOL bDestroy, HICON hIconHot, BOOL bChecked,
                         HICON hIconDisabled = nullptr, BOOL bAlphaBlend = FALSE);
  void SetImage(HICON hIcon, BOOL bDestroy = TRUE, HICON hIconHot = nullptr, HICON hIconDisabled = nullptr,
                BOOL bAlphaBlend = FALSE) {
    SetImageFromIcons(hIcon, bDestroy, hIconHot, FALSE, hIconDisabled, bAlphaBlend);
  }
  void SetImageForState(UINT uiBmpResId, UINT uiBmpHotResId, BOOL bChecked, UINT uiBmpDsblResID = 0);
  void SetImage(UINT uiBmpResId, UINT uiBmpHotResId = 0, UINT uiBmpDsblResID = 0) {
    SetImageForState(uiBmpResId, uiBmpHotResId, FALSE, uiBmpDsblResID);
  }
  void SetStdImage(int nGlyph, int nGlyphDisabled = 0);
  void ClearImageSet(BOOL bChecked);
  void SetTooltip(LPCTSTR lpszToolTipText);
  void SetAutorepeatMode(int nTimeDelay = 500) { m_nAutoRepeatTimeDelay = nTimeDelay; }
  void SetMouseCursor(HCURSOR hcursor) { m_hCursor = hcursor; }
  BOOL IsPushed() const { return m_bPushed; }
  BOOL IsHighlighted() const { return m_bHighlighted; }
  BOOL IsChecked() const { return m_bChecked; }
  BOOL IsCheckBox() const { return m_bCheckButton; }
  BOOL IsRadioButton() const { return m_bRadioButton; }
  BOOL IsAutoCheck() const { return m_bAutoCheck; }
  BOOL IsThemeDrawable() const { return s_bWinXPTheme && !m_bDontUseWinXPTheme; }

  virtual void ReleaseImages();
  virtual CSize SizeToContent(BOOL bCalcOnly = FALSE);
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  // Plain options the owner or a subclass sets.
  int m_nFlatStyle = BUTTONSTYLE_3D;
  int m_nAlignStyle = ALIGN_CENTER;
  BOOL m_bRightImage = FALSE;
  BOOL m_bTopImage = FALSE;
  BOOL m_bTransparent = FALSE;
  BOOL m_bDrawFocus = TRUE;
  BOOL m_bHighlightChecked = TRUE;
  BOOL m_bGrayDisabled = TRUE;
  BOOL m_bResponseOnButtonDown = FALSE;
  BOOL m_bDontUseWinXPTheme = FALSE;
  BOOL m_bWasDblClk = FALSE;

 protected:
  virtual void OnFillBackground(CDC* pDC, const CRect& rectClient);
  virtual void OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState);
  virtual void DrawFocusFrame(CDC* pDC, const CRect& rectFocus);
  virtual void OnDraw(CDC* pDC, const CRect& rect, UINT uiState);
  virtual void DrawCaption(CDC* pDC, const CRect& rect, const CString& strText, UINT uiDTFlags, UINT uiState);
  virtual CFont* SelectCaptionFont(CDC* pDC);
  virtual int GetImageSpacing() const { return 10; }
  virtual int GetVertGap() const { return 5; }

 public:
  // The classic frame; the visual manager's push-button border slot draws through it too.
  void DrawButtonFrame(CDC* pDC, CRect& rectClient, UINT uiState);

 protected:
  void ReadStyle(DWORD dwStyle);
  // The normal, hot and disabled strips of the checked or the unchecked set.
  std::array<CPlxButtonImages*, 3> ImageSet(BOOL bChecked);
  void CheckRadio(BOOL bUncheckOthers);
  void UncheckGroupRadios();
  BOOL CheckNextPrevRadioButton(BOOL bNext);
  void Repaint();
  void NotifyParent();

  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 public:
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnCancelMode();
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetImage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetImage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bPushed = FALSE;
  BOOL m_bClickiedInside = FALSE;
  BOOL m_bHighlighted = FALSE;
  BOOL m_bCaptured = FALSE;
  BOOL m_bHover = FALSE;
  BOOL m_bChecked = FALSE;
  BOOL m_bCheckButton = FALSE;
  BOOL m_bRadioButton = FALSE;
  BOOL m_bAutoCheck = FALSE;
  CSize m_sizeImage{0, 0};
  CPlxButtonImages m_Image, m_ImageHot, m_ImageDisabled;
  CPlxButtonImages m_ImageChecked, m_ImageCheckedHot, m_ImageCheckedDisabled;

 public:
  BOOL m_bAutoToolTip = FALSE;

 protected:
  BOOL m_bDelayFullTextTooltipSet = FALSE;
  int m_nStdImageId = -1;
  int m_nStdImageDisabledId = -1;
  CToolTipCtrl m_wndToolTip;

 public:
  HCURSOR m_hCursor = nullptr;
  CSize m_sizePushOffset{2, 2};
  COLORREF m_clrRegular = (COLORREF)-1;
  COLORREF m_clrHover = (COLORREF)-1;
  COLORREF m_clrFace = (COLORREF)-1;

 protected:
  HFONT m_hFont = nullptr;
  int m_nAutoRepeatTimeDelay = 0;

  static BOOL s_bWinXPTheme;
  static BOOL s_bThemeDetected;
};
