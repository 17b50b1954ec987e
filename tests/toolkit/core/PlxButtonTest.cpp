// The toolkit's owner-drawn push button: how it looks in every state under each visual manager
// (compared pixel for pixel with a checked-in picture), its size, and its mouse and key handling
// on the headless display.
#include "toolkit/core/PlxButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Display.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

constexpr int kWidth = 76, kHeight = 26, kGap = 4, kMargin = 6;
constexpr int kHostX = 20, kHostY = 20;

// A button whose hot and pushed flags a test can set, as the mouse would.
class CStateButton : public CPlxButton {
 public:
  void Force(BOOL bHot, BOOL bPushed) {
    m_bHighlighted = bHot;
    m_bPushed = bPushed;
    m_bClickiedInside = bPushed;
    Invalidate();
  }
};

// The buttons' parent: a class-library window, so the buttons' draw-item messages come back to
// them; it keeps the commands it hears.
class CHostWnd : public CWnd {
 public:
  std::vector<UINT> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
  }
};

struct Look {
  const char* caption;
  const char* state;  // "normal", "hot", "pressed", "focused", "disabled", "default", "checked"
  bool image;
};
const Look kLooks[] = {
    {"Normal", "normal", false},   {"Hot", "hot", false},           {"Pressed", "pressed", false},
    {"Focused", "focused", false}, {"Disabled", "disabled", false}, {"Default", "default", false},
    {"Checked", "checked", false}, {"Image", "normal", true},       {"Image", "disabled", true},
};
constexpr int kLookCount = sizeof(kLooks) / sizeof(kLooks[0]);
// Two rows: the full 3D frame and the flat style, whose frame shows only while hot.
constexpr int kRows = 2;

// A 16 x 16 picture on the light grey the button keys out: a blue frame round a warm square.
HBITMAP ButtonPicture() {
  HBITMAP hbmp = CreateCompatibleBitmap(nullptr, 16, 16);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, hbmp);
  pictavo::gdi::FillSolidRect(dc, RECT{0, 0, 16, 16}, RGB(192, 192, 192));
  pictavo::gdi::FillSolidRect(dc, RECT{1, 2, 15, 14}, RGB(31, 78, 140));
  pictavo::gdi::FillSolidRect(dc, RECT{4, 5, 12, 11}, RGB(217, 130, 43));
  SelectObject(dc, old);
  DeleteDC(dc);
  return hbmp;
}

std::string ReferencePath() {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/core/reference/plx_buttons.png";
}

class PlxButtonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    // As the program starts: theme-drawn frames asked for (no theme is there to draw them).
    CPlxButton::EnableWinXPTheme(TRUE);
  }
  static void TearDownTestSuite() { CPlxVisualManager::SetDefaultManager(nullptr); }

  void SetUp() override {
    pictavo::user::InjectMouseMove(POINT{900, 700});
    g_plxGlobalData.UpdateSysColors();
    ASSERT_TRUE(m_hostWnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, GetSysColorBrush(COLOR_BTNFACE)),
                                   "Buttons", WS_POPUP | WS_VISIBLE, kHostX, kHostY, HostWidth(),
                                   HostHeight(), nullptr, nullptr));
    m_host = m_hostWnd.GetSafeHwnd();
    CWnd* host = &m_hostWnd;
    for (int row = 0; row < kRows; ++row)
      for (int i = 0; i < kLookCount; ++i) {
        const Look& look = kLooks[i];
        const std::string state = look.state;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        if (state == "default") style |= BS_DEFPUSHBUTTON;
        if (state == "checked") style |= BS_AUTOCHECKBOX | BS_CENTER;
        auto& button = m_buttons[row][i];
        const int x = kMargin + i * (kWidth + kGap), y = kMargin + row * (kHeight + kGap);
        ASSERT_TRUE(button.Create(look.caption, style, CRect(x, y, x + kWidth, y + kHeight), host,
                                  100 + row * 20 + i));
        button.m_nFlatStyle = row == 0 ? CPlxButton::BUTTONSTYLE_3D : CPlxButton::BUTTONSTYLE_FLAT;
        if (look.image) button.SetImage(ButtonPicture(), TRUE, nullptr, TRUE);
        if (state == "checked") button.SendMessage(BM_SETCHECK, TRUE);
        if (state == "disabled") button.EnableWindow(FALSE);
        if (state == "hot") button.Force(TRUE, FALSE);
        if (state == "pressed") button.Force(TRUE, TRUE);
      }
    Focus();
  }
  void TearDown() override {
    for (auto& row : m_buttons)
      for (auto& button : row) button.DestroyWindow();
    m_hostWnd.DestroyWindow();
  }

  static int HostWidth() { return 2 * kMargin + kLookCount * kWidth + (kLookCount - 1) * kGap; }
  static int HostHeight() { return 2 * kMargin + kRows * kHeight + (kRows - 1) * kGap; }
  void Focus() {
    for (int row = 0; row < kRows; ++row) m_buttons[row][3].SetFocus();
    m_buttons[0][3].SetFocus();
  }
  void Repaint() {
    RedrawWindow(m_host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pictavo::test::PumpPending();
  }
  // The host as it looks now, written as `name` under test-output and read back.
  pictavo::test::Picture Snapshot(const std::string& name) {
    Repaint();
    const std::string path = pictavo::test::SaveDesktopArea(
        RECT{kHostX, kHostY, kHostX + HostWidth(), kHostY + HostHeight()}, name);
    pictavo::test::Picture picture;
    EXPECT_TRUE(pictavo::test::ReadPng(path, &picture)) << path;
    return picture;
  }

  CHostWnd m_hostWnd;
  HWND m_host = nullptr;
  CStateButton m_buttons[kRows][kLookCount];
};

}  // namespace

TEST_F(PlxButtonTest, EveryStateUnderEachManagerMatchesThePicture) {
  struct Manager {
    const char* name;
    CRuntimeClass* rtc;
  };
  const Manager managers[] = {{"classic", RUNTIME_CLASS(CPlxVisualManager)},
                              {"office-xp", RUNTIME_CLASS(CPlxVisualManagerXP)},
                              {"installed", RUNTIME_CLASS(CPlxWinXPVisualManager)}};
  if (std::getenv("PICTAVO_WRITE_REFERENCE") != nullptr) {
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    const pictavo::test::Picture picture = Snapshot("plx_buttons_reference.png");
    std::filesystem::create_directories(std::filesystem::path(ReferencePath()).parent_path());
    std::filesystem::copy_file(pictavo::test::SnapshotPath("plx_buttons_reference.png"), ReferencePath(),
                               std::filesystem::copy_options::overwrite_existing);
  }
  pictavo::test::Picture reference;
  ASSERT_TRUE(pictavo::test::ReadPng(ReferencePath(), &reference)) << ReferencePath();
  for (const Manager& m : managers) {
    CPlxVisualManager::SetDefaultManager(m.rtc);
    Focus();
    const pictavo::test::Picture got = Snapshot(std::string("plx_buttons_") + m.name + ".png");
    ASSERT_EQ(got.width, reference.width) << m.name;
    ASSERT_EQ(got.height, reference.height) << m.name;
    int differing = 0;
    for (int y = 0; y < got.height; ++y)
      for (int x = 0; x < got.width; ++x) differing += got.At(x, y) != reference.At(x, y);
    EXPECT_EQ(differing, 0) << m.name << ": see build/bin/test-output/plx_buttons_" << m.name << ".png";
  }
}

TEST_F(PlxButtonTest, SizesToItsContent) {
  // A 16 x 16 image and a caption: spacing + image + text + spacing wide, image or text + 2 gaps high.
  CStateButton& button = m_buttons[0][7];
  CClientDC dc(&button);
  HGDIOBJ old = SelectObject(dc.GetSafeHdc(), GetStockObject(DEFAULT_GUI_FONT));
  const CSize text = dc.GetTextExtent("Image");
  SelectObject(dc.GetSafeHdc(), old);
  const CSize size = button.SizeToContent();
  EXPECT_EQ(size, CSize(10 + 16 + text.cx + 10, std::max<int>(16, text.cy) + 10));
  CRect rect;
  button.GetWindowRect(rect);
  EXPECT_EQ(rect.Size(), size);
  // Only the caption: no image width; only the calculation asked for, the window unchanged.
  const CSize plain = m_buttons[0][0].SizeToContent(TRUE);
  m_buttons[0][0].GetWindowRect(rect);
  EXPECT_EQ(rect.Size(), CSize(kWidth, kHeight));
  EXPECT_GT(plain.cx, 20);
  // A glyph instead of images takes the glyphs' size.
  button.SetStdImage(CPlxMenuGlyphs::IdArowDown);
  EXPECT_EQ(button.SizeToContent(TRUE), CSize(10 + 9 + text.cx + 10, std::max<int>(9, text.cy) + 10));
}

TEST_F(PlxButtonTest, MouseAndKeysDriveTheStates) {
  CStateButton& flat = m_buttons[1][0];
  CRect rect;
  flat.GetWindowRect(rect);
  std::vector<UINT>& commands = m_hostWnd.commands;
  commands.clear();

  pictavo::user::InjectMouseMove(rect.CenterPoint());
  pictavo::test::PumpPending();
  EXPECT_TRUE(flat.IsHighlighted());
  EXPECT_FALSE(flat.IsPushed());

  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::test::PumpPending();
  EXPECT_TRUE(flat.IsPushed());
  // Dragged outside while held: no longer shown pressed; back inside: pressed again.
  pictavo::user::InjectMouseMove(POINT{rect.right + 30, rect.bottom + 30});
  pictavo::test::PumpPending();
  EXPECT_FALSE(flat.IsPushed());
  pictavo::user::InjectMouseMove(rect.CenterPoint());
  pictavo::test::PumpPending();
  EXPECT_TRUE(flat.IsPushed());
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_FALSE(flat.IsPushed());
  EXPECT_EQ(std::count(commands.begin(), commands.end(), flat.GetDlgCtrlID()), 1);

  // Hot again on the next move inside (the button holds the mouse to see it leave), and no longer
  // hot once it leaves without a button held.
  pictavo::user::InjectMouseMove(POINT{rect.left + 3, rect.top + 3});
  pictavo::test::PumpPending();
  EXPECT_TRUE(flat.IsHighlighted());
  pictavo::user::InjectMouseMove(POINT{900, 700});
  pictavo::test::PumpPending();
  EXPECT_FALSE(flat.IsHighlighted());

  // The automatic check box toggles on a click; Enter on a focused button sends its command.
  CStateButton& check = m_buttons[0][6];
  ASSERT_TRUE(check.IsChecked());
  check.GetWindowRect(rect);
  pictavo::user::InjectMouseMove(rect.CenterPoint());
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  pictavo::test::PumpPending();
  EXPECT_FALSE(check.IsChecked());
  EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
  commands.clear();
  MSG enter{check.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
  EXPECT_TRUE(check.PreTranslateMessage(&enter));
  EXPECT_EQ(commands, std::vector<UINT>{static_cast<UINT>(check.GetDlgCtrlID())});
}

TEST_F(PlxButtonTest, RadiosOfAGroupKeepOneChecked) {
  CPlxButton first, second;
  const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
  ASSERT_TRUE(first.Create("First", style | WS_GROUP, CRect(0, 0, 10, 10), &m_hostWnd, 300));
  ASSERT_TRUE(second.Create("Second", style, CRect(0, 0, 10, 10), &m_hostWnd, 301));
  first.SendMessage(BM_SETCHECK, TRUE);
  EXPECT_EQ(first.SendMessage(BM_GETCHECK), 1);
  second.SendMessage(BM_SETCHECK, TRUE);
  EXPECT_EQ(first.SendMessage(BM_GETCHECK), 0);
  EXPECT_EQ(second.SendMessage(BM_GETCHECK), 1);

  // The arrow keys move the check (and the focus) to the neighbour, which tells its parent.
  m_hostWnd.commands.clear();
  MSG left{second.GetSafeHwnd(), WM_KEYDOWN, VK_LEFT, 0};
  EXPECT_TRUE(second.PreTranslateMessage(&left));
  EXPECT_TRUE(first.IsChecked());
  EXPECT_FALSE(second.IsChecked());
  EXPECT_EQ(m_hostWnd.commands, std::vector<UINT>{300});
  // And back with the other arrow.
  MSG again{first.GetSafeHwnd(), WM_KEYDOWN, VK_RIGHT, 0};
  EXPECT_TRUE(first.PreTranslateMessage(&again));
  EXPECT_TRUE(second.IsChecked());
  first.DestroyWindow();
  second.DestroyWindow();
}
