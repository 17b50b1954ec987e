#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "ControlFixture.h"

using namespace testing_user;

namespace {

class ButtonControl : public ControlTest {
 protected:
  HWND MakeButton(DWORD style, int id, RECT rect = RECT{10, 10, 110, 34}, const char* text = "Button") {
    return Make(WC_BUTTON, style, rect, id, text);
  }
  static LRESULT Check(HWND b) { return SendMessage(b, BM_GETCHECK, 0, 0); }
  int Clicked(int id) const {
    const auto notes = Notes();
    return static_cast<int>(std::count(notes.begin(), notes.end(), Note{id, BN_CLICKED}));
  }
};

TEST_F(ButtonControl, ChecksCycleAsTheirKindSays) {
  struct Case {
    DWORD style;
    std::vector<LRESULT> afterEachClick;
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
      {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED}},  // the program checks a manual box itself
      {BS_PUSHBUTTON, {BST_UNCHECKED}},
  };
  for (const Case& c : cases) {
    HWND b = MakeButton(c.style | WS_TABSTOP, 7);
    Recorder::Get().Clear();
    for (size_t i = 0; i < c.afterEachClick.size(); ++i) {
      // The mouse once, then the space bar, then BM_CLICK: all three click.
      if (i == 0)
        Click(b, POINT{5, 5});
      else if (i == 1)
        Key(VK_SPACE);
      else
        SendMessage(b, BM_CLICK, 0, 0);
      EXPECT_EQ(Check(b), c.afterEachClick[i]) << c.style << " click " << i;
    }
    EXPECT_EQ(Clicked(7), static_cast<int>(c.afterEachClick.size())) << c.style;
    DestroyWindow(b);
  }
}

TEST_F(ButtonControl, SetCheckKeepsToTheStatesOfTheKind) {
  struct Case {
    DWORD style;
    WPARAM set;
    LRESULT got;
  };
  const Case cases[] = {
      {BS_CHECKBOX, BST_INDETERMINATE, BST_CHECKED},  {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
      {BS_AUTORADIOBUTTON, BST_CHECKED, BST_CHECKED}, {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
      {BS_GROUPBOX, BST_CHECKED, BST_UNCHECKED},
  };
  for (const Case& c : cases) {
    HWND b = MakeButton(c.style, 1);
    SendMessage(b, BM_SETCHECK, c.set, 0);
    EXPECT_EQ(Check(b), c.got) << c.style;
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & 3, c.got) << c.style;
    DestroyWindow(b);
  }
  EXPECT_TRUE(Notes().empty());  // setting the check is not a click
}

TEST_F(ButtonControl, DialogCodesTellTheKinds) {
  struct Case {
    DWORD style;
    LRESULT code;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_AUTOCHECKBOX, DLGC_BUTTON},
      {BS_GROUPBOX, DLGC_STATIC},
      {BS_OWNERDRAW, DLGC_BUTTON},
  };
  for (const Case& c : cases) {
    HWND b = MakeButton(c.style, 1);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), c.code) << c.style;
    DestroyWindow(b);
  }
  HWND b = MakeButton(BS_PUSHBUTTON | BS_NOTIFY, 1);
  SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLong(b, GWL_STYLE) & 0xFFFF, BS_DEFPUSHBUTTON);
}

TEST_F(ButtonControl, RadioGroupsFollowArrowsAndUncheckTheirOwnGroup) {
  HWND r1 = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 1, RECT{10, 10, 110, 30});
  HWND r2 = MakeButton(BS_AUTORADIOBUTTON, 2, RECT{10, 40, 110, 60});
  HWND r3 = MakeButton(BS_AUTORADIOBUTTON, 3, RECT{10, 70, 110, 90});
  HWND off = MakeButton(BS_AUTORADIOBUTTON | WS_DISABLED, 4, RECT{10, 100, 110, 120});
  HWND other = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP, 5, RECT{150, 10, 250, 30});
  SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
  Click(r1, POINT{5, 5});
  EXPECT_EQ(GetFocus(), r1);
  Recorder::Get().Clear();
  struct Step {
    UINT key;
    HWND focus;
  };
  const Step steps[] = {{VK_DOWN, r2}, {VK_DOWN, r3}, {VK_DOWN, r1}, {VK_UP, r3}, {VK_RIGHT, r1}};
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(GetFocus(), s.focus);
    for (HWND r : {r1, r2, r3}) EXPECT_EQ(Check(r), r == s.focus ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_EQ(Check(off), BST_UNCHECKED);
    EXPECT_EQ(Check(other), BST_CHECKED);  // another group
    EXPECT_EQ(Notes().back(), Note(GetDlgCtrlID(s.focus), BN_CLICKED));
  }
  // The checked radio is the group's tab stop.
  EXPECT_TRUE(GetWindowLong(r1, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLong(r2, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(ButtonControl, ClickNeedsTheReleaseInside) {
  HWND b = MakeButton(BS_PUSHBUTTON, 9);
  using pictavo::user::InjectMouseButton;
  using pictavo::user::InjectMouseMove;
  using pictavo::user::MouseButton;
  InjectMouseMove(ScreenOf(b, POINT{5, 5}));
  InjectMouseButton(MouseButton::kLeft, true);
  PumpPending();
  EXPECT_TRUE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  InjectMouseMove(ScreenOf(b, POINT{300, 5}));
  PumpPending();
  EXPECT_FALSE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  InjectMouseButton(MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(Clicked(9), 0);
  // Space clicks at its release.
  Press(VK_SPACE, true);
  PumpPending();
  EXPECT_EQ(Clicked(9), 0);
  Press(VK_SPACE, false);
  PumpPending();
  EXPECT_EQ(Clicked(9), 1);
  // A disabled button ignores BM_CLICK.
  EnableWindow(b, FALSE);
  SendMessage(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Clicked(9), 1);
}

TEST_F(ButtonControl, NotifyStyleReportsFocusAndDoubleClicks) {
  HWND b = MakeButton(BS_PUSHBUTTON | BS_NOTIFY, 3);
  HWND plain = MakeButton(BS_PUSHBUTTON, 4, RECT{10, 50, 110, 74});
  SetFocus(b);
  SetFocus(plain);
  Click(b, POINT{5, 5});
  Click(b, POINT{5, 5});
  EXPECT_EQ(
      Notes(),
      (std::vector<Note>{
          {3, BN_SETFOCUS}, {3, BN_KILLFOCUS}, {3, BN_SETFOCUS}, {3, BN_CLICKED}, {3, BN_DOUBLECLICKED}}));
}

TEST_F(ButtonControl, OwnerDrawGetsItsActionsAndStates) {
  std::vector<DRAWITEMSTRUCT> draws;
  Recorder::Get().Handle(parent, WM_DRAWITEM, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  HWND b = MakeButton(BS_OWNERDRAW, 21);
  UpdateWindow(b);
  ASSERT_FALSE(draws.empty());
  EXPECT_EQ(draws.back().CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(draws.back().CtlID, 21u);
  EXPECT_EQ(draws.back().hwndItem, b);
  EXPECT_EQ(draws.back().itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(draws.back().rcItem.right, 100);
  struct Case {
    std::function<void()> act;
    UINT action;
    UINT state;
  };
  const Case cases[] = {
      {[&] { SetFocus(b); }, ODA_FOCUS, ODS_FOCUS},
      {[&] { SendMessage(b, BM_SETSTATE, TRUE, 0); }, ODA_SELECT, ODS_FOCUS | ODS_SELECTED},
      {[&] { SendMessage(b, BM_SETSTATE, FALSE, 0); }, ODA_SELECT, ODS_FOCUS},
      {[&] { SetFocus(parent); }, ODA_FOCUS, 0},
      {[&] { EnableWindow(b, FALSE); }, ODA_DRAWENTIRE, ODS_DISABLED},
  };
  for (const Case& c : cases) {
    draws.clear();
    c.act();
    PumpPending();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().itemAction, c.action);
    EXPECT_EQ(draws.back().itemState, c.state);
  }
}

TEST_F(ButtonControl, GroupBoxLetsTheMouseThrough) {
  HWND box = MakeButton(BS_GROUPBOX, 30, RECT{10, 10, 200, 150}, "Group");
  POINT screen = ScreenOf(box, POINT{50, 50});
  EXPECT_EQ(SendMessage(box, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTTRANSPARENT);
  EXPECT_EQ(WindowFromPoint(screen), parent);
  Click(box, POINT{50, 50});
  EXPECT_EQ(Recorder::Get().Count(parent, WM_LBUTTONDOWN), 1);
}

TEST_F(ButtonControl, ImagesAreSwapped) {
  HWND b = MakeButton(BS_PUSHBUTTON | BS_BITMAP, 1);
  HBITMAP one = CreateBitmap(8, 8, 1, 32, nullptr);
  HBITMAP two = CreateBitmap(8, 8, 1, 32, nullptr);
  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(one)), 0);
  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(two)),
            reinterpret_cast<LRESULT>(one));
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(two));
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  UpdateWindow(b);
  DestroyWindow(b);
  DeleteObject(one);
  DeleteObject(two);
}

}  // namespace
