#include "toolkit/core/PlxBarFramePainter.h"

#include "platform/gdi/Region.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/user/WindowPos.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

BOOL IsHorzBar(const CControlBar* bar) {
  return (bar->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

BOOL IsRtl(const CControlBar* bar) {
  return (bar->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

BOOL HasDockedGripper(const CControlBar* bar) {
  return (bar->m_dwStyle & CBRS_GRIPPER) != 0 && (bar->m_dwStyle & CBRS_FLOATING) == 0;
}

}  // namespace

NCCALCSIZE_PARAMS* CPlxBarFramePainter::CalcNcSize(NCCALCSIZE_PARAMS* lpncsp) {
  CRect insets(0, 0, 0, 0);
  m_pBar->CalcInsideRect(insets, IsHorzBar(m_pBar));
  // A right-to-left bar keeps its gripper on the right: the client area moves the other way.
  if (IsHorzBar(m_pBar) && IsRtl(m_pBar) && HasDockedGripper(m_pBar)) insets.OffsetRect(-7, 0);
  RECT& r = lpncsp->rgrc[0];
  r.left += insets.left;
  r.top += insets.top;
  r.right += insets.right;
  r.bottom += insets.bottom;
  return lpncsp;
}

void CPlxBarFramePainter::DrawNcArea(HRGN hrgnUpdate) {
  CWindowDC dc(m_pBar);
  CRect rectWindow, rectClient;
  m_pBar->GetWindowRect(rectWindow);
  m_pBar->GetClientRect(rectClient);
  m_pBar->ClientToScreen(rectClient);
  rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
  dc.ExcludeClipRect(rectClient);

  if (hrgnUpdate != reinterpret_cast<HRGN>(1) && hrgnUpdate != nullptr) {
    CRgn* update = CRgn::FromHandle(hrgnUpdate);
    if (update != nullptr && update->GetSafeHandle() != nullptr) {
      CRgn clip;
      if (!IsRtl(m_pBar)) {
        clip.CreateRectRgn(0, 0, 0, 0);
        clip.CopyRgn(update);
        clip.OffsetRgn(-rectWindow.left, -rectWindow.top);
      } else {
        CRect box;
        update->GetRgnBox(box);
        CRect mirrored(rectWindow.right - box.right, box.top - rectWindow.top, rectWindow.right - box.left,
                       box.bottom - rectWindow.top);
        clip.CreateRectRgnIndirect(mirrored);
      }
      dc.SelectClipRgn(&clip, RGN_AND);
    }
  }

  CRect rect = rectWindow;
  rect.OffsetRect(-rectWindow.left, -rectWindow.top);
  CPlxVisualManager* manager = CPlxVisualManager::GetInstance();
  manager->OnDrawBarBorder(&dc, m_pBar, rect);
  dc.IntersectClipRect(rect);
  manager->OnFillBarBackground(&dc, m_pBar, rect, CRect(0, 0, 0, 0), TRUE);

  if (HasDockedGripper(m_pBar)) {
    CRect gripper = rectWindow;
    CRect client;
    m_pBar->GetClientRect(client);
    m_pBar->ClientToScreen(client);
    if (IsHorzBar(m_pBar)) {
      if (!IsRtl(m_pBar)) {
        if (gripper.right > client.left - 1) gripper.right = client.left - 1;
      } else {
        const int edge = rectWindow.left + (rectWindow.right - client.right);
        if (gripper.right > edge) gripper.right = edge;
      }
    } else if (gripper.bottom > client.top - 1) {
      gripper.bottom = client.top - 1;
    }
    gripper.OffsetRect(-gripper.left, -gripper.top);
    manager->OnDrawBarGripper(&dc, gripper, IsHorzBar(m_pBar), m_pBar);
  }
  dc.SelectClipRgn(nullptr);
}

BOOL CPlxBarFramePainter::DrawParentBackground(CDC* pDC) {
  return g_plxGlobalData.DrawParentBackground(m_pBar, pDC, nullptr);
}
