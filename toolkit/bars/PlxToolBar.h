// CPlxToolBar and the bars derived from it, as far as the visual managers and the bar frame
// painter read them: the class-wide list of toolbars, the customize mode, the menu image size,
// the hot-text colour, and the popup menu bar's image strip. Buttons, layout and persistence come
// with the toolbars themselves.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/ControlBar.h"
#include "toolkit/core/PlxBarFramePainter.h"

class CPlxToolBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxToolBar)

 public:
  CPlxToolBar();
  ~CPlxToolBar() override;

  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  // The client area's background through the current manager; the buttons come with the bars.
  void DoPaint(CDC* pDC) override;

  // Asks the new manager whether the bar is round, lays it out again and repaints it.
  virtual void OnChangeVisualManager();
  // The global fonts changed: the bar's size follows them.
  virtual void OnGlobalFontsChanged();

  static CObList& GetAllToolbars();
  static COLORREF GetHotTextColor() {
    return m_clrTextHot == (COLORREF)-1 ? GetSysColor(COLOR_BTNTEXT) : m_clrTextHot;
  }
  static void SetHotTextColor(COLORREF clr) { m_clrTextHot = clr; }
  // The size of menu images; the global image size when none was set.
  static CSize GetMenuImageSize();
  static void SetMenuImageSize(CSize size) { m_sizeMenuImage = size; }

  static BOOL m_bCustomizeMode;  // UI thread only
  static BOOL m_bAltDragActive;  // UI thread only
  static CSize m_sizeImage;      // the global image size
  static CSize m_sizeMenuImage;  // (-1, -1): the global size

  CPlxBarFramePainter m_Impl;

 protected:
  static COLORREF m_clrTextHot;

  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};

class CPlxMenuBar : public CPlxToolBar {
  DECLARE_DYNAMIC(CPlxMenuBar)

 public:
  // The menu bar's font for a horizontal or a vertical bar.
  static CFont* GetMenuFont(BOOL bHorz);

  static BOOL m_bMenuShadows;  // popup menus and dropped menu-bar buttons cast shadows
};

class CPlxPopupMenuBar : public CPlxToolBar {
  DECLARE_DYNAMIC(CPlxPopupMenuBar)

 public:
  BOOL m_bDisableImageStrip = FALSE;
};

// The frame of a popup menu; the managers read where it dropped from and the bar inside it.
class CPlxPopupMenu : public CWnd {
  DECLARE_DYNAMIC(CPlxPopupMenu)

 public:
  enum DROP_DIRECTION {
    DROP_DIRECTION_NONE,
    DROP_DIRECTION_BOTTOM,
    DROP_DIRECTION_TOP,
    DROP_DIRECTION_RIGHT,
    DROP_DIRECTION_LEFT
  };

  virtual CPlxPopupMenuBar* GetMenuBar() { return m_pMenuBar; }
  DROP_DIRECTION GetDropDirection() const { return m_DropDirection; }

  CPlxPopupMenuBar* m_pMenuBar = nullptr;
  CPlxPopupMenu* m_pParentPopup = nullptr;
  class CPlxToolbarMenuButton* m_pParentBtn = nullptr;
  DROP_DIRECTION m_DropDirection = DROP_DIRECTION_NONE;
  int m_nQuickCustomizeKind = -1;
  BOOL m_bQuickCustomize = FALSE;
};

// The pane record a status bar hands to GetStatusBarPaneTextColor.
struct CPlxStatusBarPaneInfo {
  UINT nStyle = 0;                  // SBPS_ bits
  COLORREF clrText = (COLORREF)-1;  // -1: the default
};

class CPlxStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CPlxStatusBar)

 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};
