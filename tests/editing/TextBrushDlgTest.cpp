#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editing/TextBrushDlg.h"
#include "tests/editing/TextPageFixture.h"

using namespace textpagetest;

namespace {

// The colour dialog answered with a fixed colour; its openings counted.
class CPickingBrushDlg : public CTextBrushDlg {
 public:
  int m_nPicks = 0;
  COLORREF m_clrAnswer = RGB(10, 200, 30);

 protected:
  BOOL PickColor(COLORREF& color) override {
    ++m_nPicks;
    color = m_clrAnswer;
    return TRUE;
  }
};

_TextBrushStyle Brush(int kind, COLORREF solid, COLORREF one, COLORREF two, const char* texture) {
  _TextBrushStyle brush{};
  brush.nBrushType = kind;
  brush.clrSolid = solid;
  brush.clrGradient1 = one;
  brush.clrGradient2 = two;
  brush.nGradientAngle = 45;
  brush.nTextureScale = 60;
  std::strcpy(brush.szTextureFile, texture);
  return brush;
}

bool Visible(HWND dialog, int id) {
  return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

}  // namespace

TEST_F(TextPageTest, BrushDialogOpensOnEachKindAndOkStoresTheWorkingBrush) {
  constexpr COLORREF kRed = RGB(220, 20, 20), kBlue = RGB(0, 0, 200), kGreen = RGB(0, 160, 0);
  constexpr COLORREF kWhite = 0xFFFFFF, kDeepRed = 0x0000F0;
  struct Case {
    const char* what;
    _TextBrushStyle given;
    int radio;  // the choice shown
    bool secondShown, texturesEnabled;
    const char* combo;  // the texture shown
    WPARAM button;
    _TextBrushStyle stored;
  };
  // What the caller gets is the dialog's working brush: the kind not chosen keeps the defaults.
  const Case cases[] = {
      {"solid", Brush(0, kRed, kBlue, kGreen, "wood.png"), IDC_TEXT_BRUSH_SOLID_RADIO, false, false,
       "candy.png", IDOK, Brush(0, kRed, kWhite, kDeepRed, "")},
      {"gradient", Brush(1, kRed, kBlue, kGreen, "wood.png"), IDC_TEXT_BRUSH_GRADIENT_RADIO, true, false,
       "candy.png", IDOK, Brush(1, 0, kBlue, kGreen, "")},
      {"texture", Brush(2, kRed, kBlue, kGreen, "wood.png"), IDC_TEXT_BRUSH_TEXTURE_RADIO, false, true,
       "wood.png", IDOK, Brush(2, 0, kWhite, kDeepRed, "wood.png")},
      {"texture no longer there", Brush(2, kRed, kBlue, kGreen, "gone.png"), IDC_TEXT_BRUSH_TEXTURE_RADIO,
       false, true, "candy.png", IDOK, Brush(2, 0, kWhite, kDeepRed, "candy.png")},
      {"unknown kind", Brush(7, kRed, kBlue, kGreen, "wood.png"), IDC_TEXT_BRUSH_SOLID_RADIO, false, false,
       "candy.png", IDOK, Brush(0, kRed, kWhite, kDeepRed, "")},
      {"cancel", Brush(1, kRed, kBlue, kGreen, "wood.png"), IDC_TEXT_BRUSH_GRADIENT_RADIO, true, false,
       "candy.png", IDCANCEL, Brush(1, kRed, kBlue, kGreen, "wood.png")},
  };
  for (const Case& c : cases) {
    _TextBrushStyle caller = c.given;
    CTextBrushDlg dialog(nullptr);
    dialog.m_pStyle = &caller;
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                    EXPECT_TRUE(Checked(window, c.radio)) << c.what;
                    EXPECT_EQ(Visible(window, IDC_TEXT_BRUSH_SECOND_COLOR), c.secondShown) << c.what;
                    EXPECT_EQ(Enabled(window, IDC_TEXT_BRUSH_TEXTURES), c.texturesEnabled) << c.what;
                    EXPECT_EQ(ComboText(window, IDC_TEXT_BRUSH_TEXTURES), c.combo) << c.what;
                    if (c.texturesEnabled || c.secondShown)
                      SnapshotWindow(window, std::string("text-brush-dialog-") +
                                                 (c.secondShown ? "gradient" : "texture") + ".png");
                    return c.button;
                  }),
              static_cast<INT_PTR>(c.button))
        << c.what;
    // The angle is always 90 after OK; the texture scale passes through.
    _TextBrushStyle expected = c.stored;
    if (c.button == IDOK) expected.nGradientAngle = 90;
    EXPECT_EQ(caller.nBrushType, expected.nBrushType) << c.what;
    EXPECT_EQ(caller.clrSolid, expected.clrSolid) << c.what;
    EXPECT_EQ(caller.clrGradient1, expected.clrGradient1) << c.what;
    EXPECT_EQ(caller.clrGradient2, expected.clrGradient2) << c.what;
    EXPECT_EQ(caller.nGradientAngle, expected.nGradientAngle) << c.what;
    EXPECT_EQ(caller.nTextureScale, 60) << c.what;
    EXPECT_STREQ(caller.szTextureFile, expected.szTextureFile) << c.what;
  }
}

TEST_F(TextPageTest, BrushDialogColourButtonsFollowTheKind) {
  struct Case {
    const char* what;
    int radio;
    int button;
    int picks;
    int kind;
    COLORREF _TextBrushStyle::*changed;
  };
  const Case cases[] = {
      {"solid colour", IDC_TEXT_BRUSH_SOLID_RADIO, IDC_TEXT_BRUSH_FIRST_COLOR, 1, 0,
       &_TextBrushStyle::clrSolid},
      {"first gradient colour", IDC_TEXT_BRUSH_GRADIENT_RADIO, IDC_TEXT_BRUSH_FIRST_COLOR, 1, 1,
       &_TextBrushStyle::clrGradient1},
      {"second gradient colour", IDC_TEXT_BRUSH_GRADIENT_RADIO, IDC_TEXT_BRUSH_SECOND_COLOR, 1, 1,
       &_TextBrushStyle::clrGradient2},
      {"a texture has no colour", IDC_TEXT_BRUSH_TEXTURE_RADIO, IDC_TEXT_BRUSH_FIRST_COLOR, 0, 2, nullptr},
  };
  for (const Case& c : cases) {
    _TextBrushStyle caller = Brush(0, RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), "");
    CPickingBrushDlg dialog;
    dialog.m_pStyle = &caller;
    Run(dialog, [&](HWND window) {
      for (const int radio :
           {IDC_TEXT_BRUSH_SOLID_RADIO, IDC_TEXT_BRUSH_GRADIENT_RADIO, IDC_TEXT_BRUSH_TEXTURE_RADIO})
        Check(window, radio, radio == c.radio);
      Click(window, c.radio);
      Click(window, c.button);
      return static_cast<WPARAM>(IDOK);
    });
    EXPECT_EQ(dialog.m_nPicks, c.picks) << c.what;
    EXPECT_EQ(caller.nBrushType, c.kind) << c.what;
    if (c.changed != nullptr) EXPECT_EQ(caller.*c.changed, dialog.m_clrAnswer) << c.what;
  }
}
