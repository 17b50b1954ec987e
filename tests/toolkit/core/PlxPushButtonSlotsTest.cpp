// The push-button and tab-button slots of the classic and Office-XP managers, and of the
// installed manager on this desktop, where no theme is open and it draws the Office-XP look:
// which colours land on the frame and the face in each button state, and how far the frame
// shrinks the rectangle.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/mfc/Dc.h"
#include "platform/user/Controls.h"
#include "tests/support/Canvas.h"
#include "tests/toolkit/core/ButtonStates.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/core/PlxWinXPVisualManager.h"
#include "toolkit/customize/PlxMenuButton.h"
#include "toolkit/customize/PlxTabWnd.h"

namespace {

using pictavo::test::Canvas;
using pictavo::test::StatefulButton;

const CRect kRect(2, 2, 30, 30);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// One drawing on a white canvas: the frame's top-left and bottom-right pixels, the face's
// centre, and the rectangle as the slot left it.
struct Drawn {
  COLORREF topLeft, bottomRight, centre;
  CRect rect;
};

Drawn Draw(const std::function<void(CDC&, CRect&)>& draw) {
  Canvas canvas(40, 40);
  CDC dc;
  dc.Attach(canvas.Dc());
  CRect rect = kRect;
  draw(dc, rect);
  dc.Detach();
  return {canvas.At(kRect.left, kRect.top), canvas.At(kRect.right - 1, kRect.bottom - 1),
          canvas.At(kRect.CenterPoint().x, kRect.CenterPoint().y), rect};
}

struct Case {
  const char* what;
  std::function<void(CDC&, CRect&)> draw;
  Drawn expected;
};

void ExpectCase(const Case& c, const std::string& manager) {
  const Drawn got = Draw(c.draw);
  const std::string what = manager + ": " + c.what;
  EXPECT_EQ(got.topLeft, c.expected.topLeft) << what;
  EXPECT_EQ(got.bottomRight, c.expected.bottomRight) << what;
  EXPECT_EQ(got.centre, c.expected.centre) << what;
  EXPECT_EQ(got.rect, c.expected.rect) << what;
}

}  // namespace

TEST(PlxPushButtonSlots, ClassicFramesAndFaces) {
  CPlxVisualManager vm(TRUE);
  const PlxGlobalData& g = g_plxGlobalData;
  StatefulButton<> normal, pressed;
  pressed.Show(TRUE, TRUE);
  StatefulButton<CPlxMenuButton> opaque;
  opaque.m_bOpaqueFace = TRUE;
  const Case kCases[] = {
      {"face",
       [&](CDC& dc, CRect& r) { vm.OnFillPushButtonBackground(&dc, r, &normal); },
       {g.clrBarFace, g.clrBarFace, g.clrBarFace, kRect}},
      {"raised frame",
       [&](CDC& dc, CRect& r) { vm.OnDrawButtonFrame(&dc, r, &normal); },
       {g.clrBarLight, g.clrBarDkShadow, kWhite, CRect(3, 3, 29, 29)}},
      {"sunken frame",
       [&](CDC& dc, CRect& r) { vm.OnDrawButtonFrame(&dc, r, &pressed); },
       {g.clrBarDkShadow, g.clrBarLight, kWhite, CRect(3, 3, 29, 29)}},
      {"push-button border is the button's own frame",
       [&](CDC& dc, CRect& r) { vm.OnDrawPushButtonBorder(&dc, r, &normal, 0); },
       {g.clrBtnHilite, g.clrBtnDkShadow, kWhite, CRect(4, 4, 28, 28)}},
      {"tab button raised",
       [&](CDC& dc, CRect& r) { vm.OnDrawTabsButtonBorder(&dc, r, &normal, 0, nullptr); },
       {g.clrBtnHilite, g.clrBtnDkShadow, kWhite, CRect(4, 4, 28, 28)}},
      {"tab button selected sinks and shifts",
       [&](CDC& dc, CRect& r) { vm.OnDrawTabsButtonBorder(&dc, r, &normal, ODS_SELECTED, nullptr); },
       {g.clrBtnDkShadow, g.clrBtnHilite, kWhite, CRect(6, 6, 28, 28)}},
      {"menu button with an opaque face",
       [&](CDC& dc, CRect& r) { vm.OnFillButtonParentBackground(&dc, r, &opaque); },
       {g.clrBtnFace, g.clrBtnFace, g.clrBtnFace, kRect}},
      {"a button without a parent has no background to show",
       [&](CDC& dc, CRect& r) { vm.OnFillButtonParentBackground(&dc, r, &normal); },
       {kWhite, kWhite, kWhite, kRect}},
  };
  for (const Case& c : kCases) ExpectCase(c, "classic");
  EXPECT_FALSE(vm.IsThemedButton(&opaque));
}

TEST(PlxPushButtonSlots, OfficeXPFlatButtonsLightUpWhenHotOrPressed) {
  CPlxVisualManagerXP officeXP(TRUE);
  CPlxWinXPVisualManager installed(TRUE);
  ASSERT_FALSE(installed.IsWinXPThemeActive());
  const COLORREF dark = g_plxGlobalData.clrBarDkShadow;
  CPlxTabWnd flatTabs, tabs3D;
  flatTabs.SetStyleFlags(CPlxTabWnd::TabStyleFlat);
  tabs3D.SetStyleFlags(CPlxTabWnd::TabStyle3D);
  for (CPlxVisualManagerXP* vm : {&officeXP, static_cast<CPlxVisualManagerXP*>(&installed)}) {
    const char* name = vm == &officeXP ? "office-xp" : "installed";
    StatefulButton<> normal, hot, pressed;
    hot.Show(FALSE, TRUE);
    pressed.Show(TRUE, TRUE);
    const COLORREF face = g_plxGlobalData.clrBarFace, hotFill = vm->m_clrHotFill,
                   pressedFill = vm->m_clrPressedFill, grip = vm->m_clrGripDots;
    // The states must be told apart by colour for the cases below to mean anything.
    ASSERT_NE(hotFill, face) << name;
    ASSERT_NE(pressedFill, hotFill) << name;
    ASSERT_NE(grip, dark) << name;
    const Case kCases[] = {
        {"face, normal",
         [&](CDC& dc, CRect& r) { vm->OnFillPushButtonBackground(&dc, r, &normal); },
         {face, face, face, kRect}},
        {"face, hot",
         [&](CDC& dc, CRect& r) { vm->OnFillPushButtonBackground(&dc, r, &hot); },
         {hotFill, hotFill, hotFill, kRect}},
        {"face, pressed",
         [&](CDC& dc, CRect& r) { vm->OnFillPushButtonBackground(&dc, r, &pressed); },
         {pressedFill, pressedFill, pressedFill, kRect}},
        {"no border while normal",
         [&](CDC& dc, CRect& r) { vm->OnDrawPushButtonBorder(&dc, r, &normal, 0); },
         {kWhite, kWhite, kWhite, kRect}},
        {"dark border while hot",
         [&](CDC& dc, CRect& r) { vm->OnDrawPushButtonBorder(&dc, r, &hot, 0); },
         {dark, dark, kWhite, kRect}},
        {"hot frame",
         [&](CDC& dc, CRect& r) { vm->OnDrawButtonFrame(&dc, r, &hot); },
         {vm->m_clrHotFrame, vm->m_clrHotFrame, kWhite, kRect}},
        {"no frame while normal",
         [&](CDC& dc, CRect& r) { vm->OnDrawButtonFrame(&dc, r, &normal); },
         {kWhite, kWhite, kWhite, kRect}},
        {"parent background, pressed",
         [&](CDC& dc, CRect& r) { vm->OnFillButtonParentBackground(&dc, r, &pressed); },
         {pressedFill, pressedFill, pressedFill, kRect}},
        {"3D tab button, hot",
         [&](CDC& dc, CRect& r) { vm->OnEraseTabsButton(&dc, r, &hot, &tabs3D); },
         {hotFill, hotFill, hotFill, kRect}},
        {"3D tab button, pressed",
         [&](CDC& dc, CRect& r) { vm->OnEraseTabsButton(&dc, r, &pressed, &tabs3D); },
         {pressedFill, pressedFill, pressedFill, kRect}},
        {"flat tab button keeps the tab area",
         [&](CDC& dc, CRect& r) { vm->OnEraseTabsButton(&dc, r, &pressed, &flatTabs); },
         {vm->m_clrTabArea, vm->m_clrTabArea, vm->m_clrTabArea, kRect}},
        {"3D tab button border, hot",
         [&](CDC& dc, CRect& r) { vm->OnDrawTabsButtonBorder(&dc, r, &hot, 0, &tabs3D); },
         {dark, dark, kWhite, kRect}},
        {"flat tab button border, pressed",
         [&](CDC& dc, CRect& r) { vm->OnDrawTabsButtonBorder(&dc, r, &pressed, 0, &flatTabs); },
         {dark, grip, kWhite, kRect}},
        {"flat tab button border, hot",
         [&](CDC& dc, CRect& r) { vm->OnDrawTabsButtonBorder(&dc, r, &hot, 0, &flatTabs); },
         {grip, dark, kWhite, kRect}},
        {"button outside a tab window, normal",
         [&](CDC& dc, CRect& r) { vm->OnDrawTabsButtonBorder(&dc, r, &normal, 0, nullptr); },
         {kWhite, kWhite, kWhite, kRect}},
    };
    for (const Case& c : kCases) ExpectCase(c, name);
  }
  StatefulButton<CPlxMenuButton> captionLook;
  captionLook.m_bOpaqueFace = captionLook.m_bCaptionButtonLook = TRUE;
  EXPECT_FALSE(installed.IsThemedButton(&captionLook));
  // No theme: the button keeps its classic frame.
  StatefulButton<> button;
  EXPECT_FALSE(installed.DrawPushButtonWinXP(nullptr, kRect, &button, 0));
}
