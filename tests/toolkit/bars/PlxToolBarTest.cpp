// The toolbar and its buttons: the list operations, sizes from resources, wrapping, drop places,
// the stored form and what a damaged one does, smart update and the parameters.
#include "toolkit/bars/PlxToolBar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/comctl/Tooltip.h"
#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Accel.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"
#include "toolkit/bars/PlxCustomizeButton.h"
#include "toolkit/bars/PlxOleData.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxVisualManager.h"

namespace {

using Bytes = std::vector<BYTE>;

constexpr UINT kMainToolbar = 269;  // 16 x 15 images, 16 commands
constexpr UINT kContextToolbar = 276;
const char kProfile[] = "Software\\PlxToolbarTest\\";

// The program's toolbar resources and strings, laid out beside the program.
void UseProgramResources() {
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
}

CPlxToolbarButton Plain(UINT id, int image = -1, LPCTSTR text = nullptr) {
  return CPlxToolbarButton(id, image, text, FALSE, TRUE);  // locked: no command-manager binding
}

CPlxToolbarButton* NewPlain(UINT id) {
  return new CPlxToolbarButton(id, -1, nullptr, FALSE, TRUE);
}

std::vector<UINT> Ids(const CPlxToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetCount(); ++i) ids.push_back(bar.GetItemID(i));
  return ids;
}

Bytes Serialized(CPlxToolBar& bar) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    bar.Serialize(ar);
    ar.Close();
  }
  const UINT size = static_cast<UINT>(file.GetLength());
  BYTE* data = file.Detach();
  Bytes bytes(data, data + size);
  free(data);
  return bytes;
}

// A bar window in a host, filled with buttons of the given widths (0: a separator).
class BarFixture : public shelltest::RegistryFixture {
 protected:
  void SetUp() override {
    UseProgramResources();
    m_host = pictavo::test::CreateHostWindow(800, 300);
    CPlxToolBar::SetLargeIcons(FALSE);
  }
  void TearDown() override {
    if (m_bar.GetSafeHwnd() != nullptr) m_bar.DestroyWindow();
    DestroyWindow(m_host);
    pictavo::test::PumpPending();
    CPlxToolBar::CleanUpImages();
    CPlxToolBar::SetSizes(CSize(23, 22), CSize(16, 15));
    CPlxToolBar::m_lstForbiddenCommands.RemoveAll();
  }
  void CreateBar(DWORD align = CBRS_ALIGN_TOP) {
    ASSERT_TRUE(
        m_bar.Create(CWnd::FromHandle(m_host), WS_CHILD | WS_VISIBLE | align | CBRS_SIZE_DYNAMIC, 1001));
    m_bar.m_dwStyle &= ~CBRS_GRIPPER;
    m_bar.SetBorders(0, 0, 0, 0);
  }
  void Place(int width, int height) {
    m_bar.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
    m_bar.AdjustLocations();
  }
  HWND m_host = nullptr;
  CPlxToolBar m_bar;
};

}  // namespace

// ---- the button list ----

TEST(PlxToolBarList, SeparatorsChevronAndForbiddenCommands) {
  CPlxToolBar bar;
  EXPECT_EQ(bar.InsertSeparator(), -1) << "a bar never starts with a separator";
  EXPECT_EQ(bar.GetCount(), 0);
  EXPECT_EQ(bar.InsertButton(Plain(10)), 0);
  EXPECT_EQ(bar.InsertSeparator(0), -1);
  EXPECT_EQ(bar.InsertSeparator(), 1);
  EXPECT_EQ(bar.InsertButton(Plain(11)), 2);
  EXPECT_EQ(bar.InsertSeparator(), 3);
  EXPECT_EQ(bar.InsertButton(Plain(12)), 4);
  EXPECT_EQ(bar.InsertButton(Plain(13), 9), -1) << "past the end";

  bar.EnableCustomizeButton(TRUE, 0, "");
  EXPECT_EQ(bar.InsertButton(Plain(14)), 5) << "appends before the chevron";
  EXPECT_EQ(bar.GetButton(bar.GetCount() - 1), bar.GetCustomizeButton());
  EXPECT_FALSE(bar.RemoveButton(bar.GetCount() - 1)) << "the chevron stays";

  // Removing the button between two separators takes one of them too.
  EXPECT_TRUE(bar.RemoveButton(2));
  EXPECT_EQ(Ids(bar), (std::vector<UINT>{10, 0, 12, 14, 0}));
  // The last real buttons go: no separator is left at the end, the first stays.
  EXPECT_TRUE(bar.RemoveButton(3));
  EXPECT_TRUE(bar.RemoveButton(2));
  EXPECT_EQ(Ids(bar), (std::vector<UINT>{10, 0}));

  CPlxToolBar::m_lstForbiddenCommands.AddTail(77);
  EXPECT_EQ(bar.InsertButton(Plain(77)), -1);
  CPlxToolBar::m_lstForbiddenCommands.RemoveAll();

  // Two buttons of one command: CommandToIndex finds the first.
  bar.InsertButton(Plain(21));
  bar.InsertButton(Plain(21));
  EXPECT_EQ(bar.CommandToIndex(21), 1);
  EXPECT_EQ(bar.CommandToIndex(21, 2), 2);
}

TEST(PlxToolBarList, HotIndexFollowsARemovalBelowIt) {
  struct Probe : CPlxToolBar {
    std::vector<int> hot;
    void OnChangeHot(int i) override { hot.push_back(i); }
  } bar;
  for (UINT id : {1u, 2u, 3u, 4u}) bar.InsertButton(Plain(id));
  bar.m_iHot = 3;
  EXPECT_TRUE(bar.RemoveButton(1));
  EXPECT_EQ(bar.m_iHot, 2);
  EXPECT_EQ(bar.hot, std::vector<int>{2});
}

// ---- buttons ----

TEST(PlxToolbarButtonModel, SizesOfSeparatorsAndInvisibleButtons) {
  CClientDC dc(nullptr);
  const struct {
    int width;
    BOOL horz;
    CSize expected;
  } cases[] = {
      {0, TRUE, CSize(8, 22)},
      {-1, TRUE, CSize(8, 22)},
      {20, TRUE, CSize(20, 22)},
      {0, FALSE, CSize(23, 8)},
  };
  for (const auto& c : cases) {
    CPlxToolbarButton separator;
    separator.m_nStyle = TBBS_SEPARATOR;
    separator.m_iImage = c.width;
    EXPECT_EQ(separator.OnCalculateSize(&dc, CSize(23, 22), c.horz), c.expected) << c.width;
  }
  CPlxToolbarButton hidden = Plain(5, 0);
  hidden.m_nStyle = TBBS_CHECKBOX | TBBS_CHECKED;
  hidden.SetVisible(FALSE);
  EXPECT_EQ(hidden.OnCalculateSize(&dc, CSize(23, 22), TRUE), CSize(0, 0));
}

TEST(PlxToolbarButtonModel, LabelsEditableCommandsAndTextOnlyButtons) {
  EXPECT_EQ(Plain(1, 0, "Fish && &Chips").GetDisplayText(), CString("Fish & Chips"));
  const struct {
    UINT id;
    BOOL editable;
  } commands[] = {{0xE110, FALSE}, {0xF060, FALSE}, {0xFF00, FALSE},
                  {0xE215, FALSE}, {0xE100, TRUE},  {32857, TRUE}};
  for (auto c : commands) EXPECT_EQ(Plain(c.id).IsEditable(), c.editable) << c.id;

  // A command without any registered image becomes a text-only button.
  CPlxToolbarButton b(0x7A01, -1);
  EXPECT_FALSE(b.m_bImage);
  EXPECT_TRUE(b.m_bText);
}

TEST(PlxToolbarButtonModel, DragDataRoundTripsAndRefusesOtherClasses) {
  CPlxToolbarButton source = Plain(57601, 3, "&Open");
  source.m_nStyle = TBBS_CHECKBOX;
  source.m_bText = TRUE;
  COleDataSource data;
  ASSERT_TRUE(source.PrepareDrag(data));
  COleDataObject object;
  object.Attach(&data);
  CPlxToolbarButton* copy = CPlxToolbarButton::CreateFromOleData(&object);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->m_nID, 57601u);
  EXPECT_EQ(copy->m_strText, CString("&Open"));
  EXPECT_EQ(copy->m_nStyle, static_cast<UINT>(TBBS_CHECKBOX));
  EXPECT_TRUE(copy->m_bText);
  delete copy;

  // The chevron cannot be stored: its drag adds nothing and answers TRUE.
  CCustomizeButton chevron;
  COleDataSource none;
  EXPECT_TRUE(chevron.PrepareDrag(none));
  EXPECT_EQ(none.Find(CPlxToolbarButton::GetClipboardFormat()), nullptr);

  // Data naming another class (any process may offer it) makes nothing.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteClass(RUNTIME_CLASS(CObList));
    ar.WriteCount(0);
    ar.Close();
  }
  const UINT size = static_cast<UINT>(file.GetLength());
  BYTE* bytes = file.Detach();
  EXPECT_EQ(CPlxToolbarButton::CreateFromDragBytes(bytes, size), nullptr);
  free(bytes);
  // Nor does a record cut short.
  std::vector<BYTE> whole;
  ASSERT_TRUE(source.WriteDragBytes(whole));
  EXPECT_EQ(CPlxToolbarButton::CreateFromDragBytes(whole.data(), static_cast<UINT>(whole.size() - 3)),
            nullptr);
}

// What a stored button reads back is what it was: a text-only button stays one, with no user
// image claimed for it; image buttons keep their kind of image.
TEST(PlxToolbarButtonModel, StoredButtonsReadBackAsTheyWere) {
  const struct {
    const char* name;
    UINT id;
    int image;
    BOOL user;
  } cases[] = {
      {"text only", 0x7A11, -1, FALSE},
      {"standard image", 0x7A12, 4, FALSE},
      {"user image", 0x7A13, 2, TRUE},
  };
  for (const auto& c : cases) {
    CPlxToolbarButton source(c.id, c.image, "Label", c.user);
    EXPECT_EQ(source.m_bUserImage, c.user) << c.name;
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.WriteDragBytes(bytes)) << c.name;
    CPlxToolbarButton* loaded =
        CPlxToolbarButton::CreateFromDragBytes(bytes.data(), static_cast<UINT>(bytes.size()));
    ASSERT_NE(loaded, nullptr) << c.name;
    EXPECT_EQ(loaded->m_bUserImage, c.user) << c.name;
    EXPECT_EQ(loaded->GetImage(), c.image) << c.name;
    EXPECT_EQ(loaded->m_bImage, source.m_bImage) << c.name;
    // And once more: a second load may not flip the kind back.
    std::vector<BYTE> again;
    ASSERT_TRUE(loaded->WriteDragBytes(again)) << c.name;
    EXPECT_EQ(again, bytes) << c.name;
    EXPECT_EQ(loaded->m_bText, source.m_bText) << c.name;
    delete loaded;
  }
}

// ---- resources, sizes, images ----

TEST_F(BarFixture, ResourceSizesLargeIconsAndSharedImages) {
  CreateBar();
  ASSERT_TRUE(m_bar.LoadToolBar(kMainToolbar));
  EXPECT_EQ(CPlxToolBar::m_sizeButton, CSize(22, 21));
  EXPECT_EQ(CPlxToolBar::m_sizeImage, CSize(16, 15));
  EXPECT_EQ(m_bar.GetCount(), 16);
  int image = -1;
  ASSERT_TRUE(CPlxToolBar::m_mapDefaultImages.Lookup(57601, image));
  EXPECT_EQ(image, m_bar.m_iImagesOffset + 1);

  CPlxToolBar::SetLargeIcons(TRUE);
  EXPECT_EQ(CPlxToolBar::m_sizeCurButton, CSize(44, 42));
  EXPECT_EQ(CPlxToolBar::m_sizeCurImage, CSize(32, 30));
  CPlxToolBar::SetLargeIcons(FALSE);
  EXPECT_EQ(CPlxToolBar::m_sizeCurButton, CSize(22, 21));

  // A second bar of the same bitmap adds no images and gets the same offset.
  const int images = CPlxToolBar::m_sharedImages.GetCount();
  CPlxToolBar second;
  ASSERT_TRUE(second.LoadToolBar(kMainToolbar));
  EXPECT_EQ(CPlxToolBar::m_sharedImages.GetCount(), images);
  EXPECT_EQ(second.m_iImagesOffset, m_bar.m_iImagesOffset);

  // A locked bar keeps private images and never enters the default-image map.
  CPlxToolBar locked;
  ASSERT_TRUE(locked.LoadToolBar(kContextToolbar, 0, 0, TRUE));
  EXPECT_EQ(CPlxToolBar::m_sharedImages.GetCount(), images);
  EXPECT_GT(locked.m_ownImages.GetCount(), 0);
  EXPECT_FALSE(CPlxToolBar::m_mapDefaultImages.Lookup(32934, image));
  EXPECT_EQ(locked.m_sizeOwnButton, CSize(22, 21));
}

TEST_F(BarFixture, AFailedBitmapAnswersFalseAndKeepsTheSizes) {
  CPlxToolBar::SetSizes(CSize(30, 30), CSize(24, 24));
  CPlxToolBar bar;
  PlxToolBarLoadParams params;
  params.m_uiColdResID = 0x7ABC;  // no such bitmap
  EXPECT_FALSE(bar.LoadToolBarEx(kMainToolbar, params));
  EXPECT_EQ(CPlxToolBar::m_sizeButton, CSize(30, 30));
  EXPECT_EQ(CPlxToolBar::m_sizeImage, CSize(24, 24));
  EXPECT_EQ(bar.GetCount(), 0);
  EXPECT_FALSE(bar.LoadToolBar(0x7ABD)) << "no such toolbar";
}

TEST_F(BarFixture, ButtonTextMessageAnswersTheLengthForANullBuffer) {
  CreateBar();
  m_bar.InsertButton(Plain(40, -1, "Open"));
  TBBUTTON info{};
  m_bar.InsertSeparator();
  EXPECT_TRUE(m_bar.SendMessage(TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.fsStyle, TBSTYLE_SEP);
  EXPECT_EQ(m_bar.SendMessage(TB_GETBUTTONTEXT, 40, 0), 4);
  char text[8] = {};
  EXPECT_EQ(m_bar.SendMessage(TB_GETBUTTONTEXT, 40, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "Open");
  EXPECT_EQ(m_bar.SendMessage(TB_BUTTONCOUNT), 2);
}

// ---- wrapping and drop places ----

TEST_F(BarFixture, WrappingAndTheNarrowestWidthOfARowCount) {
  CreateBar();
  for (UINT id = 1; id <= 10; ++id) m_bar.InsertButton(Plain(id, 0));
  const int w = m_bar.GetColumnWidth();
  const struct {
    int width;
    int rows;
  } cases[] = {{10 * w, 1}, {10 * w - 1, 2}, {5 * w, 2}, {4 * w, 3}, {w, 10}, {0, 10}};
  for (auto c : cases) EXPECT_EQ(m_bar.WrapButtons(c.width), c.rows) << c.width;

  // Bisection: at 7 columns the row count is 2, and 5 columns are the narrowest that keep it.
  EXPECT_EQ(m_bar.SizeToolBar(7 * w), 2);
  EXPECT_EQ(m_bar.CalcSize(FALSE).cx, 1 + 5 * w);
  // Asked for a height: rows grow until the bar is no taller than asked.
  EXPECT_GE(m_bar.SizeToolBar(3 * m_bar.GetRowHeight(), TRUE), 1);
}

TEST_F(BarFixture, DropIndexOnTwoRows) {
  CreateBar();
  for (UINT id = 1; id <= 6; ++id) m_bar.InsertButton(Plain(id, 0));
  const int w = m_bar.GetColumnWidth();
  const int h = m_bar.GetRowHeight();
  m_bar.WrapButtons(3 * w + 1);
  Place(3 * w + 2, 2 * h + 5);
  ASSERT_TRUE(m_bar.GetButton(2)->m_bWrap);
  const int secondRow = h + 5 + h / 2;
  const struct {
    CPoint point;
    int index;
    int markCentre;  // x of the mark's centre
  } cases[] = {
      {CPoint(2, h / 2), 0, 1 + 2},                  // left half of the first button (mark clipped at 0)
      {CPoint(1 + w - 2, h / 2), 1, 1 + w},          // right half: after it
      {CPoint(3 * w, h / 2), 3, 3 * w + 1 - 1},      // right of the row's last button (clipped to the edge)
      {CPoint(1 + w / 4, secondRow), 3, 1 + 2},      // start of the second row
      {CPoint(1 + w + w / 4, secondRow), 4, 1 + w},  // inside the fifth button, left half
      {CPoint(1 + 3 * w - 2, secondRow), 6, 3 * w + 1 - 1},
      {CPoint(2, -5), 0, 1 + 2},  // a negative y counts as 0
  };
  for (auto c : cases) {
    CRect mark;
    EXPECT_EQ(m_bar.FindDropIndex(c.point, mark), c.index) << c.point.x << "," << c.point.y;
    EXPECT_EQ(mark.Width(), 6);
    EXPECT_NEAR((mark.left + mark.right) / 2, c.markCentre, 3) << c.point.x << "," << c.point.y;
  }
  CRect mark;
  EXPECT_EQ(m_bar.FindDropIndex(CPoint(5, 3 * h + 20), mark), -1) << "below the last row";
}

TEST_F(BarFixture, ANarrowBarHidesWhatDoesNotFitInTheChevron) {
  CreateBar();
  for (UINT id = 1; id <= 6; ++id) m_bar.InsertButton(Plain(id, 0));
  m_bar.EnableCustomizeButton(TRUE, 0, "");
  const int w = m_bar.GetColumnWidth();
  m_bar.m_dwStyle |= CBRS_ALIGN_TOP;
  Place(6 * w + 2, m_bar.GetRowHeight());
  EXPECT_TRUE(m_bar.GetCustomizeButton()->m_rect.IsRectEmpty()) << "all fit: no chevron, no room kept";
  Place(4 * w, m_bar.GetRowHeight());
  EXPECT_FALSE(m_bar.GetButton(0)->IsHidden());
  EXPECT_TRUE(m_bar.GetButton(5)->IsHidden());
  EXPECT_FALSE(m_bar.GetCustomizeButton()->m_lstInvisibleButtons.IsEmpty());
  EXPECT_FALSE(m_bar.GetCustomizeButton()->m_rect.IsRectEmpty());
}

// ---- the stored form ----

TEST_F(BarFixture, TheStoredFormMatchesTheFrameworkBytes) {
  CreateBar();
  m_bar.SetWindowText("Std");
  m_bar.InsertButton(Plain(1, 0));
  m_bar.InsertButton(Plain(2, 1));
  m_bar.EnableCustomizeButton(TRUE, 0, "");
  const Bytes bytes = Serialized(m_bar);
  const std::string name = "CPlxToolbarButton";
  Bytes head = {0x02, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x11, 0x00};
  head.insert(head.end(), name.begin(), name.end());
  ASSERT_GT(bytes.size(), head.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);
  const Bytes tail = {0x00, 0x00, 0x00, 0x00, 0x03, 'S', 't', 'd'};
  EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
  // The second button refers to the class as 0x8000 + 1.
  const Bytes again = {0x01, 0x80};
  EXPECT_NE(
      std::search(bytes.begin() + static_cast<long>(head.size()), bytes.end(), again.begin(), again.end()),
      bytes.end());

  // Saved and loaded back: the same buttons and exactly one chevron, at the end.
  ASSERT_TRUE(m_bar.SaveState(kProfile));
  m_bar.RemoveButton(0);
  ASSERT_TRUE(m_bar.LoadState(kProfile));
  EXPECT_EQ(Ids(m_bar), (std::vector<UINT>{1, 2, 0}));
  EXPECT_EQ(m_bar.GetButton(2), m_bar.GetCustomizeButton());
}

TEST_F(BarFixture, ADamagedStoredFormLeavesTheBarAsItWas) {
  CreateBar();
  m_bar.SetWindowText("Std");
  m_bar.InsertButton(Plain(1, 0));
  m_bar.InsertButton(Plain(2, 1));
  m_bar.EnableCustomizeButton(TRUE, 0, "");
  const Bytes good = Serialized(m_bar);
  const std::string name = "CPlxToolbarButton";
  Bytes wrongClass = good;
  std::copy(std::string("CPlxToolBar").begin(), std::string("CPlxToolBar").end(), wrongClass.begin() + 8);
  Bytes wrongName = good;  // a class name the program does not know
  wrongName[8] = 'X';
  Bytes nullEntry = {0x02, 0x00, 0x00, 0x00, 0x00, 0x00};
  Bytes hugeCount = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0x01, 0x00, 0x11, 0x00};
  hugeCount.insert(hugeCount.end(), name.begin(), name.end());
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"truncated", Bytes(good.begin(), good.end() - 6)},
      {"cut in a button", Bytes(good.begin(), good.begin() + 30)},
      {"another class", Bytes(wrongClass.begin(), wrongClass.end())},
      {"an unknown class", wrongName},
      {"a null entry", nullEntry},
      {"a huge count", hugeCount},
  };
  // Another kind of stored bar, for the wrong class: written as the bar class itself.
  const CString key = CString(kProfile) + "PlxToolBar-1001";
  for (const auto& c : cases) {
    {
      CPlxRegistryHolder holder;
      CPlxRegistry& reg = holder.Create(FALSE, FALSE);
      ASSERT_TRUE(reg.CreateKey(key));
      ASSERT_TRUE(reg.WriteBinary("Buttons", c.bytes.data(), static_cast<UINT>(c.bytes.size())));
    }
    EXPECT_FALSE(m_bar.LoadState(kProfile)) << c.what;
    EXPECT_EQ(Ids(m_bar), (std::vector<UINT>{1, 2, 0})) << c.what;
    EXPECT_EQ(m_bar.GetCustomizeButton(), m_bar.GetButton(2)) << c.what;
    CString text;
    m_bar.GetWindowText(text);
    EXPECT_EQ(text, CString("Std")) << c.what;
  }
}

TEST_F(BarFixture, EveryForbiddenButtonGoesOnLoadAndSaveDropsEmptySnapshots) {
  CreateBar();
  for (UINT id : {5u, 6u, 5u}) m_bar.InsertButton(Plain(id, 0));
  ASSERT_TRUE(m_bar.SaveState(kProfile));
  CPlxToolBar::m_lstForbiddenCommands.AddTail(5);
  ASSERT_TRUE(m_bar.LoadState(kProfile));
  EXPECT_EQ(Ids(m_bar), std::vector<UINT>{6});
  CPlxToolBar::m_lstForbiddenCommands.RemoveAll();

  // A reset snapshot written once, then emptied: the next save deletes the stale value.
  m_bar.m_lstResetButtons.AddTail(NewPlain(9));
  ASSERT_TRUE(m_bar.SaveState(kProfile));
  DWORD type = 0;
  Bytes data;
  const std::string key = std::string(kProfile) + "PlxToolBar-1001";
  EXPECT_TRUE(shelltest::QueryRaw(key, "OrigResetItems", type, data));
  while (!m_bar.m_lstResetButtons.IsEmpty()) delete m_bar.m_lstResetButtons.RemoveHead();
  ASSERT_TRUE(m_bar.SaveState(kProfile));
  EXPECT_FALSE(shelltest::QueryRaw(key, "OrigResetItems", type, data));
}

TEST_F(BarFixture, SmartUpdateMergesTheResourceChanges) {
  CreateBar();
  ASSERT_TRUE(m_bar.LoadToolBar(kMainToolbar));
  // The previous defaults: without Save (added to the resource since) and with a command the
  // resource no longer has; the user had put that command on the bar.
  CObList previous;
  for (POSITION pos = m_bar.GetOrigButtons().GetHeadPosition(); pos != nullptr;) {
    auto* b = static_cast<CPlxToolbarButton*>(m_bar.GetOrigButtons().GetNext(pos));
    if (b->m_nID != 57603) previous.AddTail(NewPlain(b->m_nID));
  }
  previous.AddTail(NewPlain(0x7A55));
  m_bar.RemoveButton(m_bar.CommandToIndex(57603));
  m_bar.InsertButton(Plain(0x7A55, 0));
  EXPECT_TRUE(m_bar.SmartUpdate(previous));
  EXPECT_TRUE(m_bar.IsDefaultSetChanged());
  EXPECT_EQ(m_bar.CommandToIndex(57603), 2) << "back at its resource position";
  EXPECT_EQ(m_bar.CommandToIndex(0x7A55), -1) << "gone with the resource";
  while (!previous.IsEmpty()) delete previous.RemoveHead();

  // Unchanged defaults: nothing moves, nothing is reported.
  CObList same;
  for (POSITION pos = m_bar.GetOrigButtons().GetHeadPosition(); pos != nullptr;)
    same.AddTail(NewPlain(static_cast<CPlxToolbarButton*>(m_bar.GetOrigButtons().GetNext(pos))->m_nID));
  const std::vector<UINT> before = Ids(m_bar);
  EXPECT_FALSE(m_bar.SmartUpdate(same));
  EXPECT_EQ(Ids(m_bar), before);
  while (!same.IsEmpty()) delete same.RemoveHead();
}

TEST_F(BarFixture, ParametersRoundTripAndMissingValuesFallBack) {
  CPlxToolBar::m_bShowShortcutKeys = FALSE;
  CPlxPopupMenu::m_AnimationType = CPlxPopupMenu::Fade;
  CPlxToolBar::m_commandUsage.Reset();
  CPlxToolBar::m_commandUsage.AddCmd(100);
  ASSERT_TRUE(CPlxToolBar::SaveParameters(kProfile));
  CPlxToolBar::m_bShowShortcutKeys = TRUE;
  CPlxPopupMenu::m_AnimationType = 0;
  CPlxToolBar::m_commandUsage.Reset();
  ASSERT_TRUE(CPlxToolBar::LoadParameters(kProfile));
  EXPECT_FALSE(CPlxToolBar::m_bShowShortcutKeys);
  EXPECT_EQ(CPlxPopupMenu::m_AnimationType, CPlxPopupMenu::Fade);
  EXPECT_EQ(CPlxToolBar::m_commandUsage.GetCount(100), 1u);

  // Only "Tooltips" left: the load says FALSE, animation goes off, Look2000 off.
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& reg = holder.Create(FALSE, FALSE);
    const CString key = CString(kProfile) + "PlxToolbarParameters";
    ASSERT_TRUE(reg.DeleteKey(key));
    ASSERT_TRUE(reg.CreateKey(key));
    ASSERT_TRUE(reg.WriteInt("Tooltips", 1));
  }
  CPlxVisualManager::GetInstance()->SetLook2000(TRUE);
  EXPECT_FALSE(CPlxToolBar::LoadParameters(kProfile));
  EXPECT_EQ(CPlxPopupMenu::m_AnimationType, 0);
  EXPECT_FALSE(CPlxVisualManager::GetInstance()->m_bLook2000);
  EXPECT_FALSE(CPlxToolBar::LoadParameters("Software\\NoSuchToolbarProfile\\")) << "no key: nothing changes";
  CPlxToolBar::m_bShowShortcutKeys = TRUE;
}

// ---- input ----

TEST_F(BarFixture, PressingCheckingAndTheTooltipText) {
  CreateBar();
  m_bar.InsertButton(Plain(57601, 0));
  CPlxToolbarButton check = Plain(32857, 1);
  check.m_nStyle = TBBS_CHECKBOX | TBBS_INDETERMINATE;
  m_bar.InsertButton(check);
  Place(200, m_bar.GetRowHeight());
  const CRect open = m_bar.GetButton(0)->m_rect;
  const CRect box = m_bar.GetButton(1)->m_rect;
  const auto lparam = [](CPoint p) { return MAKELPARAM(p.x, p.y); };

  // Pressed, moved off (unpressed), back on (pressed), released off: nothing is sent.
  m_bar.SendMessage(WM_MOUSEMOVE, 0, lparam(open.CenterPoint()));
  m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lparam(open.CenterPoint()));
  EXPECT_TRUE(m_bar.GetButtonStyle(0) & TBBS_PRESSED);
  m_bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lparam(CPoint(190, 5)));
  EXPECT_FALSE(m_bar.GetButtonStyle(0) & TBBS_PRESSED);
  m_bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lparam(open.CenterPoint()));
  EXPECT_TRUE(m_bar.GetButtonStyle(0) & TBBS_PRESSED);
  m_bar.SendMessage(WM_LBUTTONUP, 0, lparam(CPoint(190, 5)));
  EXPECT_FALSE(m_bar.GetButtonStyle(0) & TBBS_PRESSED);
  EXPECT_EQ(m_bar.GetPressedIndex(), -1);

  // An indeterminate check box ends checked and determinate.
  m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lparam(box.CenterPoint()));
  m_bar.SendMessage(WM_LBUTTONUP, 0, lparam(box.CenterPoint()));
  EXPECT_TRUE(m_bar.GetButtonStyle(1) & TBBS_CHECKED);
  EXPECT_FALSE(m_bar.GetButtonStyle(1) & TBBS_INDETERMINATE);

  // A disabled button is not pressed.
  m_bar.SetButtonStyle(0, TBBS_DISABLED);
  m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lparam(open.CenterPoint()));
  EXPECT_EQ(m_bar.GetPressedIndex(), -1);
  m_bar.SendMessage(WM_LBUTTONUP, 0, lparam(open.CenterPoint()));
}

TEST(PlxToolBarTooltip, TheTipAddsTheShortcutUnlessSwitchedOff) {
  UseProgramResources();
  const HWND host = pictavo::test::CreateHostWindow(400, 200);
  {
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "Tip frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 200)));
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'O', 57601}};
    frame.m_hAccelTable = CreateAcceleratorTable(keys, 1);
    CPlxToolBar bar;
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1001));
    bar.InsertButton(Plain(57601, 0));
    bar.SetWindowPos(nullptr, 0, 0, 200, 30, SWP_NOZORDER);
    bar.AdjustLocations();
    const CPoint at = bar.GetButton(0)->m_rect.CenterPoint();
    for (const auto& [shortcuts, expected] : {std::pair{TRUE, "Open (Ctrl+O)"}, std::pair{FALSE, "Open"}}) {
      CPlxToolBar::m_bShowShortcutKeys = shortcuts;
      TOOLINFOA info{};
      EXPECT_EQ(bar.OnToolHitTest(at, &info), 57601);
      ASSERT_NE(info.lpszText, nullptr);
      EXPECT_STREQ(info.lpszText, expected);
      free(info.lpszText);
    }
    CPlxToolBar::m_bShowShortcutKeys = TRUE;
    DestroyAcceleratorTable(frame.m_hAccelTable);
    bar.DestroyWindow();
    frame.DestroyWindow();
  }
  DestroyWindow(host);
  pictavo::test::PumpPending();
}

// ---- floating and system changes ----

// A floating bar's mini frame offers neither restore, minimize nor maximize, and a bar that may
// not be closed greys Close, which then leaves the bar where it is.
TEST(PlxToolBarFloating, TheMiniFrameMenuOnlyMovesAndClosesWhatMayClose) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  UseProgramResources();
  for (const BOOL permanent : {FALSE, TRUE}) {
    SCOPED_TRACE(permanent ? "permanent" : "closable");
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "Float frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 200)));
    frame.EnableDocking(CBRS_ALIGN_ANY);
    CPlxToolBar bar;
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 1001));
    bar.m_bPermanent = permanent;
    for (UINT id = 1; id <= 6; ++id) bar.InsertButton(Plain(id, 0));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(&bar);
    bar.m_nMRUWidth = 3 * bar.GetColumnWidth();  // floats in two rows, as the user left it
    frame.FloatControlBar(&bar, CPoint(100, 100));
    ASSERT_TRUE(bar.IsFloating());
    CWnd* mini = CWnd::FromHandle(::GetAncestor(bar.GetSafeHwnd(), GA_ROOT));
    ASSERT_NE(mini, &frame);
    HMENU menu = ::GetSystemMenu(mini->GetSafeHwnd(), FALSE);
    ASSERT_NE(menu, nullptr);
    for (const UINT gone : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE})
      EXPECT_EQ(::GetMenuState(menu, gone, MF_BYCOMMAND), static_cast<UINT>(-1)) << std::hex << gone;
    EXPECT_NE(::GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
    const UINT close = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
    EXPECT_EQ((close & MF_GRAYED) != 0, permanent != FALSE);

    if (permanent) {  // a picture to look at: the dimmed close button
      mini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      CRect shown;
      mini->GetWindowRect(shown);
      EXPECT_FALSE(pictavo::test::SaveDesktopArea(shown, "toolbar-floating-permanent.png").empty());
    }
    mini->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(bar.IsWindowVisible() != FALSE, permanent != FALSE) << "Close hides only a closable bar";
    frame.DestroyWindow();
    pictavo::test::PumpPending();
  }
}

// New non-client metrics (a bigger menu font) reach a bar's fonts and its text-label buttons.
TEST_F(BarFixture, ANewMenuFontWidensTextLabels) {
  CreateBar();
  m_bar.InsertButton(Plain(57601, 0, "Open"));
  m_bar.EnableTextLabels(TRUE);
  Place(400, 80);
  const int before = m_bar.GetButton(0)->m_rect.Width();
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  const NONCLIENTMETRICSA saved = metrics;
  metrics.lfMenuFont.lfHeight = metrics.lfMenuFont.lfHeight < 0 ? -24 : 24;
  ASSERT_TRUE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  m_bar.SendMessage(WM_SETTINGCHANGE, 0, 0);  // another setting leaves the fonts as they were
  Place(400, 80);
  const int otherSetting = m_bar.GetButton(0)->m_rect.Width();
  m_bar.SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  Place(400, 80);
  const int after = m_bar.GetButton(0)->m_rect.Width();
  SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof saved, const_cast<NONCLIENTMETRICSA*>(&saved), 0);
  m_bar.SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  EXPECT_EQ(otherSetting, before);
  EXPECT_GT(after, before);
}
