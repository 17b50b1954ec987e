// The tab, trackbar, up-down, progress, tooltip and status bar objects over their messages.
#include "platform/comctl/AfxControls.h"

#include "platform/comctl/CommCtrl.h"
#include "platform/res/Resources.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

namespace {

template <class T>
LPARAM AsLParam(T value) {
  return reinterpret_cast<LPARAM>(value);
}

}  // namespace

// CTabCtrl.
BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_TABCONTROL, nullptr, dwStyle, rect, pParentWnd, nID);
}
CImageList* CTabCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
}
CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, AsLParam(pImageList->GetSafeHandle()))));
}
int CTabCtrl::GetItemCount() const {
  return static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
}
BOOL CTabCtrl::GetItem(int nItem, TCITEM* pTabCtrlItem) const {
  return static_cast<BOOL>(SendMessage(TCM_GETITEM, static_cast<WPARAM>(nItem), AsLParam(pTabCtrlItem)));
}
BOOL CTabCtrl::SetItem(int nItem, TCITEM* pTabCtrlItem) {
  return static_cast<BOOL>(SendMessage(TCM_SETITEM, static_cast<WPARAM>(nItem), AsLParam(pTabCtrlItem)));
}
LONG CTabCtrl::InsertItem(int nItem, TCITEM* pTabCtrlItem) {
  return static_cast<LONG>(SendMessage(TCM_INSERTITEM, static_cast<WPARAM>(nItem), AsLParam(pTabCtrlItem)));
}
LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0);
}
LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}
LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEM item{};
  item.mask = nMask;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}
BOOL CTabCtrl::DeleteItem(int nItem) {
  return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem)));
}
BOOL CTabCtrl::DeleteAllItems() {
  return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS));
}
BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const {
  return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nItem), AsLParam(lpRect)));
}
int CTabCtrl::GetCurSel() const {
  return static_cast<int>(SendMessage(TCM_GETCURSEL));
}
int CTabCtrl::SetCurSel(int nItem) {
  return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem)));
}
int CTabCtrl::GetCurFocus() const {
  return static_cast<int>(SendMessage(TCM_GETCURFOCUS));
}
void CTabCtrl::SetCurFocus(int nItem) {
  SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem));
}
int CTabCtrl::HitTest(TCHITTESTINFO* pHitTestInfo) const {
  return static_cast<int>(SendMessage(TCM_HITTEST, 0, AsLParam(pHitTestInfo)));
}
void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect) {
  SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), AsLParam(lpRect));
}
CSize CTabCtrl::SetItemSize(CSize size) {
  const LRESULT old = SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
  return CSize(LOWORD(old), HIWORD(old));
}
void CTabCtrl::SetPadding(CSize size) {
  SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy));
}
int CTabCtrl::GetRowCount() const {
  return static_cast<int>(SendMessage(TCM_GETROWCOUNT));
}
void CTabCtrl::RemoveImage(int nImage) {
  SendMessage(TCM_REMOVEIMAGE, static_cast<WPARAM>(nImage));
}
int CTabCtrl::SetMinTabWidth(int cx) {
  return static_cast<int>(SendMessage(TCM_SETMINTABWIDTH, 0, cx));
}
void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

// CSliderCtrl.
BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(TRACKBAR_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CSliderCtrl::GetLineSize() const {
  return static_cast<int>(SendMessage(TBM_GETLINESIZE));
}
int CSliderCtrl::SetLineSize(int nSize) {
  return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, nSize));
}
int CSliderCtrl::GetPageSize() const {
  return static_cast<int>(SendMessage(TBM_GETPAGESIZE));
}
int CSliderCtrl::SetPageSize(int nSize) {
  return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, nSize));
}
int CSliderCtrl::GetRangeMax() const {
  return static_cast<int>(SendMessage(TBM_GETRANGEMAX));
}
int CSliderCtrl::GetRangeMin() const {
  return static_cast<int>(SendMessage(TBM_GETRANGEMIN));
}
void CSliderCtrl::GetRange(int& nMin, int& nMax) const {
  nMin = GetRangeMin();
  nMax = GetRangeMax();
}
void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw) {
  SendMessage(TBM_SETRANGEMIN, static_cast<WPARAM>(bRedraw), nMin);
}
void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw) {
  SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(bRedraw), nMax);
}
void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
  SetRangeMin(nMin, FALSE);
  SetRangeMax(nMax, bRedraw);
}
void CSliderCtrl::GetSelection(int& nMin, int& nMax) const {
  nMin = static_cast<int>(SendMessage(TBM_GETSELSTART));
  nMax = static_cast<int>(SendMessage(TBM_GETSELEND));
}
void CSliderCtrl::SetSelection(int nMin, int nMax) {
  SendMessage(TBM_SETSELSTART, FALSE, nMin);
  SendMessage(TBM_SETSELEND, TRUE, nMax);
}
void CSliderCtrl::ClearSel(BOOL bRedraw) {
  SendMessage(TBM_CLEARSEL, static_cast<WPARAM>(bRedraw));
}
void CSliderCtrl::GetChannelRect(LPRECT lprc) const {
  SendMessage(TBM_GETCHANNELRECT, 0, AsLParam(lprc));
}
void CSliderCtrl::GetThumbRect(LPRECT lprc) const {
  SendMessage(TBM_GETTHUMBRECT, 0, AsLParam(lprc));
}
int CSliderCtrl::GetPos() const {
  return static_cast<int>(SendMessage(TBM_GETPOS));
}
void CSliderCtrl::SetPos(int nPos) {
  SendMessage(TBM_SETPOS, TRUE, nPos);
}
UINT CSliderCtrl::GetNumTics() const {
  return static_cast<UINT>(SendMessage(TBM_GETNUMTICS));
}
DWORD* CSliderCtrl::GetTicArray() const {
  return reinterpret_cast<DWORD*>(SendMessage(TBM_GETPTICS));
}
int CSliderCtrl::GetTic(int nTic) const {
  return static_cast<int>(SendMessage(TBM_GETTIC, static_cast<WPARAM>(nTic)));
}
int CSliderCtrl::GetTicPos(int nTic) const {
  return static_cast<int>(SendMessage(TBM_GETTICPOS, static_cast<WPARAM>(nTic)));
}
BOOL CSliderCtrl::SetTic(int nTic) {
  return static_cast<BOOL>(SendMessage(TBM_SETTIC, 0, nTic));
}
void CSliderCtrl::SetTicFreq(int nFreq) {
  SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq));
}
void CSliderCtrl::ClearTics(BOOL bRedraw) {
  SendMessage(TBM_CLEARTICS, static_cast<WPARAM>(bRedraw));
}
int CSliderCtrl::GetThumbLength() const {
  return static_cast<int>(SendMessage(TBM_GETTHUMBLENGTH));
}
void CSliderCtrl::SetThumbLength(int nLength) {
  SendMessage(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(nLength));
}

// CSpinButtonCtrl.
BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(UPDOWN_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel) {
  return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(nAccel), AsLParam(pAccel)));
}
UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const {
  return static_cast<UINT>(SendMessage(UDM_GETACCEL, static_cast<WPARAM>(nAccel), AsLParam(pAccel)));
}
int CSpinButtonCtrl::SetBase(int nBase) {
  return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(nBase)));
}
UINT CSpinButtonCtrl::GetBase() const {
  return static_cast<UINT>(SendMessage(UDM_GETBASE));
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
  return CWnd::FromHandle(reinterpret_cast<HWND>(
      SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr))));
}
CWnd* CSpinButtonCtrl::GetBuddy() const {
  return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}
int CSpinButtonCtrl::SetPos(int nPos) {
  return static_cast<short>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0)));
}
int CSpinButtonCtrl::GetPos() const {
  return static_cast<int>(SendMessage(UDM_GETPOS));
}
int CSpinButtonCtrl::SetPos32(int nPos) {
  return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos));
}
int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const {
  return static_cast<int>(SendMessage(UDM_GETPOS32, 0, AsLParam(lpbError)));
}
void CSpinButtonCtrl::SetRange(short nLower, short nUpper) {
  SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
}
void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
  SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}
DWORD CSpinButtonCtrl::GetRange() const {
  return static_cast<DWORD>(SendMessage(UDM_GETRANGE));
}
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  const DWORD range = GetRange();
  lower = static_cast<short>(HIWORD(range));
  upper = static_cast<short>(LOWORD(range));
}
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), AsLParam(&upper));
}

// CProgressCtrl.
BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(PROGRESS_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper) {
  SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
}
void CProgressCtrl::SetRange32(int nLower, int nUpper) {
  SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
  PBRANGE range{};
  SendMessage(PBM_GETRANGE, TRUE, AsLParam(&range));
  nLower = range.iLow;
  nUpper = range.iHigh;
}
int CProgressCtrl::GetPos() const {
  return static_cast<int>(SendMessage(PBM_GETPOS));
}
int CProgressCtrl::SetPos(int nPos) {
  return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos)));
}
int CProgressCtrl::OffsetPos(int nPos) {
  return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos)));
}
int CProgressCtrl::SetStep(int nStep) {
  return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep)));
}
int CProgressCtrl::GetStep() const {
  return static_cast<int>(SendMessage(PBM_GETSTEP));
}
int CProgressCtrl::StepIt() {
  return static_cast<int>(SendMessage(PBM_STEPIT));
}
COLORREF CProgressCtrl::SetBarColor(COLORREF clrBar) {
  return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, static_cast<LPARAM>(clrBar)));
}
COLORREF CProgressCtrl::SetBkColor(COLORREF clrNew) {
  return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, static_cast<LPARAM>(clrNew)));
}
COLORREF CProgressCtrl::GetBarColor() const {
  return static_cast<COLORREF>(SendMessage(PBM_GETBARCOLOR));
}
COLORREF CProgressCtrl::GetBkColor() const {
  return static_cast<COLORREF>(SendMessage(PBM_GETBKCOLOR));
}

// CToolTipCtrl.
BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  InitCommonControls();
  return CWnd::CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr,
                        nullptr);
}
void CToolTipCtrl::Activate(BOOL bActivate) {
  SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate));
}
void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  ti = TOOLINFO{};
  ti.cbSize = sizeof ti;
  HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  if (nIDTool == 0) {
    // The whole window is the tool; its parent hears about it.
    HWND parent = hwnd ? ::GetParent(hwnd) : nullptr;
    ti.hwnd = parent ? parent : hwnd;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
  } else {
    ti.hwnd = hwnd;
    ti.uId = nIDTool;
  }
}
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.uFlags |= TTF_SUBCLASS;
  if (lpRectTool)
    ti.rect = *lpRectTool;
  else if (pWnd)
    pWnd->GetClientRect(&ti.rect);
  ti.hinst = AfxGetResourceHandle();
  ti.lpszText = MAKEINTRESOURCE(nIDText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, AsLParam(&ti)));
}
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.uFlags |= TTF_SUBCLASS;
  if (lpRectTool)
    ti.rect = *lpRectTool;
  else if (pWnd)
    pWnd->GetClientRect(&ti.rect);
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, AsLParam(&ti)));
}
void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  SendMessage(TTM_DELTOOL, 0, AsLParam(&ti));
}
void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
  char buffer[1024] = {};
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = buffer;
  SendMessage(TTM_GETTEXT, sizeof buffer, AsLParam(&ti));
  str = buffer;
}
BOOL CToolTipCtrl::GetToolInfo(LPTOOLINFO lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  if (!lpToolInfo) return FALSE;
  LPSTR text = lpToolInfo->lpszText;
  FillInToolInfo(*lpToolInfo, pWnd, nIDTool);
  lpToolInfo->lpszText = text;
  return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFO, 0, AsLParam(lpToolInfo)));
}
void CToolTipCtrl::SetToolInfo(LPTOOLINFO lpToolInfo) {
  SendMessage(TTM_SETTOOLINFO, 0, AsLParam(lpToolInfo));
}
void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRect) ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECT, 0, AsLParam(&ti));
}
int CToolTipCtrl::GetToolCount() const {
  return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}
void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPTSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXT, 0, AsLParam(&ti));
}
void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.hinst = AfxGetResourceHandle();
  ti.lpszText = MAKEINTRESOURCE(nIDText);
  SendMessage(TTM_UPDATETIPTEXT, 0, AsLParam(&ti));
}
BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const {
  TTHITTESTINFO hit{};
  hit.hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  hit.pt = pt;
  hit.ti.cbSize = sizeof(TOOLINFO);
  if (lpToolInfo) hit.ti.lpszText = lpToolInfo->lpszText;
  const BOOL found = static_cast<BOOL>(SendMessage(TTM_HITTEST, 0, AsLParam(&hit)));
  if (found && lpToolInfo) *lpToolInfo = hit.ti;
  return found;
}
void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
  SendMessage(TTM_RELAYEVENT, 0, AsLParam(lpMsg));
}
void CToolTipCtrl::SetDelayTime(UINT nDelay) {
  SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(nDelay, 0));
}
void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
  SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
}
int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const {
  return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
}
void CToolTipCtrl::SetTipBkColor(COLORREF clr) {
  SendMessage(TTM_SETTIPBKCOLOR, clr);
}
void CToolTipCtrl::SetTipTextColor(COLORREF clr) {
  SendMessage(TTM_SETTIPTEXTCOLOR, clr);
}
COLORREF CToolTipCtrl::GetTipBkColor() const {
  return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR));
}
COLORREF CToolTipCtrl::GetTipTextColor() const {
  return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR));
}
int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
  return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth));
}
int CToolTipCtrl::GetMaxTipWidth() const {
  return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH));
}
void CToolTipCtrl::SetMargin(LPRECT lprc) {
  SendMessage(TTM_SETMARGIN, 0, AsLParam(lprc));
}
void CToolTipCtrl::GetMargin(LPRECT lprc) const {
  SendMessage(TTM_GETMARGIN, 0, AsLParam(lprc));
}
void CToolTipCtrl::Pop() {
  SendMessage(TTM_POP);
}
void CToolTipCtrl::Popup() {
  SendMessage(TTM_POPUP);
}
void CToolTipCtrl::Update() {
  SendMessage(TTM_UPDATE);
}

// CStatusBarCtrl.
BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CStatusBarCtrl::SetText(LPCTSTR lpszText, int nPane, int nType) {
  return static_cast<BOOL>(SendMessage(SB_SETTEXT, static_cast<WPARAM>(nPane | nType), AsLParam(lpszText)));
}
CString CStatusBarCtrl::GetText(int nPane, int* pType) const {
  const int length = GetTextLength(nPane, pType);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetText(text.data(), nPane, nullptr);
  text.resize(static_cast<size_t>(length));
  return CString(text.c_str());
}
int CStatusBarCtrl::GetText(LPTSTR lpszText, int nPane, int* pType) const {
  const LRESULT result = SendMessage(SB_GETTEXT, static_cast<WPARAM>(nPane), AsLParam(lpszText));
  if (pType) *pType = HIWORD(result);
  return LOWORD(result);
}
int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const {
  const LRESULT result = SendMessage(SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane));
  if (pType) *pType = HIWORD(result);
  return LOWORD(result);
}
BOOL CStatusBarCtrl::SetParts(int nParts, int* pWidths) {
  return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nParts), AsLParam(pWidths)));
}
int CStatusBarCtrl::GetParts(int nParts, int* pParts) const {
  return static_cast<int>(SendMessage(SB_GETPARTS, static_cast<WPARAM>(nParts), AsLParam(pParts)));
}
BOOL CStatusBarCtrl::GetBorders(int* pBorders) const {
  return static_cast<BOOL>(SendMessage(SB_GETBORDERS, 0, AsLParam(pBorders)));
}
BOOL CStatusBarCtrl::GetBorders(int& nHorz, int& nVert, int& nSpacing) const {
  int borders[3] = {};
  const BOOL ok = GetBorders(borders);
  nHorz = borders[0];
  nVert = borders[1];
  nSpacing = borders[2];
  return ok;
}
void CStatusBarCtrl::SetMinHeight(int nMin) {
  SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin));
}
BOOL CStatusBarCtrl::SetSimple(BOOL bSimple) {
  return static_cast<BOOL>(SendMessage(SB_SIMPLE, static_cast<WPARAM>(bSimple)));
}
BOOL CStatusBarCtrl::IsSimple() const {
  return static_cast<BOOL>(SendMessage(SB_ISSIMPLE));
}
BOOL CStatusBarCtrl::GetRect(int nPane, LPRECT lpRect) const {
  return static_cast<BOOL>(SendMessage(SB_GETRECT, static_cast<WPARAM>(nPane), AsLParam(lpRect)));
}
BOOL CStatusBarCtrl::SetIcon(int nPane, HICON hIcon) {
  return static_cast<BOOL>(SendMessage(SB_SETICON, static_cast<WPARAM>(nPane), AsLParam(hIcon)));
}
HICON CStatusBarCtrl::GetIcon(int nPane) const {
  return reinterpret_cast<HICON>(SendMessage(SB_GETICON, static_cast<WPARAM>(nPane)));
}
COLORREF CStatusBarCtrl::SetBkColor(COLORREF cr) {
  return static_cast<COLORREF>(SendMessage(SB_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
void CStatusBarCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CStatusBarCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}
