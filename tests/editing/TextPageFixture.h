// The photo editor's text page on the headless display, hosted as the photo configuration dialog
// hosts it: a child of a window, sharing a text style record with a canvas that shows a slide.
// The styles and textures beside the test binaries are the program's own (data/texteffect).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditOperTextPage.h"
#include "shell/AppSettings.h"
#include "tests/editing/SlideDialogFixture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

namespace textpagetest {

using namespace slidedialogtest;

class TextPageTest : public SlideDialogTest {
 protected:
  static void SetUpTestSuite() {
    SlideDialogTest::SetUpTestSuite();
    // The page reads texteffect/ beside the executable; the test binaries live one folder away
    // from the program's data.
    const std::filesystem::path folder = std::filesystem::path(pictavo::ExecutableFolder()) / "texteffect";
    std::error_code error;
    if (!std::filesystem::exists(folder, error))
      std::filesystem::create_directory_symlink(timelinetest::Source("data/texteffect"), folder, error);
  }
  void SetUp() override {
    SlideDialogTest::SetUp();
    // The host stands in for the photo editor: the album options page the timeline fixture shows
    // in it would lie under the canvas and the text page.
    timelinetest::TimelineTest::m_page.ShowWindow(SW_HIDE);
    GetAppSettings()->TextFont.Font = _DVDImageTextFont{};
    CDVDImageText::SetDefaultTextFontData(&GetAppSettings()->TextFont.Font);
  }
  void TearDown() override {
    if (m_page) {
      m_page->DestroyWindow();
      m_page.reset();
    }
    if (m_canvas) {
      m_canvas->DestroyWindow();
      m_canvas.reset();
    }
    SlideDialogTest::TearDown();
  }

  // The page as the dialog makes it, shown at the foot of the host window.
  CPhotoEditOperTextPage& OpenPage() {
    m_page = std::make_unique<CPhotoEditOperTextPage>(&m_font);
    if (m_canvas) m_page->SetCanvas(m_canvas.get());
    EXPECT_TRUE(m_page->Create(IDD_PHOTO_EDIT_TEXT, &m_owner));
    m_page->MoveWindow(0, 380, 680, 146);
    m_page->ShowWindow(SW_SHOW);
    if (m_canvas) m_canvas->SetTextPage(m_page.get());
    pictavo::test::PumpPending();
    return *m_page;
  }
  // A canvas over the top of the host window showing a new slide.
  CPhotoEditCanvas& OpenCanvas() {
    m_canvas = std::make_unique<CPhotoEditCanvas>();
    EXPECT_TRUE(m_canvas->Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 480, 360), &m_owner,
                                 IDC_PHOTO_EDIT_CANVAS));
    m_canvas->SetScaleFactor(&m_scale);
    m_canvas->SetTextFontData(&m_font);
    m_canvas->SetAlbum(m_album);
    m_canvas->SetImage(AddSlide());
    pictavo::test::PumpPending();
    return *m_canvas;
  }

  HWND Page() const { return m_page->m_hWnd; }
  int Selection() const {
    return static_cast<int>(SendMessage(GetDlgItem(Page(), IDC_TEXT_EFFECT_LIST), LB_GETCURSEL, 0, 0));
  }
  int StyleCount() const {
    return static_cast<int>(SendMessage(GetDlgItem(Page(), IDC_TEXT_EFFECT_LIST), LB_GETCOUNT, 0, 0));
  }
  // A style clicked (or double-clicked) in the list.
  void PickStyle(int index, bool twice = false) {
    HWND list = GetDlgItem(Page(), IDC_TEXT_EFFECT_LIST);
    SendMessage(list, LB_SETCURSEL, index, 0);
    SendMessage(Page(), WM_COMMAND, MAKEWPARAM(IDC_TEXT_EFFECT_LIST, LBN_SELCHANGE),
                reinterpret_cast<LPARAM>(list));
    if (twice)
      SendMessage(Page(), WM_COMMAND, MAKEWPARAM(IDC_TEXT_EFFECT_LIST, LBN_DBLCLK),
                  reinterpret_cast<LPARAM>(list));
    pictavo::test::PumpPending();
  }
  // The style the shipped list holds at `index`.
  const _TextEffect& ShippedStyle(int index) { return *m_page->GetEffectList().GetStyle(index); }

  pictavo::test::ScratchDir m_folder;
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_folder / "config").c_str()};
  _DVDImageTextFont m_font{};
  float m_scale = 1.0f;
  std::unique_ptr<CPhotoEditCanvas> m_canvas;
  std::unique_ptr<CPhotoEditOperTextPage> m_page;
};

}  // namespace textpagetest
