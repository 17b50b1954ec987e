// The toolkit frame as toolbars, buttons and menus reach it. A frame of any of the four toolkit
// kinds is found by run-time class in the toolkit's fixed order (MDI frame, SDI frame, OLE in-place
// frame, OLE document in-place frame) and its hooks are called through that kind.
#pragma once

#include "toolkit/core/PlxFrameCore.h"
#include "toolkit/core/PlxFrameWnd.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxOleIPFrameWnd.h"

class CPlxToolkitFrame {
 public:
  CPlxToolkitFrame() = default;
  // Empty unless pFrame is one of the four toolkit kinds.
  explicit CPlxToolkitFrame(CFrameWnd* pFrame);

  explicit operator bool() const { return m_pFrame != nullptr; }
  CFrameWnd* GetFrame() const { return m_pFrame; }
  CPlxFrameCore* GetImpl() const { return m_pImpl; }
  CPlxMDIFrameWnd* GetMDIFrame() const { return m_pMDI; }

  // The hooks; an empty reference answers as a frame that does nothing would.
  BOOL OnShowPopupMenu(CPlxPopupMenu* pMenu) const;
  void OnClosePopupMenu(CPlxPopupMenu* pMenu) const;
  BOOL OnDrawMenuImage(CDC* pDC, const CPlxToolbarMenuButton* pButton, const CRect& rect) const;
  BOOL GetToolbarButtonToolTipText(CPlxToolbarButton* pButton, TOOLINFOA* pTI) const;
  BOOL GetToolbarToolTipText(CPlxToolbarButton* pButton, CString& strText) const;
  void OnDrawMenuLogo(CDC* pDC, CPlxPopupMenu* pMenu, const CRect& rect) const;
  BOOL OnTearOffMenu(CPlxPopupMenu* pMenu, CControlBar* pBar) const;
  BOOL OnShowCustomizePane(CPlxPopupMenu* pMenu, UINT uiToolbarResId) const;

 private:
  CFrameWnd* m_pFrame = nullptr;
  CPlxFrameCore* m_pImpl = nullptr;
  CPlxMDIFrameWnd* m_pMDI = nullptr;
  CPlxFrameWnd* m_pSDI = nullptr;
  CPlxOleIPFrameWnd* m_pOle = nullptr;
  CPlxOleDocIPFrameWnd* m_pOleDoc = nullptr;
};

// The toolkit frame to ask for a window: g_pTopLevelFrame, else the window's top-level frame
// (the thread's main window without a window); empty when that is no toolkit frame.
CPlxToolkitFrame PlxGetToolkitFrame(const CWnd* pWnd);
