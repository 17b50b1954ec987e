// Customize-mode editing of a toolbar's buttons by the mouse: select, drag to another place or
// bar (a move, or a copy with Ctrl), drag off every bar to delete, stretch a button that allows
// it, and the button's context menu. Outside customize mode an Alt+drag does the same for one
// drag when the program allows it.
#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxUserTools.h"
#include "toolkit/customize/PlxButtonAppearanceDlg.h"

CPlxToolbarDropSource CPlxToolBar::m_dropSource;

namespace {

constexpr UINT kCustomizeMenu = 16102;
constexpr int kStretchEdge = 6;  // how near the right edge a press starts a stretch
constexpr int kStretchMin = 4;   // the narrowest a stretched button gets beyond its left edge

enum : UINT {
  kCmdResetImage = 16910,
  kCmdCopyImage,
  kCmdDelete,
  kCmdAppearance,
  kCmdImageOnly,
  kCmdTextOnly,
  kCmdImageAndText,
  kCmdBeginGroup,
  kCmdNewMenu
};

void RedrawAll(CWnd* wnd) {
  if (wnd->GetSafeHwnd())
    wnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

}  // namespace

BOOL CPlxToolBar::SetCustomizeMode(BOOL bSet) {
  if (bSet == m_bCustomizeMode) return FALSE;
  CObList& bars = GetAllToolbars();
  // A bar may add or remove bars while it switches: then the walk starts again.
  for (bool again = true; again;) {
    again = false;
    const INT_PTR count = bars.GetCount();
    for (POSITION pos = bars.GetHeadPosition(); pos;) {
      auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
      if (CWnd::FromHandlePermanent(bar->GetSafeHwnd()) != bar) continue;
      bar->OnCustomizeMode(bSet);
      if (bars.GetCount() != count) {
        again = true;
        break;
      }
    }
  }
  m_bCustomizeMode = bSet;
  if (!bSet) m_pSelToolbar = nullptr;
  for (POSITION pos = bars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CPlxToolBar*>(bars.GetNext(pos));
    if (!bar->GetSafeHwnd()) continue;
    if (bar->m_pChevron) bar->AdjustLayout();
    bar->RedrawWindow(nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  return TRUE;
}

BOOL CPlxToolBar::OnEditLButtonDown(UINT nFlags, CPoint point) {
  const BOOL altDrag =
      !m_bCustomizeMode && m_bAltCustomization && AllowAltCustomization() && GetAsyncKeyState(VK_MENU) < 0;
  if ((!m_bCustomizeMode && !altDrag) || m_bLocked) return FALSE;
  if (altDrag) m_bAltDragActive = TRUE;

  if (m_bCustomizeMode && m_pSelToolbar != this) {
    if (CPlxToolBar* previous = m_pSelToolbar) {
      const int old = previous->m_iSelected;
      previous->m_iSelected = -1;
      previous->InvalidateButton(old);
    }
    m_pSelToolbar = this;
  }
  const int i = HitTest(point);
  if (i < 0) {
    m_iPressed = -1;
    const int old = m_iSelected;
    m_iSelected = -1;
    InvalidateButton(old);
    OnChangeHot(-1);
    if (m_bAltDragActive) m_bAltDragActive = FALSE;
    CControlBar::OnLButtonDown(nFlags, point);
    return TRUE;
  }
  const int old = m_iSelected;
  m_iSelected = i;
  InvalidateButton(old);
  CPlxToolbarButton* button = GetButton(i);
  m_pDragButton = button;
  m_bCtrlDrag = (nFlags & MK_CONTROL) != 0;
  if (!button->IsEditable()) {
    m_iSelected = -1;
    m_pDragButton = nullptr;
  }
  InvalidateButton(i);
  UpdateWindow();

  if (m_pDragButton && button->CanBeStretched() &&
      std::abs(point.x - button->GetRect().right) <= kStretchEdge && !m_bAltDragActive) {
    m_bStretching = TRUE;
    m_rectStretch = button->GetRect();
    if (button->GetHwnd()) m_rectStretch.InflateRect(2, 2);
    m_pPrevCaptureWnd = SetCapture();
    ::SetCursor(g_plxGlobalData.hcurStretch);
    return TRUE;
  }

  if (m_pDragButton && button->CanBeStored() && button->OnBeforeDrag()) {
    COleDataSource data;
    button->m_bDragCopy = TRUE;
    const BOOL prepared = button->PrepareDrag(data);
    button->m_bDragCopy = FALSE;
    if (prepared) {
      ShowCommandMessageString(button->m_nID);
      m_dropSource.m_bDragStarted = FALSE;
      m_dropSource.m_bOutsideBars = TRUE;
      m_dropSource.m_bEscapePressed = FALSE;
      m_ptDragStart = point;
      const BOOL altDragRun = m_bAltDragActive;
      if (altDragRun) m_bCustomizeMode = TRUE;
      CRect start = button->GetRect();
      ClientToScreen(&start);
      const HWND self = m_hWnd;
      const DROPEFFECT effect = data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &start, &m_dropSource);
      if (!::IsWindow(self)) {
        // The bar went away during the drag: only the class-wide state is ours to tidy.
        if (altDragRun) m_bCustomizeMode = m_bAltDragActive = FALSE;
        return TRUE;
      }
      CPoint at;
      ::GetCursorPos(&at);
      ScreenToClient(&at);
      const int index = m_pDragButton ? ButtonToIndex(m_pDragButton) : -1;
      if (!m_dropSource.m_bDragStarted || (m_pDragButton && m_pDragButton->GetRect().PtInRect(at))) {
        m_iHot = index;
        OnChangeHot(m_iHot);
      }
      if (effect == DROPEFFECT_COPY || m_dropSource.m_bEscapePressed || !m_pDragButton || index < 0) {
        InvalidateButton(index);
      } else if (m_dropSource.m_bDragStarted) {
        RemoveButton(index);
        m_iSelected = -1;
        AdjustLayout();
        RedrawAll(this);
      }
      if (altDragRun) m_bCustomizeMode = FALSE;
    }
    m_pDragButton = nullptr;
    m_ptDragStart = CPoint(-1, -1);
  } else {
    m_pDragButton = nullptr;
  }
  if (m_bAltDragActive) {
    m_bAltDragActive = FALSE;
    SetCustomizeMode(FALSE);
    RedrawAll(this);
  }
  return TRUE;
}

BOOL CPlxToolBar::OnEditMouseMove(CPoint point) {
  if (!m_bStretching || !m_pDragButton) return FALSE;
  ::SetCursor(g_plxGlobalData.hcurStretch);
  if (point.x - m_pDragButton->GetRect().left <= kStretchMin) return TRUE;
  CRect old = m_rectStretch;
  m_rectStretch.right = point.x;
  // The old frame goes with a repaint; the new one is a 2-pixel frame in the text colour.
  old.InflateRect(1, 1);
  RedrawWindow(old, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  CClientDC dc(this);
  CRect frame = m_rectStretch;
  for (int i = 0; i < 2; ++i, frame.DeflateRect(1, 1))
    dc.Draw3dRect(frame, g_plxGlobalData.clrBtnText, g_plxGlobalData.clrBtnText);
  return TRUE;
}

BOOL CPlxToolBar::OnEditLButtonUp(CPoint point) {
  if (!m_bStretching) return FALSE;
  CPlxToolbarButton* button = m_pDragButton;
  if (button) {
    const CRect rect = button->GetRect();
    if (point.x - rect.left > kStretchMin && std::abs(point.x - rect.right) > kStretchEdge) {
      button->OnSize(point.x - rect.left);
      AdjustLayout();
    }
  }
  m_rectStretch.SetRectEmpty();
  m_pDragButton = nullptr;
  m_bStretching = FALSE;
  RedrawAll(this);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_pPrevCaptureWnd && m_pPrevCaptureWnd->GetSafeHwnd()) m_pPrevCaptureWnd->SetCapture();
  m_pPrevCaptureWnd = nullptr;
  return TRUE;
}

BOOL CPlxToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bStretching) {
    ::SetCursor(g_plxGlobalData.hcurStretch);
    return TRUE;
  }
  if (m_bCustomizeMode && !m_bLocked && m_iSelected >= 0) {
    CPoint at;
    ::GetCursorPos(&at);
    ScreenToClient(&at);
    CPlxToolbarButton* selected = GetButton(m_iSelected);
    if (selected && selected->CanBeStretched() && selected->GetRect().PtInRect(at) &&
        std::abs(at.x - selected->GetRect().right) <= kStretchEdge) {
      ::SetCursor(g_plxGlobalData.hcurStretch);
      return TRUE;
    }
  }
  return CControlBar::OnSetCursor(pWnd, nHitTest, message);
}

void CPlxToolBar::OnContextMenu(CWnd*, CPoint point) {
  if (m_bCustomizeMode && m_bLocked) {
    MessageBeep(static_cast<UINT>(-1));
    return;
  }
  OnChangeHot(-1);
  HideToolTip();  // the menu opens over the button the tip names
  if (!m_bCustomizeMode) {
    if (CFrameWnd* frame = GetDockingFrame())
      frame->SendMessage(PLX_WM_TOOLBARMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
    return;
  }
  SetFocus();
  CPoint client = point;
  ScreenToClient(&client);
  const int old = m_iSelected;
  if (m_pSelToolbar && m_pSelToolbar != this) {
    CPlxToolBar* previous = m_pSelToolbar;
    const int previousSel = previous->m_iSelected;
    previous->m_iSelected = -1;
    previous->InvalidateButton(previousSel);
  }
  m_pSelToolbar = this;
  m_iSelected = point.x == -1 && point.y == -1 ? m_iSelected : HitTest(client);
  InvalidateButton(old);
  InvalidateButton(m_iSelected);
  UpdateWindow();
  CPlxToolbarButton* button = GetButton(m_iSelected);
  if (!button) return;
  if (!button->IsEditable()) {
    const int sel = m_iSelected;
    m_iSelected = -1;
    InvalidateButton(sel);
    return;
  }
  if (!button->CanBeStored()) return;
  if (point.x == -1 && point.y == -1) {
    CRect rect;
    GetClientRect(&rect);
    point = rect.TopLeft() + CPoint(5, 5);
    ClientToScreen(&point);
  }
  CMenu menu;
  if (!menu.LoadMenu(kCustomizeMenu)) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (popup) {
    if (button->m_bLocked) popup->EnableMenuItem(kCmdResetImage, MF_BYCOMMAND | MF_GRAYED);
    if (EnableContextMenuItems(button, popup)) {
      CPlxToolbarButton* before = GetButton(m_iSelected - 1);
      if (before && !before->IsVisible()) popup->EnableMenuItem(kCmdBeginGroup, MF_BYCOMMAND | MF_GRAYED);
    }
    // The command comes back here: a bar hands the WM_COMMAND of a menu on to its owner.
    const UINT cmd = static_cast<UINT>(::TrackPopupMenu(popup->GetSafeHmenu(),
                                                        TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                        point.x, point.y, 0, m_hWnd, nullptr));
    if (cmd >= kCmdResetImage && cmd <= kCmdNewMenu) OnCustomizeCommand(cmd);
  }
  menu.DestroyMenu();
}

BOOL CPlxToolBar::EnableContextMenuItems(CPlxToolbarButton* pButton, CMenu* pPopup) {
  if (!pButton->OnCustomizeMenu(pPopup)) {
    if (!pButton->m_bImage || pButton->GetImage() < 0)
      pPopup->EnableMenuItem(kCmdCopyImage, MF_BYCOMMAND | MF_GRAYED);
    if (pButton->m_nID == 0 || pButton->m_nID == static_cast<UINT>(-1))
      pPopup->EnableMenuItem(kCmdResetImage, MF_BYCOMMAND | MF_GRAYED);
    const BOOL textShown = pButton->m_bText || (pButton->m_bTextBelow && IsHorizontal());
    const UINT checked = textShown && pButton->m_bImage ? kCmdImageAndText
                         : textShown                    ? kCmdTextOnly
                                                        : kCmdImageOnly;
    pPopup->CheckMenuItem(checked, MF_BYCOMMAND | MF_CHECKED);
    if (pButton->m_bTextBelow && IsHorizontal())
      pPopup->EnableMenuItem(kCmdImageOnly, MF_BYCOMMAND | MF_GRAYED);
    if (IsPureMenuButton(pButton)) {
      for (UINT id : {kCmdImageOnly, kCmdTextOnly, kCmdImageAndText})
        pPopup->EnableMenuItem(id, MF_BYCOMMAND | MF_GRAYED);
      pButton->m_bText = TRUE;
    }
  }
  const int index = ButtonToIndex(pButton);
  if (index <= 0) {
    pPopup->EnableMenuItem(kCmdBeginGroup, MF_BYCOMMAND | MF_GRAYED);
  } else if (CPlxToolbarButton* before = GetButton(index - 1);
             before && (before->m_nStyle & TBBS_SEPARATOR)) {
    pPopup->CheckMenuItem(kCmdBeginGroup, MF_BYCOMMAND | MF_CHECKED);
  }
  return TRUE;
}

void CPlxToolBar::OnCustomizeCommand(UINT nID) {
  CPlxToolbarButton* button = GetButton(m_iSelected);
  if (!button) return;
  const auto takeDefaultText = [&] {
    if (button->m_strText.IsEmpty()) OnSetDefaultButtonText(button);
    return !button->m_strText.IsEmpty();
  };
  const auto runAppearance = [&] {
    CPlxButtonAppearanceDlg dialog(button, m_pUserImages, this, 0, m_bMenuMode);
    return dialog.DoModal() == IDOK;
  };
  switch (nID) {
    case kCmdResetImage: {
      const BOOL tool = g_pUserToolsManager && g_pUserToolsManager->FindTool(button->m_nID);
      if (!tool) {
        int image = -1;
        if (m_mapDefaultImages.Lookup(button->m_nID, image)) {
          button->m_bUserImage = FALSE;
          button->SetImage(image);
          button->m_bImage = TRUE;
        } else {
          button->m_bImage = FALSE;
        }
      }
      button->m_bText = m_bMenuMode || !button->m_bImage;
      OnSetDefaultButtonText(button);
      AdjustLayout();
      if (CPlxCommandManager* commands = GetCommandManager()) commands->ClearUserCmdImage(button->m_nID);
      RedrawAll(this);
      break;
    }
    case kCmdCopyImage: {
      CPlxUserTool* tool = g_pUserToolsManager ? g_pUserToolsManager->FindTool(button->m_nID) : nullptr;
      if (tool && !button->m_bUserImage) {
        tool->CopyIconToClipboard();
      } else {
        CPlxButtonImages* images = button->m_bUserImage ? m_pUserImages : &m_sharedImages;
        if (images) images->CopyImageToClipboard(button->GetImage());
      }
      break;
    }
    case kCmdDelete:
      RemoveButton(m_iSelected);
      m_iSelected = -1;
      AdjustLayout();
      RedrawAll(this);
      break;
    case kCmdAppearance:
      takeDefaultText();
      if (runAppearance()) AdjustLayout();
      break;
    case kCmdImageOnly: {
      const BOOL text = button->m_bText, image = button->m_bImage;
      button->m_bText = FALSE;
      button->m_bImage = TRUE;
      if (button->GetImage() < 0 && !runAppearance()) {
        button->m_bText = text;
        button->m_bImage = image;
        break;
      }
      AdjustLayout();
      break;
    }
    case kCmdTextOnly:
      button->m_bText = TRUE;
      button->m_bImage = FALSE;
      if (!takeDefaultText()) {
        MessageBeep(static_cast<UINT>(-1));
        button->m_bText = FALSE;
        button->m_bImage = TRUE;
      }
      AdjustLayout();
      break;
    case kCmdImageAndText: {
      const BOOL text = button->m_bText, image = button->m_bImage;
      button->m_bText = button->m_bImage = TRUE;
      if (button->GetImage() < 0 && !runAppearance()) {
        button->m_bText = text;
        button->m_bImage = image;
        break;
      }
      if (!takeDefaultText()) {
        MessageBeep(static_cast<UINT>(-1));
        button->m_bText = FALSE;
      }
      AdjustLayout();
      break;
    }
    case kCmdBeginGroup: {
      CPlxToolbarButton* before = GetButton(m_iSelected - 1);
      if (before && !(before->m_nStyle & TBBS_SEPARATOR)) {
        InsertSeparator(m_iSelected);
        ++m_iSelected;
      } else if (before && before->IsVisible()) {
        RemoveButton(m_iSelected - 1);
      }
      AdjustLayout();
      break;
    }
    case kCmdNewMenu: {
      auto* menu = new CPlxToolbarMenuButton;
      menu->m_bText = TRUE;
      menu->m_bImage = FALSE;
      CPlxButtonAppearanceDlg dialog(menu, m_pUserImages, this, 0, m_bMenuMode);
      if (dialog.DoModal() != IDOK) {
        delete menu;
        break;
      }
      m_iSelected = InsertButtonObject(menu, m_iSelected);
      AdjustLayout();
      RedrawAll(this);
      menu->OnClick(this, FALSE);
      break;
    }
    default:
      break;
  }
  RedrawAll(this);
}
