// AlbumPreviewDlg in menu mode: the project's disc menu (g_dvdMenu) played with its music on the
// preview's 50 ms clock, the focus moved over its album entries and page buttons by the host or
// the mouse, and the chosen album played as an ordinary preview run.
#include "disc/pages/MenuTemplates.h"
#include "modules/data/AudioParams.h"
#include "modules/data/DSTLAudio.h"
#include "modules/data/DVDProject.h"
#include "modules/log/Log.h"
#include "platform/kernel/Event.h"
#include "platform/kernel/MMTimer.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Wait.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WinThread.h"
#include "platform/user/Cursor.h"
#include "render/AlbumPreviewDlg.h"
#include "render/MenuPreviewRules.h"
#include "render/PreviewMessages.h"
#include "shell/MainDlg.h"

using pictavo::render::kMenuHeight;
using pictavo::render::kMenuWidth;
using pictavo::render::MenuPage;

#define IDS_INIT_DVD_MENU_DATA 57534

namespace {

constexpr char kSilence[] = "silence.mp3";

bool IsSet(HANDLE event) {
  return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

MenuPage CurrentMenuPage() {
  int albums = 0, previous = 0, next = 0;
  g_dvdMenu.GetCurrentPageData(albums, previous, next);
  return MenuPage{albums, previous != 0, next != 0};
}

// The main window's progress text while a menu page is laid out, when there is a main window.
class MenuProgress {
 public:
  MenuProgress() : m_main(MainWindow()) {
    if (m_main != nullptr) m_main->EnableProjectProgressById(TRUE, IDS_INIT_DVD_MENU_DATA);
  }
  ~MenuProgress() {
    if (m_main != nullptr) m_main->EnableProjectProgressById(FALSE, 0);
  }
  MenuProgress(const MenuProgress&) = delete;
  MenuProgress& operator=(const MenuProgress&) = delete;

 private:
  static CMainDlg* MainWindow() {
    CWinApp* app = AfxGetApp();
    CWnd* main = app != nullptr ? app->m_pMainWnd : nullptr;
    return main != nullptr && main->GetSafeHwnd() != nullptr ? dynamic_cast<CMainDlg*>(main) : nullptr;
  }
  CMainDlg* m_main;
};

}  // namespace

BOOL AlbumPreviewDlg::ParseMenuWithProgress(int nPage) {
  MenuProgress progress;
  return nPage < 0 ? g_dvdMenu.ParseMenu(0) : g_dvdMenu.ParsePage(nPage);
}

void AlbumPreviewDlg::StartMenuPreview() {
  if (!m_bMenuMode) return;
  Stop();
  const int page = g_dvdMenu.GetCurrentPage();
  g_dvdMenu.SetStatus(0);
  ParseMenuWithProgress(page);
  m_bMenuActive = TRUE;
  for (HANDLE event : {m_hStopEvent, m_hMusicDoneEvent, m_hMenuDoneEvent, m_hWatchDoneEvent})
    ResetEvent(event);
  m_nMenuFramesDrawn = 0;
  const MenuPage shown = CurrentMenuPage();
  WriteLog("Menu preview page %d of %d: %d albums, focus %d", page + 1, g_dvdMenu.GetPageCount(),
           shown.albums, m_nMenuFocus.load());

  StartWatcher(1, WM_MENU_PREVIEW_FINISHED);

  CDVDProject* project = GetProject();
  CStringArray files;
  files.Copy(*project->GetDiscMenuBackgroundMusic());
  if (files.GetSize() == 0) {
    const std::string music = pictavo::path::Join(project->Get_strExeFilePath().View(), "music");
    files.Add(CString(pictavo::path::ResolveNoCase(pictavo::path::Join(music, kSilence)).c_str()));
  }
  _DSTLAUDIO_PLAY_FILES_PARAM play{&files, m_hWnd, m_hStopEvent, m_hMusicDoneEvent, 0, 0};
  if (!m_pMusic->StartPlay(&play)) SetEvent(m_hMusicDoneEvent);

  if (AfxBeginThread(MenuPreviewRenderThread, this, THREAD_PRIORITY_BELOW_NORMAL) == nullptr)
    SetEvent(m_hMenuDoneEvent);
}

UINT AlbumPreviewDlg::MenuPreviewRenderThread(LPVOID pParam) {
  return static_cast<AlbumPreviewDlg*>(pParam)->MenuRenderRun();
}

UINT AlbumPreviewDlg::MenuRenderRun() {
  g_dvdMenu.SetTVScreenSize(kMenuWidth, kMenuHeight, 0);
  // A menu without motion (or a project without a frame rate) shows its still page every tick.
  const int passTicks = std::max(
      1, pictavo::render::MenuPassTicks(g_dvdMenu.GetTotalFrame(), GetProject()->Get_nFramesPerSecond()));
  // Music that has already ended plays the motion once; otherwise it repeats until the music ends.
  const bool once = IsSet(m_hMusicDoneEvent);
  HANDLE timer = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT id = timeSetEvent(50, 5, reinterpret_cast<LPTIMECALLBACK>(timer), 0,
                                   TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
  UINT result = 1;
  if (id != 0) {
    const HANDLE events[] = {m_hStopEvent, timer};
    int focusShown = -1;
    HBITMAP mask = nullptr;  // the menu's, valid until the next mask is asked for
    for (int frame = 0;;) {
      const DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
      if (wait != WAIT_OBJECT_0 + 1) break;
      if (const int focus = m_nMenuFocus.load(); focus != focusShown || mask == nullptr) {
        mask = g_dvdMenu.GetButtonMaskBitmap(focus);
        focusShown = focus;
      }
      DrawMenuFrame(frame, mask);
      ++m_nMenuFramesDrawn;
      if (++frame >= passTicks) {
        if (once || IsSet(m_hMusicDoneEvent)) {
          result = 0;
          break;
        }
        frame = 0;
      }
    }
    timeKillEvent(id);
  }
  CloseHandle(timer);
  g_dvdMenu.StopPlaying();
  SetEvent(m_hMenuDoneEvent);
  return result;
}

void AlbumPreviewDlg::DrawMenuFrame(int nFrame, HBITMAP hMask) {
  g_dvdMenu.SetTVScreenSize(kMenuWidth, kMenuHeight, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  if (memory == nullptr || m_hMenuBitmap == nullptr) {
    if (memory != nullptr) DeleteDC(memory);
    return;
  }
  HGDIOBJ old = SelectObject(memory, m_hMenuBitmap);
  g_dvdMenu.DrawFrame(memory, nFrame, 0);
  // The focus: the mask's highlight over the frame, its corner colour transparent.
  if (hMask != nullptr) {
    if (HDC maskDC = CreateCompatibleDC(nullptr)) {
      HGDIOBJ oldMask = SelectObject(maskDC, hMask);
      TransparentBlt(memory, 0, 0, kMenuWidth, kMenuHeight, maskDC, 0, 0, kMenuWidth, kMenuHeight,
                     GetPixel(maskDC, 0, 0));
      SelectObject(maskDC, oldMask);
      DeleteDC(maskDC);
    }
  }
  DrawOnStatus([&](HDC dc, const RECT& client) {
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, kMenuWidth, kMenuHeight, SRCCOPY);
  });
  SelectObject(memory, old);
  DeleteDC(memory);
}

void AlbumPreviewDlg::MenuFocusNext() {
  if (!m_bMenuMode) return;
  m_nMenuFocus = pictavo::render::MenuFocusAfterNext(m_nMenuFocus.load(), CurrentMenuPage());
}

void AlbumPreviewDlg::MenuFocusPrev() {
  if (!m_bMenuMode) return;
  m_nMenuFocus = pictavo::render::MenuFocusAfterPrevious(m_nMenuFocus.load(), CurrentMenuPage());
}

void AlbumPreviewDlg::MenuActivateFocused() {
  if (!m_bMenuMode) return;
  const pictavo::render::MenuActivation action =
      pictavo::render::MenuActivate(m_nMenuFocus.load(), CurrentMenuPage(),
                                    g_dvdMenu.GetMaxAlbumCountPerPage(), g_dvdMenu.GetCurrentPage());
  switch (action.kind) {
    case pictavo::render::MenuActivation::kPlayAlbum:
      PlayAlbum(action.album);
      break;
    case pictavo::render::MenuActivation::kPreviousPage:
      TurnMenuPage(-1);
      break;
    case pictavo::render::MenuActivation::kNextPage:
      TurnMenuPage(1);
      break;
    case pictavo::render::MenuActivation::kNothing:
      break;
  }
}

void AlbumPreviewDlg::MenuEnter() {
  if (!m_bMenuMode) return;
  if (IsSet(m_hMenuDoneEvent)) {
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_MENU_PREVIEW_STOPPED, 0, 0);
    StartMenuPreview();
    return;
  }
  MenuActivateFocused();
}

void AlbumPreviewDlg::TurnMenuPage(int nDelta) {
  Stop();
  {
    CWaitCursor wait;
    MenuProgress progress;
    g_dvdMenu.SetCurrentPage(g_dvdMenu.GetCurrentPage() + nDelta);
  }
  m_nMenuFocus = 0;
  StartMenuPreview();
}

LRESULT AlbumPreviewDlg::OnMenuPreviewFinished(WPARAM, LPARAM) {
  if (!m_bMenuMode) return 0;
  if (GetProject()->GetOptionsData()->bPlaySlideshowAfterMenu != 0)
    PlayAlbum(0);
  else
    StartMenuPreview();
  return 0;
}

void AlbumPreviewDlg::PageShownInMenuMode() {
  CWaitCursor wait;
  g_dvdMenu.SetStatus(0);
  ParseMenuWithProgress(-1);
}

BOOL AlbumPreviewDlg::MenuHitTest(CPoint point, int* pFocus, int* pAlbum, int* pButton) {
  CObList* objects = g_dvdMenu.GetObjectPtrList();
  if (objects == nullptr) return FALSE;
  CRect client;
  GetClientRect(&client);
  const MenuPage page = CurrentMenuPage();
  for (POSITION pos = objects->GetHeadPosition(); pos != nullptr;) {
    CObject* object = objects->GetNext(pos);
    if (object == nullptr) {
      AfxMessageBox("pMenuObject == NULL");
      return FALSE;
    }
    CRect rect;
    int album = -1, button = -1;
    if (object->IsKindOf(RUNTIME_CLASS(CMenuAlbumText))) {
      rect = static_cast<CMenuAlbumText*>(object)->GetTextRect();
      album = static_cast<CMenuAlbumText*>(object)->GetAlbumIndex();
    } else if (object->IsKindOf(RUNTIME_CLASS(CMenuThumbnail))) {
      rect = static_cast<CMenuThumbnail*>(object)->GetRect();
      album = static_cast<CMenuThumbnail*>(object)->GetIndex();
    } else if (object->IsKindOf(RUNTIME_CLASS(CMenuButton))) {
      rect = static_cast<CMenuButton*>(object)->GetRect();
      button = static_cast<CMenuButton*>(object)->GetButtonID();
    } else {
      continue;
    }
    const CRect shown = pictavo::render::MenuToClient(rect, client.Width(), client.Height());
    if (!shown.PtInRect(point)) continue;
    *pAlbum = album;
    *pButton = button;
    *pFocus = button < 0 ? pictavo::render::MenuFocusOfAlbum(album, g_dvdMenu.GetMaxAlbumCountPerPage())
                         : page.albums + (button == CMenuButton::kNextPage ? 1 : 0);
    return TRUE;
  }
  return FALSE;
}

void AlbumPreviewDlg::OnMouseMove(UINT nFlags, CPoint point) {
  int focus = 0, album = -1, button = -1;
  if (m_bMenuMode && m_bMenuActive && MenuHitTest(point, &focus, &album, &button)) {
    ::SetCursor(LoadCursor(nullptr, IDC_HAND));
    m_nMenuFocus = focus;
  }
  CDialog::OnMouseMove(nFlags, point);
}

void AlbumPreviewDlg::OnLButtonUp(UINT nFlags, CPoint point) {
  int focus = 0, album = -1, button = -1;
  if (m_bMenuMode && m_bMenuActive && MenuHitTest(point, &focus, &album, &button)) {
    if (button < 0 && album >= 0) {
      PlayAlbum(album);
    } else if (button >= 0) {
      TurnMenuPage(button == CMenuButton::kNextPage ? 1 : -1);
    }
  }
  CDialog::OnLButtonUp(nFlags, point);
}
