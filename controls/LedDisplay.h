// A seven-segment LED number display. The user changes its value by dragging (left: whole steps,
// right: hundredths) or clicking (left: one step down, right: one step up). UI thread only.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/StdControls.h"

// The segment geometry, kept apart from the window.
struct LedGeometry {
  int thickness = 1;  // t, also the pen width
  int length = 1;     // L
  // From the client height; with the margin applied H = height + 2 - margin.
  static LedGeometry FromHeight(int clientHeight, BOOL applyMargin, int margin);
  // The left edge of every character of `text`.
  std::vector<int> CharacterLefts(const CString& text) const;
  // The segment bits of a character (0x80 a ... 0x02 g); 0 for none. '.' and ':' are drawn apart.
  static BYTE SegmentMask(char c);
  // Segment `bit` of a character at x0 as a line from `from` to `to`.
  void Segment(BYTE bit, int x0, POINT* from, POINT* to) const;
};

class CLedDisplay : public CStatic {
 public:
  CLedDisplay();

  void SetInt(int value, BOOL storeFormat, LPCTSTR format);
  void SetFloat(float value, BOOL storeFormat, LPCTSTR format);
  // Sets the text shown and repaints.
  void SetText(LPCTSTR text);
  const CString& GetText() const { return m_strText; }
  float GetValue() const { return m_fValue; }
  void SetValue(float value) { m_fValue = value; }
  void SetRange(float minimum, float maximum) {
    m_fMin = minimum;
    m_fMax = maximum;
  }
  const LedGeometry& GetGeometry() const { return m_geometry; }

  // Members the owners set directly.
  int m_nDragDelta = 0;
  short m_nMargin = 10;
  BYTE m_bShowUnlit = 1;
  BYTE m_bSizesComputed = 0;
  BYTE m_bCustomUnlit = 0;
  CString m_strText = "0";
  CString m_strFormat = "%.3d";
  float m_fMin = 0.0f;
  float m_fMax = 100.0f;
  int m_nMinChars = 0;
  int m_nLastX = 0;
  int m_nPenWidth = 0;
  COLORREF m_clrBackground = RGB(0, 0, 0);
  COLORREF m_clrLed = 0x64FF64;
  COLORREF m_clrUnlit = 0;
  float m_fValue = 0.0f;
  BYTE m_bApplyMargin = 1;
  BYTE m_bLeftDrag = 0;
  BYTE m_bRightDrag = 0;
  BYTE m_bEditable = 1;
  BYTE m_bFloatMode = 0;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void ComputeSegmentSizes();
  void ShowValue();
  void EndDrag(BOOL left);
  LedGeometry m_geometry;
};
