// The status bar at the bottom of a frame: pane widths (stretch, overflow, icons), the size grip,
// pane texts and the window text of pane 0, icon animations stepped by timer messages, the
// double-click command, and what the panes look like (compared with a checked-in picture;
// PICTAVO_WRITE_REFERENCES=1 writes it anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxStatusBar.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::PumpPending;

constexpr int kWidth = 400;
constexpr UINT kPhotosPane = 0x7101, kAnimationPane = 0x7102, kCapsPane = 0x7103;
const COLORREF kFrameColours[] = {RGB(220, 40, 40), RGB(40, 160, 60), RGB(40, 80, 220)};

HICON MakeIcon(int size, COLORREF colour) {
  const DWORD argb = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  std::vector<DWORD> bits(static_cast<size_t>(size * size), argb);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(size, size, 1, 32, bits.data());
  info.hbmMask = CreateBitmap(size, size, 1, 1, nullptr);
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

// Three 16 x 16 frames of the three colours; the caller destroys the list.
HIMAGELIST MakeFrames() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (COLORREF colour : kFrameColours) {
    HICON icon = MakeIcon(16, colour);
    ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
  }
  return list;
}

// Counts its paints, so that a change that repaints nothing shows.
class CCountingStatusBar : public CPlxStatusBar {
 public:
  int m_nPaints = 0;
  void DoPaint(CDC* pDC) override {
    ++m_nPaints;
    CPlxStatusBar::DoPaint(pDC);
  }
};

// A frame that records the commands its bars post.
class CStatusHost : public CFrameWnd {
 public:
  std::vector<UINT> m_commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= kPhotosPane &&
        LOWORD(wParam) <= kCapsPane) {
      m_commands.push_back(LOWORD(wParam));
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

struct Pane {
  UINT nID;
  UINT nStyle;
  int cxText;
  int cxIcon;  // 0: none; else an icon of that size
};

class PlxStatusBar : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  }
  void SetUp() override { CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager)); }
  void TearDown() override {
    m_bar.reset();
    if (m_frame.GetSafeHwnd() != nullptr) m_frame.DestroyWindow();
    PumpPending();
    for (HICON icon : m_icons) DestroyIcon(icon);
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // A frame (sizable or not) with a status bar of the panes, laid out.
  void Make(const std::vector<Pane>& panes, BOOL bSizable = FALSE, DWORD dwAlign = CBRS_BOTTOM) {
    m_bar.reset();
    if (m_frame.GetSafeHwnd() != nullptr) m_frame.DestroyWindow();
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | (bSizable ? WS_THICKFRAME : 0);
    ASSERT_TRUE(
        m_frame.Create(nullptr, "Status", style, CRect(20, 200, 20 + kWidth, 320), nullptr, nullptr, 0));
    m_bar = std::make_unique<CCountingStatusBar>();
    ASSERT_TRUE(m_bar->Create(&m_frame, WS_CHILD | WS_VISIBLE | dwAlign));
    std::vector<UINT> ids;
    for (const Pane& p : panes) ids.push_back(p.nID);
    ASSERT_TRUE(m_bar->SetIndicators(ids.data(), static_cast<int>(ids.size())));
    for (int i = 0; i < static_cast<int>(panes.size()); ++i) {
      m_bar->SetPaneInfo(i, panes[i].nID, panes[i].nStyle, panes[i].cxText);
      if (panes[i].cxIcon > 0) m_bar->SetPaneIcon(i, Icon(panes[i].cxIcon, RGB(60, 140, 220)), FALSE);
    }
    m_frame.RecalcLayout();
    PumpPending();
  }
  HICON Icon(int size, COLORREF colour) {
    m_icons.push_back(MakeIcon(size, colour));
    return m_icons.back();
  }
  CRect PaneRect(int index) const {
    CRect rect;
    m_bar->GetItemRect(index, rect);
    return rect;
  }
  // The pixel of the bar's client point as the desktop shows it.
  COLORREF ScreenPixel(CPoint client) const {
    m_bar->ClientToScreen(&client);
    const auto display = pictavo::user::GetDisplay();
    const auto desktop = pictavo::display::ComposeDesktop(display->DesktopSize());
    const uint32_t p = desktop->Row(client.y)[static_cast<size_t>(client.x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  CPoint IconCentre(int index) const {
    const CRect pane = PaneRect(index);
    return CPoint(pane.left + 2 + 8, pane.CenterPoint().y);
  }

  CStatusHost m_frame;
  std::unique_ptr<CCountingStatusBar> m_bar;
  std::vector<HICON> m_icons;
};

TEST_F(PlxStatusBar, PanesShareTheWidthFromTheLeft) {
  const struct {
    const char* name;
    std::vector<Pane> panes;
    std::vector<std::pair<int, int>> spans;  // left, right of each pane; (0, 0) for an empty one
  } kCases[] = {
      {"one stretch pane takes all the free width",
       {{ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 100, 0}, {kCapsPane, 0, 50, 0}},
       {{0, 238}, {240, 344}, {346, 400}}},
      {"a second stretch pane gets none",
       {{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, SBPS_STRETCH, 30, 0}, {kCapsPane, 0, 50, 0}},
       {{0, 308}, {310, 344}, {346, 400}}},
      {"an icon and a text keep four pixels between them",
       {{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 40, 16}},
       {{0, 334}, {336, 400}}},
      {"panes past the right edge are empty",
       {{kPhotosPane, 0, 300, 0}, {kAnimationPane, 0, 200, 0}, {kCapsPane, 0, 100, 0}},
       {{0, 304}, {306, 401}, {0, 0}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Make(c.panes);
    ASSERT_TRUE(m_bar->m_bNoSizeBox) << "a frame that cannot be sized shows no grip";
    EXPECT_TRUE(m_bar->m_rectSizeBox.IsRectEmpty());
    for (size_t i = 0; i < c.spans.size(); ++i) {
      const CRect rect = PaneRect(static_cast<int>(i));
      EXPECT_EQ(rect.left, c.spans[i].first) << "pane " << i;
      EXPECT_EQ(rect.right, c.spans[i].second) << "pane " << i;
      if (!rect.IsRectEmpty()) EXPECT_EQ(rect.top, m_bar->m_cyTopBorder) << "pane " << i;
    }
  }
  // The last case: no point of the bar hits the empty pane.
  CRect client;
  m_bar->GetClientRect(client);
  for (int x = client.left; x < client.right + 5; ++x)
    EXPECT_NE(m_bar->HitTest(CPoint(x, client.CenterPoint().y)), m_bar->GetPane(2)) << x;
  EXPECT_EQ(m_bar->HitTest(CPoint(350, client.CenterPoint().y)), m_bar->GetPane(1));
}

// A pane that loses its image (an icon taken away, an animation ended) is as wide as its text
// again, and the stretch pane takes the room back.
TEST_F(PlxStatusBar, APaneWithoutItsImageNarrowsToItsText) {
  const struct {
    const char* name;
    std::function<void(CPlxStatusBar&)> image, drop;
  } kCases[] = {
      {"icon taken away", [this](CPlxStatusBar& bar) { bar.SetPaneIcon(1, Icon(16, RGB(60, 140, 220))); },
       [](CPlxStatusBar& bar) { bar.SetPaneIcon(1, nullptr); }},
      {"animation ended",
       [](CPlxStatusBar& bar) {
         HIMAGELIST frames = MakeFrames();
         bar.SetPaneAnimation(1, frames, 300);
         ImageList_Destroy(frames);
       },
       [](CPlxStatusBar& bar) { bar.SetPaneAnimation(1, nullptr); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Make({{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 40, 0}});
    const CRect textOnly = PaneRect(1), stretch = PaneRect(0);
    c.image(*m_bar);
    PumpPending();
    EXPECT_EQ(PaneRect(1).Width(), textOnly.Width() + 16 + 4);
    c.drop(*m_bar);
    PumpPending();
    EXPECT_EQ(PaneRect(1), textOnly);
    EXPECT_EQ(PaneRect(0), stretch);
    EXPECT_NE(ScreenPixel(IconCentre(1)), RGB(60, 140, 220)) << "no image left on the screen";
  }
}

TEST_F(PlxStatusBar, TheGripShowsOnlyAtTheCornerOfASizableFrame) {
  const std::vector<Pane> panes = {{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 60, 0}};
  const struct {
    const char* name;
    BOOL bSizable;
    DWORD dwAlign;
    bool grip;
  } kCases[] = {
      {"sizable frame, bar at the bottom", TRUE, CBRS_BOTTOM, true},
      {"frame that cannot be sized", FALSE, CBRS_BOTTOM, false},
      {"bar at the top of an otherwise empty frame", TRUE, CBRS_TOP, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Make(panes, c.bSizable, c.dwAlign);
    EXPECT_EQ(!m_bar->m_bNoSizeBox, c.grip);
    EXPECT_EQ(!m_bar->m_rectSizeBox.IsRectEmpty(), c.grip);
    CRect client;
    m_bar->GetClientRect(client);
    CPoint corner(client.right - 2, client.bottom - 2);
    m_bar->ClientToScreen(&corner);
    const LRESULT hit = m_bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
    EXPECT_EQ(hit == HTBOTTOMRIGHT, c.grip) << hit;
    if (c.grip) {
      // The panes end where the grip begins.
      EXPECT_EQ(PaneRect(1).right, m_bar->m_rectSizeBox.left);
      EXPECT_EQ(m_bar->m_rectSizeBox.right, client.right);
    }
  }

  // A second bottom bar, laid out after the first, sits above it, away from the corner.
  CPlxStatusBar above;
  const UINT id = ID_SEPARATOR;
  Make(panes, TRUE, CBRS_BOTTOM);
  ASSERT_TRUE(above.Create(&m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR + 1));
  above.SetIndicators(&id, 1);
  m_frame.RecalcLayout();
  PumpPending();
  CRect mine, other;
  m_bar->GetWindowRect(mine);
  above.GetWindowRect(other);
  ASSERT_LE(other.bottom, mine.top);
  EXPECT_FALSE(m_bar->m_bNoSizeBox);
  EXPECT_TRUE(above.m_bNoSizeBox);
  EXPECT_TRUE(above.m_rectSizeBox.IsRectEmpty());
}

TEST_F(PlxStatusBar, TheGripPullsTheMirroredCornerOnlyInARightToLeftBar) {
  Make({{ID_SEPARATOR, SBPS_STRETCH, 0, 0}}, TRUE);
  ASSERT_FALSE(m_bar->m_bNoSizeBox);
  const struct {
    const char* name;
    DWORD exStyle;
    LRESULT hit;
  } kCases[] = {
      {"no extended style", 0, HTBOTTOMRIGHT},
      {"an extended style that does not mirror", WS_EX_NOPARENTNOTIFY, HTBOTTOMRIGHT},
      {"mirrored", WS_EX_LAYOUTRTL, HTBOTTOMLEFT},
  };
  for (const auto& c : kCases) {
    m_bar->ModifyStyleEx(WS_EX_NOPARENTNOTIFY | WS_EX_LAYOUTRTL, c.exStyle);
    CRect client;
    m_bar->GetClientRect(client);
    CPoint corner(client.right - 2, client.bottom - 2);
    m_bar->ClientToScreen(&corner);
    EXPECT_EQ(m_bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), c.hit) << c.name;
  }
}

TEST_F(PlxStatusBar, PaneTextsRepaintOnlyWhenTheyChange) {
  Make({{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 80, 0}});
  const struct {
    const char* name;
    const char* text;
    bool repaints;
    const char* after;
  } kSteps[] = {
      {"an empty pane given an empty text", "", false, ""},
      {"an empty pane given no text", nullptr, false, ""},
      {"a new text", "12 photos", true, "12 photos"},
      {"the same text again", "12 photos", false, "12 photos"},
      {"another text", "13 photos", true, "13 photos"},
      {"cleared", "", true, ""},
  };
  for (const auto& s : kSteps) {
    const int before = m_bar->m_nPaints;
    EXPECT_TRUE(m_bar->SetPaneText(1, s.text)) << s.name;
    EXPECT_EQ(m_bar->m_nPaints > before, s.repaints) << s.name;
    EXPECT_EQ(m_bar->GetPaneText(1), s.after) << s.name;
  }
  EXPECT_EQ(m_bar->GetPane(1)->lpszText, nullptr) << "an empty text is kept as none";
  EXPECT_FALSE(m_bar->SetPaneText(2, "x")) << "no such pane";
  EXPECT_FALSE(m_bar->SetPaneText(-1, "x"));

  m_bar->SetTipText(1, "Photos in the album");
  EXPECT_EQ(m_bar->GetTipText(1), "Photos in the album");
  EXPECT_TRUE(m_bar->GetBarStyle() & CBRS_TOOLTIPS);
}

TEST_F(PlxStatusBar, TheWindowTextIsTheTextOfPaneZero) {
  Make({{0, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 80, 0}});
  EXPECT_EQ(m_bar->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready")), 0);
  EXPECT_EQ(m_bar->GetPaneText(0), "Ready");
  EXPECT_EQ(m_bar->SendMessage(WM_GETTEXTLENGTH), 5);
  EXPECT_EQ(pictavo::user::WindowText(m_bar->GetSafeHwnd()), "Ready") << "no stray NUL in the text read back";
  const struct {
    int size;
    LRESULT copied;
    const char* text;
  } kBuffers[] = {
      {0, 0, "untouched"}, {1, 0, ""},
      {5, 4, "Read"},  // exactly the text's length: all but the last character, and the NUL
      {6, 5, "Ready"},     {64, 5, "Ready"},
  };
  for (const auto& b : kBuffers) {
    char buffer[64] = "untouched";
    EXPECT_EQ(m_bar->SendMessage(WM_GETTEXT, static_cast<WPARAM>(b.size), reinterpret_cast<LPARAM>(buffer)),
              b.copied)
        << b.size;
    EXPECT_STREQ(buffer, b.text) << b.size;
  }

  // Without a pane 0 the bar has no text to set or give.
  Make({{kPhotosPane, SBPS_STRETCH, 0, 0}});
  EXPECT_EQ(m_bar->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready")), -1);
  char buffer[8] = "x";
  EXPECT_EQ(m_bar->SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(m_bar->SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(PlxStatusBar, AnAnimationStepsOneFramePerTimerMessage) {
  Make({{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kAnimationPane, 0, 0, 0}, {kCapsPane, 0, 30, 0}});
  HIMAGELIST frames = MakeFrames();
  m_bar->SetPaneAnimation(1, frames, 300);
  ImageList_Destroy(frames);  // the pane keeps copies
  PumpPending();
  const PlxStatusPane* pane = m_bar->GetPane(1);
  ASSERT_EQ(pane->nFrameCount, 3);
  EXPECT_EQ(pane->cxIcon, 16);
  EXPECT_EQ(PaneRect(1).Width(), 16 + 4) << "the pane makes room for the frames";
  EXPECT_EQ(ScreenPixel(IconCentre(1)), kFrameColours[0]);

  const struct {
    UINT timer;
    int frame;
  } kTicks[] = {
      {kAnimationPane, 1}, {kCapsPane, 1}, {kAnimationPane, 2}, {kAnimationPane, 0}, {kAnimationPane, 1}};
  for (const auto& t : kTicks) {
    m_bar->SendMessage(WM_TIMER, t.timer);
    EXPECT_EQ(pane->nCurrFrame, t.frame) << t.timer;
    EXPECT_EQ(ScreenPixel(IconCentre(1)), kFrameColours[t.frame]) << "the icon area is drawn again at once";
  }

  // An icon stops the animation.
  m_bar->SetPaneIcon(1, Icon(16, RGB(250, 200, 0)));
  EXPECT_EQ(pane->nFrameCount, 0);
  m_bar->SendMessage(WM_TIMER, kAnimationPane);
  EXPECT_EQ(pane->nCurrFrame, 0);
  EXPECT_EQ(ScreenPixel(IconCentre(1)), RGB(250, 200, 0));
  // An empty list leaves the pane without image.
  m_bar->SetPaneAnimation(1, nullptr);
  EXPECT_EQ(pane->hImageList, nullptr);
}

TEST_F(PlxStatusBar, ADoubleClickOnAPanePostsItsCommandWhenAsked) {
  Make({{ID_SEPARATOR, SBPS_STRETCH, 0, 0}, {kPhotosPane, 0, 80, 0}});
  const auto doubleClick = [this](CPoint client) {
    m_bar->ClientToScreen(&client);
    pictavo::user::InjectMouseMove(client);
    for (bool down : {true, false, true, false})
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, down);
    PumpPending();
  };
  doubleClick(PaneRect(1).CenterPoint());
  EXPECT_TRUE(m_frame.m_commands.empty());
  m_bar->m_bDblClkCommand = TRUE;
  doubleClick(PaneRect(1).CenterPoint());
  EXPECT_EQ(m_frame.m_commands, std::vector<UINT>{kPhotosPane});
}

TEST_F(PlxStatusBar, LooksLikeItsReference) {
  Make({{0, SBPS_NOBORDERS | SBPS_STRETCH, 0, 0},
        {kPhotosPane, 0, 70, 0},
        {kAnimationPane, 0, 0, 0},
        {kCapsPane, 0, 30, 0}},
       TRUE);
  m_bar->SetWindowText("Ready");
  m_bar->SetPaneText(1, "12 photos");
  m_bar->SetPaneIcon(1, Icon(16, RGB(60, 140, 220)));
  HIMAGELIST frames = MakeFrames();
  m_bar->SetPaneAnimation(2, frames, 300);
  ImageList_Destroy(frames);
  m_bar->SendMessage(WM_TIMER, kAnimationPane);
  m_bar->SetPaneText(3, "CAP");
  m_frame.RecalcLayout();  // the icons make the bar taller than its text
  m_frame.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPending();

  CRect rect;
  m_bar->GetWindowRect(rect);
  const std::string name = "status-panes.png";
  const std::string path = pictavo::test::SaveDesktopArea(rect, name);
  ASSERT_FALSE(path.empty());
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
  pictavo::test::Canvas canvas(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.At(x, y);
      canvas.Pixel(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  const std::string reference = std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
  const char* write = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (write != nullptr && std::string(write) == "1")
    ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
  EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
}

}  // namespace
