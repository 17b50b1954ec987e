#include "controls/ColorPicker.h"

#include <algorithm>

#include "platform/comdlg/CommonDialogs.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Metrics.h"

namespace {

constexpr COLORREF kInitialColors[CColorPalette::kCells] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
    RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
constexpr int kInitialRanks[CColorPalette::kCells] = {1,  3,  5,  7,  9,  11, 13, 15, 17, 19,
                                                      20, 18, 16, 14, 12, 10, 8,  6,  4,  2};

}  // namespace

CColorPalette::CColorPalette() {
  std::copy(std::begin(kInitialColors), std::end(kInitialColors), colors);
  std::copy(std::begin(kInitialRanks), std::end(kInitialRanks), ranks);
}

void CColorPalette::Promote(int cell) {
  if (cell < 0 || cell >= kCells) return;
  const int rank = ranks[cell];
  for (int& r : ranks)
    if (r < rank) ++r;
  ranks[cell] = 1;
}

int CColorPalette::TakeColor(COLORREF color) {
  int cell = static_cast<int>(std::find(colors, colors + kCells, color) - colors);
  if (cell == kCells) {
    cell = CellOfRank(kCells);
    colors[cell] = color;
  }
  Promote(cell);
  return cell;
}

int CColorPalette::CellOfRank(int rank) const {
  const int cell = static_cast<int>(std::find(ranks, ranks + kCells, rank) - ranks);
  return cell < kCells ? cell : kCells - 1;
}

// --- the popup --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CColorPickerPopupDlg, CDialog)
ON_BN_CLICKED(IDC_COLOR_OTHER, OnOther)
ON_WM_DRAWITEM()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CColorPickerPopupDlg::CColorPickerPopupDlg() : CDialog(IDD_COLOR_PICKER_POPUP) {}

CColorPalette& CColorPickerPopupDlg::GetPalette() {
  static CColorPalette palette;
  return palette;
}

CPoint CColorPickerPopupDlg::PlaceBelow(const CRect& button, CSize popup, CSize screen) {
  CPoint at(button.left, button.bottom);
  if (at.y + popup.cy > screen.cy) at.y = button.top - popup.cy;
  if (at.x + popup.cx > screen.cx) at.x -= at.x + popup.cx - screen.cx;
  // A button near the top-left corner of a small screen: keep the palette on it.
  at.x = std::max<LONG>(at.x, 0);
  at.y = std::max<LONG>(at.y, 0);
  return at;
}

INT_PTR CColorPickerPopupDlg::DoModal() {
  m_pParentWnd = m_pButton;
  m_nSelected = -1;
  return CDialog::DoModal();
}

BOOL CColorPickerPopupDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pButton && m_pButton->GetSafeHwnd()) {
    CRect button, popup;
    m_pButton->GetWindowRect(&button);
    GetWindowRect(&popup);
    const CPoint at = PlaceBelow(button, popup.Size(),
                                 CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  SetCapture();
  return TRUE;
}

void CColorPickerPopupDlg::EndPopup(int nResult) {
  ::ReleaseCapture();
  EndDialog(nResult);
}

BOOL CColorPickerPopupDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED && id >= IDC_COLOR_CELL_FIRST && id <= IDC_COLOR_CELL_LAST) {
    PickCell(static_cast<int>(id) - IDC_COLOR_CELL_FIRST);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CColorPickerPopupDlg::PickCell(int cell) {
  m_nSelected = cell;
  GetPalette().Promote(cell);
  EndPopup(IDOK);
}

void CColorPickerPopupDlg::OnOther() {
  ::ReleaseCapture();
  CColorDialog dialog(RGB(0, 0, 0), 0, this);
  dialog.m_cc.Flags |= CC_FULLOPEN;
  if (dialog.DoModal() == IDOK) {
    m_nSelected = GetPalette().TakeColor(dialog.GetColor());
    EndPopup(IDOK);
    return;
  }
  SetCapture();  // the palette stays open
}

void CColorPickerPopupDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (nIDCtl >= IDC_COLOR_CELL_FIRST && nIDCtl <= IDC_COLOR_CELL_LAST && lpDrawItemStruct) {
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    CBrush brush;
    brush.CreateSolidBrush(GetPalette().colors[nIDCtl - IDC_COLOR_CELL_FIRST]);
    CBrush* oldBrush = dc->SelectObject(&brush);
    CGdiObject* oldPen = dc->SelectStockObject(NULL_PEN);
    const RECT& r = lpDrawItemStruct->rcItem;
    // The null pen leaves the last row and column out: widened by one, the cell is filled whole.
    dc->Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
  }
  CDialog::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CColorPickerPopupDlg::OnLButtonDown(UINT nFlags, CPoint point) {
  CPoint screen = point;
  ClientToScreen(&screen);
  CRect window;
  GetWindowRect(&window);
  if (window.PtInRect(screen)) {
    CWnd* child = ChildWindowFromPoint(point);
    if (child && child->m_hWnd != m_hWnd) child->SendMessage(WM_LBUTTONDOWN, 0, 0);
  } else {
    EndPopup(IDCANCEL);
  }
  CDialog::OnLButtonDown(nFlags, point);
}

void CColorPickerPopupDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  // A press that began on the palette's margin and ends on a cell picks that cell: the cell is
  // given the whole click, so it is not left pressed with the mouse captured.
  CWnd* child = ChildWindowFromPoint(point, CWP_ALL);
  if (child && child->m_hWnd != m_hWnd) {
    child->SendMessage(WM_LBUTTONDOWN, 0, 0);
    child->SendMessage(WM_LBUTTONUP, 0, 0);
  }
  CDialog::OnLButtonUp(nFlags, point);
}

// --- the button -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CColorPickerButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CColorPickerButton::CColorPickerButton() {
  m_penBlack.CreateStockObject(BLACK_PEN);
  m_penGrey.CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  m_penWhite.CreateStockObject(WHITE_PEN);
  m_brushFace.CreateSolidBrush(m_crFace);
  m_brushNull.CreateStockObject(NULL_BRUSH);
  m_penNull.CreateStockObject(NULL_PEN);
  m_popup.m_pButton = this;
}

CColorPickerButton::~CColorPickerButton() = default;

void CColorPickerButton::SetColor(COLORREF color) {
  if (color == m_crFace) return;
  m_crFace = color;
  m_brushFace.DeleteObject();
  m_brushFace.CreateSolidBrush(m_crFace);
  if (GetSafeHwnd()) Invalidate();
}

void CColorPickerButton::OnClicked() {
  if (m_popup.DoModal() != IDOK) return;
  const int cell = m_popup.m_nSelected;
  if (cell < 0 || cell >= CColorPalette::kCells) return;
  m_crColor = CColorPickerPopupDlg::GetPalette().colors[cell];
  Invalidate(TRUE);
  CWnd* parent = GetParent();
  if (parent && parent->GetSafeHwnd())
    parent->PostMessage(WM_COLOR_PICKED, static_cast<WPARAM>(m_crColor), static_cast<LPARAM>(GetDlgCtrlID()));
}

void CColorPickerButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const UINT state = lpDrawItemStruct->itemState;
  int L = lpDrawItemStruct->rcItem.left, T = lpDrawItemStruct->rcItem.top;
  int R = lpDrawItemStruct->rcItem.right, B = lpDrawItemStruct->rcItem.bottom;

  CBrush colorBrush;
  colorBrush.CreateSolidBrush(m_crColor);
  m_pOldPen = dc->SelectObject(&m_penNull);
  m_pOldBrush = dc->SelectObject(&m_brushFace);
  // The face is painted first, so a press (which moves everything by a pixel) leaves no trace
  // of the frame drawn before it.
  dc->Rectangle(L, T, R + 1, B + 1);

  dc->SelectObject(&m_penGrey);
  dc->MoveTo(L, B - 1);
  dc->LineTo(L, T);
  dc->LineTo(R - 1, T);
  if (state & ODS_SELECTED) {
    ++L, ++T, ++R, ++B;
  } else {
    dc->LineTo(R - 1, B - 1);
    dc->LineTo(L, B - 1);
  }

  dc->SelectObject(&m_penWhite);
  dc->MoveTo(R - 10, T + 4);
  dc->LineTo(R - 10, B - 4);
  dc->SelectObject(&m_penGrey);
  dc->MoveTo(R - 11, T + 4);
  dc->LineTo(R - 11, B - 4);

  const bool disabled = (state & ODS_DISABLED) != 0;
  const int y = B / 2;
  dc->SelectObject(disabled ? &m_penGrey : &m_penBlack);
  dc->MoveTo(R - 4, y - 1);
  dc->LineTo(R - 9, y - 1);
  dc->MoveTo(R - 5, y);
  dc->LineTo(R - 8, y);
  dc->SetPixel(R - 6, y + 1, RGB(0, 0, 0));
  if (disabled) {
    dc->SetPixel(R - 4, y - 1, RGB(255, 255, 255));
    dc->SetPixel(R - 5, y, RGB(255, 255, 255));
    dc->SetPixel(R - 6, y + 1, RGB(255, 255, 255));
  } else {
    dc->SelectObject(&colorBrush);
    dc->SelectObject(&m_penBlack);
    dc->Rectangle(L + 5, T + 4, R - 15, B - 4);
  }

  if (state & ODS_FOCUS) {
    for (int x = L + 3; x < R - 4; x += 2) {
      dc->SetPixel(x, T + 3, RGB(0, 0, 0));
      dc->SetPixel(x, B - 4, RGB(0, 0, 0));
    }
    for (int yy = T + 3; yy < B - 4; yy += 2) {
      dc->SetPixel(L + 3, yy, RGB(0, 0, 0));
      dc->SetPixel(R - 4, yy, RGB(0, 0, 0));
    }
  }

  dc->SelectObject(m_pOldPen);
  dc->SelectObject(m_pOldBrush);
  colorBrush.DeleteObject();
}
