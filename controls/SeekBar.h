// Small statics of the preview and music-trimming windows: CSeekBar, a skinned position bar with a
// highlighted range; CPreviewStatusStatic, the black hint area the preview draws its frames into;
// CPlaceholderStatic, an invisible static that only reserves its rectangle. UI thread only.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/StdControls.h"

// Posted to the seek bar's parent after a click: wParam the new position in percent, lParam 0.
#ifndef WM_SEEKBAR_CLICK
#define WM_SEEKBAR_CLICK 0x8002
#endif
// Sent by the seek bar to its parent at every paint, lParam a CSeekBarBitmaps* to fill in; a
// parent that leaves any of the three null gets a bar of the face colour only.
#define WM_SEEKBAR_GET_BITMAPS 0x8003

struct CSeekBarBitmaps {
  HBITMAP hTrack = nullptr;  // stretched over the whole width
  HBITMAP hRange = nullptr;  // stretched over the selected range
  HBITMAP hThumb = nullptr;  // at the position, its own size
};

class CSeekBar : public CStatic {
 public:
  CSeekBar();

  // percent 0..100; repaints.
  void SetPos(unsigned int percent);
  unsigned int GetPos() const { return m_nPos; }

  // Where the parts go in a bar `width` wide (client coordinates): the range's left edge and
  // width, the thumb's left edge. The total must not be 0.
  struct Geometry {
    int rangeLeft, rangeWidth, thumbLeft;
  };
  static Geometry Measure(unsigned int width, unsigned int thumbWidth, unsigned int pos, unsigned int start,
                          unsigned int end, unsigned int total);

  // Written by the owner directly.
  COLORREF m_clrFace;
  unsigned int m_nPos = 0;         // percent of the width
  unsigned int m_nRangeStart = 0;  // the owner's units
  unsigned int m_nRangeEnd = 0;
  unsigned int m_nRangeTotal = 0;  // the owner's units for the full width

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point) {}
  afx_msg void OnMouseMove(UINT nFlags, CPoint point) {}
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point) {}
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point) {}
  DECLARE_MESSAGE_MAP()
};

class CPreviewStatusStatic : public CStatic {
 public:
  // The two events belong to the preview window; both set means nothing plays.
  CPreviewStatusStatic(HANDLE* renderDone, HANDLE* menuDone, BOOL menuMode);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return TRUE; }
  DECLARE_MESSAGE_MAP()

 private:
  HANDLE* m_phRenderDone;
  HANDLE* m_phMenuDone;
  BOOL m_bMenuMode;
};

class CPlaceholderStatic : public CStatic {
 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
