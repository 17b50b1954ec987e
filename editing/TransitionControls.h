// The transition preview and the transition list of the album options page, in the shape the
// page calls them: the preview plays a transition of the transition list between two sample
// pictures on the page's background colour, and the list starts a drag of its transition row.
// For now the preview steps its transition on a window timer of the UI thread and the list's
// drag shows its picture and ends on release; dropping onto the timeline comes with the timeline's
// transition items. UI thread only.
#pragma once

#include <memory>

#include "modules/effects/Transition.h"
#include "platform/comctl/AfxControls.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/mfc/Afx.h"

class CxImage;

class CTransitionPreviewStatic : public CStatic {
 public:
  // pBackground: the host's colour, read whenever the pictures are made; bSystemColor paints the
  // margins in the button face colour instead of the skin's page colour.
  CTransitionPreviewStatic(COLORREF* pBackground, int bSystemColor);
  ~CTransitionPreviewStatic() override;

  // Makes the two sample pictures ("images/transpreview1.jpg" and "...2.jpg" of the program
  // folder) again on the current background colour.
  void LoadPreviewImages();
  // Plays one transition from the first picture to the second; null only remembers it.
  void PlayTransition(TransitionEntryFactory pfnFactory);
  BOOL IsPlaying() const { return m_pTransition != nullptr; }
  TransitionEntryFactory GetFactory() const { return m_pfnFactory; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void StopTransition();

  COLORREF* m_pBackground;
  int m_bSystemColor;
  TransitionEntryFactory m_pfnFactory = nullptr;
  std::unique_ptr<CTransition> m_pTransition;
  std::unique_ptr<CxImage> m_pFirst;
  std::unique_ptr<CxImage> m_pSecond;
  int m_nStep = 0;
  int m_nStepCount = 60;
  CSize m_sizePicture{384, 288};
};

class CTransitionListCtrl : public CListCtrl {
 public:
  CTransitionListCtrl();
  ~CTransitionListCtrl() override;

  // LVN_BEGINDRAG, forwarded by the page: drags the row's picture until the button is released.
  void BeginDrag(NMLISTVIEW* pNotify);
  BOOL IsDragging() const { return m_bDragging; }
  int GetDraggedRow() const { return m_nDragRow; }

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

 private:
  void EndDrag();
  // The photo or transition item of the parent's timeline under a screen point, else null.
  class CTimelineItem* TargetAt(CPoint screen, class CTimelineCtrl** ppTimeline) const;

  BOOL m_bDragging = FALSE;
  int m_nDragRow = -1;
  std::unique_ptr<CImageList> m_pDragImage;
  HCURSOR m_hSavedCursor = nullptr;
  HCURSOR m_hNoDropCursor = nullptr;
  HCURSOR m_hDropCursor = nullptr;
};
