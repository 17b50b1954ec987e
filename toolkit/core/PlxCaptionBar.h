// CPlxCaptionBar: a horizontal bar across its frame showing, on a coloured band, an image (an icon
// or the first image of a strip), a text and a label that may carry a command with a small
// drop-down arrow. It computes its height from its font and image, lays the three out by their
// alignments, keeps them clear of each other and sends the label's command to its owner.
#pragma once

#include "platform/mfc/ControlBar.h"
#include "toolkit/core/PlxButtonImages.h"

class CPlxCaptionBar : public CControlBar {
  DECLARE_DYNCREATE(CPlxCaptionBar)

 public:
  enum BarElementAlignment { ALIGN_INVALID = 0, ALIGN_LEFT = 1, ALIGN_RIGHT = 2, ALIGN_CENTER = 3 };

  CPlxCaptionBar();
  ~CPlxCaptionBar() override;

  // A child of the frame, docked at the top; nHeight -1 lets the bar compute its height.
  BOOL Create(DWORD dwStyle, CWnd* pParentWnd, UINT uiID, int nHeight = -1);

  // Content. Each call lays the bar out again (AdjustLayout) and redraws it.
  void SetText(const CString& strText, int nAlignment = ALIGN_LEFT);
  void SetButton(const CString& strLabel, UINT uiCmdId, int nAlignment = ALIGN_LEFT,
                 BOOL bHasDropDownArrow = TRUE);
  void SetButtonPressed(BOOL bPressed = TRUE);
  void SetIcon(HICON hIcon, int nAlignment = ALIGN_RIGHT);
  // The strip's first image is shown; the bar keeps its own copy of the bitmap.
  BOOL SetBitmap(HBITMAP hBitmap, COLORREF clrTransparent, BOOL bStretch = FALSE,
                 int nAlignment = ALIGN_RIGHT);
  void RemoveIcon();
  void RemoveBitmap();
  void SetBorderSize(int nSize);
  void SetMargin(int nMargin);
  void SetSpacing(int nSpacing);
  void SetFlatBorder(BOOL bFlat = TRUE);
  void SetColors(COLORREF clrText, COLORREF clrBackground, COLORREF clrBorder);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

  virtual void OnDrawBackground(CDC* pDC, CRect rect);
  virtual void OnDrawBorder(CDC* pDC, CRect rect);
  virtual void OnDrawText(CDC* pDC, CRect rect, const CString& strText);
  virtual void OnDrawImage(CDC* pDC, CRect rect);
  virtual void OnDrawButton(CDC* pDC, CRect rect, const CString& strButton, BOOL bEnabled);
  virtual void AdjustLayout();
  virtual void RecalcLayout();

  const CRect& GetImageRect() const { return m_rectImage; }
  const CRect& GetTextRect() const { return m_rectText; }
  const CRect& GetTextDrawRect() const { return m_rectDrawText; }
  const CRect& GetButtonRect() const { return m_rectButton; }
  int GetCurrentHeight() const { return m_nCurrentHeight; }
  BOOL IsButtonPressed() const { return m_bIsBtnPressed; }
  BOOL IsButtonHighlighted() const { return m_bIsBtnHighlighted; }

  COLORREF m_clrBarText = (COLORREF)-1;        // -1: the visual manager's caption text colour
  COLORREF m_clrBarBackground = (COLORREF)-1;  // -1: the visual manager's default fill
  COLORREF m_clrBarBorder = (COLORREF)-1;      // -1: the bar face brush
  HICON m_hIcon = nullptr;
  CPlxButtonImages m_Bmp;  // used when it holds an image and no icon is set
  BOOL m_bStretchImage = FALSE;
  int m_nBmpAlignment = ALIGN_LEFT;
  CRect m_rectImage;
  HFONT m_hFont = nullptr;  // null: the toolkit's regular font
  CString m_strText;
  int m_nTextAlignment = ALIGN_LEFT;
  CRect m_rectText;      // where the layout put the text
  CRect m_rectDrawText;  // the text rectangle moved clear of image and label
  CString m_strBtnText;
  UINT m_uiBtnID = 0;  // 0: the label carries no command
  int m_nBtnAlignment = ALIGN_LEFT;
  CRect m_rectButton;
  BOOL m_bIsBtnPressed = FALSE;
  BOOL m_bIsBtnHighlighted = FALSE;
  BOOL m_bIsBtnForcePressed = FALSE;  // drawn pressed whatever the mouse does
  BOOL m_bTracked = FALSE;            // leave tracking requested
  BOOL m_bBtnHasDropDownArrow = TRUE;
  int m_nBorderSize = 4;         // the band above and below the client area
  int m_nMargin = 4;             // elements' distance from the client edges
  int m_nHorzElementOffset = 4;  // gap between elements, and the label's inner text margin
  int m_nDefaultHeight = -1;     // -1: computed
  int m_nCurrentHeight = 0;
  BOOL m_bFlatBorder = FALSE;

 protected:
  // The label is a live button: it has a command and its arrow.
  BOOL IsActiveButton() const { return m_uiBtnID != 0 && m_bBtnHasDropDownArrow; }
  CFont* SelectFont(CDC* pDC);
  CSize GetImageSize() const;
  // Keeps rect between the client's margins; with bKeepSize a moved edge drags the other along.
  void CheckRectangle(CRect& rectSrc, const CRect& rectOther, BOOL bKeepSize) const;
  // Moves rect off rectOther (widened by the spacing); bHide when rectOther lies to the right.
  void AdjustRectToMargin(CRect& rectSrc, const CRect& rectOther, BOOL bHide) const;
  void RepaintButton();
  // After a content change: lays the bar out and redraws it.
  void Refresh();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSysColorChange();
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};
