// CPlxInplaceToolTipCtrl: a borderless pop-up that shows the full text of a clipped property-list
// cell exactly over the cell, and hands every mouse message it receives back to its owner, so the
// list keeps working under it. UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"

class CPlxInplaceToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CPlxInplaceToolTipCtrl)

 public:
  CPlxInplaceToolTipCtrl() = default;
  ~CPlxInplaceToolTipCtrl() override = default;

  virtual BOOL Create(CWnd* pOwner);
  // Shows strText over rect (screen coordinates), kept on the monitor's work area. Nothing when
  // both are what is shown already.
  void Track(CRect rect, const CString& strText);
  void Hide();
  // Forgets the text and the cell, so the next Track shows again.
  void Deactivate();
  BOOL PreTranslateMessage(MSG* pMsg) override;

  const CString& GetText() const { return m_strTip; }
  const CRect& GetLastRect() const { return m_rectLast; }

  CString m_strTip;
  CRect m_rectLast;
  int m_nTextMargin = 10;
  HFONT m_hTipFont = nullptr;
  CWnd* m_pOwnerWnd = nullptr;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
