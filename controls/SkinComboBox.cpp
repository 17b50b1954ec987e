#include "controls/SkinComboBox.h"

#include <cstring>

#include "modules/data/OutputProfile.h"
#include "platform/mfc/Dc.h"
#include "shell/MainDlg.h"
#include "shell/SkinMinor.h"

CSkinComboBox::CSkinComboBox() {
  LOGFONT lf{};
  std::strcpy(lf.lfFaceName, "Tahoma");
  lf.lfHeight = 100;
  lf.lfWeight = 800;
  lf.lfCharSet = DEFAULT_CHARSET;
  m_fontItem.CreatePointFontIndirect(&lf);
}

CSkinComboBox::~CSkinComboBox() = default;

void CSkinComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 25);
}

void CSkinComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = 32;
}

int CSkinComboBox::CompareItem(LPCOMPAREITEMSTRUCT) {
  return 0;
}

void CSkinComboBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  CComboBox::DeleteItem(lpDeleteItemStruct);
}

int CSkinComboBox::PictureIndexOf(const OutputFormatItem* pItem) {
  if (!pItem) return 0;
  if (pItem->type >= 0 && pItem->type <= 4) return pItem->type;
  if (pItem->type == 5 && pItem->group) return 5 + pItem->group->m_nGroupID;
  return 0;
}

void CSkinComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rc(lpDrawItemStruct->rcItem);
  const UINT state = lpDrawItemStruct->itemState;
  const bool edit = (state & ODS_COMBOBOXEDIT) != 0;
  const CSkinOutputFormatGroups& colors = GetSkinMinor()->GetOutputFormatGroups();

  CString text;
  GetLBText(static_cast<int>(lpDrawItemStruct->itemID), text);
  COLORREF textColor = colors.m_clrText;
  if ((state & ODS_SELECTED) && !edit) {
    dc->FillSolidRect(&rc, colors.m_clrBkSelect);
    textColor = colors.m_clrTextSelect;
  } else {
    dc->FillSolidRect(&rc, colors.m_clrBk);
  }
  CFont* oldFont = dc->SelectObject(&m_fontItem);

  const auto* entry = reinterpret_cast<const OutputFormatItem*>(lpDrawItemStruct->itemData);
  if (entry) {
    HBITMAP picture = nullptr, small = nullptr;
    GetSkinMinor()->GetOutputFormatGroupBitmaps(PictureIndexOf(entry), &picture, &small);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    if (!edit && picture) {
      HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), picture);
      dc->BitBlt(rc.left + 4, rc.top + 1, 46, 30, &memory, 0, 0, SRCCOPY);
      ::SelectObject(memory.GetSafeHdc(), old);
    } else if (edit && small) {
      const int h = rc.Height();
      HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), small);
      dc->BitBlt(rc.left + 4, rc.top, h * 46 / 30, h, &memory, 0, 0, SRCCOPY);
      ::SelectObject(memory.GetSafeHdc(), old);
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(textColor);
    CRect textRect = rc;
    textRect.left += 54;
    dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER);
  }
  dc->SelectObject(oldFont);
}

// --- hover tracking ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CHoverComboBox, CComboBox)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CHoverComboBox::CHoverComboBox() = default;
CHoverComboBox::~CHoverComboBox() = default;

void CHoverComboBox::Redraw() {
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CHoverComboBox::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bPressed = TRUE;
  if (!m_bCaptured) {
    SetCapture();
    m_bCaptured = TRUE;
  }
  CComboBox::OnLButtonDown(nFlags, point);
}

void CHoverComboBox::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bPressed) {
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
      if (!m_bCaptured) {
        SetCapture();
        m_bCaptured = TRUE;
      }
      if (!m_bHover) {
        m_bHover = TRUE;
        Redraw();
      }
    } else {
      if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
      }
      m_bHover = FALSE;
      Redraw();
    }
  }
  CComboBox::OnMouseMove(nFlags, point);
}

void CHoverComboBox::OnLButtonUp(UINT nFlags, CPoint point) {
  m_bHover = FALSE;
  Redraw();
  CComboBox::OnLButtonUp(nFlags, point);
  m_bPressed = FALSE;
  if (m_bCaptured) {
    ::ReleaseCapture();
    m_bCaptured = FALSE;
  }
}

BOOL CHoverComboBox::OnEraseBkgnd(CDC*) {
  return TRUE;
}
