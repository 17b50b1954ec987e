// The small picture of one pan-and-zoom position on the custom pan-and-zoom page: the first frame
// of its work record rendered by the pan-and-zoom engine, dragged with the mouse to move the pan.
// The page shows two, one for the starting and one for the ending position of a slide's motion.
#pragma once

#include <memory>

#include "modules/effects/PanZoom.h"
#include "platform/mfc/Afx.h"

class CxImage;
class CDVDImage;

// Sent to the parent after every drag step: wParam the control's id, lParam its work record.
#define WM_PANZOOM_PREVIEW_DRAGGED 0x18A7

class CPanZoomPreviewStatic : public CStatic {
 public:
  // pSource: the canvas's display picture of the current slide; ppImage: the dialog's pointer to
  // its current slide (which may be null). Neither is owned.
  CPanZoomPreviewStatic(CxImage* pSource, CDVDImage** ppImage);
  ~CPanZoomPreviewStatic() override;

  // Builds the picture the engine reads (the source letterboxed to the TV aspect when its shape
  // differs) and renders. TRUE.
  BOOL PrepareSource();
  // Renders the first frame of the work record and repaints; FALSE before PrepareSource.
  BOOL Render();
  // A preview that is not editable is drawn veiled and ignores the mouse. TRUE.
  BOOL SetEditable(BOOL bEditable);
  BOOL IsEditable() const { return m_bEditable; }
  BOOL IsDragging() const { return m_bDragging; }

  // What the engine reads and the last frame it made (tests and the page look at them).
  const CxImage* GetEffectiveSource() const { return m_pEffective; }
  const CxImage& GetFramePicture() const;

  // The letterbox multiple for a picture of w x h on an aspect of aw:ah: the larger of w / aw and
  // h / ah, at least 1 (a picture under one aspect unit, or an empty one, still gets a canvas)
  // and at most 256. 0 when the picture already has the aspect's shape.
  static int FitMultiple(int nWidth, int nHeight, int nAspectWidth, int nAspectHeight);
  // The pan after a drag of `delta` pixels over a client extent: value + delta / extent x 100,
  // kept to -100..100 and to hundredths. An empty extent leaves the value.
  static double DragPan(double value, int nDelta, int nExtent);

  // Public: the page writes the pan, zoom and rotation fields directly.
  _tagPanZoomWorkParamEx m_workParam;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

 private:
  struct Surfaces;  // the veil and the back buffer, kept between paints
  COLORREF AlbumBackground() const;
  // The frame rectangle of the client area: the largest centred 4:3 (16:9 with the project's
  // aspect correction 2) rectangle.
  CRect FrameRect() const;

  CxImage* m_pSource;
  CDVDImage** m_ppImage;
  std::unique_ptr<CxImage> m_frame;
  std::unique_ptr<CxImage> m_fitted;
  CxImage* m_pEffective = nullptr;
  BOOL m_bDragging = FALSE;
  CPoint m_ptLast;
  BOOL m_bEditable = TRUE;
  std::unique_ptr<Surfaces> m_surfaces;
};
