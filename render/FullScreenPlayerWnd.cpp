#include "render/FullScreenPlayerWnd.h"

#include "albums/AlbumPhotoDlg.h"
#include "controls/DirectDrawView.h"
#include "modules/buttonbar/CoolButtonBar.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/comctl/AfxListCtrl.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/SectionLock.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Metrics.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

namespace {

using pictavo::kernel::SectionLock;

constexpr UINT kBarId = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CFullScreenPlayerWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_COMMAND_RANGE(ID_FULLSCREEN_PLAY, ID_FULLSCREEN_LAST, OnMenuCommand)
ON_MESSAGE(WM_FULLSCREEN_PLAYER_CMD, OnPlayerCommand)
ON_MESSAGE(WM_FULLSCREEN_TICK, OnTick)
END_MESSAGE_MAP()

CFullScreenPlayerWnd::CFullScreenPlayerWnd(CFullScreenPlayerWnd** ppSlot)
    : m_pView(new CDirectDrawView),
      m_pPicture(new CxImage),
      m_nScreenWidth(GetSystemMetrics(SM_CXSCREEN)),
      m_nScreenHeight(GetSystemMetrics(SM_CYSCREEN)),
      m_pBar(std::make_unique<CCoolButtonBar>()),
      m_ppSlot(ppSlot) {
  InitializeCriticalSection(&m_lock);
}

CFullScreenPlayerWnd::~CFullScreenPlayerWnd() {
  m_pView->Release();
  delete m_pView;
  delete m_pPicture;
  DeleteCriticalSection(&m_lock);
  m_menu.DestroyMenu();
}

BOOL CFullScreenPlayerWnd::Create(CWnd* pParent) {
  const CString cls = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr,
                                          static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr);
  return CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, m_nScreenWidth,
                  m_nScreenHeight, pParent != nullptr ? pParent->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CFullScreenPlayerWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.dwExStyle |= WS_EX_TOPMOST;
  return CWnd::PreCreateWindow(cs);
}

int CFullScreenPlayerWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_pView->Create(m_hWnd, m_nScreenWidth, m_nScreenHeight);
  // A debugging aid where the screen's size matters; the log is where this program keeps them.
  WriteLog("screen_w = %d screen_h=%d", m_nScreenWidth, m_nScreenHeight);
  m_pBar->Create("Play Preview Control", WS_CHILD | WS_BORDER | SS_NOTIFY, CRect(4, 4, 160, 28), this,
                 kBarId);
  m_pBar->SetNotifyMessage(m_hWnd, WM_FULLSCREEN_PLAYER_CMD);
  if (m_menu.LoadMenu(IDR_FULLSCREEN_PLAYER)) TranslateMenu(m_menu.GetSafeHmenu());
  m_nTimerId = timeSetEvent(kPeriodMs, 5, FullScreenTimerProc, reinterpret_cast<DWORD_PTR>(m_hWnd),
                            TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
  PostMessage(WM_FULLSCREEN_PLAYER_CMD, kPlayerPlay, 0);
  return 0;
}

void CALLBACK CFullScreenPlayerWnd::FullScreenTimerProc(UINT uID, UINT, DWORD_PTR dwUser, DWORD_PTR,
                                                        DWORD_PTR) {
  // The timer's thread touches no window state: the tick is handled where the window lives.
  ::PostMessage(reinterpret_cast<HWND>(dwUser), WM_FULLSCREEN_TICK, uID, 0);
}

int CFullScreenPlayerWnd::SlideCount() const {
  if (m_pAlbum == nullptr || !m_pAlbum->IsKindOf(RUNTIME_CLASS(CDVDAlbumImage))) return 0;
  return static_cast<CDVDAlbumImage*>(m_pAlbum)->GetImageCount();
}

int CFullScreenPlayerWnd::GetIndex() {
  SectionLock lock(m_lock);
  return m_nIndex;
}

BOOL CFullScreenPlayerWnd::IsPaused() {
  SectionLock lock(m_lock);
  return m_bPaused;
}

LRESULT CFullScreenPlayerWnd::OnTick(WPARAM wParam, LPARAM) {
  if (m_nTimerId == 0 || wParam != m_nTimerId) return 0;
  const int count = SlideCount();
  if (count == 0) return 0;
  bool end = false;
  {
    SectionLock lock(m_lock);
    if (m_bPaused) return 0;
    if (m_bSkip) {
      m_bSkip = FALSE;
    } else if (++m_nIndex >= count) {
      m_nIndex = count - 1;
      end = true;
    }
  }
  RepaintNow();
  if (end) PostMessage(WM_FULLSCREEN_PLAYER_CMD, kPlayerStop, 0);
  return 0;
}

void CFullScreenPlayerWnd::ShowImage(int nIndex) {
  {
    SectionLock lock(m_lock);
    m_nIndex = nIndex;
  }
  RepaintNow();
}

void CFullScreenPlayerWnd::RepaintNow() {
  if (m_hWnd == nullptr) return;
  InvalidateRect(nullptr, TRUE);
  UpdateWindow();
}

void CFullScreenPlayerWnd::Navigate(int nCode) {
  const int last = SlideCount() - 1;
  {
    SectionLock lock(m_lock);
    m_bSkip = TRUE;
    switch (nCode) {
      case kPlayerFirst:
        m_nIndex = 0;
        break;
      case kPlayerPrevious:
        if (m_nIndex > 0) --m_nIndex;
        break;
      case kPlayerNext:
        if (m_nIndex < last) ++m_nIndex;
        break;
      case kPlayerLast:
        m_nIndex = std::max(last, 0);
        break;
      default:
        break;
    }
  }
  RepaintNow();
}

void CFullScreenPlayerWnd::Close() {
  ShowWindow(SW_HIDE);
  DestroyWindow();
}

LRESULT CFullScreenPlayerWnd::OnPlayerCommand(WPARAM wParam, LPARAM) {
  switch (static_cast<int>(wParam)) {
    case kPlayerPlay:
    case kPlayerPause: {
      SectionLock lock(m_lock);
      m_bPaused = wParam == kPlayerPause;
      break;
    }
    case kPlayerStop:
      Close();
      break;
    case kPlayerFirst:
    case kPlayerPrevious:
    case kPlayerNext:
    case kPlayerLast:
      Navigate(static_cast<int>(wParam));
      break;
    default:
      break;
  }
  return 1;
}

void CFullScreenPlayerWnd::OnMenuCommand(UINT nID) {
  OnPlayerCommand(nID - ID_FULLSCREEN_PLAY, 0);
}

BOOL CFullScreenPlayerWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_SPACE:
        Close();
        return TRUE;
      case VK_LEFT:
      case VK_UP:
        Navigate(kPlayerPrevious);
        break;
      case VK_RIGHT:
      case VK_DOWN:
        Navigate(kPlayerNext);
        break;
      case VK_HOME:
        Navigate(kPlayerFirst);
        break;
      case VK_END:
        Navigate(kPlayerLast);
        break;
      default:
        break;
    }
  }
  return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFullScreenPlayerWnd::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CFullScreenPlayerWnd::OnPaint() {
  CPaintDC dc(this);
  const int count = SlideCount();
  const int index = GetIndex();
  if (count == 0 || index < 0 || index >= count) return;
  auto* album = static_cast<CDVDAlbumImage*>(m_pAlbum);
  if (index != m_nLoadedIndex) {
    // Loaded at the screen's size: sharp, and in the screen's shape whatever its aspect.
    const CSize size(m_nScreenWidth, m_nScreenHeight);
    album->GetImage(index)->LoadToCxImage(m_pPicture, &size, album->Get_clrBackground(), 1);
    album->GetImage(index)->DrawImageFrame(m_pPicture);
    m_nLoadedIndex = index;
  }
  if (!m_pPicture->IsValid()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(m_pPicture->GetWidth());
  info.bmiHeader.biHeight = static_cast<LONG>(m_pPicture->GetHeight());
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const RECT source{0, 0, info.bmiHeader.biWidth, info.bmiHeader.biHeight};
  m_nPaintedIndex = index;
  if (m_pView->m_bCreated) {
    const RECT screen{0, 0, m_nScreenWidth, m_nScreenHeight};
    m_pView->DrawDIB(&screen, &source, m_pPicture->GetBits(0), &info);
    m_pView->Present();
    m_bPaintedWithPresenter = TRUE;
    return;
  }
  CRect client;
  GetClientRect(&client);
  SetStretchBltMode(dc.GetSafeHdc(), HALFTONE);
  StretchDIBits(dc.GetSafeHdc(), 0, 0, client.Width(), client.Height(), 0, 0, source.right, source.bottom,
                m_pPicture->GetBits(0), &info, DIB_RGB_COLORS, SRCCOPY);
  m_bPaintedWithPresenter = FALSE;
}

void CFullScreenPlayerWnd::OnContextMenu(CWnd*, CPoint point) {
  if (CMenu* popup = m_menu.GetSubMenu(0))
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CFullScreenPlayerWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  const BOOL paused = IsPaused();
  pPopupMenu->EnableMenuItem(ID_FULLSCREEN_PLAY,
                             MF_BYCOMMAND | (paused ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  pPopupMenu->EnableMenuItem(ID_FULLSCREEN_PAUSE,
                             MF_BYCOMMAND | (paused ? MF_GRAYED | MF_DISABLED : MF_ENABLED));
}

void CFullScreenPlayerWnd::OnDestroy() {
  if (m_hStopEvent != nullptr) SetEvent(m_hStopEvent);
  if (m_nTimerId != 0) timeKillEvent(m_nTimerId);
  m_nTimerId = 0;
  CWnd::OnDestroy();
}

void CFullScreenPlayerWnd::PostNcDestroy() {
  // The photo list follows the player: the slide last shown becomes its selection.
  auto* list = static_cast<CListCtrl*>(GetWindowRegistry()->m_pPhotoListCtrl);
  if (list != nullptr && list->GetSafeHwnd() != nullptr) {
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row != -1;
         row = list->GetNextItem(row, LVNI_SELECTED))
      list->SetItemState(row, 0, LVIS_SELECTED);
    const int index = GetIndex();
    list->SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
    list->EnsureVisible(index, FALSE);
    if (auto* page = static_cast<AlbumPhotoDlg*>(GetWindowRegistry()->m_pAlbumPhotoDlg);
        page != nullptr && page->GetSafeHwnd() != nullptr)
      page->UpdateButtonBar();
  }
  if (m_ppSlot != nullptr) *m_ppSlot = nullptr;
  delete this;
}
