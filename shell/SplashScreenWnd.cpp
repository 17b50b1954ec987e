#include "shell/SplashScreenWnd.h"

#include "platform/mfc/Dc.h"
#include "shell/UIHelpers.h"

namespace {
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShowMs = 4000;
}  // namespace

CSplashScreenWnd* CSplashScreenWnd::c_pSplashWnd = nullptr;
BOOL CSplashScreenWnd::c_bShowSplashWnd = FALSE;

BEGIN_MESSAGE_MAP(CSplashScreenWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CSplashScreenWnd::CSplashScreenWnd() = default;

CSplashScreenWnd::~CSplashScreenWnd() {
  if (c_pSplashWnd == this) c_pSplashWnd = nullptr;
  m_bitmap.DeleteObject();
}

void CSplashScreenWnd::EnableSplashScreen(BOOL bEnable) {
  c_bShowSplashWnd = bEnable;
}

BOOL CSplashScreenWnd::IsSplashScreenEnabled() {
  return c_bShowSplashWnd;
}

void CSplashScreenWnd::ShowSplashScreen(CWnd* pParentWnd) {
  if (!c_bShowSplashWnd || c_pSplashWnd != nullptr) return;
  c_pSplashWnd = new CSplashScreenWnd;
  if (!c_pSplashWnd->Create(pParentWnd)) {
    delete c_pSplashWnd;
    return;
  }
  c_pSplashWnd->UpdateWindow();
}

BOOL CSplashScreenWnd::HideOnInput(const MSG* pMsg) {
  if (c_pSplashWnd == nullptr || pMsg == nullptr) return FALSE;
  switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      c_pSplashWnd->DestroyWindow();
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CSplashScreenWnd::Create(CWnd* pParentWnd) {
  if (!LoadResourceBitmap(&m_bitmap, IDB_SPLASH)) return FALSE;
  BITMAP info{};
  m_bitmap.GetBitmap(&info);
  const LPCTSTR className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_WAIT));
  // Named so that scripts and tools can tell when it has gone; a caption-less window shows no title.
  return CreateEx(WS_EX_TOPMOST, className, "Splash", WS_POPUP | WS_VISIBLE, 0, 0, info.bmWidth,
                  info.bmHeight, pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CSplashScreenWnd::PostNcDestroy() {
  delete this;
}

int CSplashScreenWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CenterWindow();
  SetTimer(kHideTimer, kShowMs, nullptr);
  return 0;
}

void CSplashScreenWnd::OnPaint() {
  CPaintDC dc(this);
  CDC memory;
  if (!memory.CreateCompatibleDC(&dc)) return;
  BITMAP info{};
  m_bitmap.GetBitmap(&info);
  CBitmap* old = memory.SelectObject(&m_bitmap);
  dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CSplashScreenWnd::OnTimer(UINT_PTR) {
  DestroyWindow();
}

BOOL CSplashScreenWnd::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  return TRUE;
}

void CSplashScreenWnd::OnMouseMove(UINT, CPoint) {
  ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
}
