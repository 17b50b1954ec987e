#include <gtest/gtest.h>

#include <set>

#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

using namespace testing_user;

namespace {

class Windows : public UserTest {};

TEST_F(Windows, CreationSendsItsMessagesInOrder) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, RECT{10, 20, 310, 220});
  ASSERT_TRUE(top);
  EXPECT_EQ(Recorder::Get().Messages(top),
            (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  Recorder::Get().Clear();
  HWND child = MakeWindow(WS_CHILD, RECT{5, 5, 50, 30}, top, 0, 7);
  ASSERT_TRUE(child);
  EXPECT_EQ(Recorder::Get().Messages(child),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  Entry notify{};
  ASSERT_TRUE(Recorder::Get().Last(top, WM_PARENTNOTIFY, &notify));
  EXPECT_EQ(LOWORD(notify.wParam), WM_CREATE);
  EXPECT_EQ(HIWORD(notify.wParam), 7);
  EXPECT_EQ(reinterpret_cast<HWND>(notify.lParam), child);
}

TEST_F(Windows, VisibleStyleShowsAndActivatesAfterCreate) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 200, 100});
  const auto seen = Recorder::Get().Messages(
      top, {WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS});
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                     WM_SETFOCUS}));
  EXPECT_TRUE(IsWindowVisible(top));
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(Windows, CreationFailsCleanlyWhenAProcedureRefuses) {
  struct Case {
    UINT message;
    LRESULT answer;
    std::vector<UINT> tail;  // the last messages the window got
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE, -1, {WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    Recorder::Get().Clear();
    Recorder::Get().Handle(nullptr, c.message, [&](HWND, WPARAM, LPARAM) { return c.answer; });
    EXPECT_EQ(MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}), nullptr) << c.message;
    Recorder::Get().ClearHandlers();
    const auto entries = Recorder::Get().Entries();
    ASSERT_GE(entries.size(), c.tail.size());
    HWND gone = entries.back().hwnd;
    EXPECT_FALSE(IsWindow(gone));
    std::vector<UINT> tail;
    for (auto it = entries.end() - static_cast<long>(c.tail.size()); it != entries.end(); ++it)
      tail.push_back(it->message);
    EXPECT_EQ(tail, c.tail) << c.message;
  }
}

TEST_F(Windows, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 200});
  HWND a = MakeWindow(WS_CHILD, RECT{0, 0, 50, 50}, top, 0, 1);
  HWND b = MakeWindow(WS_CHILD, RECT{0, 0, 20, 20}, a, 0, 2);
  Recorder::Get().Clear();
  ASSERT_TRUE(DestroyWindow(top));
  const auto seq = Recorder::Get().Sequence({WM_DESTROY, WM_NCDESTROY});
  const std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY}, {a, WM_DESTROY},
                                                    {b, WM_DESTROY},   {b, WM_NCDESTROY},
                                                    {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(seq, expected);
  for (HWND h : {top, a, b}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(Windows, OwnedWindowsGoWithTheirOwnerAndStayAboveIt) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND owned = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{10, 10, 50, 50}, owner);
  HWND other = MakeWindow(WS_POPUP | WS_VISIBLE, RECT{20, 20, 60, 60});
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);  // a pop-up's parent is its owner
  BringWindowToTop(owner);
  EXPECT_EQ(GetTopWindow(nullptr), owned);
  EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
  EXPECT_EQ(GetWindow(owner, GW_HWNDNEXT), other);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_TRUE(IsWindow(other));
}

TEST_F(Windows, HandlesFitIn32BitsAreNotReusedAndCarryTheProcessTag) {
  std::set<uintptr_t> seen;
  for (int i = 0; i < 50; ++i) {
    HWND h = MakeWindow(WS_POPUP, RECT{0, 0, 1, 1});
    const auto value = reinterpret_cast<uintptr_t>(h);
    EXPECT_LE(value, 0x7FFFFFFFu);
    EXPECT_GE(value, 0x100000u);
    EXPECT_TRUE(seen.insert(value).second);
    EXPECT_FALSE(pictavo::user::IsForeignWindowHandle(h));
    DestroyWindow(h);
  }
  const auto mine = *seen.begin() >> 20;
  const auto foreign = reinterpret_cast<HWND>(((mine % 2047) + 1) << 20 | 5);
  EXPECT_TRUE(pictavo::user::IsForeignWindowHandle(foreign));
  EXPECT_FALSE(IsWindow(foreign));
}

TEST_F(Windows, ClassesAreFoundByNameWithoutCaseAndByAtom) {
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.cbWndExtra = 16;
  wc.cbClsExtra = 8;
  wc.lpszClassName = "Pictavo.Probe";
  const ATOM atom = RegisterClassEx(&wc);
  ASSERT_GE(atom, 0xC000);
  EXPECT_EQ(RegisterClassEx(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASS found{};
  EXPECT_TRUE(GetClassInfo(nullptr, "PICTAVO.PROBE", &found));
  EXPECT_EQ(found.cbWndExtra, 16);
  HWND w =
      CreateWindowEx(0, MAKEINTATOM(atom), "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  char name[64];
  EXPECT_EQ(GetClassName(w, name, sizeof name), 13);
  EXPECT_STREQ(name, "Pictavo.Probe");
  EXPECT_EQ(GetClassLong(w, GCW_ATOM), atom);
  EXPECT_EQ(SetClassLongPtr(w, 0, 77), 0u);
  EXPECT_EQ(GetClassLongPtr(w, 0), 77u);
  EXPECT_FALSE(UnregisterClass("Pictavo.Probe", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("Pictavo.Probe", nullptr));
  EXPECT_EQ(CreateWindowEx(0, "Pictavo.Probe", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(Windows, IntegerAtomNamesMatchTheirNumber) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "#32770";
  if (!GetClassInfo(nullptr, "#32770", &wc)) ASSERT_EQ(RegisterClass(&wc), 0x8002);
  EXPECT_TRUE(GetClassInfo(nullptr, WC_DIALOG, &wc));
}

TEST_F(Windows, WindowLongsAndExtraBytes) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = "Pictavo.Extra";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(WS_EX_TOOLWINDOW, "Pictavo.Extra", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                          nullptr, nullptr);
  ASSERT_TRUE(w);
  EXPECT_EQ(SetWindowLongPtr(w, DWLP_MSGRESULT, 1234), 0);
  EXPECT_EQ(GetWindowLongPtr(w, DWLP_MSGRESULT), 1234);
  EXPECT_EQ(SetWindowLongPtr(w, DWLP_USER, -5), 0);
  EXPECT_EQ(GetWindowLongPtr(w, DWLP_USER), -5);
  EXPECT_EQ(GetWindowLongPtr(w, DLGWINDOWEXTRA), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(SetWindowLongPtr(w, GWLP_USERDATA, 42), 0);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 42);
  EXPECT_TRUE(GetWindowLong(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), DefWindowProc);
  DestroyWindow(w);
}

TEST_F(Windows, SubclassingChainsThroughCallWindowProc) {
  static WNDPROC previous = nullptr;
  static int calls = 0;
  calls = 0;
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER) ++calls;
        return CallWindowProc(previous, h, m, wp, lp);
      })));
  Recorder::Get().Clear();
  SendMessage(w, WM_USER, 0, 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Recorder::Get().Count(w, WM_USER), 1);
}

TEST_F(Windows, StyleChangesAreAnnounced) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  Recorder::Get().Clear();
  SetWindowLong(w, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(Recorder::Get().Messages(w), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_BORDER);
}

TEST_F(Windows, TextGoesThroughMessages) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0, 0, nullptr, "first");
  char text[32];
  EXPECT_EQ(GetWindowText(w, text, sizeof text), 5);
  EXPECT_STREQ(text, "first");
  EXPECT_TRUE(SetWindowText(w, "Größe"));
  EXPECT_EQ(GetWindowTextLength(w), 7);
  // A short buffer never cuts a character in two.
  EXPECT_EQ(GetWindowText(w, text, 4), 2);
  EXPECT_STREQ(text, "Gr");
  EXPECT_EQ(Recorder::Get().Count(w, WM_SETTEXT), 1);
  EXPECT_EQ(Recorder::Get().Count(w, WM_GETTEXT), 2);
}

TEST_F(Windows, PropertiesByNameAndAtom) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  int value = 0;
  EXPECT_TRUE(SetProp(w, "Owner", &value));
  EXPECT_EQ(GetProp(w, "OWNER"), &value);
  EXPECT_TRUE(SetProp(w, MAKEINTATOM(0xC123), &value + 1));
  EXPECT_EQ(GetProp(w, MAKEINTATOM(0xC123)), &value + 1);
  EXPECT_EQ(RemoveProp(w, "owner"), &value);
  EXPECT_EQ(GetProp(w, "Owner"), nullptr);
}

TEST_F(Windows, TreeQueries) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 200});
  HWND a = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, top, 0, 101);
  HWND b = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, top, 0, 102);
  HWND c = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, b, 0, 103);
  // Children are added below their siblings: creation order is z-order.
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), b);
  EXPECT_EQ(GetParent(c), b);
  EXPECT_EQ(GetAncestor(c, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(IsChild(top, c));
  EXPECT_FALSE(IsChild(c, top));
  EXPECT_EQ(GetDlgItem(top, 102), b);
  EXPECT_EQ(GetDlgItem(top, 103), nullptr);  // only direct children
  EXPECT_EQ(GetDlgCtrlID(c), 103);
  std::vector<HWND> all;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all, (std::vector<HWND>{a, b, c}));
  EXPECT_EQ(SetParent(c, a), b);
  EXPECT_EQ(GetParent(c), a);
}

TEST_F(Windows, FindWindowMatchesClassAndTitle) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0, 0, nullptr, "Find Me");
  EXPECT_EQ(FindWindow(RecorderClass(), "find me"), w);
  EXPECT_EQ(FindWindow(nullptr, "Find Me"), w);
  EXPECT_EQ(FindWindow(PlainRecorderClass(), "Find Me"), nullptr);
}

TEST_F(Windows, EnableWindowReportsThePreviousStateAndSendsWmEnable) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  EXPECT_FALSE(EnableWindow(w, FALSE));
  EXPECT_TRUE(EnableWindow(w, FALSE));  // already disabled: no second message
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_TRUE(EnableWindow(w, TRUE));
  EXPECT_EQ(Recorder::Get().Count(w, WM_ENABLE), 2);
}

TEST_F(Windows, InvalidHandlesFailWithTheWindowError) {
  HWND w = MakeWindow(WS_POPUP, RECT{0, 0, 10, 10});
  DestroyWindow(w);
  RECT r;
  SetLastError(0);
  EXPECT_FALSE(GetWindowRect(w, &r));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
}

TEST_F(Windows, CloseDestroysByDefault) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW, RECT{0, 0, 100, 100});
  SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
