// The host of the keyboard, menu, mouse and options page tests: an MDI frame with a menu bar and
// two toolbars, a document template with its own menu and accelerators, two context menus, two
// kinds of view for the mouse page, and a customize sheet over them. The frame keeps the
// registered notifications the pages send it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/mfc/Document.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/MessageBox.h"
#include "tests/support/MessagePump.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxMenuBar.h"
#include "toolkit/bars/PlxMenuTempStore.h"
#include "toolkit/bars/PlxPopupMenu.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMDIFrameWnd.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/customize/PlxCustomizeSheet.h"

namespace keys_test {

// Resources of resources/test_keys.xml.
constexpr UINT kFrameRes = 16410;
constexpr UINT kPictureRes = 16411;
constexpr UINT kPhotoMenu = 16412;
constexpr UINT kTrackMenu = 16413;
constexpr UINT kNew = 16421, kOpen = 16422, kExit = 16423, kCopy = 16424, kPaste = 16425, kCustomize = 16426,
               kClose = 16427, kRotate = 16428, kDelete = 16429, kPlay = 16430, kStop = 16431;
constexpr int kGridView = 1, kAlbumView = 2;

struct Notice {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class CHostFrame : public CPlxMDIFrameWnd {
 public:
  CPlxMenuBar m_wndMenuBar;
  CPlxToolBar m_wndTools;
  CPlxToolBar m_wndPictures;
  std::vector<Notice> notices;
  std::vector<UINT> commands;
  LRESULT resetMenuAnswer = 0;

  int Count(UINT message) const {
    int n = 0;
    for (const Notice& notice : notices) n += notice.message == message;
    return n;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != 0 && (message == PLX_WM_RESETMENU || message == PLX_WM_RESETCONTEXTMENU ||
                         message == PLX_WM_RESETKEYBOARD)) {
      notices.push_back({message, wParam, lParam});
      return message == PLX_WM_RESETMENU ? resetMenuAnswer : 0;
    }
    if (message == WM_COMMAND && lParam == 0) {
      commands.push_back(LOWORD(wParam));
      return 0;
    }
    if (message == WM_CREATE) {
      const LRESULT result = CPlxMDIFrameWnd::WindowProc(message, wParam, lParam);
      if (result != -1) MakeBars();
      return result;
    }
    return CPlxMDIFrameWnd::WindowProc(message, wParam, lParam);
  }

  void MakeBars() {
    EnableDocking(CBRS_ALIGN_ANY);
    m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC);
    if (m_wndMenuBar.GetMenu() == nullptr) m_wndMenuBar.CreateFromMenu(m_hMenuDefault, TRUE);
    ::SetMenu(m_hWnd, nullptr);
    m_wndMenuBar.SetDefaultMenuResId(kFrameRes);
    m_wndTools.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, 16440);
    m_wndTools.InsertButton(CPlxToolbarButton(kNew, -1, "New Show"));
    m_wndTools.InsertButton(CPlxToolbarButton(kOpen, -1, "Open"));
    m_wndTools.SetWindowText("Show");
    m_wndPictures.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, 16441);
    m_wndPictures.InsertButton(CPlxToolbarButton(kRotate, -1, "Rotate"));
    m_wndPictures.SetWindowText("Pictures");
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndTools, AFX_IDW_DOCKBAR_TOP);
    DockControlBar(&m_wndPictures, AFX_IDW_DOCKBAR_TOP);
  }
};

// Answers every message box with g_answer as it opens and keeps its text.
inline std::vector<std::string> g_boxTexts;
inline WPARAM g_answer = IDYES;
inline HHOOK g_hook = nullptr;

inline LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (HWND text = ::GetDlgItem(window, pictavo::user::kMessageBoxTextId)) {
      char buffer[512] = {};
      ::GetWindowText(text, buffer, sizeof buffer);
      g_boxTexts.emplace_back(buffer);
      ::PostMessage(window, WM_COMMAND, g_answer, 0);
    }
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// Everything one test needs; the sheet is made by Open.
class KeysHost {
 public:
  explicit KeysHost(BOOL withContextMenus = TRUE, BOOL withMouse = TRUE) {
    customize_test::StartDisplay();
    if (PLX_WM_RESETMENU == 0) PlxRegisterToolbarMessages();
    CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::NoAnimation;
    app = std::make_unique<CWinApp>("KeysTest");
    g_boxTexts.clear();
    g_answer = IDYES;
    g_hook = ::SetWindowsHookEx(WH_CBT, AnswerBoxes, nullptr, ::GetCurrentThreadId());
    keyboard = std::make_unique<CPlxKeyboardManager>();
    if (withContextMenus) {
      contextMenus = std::make_unique<CPlxContextMenuManager>();
      contextMenus->AddMenu("Photo", kPhotoMenu);
      contextMenus->AddMenu("Track", kTrackMenu);
    }
    if (withMouse) {
      mouse = std::make_unique<CPlxMouseManager>();
      mouse->AddView(kGridView, "Grid");
      mouse->AddView(kAlbumView, "Album");
    }
    pictures = new CMultiDocTemplate(kPictureRes, nullptr, nullptr, nullptr);
    app->AddDocTemplate(pictures);
    frame = new CHostFrame;
    frame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    frame->SetWindowPos(nullptr, 0, 0, 640, 420, SWP_NOZORDER);
    frame->RecalcLayout();
    app->m_pMainWnd = frame;
    pictavo::test::PumpPending();
  }
  ~KeysHost() {
    if (g_pActiveCustomizeSheet != nullptr && g_pActiveCustomizeSheet->GetSafeHwnd() != nullptr)
      g_pActiveCustomizeSheet->DestroyWindow();
    pictavo::test::PumpPending();
    if (frame->GetSafeHwnd() != nullptr) frame->DestroyWindow();
    pictavo::test::PumpPending();
    delete frame;
    app->m_pMainWnd = nullptr;
    ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    mouse.reset();
    contextMenus.reset();
    keyboard.reset();
    CPlxKeyboardManager::CleanUp();
    g_menuTempStore.CleanUp();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::DestroyInstance();
    CPlxToolBar::m_bCustomizeMode = FALSE;
  }
  KeysHost(const KeysHost&) = delete;
  KeysHost& operator=(const KeysHost&) = delete;

  // The sheet, open, on the page of type T.
  template <class T>
  T* Open(T* (CPlxToolbarCustomize::*page)() const, UINT options = 0) {
    sheet = new CPlxToolbarCustomize(frame, TRUE, options);
    if (!sheet->ShowModeless()) return nullptr;
    pictavo::test::PumpPending();
    T* shown = (sheet->*page)();
    if (shown == nullptr || !sheet->SetActivePage(shown)) return nullptr;
    pictavo::test::PumpPending();
    return shown;
  }
  void Close() {
    if (sheet != nullptr && sheet->GetSafeHwnd() != nullptr) sheet->DestroyWindow();
    sheet = nullptr;
    pictavo::test::PumpPending();
  }

  std::unique_ptr<CWinApp> app;
  std::unique_ptr<CPlxKeyboardManager> keyboard;
  std::unique_ptr<CPlxContextMenuManager> contextMenus;
  std::unique_ptr<CPlxMouseManager> mouse;
  CMultiDocTemplate* pictures = nullptr;  // the application owns it
  CHostFrame* frame = nullptr;            // owned
  CPlxToolbarCustomize* sheet = nullptr;  // deletes itself with its window
};

}  // namespace keys_test
