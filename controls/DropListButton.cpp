#include "controls/DropListButton.h"

#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/WinApp.h"

namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
constexpr int kRowHeight = 16;
constexpr COLORREF kDefaultFace = 0xCDD9DD;
constexpr COLORREF kDefaultHotFace = 0xD9E5E9;
constexpr COLORREF kNoColour = static_cast<COLORREF>(-1);

}  // namespace

// ---------------------------------------------------------------------------------------------
// CDropListBox

BEGIN_MESSAGE_MAP(CDropListBox, CListBox)
ON_WM_CREATE()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_KILLFOCUS()
ON_WM_SIZE()
END_MESSAGE_MAP()

CDropListBox::CDropListBox() = default;

CDropListBox::~CDropListBox() {
  delete m_pBoldFont;
  delete m_pBorderBrush;
  delete m_pSelBrush;
  delete m_pBorderPen;
  for (DropListItemRecord* record : m_records) delete record;
}

int CDropListBox::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListBox::OnCreate(lpCreateStruct) == -1) return -1;
  m_pBorderBrush = new CBrush(RGB(255, 255, 255));
  m_pBorderPen = new CPen(PS_SOLID, 1, RGB(255, 255, 255));
  m_pSelBrush = new CBrush(0xEFF7F7);
  SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(kRowHeight, 0));
  return 0;
}

int CDropListBox::AddItem(LPCTSTR lpszText) {
  auto* record = new DropListItemRecord;
  m_pCurrent = record;
  // Adding the second item first selects the remembered one, so a fresh list shows its first.
  if (m_records.size() == 1) SendMessage(LB_SETCURSEL, static_cast<WPARAM>(m_nCurSel), 0);
  m_records.push_back(record);
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszText)));
}

void CDropListBox::ResetContent() {
  for (DropListItemRecord* record : m_records) delete record;
  m_records.clear();
  m_pCurrent = nullptr;
  m_nCurSel = 0;
  SendMessage(LB_RESETCONTENT, 0, 0);
}

void CDropListBox::SetCurSelIndex(int nIndex) {
  m_nCurSel = nIndex;
}

void CDropListBox::SetFonts(CFont* pFont) {
  if (m_pFont != nullptr || pFont == nullptr) return;
  m_pFont = pFont;
  SetFont(pFont, TRUE);
  LOGFONT lf{};
  pFont->GetLogFont(&lf);
  lf.lfWeight = FW_BOLD;
  m_pBoldFont = new CFont;
  m_pBoldFont->CreateFontIndirect(&lf);
  // Heights given as character heights (negative) leave the rows at their 16 pixels; a cell
  // height the list can take becomes the row height.
  const int cell = static_cast<int>(static_cast<WORD>(lf.lfHeight));
  if (cell >= 1 && cell <= 255) SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(cell, 0));
}

void CDropListBox::SetBorderColor(COLORREF cr) {
  delete m_pBorderPen;
  delete m_pBorderBrush;
  m_pBorderPen = new CPen(PS_SOLID, 1, cr);
  m_pBorderBrush = new CBrush(cr);
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, kRedrawNow);
}

void CDropListBox::SetBkColor(COLORREF cr) {
  delete m_pSelBrush;
  m_pSelBrush = new CBrush(cr);
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, kRedrawNow);
}

HBRUSH CDropListBox::CtlColor(CDC*, UINT) {
  return m_pBorderBrush != nullptr ? static_cast<HBRUSH>(m_pBorderBrush->GetSafeHandle()) : nullptr;
}

void CDropListBox::OnKillFocus(CWnd* pNewWnd) {
  CListBox::OnKillFocus(pNewWnd);
  if (CWnd* popup = GetParent()) popup->ShowWindow(SW_HIDE);
}

void CDropListBox::OnSize(UINT nType, int cx, int cy) {
  CListBox::OnSize(nType, cx, cy);
  GetClientRect(&m_rcClient);
}

void CDropListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const int item = static_cast<int>(lpDrawItemStruct->itemID);
  if (item == -1 || item >= static_cast<int>(m_records.size())) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  GetText(item, m_strText);
  m_pCurrent = m_records[static_cast<size_t>(item)];

  CRect r(lpDrawItemStruct->rcItem);
  r.InflateRect(1, 1);
  CPen* oldPen = pDC->SelectObject(m_pBorderPen);
  CBrush* brush = m_pBorderBrush;
  COLORREF text = m_pCurrent->crText;
  if ((lpDrawItemStruct->itemState & ODS_SELECTED) && !m_pCurrent->bHeading) {
    brush = m_pSelBrush;
    text = m_pCurrent->crSelectedText;
  }
  CBrush* oldBrush = pDC->SelectObject(brush);
  const COLORREF oldText = pDC->SetTextColor(text);
  pDC->Rectangle(&r);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);

  CRect textRect(4, r.top, r.right - 5, r.bottom);
  if (!m_pCurrent->bHeading) {
    CFont* oldFont = m_pFont != nullptr ? pDC->SelectObject(m_pFont) : nullptr;
    pDC->DrawText(m_strText, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    if (oldFont != nullptr) pDC->SelectObject(oldFont);
  } else {
    CFont* oldFont = m_pBoldFont != nullptr ? pDC->SelectObject(m_pBoldFont) : nullptr;
    pDC->DrawText(m_strText, &textRect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    pDC->DrawText(m_strText, &textRect, DT_SINGLELINE | DT_VCENTER);
    CPen rule(PS_SOLID, 1, m_pCurrent->crText);
    CPen* before = pDC->SelectObject(&rule);
    const int y = textRect.top + (textRect.bottom - textRect.top) / 2;
    pDC->MoveTo(textRect.right + 2, y);
    pDC->LineTo(m_rcClient.right - 2, y);
    pDC->SelectObject(before);
    if (oldFont != nullptr) pDC->SelectObject(oldFont);
  }
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
}

// ---------------------------------------------------------------------------------------------
// CDropListFrame

BEGIN_MESSAGE_MAP(CDropListFrame, CWnd)
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_LBN_SELCHANGE(IDC_DROPLIST_LIST, OnSelChange)
END_MESSAGE_MAP()

CDropListFrame::CDropListFrame() = default;

CDropListFrame::~CDropListFrame() {
  delete m_pList;
}

BOOL CDropListFrame::Create(CDropListButton* pOwner, UINT) {
  const LPCTSTR className = AfxRegisterWndClass(CS_SAVEBITS);
  if (!CreateEx(WS_EX_TOPMOST, className, nullptr, WS_POPUP | WS_BORDER, 0, 0, 200, 200,
                pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  m_pList = new CDropListBox;
  const DWORD style = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                      LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL;
  if (!m_pList->Create(style, CRect(0, 0, 0, 0), this, IDC_DROPLIST_LIST)) return FALSE;
  m_pOwner = pOwner;
  return TRUE;
}

void CDropListFrame::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_pList != nullptr && m_pList->GetSafeHwnd() != nullptr) {
    CRect client;
    GetClientRect(&client);
    m_pList->MoveWindow(&client, TRUE);
  }
}

void CDropListFrame::OnShowWindow(BOOL bShow, UINT nStatus) {
  CWnd::OnShowWindow(bShow, nStatus);
  if (!bShow && m_pOwner != nullptr && m_pOwner->GetSafeHwnd() != nullptr) {
    m_pOwner->RedrawWindow(nullptr, nullptr, kRedrawNow);
    m_pOwner->UpdateWindow();
  }
}

void CDropListFrame::OnSelChange() {
  if (m_pList == nullptr) return;
  const DropListItemRecord* current = m_pList->GetCurrentRecord();
  if (current != nullptr && current->bHeading) return;
  ShowWindow(SW_HIDE);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  CRect window;
  GetWindowRect(&window);
  if (window.PtInRect(cursor)) {
    if (m_pOwner != nullptr)
      m_pOwner->SendMessage(WM_OUTPUT_FORMAT_SELECTED, static_cast<WPARAM>(m_pList->GetCurSel()), 0);
  } else {
    // Moved by the keyboard with the pointer elsewhere: no pick, back to the remembered item.
    m_pList->SetCurSel(m_pList->GetCurSelIndex());
  }
}

// ---------------------------------------------------------------------------------------------
// CDropListButton

BEGIN_MESSAGE_MAP(CDropListButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETFOCUS()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_OUTPUT_FORMAT_SELECTED, OnItemPicked)
END_MESSAGE_MAP()

CDropListButton::CDropListButton() = default;

CDropListButton::~CDropListButton() {
  delete m_pFaceBrush;
  delete m_pHotBrush;
  delete m_pFramePen;
  delete m_pArrowBrush;
  delete m_pArrowPen;
  if (m_pPopup != nullptr) {
    if (m_pPopup->GetSafeHwnd() != nullptr) m_pPopup->DestroyWindow();
    delete m_pPopup;
  }
  if (m_bOwnsFont) delete m_pFont;
}

BOOL CDropListButton::Create(LPCTSTR lpszCaption, RECT rect, CWnd* pParentWnd, UINT nID, COLORREF crFace,
                             COLORREF crHotFace, COLORREF crArrow, COLORREF crFourth, CFont* pFont,
                             COLORREF crListBorder, COLORREF crFrame) {
  const bool defaultFace = crFace == kNoColour;
  m_pFaceBrush = new CBrush(defaultFace ? kDefaultFace : crFace);
  m_pHotBrush = new CBrush(defaultFace ? kDefaultHotFace : crHotFace);
  m_pFramePen = new CPen(PS_SOLID, 1, crFrame);
  m_pFont = pFont;
  if (m_pFont == nullptr) {
    m_pFont = new CFont;
    m_pFont->CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr);
    m_bOwnsFont = true;
  }
  m_crArrow = crArrow == kNoColour ? 0 : crArrow;
  m_crFourth = crFourth == kNoColour ? 0 : crFourth;
  m_pArrowBrush = new CBrush(m_crArrow);
  m_pArrowPen = new CPen(PS_SOLID, 1, m_crArrow);

  if (!CButton::Create(lpszCaption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, pParentWnd, nID))
    return FALSE;
  GetClientRect(&m_rcClient);
  m_nPopupWidth = m_rcClient.Width();

  m_pPopup = new CDropListFrame;
  if (!m_pPopup->Create(this, nID + 1)) return FALSE;
  m_pPopup->GetList()->SetFonts(m_pFont);
  m_pPopup->GetList()->SetBorderColor(crListBorder);
  m_nID = nID;
  m_pParent = pParentWnd;
  return TRUE;
}

bool CDropListButton::PopupVisible() const {
  return m_pPopup != nullptr && m_pPopup->GetSafeHwnd() != nullptr && m_pPopup->IsWindowVisible();
}

void CDropListButton::Redraw() {
  RedrawWindow(nullptr, nullptr, kRedrawNow);
}

void CDropListButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect r(lpDrawItemStruct->rcItem);
  CPen* oldPen = pDC->SelectObject(m_pFramePen);
  CBrush* oldBrush = pDC->SelectObject(m_bHot ? m_pHotBrush : m_pFaceBrush);
  pDC->Rectangle(&r);

  CFont* oldFont = pDC->SelectObject(m_pFont);
  CString caption;
  GetWindowText(caption);
  const CSize m = pDC->GetTextExtent("M", 1);
  const CSize t = pDC->GetTextExtent(caption.IsEmpty() ? CString("M") : caption);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldText = pDC->SetTextColor(m_crArrow);

  // A triangle pointing up, towards where the list opens.
  const int a = m.cx;
  const int x = r.right - a - 5;
  const int y = (r.bottom - t.cy - r.top) / 2 + m.cy / 3;
  const POINT arrow[3] = {{x + a / 2, y}, {x + a - 1, y + a / 2}, {x, y + a / 2}};
  pDC->SelectObject(m_pArrowBrush);
  pDC->SelectObject(m_pArrowPen);
  pDC->Polygon(arrow, 3);

  CRect textRect(5, 0, m_rcClient.right - a - 10, m_rcClient.bottom);
  pDC->DrawText(caption, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);

  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  pDC->SelectObject(oldFont);
}

void CDropListButton::OnMouseMove(UINT nFlags, CPoint point) {
  const bool popupVisible = PopupVisible();
  if (!m_bHot && !popupVisible) SetCapture();
  CPoint screen = point;
  ClientToScreen(&screen);
  CRect button = m_rcClient;
  ClientToScreen(&button);
  if (!button.PtInRect(screen)) {
    if (popupVisible) {
      CRect popup;
      m_pPopup->GetWindowRect(&popup);
      if (!popup.PtInRect(screen)) m_pPopup->ShowWindow(SW_HIDE);
    } else {
      m_bHot = false;
      Redraw();
      ::ReleaseCapture();
    }
  } else if (!m_bHot && !popupVisible) {
    m_bHot = true;
    Redraw();
  }
  CButton::OnMouseMove(nFlags, point);
}

void CDropListButton::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bHot = false;
  if (PopupVisible()) {
    CPoint screen = point;
    ClientToScreen(&screen);
    if (!m_rcPopup.PtInRect(screen)) {
      m_pPopup->ShowWindow(SW_HIDE);
      m_bOpened = false;
    }
  } else if (m_bOpened) {
    // Closed by something else (the list lost the focus): this click only clears the state.
    m_bOpened = false;
  } else {
    OpenPopup();
    m_bOpened = true;
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CDropListButton::OnRButtonDown(UINT nFlags, CPoint point) {
  m_bOpened = false;
  CButton::OnRButtonDown(nFlags, point);
}

void CDropListButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // The second click of a double click acts as a single click.
  m_bOpened = false;
  PostMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CDropListButton::OnSetFocus(CWnd* pOldWnd) {
  CButton::OnSetFocus(pOldWnd);
  if (PopupVisible()) m_pPopup->GetList()->SetFocus();
}

void CDropListButton::OnSize(UINT nType, int cx, int cy) {
  CButton::OnSize(nType, cx, cy);
  GetClientRect(&m_rcClient);
}

BOOL CDropListButton::OnEraseBkgnd(CDC*) {
  return TRUE;  // DrawItem paints the whole face
}

void CDropListButton::OpenPopup() {
  if (m_pPopup == nullptr || m_pPopup->GetSafeHwnd() == nullptr) return;
  CDropListBox* list = m_pPopup->GetList();
  CRect button = m_rcClient;
  ClientToScreen(&button);
  int h = m_nPopupHeightLimit;
  const int count = list->GetCount();
  if (count > 0) {
    const int rows = count * list->GetItemHeight(0);
    if (rows < h) h = rows;
  }
  m_rcPopup = CRect(button.left, button.top - h - 1, button.left + m_nPopupWidth, button.top - 1);
  m_pPopup->MoveWindow(&m_rcPopup, FALSE);
  CRect listRect;
  list->GetWindowRect(&listRect);
  if (listRect.bottom != m_rcPopup.bottom) {
    // The border sits outside the list: grow the popup so the list's rows keep their height
    // and its last row ends right above the button.
    listRect.bottom = m_rcPopup.bottom;
    listRect.InflateRect(1, 1);
    m_rcPopup = listRect;
    m_pPopup->MoveWindow(&m_rcPopup, TRUE);
  }
  if (count > 0) list->SetTopIndex(0);
  m_pPopup->ShowWindow(SW_SHOW);
}

LRESULT CDropListButton::OnItemPicked(WPARAM wParam, LPARAM) {
  const int index = static_cast<int>(wParam);
  CDropListBox* list = GetListBox();
  if (m_bCaptionFollowsPick && list != nullptr) {
    CString text;
    list->GetText(index, text);
    SetWindowText(text);
    Redraw();
  }
  if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr)
    m_pParent->PostMessage(WM_OUTPUT_FORMAT_SELECTED, m_nID, index);
  if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr)
    main->PostMessage(WM_OUTPUT_FORMAT_SELECTED, m_nID, index);
  if (list != nullptr) list->SetCurSelIndex(index);
  m_bOpened = false;
  return 1;
}
