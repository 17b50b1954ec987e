// What a popup menu looks like on the desktop under the program's manager: its frame and shadow
// over the window below it, and the scroll buttons of a menu taller than the work area, compared
// pixel for pixel with the pictures in reference/ (PICTAVO_WRITE_REFERENCES=1 writes them anew,
// then look at them). A 60-item menu also scrolls by its buttons and by the keys.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/Gdi.h"
#include "tests/support/ReferencePicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/bars/PopupMenuFixture.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

using popuptest::PopupMenuFixture;

namespace {

std::string Reference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

int SnapshotDifferences(const CRect& area, const std::string& name) {
  return pictavo::test::DesktopAreaDifferences(area, name, Reference(name));
}

HMENU MakeLongMenu(int count) {
  HMENU menu = ::CreatePopupMenu();
  for (int i = 0; i < count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "Item %02d", i + 1);
    ::AppendMenu(menu, MF_STRING, 200 + i, text);
  }
  return menu;
}

class PopupMenuLook : public PopupMenuFixture {
 protected:
  void SetUp() override {
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    CPlxVisualManager::GetInstance();
    PopupMenuFixture::SetUp();
  }
  void TearDown() override {
    PopupMenuFixture::TearDown();
    CPlxVisualManager::SetDefaultManager(nullptr);
  }
};

}  // namespace

TEST_F(PopupMenuLook, FrameAndShadowOverTheWindowBelow) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 100, "&New");
  ::AppendMenu(menu, MF_STRING, 101, "&Open...\tCtrl+O");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING | MF_GRAYED, 102, "&Save");
  CPlxPopupMenu* popup = Open(AddItem(menu, "&File"));
  ::DestroyMenu(menu);
  ASSERT_NE(popup, nullptr);
  ASSERT_GT(popup->GetShadowSize(), 0);
  pictavo::test::PumpPending();
  CRect window;
  popup->GetWindowRect(window);
  window.InflateRect(4, 4);
  EXPECT_EQ(SnapshotDifferences(window, "popup-frame-shadow.png"), 0);
}

TEST_F(PopupMenuLook, ALongMenuScrollsByItsButtonsAndByTheKeys) {
  HMENU menu = MakeLongMenu(60);
  CPlxPopupMenu* popup = Open(AddItem(menu, "&Long"));
  ::DestroyMenu(menu);
  ASSERT_NE(popup, nullptr);
  RECT work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  CRect window;
  popup->GetWindowRect(window);
  EXPECT_TRUE(popup->IsScrollable());
  EXPECT_EQ(window.bottom - popup->GetShadowSize(), work.bottom);
  CPlxPopupMenuBar* menuBar = popup->GetMenuBar();
  EXPECT_EQ(menuBar->GetOffset(), 0);
  EXPECT_TRUE(popup->GetScrollUpRect().IsRectEmpty());  // only the down button at first
  ASSERT_FALSE(popup->GetScrollDownRect().IsRectEmpty());
  pictavo::test::PumpPending();
  const CRect downArea(window.left, window.bottom - 40, window.right, window.bottom);
  EXPECT_EQ(SnapshotDifferences(downArea, "popup-scroll-down.png"), 0);

  // Resting on the down button scrolls a row per tick of the scroll timer.
  const CPoint onDown = popup->GetScrollDownRect().CenterPoint();
  popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(onDown.x, onDown.y));
  for (int tick = 1; tick <= 3; ++tick) {
    popup->ScrollStep(onDown);
    EXPECT_EQ(menuBar->GetOffset(), tick);
  }
  ASSERT_FALSE(popup->GetScrollUpRect().IsRectEmpty());  // the up button came with the first row gone
  pictavo::test::PumpPending();
  const CRect upArea(window.left, window.top, window.right, window.top + 40);
  EXPECT_EQ(SnapshotDifferences(upArea, "popup-scroll-up.png"), 0);
  // The cursor leaving the button ends the scrolling.
  popup->ScrollStep(CPoint(5, window.Height() / 2));
  EXPECT_EQ(menuBar->GetOffset(), 3);

  // End brings the last item into view; Home the first.
  popup->SendMessage(WM_KEYDOWN, VK_END);
  CRect client;
  menuBar->GetClientRect(client);
  EXPECT_EQ(menuBar->GetHotIndex(), 59);
  EXPECT_LE(menuBar->GetButton(59)->m_rect.bottom, client.bottom);
  EXPECT_GE(menuBar->GetButton(59)->m_rect.top, client.top);
  EXPECT_TRUE(popup->GetScrollDownRect().IsRectEmpty());
  popup->SendMessage(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(menuBar->GetHotIndex(), 0);
  EXPECT_EQ(menuBar->GetOffset(), 0);
}
