// A disc's capacity scale: ticks, labels and a red limit line, filled in green up to a size in
// megabytes and in red above the limit. DVD: 0 to 4800 MB, limit 4700; CD: 0 to 800 MB, limit 740.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"
#include "platform/mfc/StdControls.h"

// Where the gauge draws for a client rectangle, kept apart from the drawing.
struct DiscGaugeGeometry {
  CRect scale;         // the framed scale; ticks and labels lie in the 12 pixels below it
  int majorStep = 0;   // pixels between major ticks
  int labelEvery = 1;  // 4, 2 or 1: which of the even ticks get a label
  int limitX = 0;      // the red limit line
  // The fills: green from greenLeft to greenRight, red from redLeft to redRight (empty when
  // redRight <= redLeft or there is no fill).
  int greenLeft = 0, greenRight = 0;
  int redLeft = 0, redRight = 0;
};

class CDiscCapacityGauge : public CStatic {
 public:
  CDiscCapacityGauge();
  ~CDiscCapacityGauge() override;

  // DVD: 0 MB, 1.2 G ... 4.8 G; CD: 0 MB, 200 M ... 800 M; i from 0 to 8.
  static CString ScaleLabel(BOOL bDvd, int i);
  // x of major tick i; tick 8 sits on the scale's last pixel.
  static int MajorTickX(const DiscGaugeGeometry& g, int i);
  static DiscGaugeGeometry Measure(const CRect& client, BOOL bDvd, int nValue);

  void DrawDvdScale(CDC* pDC);
  void DrawCdScale(CDC* pDC);

  int m_nValue = 0;  // megabytes shown
  BOOL m_bDvd = TRUE;

 protected:
  void DrawScale(CDC* pDC, BOOL bDvd);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
