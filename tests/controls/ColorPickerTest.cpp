// The colour picker: the palette's most-recently-used order, where the palette opens, how the
// swatch button is drawn, and a pick with the mouse as the user makes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "controls/ColorPicker.h"
#include "platform/display/InputSynth.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dc.h"
#include "tests/platform/mfc/MfcTestSupport.h"
#include "tests/support/Canvas.h"
#include "tests/support/Snapshot.h"

namespace {

using testing_mfc::IdleScript;

constexpr UINT kColorDialog = 64401, kPicker = 64420, kPickerOff = 64421;

bool IsPermutation(const CColorPalette& p) {
  std::set<int> ranks(std::begin(p.ranks), std::end(p.ranks));
  return ranks.size() == 20 && *ranks.begin() == 1 && *ranks.rbegin() == 20;
}

TEST(ColorPalette, ChoosingACellMovesTheMoreRecentOnesDownOneRank) {
  CColorPalette palette;
  const CColorPalette before = palette;
  palette.Promote(5114 - IDC_COLOR_CELL_FIRST);  // rank 14
  for (int i = 0; i < 20; ++i) {
    const int was = before.ranks[i];
    const int expected = i == 13 ? 1 : was < 14 ? was + 1 : was;
    EXPECT_EQ(palette.ranks[i], expected) << "cell " << 5101 + i;
  }
  EXPECT_TRUE(IsPermutation(palette));
}

TEST(ColorPalette, AColourFromTheDialogTakesItsOwnCellOrTheLeastRecentOne) {
  struct Case {
    COLORREF color;
    int cell;          // the cell that ends up selected
    bool replacesOne;  // a cell changed colour
  };
  const Case kCases[] = {
      {RGB(0, 0, 255), 5117 - 5101, false},  // already there: selected, nothing replaced
      {RGB(1, 2, 3), 5111 - 5101, true},     // new on first use: the cell of rank 20
  };
  for (const Case& c : kCases) {
    CColorPalette palette;
    const CColorPalette before = palette;
    EXPECT_EQ(palette.TakeColor(c.color), c.cell);
    EXPECT_EQ(palette.colors[c.cell], c.color);
    EXPECT_EQ(palette.ranks[c.cell], 1);
    EXPECT_EQ(!std::equal(std::begin(before.colors), std::end(before.colors), std::begin(palette.colors)),
              c.replacesOne);
    EXPECT_TRUE(IsPermutation(palette));
  }
  // A run of new colours fills the least recently used cells one after another and never loses
  // the most recent ones.
  CColorPalette palette;
  for (int i = 0; i < 25; ++i) palette.TakeColor(RGB(10, 20, i));
  for (int i = 20; i < 25; ++i)
    EXPECT_NE(std::find(std::begin(palette.colors), std::end(palette.colors), RGB(10, 20, i)),
              std::end(palette.colors));
  EXPECT_TRUE(IsPermutation(palette));
}

TEST(ColorPalette, ThePaletteOpensBelowTheButtonOrAboveOrShiftedToStayOnScreen) {
  const CSize popup(74, 119), screen(1024, 768);
  struct Case {
    CRect button;
    CPoint at;
  };
  const Case kCases[] = {
      {CRect(100, 100, 160, 124), CPoint(100, 124)},   // below
      {CRect(100, 700, 160, 724), CPoint(100, 581)},   // would run off the bottom: above
      {CRect(990, 100, 1020, 124), CPoint(950, 124)},  // would run off the right: shifted left
      {CRect(980, 700, 1020, 724), CPoint(950, 581)},  // both
      {CRect(0, 20, 40, 44), CPoint(0, 44)},
  };
  for (const Case& c : kCases) {
    const CPoint at = CColorPickerPopupDlg::PlaceBelow(c.button, popup, screen);
    EXPECT_EQ(at.x, c.at.x) << c.button.left << "," << c.button.top;
    EXPECT_EQ(at.y, c.at.y) << c.button.left << "," << c.button.top;
  }
  // A screen too small for it: never off the top or the left.
  const CPoint at = CColorPickerPopupDlg::PlaceBelow(CRect(10, 50, 40, 70), popup, CSize(60, 100));
  EXPECT_EQ(at.x, 0);
  EXPECT_EQ(at.y, 0);
}

// The swatch button drawn into a canvas in a given state.
struct Drawn {
  pictavo::test::Canvas canvas{60, 22, RGB(255, 0, 255)};
  Drawn(COLORREF color, UINT state) {
    CColorPickerButton button;
    button.m_crColor = color;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemState = state;
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, 60, 22};
    button.DrawItem(&item);
  }
};

TEST(ColorPickerButton, TheSwatchShowsTheColourInABlackFrameBesideTheArrow) {
  Drawn enabled(RGB(200, 30, 40), 0);
  const auto& c = enabled.canvas;
  EXPECT_EQ(c.At(5, 4), RGB(0, 0, 0)) << "swatch frame";
  EXPECT_EQ(c.At(20, 11), RGB(200, 30, 40)) << "swatch";
  EXPECT_EQ(c.At(43, 16), RGB(200, 30, 40)) << "swatch's far corner";
  EXPECT_EQ(c.At(44, 17), RGB(0, 0, 0)) << "swatch frame's far corner";
  EXPECT_EQ(c.At(45, 11), RGB(236, 233, 216)) << "face between swatch and separator";
  EXPECT_EQ(c.At(50, 10), RGB(255, 255, 255)) << "separator highlight";
  EXPECT_EQ(c.At(49, 10), RGB(128, 128, 128)) << "separator";
  EXPECT_EQ(c.At(54, 10), RGB(0, 0, 0)) << "arrow";
  EXPECT_EQ(c.At(54, 12), RGB(0, 0, 0)) << "arrow's point";
  EXPECT_EQ(c.At(0, 0), RGB(128, 128, 128)) << "frame";
  EXPECT_EQ(c.At(59, 21), RGB(128, 128, 128)) << "frame";
  EXPECT_EQ(c.CountNot(RGB(255, 0, 255)), 60 * 22) << "the whole button is painted";
}

TEST(ColorPickerButton, ADisabledButtonHasNoSwatchAndAGreyArrowWithWhiteHighlights) {
  Drawn disabled(RGB(200, 30, 40), ODS_DISABLED);
  const auto& c = disabled.canvas;
  EXPECT_EQ(c.At(20, 11), RGB(236, 233, 216));
  EXPECT_EQ(c.At(53, 10), RGB(128, 128, 128));
  EXPECT_EQ(c.At(56, 10), RGB(255, 255, 255));
  EXPECT_EQ(c.At(55, 11), RGB(255, 255, 255));
  EXPECT_EQ(c.At(54, 12), RGB(255, 255, 255));
  EXPECT_EQ(pictavo::test::InkOf(c, RGB(200, 30, 40)).count, 22 * 60);
}

TEST(ColorPickerButton, APressedButtonMovesByOnePixelAndShowsTheFocusDots) {
  Drawn pressed(RGB(0, 0, 255), ODS_SELECTED | ODS_FOCUS);
  const auto& c = pressed.canvas;
  EXPECT_EQ(c.At(6, 5), RGB(0, 0, 0)) << "swatch frame one pixel in";
  EXPECT_EQ(c.At(59, 21), RGB(236, 233, 216)) << "no far frame when pressed";
  EXPECT_EQ(c.At(4, 4), RGB(0, 0, 0)) << "focus dot";
  EXPECT_EQ(c.At(6, 4), RGB(0, 0, 0)) << "focus dot";
  EXPECT_EQ(c.At(5, 4), RGB(236, 233, 216)) << "between the dots";
}

class CColorHostDlg : public CDialog {
 public:
  CColorHostDlg() : CDialog(kColorDialog) {}
  CColorPickerButton m_picker, m_pickerOff;
  int m_picks = 0;
  WPARAM m_color = 0;
  LPARAM m_id = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kPicker, m_picker);
    DDX_Control(pDX, kPickerOff, m_pickerOff);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_picker.m_crColor = RGB(0, 128, 0);
    m_pickerOff.m_crColor = RGB(0, 128, 0);
    return TRUE;
  }
  LRESULT OnColorPicked(WPARAM wParam, LPARAM lParam) {
    ++m_picks;
    m_color = wParam;
    m_id = lParam;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorHostDlg, CDialog)
ON_MESSAGE(WM_COLOR_PICKED, OnColorPicked)
END_MESSAGE_MAP()

POINT CentreOf(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class ColorPickerTest : public testing_mfc::MfcTest {
 protected:
  void SetUp() override { m_saved = CColorPickerPopupDlg::GetPalette(); }
  void TearDown() override {
    CColorPickerPopupDlg::GetPalette() = m_saved;
    MfcTest::TearDown();
  }
  CColorPalette m_saved;
};

TEST_F(ColorPickerTest, AClickedCellBecomesTheColourAndTheParentHearsOfIt) {
  CColorHostDlg host;
  HWND popup = nullptr;
  RECT button{}, palette{};
  std::string shot;
  IdleScript script;
  script.Then([&] { pictavo::display::Click(CentreOf(host.m_picker)); })
      .Until([&] { return (popup = ::GetCapture()) != nullptr && ::IsWindowVisible(popup); })
      .Then([&] {
        ::GetWindowRect(host.m_picker, &button);
        ::GetWindowRect(popup, &palette);
        RECT area;
        ::UnionRect(&area, &button, &palette);
        ::InflateRect(&area, 12, 12);
        shot = pictavo::test::SaveDesktopArea(area, "color-picker-popup.png");
      })
      .Then([&] { pictavo::display::Click(CentreOf(::GetDlgItem(popup, 5114))); })
      .Until([&] { return host.m_picks > 0; })
      .Key(VK_ESCAPE);
  EXPECT_EQ(host.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(shot.empty());
  EXPECT_EQ(palette.left, button.left) << "the palette opens at the button's bottom-left corner";
  EXPECT_EQ(palette.top, button.bottom);
  EXPECT_EQ(host.m_color, RGB(255, 0, 0));
  EXPECT_EQ(host.m_id, static_cast<LPARAM>(kPicker));
  EXPECT_EQ(host.m_picker.m_crColor, RGB(255, 0, 0));
  EXPECT_EQ(CColorPickerPopupDlg::GetPalette().ranks[5114 - 5101], 1);
}

TEST_F(ColorPickerTest, AClickOutsideThePaletteClosesItAndKeepsTheColour) {
  CColorHostDlg host;
  HWND popup = nullptr;
  IdleScript script;
  script.Then([&] { pictavo::display::Click(CentreOf(host.m_picker)); })
      .Until([&] { return (popup = ::GetCapture()) != nullptr && ::IsWindowVisible(popup); })
      .Then([&] { pictavo::display::Click(CentreOf(::GetDlgItem(host, IDCANCEL))); })
      .Until([&] { return !::IsWindow(popup); })
      .Then([&] { pictavo::display::Click(CentreOf(host.m_pickerOff)); })  // disabled: opens nothing
      .Then([&] { popup = ::GetCapture(); })
      .Key(VK_ESCAPE);
  EXPECT_EQ(host.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(popup, nullptr);
  EXPECT_EQ(host.m_picks, 0);
  EXPECT_EQ(host.m_picker.m_crColor, RGB(0, 128, 0));
}

TEST_F(ColorPickerTest, OtherChoosesAColourAndCancellingItKeepsThePaletteOpen) {
  CColorHostDlg host;
  HWND popup = nullptr, captureAfterCancel = nullptr;
  IdleScript script;
  script.Then([&] { pictavo::display::Click(CentreOf(host.m_picker)); })
      .Until([&] { return (popup = ::GetCapture()) != nullptr && ::IsWindowVisible(popup); })
      .Then([&] { pictavo::display::Click(CentreOf(::GetDlgItem(popup, IDC_COLOR_OTHER))); })
      .Until([&] { return ::FindWindow(nullptr, "Color") != nullptr; })
      .Key(VK_ESCAPE)
      .Until([&] { return ::FindWindow(nullptr, "Color") == nullptr; })
      .Then([&] { captureAfterCancel = ::GetCapture(); })
      .Then([&] { pictavo::display::Click(CentreOf(::GetDlgItem(popup, IDC_COLOR_OTHER))); })
      .Until([&] { return ::FindWindow(nullptr, "Color") != nullptr; })
      .Key('R', MOD_ALT)
      .Type("12")
      .Key('G', MOD_ALT)
      .Type("34")
      .Key('U', MOD_ALT)
      .Type("56")
      .Key(VK_RETURN)
      .Until([&] { return host.m_picks > 0; })
      .Key(VK_ESCAPE);
  EXPECT_EQ(host.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(captureAfterCancel, popup);
  EXPECT_EQ(host.m_color, RGB(12, 34, 56));
  EXPECT_EQ(CColorPickerPopupDlg::GetPalette().colors[5111 - 5101], RGB(12, 34, 56))
      << "the least recent cell";
}

}  // namespace
