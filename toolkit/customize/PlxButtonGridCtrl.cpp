// The button grid: layout in rows, scrolling, selection, keys, drawing.
#include "toolkit/customize/PlxButtonGridCtrl.h"

#include <algorithm>

#include "platform/mfc/Dc.h"
#include "platform/mfc/OleDragDrop.h"
#include "platform/user/Metrics.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/bars/PlxToolbarComboBoxButton.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

IMPLEMENT_DYNAMIC(CPlxButtonGridCtrl, CButton)

namespace {

constexpr int kRowGap = 5;     // between rows
constexpr int kColumnGap = 4;  // between buttons of a row
constexpr UINT kScrollBarId = 1;

}  // namespace

CPlxButtonGridCtrl::CPlxButtonGridCtrl() = default;
CPlxButtonGridCtrl::~CPlxButtonGridCtrl() = default;

void CPlxButtonGridCtrl::AttachImages(CPlxButtonImages* pImages) {
  m_pImages = pImages;
  if (pImages) {
    const CSize image = pImages->GetImageSize();
    m_nButtonWidth = image.cx + 6;
    m_nButtonHeight = image.cy + 7;
  }
  ClearButtons();
}

void CPlxButtonGridCtrl::AppendButton(CPlxToolbarButton* pButton) {
  if (!pButton) return;
  m_lstButtons.AddTail(pButton);
  pButton->OnChangeParentWnd(this);
  m_bLaidOut = FALSE;
  RecalcLayout();
  if (HWND own = pButton->GetHwnd()) ::EnableWindow(own, FALSE);
}

void CPlxButtonGridCtrl::ClearButtons() {
  m_pSelected = nullptr;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;)
    static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos))->OnChangeParentWnd(nullptr);
  m_lstButtons.RemoveAll();
  m_nScrollOffset = m_nScrollMax = m_nRowsPerPage = 0;
  m_bLaidOut = FALSE;
  if (m_wndScrollBar.GetSafeHwnd()) {
    m_wndScrollBar.EnableScrollBar(ESB_DISABLE_BOTH);
    m_wndScrollBar.SetScrollRange(0, 0);
  }
}

CRect CPlxButtonGridCtrl::ShiftedRect(const CPlxToolbarButton* pButton) const {
  CRect r = pButton->GetRect();
  r.OffsetRect(0, -m_nScrollOffset);
  return r;
}

CRect CPlxButtonGridCtrl::ScrollArea() const {
  CRect client;
  GetClientRect(&client);
  client.right -= ::GetSystemMetrics(SM_CXVSCROLL) + 1;
  client.DeflateRect(4, 5);
  return client;
}

void CPlxButtonGridCtrl::RecalcLayout() {
  if (!GetSafeHwnd() || m_lstButtons.IsEmpty()) return;
  const CRect area = ScrollArea();
  const int pitch = m_nButtonHeight + kRowGap;
  CClientDC dc(this);
  int x = area.left, y = area.top;
  CPlxToolbarButton* last = nullptr;
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    const CSize size = button->OnCalculateSize(&dc, CSize(m_nButtonWidth, m_nButtonHeight), TRUE);
    int width = size.cx;
    if (x + width > area.right) {
      if (x == area.left) {
        width = area.Width();
      } else {
        y += size.cy + kRowGap;
        x = area.left;
      }
    }
    const CRect rect(x, y, x + width, y + m_nButtonHeight);
    if (rect != button->m_rect) {
      button->m_rect = rect;
      button->OnMove();
    }
    x += width + kColumnGap;
    last = button;
  }
  m_nRowsPerPage = pitch > 0 ? area.Height() / pitch : 0;
  const int rowsBelow = (last && pitch > 0 ? last->m_rect.bottom / pitch : 0) - m_nRowsPerPage;
  if (rowsBelow > 0) {
    if (!m_wndScrollBar.GetSafeHwnd()) {
      CRect client;
      GetClientRect(&client);
      client.DeflateRect(1, 1);
      client.left = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
      m_wndScrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, client, this, kScrollBarId);
    }
    m_nScrollMax = rowsBelow * pitch;
    m_wndScrollBar.EnableScrollBar(ESB_ENABLE_BOTH);
    m_wndScrollBar.SetScrollRange(0, m_nScrollMax);
  }
  m_bLaidOut = TRUE;
}

CScrollBar* CPlxButtonGridCtrl::GetScrollBarCtrl(int nBar) const {
  if (nBar == SB_VERT && m_wndScrollBar.GetSafeHwnd()) return const_cast<CScrollBar*>(&m_wndScrollBar);
  return nullptr;
}

CPlxToolbarButton* CPlxButtonGridCtrl::HitTest(CPoint point) const {
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (ShiftedRect(button).PtInRect(point)) return button;
  }
  return nullptr;
}

void CPlxButtonGridCtrl::SetSelection(CPlxToolbarButton* pButton) {
  if (pButton == m_pSelected) {
    if (m_pSelected && GetSafeHwnd()) {
      InvalidateRect(ShiftedRect(m_pSelected));
      UpdateWindow();
    }
    return;
  }
  CPlxToolbarButton* old = m_pSelected;
  m_pSelected = pButton;
  if (!GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  for (CPlxToolbarButton* b : {old, pButton}) {
    if (!b) continue;
    CRect r = ShiftedRect(b);
    r.InflateRect(2, 2);
    r.IntersectRect(r, client);
    InvalidateRect(r);
  }
  if (pButton) {
    const CRect shifted = ShiftedRect(pButton);
    if (shifted.top >= client.bottom || shifted.bottom <= client.top) {
      m_nScrollOffset =
          std::clamp(static_cast<int>(pButton->m_rect.bottom - client.Height()), 0, m_nScrollMax);
      if (m_wndScrollBar.GetSafeHwnd()) m_wndScrollBar.SetScrollPos(m_nScrollOffset);
      Invalidate();
    }
  }
  UpdateWindow();
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CPlxButtonGridCtrl::SelectByImage(int iImage) {
  if (iImage == -1) {
    SetSelection(nullptr);
    return TRUE;
  }
  for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
    if (button->GetImage() == iImage) {
      SetSelection(button);
      return TRUE;
    }
  }
  return FALSE;
}

void CPlxButtonGridCtrl::OnLButtonDown(CPoint point) {
  SetFocus();
  CPlxToolbarButton* button = HitTest(point);
  if (!button) return;
  SetSelection(button);
  if (!m_bDragEnabled) return;
  button->m_bDragCopy = TRUE;
  COleDataSource data;
  if (button->PrepareDrag(data)) data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
  button->m_bDragCopy = FALSE;
}

BOOL CPlxButtonGridCtrl::OnKeyDown(UINT nChar) {
  if (m_lstButtons.IsEmpty()) return FALSE;
  const auto first = static_cast<CPlxToolbarButton*>(m_lstButtons.GetHead());
  const auto last = static_cast<CPlxToolbarButton*>(m_lstButtons.GetTail());
  switch (nChar) {
    case VK_END:
      SetSelection(last);
      return TRUE;
    case VK_HOME:
      SetSelection(first);
      return TRUE;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP: {
      POSITION pos = m_pSelected ? m_lstButtons.Find(m_pSelected) : nullptr;
      if (!pos) {
        SetSelection(first);
        return TRUE;
      }
      if (nChar == VK_RIGHT || nChar == VK_DOWN)
        m_lstButtons.GetNext(pos);
      else
        m_lstButtons.GetPrev(pos);
      if (pos) SetSelection(static_cast<CPlxToolbarButton*>(m_lstButtons.GetAt(pos)));
      return TRUE;
    }
  }
  return FALSE;
}

void CPlxButtonGridCtrl::OnVScroll(UINT nSBCode, UINT nPos) {
  const int pitch = m_nButtonHeight + kRowGap;
  int offset = m_nScrollOffset;
  switch (nSBCode) {
    case SB_LINEUP:
      offset -= pitch;
      break;
    case SB_LINEDOWN:
      offset += pitch;
      break;
    case SB_PAGEUP:
      offset -= pitch * m_nRowsPerPage;
      break;
    case SB_PAGEDOWN:
      offset += pitch * m_nRowsPerPage;
      break;
    case SB_THUMBPOSITION:
      offset = pitch > 0 ? pitch * ((static_cast<int>(nPos) + pitch / 2) / pitch) : 0;
      break;
    case SB_TOP:
      offset = 0;
      break;
    case SB_BOTTOM:
      offset = m_nScrollMax;
      break;
    default:
      return;
  }
  offset = std::clamp(offset, 0, m_nScrollMax);
  if (offset == m_nScrollOffset) return;
  m_nScrollOffset = offset;
  if (m_wndScrollBar.GetSafeHwnd()) m_wndScrollBar.SetScrollPos(offset);
  CRect client;
  GetClientRect(&client);
  client.right -= ::GetSystemMetrics(SM_CXVSCROLL) + 2;
  client.DeflateRect(1, 1);
  InvalidateRect(client);
}

BOOL CPlxButtonGridCtrl::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, IsWindowEnabled() ? g_plxGlobalData.clrWindow : g_plxGlobalData.clrBtnFace);
  return TRUE;
}

void CPlxButtonGridCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  if (!m_bLaidOut) RecalcLayout();
  CRect client;
  GetClientRect(&client);
  OnEraseBkgnd(pDC);
  const BOOL enabled = IsWindowEnabled();
  if (m_pImages) {
    if (m_pImages->GetTransparentColor() != g_plxGlobalData.clrBtnFace) {
      m_pImages->SetTransparentColor(g_plxGlobalData.clrBtnFace);
      m_pImages->CreateStateImage(FALSE);
      m_pImages->CreateStateImage(TRUE);
    }
    PlxImageDrawState ds;
    if (m_pImages->PrepareDrawImage(ds)) {
      for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
        auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
        const CRect r = ShiftedRect(button);
        if (r.top >= client.bottom) break;
        if (r.bottom <= client.top) continue;
        const BOOL locked = button->m_bLocked;
        const UINT style = button->m_nStyle;
        button->m_bLocked = TRUE;
        if (!enabled) button->m_nStyle |= TBBS_DISABLED;
        button->OnDraw(pDC, r, m_pImages, TRUE, FALSE, enabled && button == m_pSelected, TRUE, TRUE);
        button->m_bLocked = locked;
        button->m_nStyle = style;
      }
      m_pImages->EndDrawImage(ds);
    }
  }
  CPlxToolbarComboBoxButton combo;
  CRect border = client;
  border.InflateRect(1, 1);
  CPlxVisualManager::GetInstance()->OnDrawComboBorder(pDC, border, !enabled, FALSE, FALSE, &combo);
}

LRESULT CPlxButtonGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    case WM_SIZE:
      m_bLaidOut = FALSE;
      RecalcLayout();
      break;
    case WM_ENABLE:
      RedrawWindow();
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: {
      // A button that hosts the asking window (or its parent) may give the brush.
      const HWND child = reinterpret_cast<HWND>(lParam);
      const UINT kind = message - WM_CTLCOLORMSGBOX;
      for (POSITION pos = m_lstButtons.GetHeadPosition(); pos;) {
        auto* button = static_cast<CPlxToolbarButton*>(m_lstButtons.GetNext(pos));
        const HWND own = button->GetHwnd();
        if (own == nullptr || (own != child && own != ::GetParent(child))) continue;
        if (HBRUSH brush = button->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), kind))
          return reinterpret_cast<LRESULT>(brush);
      }
      break;
    }
    case WM_SYSCOLORCHANGE:
      if (m_pImages) m_pImages->Reload();
      RedrawWindow();
      break;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
