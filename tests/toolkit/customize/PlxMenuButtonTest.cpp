// The menu button: the keys and clicks that open its menu, the command it keeps and reports as
// its own click, the split and button modes, a parent that closes it from the command, its size
// and what it looks like.
#include <gtest/gtest.h>

#include <memory>

#include "platform/display/Headless.h"
#include "platform/user/Menu.h"
#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/customize/PlxMenuButton.h"

namespace {

using customize_test::CHostWnd;
using customize_test::Pump;
using customize_test::Tap;

constexpr UINT kButtonId = 1001;
constexpr UINT kFirst = 501, kSecond = 502, kThird = 503;

class PlxMenuButton : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    ASSERT_TRUE(m_host.Make(CRect(40, 40, 340, 200)));
    m_menu = ::CreatePopupMenu();
    ::AppendMenu(m_menu, MF_STRING, kFirst, "First");
    ::AppendMenu(m_menu, MF_STRING, kSecond, "Second");
    ::AppendMenu(m_menu, MF_STRING, kThird, "Third");
    m_button = std::make_unique<CPlxMenuButton>();
    ASSERT_TRUE(m_button->Create("Tools", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                 CRect(10, 10, 110, 34), &m_host, kButtonId));
    m_button->m_hMenu = m_menu;
    m_host.SetForegroundWindow();
    m_button->SetFocus();
    m_host.onCommand = [this](UINT) { m_openAtCommand.push_back(m_button->IsMenuOpen()); };
    Pump();
  }
  void TearDown() override {
    m_button.reset();
    if (m_host.GetSafeHwnd() != nullptr) m_host.DestroyWindow();
    ::DestroyMenu(m_menu);
    Pump();
  }
  // Queues keys behind the input that opens the menu, so that the menu's loop reads them.
  static void Queue(std::vector<UINT> keys) {
    for (UINT vk : keys) {
      pictavo::user::InjectKey({vk, true});
      pictavo::user::InjectKey({vk, false});
    }
  }
  // Presses `key` on the button with `menuKeys` behind it.
  static void Press(UINT key, std::vector<UINT> menuKeys) {
    pictavo::user::InjectKey({key, true});
    pictavo::user::InjectKey({key, false});
    Queue(menuKeys);
    Pump();
  }
  // A click at a point of the button, with `menuKeys` queued while the button is held.
  void ClickWith(CPoint client, std::vector<UINT> menuKeys) {
    const CPoint point = ScreenPoint(client.x, client.y);
    pictavo::user::InjectMouseMove(point + CPoint(1, 1));
    Pump();
    pictavo::user::InjectMouseMove(point);
    Pump();
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
    Queue(menuKeys);
    pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    Pump();
  }
  // Whether the menu was open when each command came.
  std::vector<BOOL> m_openAtCommand;
  CPoint ScreenPoint(int x, int y) const {
    CPoint point(x, y);
    m_button->ClientToScreen(&point);
    return point;
  }

  CHostWnd m_host;
  HMENU m_menu = nullptr;
  std::unique_ptr<CPlxMenuButton> m_button;
};

TEST_F(PlxMenuButton, KeysOpenTheMenuAndTheChoiceComesAsTheButtonsClick) {
  struct Case {
    const char* name;
    UINT key;
    std::vector<UINT> menuKeys;
    UINT chosen;
  };
  const Case cases[] = {
      {"Down, first item", VK_DOWN, {VK_DOWN, VK_RETURN}, kFirst},
      {"Space, second item", VK_SPACE, {VK_DOWN, VK_DOWN, VK_RETURN}, kSecond},
      {"Enter, last item", VK_RETURN, {VK_UP, VK_RETURN}, kThird},
      {"closed without a choice", VK_DOWN, {VK_ESCAPE}, 0},  // after a choice: back to 0
  };
  for (const Case& c : cases) {
    m_host.commands.clear();
    m_openAtCommand.clear();
    const int beeps = pictavo::display::Headless()->Beeps();
    Press(c.key, c.menuKeys);
    EXPECT_EQ(pictavo::display::Headless()->Beeps(), beeps) << c.name << ": the opening key reached the menu";
    EXPECT_EQ(m_button->m_nMenuResult, c.chosen) << c.name;
    EXPECT_FALSE(m_button->IsMenuOpen()) << c.name;
    if (c.chosen == 0) {
      EXPECT_TRUE(m_host.commands.empty()) << c.name;
    } else {
      ASSERT_EQ(m_host.commands.size(), 1u) << c.name;
      EXPECT_EQ(m_host.commands[0].id, kButtonId) << c.name;
      EXPECT_EQ(m_host.commands[0].code, static_cast<UINT>(BN_CLICKED)) << c.name;
      EXPECT_EQ(m_host.commands[0].from, m_button->GetSafeHwnd()) << c.name;
      EXPECT_EQ(m_openAtCommand, std::vector<BOOL>{TRUE}) << c.name << ": reported from the menu";
    }
  }
}

TEST_F(PlxMenuButton, OtherKeysAndNoMenuOpenNothing) {
  Tap(VK_LEFT);
  EXPECT_EQ(m_button->m_nMenuResult, 0u);
  m_button->m_hMenu = nullptr;
  Tap(VK_DOWN);
  Tap(VK_SPACE);
  EXPECT_FALSE(m_button->IsMenuOpen());
  EXPECT_TRUE(m_host.commands.empty());
}

TEST_F(PlxMenuButton, ClicksOpenTheMenuExceptOnTheTextOfASplitButton) {
  CRect client;
  m_button->GetClientRect(client);
  struct Case {
    const char* name;
    BOOL split;
    int x;
    BOOL opens;
  };
  const Case cases[] = {
      {"whole button, text", FALSE, 10, TRUE},
      {"split, arrow", TRUE, client.right - 4, TRUE},
      {"split, text", TRUE, 10, FALSE},
  };
  for (const Case& c : cases) {
    m_button->m_bSplit = c.split;
    m_button->m_nMenuResult = 77;
    m_host.commands.clear();
    m_openAtCommand.clear();
    ClickWith(CPoint(c.x, client.Height() / 2),
              c.opens ? std::vector<UINT>{VK_DOWN, VK_RETURN} : std::vector<UINT>{});
    EXPECT_EQ(m_openAtCommand, std::vector<BOOL>{c.opens}) << c.name;
    ASSERT_EQ(m_host.commands.size(), 1u) << c.name << ": the item, or the plain click";
    EXPECT_EQ(m_host.commands[0].id, kButtonId) << c.name;
    EXPECT_EQ(m_button->m_nMenuResult, c.opens ? kFirst : 0u) << c.name;
  }
}

TEST_F(PlxMenuButton, InButtonModeAClickAfterAKeyboardOpeningIsAPlainClick) {
  m_button->m_bButtonMode = TRUE;
  Press(VK_SPACE, {VK_ESCAPE});
  m_host.commands.clear();
  m_openAtCommand.clear();
  ClickWith(CPoint(10, 10), {});
  EXPECT_EQ(m_openAtCommand, std::vector<BOOL>{FALSE});
  ASSERT_EQ(m_host.commands.size(), 1u) << "the release after the keyboard opening still clicks";
  EXPECT_EQ(m_host.commands[0].code, static_cast<UINT>(BN_CLICKED));
}

// The button must not touch itself once the parent has handled the command: here the parent
// deletes it (a run under the address sanitizer shows any later use).
TEST_F(PlxMenuButton, AParentThatDeletesTheButtonOnTheCommandIsSafe) {
  m_host.onCommand = [this](UINT) { m_button.reset(); };
  Press(VK_DOWN, {VK_DOWN, VK_RETURN});
  EXPECT_EQ(m_button, nullptr);
  ASSERT_EQ(m_host.commands.size(), 1u);
}

// Near the desktop's right edge a menu to the right goes to the left of the button instead of
// over it: neither the release of the opening click nor a second click on the button lands on an
// item.
TEST_F(PlxMenuButton, AtTheRightEdgeTheMenuLeavesTheButtonClear) {
  const int desktop = ::GetSystemMetrics(SM_CXSCREEN);
  for (const BOOL onRight : {TRUE, FALSE}) {
    m_button->m_bMenuOnRight = onRight;
    m_host.SetWindowPos(nullptr, desktop - 130, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    m_host.commands.clear();
    const CPoint point = ScreenPoint(90, 12);
    pictavo::user::InjectMouseMove(point);
    Pump();
    for (int click = 0; click < 2; ++click) {
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
      pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
    }
    Queue({VK_ESCAPE});  // closes a menu still open
    Pump();
    EXPECT_FALSE(m_button->IsMenuOpen()) << onRight;
    EXPECT_EQ(m_button->m_nMenuResult, 0u) << onRight;
    EXPECT_TRUE(m_host.commands.empty()) << onRight << ": an item ran";
  }
}

TEST_F(PlxMenuButton, SizeMakesRoomForTheArrow) {
  CPlxButton plain;
  ASSERT_TRUE(
      plain.Create("Tools", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 40, 110, 64), &m_host, 1002));
  const CSize base = plain.SizeToContent(TRUE);
  const CSize size = m_button->SizeToContent(TRUE);
  EXPECT_EQ(size.cx, base.cx + CPlxMenuGlyphs::GetSize().cx);
  EXPECT_EQ(size.cy, base.cy);
  CRect before;
  m_button->GetWindowRect(before);
  EXPECT_EQ(before.Width(), 100) << "calc-only leaves the window alone";
  m_button->SizeToContent();
  CRect after;
  m_button->GetWindowRect(after);
  EXPECT_EQ(after.Size(), size);
  EXPECT_EQ(after.TopLeft(), before.TopLeft());
}

TEST_F(PlxMenuButton, LooksLikeAButtonWithItsArrow) {
  m_button->m_bDrawFocus = FALSE;
  CPlxMenuButton split, right, disabled;
  ASSERT_TRUE(
      split.Create("Split", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 44, 110, 68), &m_host, 1003));
  ASSERT_TRUE(
      right.Create("Right", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(120, 10, 220, 34), &m_host, 1004));
  ASSERT_TRUE(disabled.Create("Off", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW,
                              CRect(120, 44, 220, 68), &m_host, 1005));
  split.m_bSplit = TRUE;
  right.m_bMenuOnRight = TRUE;
  CPlxMenuButton arrowOnly;
  ASSERT_TRUE(
      arrowOnly.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(230, 10, 254, 34), &m_host, 1006));
  for (CPlxMenuButton* b : {&split, &right, &disabled, &arrowOnly}) b->m_bDrawFocus = FALSE;
  m_host.SetFocus();
  m_host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  CRect area(0, 0, 270, 80);
  m_host.ClientToScreen(area);
  EXPECT_EQ(customize_test::CompareWithReference(area, "menu-buttons.png"), 0);
}

}  // namespace
