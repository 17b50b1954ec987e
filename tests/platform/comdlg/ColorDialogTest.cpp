#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ComdlgFixture.h"
#include "platform/comdlg/ColorControls.h"
#include "platform/comdlg/ColorModel.h"
#include "platform/comdlg/CommDlg.h"
#include "platform/comdlg/DialogIds.h"

using namespace comdlg_test;
using namespace pictavo::comdlg;

namespace {

TEST(ColorModel, HueSaturationAndLuminanceOnTheEditsScale) {
  const struct {
    COLORREF color;
    Hls hls;
  } cases[] = {
      {RGB(255, 0, 0), {0, 120, 240}},     {RGB(0, 255, 0), {80, 120, 240}},
      {RGB(0, 0, 255), {160, 120, 240}},   {RGB(255, 255, 255), {160, 240, 0}},
      {RGB(0, 0, 0), {160, 0, 0}},         {RGB(128, 128, 128), {160, 120, 0}},
      {RGB(255, 128, 128), {0, 180, 240}},
  };
  for (const auto& c : cases) {
    const Hls hls = ToHls(c.color);
    EXPECT_EQ(hls.hue, c.hls.hue) << std::hex << c.color;
    EXPECT_EQ(hls.lum, c.hls.lum) << std::hex << c.color;
    EXPECT_EQ(hls.sat, c.hls.sat) << std::hex << c.color;
  }
  EXPECT_EQ(ToHls(RGB(90, 90, 90), 40).hue, 40) << "a grey keeps the hue it is given";
  for (COLORREF color : BasicColors()) {
    const COLORREF back = ToRgb(ToHls(color));
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(color)), 2) << std::hex << color;
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(color)), 2) << std::hex << color;
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(color)), 2) << std::hex << color;
  }
}

// A CHOOSECOLOR with its own custom colours, each different.
struct Colors {
  Colors(HWND owner, COLORREF initial, DWORD flags) {
    for (int i = 0; i < 16; ++i) custom[i] = RGB(i * 16, 255 - i * 16, 7);
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = flags;
  }
  COLORREF custom[16];
  CHOOSECOLOR cc{};
};

using ColorDialogTest = ComdlgTest;

TEST_F(ColorDialogTest, AScriptTypingRedGreenAndBlueGetsThatColour) {
  const struct {
    const char* red;
    const char* green;
    const char* blue;
    COLORREF result;
  } cases[] = {
      {"12", "34", "56", RGB(12, 34, 56)}, {"300", "0", "255", RGB(255, 0, 255)},  // past the top: the top
  };
  for (const auto& c : cases) {
    Colors colors(m_owner, RGB(1, 2, 3), CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR);
    Script(std::string("wait-window Color\nkey Alt+R\ntype ") + c.red + "\nkey Alt+G\ntype " + c.green +
               "\nkey Alt+U\ntype " + c.blue + "\nkey Enter",
           "Color");
    ASSERT_TRUE(ChooseColor(&colors.cc)) << m_scriptFailure;
    EXPECT_EQ(colors.cc.rgbResult, c.result) << c.red;
  }
}

TEST_F(ColorDialogTest, TheEditsFollowEachOther) {
  Colors colors(m_owner, RGB(0, 0, 0), CC_FULLOPEN);
  std::string red, green, blue, hue, sat, lum;
  Steps().Key('E', MOD_ALT).Type("80").Key('S', MOD_ALT).Type("240").Key('L', MOD_ALT).Type("120");
  Steps().Then([&](HWND dialog) {
    red = WindowText(GetDlgItem(dialog, kColorRed));
    green = WindowText(GetDlgItem(dialog, kColorGreen));
    blue = WindowText(GetDlgItem(dialog, kColorBlue));
  });
  Steps().Key('B', MOD_ALT).Key(VK_RIGHT);  // from the green cell to the one after it
  Steps().Then([&](HWND dialog) {
    hue = WindowText(GetDlgItem(dialog, kColorHue));
    sat = WindowText(GetDlgItem(dialog, kColorSat));
    lum = WindowText(GetDlgItem(dialog, kColorLum));
  });
  Steps().Key(VK_ESCAPE);
  EXPECT_FALSE(ChooseColor(&colors.cc));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(colors.cc.rgbResult, RGB(0, 0, 0)) << "a cancel leaves the colour";
  EXPECT_EQ(red + "," + green + "," + blue, "0,255,0");
  ASSERT_EQ(BasicColors()[19], RGB(0, 255, 0));
  const Hls next = ToHls(BasicColors()[20]);
  EXPECT_EQ(hue + "," + sat + "," + lum,
            std::to_string(next.hue) + "," + std::to_string(next.sat) + "," + std::to_string(next.lum));
}

TEST_F(ColorDialogTest, CustomColoursAreShownAndKeptEvenOnCancel) {
  Colors colors(m_owner, RGB(0, 0, 0), CC_FULLOPEN);
  const Colors before(m_owner, 0, 0);
  COLORREF shown[16] = {};
  Steps().Then([&](HWND dialog) {
    for (int i = 0; i < 16; ++i)
      shown[i] = static_cast<COLORREF>(SendDlgItemMessage(dialog, kColorCustom, kCellsGetColor, i, 0));
  });
  Steps().Key('R', MOD_ALT).Type("200").Key('G', MOD_ALT).Type("100").Key('U', MOD_ALT).Type("50");
  Steps().Key('A', MOD_ALT).Key(VK_ESCAPE);  // added, then cancelled
  EXPECT_FALSE(ChooseColor(&colors.cc));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(shown[i], before.custom[i]) << i;
  EXPECT_EQ(colors.custom[0], RGB(200, 100, 50));
  for (int i = 1; i < 16; ++i) EXPECT_EQ(colors.custom[i], before.custom[i]) << i;

  // The next dialog starts with it, and the custom grid chooses it.
  Steps().Key('C', MOD_ALT).Key(VK_RIGHT).Key(VK_RETURN);
  ASSERT_TRUE(ChooseColor(&colors.cc));
  EXPECT_EQ(colors.cc.rgbResult, RGB(200, 100, 50));
}

TEST_F(ColorDialogTest, TheBasicGridIsUsableFromTheKeyboard) {
  Colors colors(m_owner, RGB(1, 2, 3), CC_RGBINIT);  // no cell has it
  Steps().Key(VK_RIGHT).Key(VK_DOWN).Key(VK_RIGHT).Key(VK_RETURN);
  ASSERT_TRUE(ChooseColor(&colors.cc));
  EXPECT_EQ(colors.cc.rgbResult, BasicColors()[9]);
}

TEST_F(ColorDialogTest, TheCustomPartOpensOnRequestUnlessPrevented) {
  const struct {
    DWORD flags;
    bool fullAtStart;
    bool canOpen;
  } cases[] = {
      {0, false, true},
      {CC_FULLOPEN, true, false},  // already open: the button has nothing left to do
      {CC_PREVENTFULLOPEN, false, false},
  };
  for (const auto& c : cases) {
    Colors colors(m_owner, 0, c.flags);
    bool fullAtStart = false, canOpen = false, fullAfter = false;
    RECT narrow{}, wide{};
    Steps().Then([&](HWND dialog) {
      fullAtStart = IsWindowVisible(GetDlgItem(dialog, kColorSpectrum));
      canOpen = IsWindowEnabled(GetDlgItem(dialog, kColorDefine));
      GetWindowRect(dialog, &narrow);
    });
    Steps().Key('D', MOD_ALT).Then([&](HWND dialog) {
      fullAfter = IsWindowVisible(GetDlgItem(dialog, kColorRed));
      GetWindowRect(dialog, &wide);
    });
    Steps().Key(VK_ESCAPE);
    EXPECT_FALSE(ChooseColor(&colors.cc));
    EXPECT_EQ(fullAtStart, c.fullAtStart) << c.flags;
    EXPECT_EQ(canOpen, c.canOpen) << c.flags;
    EXPECT_EQ(fullAfter, c.fullAtStart || c.canOpen) << c.flags;
    if (c.canOpen) EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
  }
}

TEST_F(ColorDialogTest, BadRecordsAreRefused) {
  Colors noCustom(m_owner, 0, 0);
  noCustom.cc.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColor(&noCustom.cc));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
  Colors badSize(m_owner, 0, 0);
  badSize.cc.lStructSize = 12;
  EXPECT_FALSE(ChooseColor(&badSize.cc));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  Colors hook(m_owner, 0, CC_ENABLEHOOK);
  EXPECT_FALSE(ChooseColor(&hook.cc));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);

  Colors olderSize(m_owner, 0, 0);
  olderSize.cc.lStructSize = 36;  // the 32-bit layout's
  Steps().Key(VK_ESCAPE);
  EXPECT_FALSE(ChooseColor(&olderSize.cc));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_TRUE(Steps().Done());
}

}  // namespace
