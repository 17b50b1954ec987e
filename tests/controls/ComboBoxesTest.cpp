// The combo boxes: the font list (installed TrueType faces only, each sample in its own face and
// lined up), the output-format list's pictures and colours, and hover tracking.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/FontPreviewCombo.h"
#include "controls/SkinComboBox.h"
#include "modules/data/OutputProfile.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "shell/MainDlg.h"
#include "shell/SkinMinor.h"
#include "tests/platform/mfc/MfcTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Snapshot.h"

namespace {

constexpr UINT kComboDialog = 64402, kFonts = 64430, kFormats = 64431, kHover = 64432;

class CComboHostDlg : public CDialog {
 public:
  CComboHostDlg() : CDialog(kComboDialog) {}
  CFontPreviewCombo m_fonts;
  CSkinComboBox m_formats;
  CHoverComboBox m_hover;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kFonts, m_fonts);
    DDX_Control(pDX, kFormats, m_formats);
    DDX_Control(pDX, kHover, m_hover);
  }
};

class ComboBoxesTest : public testing_mfc::MfcTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.Create(kComboDialog));
    m_host.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    m_host.DestroyWindow();
    MfcTest::TearDown();
  }
  std::vector<std::string> FontItems() {
    std::vector<std::string> items;
    for (int i = 0; i < m_host.m_fonts.GetCount(); ++i) {
      CString text;
      m_host.m_fonts.GetLBText(i, text);
      items.emplace_back(text.GetString());
    }
    return items;
  }
  // Item `index` of the font list drawn into `canvas` as the list (or the selection field) does.
  void DrawFontItem(pictavo::test::Canvas& canvas, int index, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(index);
    item.itemState = state;
    item.itemData = m_host.m_fonts.GetItemData(index);
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, canvas.Width(), canvas.Height()};
    m_host.m_fonts.DrawItem(&item);
  }
  CComboHostDlg m_host;
};

TEST_F(ComboBoxesTest, TheFontListHoldsTheInstalledTrueTypeFacesInOrder) {
  m_host.m_fonts.SetFontHeight(15, FALSE);
  m_host.m_fonts.SetPreviewMode(2, FALSE);
  m_host.m_fonts.FillFonts();
  const std::vector<std::string> items = FontItems();
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(static_cast<int>(items.size()), m_host.m_fonts.GetFontCount());
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_NE(std::find(items.begin(), items.end(), "DejaVu Sans"), items.end());
  // Names that only stand in for an installed face are not fonts of their own.
  for (const char* alias : {"Tahoma", "Arial", "MS Sans Serif", "Times New Roman"})
    EXPECT_EQ(std::find(items.begin(), items.end(), alias), items.end()) << alias;
  for (const std::string& face : items) {
    EXPECT_NE(m_host.m_fonts.GetSampleFont(face.c_str()), nullptr) << face;
    EXPECT_NE(strcasecmp(face.c_str(), "Bookshelf Symbol 7"), 0);
  }
  for (int i = 0; i < m_host.m_fonts.GetCount(); ++i) EXPECT_EQ(m_host.m_fonts.GetItemData(i) & 4, 4u);
  EXPECT_EQ(m_host.m_fonts.GetCurSel(), 0);
  EXPECT_EQ(m_host.m_fonts.GetItemHeight(0), 15 + 4);
}

TEST_F(ComboBoxesTest, ChangingTheModeRefillsOnlyWhenItChangesAndIsAskedTo) {
  m_host.m_fonts.FillFonts();
  m_host.m_fonts.AddString("~marker");
  const int filled = m_host.m_fonts.GetCount();
  m_host.m_fonts.SetPreviewMode(2, TRUE);  // the current mode: nothing happens
  EXPECT_EQ(m_host.m_fonts.GetCount(), filled);
  m_host.m_fonts.SetPreviewMode(3, FALSE);
  EXPECT_EQ(m_host.m_fonts.GetCount(), filled);
  m_host.m_fonts.SetPreviewMode(1, TRUE);
  EXPECT_EQ(m_host.m_fonts.GetCount(), filled - 1);
  EXPECT_EQ(m_host.m_fonts.GetSampleFont("DejaVu Sans"), nullptr) << "mode 1 makes no fonts";
}

TEST_F(ComboBoxesTest, SamplesLineUpInTheListAndFollowTheNameInTheSelectionField) {
  m_host.m_fonts.m_clrSample = RGB(200, 0, 0);
  m_host.m_fonts.FillFonts();
  const std::vector<std::string> items = FontItems();
  const int widest = m_host.m_fonts.GetWidestName();
  ASSERT_GT(widest, 0);
  const int start = 15 + 20 + widest;
  std::vector<uint32_t> previous;
  int differentFaces = 0;
  for (const char* face : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"}) {
    const int index = m_host.m_fonts.FindStringExact(-1, face);
    if (index < 0) continue;
    pictavo::test::Canvas canvas(start + 120, 19);
    canvas.Fill(RGB(255, 255, 255));
    DrawFontItem(canvas, index, 0);
    int first = canvas.Width();
    for (int x = 0; x < canvas.Width() && first == canvas.Width(); ++x)
      for (int y = 0; y < canvas.Height(); ++y)
        if (canvas.At(x, y) == RGB(200, 0, 0) ||
            (GetRValue(canvas.At(x, y)) > 150 && GetGValue(canvas.At(x, y)) < 120)) {
          first = x;
          break;
        }
    EXPECT_GE(first, start) << face;
    EXPECT_LE(first, start + 3) << face << ": the samples line up";
    // Each sample in its own face.
    const std::vector<uint32_t> pixels = [&] {
      std::vector<uint32_t> all = canvas.Pixels(), part;
      for (int y = 0; y < 19; ++y)
        part.insert(part.end(), all.begin() + y * canvas.Width() + start,
                    all.begin() + y * canvas.Width() + start + 100);
      return part;
    }();
    if (!previous.empty() && pixels != previous) ++differentFaces;
    previous = pixels;
  }
  EXPECT_GE(differentFaces, 1);

  // In the selection field the sample follows the name's own end by ten pixels.
  const int index = m_host.m_fonts.FindStringExact(-1, "DejaVu Sans");
  ASSERT_GE(index, 0);
  pictavo::test::Canvas field(start + 120, 19);
  DrawFontItem(field, index, ODS_COMBOBOXEDIT);
  SIZE name{};
  ::GetTextExtentPoint32(field.Dc(), "DejaVu Sans", 11, &name);  // the name is in the DC's font
  const int nameEnd = 15 + 10 + name.cx;
  const pictavo::test::Ink sampleInk = pictavo::test::InkIn(field, RECT{nameEnd + 1, 0, field.Width(), 19});
  EXPECT_GE(sampleInk.left, nameEnd + 10);
  EXPECT_LE(sampleInk.left, nameEnd + 13);
}

TEST_F(ComboBoxesTest, TheOpenFontListShowsEachSampleInItsFace) {
  m_host.m_fonts.SetFontHeight(15, FALSE);
  m_host.m_fonts.FillFonts();
  m_host.m_fonts.SetFocus();
  m_host.m_fonts.ShowDropDown(TRUE);
  pictavo::test::PumpPending();
  CRect area, list;
  m_host.GetWindowRect(&area);
  m_host.m_fonts.GetDroppedControlRect(&list);
  area.UnionRect(&area, &list);
  area.InflateRect(8, 8);
  EXPECT_TRUE(m_host.m_fonts.GetDroppedState());
  EXPECT_GE(m_host.m_fonts.GetDroppedWidth(),
            m_host.m_fonts.GetWidestName() + m_host.m_fonts.GetWidestSample());
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(area, "font-combo-open.png").empty());
  m_host.m_fonts.ShowDropDown(FALSE);
}

TEST_F(ComboBoxesTest, FormatPicturesFollowTheTypeAndTheGroupNumber) {
  CAVOutputProfileGroup group;
  group.m_nGroupID = 2;
  struct Case {
    OutputFormatItem item;
    bool present;
    int picture;
  };
  const Case kCases[] = {{{3, nullptr}, true, 3}, {{5, &group}, true, 7},   {{5, nullptr}, true, 0},
                         {{7, &group}, true, 0},  {{-1, nullptr}, true, 0}, {{0, nullptr}, false, 0}};
  for (const Case& c : kCases)
    EXPECT_EQ(CSkinComboBox::PictureIndexOf(c.present ? &c.item : nullptr), c.picture) << c.item.type;
}

TEST_F(ComboBoxesTest, AFormatItemIsDrawnInTheSkinColoursWithItsNameBesideThePicture) {
  const CSkinOutputFormatGroups& colors = GetSkinMinor()->GetOutputFormatGroups();
  OutputFormatItem web{4, nullptr};
  m_host.m_formats.AddString("Web album");
  m_host.m_formats.SetItemDataPtr(0, &web);
  m_host.m_formats.AddString("No data");
  struct Case {
    int index;
    UINT state;
    COLORREF back;
    bool text;
  };
  const Case kCases[] = {{0, 0, colors.m_clrBk, true},
                         {0, ODS_SELECTED, colors.m_clrBkSelect, true},
                         {0, ODS_SELECTED | ODS_COMBOBOXEDIT, colors.m_clrBk, true},
                         {1, 0, colors.m_clrBk, false}};
  for (const Case& c : kCases) {
    pictavo::test::Canvas canvas(200, 32, RGB(255, 0, 255));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = static_cast<UINT>(c.index);
    item.itemState = c.state;
    item.itemData = m_host.m_formats.GetItemData(c.index);
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, 200, 32};
    m_host.m_formats.DrawItem(&item);
    EXPECT_EQ(canvas.At(199, 0), c.back) << c.index << "/" << c.state;
    const pictavo::test::Ink text = pictavo::test::InkIn(canvas, RECT{50, 0, 200, 32}, c.back);
    EXPECT_EQ(!text.Empty(), c.text) << c.index << "/" << c.state;
    if (c.text) EXPECT_GE(text.left, 54) << "the name starts 54 pixels in";
  }
  m_host.m_formats.ResetContent();
}

TEST_F(ComboBoxesTest, TheHoverComboKnowsWhenTheMouseIsOverIt) {
  CRect client;
  m_host.m_hover.GetClientRect(&client);
  m_host.m_hover.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.Width() / 2, client.Height() / 2));
  EXPECT_TRUE(m_host.m_hover.IsHover());
  EXPECT_EQ(::GetCapture(), m_host.m_hover.m_hWnd);
  m_host.m_hover.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.Width() + 20, client.Height() / 2));
  EXPECT_FALSE(m_host.m_hover.IsHover());
  EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
