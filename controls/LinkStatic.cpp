#include "controls/LinkStatic.h"

#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/user/Cursor.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Metrics.h"

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr size_t kCommandBuffer = 520;

LONG GetRegKey(HKEY key, LPCTSTR subkey, CString& value) {
  HKEY hkey = nullptr;
  LONG result = RegOpenKeyEx(key, subkey, 0, KEY_QUERY_VALUE, &hkey);
  if (result != ERROR_SUCCESS) return result;
  char data[MAX_PATH] = {};
  LONG size = MAX_PATH;
  if (RegQueryValue(hkey, nullptr, data, &size) == ERROR_SUCCESS) value = data;
  RegCloseKey(hkey);
  return ERROR_SUCCESS;
}

}  // namespace

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CLinkStatic::CLinkStatic()
    : m_crLinkColour(RGB(230, 238, 28)),
      m_crVisitedColour(RGB(0, 255, 0)),
      m_crHoverColour(RGB(5, 206, 30)) {}

CLinkStatic::~CLinkStatic() {
  m_font.DeleteObject();
  if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.DestroyWindow();
  if (m_hLinkCursor != nullptr) DestroyCursor(m_hLinkCursor);
}

void CLinkStatic::PreSubclassWindow() {
  ModifyStyle(0, SS_NOTIFY);
  CString text;
  GetWindowText(text);
  if (m_strURL.IsEmpty()) m_strURL = text;
  if (text.IsEmpty()) SetWindowText(m_strURL);
  ApplyFont();
  PositionWindow();
  SetDefaultCursor();
  CRect rc;
  GetClientRect(&rc);
  m_toolTip.Create(this);
  m_toolTip.AddTool(this, m_strURL, &rc, kToolId);
  CStatic::PreSubclassWindow();
}

BOOL CLinkStatic::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

void CLinkStatic::ApplyFont() {
  LOGFONT lf{};
  CFont* current = GetFont();
  if (current == nullptr || current->GetLogFont(&lf) == 0) return;
  lf.lfUnderline = static_cast<BYTE>(m_bUnderline ? 1 : 0);
  CFont font;
  if (!font.CreateFontIndirect(&lf)) return;
  SetFont(&font, TRUE);
  m_font.DeleteObject();
  m_font.Attach(font.Detach());
}

void CLinkStatic::SetURL(CString strURL) {
  m_strURL = std::move(strURL);
  if (GetSafeHwnd() == nullptr) return;
  PositionWindow();
  if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.UpdateTipText(m_strURL, this, kToolId);
}

void CLinkStatic::SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour) {
  m_crLinkColour = crLinkColour;
  m_crVisitedColour = crVisitedColour;
  m_crHoverColour =
      crHoverColour == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : crHoverColour;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CLinkStatic::SetVisited(BOOL bVisited) {
  m_bVisited = bVisited;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CLinkStatic::SetUnderline(BOOL bUnderline) {
  m_bUnderline = bUnderline;
  if (GetSafeHwnd() == nullptr) return;
  ApplyFont();
  Invalidate();
}

void CLinkStatic::SetAutoSize(BOOL bAutoSize) {
  m_bAdjustToFit = bAutoSize;
  if (GetSafeHwnd() != nullptr) PositionWindow();
}

COLORREF CLinkStatic::CurrentColour() const {
  if (m_bOverControl) return m_crHoverColour;
  return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

void CLinkStatic::PositionWindow() {
  if (GetSafeHwnd() == nullptr || !m_bAdjustToFit) return;
  CRect rc;
  GetWindowRect(&rc);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&rc);
  CString text;
  GetWindowText(text);
  SIZE extent{};
  if (CDC* dc = GetDC()) {
    CFont* font = GetFont();
    CFont* old = font != nullptr ? dc->SelectObject(font) : nullptr;
    ::GetTextExtentPoint32(dc->GetSafeHdc(), text, text.GetLength(), &extent);
    if (old != nullptr) dc->SelectObject(old);
    ReleaseDC(dc);
  }
  const DWORD style = GetStyle();
  if (style & SS_CENTERIMAGE) {
    const int dy = (rc.Height() - extent.cy) / 2;
    rc.top += dy;
    rc.bottom -= dy;
  } else {
    rc.bottom = rc.top + extent.cy;
  }
  if (style & SS_CENTER) {
    const int dx = (rc.Width() - extent.cx) / 2;
    rc.left += dx;
    rc.right -= dx;
  } else if (style & SS_RIGHT) {
    rc.left = rc.right - extent.cx;
  } else {
    rc.right = rc.left + extent.cx;
  }
  SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER);
}

void CLinkStatic::SetDefaultCursor() {
  if (m_hLinkCursor != nullptr) return;
  // The hand lived in the help viewer of the Windows folder; the system's own hand stands in
  // where that viewer is not installed, which on this platform is always.
  char folder[MAX_PATH] = {};
  ::GetWindowsDirectory(folder, MAX_PATH);
  const CString viewer = CString(folder) + "\\winhlp32.exe";
  if (HMODULE module = LoadLibrary(viewer)) {
    if (HCURSOR hand = ::LoadCursor(reinterpret_cast<HINSTANCE>(module), MAKEINTRESOURCE(106)))
      m_hLinkCursor = static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(hand)));
    FreeLibrary(module);
  }
  if (m_hLinkCursor == nullptr) {
    if (HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND))
      m_hLinkCursor = static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(hand)));
  }
}

void CLinkStatic::OnClicked() {
  const int result = static_cast<int>(reinterpret_cast<INT_PTR>(GotoURL(m_strURL, SW_SHOW)));
  if (result > 32) {
    SetVisited(TRUE);
    return;
  }
  ::MessageBeep(MB_ICONEXCLAMATION);
  ReportError(result);
}

HBRUSH CLinkStatic::CtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(CurrentColour());
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CLinkStatic::OnMouseMove(UINT nFlags, CPoint point) {
  CStatic::OnMouseMove(nFlags, point);
  if (!m_bOverControl) {
    m_bOverControl = TRUE;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SetCapture();
    return;
  }
  CRect rc;
  GetClientRect(&rc);
  if (!rc.PtInRect(point)) {
    m_bOverControl = FALSE;
    ReleaseCapture();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

BOOL CLinkStatic::OnSetCursor(CWnd*, UINT, UINT) {
  if (m_hLinkCursor == nullptr) return FALSE;
  ::SetCursor(m_hLinkCursor);
  return TRUE;
}

CString CLinkStatic::FallbackCommand(const CString& registered, LPCTSTR url) {
  std::string command = registered.GetString();
  size_t cut = command.find("\"%1\"");
  if (cut == std::string::npos) cut = command.find("%1");
  if (cut != std::string::npos) command.resize(cut);
  command += ' ';
  command += url != nullptr ? url : "";
  // The command was built in a fixed buffer: a longer one is not run at all rather than cut.
  if (command.size() >= kCommandBuffer) return CString();
  return CString(command);
}

HINSTANCE CLinkStatic::GotoURL(LPCTSTR url, int nShowCmd) {
  HINSTANCE result = ::ShellExecute(nullptr, "open", url, nullptr, nullptr, nShowCmd);
  if (reinterpret_cast<INT_PTR>(result) > 32) return result;
  CString htmlClass;
  if (GetRegKey(HKEY_CLASSES_ROOT, ".htm", htmlClass) != ERROR_SUCCESS) return result;
  CString registered;
  if (GetRegKey(HKEY_CLASSES_ROOT, htmlClass + "\\shell\\open\\command", registered) != ERROR_SUCCESS)
    return result;
  const CString command = FallbackCommand(registered, url);
  if (command.IsEmpty()) return result;
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(WinExec(command, static_cast<UINT>(nShowCmd))));
}

CString CLinkStatic::ErrorText(int nError) {
  struct Reason {
    int code;
    const char* text;
  };
  static constexpr Reason kReasons[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30,
       "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
  };
  CString reason;
  for (const Reason& r : kReasons)
    if (r.code == nError) reason = r.text;
  if (reason.IsEmpty()) reason.Format("Unknown Error (%d) occurred.", nError);
  return "Unable to open hyperlink:\n\n" + reason;
}

void CLinkStatic::ReportError(int nError) {
  ::MessageBox(m_hWnd, ErrorText(nError), "Error", MB_ICONEXCLAMATION);
}
