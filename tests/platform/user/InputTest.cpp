#include <gtest/gtest.h>

#include <cstring>

#include "Recorder.h"
#include "UiThread.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Event.h"

using namespace testing_user;
using pictavo::user::InjectKey;
using pictavo::user::InjectMouseButton;
using pictavo::user::InjectMouseMove;
using pictavo::user::KeyInput;
using pictavo::user::MouseButton;

namespace {

class Input : public UserTest {
 protected:
  void TearDown() override {
    // Leave no key or button down for the next test.
    for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
      if (GetAsyncKeyState(static_cast<int>(vk)) < 0) InjectKey({vk, false});
    for (MouseButton b : {MouseButton::kLeft, MouseButton::kRight})
      if (GetAsyncKeyState(b == MouseButton::kLeft ? VK_LBUTTON : VK_RBUTTON) < 0)
        InjectMouseButton(b, false);
    InjectMouseMove(POINT{1279, 799});
    PumpPending();
    UserTest::TearDown();
  }

  void Click(POINT pt, MouseButton button = MouseButton::kLeft) {
    InjectMouseMove(pt);
    InjectMouseButton(button, true);
    InjectMouseButton(button, false);
    PumpPending();
  }
  void Key(UINT vk) {
    InjectKey({vk, true});
    InjectKey({vk, false});
    PumpPending();
  }
};

std::vector<Entry> MouseEntries(std::initializer_list<UINT> kinds) {
  std::vector<Entry> out;
  for (const Entry& e : Recorder::Get().Entries())
    if (std::find(kinds.begin(), kinds.end(), e.message) != kinds.end()) out.push_back(e);
  return out;
}

TEST_F(Input, MouseMessagesGoWhereTheHitTestSays) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 400});
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 110, 110}, top);
  HWND see = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{120, 10, 170, 60}, top);
  HWND off = MakeWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, RECT{10, 120, 60, 170}, top);
  Recorder::Get().Handle(see, WM_NCHITTEST, [](HWND, WPARAM, LPARAM) -> LRESULT { return HTTRANSPARENT; });
  PumpPending();
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  struct Case {
    POINT screen;
    HWND hwnd;
    UINT message;
    WPARAM wParam;
  };
  const Case cases[] = {
      {{origin.x + 20, origin.y + 30}, child, WM_MOUSEMOVE, 0},
      {{origin.x + 130, origin.y + 20}, top, WM_MOUSEMOVE, 0},  // through the transparent child
      {{origin.x + 20, origin.y + 130}, top, WM_MOUSEMOVE, 0},  // the disabled child leaves it to its parent
      {{200, 110}, top, WM_NCMOUSEMOVE, HTCAPTION},
      {{101, 300}, top, WM_NCMOUSEMOVE, HTLEFT},
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    InjectMouseMove(c.screen);
    PumpPending();
    const auto moves = MouseEntries({WM_MOUSEMOVE, WM_NCMOUSEMOVE});
    ASSERT_EQ(moves.size(), 1u) << c.screen.x << "," << c.screen.y;
    EXPECT_EQ(moves[0].hwnd, c.hwnd);
    EXPECT_EQ(moves[0].message, c.message);
    if (c.message == WM_NCMOUSEMOVE) {
      EXPECT_EQ(moves[0].wParam, c.wParam);
      EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), c.screen.x);
    } else {
      POINT local = c.screen;
      ScreenToClient(c.hwnd, &local);
      EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), local.x);
      EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), local.y);
    }
  }
}

TEST_F(Input, DoubleClicksNeedTheClassStyleAndTheSamePlace) {
  struct Case {
    const char* className;
    int secondDx;
    std::vector<UINT> presses;
  };
  const Case cases[] = {
      {RecorderClass(), 0, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}},
      {RecorderClass(), 10, {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}},
      {PlainRecorderClass(), 0, {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN}},
  };
  for (const Case& c : cases) {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{200, 200, 300, 300}, nullptr, 0, 0, c.className);
    PumpPending();
    Recorder::Get().Clear();
    Click(POINT{250, 250});
    Click(POINT{250 + c.secondDx, 250});
    Click(POINT{250 + c.secondDx, 250});
    EXPECT_EQ(Recorder::Get().Messages(w, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), c.presses)
        << c.className << c.secondDx;
    DestroyWindow(w);
  }
}

TEST_F(Input, ButtonsCarryKeyFlags) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{200, 200, 300, 300});
  PumpPending();
  InjectKey({VK_CONTROL, true});
  InjectMouseMove(POINT{210, 220});
  InjectMouseButton(MouseButton::kLeft, true);
  PumpPending();
  Entry down{};
  ASSERT_TRUE(Recorder::Get().Last(w, WM_LBUTTONDOWN, &down));
  EXPECT_EQ(down.wParam, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
  EXPECT_EQ(down.lParam, MAKELPARAM(10, 20));
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  InjectMouseButton(MouseButton::kLeft, false);
  InjectKey({VK_CONTROL, false});
  PumpPending();
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
}

TEST_F(Input, CaptureTakesTheMouseFromEveryOtherWindow) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{300, 100, 400, 200});
  PumpPending();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetCapture(), a);
  Recorder::Get().Clear();
  InjectMouseMove(POINT{350, 150});
  PumpPending();
  Entry move{};
  ASSERT_TRUE(Recorder::Get().Last(a, WM_MOUSEMOVE, &move));
  EXPECT_EQ(GET_X_LPARAM(move.lParam), 250);  // a's client coordinates, outside it
  EXPECT_EQ(Recorder::Get().Count(b, WM_MOUSEMOVE), 0);
  EXPECT_EQ(Recorder::Get().Count(a, WM_SETCURSOR), 0);
  EXPECT_EQ(SetCapture(b), a);
  Entry changed{};
  ASSERT_TRUE(Recorder::Get().Last(a, WM_CAPTURECHANGED, &changed));
  EXPECT_EQ(reinterpret_cast<HWND>(changed.lParam), b);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(Recorder::Get().Count(b, WM_CAPTURECHANGED), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, AClickActivatesAnInactiveWindowUnlessItSaysNo) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{300, 100, 400, 200});
  PumpPending();
  ASSERT_EQ(GetActiveWindow(), b);
  InjectMouseMove(POINT{150, 150});
  PumpPending();
  Recorder::Get().Clear();
  InjectMouseButton(MouseButton::kLeft, true);
  PumpPending();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Recorder::Get().Messages(a, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}),
            (std::vector<UINT>{WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}));
  Entry activate{};
  ASSERT_TRUE(Recorder::Get().Last(a, WM_ACTIVATE, &activate));
  EXPECT_EQ(LOWORD(activate.wParam), WA_CLICKACTIVE);
  InjectMouseButton(MouseButton::kLeft, false);
  Recorder::Get().Handle(b, WM_MOUSEACTIVATE,
                         [](HWND, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATEANDEAT; });
  Recorder::Get().Clear();
  Click(POINT{350, 150});
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Recorder::Get().Count(b, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Recorder::Get().Count(b, WM_LBUTTONUP), 1);
}

TEST_F(Input, TheFrameMovesSizesAndClosesTheWindow) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  PumpPending();
  auto drag = [](POINT from, POINT to) {
    InjectMouseMove(from);
    InjectMouseButton(MouseButton::kLeft, true);
    InjectMouseMove(to);
    InjectMouseButton(MouseButton::kLeft, false);
    PumpPending();
  };
  drag(POINT{200, 110}, POINT{250, 160});  // by the caption
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{150, 150, 450, 350}));
  EXPECT_EQ(Recorder::Get().Messages(w, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  drag(POINT{449, 250}, POINT{479, 250});  // by the right border
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{150, 150, 480, 350}));
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(r.right - 12, r.top + 10)), HTCLOSE);
  Click(POINT{r.right - 12, r.top + 10});
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Input, RightButtonUpAsksForAContextMenuUpTheParents) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top);
  PumpPending();
  Recorder::Get().Clear();
  Click(POINT{120, 130}, MouseButton::kRight);
  Entry menu{};
  ASSERT_TRUE(Recorder::Get().Last(top, WM_CONTEXTMENU, &menu));
  EXPECT_EQ(reinterpret_cast<HWND>(menu.wParam), child);
  EXPECT_EQ(menu.lParam, MAKELPARAM(120, 130));
  EXPECT_EQ(Recorder::Get().Count(child, WM_CONTEXTMENU), 1);
}

TEST_F(Input, TheMenuKeyAndShiftF10AskTheFocusForAContextMenuAtNoPoint) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top);
  PumpPending();
  SetFocus(child);
  const struct {
    std::vector<KeyInput> keys;
    int menus;
  } cases[] = {
      {{{VK_APPS, true}, {VK_APPS, false}}, 1},
      {{{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}}, 1},
      {{{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}}, 1},  // held
      {{{VK_CONTROL, true},
        {VK_SHIFT, true},
        {VK_F10, true},
        {VK_F10, false},
        {VK_SHIFT, false},
        {VK_CONTROL, false}},
       0},
      {{{'A', true}, {'A', false}}, 0},
  };
  for (const auto& c : cases) {
    Recorder::Get().Clear();
    for (const KeyInput& k : c.keys) InjectKey(k);
    PumpPending();
    EXPECT_EQ(Recorder::Get().Count(child, WM_CONTEXTMENU), c.menus);
    Entry menu{};
    if (c.menus == 0) continue;
    ASSERT_TRUE(Recorder::Get().Last(top, WM_CONTEXTMENU, &menu));
    EXPECT_EQ(reinterpret_cast<HWND>(menu.wParam), child);
    EXPECT_EQ(menu.lParam, static_cast<LPARAM>(-1));
  }
}

TEST_F(Input, TheWheelGoesToTheFocusAndUpItsParents) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top);
  PumpPending();
  SetFocus(child);
  InjectMouseMove(POINT{250, 250});
  pictavo::user::InjectMouseWheel(-WHEEL_DELTA);
  PumpPending();
  Entry wheel{};
  ASSERT_TRUE(Recorder::Get().Last(child, WM_MOUSEWHEEL, &wheel));
  EXPECT_EQ(static_cast<SHORT>(HIWORD(wheel.wParam)), -WHEEL_DELTA);
  EXPECT_EQ(wheel.lParam, MAKELPARAM(250, 250));
  EXPECT_EQ(Recorder::Get().Count(top, WM_MOUSEWHEEL), 1);
}

TEST_F(Input, TheCursorFollowsTheHitTest) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 300});
  PumpPending();
  struct Case {
    POINT screen;
    LPCSTR cursor;
  };
  const Case cases[] = {{{200, 200}, IDC_ARROW},
                        {{101, 200}, IDC_SIZEWE},
                        {{200, 101}, IDC_SIZENS},
                        {{299, 299}, IDC_SIZENWSE}};
  for (const Case& c : cases) {
    InjectMouseMove(c.screen);
    PumpPending();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.cursor)) << c.screen.x << "," << c.screen.y;
  }
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  const auto previous = SetClassLongPtr(w, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(wait));
  InjectMouseMove(POINT{201, 201});
  PumpPending();
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(pictavo::user::StandardCursorId(wait), 32514u);
  SetClassLongPtr(w, GCLP_HCURSOR, static_cast<LONG_PTR>(previous));
}

TEST_F(Input, StandardCursorsAreSharedWithTheirHotSpots) {
  struct Case {
    LPCSTR id;
    DWORD x, y;
  };
  const Case cases[] = {{IDC_ARROW, 0, 0}, {IDC_IBEAM, 4, 8}, {IDC_SIZEWE, 12, 12}, {IDC_HAND, 6, 0}};
  for (const Case& c : cases) {
    HCURSOR cursor = LoadCursor(nullptr, c.id);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(LoadCursor(nullptr, c.id), cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, c.x);
    EXPECT_EQ(info.yHotspot, c.y);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyCursor(cursor));  // a shared cursor stays
    EXPECT_EQ(LoadCursor(nullptr, c.id), cursor);
  }
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(Input, KeysGoToTheFocusAndTranslateIntoCharacters) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND edit = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top);
  PumpPending();
  SetFocus(edit);
  struct Case {
    std::vector<KeyInput> keys;
    std::vector<UINT> messages;
    std::vector<WPARAM> chars;
  };
  const Case cases[] = {
      {{{'A', true}, {'A', false}}, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, {'a'}},
      {{{VK_SHIFT, true}, {'A', true}, {'A', false}, {VK_SHIFT, false}},
       {WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP},
       {'A'}},
      {{{VK_CONTROL, true}, {'C', true}, {'C', false}, {VK_CONTROL, false}},
       {WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP},
       {3}},
      {{{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}},
       {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP},
       {'f'}},
      {{{VK_PACKET, true, U'é'}, {VK_PACKET, false, U'é'}}, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, {0xE9}},
      {{{'B', true, 0, true}, {'B', false, 0, true}}, {WM_KEYDOWN, WM_KEYUP}, {}},
      {{{VK_RETURN, true}, {VK_RETURN, false}}, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, {'\r'}},
  };
  const std::initializer_list<UINT> kinds = {WM_KEYDOWN,    WM_KEYUP,    WM_CHAR,
                                             WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    for (const KeyInput& k : c.keys) InjectKey(k);
    PumpPending();
    EXPECT_EQ(Recorder::Get().Messages(edit, kinds), c.messages);
    std::vector<WPARAM> chars;
    for (const Entry& e : Recorder::Get().Entries())
      if (e.hwnd == edit && (e.message == WM_CHAR || e.message == WM_SYSCHAR)) chars.push_back(e.wParam);
    EXPECT_EQ(chars, c.chars);
  }
}

TEST_F(Input, KeyMessagesCarryThePlatformsLParamBits) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  PumpPending();
  Recorder::Get().Clear();
  InjectKey({'A', true});
  InjectKey({'A', true});  // held: auto-repeat
  InjectKey({'A', false});
  InjectKey({VK_LEFT, true});
  InjectKey({VK_LEFT, false});
  PumpPending();
  std::vector<DWORD> bits;
  for (const Entry& e : Recorder::Get().Entries())
    if (e.message == WM_KEYDOWN || e.message == WM_KEYUP) bits.push_back(static_cast<DWORD>(e.lParam));
  const std::vector<DWORD> expected{0x001E0001u, 0x401E0001u, 0xC01E0001u, 0x014B0001u, 0xC14B0001u};
  EXPECT_EQ(bits, expected);
}

TEST_F(Input, KeyStateFollowsTheMessagesRetrieved) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  PumpPending();
  SHORT stateInHandler = 0;
  Recorder::Get().Handle(w, WM_KEYDOWN, [&](HWND, WPARAM wp, LPARAM) -> LRESULT {
    if (wp == 'X') stateInHandler = GetKeyState(VK_SHIFT);
    return 0;
  });
  InjectKey({VK_SHIFT, true});
  InjectKey({'X', true});
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);  // not retrieved yet
  PumpPending();
  EXPECT_LT(stateInHandler, 0);
  InjectKey({'X', false});
  InjectKey({VK_SHIFT, false});
  PumpPending();
  BYTE keys[256];
  GetKeyboardState(keys);
  EXPECT_FALSE(keys[VK_SHIFT] & 0x80);
  EXPECT_FALSE(keys[VK_LSHIFT] & 0x80);
}

TEST_F(Input, FocusAndActivationMessages) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  HWND b = MakeWindow(WS_POPUP, RECT{300, 100, 400, 200});
  HWND field = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, b);
  PumpPending();
  ASSERT_EQ(GetFocus(), a);
  Recorder::Get().Clear();
  ShowWindow(b, SW_SHOWNA);
  EXPECT_EQ(SetFocus(field), b);  // activating b focused b first
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), field);
  const auto seq = Recorder::Get().Sequence({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS});
  const std::vector<std::pair<HWND, UINT>> expected{
      {a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {b, WM_NCACTIVATE}, {b, WM_ACTIVATE},
      {a, WM_KILLFOCUS},  {b, WM_SETFOCUS}, {b, WM_KILLFOCUS},  {field, WM_SETFOCUS}};
  EXPECT_EQ(seq, expected);
  // Hiding the focused child leaves the focus there; disabling or destroying it takes it away.
  ShowWindow(field, SW_HIDE);
  EXPECT_EQ(GetFocus(), field);
  ShowWindow(field, SW_SHOW);
  EnableWindow(field, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EnableWindow(field, TRUE);
  SetFocus(field);
  DestroyWindow(field);
  EXPECT_EQ(GetFocus(), nullptr);
  // Hiding the active window activates another one.
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Input, ActivationChangesOfTheProgramAreAnnounced) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  PumpPending();
  Recorder::Get().Clear();
  SetActiveWindow(nullptr);
  Entry app{};
  ASSERT_TRUE(Recorder::Get().Last(a, WM_ACTIVATEAPP, &app));
  EXPECT_FALSE(app.wParam);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  SetForegroundWindow(a);
  ASSERT_TRUE(Recorder::Get().Last(a, WM_ACTIVATEAPP, &app));
  EXPECT_TRUE(app.wParam);
  EXPECT_EQ(GetForegroundWindow(), a);
}

TEST_F(Input, AClickOnAWindowDisabledByAModalOneBringsTheModalOneForward) {
  HWND owner = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND dialog = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{400, 100, 500, 200}, owner);
  EnableWindow(owner, FALSE);
  HWND other = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{600, 100, 700, 200});
  PumpPending();
  ASSERT_EQ(GetActiveWindow(), other);
  Recorder::Get().Clear();
  Click(POINT{150, 150});
  EXPECT_EQ(Recorder::Get().Count(owner, WM_LBUTTONDOWN), 0);
  Entry cursor{};
  ASSERT_TRUE(Recorder::Get().Last(owner, WM_SETCURSOR, &cursor));
  EXPECT_EQ(static_cast<SHORT>(LOWORD(cursor.lParam)), HTERROR);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == dialog; }));
}

LRESULT CALLBACK SwallowRightButton(int code, WPARAM wParam, LPARAM lParam);
HHOOK g_mouseHook = nullptr;
std::vector<std::pair<UINT, HWND>> g_hooked;
LRESULT CALLBACK SwallowRightButton(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    g_hooked.emplace_back(static_cast<UINT>(wParam), info->hwnd);
    if (wParam == WM_RBUTTONDOWN) return 1;
  }
  return CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

TEST_F(Input, MouseHooksSeeAndMayDiscardMessages) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  PumpPending();
  g_hooked.clear();
  g_mouseHook = SetWindowsHookEx(WH_MOUSE, SwallowRightButton, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(g_mouseHook);
  Recorder::Get().Clear();
  Click(POINT{150, 150});
  Click(POINT{150, 150}, MouseButton::kRight);
  EXPECT_TRUE(UnhookWindowsHookEx(g_mouseHook));
  EXPECT_FALSE(UnhookWindowsHookEx(g_mouseHook));
  EXPECT_EQ(Recorder::Get().Count(w, WM_RBUTTONDOWN), 0);
  EXPECT_EQ(Recorder::Get().Count(w, WM_RBUTTONUP), 1);
  std::vector<UINT> seen;
  for (auto& [message, hwnd] : g_hooked) {
    EXPECT_EQ(hwnd, w);
    if (message != WM_MOUSEMOVE) seen.push_back(message);
  }
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

HHOOK g_cbtHook = nullptr;
std::vector<int> g_cbtCodes;
LRESULT CALLBACK RefuseNamedWindows(int code, WPARAM wParam, LPARAM lParam) {
  g_cbtCodes.push_back(code);
  if (code == HCBT_CREATEWND) {
    const auto* cbt = reinterpret_cast<const CBT_CREATEWND*>(lParam);
    if (cbt->lpcs->lpszName && std::string(cbt->lpcs->lpszName) == "refused") return 1;
  }
  return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

TEST_F(Input, ComputerBasedTrainingHooksSeeWindowsComeAndGo) {
  g_cbtCodes.clear();
  g_cbtHook = SetWindowsHookEx(WH_CBT, RefuseNamedWindows, nullptr, GetCurrentThreadId());
  HWND kept = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 0, 0, nullptr, "kept");
  EXPECT_TRUE(kept);
  EXPECT_EQ(MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0, 0, nullptr, "refused"), nullptr);
  DestroyWindow(kept);
  UnhookWindowsHookEx(g_cbtHook);
  for (int code : {HCBT_CREATEWND, HCBT_ACTIVATE, HCBT_SETFOCUS, HCBT_DESTROYWND})
    EXPECT_NE(std::find(g_cbtCodes.begin(), g_cbtCodes.end(), code), g_cbtCodes.end()) << code;
}

HHOOK g_keyHook = nullptr;
LRESULT CALLBACK DropEscape(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == VK_ESCAPE) return 1;
  return CallNextHookEx(g_keyHook, code, wParam, lParam);
}
HHOOK g_getHook = nullptr;
LRESULT CALLBACK RenumberApp(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (msg->message == WM_APP) msg->message = WM_APP + 1;
  return CallNextHookEx(g_getHook, code, wParam, lParam);
}
HHOOK g_filterHook = nullptr;
LRESULT CALLBACK FilterDialogs(int code, WPARAM wParam, LPARAM lParam) {
  return code == MSGF_DIALOGBOX ? 1 : CallNextHookEx(g_filterHook, code, wParam, lParam);
}

TEST_F(Input, KeyboardMessageAndFilterHooks) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
  PumpPending();
  g_keyHook = SetWindowsHookEx(WH_KEYBOARD, DropEscape, nullptr, GetCurrentThreadId());
  g_getHook = SetWindowsHookEx(WH_GETMESSAGE, RenumberApp, nullptr, 0);
  g_filterHook = SetWindowsHookEx(WH_MSGFILTER, FilterDialogs, nullptr, GetCurrentThreadId());
  Recorder::Get().Clear();
  Key(VK_ESCAPE);
  Key(VK_TAB);
  PostMessage(w, WM_APP, 0, 0);
  PumpPending();
  EXPECT_EQ(Recorder::Get().Messages(w, {WM_KEYDOWN}), (std::vector<UINT>{WM_KEYDOWN}));
  EXPECT_EQ(Recorder::Get().Count(w, WM_APP), 0);
  EXPECT_EQ(Recorder::Get().Count(w, WM_APP + 1), 1);
  MSG msg{w, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(CallMsgFilter(&msg, MSGF_DIALOGBOX));
  EXPECT_FALSE(CallMsgFilter(&msg, MSGF_MENU));
  for (HHOOK h : {g_keyHook, g_getHook, g_filterHook}) EXPECT_TRUE(UnhookWindowsHookEx(h));
  EXPECT_EQ(SetWindowsHookEx(1234, DropEscape, nullptr, 0), nullptr);
}

TEST_F(Input, LeaveAndHoverTracking) {
  HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{300, 100, 400, 200});
  PumpPending();
  InjectMouseMove(POINT{150, 150});
  PumpPending();
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_HOVER, a, 10};
  ASSERT_TRUE(TrackMouseEvent(&track));
  ASSERT_TRUE(PumpUntil([&] { return Recorder::Get().Count(a, WM_MOUSEHOVER) == 1; }));
  Entry hover{};
  Recorder::Get().Last(a, WM_MOUSEHOVER, &hover);
  EXPECT_EQ(hover.lParam, MAKELPARAM(50, 50));
  InjectMouseMove(POINT{160, 150});
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(a, WM_MOUSELEAVE), 0);
  InjectMouseMove(POINT{350, 150});
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(a, WM_MOUSELEAVE), 1);
  InjectMouseMove(POINT{150, 150});
  InjectMouseMove(POINT{360, 150});
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(a, WM_MOUSELEAVE), 1);  // one-shot
  // Asking while the pointer is elsewhere reports the leave at once.
  TRACKMOUSEEVENT again{sizeof again, TME_LEAVE, a, 0};
  TrackMouseEvent(&again);
  PumpPending();
  EXPECT_EQ(Recorder::Get().Count(a, WM_MOUSELEAVE), 2);
  EXPECT_EQ(Recorder::Get().Count(b, WM_MOUSELEAVE), 0);
}

TEST_F(Input, InputForAnotherThreadsWindowGoesToThatThread) {
  HANDLE clicked = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  UiThread worker([clicked] {
    HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{500, 500, 600, 600});
    Recorder::Get().Handle(w, WM_LBUTTONDOWN, [clicked](HWND, WPARAM, LPARAM lp) -> LRESULT {
      if (lp == MAKELPARAM(10, 20)) SetEvent(clicked);
      return 0;
    });
    return w;
  });
  InjectMouseMove(POINT{510, 520});
  InjectMouseButton(MouseButton::kLeft, true);
  InjectMouseButton(MouseButton::kLeft, false);
  EXPECT_EQ(WaitForSingleObject(clicked, 5000), WAIT_OBJECT_0);
  CloseHandle(clicked);
}

TEST_F(Input, SetCursorPosMovesThePointerAsTheUserWould) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{100, 100, 200, 200});
  PumpPending();
  Recorder::Get().Clear();
  SetCursorPos(120, 130);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 120);
  EXPECT_EQ(p.y, 130);
  PumpPending();
  Entry move{};
  ASSERT_TRUE(Recorder::Get().Last(w, WM_MOUSEMOVE, &move));
  EXPECT_EQ(move.lParam, MAKELPARAM(20, 30));
  EXPECT_EQ(GetMessagePos(), static_cast<DWORD>(MAKELONG(120, 130)));
}

TEST_F(Input, TheKeyboardLayout) {
  struct Case {
    UINT vk;
    bool shift;
    WORD ch;
  };
  const Case cases[] = {{'Q', false, 'q'},      {'Q', true, 'Q'},      {'7', true, '&'},
                        {VK_OEM_2, false, '/'}, {VK_OEM_2, true, '?'}, {VK_SPACE, false, ' '},
                        {VK_F5, false, 0}};
  for (const Case& c : cases) {
    BYTE keys[256] = {};
    if (c.shift) keys[VK_SHIFT] = 0x80;
    WORD out = 0;
    EXPECT_EQ(ToAscii(c.vk, 0, keys, &out, 0), c.ch ? 1 : 0) << c.vk;
    if (c.ch) EXPECT_EQ(out, c.ch) << c.vk;
  }
  EXPECT_EQ(VkKeyScan('a'), 'A');
  EXPECT_EQ(VkKeyScan('?'), 0x100 | VK_OEM_2);
  EXPECT_EQ(MapVirtualKey('A', MAPVK_VK_TO_VSC), 0x1Eu);
  EXPECT_EQ(MapVirtualKey(0x1E, MAPVK_VSC_TO_VK), static_cast<UINT>('A'));
}

// Key names from a key message's scan code and extended flag: the extended keys are not their
// keypad twins, keys that type a character are named by it, and the buffer's limit holds.
TEST(KeyNames, ScanCodesGiveTheNamesOnTheKeys) {
  struct Case {
    UINT scan;
    bool extended;
    const char* name;
  };
  const Case cases[] = {
      {0x1D, false, "Ctrl"},  {0x1D, true, "Right Ctrl"}, {0x49, false, "Num 9"}, {0x49, true, "Page Up"},
      {0x52, true, "Insert"}, {0x53, false, "Num Del"},   {0x3F, false, "F5"},    {0x58, false, "F12"},
      {0x1E, false, "A"},     {0x33, false, ","},         {0x39, false, "Space"}, {0x1C, true, "Num Enter"},
      {0x00, false, ""},  // no key
  };
  for (const Case& c : cases) {
    char name[51] = "stale";
    const LONG lParam = static_cast<LONG>((c.scan << 16) | (c.extended ? 1u << 24 : 0u) | 1u);
    EXPECT_EQ(GetKeyNameText(lParam, name, 50), static_cast<int>(std::strlen(c.name))) << c.scan;
    EXPECT_STREQ(name, c.name) << c.scan;
  }
  char small[5] = {};
  EXPECT_EQ(GetKeyNameText(0x49 << 16 | 1 << 24, small, 5), 4);
  EXPECT_STREQ(small, "Page");
  EXPECT_EQ(MapVirtualKeyEx(VK_F5, MAPVK_VK_TO_VSC, GetKeyboardLayout(0)), 0x3Fu);
}

}  // namespace
