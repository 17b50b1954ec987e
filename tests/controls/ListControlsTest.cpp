#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/AlbumListBox.h"
#include "controls/ListCtrls.h"
#include "controls/ListSortCompare.h"
#include "modules/data/AlbumTextSettings.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "tests/controls/ListHostFixture.h"
#include "tests/support/Canvas.h"
#include "tests/support/Snapshot.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::ListHostTest;
using pictavo::test::PumpPending;

int Sign(int v) {
  return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

TEST(ListSortCompareTest, EachKindOrdersAPair) {
  struct Case {
    const char* a;
    const char* b;
    int kind;
    int expected;
  } const cases[] = {
      {"9", "10", LIST_SORT_LONG, -1},
      {"10", "10", LIST_SORT_LONG, 0},
      {"1.2", "1.5", LIST_SORT_DOUBLE, -1},
      {"1.5", "2", LIST_SORT_DOUBLE, -1},
      {"2", "2.0", LIST_SORT_DOUBLE, 0},
      {"10 KB", "9 KB", LIST_SORT_TEXT, -1},  // sizes sort as the text shows them
      {"abc", "ABC", LIST_SORT_TEXT, 1},
      {"abc", "ABC", LIST_SORT_TEXT_NOCASE, 0},
      {"2", "10", LIST_SORT_LENGTH, -1},
      {"ABD", "abc", LIST_SORT_LENGTH, 1},
      {"2024-05-01 10:00:00", "2023-12-31 23:59:59", LIST_SORT_DATE, 1},
      {"2024-05-01", "2024-05-01 00:00:00", LIST_SORT_DATE, 0},
      {"not a date", "2024-05-01", LIST_SORT_DATE, 1},  // by length then
      {"zz", "aaa", LIST_SORT_DATE, -1},
      {"a", "b", 7, 0},
      {"a", "b", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b + " kind " + std::to_string(c.kind));
    EXPECT_EQ(Sign(CompareListSortTexts(c.a, c.b, c.kind)), c.expected);
    EXPECT_EQ(Sign(CompareListSortTexts(c.a, c.b, -c.kind)), -c.expected);  // descending
  }
}

class ListControlsTest : public ListHostTest {
 protected:
  void MakeList(CListCtrl& list, DWORD style = LVS_REPORT) {
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | style, CRect(10, 10, 410, 310), &m_host, 1022));
    list.InsertColumn(0, "Text", LVCFMT_LEFT, 200);
  }
  static std::vector<std::string> Column(CListCtrl& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.emplace_back(list.GetItemText(i, 0).Str());
    return texts;
  }
};

TEST_F(ListControlsTest, SorterOrdersRowsByKindAndGivesBackTheirData) {
  CBufferedListCtrl list;
  MakeList(list);
  const char* texts[] = {"10", "2", "ABD", "abc"};
  for (int i = 0; i < 4; ++i) {
    list.InsertItem(i, texts[i]);
    list.SetItemData(i, 100 + i);
  }
  {
    CListCtrlSorter sorter(&list, 0);
    ASSERT_TRUE(sorter.Sort(TRUE, LIST_SORT_LENGTH));
  }
  EXPECT_EQ(Column(list), (std::vector<std::string>{"2", "10", "abc", "ABD"}));
  for (int i = 0; i < 4; ++i)  // every row keeps its own data
    EXPECT_EQ(list.GetItemText(i, 0), texts[list.GetItemData(i) - 100]);
  {
    CListCtrlSorter sorter(&list, 0);
    sorter.Sort(FALSE, LIST_SORT_LENGTH);
  }
  EXPECT_EQ(Column(list), (std::vector<std::string>{"ABD", "abc", "10", "2"}));
  list.DestroyWindow();
}

TEST_F(ListControlsTest, EmptyHintIsGreyAndCentredOnlyWhileEmptyAndSwitchedOn) {
  CBufferedListCtrl list;
  MakeList(list, LVS_ICON);
  const CString hint = LoadLangString(57477);
  ASSERT_FALSE(hint.IsEmpty());
  auto greyPixels = [&] {
    Repaint(list);
    CRect client;
    list.GetClientRect(&client);
    int grey = 0, left = client.Width(), right = 0;
    for (int y = 0; y < client.Height(); ++y)
      for (int x = 0; x < client.Width(); ++x)
        if (ScreenPixel(list, x, y) == RGB(153, 153, 153)) {
          ++grey;
          left = std::min(left, x);
          right = std::max(right, x);
        }
    return std::make_tuple(grey, left, client.Width() - 1 - right);
  };
  EXPECT_EQ(std::get<0>(greyPixels()), 0);  // switched off
  list.SetEmptyListText(TRUE, 0);
  EXPECT_EQ(std::get<0>(greyPixels()), 0);  // no text id
  list.SetEmptyListText(TRUE, 57477);
  const auto [grey, leftGap, rightGap] = greyPixels();
  EXPECT_GT(grey, 50);
  EXPECT_LE(std::abs(leftGap - rightGap), 6);  // centred
  list.InsertItem(0, "photo");
  EXPECT_EQ(std::get<0>(greyPixels()), 0);  // a row removes it
  list.DestroyWindow();
}

TEST_F(ListControlsTest, KeyPressesReachTheParentAsListKeyDown) {
  CBufferedListCtrl list;
  MakeList(list);
  list.InsertItem(0, "one");
  list.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, m_host.GetSafeHwnd(), WM_LIST_KEYDOWN, WM_LIST_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_DELETE));
  EXPECT_EQ(msg.lParam, 0);
  EXPECT_TRUE((list.GetStyle() & LVS_SHOWSELALWAYS) != 0);
  list.DestroyWindow();
}

// The album list.

class AlbumListBoxTest : public ListHostTest {
 protected:
  void SetUp() override {
    ListHostTest::SetUp();
    ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY,
                              CRect(10, 10, 270, 410), &m_host, 1200));
  }
  void TearDown() override {
    m_list.DestroyWindow();
    ListHostTest::TearDown();
  }
  int Add(CDVDAlbumBase* album) {
    const int index = m_list.AddString(reinterpret_cast<LPCTSTR>(album));
    m_list.SetItemDataPtr(index, album);
    return index;
  }
  // The item drawn into a canvas in the given state.
  void Draw(Canvas& canvas, int item, UINT state) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_LISTBOX;
    draw.itemID = static_cast<UINT>(item);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = m_list.GetSafeHwnd();
    draw.hDC = canvas.Dc();
    draw.rcItem = RECT{0, 0, 260, 80};
    draw.itemData = m_list.GetItemData(item);
    m_list.DrawItem(&draw);
  }
  static int FirstColumnOf(const Canvas& canvas, COLORREF colour, const CRect& box) {
    for (int x = box.left; x < box.right; ++x)
      for (int y = box.top; y < box.bottom; ++y)
        if (canvas.At(x, y) == colour) return x;
    return -1;
  }

  CDVDProject* m_project = nullptr;
  CMyListBoxA m_list;
};

TEST_F(AlbumListBoxTest, CardTextsFollowTheAlbum) {
  CDVDAlbumImage photos;
  photos.Set_strAlbumName("Summer");
  for (int i = 0; i < 3; ++i) photos.AddDVDImage(new CDVDImage(&photos));
  EXPECT_EQ(CMyListBoxA::NumberText(8), "09");
  EXPECT_EQ(CMyListBoxA::NumberText(9), "10");
  EXPECT_EQ(CMyListBoxA::NameText(&photos), "Name: Summer");
  EXPECT_EQ(CMyListBoxA::CountText(&photos), "Total Photos: 03");
  EXPECT_FALSE(CMyListBoxA::ShowsMusicMark(&photos));
  _AUDIO_SOURCE music{};
  photos.AddBackgroundMusic(music);
  EXPECT_TRUE(CMyListBoxA::ShowsMusicMark(&photos));

  EXPECT_EQ(CMyListBoxA::ThemeText(&photos), "Theme: no theme");
  _ALBUM_THEME theme{};
  strcpy(theme.szThemeName, "_NO_THEME");
  photos.SetAlbumTheme(&theme);
  EXPECT_EQ(CMyListBoxA::ThemeText(&photos), "Theme: no theme");
  strcpy(theme.szThemeName, "Holiday");
  EXPECT_EQ(CMyListBoxA::ThemeText(&photos), "Theme: Holiday");
  photos.SetAlbumTheme(nullptr);

  CDVDAlbumMovie clips(nullptr);
  EXPECT_EQ(CMyListBoxA::CountText(&clips), "Total Video Clips: 00");
  EXPECT_FALSE(CMyListBoxA::ShowsMusicMark(&clips));
}

TEST_F(AlbumListBoxTest, DropTargetUsesTheSelectedCardWithTextsOnePixelUpAndLeft) {
  CDVDAlbumImage album;
  album.Set_strAlbumName("Winter");
  Add(&album);
  EXPECT_EQ(m_list.GetItemHeight(0), AlbumCardLayout::kItemHeight);

  Canvas normal(260, 80), selected(260, 80), target(260, 80), grayed(260, 80);
  Draw(normal, 0, 0);
  Draw(selected, 0, ODS_SELECTED | ODS_FOCUS);
  Draw(grayed, 0, ODS_SELECTED);
  album.m_bDropHighlight = TRUE;
  Draw(target, 0, 0);
  album.m_bDropHighlight = FALSE;

  // A corner of the card shows which card was drawn.
  const POINT corner{221, 62};  // inside the card, away from its texts
  EXPECT_EQ(target.At(corner.x, corner.y), selected.At(corner.x, corner.y));
  EXPECT_NE(normal.At(corner.x, corner.y), selected.At(corner.x, corner.y));
  EXPECT_NE(grayed.At(corner.x, corner.y), selected.At(corner.x, corner.y));

  const CRect name =
      AlbumCardLayout::Name(RECT{0, 0, 260, 80}, 0) | AlbumCardLayout::Name(RECT{0, 0, 260, 80}, 1);
  const int normalX = FirstColumnOf(selected, RGB(0, 0, 0), name);
  ASSERT_GE(normalX, 0);
  EXPECT_EQ(FirstColumnOf(target, RGB(0, 0, 0), name), normalX - 1);
}

TEST_F(AlbumListBoxTest, ClickSelectsThenTellsTheParentWithTheScreenPoint) {
  CDVDAlbumImage first, second;
  Add(&first);
  Add(&second);
  PumpPending();
  MoveTo(m_list, 50, 120);  // the second card
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  PumpPending();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(m_list.GetCurSel(), 1);
  const MSG* note = nullptr;
  for (const MSG& msg : m_host.received)
    if (msg.message == WM_ALBUM_DRAG_DROP) note = &msg;
  ASSERT_NE(note, nullptr);
  POINT expected{50, 120};
  ::ClientToScreen(m_list.GetSafeHwnd(), &expected);
  EXPECT_EQ(static_cast<short>(LOWORD(note->lParam)), expected.x);
  EXPECT_EQ(static_cast<short>(HIWORD(note->lParam)), expected.y);
  EXPECT_EQ(note->wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
}

}  // namespace

namespace {

TEST_F(AlbumListBoxTest, SnapshotOfPhotoAndVideoCards) {
  CDVDAlbumImage summer, winter;
  summer.Set_strAlbumName("Summer holidays at the sea side");
  for (int i = 0; i < 12; ++i) summer.AddDVDImage(new CDVDImage(&summer));
  _AUDIO_SOURCE music{};
  summer.AddBackgroundMusic(music);
  _ALBUM_THEME theme{};
  strcpy(theme.szThemeName, "Holiday");
  summer.SetAlbumTheme(&theme);
  winter.Set_strAlbumName("Winter");
  CDVDAlbumMovie clips(nullptr);
  clips.Set_strAlbumName("Clips");
  Add(&summer);
  Add(&winter);
  Add(&clips);
  m_list.SetCurSel(0);
  m_list.SetFocus();
  winter.m_bDropHighlight = TRUE;
  Repaint(m_list);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(RECT{0, 0, 290, 270}, "album-list.png").empty());
  winter.m_bDropHighlight = FALSE;
  summer.SetAlbumTheme(nullptr);
}

}  // namespace
