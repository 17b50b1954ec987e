// The framework's rebar: CReBarCtrl speaks the rebar's messages, CReBar is the control bar that
// holds one along an edge of its parent and takes other bars and controls as bands.
#pragma once

#include "platform/comctl/ReBar.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/ControlBar.h"

class CReBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CReBarCtrl)

 public:
  CReBarCtrl() = default;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  UINT GetBandCount() const;
  BOOL GetBandInfo(UINT uBand, REBARBANDINFO* prbbi) const;
  BOOL SetBandInfo(UINT uBand, REBARBANDINFO* prbbi);
  BOOL InsertBand(UINT uIndex, REBARBANDINFO* prbbi);
  BOOL DeleteBand(UINT uBand);
  BOOL MoveBand(UINT uFrom, UINT uTo);
  UINT GetRowCount() const;
  UINT GetBarHeight() const;
  void GetRect(UINT uBand, LPRECT prc) const;
  int IDToIndex(UINT uBandID) const;
};

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)

 public:
  CReBar() = default;
  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = AFX_IDW_REBAR);
  // A band holding pBar (made the rebar's child), its minimum size the bar's own size.
  BOOL AddBar(CWnd* pBar, LPCTSTR pszText = nullptr, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);

  CReBarCtrl& GetReBarCtrl() const {
    return *const_cast<CReBarCtrl*>(reinterpret_cast<const CReBarCtrl*>(this));
  }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  // The rebar paints and erases itself; the bar's own painting is left out.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
