// The colour bar's input and hosts: choosing a colour and handing it to whoever opened the bar
// (colour menu button, colour push button, or the command's buttons and the owner), the other-
// colour dialog, the command state, keys, mouse, creation inside a popup, as a dialog control or
// torn off, and the palette messages.
#include <algorithm>

#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WndMessageMap.h"
#include "platform/user/Input.h"
#include "toolkit/bars/PlxFrameHooks.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxColorButton.h"
#include "toolkit/core/PlxColorPopup.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxColorDialog.h"
#include "toolkit/customize/PlxColorMenuButton.h"

BEGIN_MESSAGE_MAP(CPlxColorBar, CPlxPopupMenuBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSELEAVE()
ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kNone = (COLORREF)-1;

// Records what the update handler said and nothing else.
class CColorCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
  BOOL m_bEnabled = TRUE;
};

}  // namespace

CFrameWnd* CPlxColorBar::ColorTopFrame() const {
  return PlxGetToolkitFrame(this).GetFrame();
}

void CPlxColorBar::ShowIdlePrompt() {
  CWnd* owner = GetOwner();
  if (owner == nullptr) owner = GetParent();
  if (owner != nullptr && owner->GetSafeHwnd() != nullptr)
    owner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

// ---- creation and hosts ----

BOOL CPlxColorBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, CPalette* pPalette, int nColumns,
                          int nRowsDockHorz, int nColDockVert) {
  if (m_arrPalette.GetSize() == 0) {
    m_nGridColumns = nColumns;
    m_nRowsWhenDockedHorz = nRowsDockHorz;
    m_nColumnsWhenDockedVert = nColDockVert;
    FillFromPalette(pPalette, m_arrPalette);
  }
  return CPlxToolBar::Create(pParentWnd, dwStyle, nID);
}

void CPlxColorBar::FitCellsToLabels() {
  if (GetSafeHwnd() == nullptr) return;
  int columns = 0, rows = 0;
  CalcGrid(FALSE, columns, rows);
  if (columns <= 0) return;
  CClientDC dc(this);
  CFont* oldFont = dc.SelectObject(&g_plxGlobalData.fontRegular);
  auto textWidth = [&dc](const CString& text) {
    return text.IsEmpty() ? 0 : static_cast<int>(dc.GetTextExtent(text).cx);
  };
  // The automatic row also holds its colour box; the other row shares its line with the
  // current-colour box.
  const int box = m_sizeCell.cy + 2 * 4;
  int need = std::max({textWidth(m_strAutomaticText) + (m_clrAutomatic != kNone ? box : 0),
                       textWidth(m_strDocumentText), textWidth(m_strMoreColorsText) + m_sizeCell.cx});
  dc.SelectObject(oldFont);
  if (need == 0) return;
  need += 2 * m_cxMargin + 12;
  const int cell = (need + columns - 1) / columns;
  if (cell <= m_sizeCell.cx) return;
  m_sizeCell = CSize(cell, std::max<int>(cell, m_sizeCell.cy));
  m_nTextRowHeight = m_sizeCell.cy * 3 / 2;
}

BOOL CPlxColorBar::CreateAsControl(CWnd* pParentWnd, const CRect& rect, UINT nID, int nColumns,
                                   CPalette* pPalette) {
  EnableLargeIcons(FALSE);
  if (nColumns <= 0) {
    const int count = pPalette != nullptr ? pPalette->GetEntryCount() : 20;
    nColumns = ColumnsForControl(count, rect, m_cxMargin, m_cyMargin);
  }
  if (!Create(pParentWnd, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, nID, pPalette, nColumns, 0, 0))
    return FALSE;
  SetBarStyle(GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
  MoveWindow(rect);
  FitCellsToWindow(TRUE, TRUE);
  SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetOwner(pParentWnd);
  m_uiColorCommand = nID;
  m_bRouteToFrame = FALSE;
  return TRUE;
}

int CPlxColorBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CPlxPopupMenuBar::OnCreate(lpCreateStruct) == -1) return -1;
  const CSize image = GetMenuImageSize();
  m_sizeCell = CSize(image.cx + 1, image.cy + 1);
  m_nTextRowHeight = m_sizeCell.cy * 3 / 2;
  FitCellsToLabels();
  RebuildCells();
  if (m_pOwnerColorButton != nullptr) SetCapture();
  return 0;
}

void CPlxColorBar::OnDestroy() {
  if (m_pOwnerColorButton != nullptr) {
    if (CColorPopup* popup = m_pOwnerColorButton->GetPopup(); popup != nullptr && &popup->m_colorBar == this)
      m_pOwnerColorButton->ForgetPopup();
    if (m_pOwnerColorButton->GetSafeHwnd() != nullptr) m_pOwnerColorButton->SetFocus();
  }
  CPlxPopupMenuBar::OnDestroy();
}

void CPlxColorBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (m_bStandalone)
    m_Impl.CalcNcSize(lpncsp);
  else
    CPlxPopupMenuBar::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void CPlxColorBar::OnNcPaint() {
  if (m_bStandalone) m_Impl.DrawNcArea();
}

BOOL CPlxColorBar::PreTranslateMessage(MSG* pMsg) {
  if (m_pOwnerColorButton != nullptr && !IsInCommand()) {
    BOOL close = FALSE;
    switch (pMsg->message) {
      case WM_KEYDOWN:
        close = pMsg->wParam == VK_ESCAPE;
        break;
      case WM_SYSKEYDOWN:
      case WM_CONTEXTMENU:
        close = TRUE;
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN: {
        CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
        if (pMsg->hwnd != m_hWnd) {
          ::ClientToScreen(pMsg->hwnd, &point);
          ScreenToClient(&point);
        }
        CRect client;
        GetClientRect(client);
        close = !client.PtInRect(point);
        break;
      }
      default:
        break;
    }
    if (close) {
      if (CWnd* parent = GetParent(); parent != nullptr) parent->SendMessage(WM_CLOSE);
      return TRUE;
    }
  }
  return CPlxPopupMenuBar::PreTranslateMessage(pMsg);
}

// ---- choosing ----

BOOL CPlxColorBar::OnSendCommand(const CPlxToolbarButton* pButton) {
  if (m_pOwnerColorButton != nullptr) ::ReleaseCapture();
  auto* popup = dynamic_cast<CPlxPopupMenu*>(GetParent());
  CPlxColorMenuButton* menuButton =
      popup != nullptr ? dynamic_cast<CPlxColorMenuButton*>(popup->GetParentButton()) : nullptr;

  COLORREF color = kNone;
  if (const auto* cell = dynamic_cast<const CPlxToolBarColorButton*>(pButton); cell != nullptr) {
    if (cell->m_bCaptionRow) return FALSE;
    if (cell->m_bAutomaticRow) {
      color = kNone;
    } else if (!cell->m_bMoreColorsRow) {
      color = cell->m_clrCell;
    } else {
      SetInCommand(TRUE);
      if (popup != nullptr) popup->ShowWindow(SW_HIDE);
      // The tip is a window of its own: it would stay over the dialog while the popup waits.
      HideToolTip();
      if (CFrameWnd* frame = ColorTopFrame(); frame != nullptr)
        CPlxPopupMenu::ActivatePopupMenu(frame, nullptr);
      InvalidateRect(cell->m_rect);
      UpdateWindow();

      // The dialog runs its own loop: the popup (and this bar inside it) may be gone when it
      // returns, so only the handles saved here are read afterwards.
      const HWND self = m_hWnd;
      CPlxColorButton* const ownerButton = m_pOwnerColorButton;
      COLORREF chosen = kNone;
      const BOOL ok = RunColorDialog(m_clrCurrent == kNone ? m_clrAutomatic : m_clrCurrent, chosen);
      const BOOL alive = ::IsWindow(self) && CWnd::FromHandlePermanent(self) == this;
      if (!ok) {
        if (!alive) return TRUE;
        SetInCommand(FALSE);
        if (ownerButton == nullptr) {
          if (menuButton != nullptr) {
            InvokeMenuCommand(0, menuButton);
          } else if (CFrameWnd* frame = ColorTopFrame(); frame != nullptr) {
            frame->SetFocus();
          }
        } else if (CWnd* parent = GetParent(); parent != nullptr) {
          parent->SendMessage(WM_CLOSE);
        }
        return TRUE;
      }
      if (!alive) return TRUE;
      SetInCommand(FALSE);
      color = chosen;
    }
  }

  if (menuButton != nullptr) {
    menuButton->SetColor(color, TRUE);
    InvokeMenuCommand(menuButton->m_nID, menuButton);
  } else if (m_pOwnerColorButton != nullptr) {
    m_pOwnerColorButton->UpdateColor(color);
    if (CWnd* parent = GetParent(); parent != nullptr) parent->SendMessage(WM_CLOSE);
  } else {
    SetColor(color);
    CObList buttons;
    if (CPlxToolBar::GetCommandButtons(m_uiColorCommand, buttons) > 0) {
      for (POSITION pos = buttons.GetHeadPosition(); pos != nullptr;) {
        if (auto* twin = dynamic_cast<CPlxColorMenuButton*>(buttons.GetNext(pos)); twin != nullptr)
          twin->SetColor(color, FALSE);
      }
    }
    CPlxColorMenuButton::m_ColorsByID.SetAt(m_uiColorCommand, color);
    CWnd* owner = GetOwner();
    if (owner == nullptr) owner = GetParent();
    const HWND self = m_hWnd;
    if (owner != nullptr && owner->GetSafeHwnd() != nullptr) owner->SendMessage(WM_COMMAND, m_uiColorCommand);
    if (::IsWindow(self)) {
      if (CFrameWnd* frame = ColorTopFrame(); frame != nullptr && frame->GetSafeHwnd() != nullptr)
        frame->SetFocus();
    }
  }
  return TRUE;
}

BOOL CPlxColorBar::RunColorDialog(COLORREF colorIn, COLORREF& colorOut) {
  if (auto* popup = dynamic_cast<CPlxPopupMenu*>(GetParent()); popup != nullptr) {
    if (auto* menuButton = dynamic_cast<CPlxColorMenuButton*>(popup->GetParentButton());
        menuButton != nullptr)
      return menuButton->RunColorDialog(colorIn, colorOut);
  }
  if (m_bSystemColorDialog) {
    CColorDialog dialog(colorIn, CC_FULLOPEN | CC_ANYCOLOR);
    if (dialog.DoModal() != IDOK) return FALSE;
    colorOut = dialog.GetColor();
    return TRUE;
  }
  CPlxColorDialog dialog(colorIn);
  if (dialog.DoModal() != IDOK) return FALSE;
  colorOut = dialog.GetColor();
  return TRUE;
}

// ---- command state, keys, prompt ----

void CPlxColorBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  if (m_uiColorCommand != 0 && m_uiColorCommand != (UINT)-1 && pTarget != nullptr) {
    CColorCmdUI state;
    state.m_nID = m_uiColorCommand;
    state.m_pOther = this;
    BOOL enabled = FALSE;
    if (pTarget->OnCmdMsg(m_uiColorCommand, CN_UPDATE_COMMAND_UI, &state, nullptr))
      enabled = state.m_bEnabled;
    else if (bDisableIfNoHndler && !state.m_bEnableChanged) {
      AFX_CMDHANDLERINFO info{};
      enabled = pTarget->OnCmdMsg(m_uiColorCommand, CN_COMMAND, nullptr, &info);
    }
    if (enabled != m_bCmdEnabled) {
      m_bCmdEnabled = enabled;
      for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* cell =
            dynamic_cast<CPlxToolBarColorButton*>(static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos)));
        if (cell == nullptr) continue;
        if (enabled)
          cell->m_nStyle &= ~TBBS_DISABLED;
        else
          cell->m_nStyle |= TBBS_DISABLED;
      }
      if (GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
      }
    }
  }
  CPlxToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

BOOL CPlxColorBar::OnKey(UINT nChar) {
  if (nChar == VK_RETURN) {
    if (CPlxToolbarButton* hot = GetButton(m_iHot); hot != nullptr) {
      ShowIdlePrompt();
      OnSendCommand(hot);
      return TRUE;
    }
  }
  return CPlxPopupMenuBar::OnKey(nChar);
}

void CPlxColorBar::ShowCommandMessageString(UINT) {
  CWnd* owner = GetOwner();
  if (owner == nullptr) owner = GetParent();
  if (owner == nullptr || owner->GetSafeHwnd() == nullptr) return;
  owner->SendMessage(WM_SETMESSAGESTRING,
                     m_uiColorCommand == (UINT)-1 ? AFX_IDS_IDLEMESSAGE : m_uiColorCommand);
}

// ---- mouse ----

void CPlxColorBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bCustomizeMode && !m_bInternal) return;
  CPlxToolBar::OnMouseMove(nFlags, point);
}

void CPlxColorBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if ((m_bCustomizeMode && !m_bInternal) || HitTest(point) >= 0) return;
  CPlxToolBar::OnLButtonDown(nFlags, point);
}

void CPlxColorBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bCustomizeMode && !m_bInternal) return;
  const int hit = HitTest(point);
  if (hit >= 0) m_iPressed = hit;
  CPlxToolBar::OnLButtonUp(nFlags, point);
}

void CPlxColorBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bCustomizeMode && !m_bInternal) return;
  CPlxToolBar::OnLButtonDblClk(nFlags, point);
}

void CPlxColorBar::OnMouseLeave() {
  if (m_pOwnerColorButton == nullptr) {
    CPlxToolBar::OnMouseLeave();
    return;
  }
  if (m_hMouseHook != nullptr) return;
  if (m_bMenuMode && !m_bCustomizeMode && GetDroppedDownMenu() != nullptr) return;
  m_ptLastMouse = CPoint(-1, -1);
  m_bMouseTracked = FALSE;
  if (m_iHot >= 0) {
    const int old = m_iHot;
    m_iHot = -1;
    OnChangeHot(-1);
    InvalidateButton(old);
    UpdateWindow();
    ShowIdlePrompt();
  }
}

// ---- palette messages ----

LRESULT CPlxColorBar::OnQueryNewPalette(WPARAM, LPARAM) {
  Invalidate();
  UpdateWindow();
  return Default();
}

LRESULT CPlxColorBar::OnPaletteChanged(WPARAM wParam, LPARAM) {
  const LRESULT result = Default();
  if (reinterpret_cast<HWND>(wParam) != m_hWnd) {
    Invalidate();
    UpdateWindow();
  }
  return result;
}
