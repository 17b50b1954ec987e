// The button grid: selection and its notification, scrolling a selection into view, keys at the
// ends, no scroll bar when everything fits, and no highlight in a disabled grid.
#include "toolkit/customize/PlxButtonGridCtrl.h"

#include <memory>
#include <vector>

#include "platform/user/Metrics.h"
#include "tests/toolkit/customize/ImageEditHost.h"
#include "toolkit/bars/PlxToolbarButton.h"
#include "toolkit/core/PlxButtonImages.h"

using imgedit_test::EditFixture;
using imgedit_test::MakeBitmap;

namespace {

constexpr UINT kGridId = 16508;

// A button that remembers whether it was last drawn highlighted.
class CWatchedButton : public CPlxToolbarButton {
 public:
  void OnDraw(CDC* pDC, const CRect& rect, CPlxButtonImages* pImages, BOOL bHorz, BOOL bCustomizeMode,
              BOOL bHighlight, BOOL bDrawBorder, BOOL bGrayDisabledButtons) override {
    ++draws;
    highlighted = bHighlight;
    CPlxToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                              bGrayDisabledButtons);
  }
  int draws = 0;
  BOOL highlighted = FALSE;
};

class ButtonGrid : public EditFixture {
 protected:
  // A grid of `count` buttons, one per image, in a control of the size given.
  void Make(int count, CSize size) {
    images.SetImageSize(CSize(16, 15));
    for (int i = 0; i < count; ++i) {
      CBitmap cell;
      MakeBitmap(cell, 16, 15, RGB(20 * i % 256, 0, 128));
      images.AddImage(static_cast<HBITMAP>(cell.GetSafeHandle()));
    }
    ASSERT_TRUE(
        grid.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(CPoint(20, 20), size), &host, kGridId));
    grid.AttachImages(&images);
    for (int i = 0; i < count; ++i) {
      auto button = std::make_unique<CWatchedButton>();
      button->m_bUserImage = TRUE;
      button->SetImage(i);
      grid.AppendButton(button.get());
      buttons.push_back(std::move(button));
    }
    host.commands.clear();
  }
  void TearDown() override {
    grid.DestroyWindow();
    EditFixture::TearDown();
  }
  size_t Notifications() const {
    size_t n = 0;
    for (const auto& c : host.commands) n += c.id == kGridId;
    return n;
  }
  void Key(UINT vk) { grid.SendMessage(WM_KEYDOWN, vk, 0); }
  CPlxButtonImages images;
  CPlxButtonGridCtrl grid;
  std::vector<std::unique_ptr<CWatchedButton>> buttons;
};

TEST_F(ButtonGrid, SelectingTheSelectedButtonAgainSendsNothing) {
  Make(4, CSize(200, 80));
  grid.SetSelection(buttons[1].get());
  EXPECT_EQ(Notifications(), 1u);
  grid.SetSelection(buttons[1].get());
  EXPECT_EQ(Notifications(), 1u);
  EXPECT_TRUE(grid.SelectByImage(2));
  EXPECT_EQ(grid.GetSelection(), buttons[2].get());
  EXPECT_FALSE(grid.SelectByImage(9));
  EXPECT_EQ(grid.GetSelection(), buttons[2].get());
  EXPECT_EQ(Notifications(), 2u);
}

TEST_F(ButtonGrid, ASelectionBelowTheRowsScrollsItsBottomToTheClientBottom) {
  Make(30, CSize(120, 60));
  ASSERT_GT(grid.GetScrollMax(), 0);
  ASSERT_NE(grid.GetScrollBarCtrl(SB_VERT), nullptr);
  CPlxToolbarButton* last = buttons.back().get();
  grid.SetSelection(last);
  CRect client;
  grid.GetClientRect(&client);
  EXPECT_EQ(grid.GetScrollOffset(),
            std::min<int>(last->GetRect().bottom - client.Height(), grid.GetScrollMax()));
  EXPECT_EQ(grid.ShiftedRect(last).bottom, client.bottom);
}

TEST_F(ButtonGrid, KeysStopAtTheEnds) {
  Make(5, CSize(200, 80));
  struct Step {
    UINT key;
    int selected;
  };
  const Step steps[] = {{VK_RIGHT, 0}, {VK_END, 4}, {VK_RIGHT, 4}, {VK_DOWN, 4}, {VK_LEFT, 3},
                        {VK_HOME, 0},  {VK_UP, 0},  {VK_LEFT, 0},  {VK_DOWN, 1}};
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(grid.GetSelection(), buttons[static_cast<size_t>(s.selected)].get()) << s.key;
  }
  EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(ButtonGrid, AGridWhoseButtonsFitHasNoScrollBar) {
  Make(3, CSize(200, 80));
  EXPECT_EQ(grid.GetScrollBarCtrl(SB_VERT), nullptr);
  EXPECT_EQ(grid.GetScrollMax(), 0);
  grid.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(grid.GetScrollOffset(), 0);
}

TEST_F(ButtonGrid, ScrollingMovesByRowsAndStaysInRange) {
  Make(30, CSize(120, 60));
  const int pitch = grid.GetButtonSize().cy + 5;
  struct Step {
    UINT code;
    int offset;
  };
  const int max = grid.GetScrollMax();
  const Step steps[] = {{SB_LINEDOWN, pitch}, {SB_LINEUP, 0},     {SB_LINEUP, 0},
                        {SB_BOTTOM, max},     {SB_LINEDOWN, max}, {SB_TOP, 0}};
  for (const Step& s : steps) {
    grid.SendMessage(WM_VSCROLL, s.code);
    EXPECT_EQ(grid.GetScrollOffset(), s.offset) << s.code;
  }
  grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pitch + pitch / 2 + 1));
  EXPECT_EQ(grid.GetScrollOffset(), std::min(2 * pitch, max));
}

TEST_F(ButtonGrid, ADisabledGridDrawsNoButtonHighlighted) {
  Make(3, CSize(200, 80));
  grid.SetSelection(buttons[1].get());
  grid.RedrawWindow();
  EXPECT_TRUE(buttons[1]->highlighted);
  grid.EnableWindow(FALSE);
  grid.RedrawWindow();
  EXPECT_GT(buttons[1]->draws, 1);
  EXPECT_FALSE(buttons[1]->highlighted);
}

}  // namespace
