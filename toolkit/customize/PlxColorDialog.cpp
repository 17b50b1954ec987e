// The toolkit colour dialog: sample, standard and custom pages in a child sheet, screen picking
// and copying the colour as text.
#include "toolkit/customize/PlxColorDialog.h"

#include <cstdio>
#include <cstring>

#include "platform/comctl/CommCtrl.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/res/Templates.h"
#include "platform/user/Accel.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "toolkit/core/PlxGlobalData.h"

IMPLEMENT_DYNAMIC(CPlxColorDialog, CPlxDialog)
IMPLEMENT_DYNAMIC(CPropertySheetCtrl, CPropertySheet)

namespace {

using pictavo::res::DialogControl;
using pictavo::res::DialogTemplate;

DialogControl Control(DWORD id, const char* cls, const char* text, DWORD style, short x, short y, short cx,
                      short cy) {
  DialogControl c;
  c.id = id;
  c.className = cls;
  c.text = text;
  c.style = WS_CHILD | WS_VISIBLE | style;
  c.x = x;
  c.y = y;
  c.cx = cx;
  c.cy = cy;
  return c;
}

// The sheet on the left; OK, Cancel, the sample and the pick button on the right.
const DialogTemplate& ColorDialogTemplate() {
  static const DialogTemplate kTemplate = [] {
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.cx = 240;
    t.cy = 166;
    t.caption = "Colors";
    t.fontFace = "MS Shell Dlg";
    t.pointSize = 8;
    t.controls = {Control(CPlxColorDialog::IDC_SHEET, "Static", "", SS_LEFT, 4, 4, 172, 156),
                  Control(IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 182, 8, 52, 14),
                  Control(IDCANCEL, "Button", "Cancel", WS_TABSTOP, 182, 26, 52, 14),
                  Control(0xFFFF, "Static", "New", SS_CENTER, 182, 60, 52, 8),
                  Control(CPlxColorDialog::IDC_SAMPLE, "Button", "", BS_OWNERDRAW, 190, 70, 36, 50),
                  Control(0xFFFF, "Static", "Current", SS_CENTER, 182, 122, 52, 8),
                  Control(CPlxColorDialog::IDC_PICK, "Button", "&Select", WS_TABSTOP, 182, 146, 52, 14)};
    // The placeholder comes last in the tab order: the sheet it leaves is created over it.
    return t;
  }();
  return kTemplate;
}

// The colour the screen shows at the point. Windows here paint into surfaces of their own, so
// the screen DC has only the desktop: the pixel is read from the topmost visible window there,
// skipping the see-through pick window.
COLORREF ScreenPixel(POINT point, HWND skip) {
  for (HWND wnd = ::GetTopWindow(nullptr); wnd != nullptr; wnd = ::GetWindow(wnd, GW_HWNDNEXT)) {
    RECT rect;
    if (wnd == skip || !::IsWindowVisible(wnd) || !::GetWindowRect(wnd, &rect) || !::PtInRect(&rect, point))
      continue;
    HDC dc = ::GetWindowDC(wnd);
    const COLORREF color = ::GetPixel(dc, point.x - rect.left, point.y - rect.top);
    ::ReleaseDC(wnd, dc);
    return color;
  }
  HDC screen = ::GetDC(nullptr);
  const COLORREF color = ::GetPixel(screen, point.x, point.y);
  ::ReleaseDC(nullptr, screen);
  return color;
}

}  // namespace

// ---- sheet control ----

BOOL CPropertySheetCtrl::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  ResizePages();
  return result;
}

BOOL CPropertySheetCtrl::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccel != nullptr && ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg)) return TRUE;
  return CPropertySheet::PreTranslateMessage(pMsg);
}

void CPropertySheetCtrl::ResizePages() {
  if (GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(&client);
  for (int i = 0; i < GetPageCount(); ++i) {
    CPropertyPage* page = GetPage(i);
    if (page == nullptr || page->GetSafeHwnd() == nullptr) continue;
    CRect rect;
    page->GetWindowRect(&rect);
    ScreenToClient(&rect);
    page->SetWindowPos(nullptr, rect.left, rect.top, client.Width() - 3 * ::GetSystemMetrics(SM_CXEDGE),
                       client.Height() - rect.top - ::GetSystemMetrics(SM_CYEDGE),
                       SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT CPropertySheetCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
  if (message == WM_SIZE) ResizePages();
  return result;
}

void CPropertySheetCtrl::PostNcDestroy() {
  CPropertySheet::PostNcDestroy();
  if (m_bModeless) delete this;
}

// ---- pick window ----

BOOL CPlxScreenPickWnd::Create(CWnd* pOwner) {
  m_pOwner = pOwner;
  HCURSOR cursor = pOwner != nullptr ? static_cast<CPlxColorDialog*>(pOwner)->m_hcurPicker : nullptr;
  LPCTSTR cls = AfxRegisterWndClass(CS_SAVEBITS, cursor, ::GetSysColorBrush(COLOR_BTNFACE));
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  return CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_VISIBLE, desktop.left, desktop.top,
                  desktop.Width(), desktop.Height(), nullptr, nullptr);
}

LRESULT CPlxScreenPickWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT: {  // the screen under it stays as it is
      PAINTSTRUCT ps;
      ::BeginPaint(m_hWnd, &ps);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
      if (m_pOwner != nullptr && ::IsWindow(m_pOwner->m_hWnd)) {
        CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ClientToScreen(&point);
        m_pOwner->ScreenToClient(&point);
        m_pOwner->SendMessage(message, wParam, MAKELPARAM(point.x, point.y));
      }
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- dialog ----

CPlxColorDialog::CPlxColorDialog(COLORREF clrInit, DWORD, CWnd* pParentWnd, HPALETTE hPal)
    : m_CurrentColor(clrInit), m_NewColor(clrInit) {
  m_pParentWnd = pParentWnd;
  if (hPal != nullptr) {
    m_pPalette = new CPalette;
    m_pPalette->Attach(hPal);
    m_bIsMyPalette = FALSE;
  }
}

CPlxColorDialog::~CPlxColorDialog() {
  delete m_pPage1;
  delete m_pPage2;
  if (m_pPalette != nullptr) {
    if (!m_bIsMyPalette) m_pPalette->Detach();  // the caller's palette outlives us
    delete m_pPalette;
  }
}

INT_PTR CPlxColorDialog::DoModal() {
  InitModalIndirect(&ColorDialogTemplate(), m_pParentWnd);
  return CPlxDialog::DoModal();
}

int CPlxColorDialog::RunSystemDialog() {
  CColorDialog dialog(m_CurrentColor, CC_FULLOPEN | CC_ANYCOLOR, this);
  const int result = static_cast<int>(dialog.DoModal());
  m_NewColor = result == IDOK ? dialog.GetColor() : m_CurrentColor;
  return result;
}

void CPlxColorDialog::BuildSystemPalette() {
  CClientDC dc(this);
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 256;
  ::GetSystemPaletteEntries(dc.GetSafeHdc(), 0, 256, logical->palPalEntry);
  if (m_pPalette == nullptr) m_pPalette = new CPalette;  // the choosers keep pointing at it
  m_pPalette->DeleteObject();
  m_pPalette->CreatePalette(logical);
  m_bIsMyPalette = TRUE;
}

BOOL CPlxColorDialog::OnInitDialog() {
  CPlxDialog::OnInitDialog();
  if (CWnd* main = AfxGetMainWnd();
      main != nullptr && main->GetSafeHwnd() != nullptr && (main->GetExStyle() & WS_EX_LAYOUTRTL) != 0)
    ModifyStyleEx(0, WS_EX_LAYOUTRTL);

  if (g_plxGlobalData.nBitsPerPixel < 8) {
    EndDialog(RunSystemDialog());
    return TRUE;
  }
  if (m_pPalette == nullptr) BuildSystemPalette();

  m_btnColorSelect.SubclassDlgItem(IDC_PICK, this);
  m_wndSheetPlaceholder.SubclassDlgItem(IDC_SHEET, this);
  m_wndColors.SubclassDlgItem(IDC_SAMPLE, this);
  m_wndColors.SetChooserType(CPlxColorChooserCtrl::Sample);
  m_wndColors.SetPalette(m_pPalette);
  m_wndColors.SetInitialColor(m_CurrentColor);
  m_wndColors.SetColor(m_NewColor);

  ::InitCommonControls();  // the custom page's spin buttons
  m_pPropSheet = new CPropertySheetCtrl(this);
  m_pPage1 = new CPlxColorPage1;
  m_pPage2 = new CPlxColorPage2;
  m_pPage1->m_pDialog = this;
  m_pPage2->m_pDialog = this;
  m_pPropSheet->AddPage(m_pPage1);
  m_pPropSheet->AddPage(m_pPage2);
  if (m_pPropSheet->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS)) {
    CRect rect;
    m_wndSheetPlaceholder.GetWindowRect(&rect);
    ScreenToClient(&rect);
    m_wndSheetPlaceholder.ShowWindow(SW_HIDE);
    m_pPropSheet->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    delete m_pPropSheet;
  }
  SyncStandardPage(GetRValue(m_CurrentColor), GetGValue(m_CurrentColor), GetBValue(m_CurrentColor));
  SyncCustomPage(GetRValue(m_CurrentColor), GetGValue(m_CurrentColor), GetBValue(m_CurrentColor));

  // The pick cursor is a resource of ours when present, else the cross.
  m_hcurPicker = AfxGetApp() != nullptr ? AfxGetApp()->LoadCursor(IDC_PICK_CURSOR) : nullptr;
  if (m_hcurPicker == nullptr) m_hcurPicker = ::LoadCursor(nullptr, IDC_CROSS);
  return TRUE;
}

void CPlxColorDialog::SetChosenColor(COLORREF color) {
  m_NewColor = color;
  if (m_wndColors.GetSafeHwnd() == nullptr) return;
  m_wndColors.SetColor(CPlxColorChooserCtrl::DisplayColor(color, m_pPalette));
  m_wndColors.Invalidate();
  m_wndColors.UpdateWindow();
}

void CPlxColorDialog::SyncStandardPage(int r, int g, int b) {
  if (m_pPage1 == nullptr) return;
  m_pPage1->m_hexagon.SelectColor(RGB(r, g, b));
  m_pPage1->m_greys.SelectColor(RGB(r, g, b));
}

void CPlxColorDialog::SyncCustomPage(int r, int g, int b) {
  if (m_pPage2 != nullptr) m_pPage2->ShowRGB(r, g, b);
}

BOOL CPlxColorDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_PICK && HIWORD(wParam) == BN_CLICKED) {
    OnPickColor();
    return TRUE;
  }
  return CPlxDialog::OnCommand(wParam, lParam);
}

void CPlxColorDialog::OnPickColor() {
  CWinThread* thread = AfxGetThread();
  if (m_bPickerMode || thread == nullptr) return;
  m_bPickerMode = TRUE;
  ::SetCursor(m_hcurPicker);
  auto* pick = new CPlxScreenPickWnd;
  if (!pick->Create(this)) {
    delete pick;
    m_bPickerMode = FALSE;
    return;
  }
  m_hwndPick = pick->m_hWnd;
  SetForegroundWindow();
  BringWindowToTop();
  SetCapture();
  const COLORREF before = m_NewColor;
  const HWND self = m_hWnd;
  // The loop ends when picking stops, when the dialog is gone, ended or lost the mouse, and on WM_QUIT,
  // which goes back into the queue for the loop that owns it.
  while (m_bPickerMode && ::IsWindow(self) && ContinueModal() && ::GetCapture() == self) {
    MSG msg;
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) SetChosenColor(before);
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) break;
      continue;  // other keys are swallowed
    }
    if (msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN) break;
    if (!thread->PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
    thread->OnIdle(0);
  }
  StopPicking(pick);
}

void CPlxColorDialog::StopPicking(CPlxScreenPickWnd* pick) {
  if (GetSafeHwnd() != nullptr && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (pick->GetSafeHwnd() != nullptr) pick->DestroyWindow();
  m_hwndPick = nullptr;
  delete pick;
  m_bPickerMode = FALSE;
}

void CPlxColorDialog::CopyColorToClipboard() {
  if (!::OpenClipboard(m_hWnd)) return;
  ::EmptyClipboard();
  char text[64];
  std::snprintf(text, sizeof text, "RGB (%d, %d, %d)", GetRValue(m_NewColor), GetGValue(m_NewColor),
                GetBValue(m_NewColor));
  const size_t size = std::strlen(text) + 1;
  if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size); block != nullptr) {
    if (void* data = ::GlobalLock(block); data != nullptr) {
      std::memcpy(data, text, size);
      ::GlobalUnlock(block);
      if (::SetClipboardData(CF_TEXT, block) == nullptr) ::GlobalFree(block);
    } else {
      ::GlobalFree(block);
    }
  }
  ::CloseClipboard();
}

BOOL CPlxColorDialog::PreTranslateMessage(MSG* pMsg) {
  // Ctrl as it was when the key was pressed: a quick Ctrl+C has let go of Ctrl by the time its
  // message is read.
  if (pMsg->message == WM_KEYDOWN && (::GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
      (pMsg->wParam == 'C' || pMsg->wParam == VK_INSERT))
    CopyColorToClipboard();
  return CPlxDialog::PreTranslateMessage(pMsg);
}

LRESULT CPlxColorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (m_bPickerMode) {
        CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ClientToScreen(&point);
        const COLORREF color = ScreenPixel(point, m_hwndPick);
        if (color != CLR_INVALID) SetChosenColor(color);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (m_bPickerMode) {
        m_bPickerMode = FALSE;
        SyncStandardPage(GetRValue(m_NewColor), GetGValue(m_NewColor), GetBValue(m_NewColor));
        SyncCustomPage(GetRValue(m_NewColor), GetGValue(m_NewColor), GetBValue(m_NewColor));
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (m_bPickerMode) {
        ::SetCursor(m_hcurPicker);
        return TRUE;
      }
      break;
    case WM_SYSCOLORCHANGE: {
      const LRESULT result = CPlxDialog::WindowProc(message, wParam, lParam);
      g_plxGlobalData.UpdateSysColors();
      if (m_pPalette != nullptr && m_bIsMyPalette) {
        if (g_plxGlobalData.nBitsPerPixel >= 8) {
          BuildSystemPalette();
          Invalidate();
        } else {
          ShowWindow(SW_HIDE);
          EndDialog(RunSystemDialog());
        }
      }
      return result;
    }
    case WM_DESTROY:
      if (m_pPalette != nullptr && m_bIsMyPalette) m_pPalette->DeleteObject();
      break;
    default:
      break;
  }
  return CPlxDialog::WindowProc(message, wParam, lParam);
}
