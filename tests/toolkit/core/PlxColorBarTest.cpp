// The colour bar's model: grids, fitting cells to a control, the selected colour and its box,
// tooltips, palettes and the archive form.
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/File.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/HostWindow.h"
#include "tests/toolkit/core/ColorBarFixture.h"
#include "toolkit/core/PlxGlobalData.h"

using namespace colortest;

namespace {

// A colour bar whose grid fields a test sets directly.
CPlxColorBar* Bar(std::vector<std::unique_ptr<CPlxColorBar>>& keep, int count, int columns) {
  CArray<COLORREF, COLORREF> colors;
  CList<COLORREF, COLORREF> none;
  keep.push_back(std::make_unique<CPlxColorBar>(Ramp(colors, count), (COLORREF)-1, nullptr, nullptr, nullptr,
                                                none, columns, 0, 0, (COLORREF)-1, 0, nullptr));
  return keep.back().get();
}

TEST(PlxColorGrid, ColumnsAndRowsFollowTheSquareRootRuleOrTheGivenColumns) {
  const struct {
    int count, columns;
    int wantColumns, wantRows;
  } cases[] = {
      {20, 0, 5, 4}, {16, 0, 5, 4}, {0, 0, 1, 0}, {1, 0, 2, 1}, {40, 8, 8, 5}, {40, -1, 7, 6}, {3, 9, 9, 1},
  };
  std::vector<std::unique_ptr<CPlxColorBar>> keep;
  for (const auto& c : cases) {
    int columns = 0, rows = 0;
    Bar(keep, c.count, c.columns)->CalcGrid(FALSE, columns, rows);
    EXPECT_EQ(columns, c.wantColumns) << c.count << " colours, " << c.columns << " columns";
    EXPECT_EQ(rows, c.wantRows) << c.count << " colours, " << c.columns << " columns";
  }
}

TEST(PlxColorGrid, AControlTakesTheFirstColumnCountWhoseCellsStillFitTheHeight) {
  const struct {
    int count;
    CRect rect;
    int want;
  } cases[] = {
      {40, CRect(0, 0, 200, 100), 9},  // 8 columns: 24-pixel cells in 5 rows need 120 of 92 pixels
      {20, CRect(0, 0, 200, 100), 7},  // 6 columns: 32-pixel cells in 3 rows need 96 of 92
      {0, CRect(0, 0, 200, 100), -1},  // nothing to place: the square root rule
      {20, CRect(0, 0, 4, 4), -1},     // no cell is wider than nothing
  };
  for (const auto& c : cases)
    EXPECT_EQ(CPlxColorBar::ColumnsForControl(c.count, c.rect, 4, 4), c.want) << c.count << " colours";
}

class PlxColorBarControl : public ColorBarFixture {};

TEST_F(PlxColorBarControl, A200By100ControlOf40ColoursGets9ColumnsOfSquareCentredCells) {
  std::vector<PALETTEENTRY> entries(40);
  for (int i = 0; i < 40; ++i) entries[i] = PALETTEENTRY{BYTE(i * 6), BYTE(255 - i * 6), BYTE(i * 3), 0};
  std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 40;
  for (int i = 0; i < 40; ++i) log->palPalEntry[i] = entries[i];
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(log));

  // A dialog-like host: no frame above it to lay the bar out as a docking bar.
  CWnd host;
  ASSERT_TRUE(host.Attach(pictavo::test::CreateHostWindow(300, 200)));
  CPlxColorBar bar;
  const CRect rect(20, 60, 220, 160);
  ASSERT_TRUE(bar.CreateAsControl(&host, rect, 2000, -1, &palette));
  EXPECT_EQ(bar.m_nGridColumns, 9);
  EXPECT_EQ(bar.GetCount(), 40);
  const CSize cell = bar.GetCellSize();
  EXPECT_EQ(cell.cx, cell.cy) << "square cells";
  int columns = 0, rows = 0;
  bar.CalcGrid(FALSE, columns, rows);
  EXPECT_EQ(rows, 5);
  CRect client;
  bar.GetClientRect(client);
  // The grid fills the control as far as whole square cells go, and sits in its middle.
  EXPECT_LE(cell.cy * rows + 8, client.Height());
  EXPECT_GT((cell.cy + 2) * rows + 8, client.Height()) << "the largest cell that fits, less one";
  const CRect first = bar.GetButton(0)->m_rect, last = bar.GetButton(39)->m_rect;
  CRect window;
  bar.GetWindowRect(window);
  host.ScreenToClient(window);
  EXPECT_EQ(window, rect) << "the control keeps its rectangle";
  EXPECT_LE(std::abs((first.left - client.left) - (client.right - (first.left + columns * cell.cx))), 1);
  EXPECT_LE(std::abs((first.top - client.top) - (client.bottom - last.bottom)), 1);
  EXPECT_EQ(bar.GetCommandID(), 2000u);
  EXPECT_EQ(bar.GetOwner(), &host);
  bar.DestroyWindow();
  host.DestroyWindow();
}

TEST_F(PlxColorBarControl, FittingEndsWhenTheWindowCannotBeReached) {
  // No colours, margins wider than the window, a window smaller than one cell: the walk toward the
  // client size stops when a step changes nothing, with cells of at least one pixel.
  const struct {
    int count;
    CSize window;
    int margin;
  } cases[] = {{0, CSize(3, 3), 4}, {0, CSize(60, 40), 4}, {20, CSize(5, 5), 30}, {1, CSize(1, 1), 0}};
  for (const auto& c : cases) {
    CArray<COLORREF, COLORREF> colors;
    CList<COLORREF, COLORREF> none;
    CPlxColorBar bar(Ramp(colors, c.count), (COLORREF)-1, nullptr, nullptr, nullptr, none, -1, 0, 0,
                     (COLORREF)-1, 0, nullptr);
    bar.m_bInPopup = FALSE;
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2001));
    bar.SetBarStyle(bar.GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
    bar.m_cxMargin = bar.m_cyMargin = c.margin;
    bar.MoveWindow(CRect(CPoint(10, 40), c.window));
    bar.FitCellsToWindow(TRUE, TRUE);
    CRect client;
    bar.GetClientRect(client);
    const CSize cell = bar.GetCellSize();
    EXPECT_GE(cell.cx, 1) << c.count;
    EXPECT_GE(cell.cy, 1) << c.count;
    EXPECT_LE(cell.cy, std::max<LONG>(client.Height(), 1)) << c.count;
    bar.DestroyWindow();
  }
}

class PlxColorBarSelection : public ColorBarFixture {
 protected:
  // A popup-style bar: automatic row, 20 ramp colours, other row.
  void Make(COLORREF selected, COLORREF automatic) {
    CArray<COLORREF, COLORREF> colors;
    CList<COLORREF, COLORREF> none;
    bar = std::make_unique<CPlxColorBar>(Ramp(colors, 20), selected, "Automatic", "More Colors...", nullptr,
                                         none, 0, 0, 0, automatic, 3000, nullptr);
    ASSERT_TRUE(bar->Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 2002));
    const CSize size = bar->CalcSize(FALSE);
    bar->MoveWindow(CRect(CPoint(10, 40), size));
    bar->AdjustLocations();
  }
  CPlxToolBarColorButton* Box() {
    return Cell(bar.get(), FindCell(bar.get(), [](auto& c) { return c.m_bCurrentColorBox; }));
  }
  std::unique_ptr<CPlxColorBar> bar;
};

TEST_F(PlxColorBarSelection, TheBoxBesideTheOtherRowShowsAColourOutsideTheGrid) {
  const COLORREF outside = RGB(1, 2, 3);
  Make(outside, RGB(0, 0, 0));
  ASSERT_NE(Box(), nullptr);
  EXPECT_FALSE(Box()->m_rect.IsRectEmpty());
  EXPECT_TRUE(Box()->m_bSelectedCell);
  EXPECT_EQ(Box()->m_clrCell, outside);
  const int other = FindCell(bar.get(), [](auto& c) { return c.m_bMoreColorsRow; });
  EXPECT_EQ(Box()->m_rect.left, Cell(bar.get(), other)->m_rect.right + bar->GetVertMargin() / 2)
      << "the box follows the other row on its line";

  // A colour of the grid hides the box and marks its cell.
  CArray<COLORREF, COLORREF> colors;
  const COLORREF inGrid = Ramp(colors, 20)[7];
  bar->SetColor(inGrid);
  EXPECT_TRUE(Box()->m_rect.IsRectEmpty());
  const int cell = FindCell(
      bar.get(), [&](auto& c) { return c.IsColorCell() && !c.m_bCurrentColorBox && c.m_clrCell == inGrid; });
  EXPECT_TRUE(Cell(bar.get(), cell)->m_bSelectedCell);
  EXPECT_EQ(bar->GetHotIndex(), cell);

  // The automatic colour marks the automatic row, and the box stays hidden.
  bar->SetColor((COLORREF)-1);
  EXPECT_TRUE(
      Cell(bar.get(), FindCell(bar.get(), [](auto& c) { return c.m_bAutomaticRow; }))->m_bSelectedCell);
  EXPECT_FALSE(Cell(bar.get(), cell)->m_bSelectedCell);
  EXPECT_TRUE(Box()->m_rect.IsRectEmpty());
}

TEST_F(PlxColorBarSelection, DocumentColoursShowInAPopupAndGrowItsHeight) {
  Make((COLORREF)-1, RGB(0, 0, 0));
  const CSize without = bar->CalcSize(FALSE);
  CList<COLORREF, COLORREF> docs;
  for (int i = 0; i < 7; ++i) docs.AddTail(RGB(i, 100, 200));
  bar->SetDocumentColors("Document's Colors", docs);
  const CSize with = bar->CalcSize(FALSE);
  // 7 colours in 5 columns: 2 rows of cells, the separator, a margin and the caption row.
  EXPECT_EQ(with.cy - without.cy,
            4 + 2 * bar->GetCellSize().cy + bar->GetHorzMargin() + bar->m_nTextRowHeight);
  EXPECT_EQ(FindCell(bar.get(), [](auto& c) { return c.m_bCaptionRow; }) >= 0, true);
  EXPECT_FALSE(Cell(bar.get(), FindCell(bar.get(), [](auto& c) { return c.m_bCaptionRow; }))->m_bLocked)
      << "the caption is the one cell that is not locked";
}

TEST(PlxColorCell, TooltipsNameTheColourOrGiveItsHexValue) {
  CPlxToolBarColorButton orange(RGB(255, 128, 0));
  EXPECT_STREQ(orange.GetTipText(), "Hex={FF,80,00}");
  CPlxColorBar::s_mapNamedColors.SetAt(RGB(255, 128, 0), "Orange");
  EXPECT_STREQ(orange.GetTipText(), "Orange");
  CPlxColorBar::s_mapNamedColors.RemoveAll();
  CPlxToolBarColorButton automatic((COLORREF)-1, TRUE, FALSE, "Automatic");
  EXPECT_STREQ(automatic.GetTipText(), "Automatic");
}

TEST(PlxColorPalette, TheDefaultPaletteGivesTheTwentySystemColours) {
  CArray<COLORREF, COLORREF> colors;
  ASSERT_EQ(CPlxColorBar::FillFromPalette(nullptr, colors), 20);
  EXPECT_EQ(colors[0], RGB(0, 0, 0));
  EXPECT_EQ(colors[13], RGB(255, 0, 0));
  EXPECT_EQ(colors[19], RGB(255, 255, 255));
}

TEST(PlxColorPalette, OnlyAn8BitDisplayGetsALogicalPaletteOfAtMost100Colours) {
  CArray<COLORREF, COLORREF> colors;
  Ramp(colors, 150);
  const int saved = g_plxGlobalData.nBitsPerPixel;
  const struct {
    int bits;
    BOOL made;
    int entries;
  } cases[] = {{8, TRUE, 100}, {16, FALSE, 0}, {32, FALSE, 0}};
  for (const auto& c : cases) {
    g_plxGlobalData.nBitsPerPixel = c.bits;
    CPalette palette;
    EXPECT_EQ(CPlxColorBar::CreatePalette(colors, palette), c.made) << c.bits;
    EXPECT_EQ(palette.GetSafeHandle() != nullptr ? palette.GetEntryCount() : 0, c.entries) << c.bits;
  }
  g_plxGlobalData.nBitsPerPixel = saved;
}

// ---- the archive ----

std::vector<BYTE> Store(CPlxColorBar& bar) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    bar.Serialize(ar);
    ar.Close();
  }
  const UINT length = static_cast<UINT>(file.GetLength());
  std::vector<BYTE> bytes(length);
  file.SeekToBegin();
  file.Read(bytes.data(), length);
  return bytes;
}

// Loads the bytes into the bar; false when the load threw.
bool Load(CPlxColorBar& bar, std::vector<BYTE> bytes) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  bool ok = true;
  TRY {
    CArchive ar(&file, CArchive::load);
    bar.Serialize(ar);
    ar.Close();
  }
  CATCH(CException, e) {
    ok = false;
  }
  END_CATCH
  return ok;
}

CPlxColorBar* Stored(std::vector<std::unique_ptr<CPlxColorBar>>& keep) {
  CArray<COLORREF, COLORREF> colors;
  CList<COLORREF, COLORREF> docs;
  docs.AddTail(RGB(9, 9, 9));
  keep.push_back(std::make_unique<CPlxColorBar>(Ramp(colors, 12), RGB(5, 5, 5), "Auto", "More...", "Document",
                                                docs, 4, 2, 3, RGB(1, 1, 1), 3000, nullptr));
  keep.back()->m_bSystemColorDialog = TRUE;
  return keep.back().get();
}

TEST(PlxColorArchive, ARoundTripKeepsLayoutLabelsCommandDialogAndColoursButNotTheSelection) {
  std::vector<std::unique_ptr<CPlxColorBar>> keep;
  CPlxColorBar* source = Stored(keep);
  CPlxColorBar target;
  target.SetColor(RGB(7, 7, 7));
  ASSERT_TRUE(Load(target, Store(*source)));
  EXPECT_EQ(target.m_nGridColumns, 4);
  EXPECT_EQ(target.m_nRowsWhenDockedHorz, 2);
  EXPECT_EQ(target.m_nColumnsWhenDockedVert, 3);
  EXPECT_EQ(target.m_clrAutomatic, RGB(1, 1, 1));
  EXPECT_STREQ(target.m_strAutomaticText, "Auto");
  EXPECT_STREQ(target.m_strMoreColorsText, "More...");
  EXPECT_STREQ(target.m_strDocumentText, "Document");
  EXPECT_FALSE(target.m_bStandalone);
  EXPECT_EQ(target.GetCommandID(), 3000u);
  EXPECT_TRUE(target.m_bSystemColorDialog);
  ASSERT_EQ(target.GetPaletteColors().GetSize(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(target.GetPaletteColors()[i], source->GetPaletteColors()[i]) << i;
  EXPECT_EQ(target.GetColor(), RGB(7, 7, 7)) << "the selection is not stored";
  EXPECT_TRUE(target.m_lstDocumentColors.IsEmpty()) << "document colours are not stored";
}

TEST(PlxColorArchive, DamagedOrHugeCountsFailAndLeaveTheBarAsItWas) {
  std::vector<std::unique_ptr<CPlxColorBar>> keep;
  const std::vector<BYTE> whole = Store(*Stored(keep));
  const size_t countAt = whole.size() - 12 * 4 - 4;
  auto withCount = [&](DWORD count, size_t keepColours) {
    std::vector<BYTE> bytes(whole.begin(), whole.begin() + static_cast<long>(countAt));
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(count >> (8 * i)));
    bytes.insert(bytes.end(), whole.begin() + static_cast<long>(countAt + 4),
                 whole.begin() + static_cast<long>(countAt + 4 + keepColours * 4));
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<BYTE> bytes;
  } cases[] = {
      {"empty", {}},
      {"cut inside the labels", std::vector<BYTE>(whole.begin(), whole.begin() + 20)},
      {"cut inside the colours", std::vector<BYTE>(whole.begin(), whole.end() - 3)},
      {"a count of two thousand million over 12 colours", withCount(0x7FFFFFFF, 12)},
      {"a count of four thousand million", withCount(0xFFFFFFF0, 12)},
      {"a count of 13 over 12 colours", withCount(13, 12)},
  };
  for (const auto& c : cases) {
    CPlxColorBar target;
    target.m_nGridColumns = 6;
    target.m_strAutomaticText = "Kept";
    EXPECT_FALSE(Load(target, c.bytes)) << c.what;
    EXPECT_EQ(target.m_nGridColumns, 6) << c.what;
    EXPECT_STREQ(target.m_strAutomaticText, "Kept") << c.what;
    EXPECT_EQ(target.GetPaletteColors().GetSize(), 0) << c.what;
  }
  CPlxColorBar fewer;
  ASSERT_TRUE(Load(fewer, withCount(5, 12))) << "a smaller count reads that many";
  EXPECT_EQ(fewer.GetPaletteColors().GetSize(), 5);
}

}  // namespace
