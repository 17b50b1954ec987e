// The transition controls: the preview that plays a transition of the transition list between two
// sample pictures, the album options page's transition list (dragged onto the timeline or
// double-clicked), and the owner-drawn list box of the random transition dialog.
#pragma once

#include <memory>

#include "modules/effects/Transition.h"
#include "platform/comctl/AfxControls.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/kernel/CriticalSection.h"
#include "platform/mfc/Afx.h"

class CxImage;
class CTransitionEntryArray;

// Ids the slide dialogs share: their banner and the static the preview subclasses.
#define IDC_SLIDE_DIALOG_BANNER 1453
#define IDC_TRANSITION_PREVIEW 1328

// Plays one transition in 60 steps on a 33 ms multimedia timer. The timer thread makes the frames
// and invalidates the control; the UI thread only paints the current frame.
class CTransitionPreviewStatic : public CStatic {
 public:
  // pBackground: the host's colour, read whenever the pictures are made; bSystemColor paints the
  // margins in the button face colour instead of the skin's page colour.
  CTransitionPreviewStatic(COLORREF* pBackground, int bSystemColor);
  ~CTransitionPreviewStatic() override;

  // Makes the two sample pictures ("images/transpreview1.jpg" and "...2.jpg" of the program
  // folder) again on the current background colour.
  void LoadPreviewImages();
  // Plays one transition from the first picture to the second, from its first step; null only
  // remembers it.
  void PlayTransition(TransitionEntryFactory pfnFactory);
  BOOL IsPlaying() const;
  TransitionEntryFactory GetFactory() const { return m_pfnFactory; }

  // The client area filled with `background` and `frame` fitted into it, aspect kept; what the
  // control paints off screen before one copy to the screen.
  static void PaintFrame(HDC hdc, const RECT& client, CxImage* frame, COLORREF background);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  static void CALLBACK TimerProc(UINT nTimerId, UINT, DWORD_PTR dwUser, DWORD_PTR, DWORD_PTR);
  void OnStep(UINT nTimerId);
  // Stops the timer and waits out a callback that is running; the caller holds no lock.
  void StopTimer();

  COLORREF* m_pBackground;
  int m_bSystemColor;
  TransitionEntryFactory m_pfnFactory = nullptr;  // UI thread only
  // The rest is guarded by m_lock: the timer thread steps, the UI thread plays and paints.
  mutable CRITICAL_SECTION m_lock;
  std::unique_ptr<CTransition> m_pTransition;
  std::unique_ptr<CxImage> m_pFirst;
  std::unique_ptr<CxImage> m_pSecond;
  int m_nStep = 0;
  int m_nStepCount = 60;
  CSize m_sizePicture{384, 288};
  UINT m_nTimerId = 0;
  HWND m_hWndTarget = nullptr;  // where the timer thread's invalidation goes
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

// An owner-drawn list box of transition-list entries: each row's item data is an entry's index,
// drawn as its 40 x 30 icon and the row's text.
class CTransitionListBox : public CListBox {
 public:
  explicit CTransitionListBox(CTransitionEntryArray* pTransitions);
  ~CTransitionListBox() override;

  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  CTransitionEntryArray* m_pTransitions;
  CFont m_font;
};
