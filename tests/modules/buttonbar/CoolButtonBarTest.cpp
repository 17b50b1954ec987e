#include <string>

#include "BarFixture.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/display/InputSynth.h"
#include "platform/user/Display.h"
#include "tests/support/PngPicture.h"

using namespace testing_buttonbar;

namespace {

constexpr UINT kTipString = 4711;

bool TestStrings(UINT id, std::string& text) {
  if (id != kTipString) return false;
  text = "Rotate the photo";
  return true;
}

HWND TipWindow() {
  return ::FindWindow("PictavoButtonTip", nullptr);
}

std::string TipText() {
  HWND tip = TipWindow();
  char text[128] = {};
  if (tip) ::GetWindowText(tip, text, sizeof text);
  return text;
}

bool TipShows(const std::string& text) {
  HWND tip = TipWindow();
  return tip && ::IsWindowVisible(tip) && TipText() == text;
}

bool TipHidden() {
  HWND tip = TipWindow();
  return !tip || !::IsWindowVisible(tip);
}

}  // namespace

TEST_F(BarTest, AClickReportsTheButtonIndexToTheNotifyWindow) {
  SubclassBar();
  const int kClicks[] = {0, 2, 4, 2};
  for (int k : kClicks) {
    const size_t before = m_host->notifications.size();
    pictavo::display::Click(Centre(k));
    ASSERT_TRUE(PumpUntil([&] { return m_host->notifications.size() > before; })) << k;
    ASSERT_EQ(m_host->notifications.size(), before + 1) << k;
    EXPECT_EQ(m_host->notifications.back().wParam, static_cast<WPARAM>(k));
    EXPECT_EQ(m_host->notifications.back().lParam, 0);
  }
}

TEST_F(BarTest, ABarCreatedAsAStaticWorksTheSame) {
  m_bar = new CCoolButtonBar;
  ASSERT_TRUE(
      m_bar->Create("Play Preview Control", WS_CHILD | WS_BORDER | SS_NOTIFY,
                    CRect(kBarOrigin.x, kBarOrigin.y, kBarOrigin.x + kStaticWidth, kBarOrigin.y + kBarHeight),
                    CWnd::FromHandle(m_host->Hwnd()), 2));
  m_bar->SetNotifyMessage(m_host->Hwnd(), kNotify);
  const auto rects = Rects();
  const auto paths = StatePaths();
  ASSERT_TRUE(m_bar->Init(kButtons, rects.data(), paths.data(), nullptr));
  m_bar->ShowWindow(SW_SHOW);
  pictavo::display::Click(Centre(3));
  ASSERT_TRUE(PumpUntil([&] { return !m_host->notifications.empty(); }));
  EXPECT_EQ(m_host->notifications.front().wParam, 3u);
}

TEST_F(BarTest, ButtonsThatAreOffStayQuiet) {
  struct Case {
    const char* what;
    void (*prepare)(CCoolButtonBar&);
    int clicked;
    bool reported;
  };
  const Case kCases[] = {
      {"that button off", [](CCoolButtonBar& b) { b.DisableButton(1, TRUE); }, 1, false},
      {"another button off", [](CCoolButtonBar& b) { b.DisableButton(1, TRUE); }, 2, true},
      {"all off", [](CCoolButtonBar& b) { b.DisableAllButtons(TRUE); }, 3, false},
      {"all off, one on again",
       [](CCoolButtonBar& b) {
         b.DisableAllButtons(FALSE);
         b.EnableButton(3, FALSE);
       },
       3, true},
      {"the whole bar disabled", [](CCoolButtonBar& b) { b.EnableWindow(FALSE); }, 2, false},
      {"off without redraw", [](CCoolButtonBar& b) { b.DisableButton(4, FALSE); }, 4, false},
  };
  SubclassBar();
  for (const Case& c : kCases) {
    m_host->notifications.clear();
    c.prepare(*m_bar);
    pictavo::display::Click(Centre(c.clicked));
    PumpUntil([] { return false; }, 0);
    // A click on a button that is surely on, after which nothing of the first click can come.
    m_bar->EnableWindow(TRUE);
    m_bar->EnableAllButtons(TRUE);
    pictavo::display::Click(Centre(0));
    ASSERT_TRUE(PumpUntil([&] {
      return !m_host->notifications.empty() && m_host->notifications.back().wParam == 0;
    })) << c.what;
    std::vector<WPARAM> reported;
    for (const Notification& n : m_host->notifications) reported.push_back(n.wParam);
    const std::vector<WPARAM> expected =
        c.reported ? std::vector<WPARAM>{static_cast<WPARAM>(c.clicked), 0} : std::vector<WPARAM>{0};
    EXPECT_EQ(reported, expected) << c.what;
  }
}

TEST_F(BarTest, IndexesOutOfRangeAreRefused) {
  SubclassBar();
  EXPECT_FALSE(m_bar->EnableButton(kButtons, TRUE));
  EXPECT_FALSE(m_bar->DisableButton(-1, TRUE));
  EXPECT_TRUE(m_bar->DisableButton(kButtons - 1, TRUE));
}

TEST_F(BarTest, ReleasingAwayFromThePressedButtonIsNoClick) {
  SubclassBar();
  pictavo::user::InjectMouseMove(Centre(1));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::user::InjectMouseMove(Centre(2));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpUntil([] { return false; }, 0);
  pictavo::display::Click(Centre(4));
  ASSERT_TRUE(PumpUntil([&] { return !m_host->notifications.empty(); }));
  ASSERT_EQ(m_host->notifications.size(), 1u);
  EXPECT_EQ(m_host->notifications.front().wParam, 4u);
}

TEST_F(BarTest, ButtonsLightUpUnderThePointerAndGoBackWhenItLeaves) {
  SubclassBar();
  for (int k = 0; k < kButtons; ++k) EXPECT_EQ(ButtonPixel(k), kNormal) << k;
  EXPECT_EQ(BarPixel(POINT{1, 1}), kNormal) << "the rim between buttons comes from the normal picture";
  EXPECT_EQ(BarPixel(POINT{250, 15}), kHostBackground) << "past the pictures the parent's background shows";

  MoveTo(Centre(1));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(1) == kHot; }));
  MoveTo(Centre(3));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(3) == kHot; }));
  EXPECT_EQ(ButtonPixel(1), kNormal);
  EXPECT_EQ(BarPixel(POINT{1, 1}), kNormal);

  MoveTo(Outside());  // onto the host beside the bar
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(3) == kNormal; }));

  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kHot; }));
  pictavo::user::InjectMouseLeave();  // off the desktop altogether
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kNormal; }));
}

TEST_F(BarTest, AHeldButtonLooksPressedOnlyWhileThePointerIsOnIt) {
  SubclassBar();
  MoveTo(Centre(2));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kPressed; }));
  EXPECT_EQ(::GetCapture(), m_bar->m_hWnd);

  MoveTo(Centre(3));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kNormal; }));
  EXPECT_EQ(ButtonPixel(3), kNormal) << "no other button lights up while one is held";

  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kPressed; }));
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kHot && !m_host->notifications.empty(); }));
  EXPECT_EQ(m_host->notifications.front().wParam, 2u);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(BarTest, ButtonsThatAreOffShowTheDisabledPicture) {
  SubclassBar();
  m_bar->DisableButton(1, TRUE);
  EXPECT_EQ(ButtonPixel(1), kDisabled);
  MoveTo(Centre(1));
  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kHot; }));
  EXPECT_EQ(ButtonPixel(1), kDisabled) << "an off button never lights up";

  m_bar->EnableWindow(FALSE);
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(0) == kDisabled && ButtonPixel(4) == kDisabled; }));
  m_bar->EnableWindow(TRUE);
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(0) == kNormal; }));
  EXPECT_EQ(ButtonPixel(1), kDisabled);
}

TEST_F(BarTest, TheTipNamesTheButtonUnderThePointer) {
  pictavo::SetStringResourceLoader(&TestStrings);
  SubclassBar();
  m_bar->EnableToolTip(kTipString);
  struct Case {
    int button;
    const char* tip;
  };
  const Case kCases[] = {{0, "Add"}, {2, "Remove"}, {3, "Rotate the photo"}, {4, "Rotate"}};
  for (const Case& c : kCases) {
    MoveTo(Centre(c.button));
    ASSERT_TRUE(PumpUntil([&] { return TipShows(c.tip); })) << c.button << ": " << TipText();
    RECT tip;
    ::GetWindowRect(TipWindow(), &tip);
    EXPECT_GT(tip.top, Centre(c.button).y) << "below the pointer, off the button";
    EXPECT_EQ(::GetParent(TipWindow()), m_host->Hwnd()) << "owned by the bar's top-level window";
  }
  MoveTo(Outside());
  ASSERT_TRUE(PumpUntil(TipHidden));

  MoveTo(Centre(0));
  ASSERT_TRUE(PumpUntil([] { return TipShows("Add"); }));
  m_bar->EnableToolTip(0);
  EXPECT_TRUE(TipHidden()) << "switching tips off takes the tip away";
  pictavo::SetStringResourceLoader(nullptr);
}

TEST_F(BarTest, AClickTakesTheTipAway) {
  SubclassBar();
  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([] { return TipShows("Remove"); }));
  pictavo::display::Click(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return !m_host->notifications.empty(); }));
  EXPECT_TRUE(TipHidden());
}

TEST_F(BarTest, ASkinChangeSwapsThePicturesAndKeepsTheButtonStates) {
  SubclassBar();
  m_bar->DisableButton(1, TRUE);
  std::vector<CString> paths = StatePaths();
  std::swap(paths[CCoolButtonBar::stateNormal], paths[CCoolButtonBar::stateHighlighted]);
  const auto rects = Rects();
  ASSERT_TRUE(m_bar->OnBitmapChanged(kButtons, rects.data(), paths.data(), nullptr));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(0) == kHot; })) << "the new normal picture";
  EXPECT_EQ(ButtonPixel(1), kDisabled);
  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kNormal && ButtonPixel(0) == kHot; }))
      << "the new hot picture";
}

TEST_F(BarTest, InitChecksItsInputAndTheBarReportsItsSize) {
  const auto rects = Rects();
  const auto paths = StatePaths();
  std::vector<CString> noNormal = paths;
  noNormal[CCoolButtonBar::stateNormal] = CString((m_folder + "/missing.bmp").c_str());
  struct Case {
    const char* what;
    int count;
    const RECT* rects;
    const CString* paths;
    BOOL ok;
    CSize size;
  };
  const Case kCases[] = {
      {"pictures", kButtons, rects.data(), paths.data(), TRUE, CSize(kButtons * kButtonWidth, kBarHeight)},
      {"no pictures given", 2, rects.data(), nullptr, FALSE, CSize(2 * kButtonWidth - 2, kBarHeight - 2)},
      {"normal picture missing", kButtons, rects.data(), noNormal.data(), FALSE,
       CSize(kButtons * kButtonWidth - 2, kBarHeight - 2)},
      {"no buttons", 0, nullptr, paths.data(), TRUE, CSize(kButtons * kButtonWidth, kBarHeight)},
  };
  for (const Case& c : kCases) {
    CCoolButtonBar bar;
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(bar.Init(c.count, c.rects, c.paths, nullptr), c.ok) << c.what;
    if (!c.ok) EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << c.what;
    EXPECT_EQ(bar.GetSize(), c.size) << c.what;
  }

  CCoolButtonBar bar;
  ASSERT_TRUE(bar.Init(kButtons, rects.data(), paths.data(), nullptr));
  struct Bad {
    int count;
    const RECT* rects;
  };
  const Bad kBad[] = {{-1, rects.data()}, {3, nullptr}, {1 << 20, rects.data()}};
  for (const Bad& b : kBad) {
    EXPECT_FALSE(bar.Init(b.count, b.rects, paths.data(), nullptr)) << b.count;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(bar.GetSize(), CSize(kButtons * kButtonWidth, kBarHeight)) << "unchanged";
  }
}

TEST_F(BarTest, ASnapshotShowsTheBarInItsStates) {
  SubclassBar();
  m_bar->DisableButton(4, TRUE);
  MoveTo(Centre(2));
  ASSERT_TRUE(PumpUntil([&] { return ButtonPixel(2) == kHot; }));

  const std::string path = m_folder + "/host.png";
  ASSERT_TRUE(pictavo::display::Headless()->SaveSnapshot(path, m_host->Hwnd()));
  pictavo::test::Picture picture;
  ASSERT_TRUE(pictavo::test::ReadPng(path, &picture));
  RECT window;
  ::GetWindowRect(m_host->Hwnd(), &window);
  ASSERT_EQ(picture.width, window.right - window.left);
  ASSERT_EQ(picture.height, window.bottom - window.top);
  auto at = [&](POINT desktop) { return picture.At(desktop.x - window.left, desktop.y - window.top); };
  EXPECT_EQ(at(Centre(0)), kNormal);
  EXPECT_EQ(at(Centre(2)), kHot);
  EXPECT_EQ(at(Centre(4)), kDisabled);
  EXPECT_EQ(at(POINT{kHostOrigin.x + 5, kHostOrigin.y + 5}), kHostBackground);
}
