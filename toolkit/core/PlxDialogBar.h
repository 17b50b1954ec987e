// CPlxDialogBar: a docking bar whose content is a dialog template. In sizing mode it is a plain
// resizable sizing bar; otherwise it keeps the template's size plus the sizing bar's borders,
// caption band and splitter edges. It enables its controls through the owner's command-update
// handlers and paints its background with the button face. No OLE controls are made here: a
// template's OLE information is kept and nothing creates controls from it. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "toolkit/core/PlxSizingControlBar.h"

struct _AFX_OCC_DIALOG_INFO;

class CPlxDialogBar : public CPlxSizingControlBar {
  DECLARE_SERIAL(CPlxDialogBar)

 public:
  CPlxDialogBar();
  ~CPlxDialogBar() override;

  // Makes the bar from a dialog template: a child sizing bar (dwStyle carries the window and
  // CBRS_ styles) holding the template's controls with the template's font, sized from the
  // template. FALSE when the template is missing or a control cannot be made.
  virtual BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, BOOL bHasGripper, LPCTSTR lpszTemplateName,
                      DWORD dwStyle, UINT nID, BOOL bSizingMode = FALSE);
  virtual BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, BOOL bHasGripper, UINT nIDTemplate,
                      DWORD dwStyle, UINT nID, BOOL bSizingMode = FALSE);
  using CPlxSizingControlBar::Create;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  // The framework hands over the template's OLE control information; always TRUE.
  virtual BOOL SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo);

  BOOL IsSizingMode() const { return m_bSizingMode; }
  void SetSizingMode(BOOL bSizingMode) { m_bSizingMode = bSizingMode; }
  CSize GetDefaultSize() const { return m_sizeDefault; }

 protected:
  CSize m_sizeDefault{0, 0};                         // the template's size in pixels
  BOOL m_bSizingMode = FALSE;                        // behave as a plain sizing bar in layouts
  _AFX_OCC_DIALOG_INFO* m_pOccDialogInfo = nullptr;  // not owned
  LPCTSTR m_lpszTemplateName = nullptr;              // a resource id or m_strTemplateName
  CString m_strTemplateName;
  HFONT m_hTemplateFont = nullptr;  // the template's font, owned

  // Takes the dock bar id from the parent when the bar changed dock bars since its last move.
  void SyncDockBarId();

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
