// What the chevron, the maximized child's window buttons and system-menu icon and the
// quick-customize items look like under the program's manager, pixel for pixel against the
// pictures in reference/ (PICTAVO_WRITE_REFERENCES=1 writes them anew; look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/mfc/Dc.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Metrics.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PngPicture.h"
#include "tests/support/Snapshot.h"
#include "tests/toolkit/bars/PopupMenuFixture.h"
#include "tests/toolkit/core/ManagerSheet.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxCustomizeMenuButton.h"
#include "toolkit/bars/PlxMenuWindowButtons.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxMenuGlyphs.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

using pictavo::test::Canvas;

std::string BarsReference(const std::string& name) {
  const char* source = std::getenv("PICTAVO_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/toolkit/bars/reference/" + name;
}

// A 16 x 16 icon: a blue square with a white frame and an orange corner, so a shift shows.
HICON MakeChildIcon() {
  std::vector<DWORD> bits(16 * 16, 0xFF2050C0);
  for (int i = 0; i < 16; ++i) {
    bits[i] = bits[15 * 16 + i] = bits[i * 16] = bits[i * 16 + 15] = 0xFFFFFFFF;
  }
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) bits[y * 16 + x] = 0xFFF08020;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = CreateBitmap(16, 16, 1, 32, bits.data());
  info.hbmMask = CreateBitmap(16, 16, 1, 1, nullptr);
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return icon;
}

class ChevronLook : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
    CPlxMenuGlyphs::Initialize();
  }
  void TearDown() override {
    pictavo::test::PumpPending();
    CPlxMenuGlyphs::CleanUp();
    CPlxToolBar::CleanUpImages();
    CPlxVisualManager::SetDefaultManager(nullptr);
    CPlxVisualManager::DestroyInstance();
  }

  // Paints into a canvas of the size on the bar face and compares it with the reference.
  void Check(const std::string& name, CSize size, const std::function<void(CDC&)>& paint) {
    Canvas canvas(size.cx, size.cy, ::GetSysColor(COLOR_BTNFACE));
    CDC dc;
    dc.Attach(canvas.Dc());
    paint(dc);
    dc.Detach();
    pictavo::test::WriteCanvasPng(canvas, pictavo::test::SnapshotPath("chevron-look-" + name));
    const std::string reference = BarsReference(name);
    const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
    if (flag != nullptr && std::string(flag) == "1")
      ASSERT_TRUE(pictavo::test::WriteCanvasPng(canvas, reference));
    EXPECT_EQ(pictavo::test::CountDifferences(canvas, reference), 0) << name << " differs from " << reference;
  }
};

}  // namespace

// Horizontal then vertical: the customize arrow with the hidden-buttons mark (normal, hot,
// pressed), the mark alone, and the arrow alone. Horizontal: arrow along the bottom, mark along
// the top; vertical: arrow along the left, mark along the right.
TEST_F(ChevronLook, HorizontalAndVerticalWithTheHiddenButtonsMark) {
  CPlxToolbarButton hidden(7, 0, nullptr, FALSE, TRUE);
  struct State {
    UINT customize;
    BOOL hiddenMark;
    BOOL highlight;
    UINT style;
  } const states[] = {
      {900, TRUE, FALSE, 0}, {900, TRUE, TRUE, 0},  {900, TRUE, FALSE, TBBS_PRESSED},
      {0, TRUE, FALSE, 0},   {900, FALSE, TRUE, 0},
  };
  Check("chevron.png", CSize(148, 62), [&](CDC& dc) {
    int i = 0;
    for (const State& s : states) {
      CCustomizeButton chevron(static_cast<int>(s.customize), "Customize");
      if (s.hiddenMark) chevron.m_lstInvisibleButtons.AddTail(&hidden);
      chevron.m_nStyle = s.style;
      const CSize horz = chevron.OnCalculateSize(&dc, CSize(23, 22), TRUE);
      const CSize vert = chevron.OnCalculateSize(&dc, CSize(23, 22), FALSE);
      EXPECT_EQ(horz, CSize(13, 22));
      EXPECT_EQ(vert, CSize(23, 13));
      chevron.OnDraw(&dc, CRect(CPoint(8 + 28 * i, 4), horz), nullptr, TRUE, FALSE, s.highlight);
      chevron.OnDraw(&dc, CRect(CPoint(3 + 28 * i, 40), vert), nullptr, FALSE, FALSE, s.highlight);
      chevron.m_lstInvisibleButtons.RemoveAll();
      ++i;
    }
    // An empty chevron measures nothing.
    CCustomizeButton empty(0, "");
    empty.m_bIsEmpty = TRUE;
    EXPECT_EQ(empty.OnCalculateSize(&dc, CSize(23, 22), TRUE), CSize(0, 0));
  });
}

// The maximized child's minimize, restore and close buttons, normal and hot, and its icon at the
// left of a menu-bar row, vertically centred.
TEST_F(ChevronLook, TheChildsWindowButtonsAndSystemMenuIcon) {
  HICON icon = MakeChildIcon();
  ASSERT_NE(icon, nullptr);
  Check("child-buttons.png", CSize(140, 56), [&](CDC& dc) {
    CPlxToolbarSystemMenuButton system(nullptr, icon);
    const CSize iconCell = system.OnCalculateSize(&dc, CSize(23, 22), TRUE);
    EXPECT_EQ(iconCell, CSize(::GetSystemMetrics(SM_CXSMICON), 22));
    system.OnDraw(&dc, CRect(CPoint(4, 4), iconCell), nullptr);
    int x = 4 + iconCell.cx + 8;
    for (const BOOL hot : {FALSE, TRUE}) {
      int left = x;
      for (const UINT command : {SC_MINIMIZE, SC_RESTORE, SC_CLOSE}) {
        CPlxToolbarMenuButtonsButton button(command);
        const CSize size = button.OnCalculateSize(&dc, CSize(40, 40), TRUE);
        EXPECT_EQ(size, CSize(::GetSystemMetrics(SM_CXMENUSIZE), ::GetSystemMetrics(SM_CYMENUSIZE)));
        button.OnDraw(&dc, CRect(CPoint(left, hot ? 30 : 4), size), nullptr, TRUE, FALSE, hot);
        left += size.cx + 2;
      }
    }
    // Without an icon nothing is drawn.
    CPlxToolbarSystemMenuButton bare;
    bare.OnDraw(&dc, CRect(4, 30, 20, 52), nullptr);
  });
  DestroyIcon(icon);
}

// Quick-customize rows: checked, checked and highlighted (its check cell pressed), unchecked
// (no check cell), and the reset item highlighted.
TEST_F(ChevronLook, QuickCustomizeItems) {
  CPlxCustomizeMenuButton::m_pWndToolBar = nullptr;
  Check("quick-customize.png", CSize(180, 96), [&](CDC& dc) {
    struct Row {
      const char* text;
      BOOL checked;
      BOOL highlight;
      int index;
    } const rows[] = {
        {"&Open", TRUE, FALSE, 0},
        {"&Save", TRUE, TRUE, 1},
        {"&Print", FALSE, FALSE, 2},
        {"&Reset Toolbar", FALSE, TRUE, CPlxCustomizeMenuButton::kResetIndex},
    };
    CFont* old = dc.SelectObject(CPlxMenuBar::GetMenuFont(TRUE));
    int y = 2;
    for (const Row& r : rows) {
      CPlxCustomizeMenuButton item(100 + y, nullptr, -1, r.text);
      item.m_bMenuItem = TRUE;
      item.m_bText = TRUE;
      item.SetItemIndex(r.index, TRUE, FALSE);
      item.m_bChecked = r.checked;
      item.OnDraw(&dc, CRect(0, y, 176, y + 22), nullptr, TRUE, FALSE, r.highlight);
      y += 23;
    }
    dc.SelectObject(old);
  });
}

namespace {

// The chevron's popup as the user sees it: over a narrow bar, its hidden buttons, the separator
// and the add-or-remove item with its sub-menu of the bar and the customize item.
class ChevronPopupLook : public popuptest::PopupMenuFixture {
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

TEST_F(ChevronPopupLook, HiddenButtonsAndTheAddOrRemoveSubMenu) {
  bar.SetWindowText("Standard");
  bar.RemoveAllButtons();
  const char* texts[] = {"&New", "&Open", "&Save", "&Print", "Cu&t"};
  for (int i = 0; i < 5; ++i) bar.InsertButton(CPlxToolbarButton(300 + i, 0, texts[i], FALSE, TRUE));
  bar.InsertSeparator(3);
  bar.EnableCustomizeButton(TRUE, 900, "&Customize...", TRUE);
  const int w = bar.GetColumnWidth();
  bar.SetWindowPos(nullptr, 0, 0, 3 * w, bar.GetRowHeight(), SWP_NOZORDER | SWP_NOMOVE);
  bar.AdjustLocations();
  CCustomizeButton* chevron = bar.GetCustomizeButton();
  ASSERT_FALSE(chevron->m_lstInvisibleButtons.IsEmpty());
  ASSERT_TRUE(chevron->OpenPopupMenu(&bar));
  pictavo::test::PumpPending();
  CPlxPopupMenu* popup = chevron->GetPopupMenu();
  ASSERT_NE(popup, nullptr);
  CPlxToolbarMenuButton* addRemove = popup->GetMenuItem(popup->GetMenuItemCount() - 1);
  ASSERT_TRUE(addRemove->OpenPopupMenu(popup->GetMenuBar()));
  pictavo::test::PumpPending();
  CPlxPopupMenu* sub = addRemove->GetPopupMenu();
  ASSERT_NE(sub, nullptr);
  CRect area, subWindow, barWindow;
  popup->GetWindowRect(area);
  sub->GetWindowRect(subWindow);
  bar.GetWindowRect(barWindow);
  area.UnionRect(area, subWindow);
  area.UnionRect(area, barWindow);
  area.InflateRect(2, 2);
  const std::string shot = pictavo::test::SaveDesktopArea(area, "chevron-popup.png");
  ASSERT_FALSE(shot.empty());
  const std::string reference = BarsReference("chevron-popup.png");
  const char* flag = std::getenv("PICTAVO_WRITE_REFERENCES");
  if (flag != nullptr && std::string(flag) == "1")
    std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
  pictavo::test::Picture got, want;
  ASSERT_TRUE(pictavo::test::ReadPng(shot, &got));
  ASSERT_TRUE(pictavo::test::ReadPng(reference, &want)) << reference;
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  int differ = 0;
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x) differ += got.At(x, y) != want.At(x, y);
  EXPECT_EQ(differ, 0);
  chevron->OnCancelMode();
  pictavo::test::PumpPending();
}
