// A timeline on an album options page on the headless display: the page holds the album the
// timeline shows, the timeline sits at the page's bottom, and message boxes and slide dialogs are
// answered as they open (their captions noted).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "albums/AlbumOptionsOneDlg.h"
#include "editing/TLMusicTrack.h"
#include "editing/TimelineCtrl.h"
#include "editing/TimelineItems.h"
#include "editing/TimelineTracks.h"
#include "editing/TransitionControls.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/AfxImageList.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/kernel/Module.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/MessageBox.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/SkinMinor.h"
#include "shell/TransitionList.h"
#include "tests/support/MessagePump.h"

namespace timelinetest {

inline std::string Source(const std::string& part) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/" + part;
}

// Captions of the modal windows that opened, each answered with g_answer.
inline std::vector<std::string> g_opened;
inline std::vector<std::string> g_boxTexts;
inline WPARAM g_answer = IDCANCEL;
inline HHOOK g_hook = nullptr;

inline LRESULT CALLBACK AnswerModals(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char caption[256] = {}, text[256] = {};
    GetWindowText(window, caption, sizeof caption);
    GetWindowText(GetDlgItem(window, pictavo::user::kMessageBoxTextId), text, sizeof text);
    if (caption[0] != '\0') g_opened.emplace_back(caption);
    if (text[0] != '\0') g_boxTexts.emplace_back(text);
    if (caption[0] != '\0') PostMessage(window, WM_COMMAND, g_answer, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Kinds of the photo track's items in order: T title, t transition, p photo, C credit.
inline std::string Kinds(const CTLTrack& track) {
  std::string kinds;
  for (int i = 0; i < track.GetCount(); ++i) {
    CTimelineItem* item = track.GetItem(i);
    kinds += item->IsKindOf(RUNTIME_CLASS(CTLTitleItem))        ? 'T'
             : item->IsKindOf(RUNTIME_CLASS(CTLTransitionItem)) ? 't'
             : item->IsKindOf(RUNTIME_CLASS(CTLPhotoItem))      ? 'p'
             : item->IsKindOf(RUNTIME_CLASS(CTLCreditItem))     ? 'C'
                                                                : '?';
  }
  return kinds;
}

class TimelineTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 760;

  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
    pictavo::shell::SetLanguageRoot(Source("data"));
    g_skinMinor.Load(Source("data").c_str(), "zel_en.xml", FALSE);
    if (GetTransitionList()->GetSize() == 0) LoadBuiltInTransitions(bin != nullptr ? bin : ".");
    // The timeline reads its item pictures beside the executable, as the program does from its
    // folder; the test binaries live one folder away from the program's data.
    const std::filesystem::path images = std::filesystem::path(pictavo::ExecutableFolder()) / "images";
    std::error_code error;
    if (bin != nullptr && !std::filesystem::exists(images, error))
      std::filesystem::create_directory_symlink(std::filesystem::path(bin) / "images", images, error);
  }

  void SetUp() override {
    g_opened.clear();
    g_boxTexts.clear();
    g_answer = IDCANCEL;
    g_hook = SetWindowsHookEx(WH_CBT, AnswerModals, nullptr, GetCurrentThreadId());
    pictavo::user::InjectMouseMove(POINT{1020, 760});
    ASSERT_TRUE(
        m_owner.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, kWidth, 300), nullptr, 0));
    ASSERT_TRUE(m_page.Create(IDD_ALBUM_OPTIONS_ONE, &m_owner));
    m_page.MoveWindow(0, 0, kWidth, 300);
    m_page.ShowWindow(SW_SHOW);
    m_album = GetProject()->AllocImageAlbum(nullptr);
    GetProject()->AddAlbum(m_album);
    m_page.SetAlbum(m_album);

    m_icons.Create(TRANSITION_ICON_WIDTH, TRANSITION_ICON_HEIGHT, ILC_COLOR24, 4, 4);
    for (int i = 0; i < GetTransitionList()->GetSize(); ++i) {
      m_icons.Add(CBitmap::FromHandle(GetTransitionList()->GetAt(i)->hIcon), CLR_NONE);
    }
    const int height =
        CTimelineCtrl::kMusicTrackTop + CTimelineCtrl::kMusicTrackHeight + GetSystemMetrics(SM_CYHSCROLL);
    ASSERT_TRUE(m_timeline.CreateEx(0, "CTimelineCtrl", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL,
                                    CRect(4, 300 - height - 4, kWidth - 4, 300 - 4), &m_page, IDC_TIMELINE));
    m_timeline.Init(&m_icons);
  }

  void TearDown() override {
    m_timeline.DestroyWindow();
    m_page.DestroyWindow();
    m_owner.DestroyWindow();
    GetProject()->DeleteAlbum(m_album);
    UnhookWindowsHookEx(g_hook);
    pictavo::test::PumpPending();
  }

  CDVDImage* AddSlide(int one = -1, int two = -1, const char* photo = nullptr) {
    auto* slide = new CDVDImage(m_album);
    slide->Put_strPathName(
        Source(std::string("samples/media/") + (photo ? photo : "beach_landscape.jpg")).c_str());
    slide->Put_nOneDuration(one);
    slide->Put_nTwoDuration(two);
    m_album->AddDVDImage(slide);
    return slide;
  }
  void SetTitles(int titleSeconds, int creditSeconds) {
    auto set = [](_ALBUM_TEXT_SETTINGS* s, int seconds) {
      s->bEnabled = seconds > 0;
      s->nDuration = seconds;
    };
    set(m_album->GetAlbumEffect()->GetTitleSettings(), titleSeconds);
    set(m_album->GetAlbumEffect()->GetCreditSettings(), creditSeconds);
  }
  _AUDIO_SOURCE Clip(const char* name, int start, int length) {
    _AUDIO_SOURCE s;
    s.strPathName = Source(std::string("samples/media/") + name).c_str();
    s.nSourceLength = length * 2;
    s.nTrimStart = 0;
    s.nTrimEnd = length;
    s.nStartPos = start;
    return s;
  }

  // The page's rebuild request, the paint that runs it and the posted follow-ups.
  void Rebuild() {
    m_timeline.SendMessage(WM_TIMELINE_REBUILD, 0, 0);
    m_timeline.UpdateWindow();
    pictavo::test::PumpPending();
  }

  CTransitionPreviewStatic& Preview() {
    return *dynamic_cast<CTransitionPreviewStatic*>(
        CWnd::FromHandlePermanent(m_page.GetDlgItem(IDC_OPTIONS_PREVIEW)->m_hWnd));
  }
  CTLPhotoTrack& Photos() { return *m_timeline.GetPhotoTrack(); }
  CTLMusicTrack& Music() { return *m_timeline.GetMusicTrack(); }
  // The centre of a photo-track item on the screen, scrolled as the timeline is now.
  POINT ScreenPointOf(const CTimelineItem* item, int dx = 0, int dy = 0) {
    CPoint p((item->m_rcLayout.left + item->m_rcLayout.right) / 2 - m_timeline.GetScrollPosition() + dx,
             (item->m_rcLayout.top + item->m_rcLayout.bottom) / 2 + dy);
    m_timeline.ClientToScreen(&p);
    return p;
  }

  CWnd m_owner;
  AlbumOptionsOneDlg m_page;
  CTimelineCtrl m_timeline;
  CImageList m_icons;
  CDVDAlbumImage* m_album = nullptr;
};

}  // namespace timelinetest
