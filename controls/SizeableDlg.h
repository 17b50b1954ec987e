// A dialog whose controls follow a layout table: WM_SIZE lays the table out into the client area,
// WM_GETMINMAXINFO keeps the window within the sizes the table allows. A derived dialog captures
// its to-fit sizes (CaptureToFitSizes) in OnInitDialog before the first layout. UI thread only.
#pragma once

#include "controls/LayoutMgr.h"
#include "platform/mfc/Dialog.h"

class CSizeableDlg : public CDialog {
  DECLARE_DYNAMIC(CSizeableDlg)

 public:
  CSizeableDlg(UINT nIDTemplate, CWnd* pParentWnd, _tagLayoutRow* pLayoutTable);
  ~CSizeableDlg() override;

  CLayoutMgr& GetLayout() { return m_layout; }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  DECLARE_MESSAGE_MAP()

  CLayoutMgr m_layout;
};
