// The drag and drop of toolbar buttons while the toolbars are customized: one drop source for
// every drag (its cursors say move, copy or remove) and one drop target per toolbar, which asks
// its bar what a drop there would do.
#pragma once

#include "toolkit/bars/PlxOleData.h"

class CPlxToolBar;

class CPlxToolbarDropSource : public COleDropSource {
 public:
  CPlxToolbarDropSource() = default;
  ~CPlxToolbarDropSource() override;

  SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
  SCODE GiveFeedback(DROPEFFECT dropEffect) override;
  BOOL OnBeginDrag(CWnd* pWnd) override;

  BOOL m_bOutsideBars = TRUE;  // the button is over no toolbar
  BOOL m_bEscapePressed = FALSE;
  BOOL m_bDragStarted = FALSE;  // the drag really began
  HCURSOR m_hcurRemove = nullptr;
  HCURSOR m_hcurMove = nullptr;
  HCURSOR m_hcurCopy = nullptr;
};

class CPlxToolbarDropTarget : public COleDropTarget {
 public:
  CPlxToolbarDropTarget() = default;

  BOOL Register(CPlxToolBar* pOwner);

  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  void OnDragLeave(CWnd* pWnd) override;
  DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                      CPoint point) override;

 private:
  // Customize mode is on and the data is a toolbar button.
  static BOOL Accepts(COleDataObject* pDataObject);

  CPlxToolBar* m_pOwner = nullptr;
};
