// The pan-and-zoom preview and pages on the headless display, hosted by a plain owner window the
// way the photo configuration dialog hosts them: an album in the project, the skins loaded,
// GDI+ started, message boxes answered with OK (their texts noted) and input handled by a pump
// that pre-translates as the dialog's modal loop does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/image/CxImage.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/MessageBox.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "shell/SkinMinor.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"

namespace panzoomtest {

inline std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

inline std::vector<std::string> g_boxTexts;
inline HHOOK g_hook = nullptr;

inline LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (HWND text = GetDlgItem(window, pictavo::user::kMessageBoxTextId)) {
      char buffer[256] = {};
      GetWindowText(text, buffer, sizeof buffer);
      g_boxTexts.emplace_back(buffer);
      PostMessage(window, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Pages whose keyboard navigation the host does, as the photo configuration dialog does for the
// pages inside it (pages leave Tab and the arrows to the dialog around them).
inline std::vector<HWND> g_pages;

// Handles what is queued, pre-translating keys as a modal loop does (Enter reaches the pages).
inline void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (AfxPreTranslateMessage(&msg)) continue;
    const auto page =
        std::find_if(g_pages.begin(), g_pages.end(), [&](HWND p) { return IsChild(p, msg.hwnd); });
    if (page != g_pages.end() && IsDialogMessage(*page, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

inline void PressKey(UINT key) {
  pictavo::user::InjectKey({key, true});
  pictavo::user::InjectKey({key, false});
  Pump();
}

// The window as the user sees it, as a PNG under test-output, read back.
inline pictavo::test::Picture Snapshot(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  RECT rect{};
  GetWindowRect(window, &rect);
  pictavo::test::Picture picture;
  EXPECT_TRUE(pictavo::test::ReadPng(pictavo::test::SaveDesktopArea(rect, name), &picture)) << name;
  return picture;
}

// A picture of one colour.
inline CxImage Plain(int width, int height, COLORREF colour) {
  CxImage picture;
  if (width > 0 && height > 0) {
    picture.Create(width, height, 24);
    picture.Fill(colour);
  }
  return picture;
}

class PanZoomTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    g_skinMain.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&s_gdiplus, &input, nullptr);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_gdiplus); }

  void SetUp() override {
    g_boxTexts.clear();
    g_pages.clear();
    g_hook = SetWindowsHookEx(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    ASSERT_TRUE(
        m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 900, 640), nullptr, 0));
    m_album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(m_album);
    m_aspect = GetProject()->GetOptionsData()->nAspectCorrection;
    m_scaleMode = GetProject()->GetOptionsData()->nPhotoScaleMode;
    GetProject()->GetOptionsData()->nPhotoScaleMode = 0;  // fit: letterboxes show
  }

  void TearDown() override {
    GetProject()->GetOptionsData()->nAspectCorrection = m_aspect;
    GetProject()->GetOptionsData()->nPhotoScaleMode = m_scaleMode;
    m_owner.DestroyWindow();
    GetProject()->DeleteAlbum(m_album);
    UnhookWindowsHookEx(g_hook);
    Pump();
  }

  CDVDImage* AddSlide(int kind = DVD_PANZOOM_ALBUM, const _tagPhotoPanZoomSaveParam* saved = nullptr) {
    auto* slide = new CDVDImage(m_album);
    slide->Put_strPathName(Source("samples/media/beach_landscape.jpg").c_str());
    slide->Set_nPanZoom(kind, saved);
    m_album->AddDVDImage(slide);
    return slide;
  }

  static inline ULONG_PTR s_gdiplus = 0;
  CWnd m_owner;
  CDVDAlbumImage* m_album = nullptr;
  int m_aspect = 0;
  int m_scaleMode = 0;
};

}  // namespace panzoomtest
