#include "toolkit/core/PlxWinXPVisualManager.h"

#include <gtest/gtest.h>

#include "toolkit/core/PlxDrawHelper.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

// Sets the colours the palette is computed from and puts the system's back afterwards.
class PlxVisualManagerXPPalette : public ::testing::Test {
 protected:
  void TearDown() override { g_plxGlobalData.UpdateSysColors(); }
  static void Colours(COLORREF face, COLORREF window, COLORREF selection, int bits = 32,
                      BOOL blackContrast = FALSE) {
    g_plxGlobalData.clrBarFace = g_plxGlobalData.clrBtnFace = face;
    g_plxGlobalData.clrWindow = window;
    g_plxGlobalData.clrHilite = selection;
    g_plxGlobalData.clrBarShadow = g_plxGlobalData.clrBtnShadow = RGB(128, 128, 128);
    g_plxGlobalData.clrBtnDkShadow = RGB(64, 64, 64);
    g_plxGlobalData.clrBarLight = RGB(230, 230, 230);
    g_plxGlobalData.nBitsPerPixel = bits;
    g_plxGlobalData.bIsBlackHighContrast = blackContrast;
    g_plxGlobalData.bIsWhiteHighContrast = FALSE;
  }
};

}  // namespace

TEST_F(PlxVisualManagerXPPalette, ColoursFromTheSystemColours) {
  CPlxVisualManagerXP manager(TRUE);
  struct Case {
    const char* what;
    COLORREF face, window, selection;
    int bits;
    BOOL blackContrast;
    COLORREF barFill, menuFill, hotFrame, hotFill, checkedFill;
  };
  const COLORREF kFace = RGB(212, 208, 200);
  const COLORREF kWhite = RGB(255, 255, 255);
  const COLORREF kBlue = RGB(49, 106, 197);
  const COLORREF kPale = RGB(220, 230, 250);  // lightness above 0.8
  const Case cases[] = {
      {"classic", kFace, kWhite, kBlue, 32, FALSE, RGB(218, 215, 208), RGB(248, 248, 247), kBlue,
       CPlxDrawHelper::ScaleColor(
           RGB((77 * 49 + 178 * 248) / 255, (77 * 106 + 178 * 248) / 255, (77 * 197 + 178 * 247) / 255), 102),
       RGB((49 + 5 * 248) / 6, (106 + 5 * 248) / 6, (197 + 5 * 247) / 6)},
      {"pale selection", kFace, kWhite, kPale, 32, FALSE, RGB(218, 215, 208), RGB(248, 248, 247),
       CPlxDrawHelper::ScaleColor(kPale, 84),
       CPlxDrawHelper::ScaleColor(
           RGB((77 * 220 + 178 * 248) / 255, (77 * 230 + 178 * 248) / 255, (77 * 250 + 178 * 247) / 255), 91),
       RGB((220 + 5 * 248) / 6, (230 + 5 * 248) / 6, (250 + 5 * 247) / 6)},
      {"8 bits", kFace, kWhite, kBlue, 8, FALSE, kFace, kWhite, kBlue, kFace, kWhite},
      {"black contrast", RGB(0, 0, 0), RGB(0, 0, 0), kBlue, 32, TRUE, RGB(0, 0, 0), RGB(0, 0, 0),
       RGB(64, 64, 64), kBlue, kBlue},
  };
  for (const Case& c : cases) {
    Colours(c.face, c.window, c.selection, c.bits, c.blackContrast);
    manager.OnUpdateSystemColors();
    EXPECT_EQ(manager.m_clrBarFill, c.barFill) << c.what;
    EXPECT_EQ(manager.m_clrMenuFill, c.menuFill) << c.what;
    EXPECT_EQ(manager.m_clrHotFrame, c.hotFrame) << c.what;
    EXPECT_EQ(manager.m_clrHotFill, c.hotFill) << c.what;
    EXPECT_EQ(manager.m_clrCheckedFill, c.checkedFill) << c.what;
    EXPECT_EQ(manager.m_clrPressedFrame, (COLORREF)-1) << c.what;
    EXPECT_NE(manager.m_brHotFill.GetSafeHandle(), nullptr) << c.what;
  }
  // In black high contrast the pressed fill is the selection too.
  EXPECT_EQ(manager.m_clrPressedFill, kBlue);
}

TEST_F(PlxVisualManagerXPPalette, MetricsAndValues) {
  CPlxVisualManagerXP manager(TRUE);
  EXPECT_TRUE(manager.m_bLook2000);
  EXPECT_EQ(manager.m_nMenuShadowDepth, 4);
  EXPECT_EQ(manager.m_nPopupMenuBorderSize, 1);
  EXPECT_EQ(manager.GetMenuImageMargin(), 3);
  EXPECT_EQ(manager.GetPopupMenuOffset(), 0);
  EXPECT_EQ(manager.GetImageShadowBaseColor(), manager.m_clrHotFill);
  EXPECT_FALSE(manager.IsLook2000Allowed());
  manager.CreateDotBrushes();
  EXPECT_NE(manager.m_brDotsHorz.GetSafeHandle(), nullptr);
  EXPECT_NE(manager.m_brDotsVert.GetSafeHandle(), nullptr);
  // The installed manager has the same look.
  EXPECT_TRUE(RUNTIME_CLASS(CPlxWinXPVisualManager)->IsDerivedFrom(RUNTIME_CLASS(CPlxVisualManagerXP)));
}
