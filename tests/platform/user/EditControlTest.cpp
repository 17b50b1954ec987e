#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "ControlFixture.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/GlobalMemory.h"

using namespace testing_user;

namespace {

class EditControl : public ControlTest {
 protected:
  HWND MakeEdit(DWORD style = ES_AUTOHSCROLL, const char* text = "", RECT rect = RECT{10, 10, 210, 34}) {
    HWND edit = Make(WC_EDIT, style | WS_BORDER, rect, 100, text);
    SetFocus(edit);
    PumpPending();
    Recorder::Get().Clear();
    return edit;
  }
  static std::pair<DWORD, DWORD> Sel(HWND edit) {
    DWORD from = 0, to = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return {from, to};
  }
};

struct Stroke {
  std::initializer_list<UINT> modifiers;
  UINT key;
};

TEST_F(EditControl, KeyboardMovesAndExtendsTheSelection) {
  struct Case {
    int anchor, caret;
    std::vector<Stroke> keys;
    DWORD from, to;
  };
  const Case cases[] = {
      {0, 0, {{{VK_SHIFT}, VK_RIGHT}}, 0, 1},
      {0, 0, {{{VK_CONTROL}, VK_RIGHT}}, 6, 6},  // past "hello "
      {11, 11, {{{VK_CONTROL}, VK_LEFT}}, 6, 6},
      {3, 3, {{{VK_SHIFT}, VK_END}}, 3, 11},
      {5, 5, {{{VK_SHIFT}, VK_HOME}}, 0, 5},
      {0, 5, {{{}, VK_RIGHT}}, 5, 5},  // a selection collapses to its end
      {0, 5, {{{}, VK_LEFT}}, 0, 0},
      {6, 6, {{{VK_CONTROL, VK_SHIFT}, VK_RIGHT}}, 6, 11},
      {4, 4, {{{VK_SHIFT}, VK_LEFT}, {{VK_SHIFT}, VK_LEFT}, {{VK_SHIFT}, VK_RIGHT}}, 3, 4},
  };
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "hello world");
  for (const Case& c : cases) {
    SendMessage(edit, EM_SETSEL, c.anchor, c.caret);
    for (const Stroke& k : c.keys) Chord(k.modifiers, k.key);
    EXPECT_EQ(Sel(edit), std::make_pair(c.from, c.to)) << c.anchor << "," << c.caret;
  }
}

TEST_F(EditControl, MouseSelectsByDragAndWordsByDoubleClick) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "hello world");
  auto pointOf = [&](int pos) {
    const LRESULT r = SendMessage(edit, EM_POSFROMCHAR, pos, 0);
    return POINT{static_cast<SHORT>(LOWORD(r)), static_cast<SHORT>(HIWORD(r)) + 3};
  };
  using pictavo::user::InjectMouseButton;
  using pictavo::user::InjectMouseMove;
  using pictavo::user::MouseButton;
  InjectMouseMove(ScreenOf(edit, pointOf(1)));
  InjectMouseButton(MouseButton::kLeft, true);
  InjectMouseMove(ScreenOf(edit, pointOf(4)));
  InjectMouseButton(MouseButton::kLeft, false);
  PumpPending();
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{1}, DWORD{4}));

  POINT inWorld = pointOf(8);
  inWorld.x += 1;
  Click(edit, inWorld);
  Click(edit, inWorld);  // the second press within the double-click time
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{6}, DWORD{11}));
}

TEST_F(EditControl, TypingNotifiesUpdateThenChange) {
  HWND edit = MakeEdit();
  Type("a");
  EXPECT_EQ(Codes(), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
  EXPECT_EQ(Notes().front().first, 100);
  EXPECT_TRUE(SendMessage(edit, EM_GETMODIFY, 0, 0));
  SetWindowText(edit, "b");
  EXPECT_FALSE(SendMessage(edit, EM_GETMODIFY, 0, 0));
  Recorder::Get().Clear();
  SetFocus(parent);
  SetFocus(edit);
  EXPECT_EQ(Codes(), (std::vector<int>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(EditControl, UndoSwapsWithTheTextBeforeTheLastChange) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "");
  Type("abc");
  EXPECT_EQ(TextOf(edit), "abc");
  EXPECT_TRUE(SendMessage(edit, EM_CANUNDO, 0, 0));
  EXPECT_TRUE(SendMessage(edit, EM_UNDO, 0, 0));  // typing is one unit
  EXPECT_EQ(TextOf(edit), "");
  SendMessage(edit, EM_UNDO, 0, 0);  // undoing the undo
  EXPECT_EQ(TextOf(edit), "abc");
  Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(TextOf(edit), "");
  SendMessage(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(SendMessage(edit, EM_CANUNDO, 0, 0));
  EXPECT_FALSE(SendMessage(edit, EM_UNDO, 0, 0));
  Type("x");
  SetWindowText(edit, "new");
  EXPECT_FALSE(SendMessage(edit, EM_CANUNDO, 0, 0));
}

TEST_F(EditControl, LimitKeepsWhatFitsWholeCharacters) {
  struct Case {
    UINT limit;
    const char* before;
    const char* typed;
    const char* after;
    bool maxText;
  };
  const Case cases[] = {
      {5, "", "abcdefg", "abcde", true},
      {5, "abc", "de", "abcde", false},
      {4, "", "a\xC3\xA9\xE2\x82\xAC", "a\xC3\xA9", true},  // a, e acute, euro: the euro sign does not fit
      {3, "abc", "d", "abc", true},
  };
  HWND edit = MakeEdit();
  for (const Case& c : cases) {
    SetWindowText(edit, c.before);
    SendMessage(edit, EM_SETSEL, 0x7FFF, 0x7FFF);
    SendMessage(edit, EM_LIMITTEXT, c.limit, 0);
    EXPECT_EQ(static_cast<UINT>(SendMessage(edit, EM_GETLIMITTEXT, 0, 0)), c.limit);
    Recorder::Get().Clear();
    Type(c.typed);
    EXPECT_EQ(TextOf(edit), c.after) << c.typed;
    const auto codes = Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT) > 0, c.maxText) << c.typed;
  }
}

TEST_F(EditControl, StylesFilterWhatIsTyped) {
  struct Case {
    DWORD style;
    const char* typed;
    const char* after;
  };
  const Case cases[] = {
      {ES_NUMBER, "12a3", "123"},
      {ES_UPPERCASE, "Abc", "ABC"},
      {ES_LOWERCASE, "AbC", "abc"},
      {ES_READONLY, "abc", ""},
  };
  for (const Case& c : cases) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL | c.style);
    Type(c.typed);
    EXPECT_EQ(TextOf(edit), c.after) << c.typed;
    DestroyWindow(edit);
  }
}

TEST_F(EditControl, ReadOnlyStillTakesTextFromTheProgram) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_READONLY, "abc");
  SendMessage(edit, EM_SETSEL, 3, 3);
  SendMessage(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("def"));
  EXPECT_EQ(TextOf(edit), "abcdef");
  Key(VK_BACK);
  EXPECT_EQ(TextOf(edit), "abcdef");
  SendMessage(edit, EM_SETREADONLY, FALSE, 0);
  Key(VK_BACK);
  EXPECT_EQ(TextOf(edit), "abcde");
}

TEST_F(EditControl, PositionsStayOnCharacterStarts) {
  // "a", n tilde (2 bytes), "b".
  HWND edit = MakeEdit(ES_AUTOHSCROLL,
                       "a\xC3\xB1"
                       "b");
  SendMessage(edit, EM_SETSEL, 2, 2);  // inside the two-byte character
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{1}, DWORD{1}));
  SendMessage(edit, EM_SETSEL, 0, 0);
  Chord({VK_SHIFT}, VK_RIGHT);
  Chord({VK_SHIFT}, VK_RIGHT);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{0}, DWORD{3}));
  SendMessage(edit, EM_SETSEL, 3, 3);
  Key(VK_BACK);
  EXPECT_EQ(TextOf(edit), "ab");
  char small[3] = {};
  SetWindowText(edit, "\xC3\xB1\xC3\xB1");
  EXPECT_EQ(GetWindowText(edit, small, sizeof small), 2);  // one whole character fits in 3 bytes
  EXPECT_STREQ(small, "\xC3\xB1");
}

TEST_F(EditControl, ClipboardRoundTripThroughTheKeys) {
  HWND from = MakeEdit(ES_AUTOHSCROLL, "copy me");
  SendMessage(from, EM_SETSEL, 0, 4);
  Chord({VK_CONTROL}, 'C');
  ASSERT_TRUE(OpenClipboard(parent));
  HANDLE text = GetClipboardData(CF_TEXT);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "copy");
  GlobalUnlock(text);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(wide)), L"copy");
  GlobalUnlock(wide);
  CloseClipboard();

  HWND to = MakeEdit(ES_AUTOHSCROLL, "x", RECT{10, 40, 210, 64});
  SendMessage(to, EM_SETSEL, 1, 1);
  Chord({VK_CONTROL}, 'V');
  EXPECT_EQ(TextOf(to), "xcopy");

  SetFocus(from);
  SendMessage(from, EM_SETSEL, 4, 7);
  Chord({VK_CONTROL}, 'X');
  EXPECT_EQ(TextOf(from), "copy");
  SendMessage(to, WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(to), "xcopy me");

  // A password is never copied.
  SendMessage(from, EM_SETPASSWORDCHAR, '*', 0);
  EXPECT_EQ(SendMessage(from, EM_GETPASSWORDCHAR, 0, 0), '*');
  SendMessage(from, EM_SETSEL, 0, -1);
  SendMessage(from, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(parent));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), " me");
  GlobalUnlock(GetClipboardData(CF_TEXT));
  CloseClipboard();
}

TEST(Clipboard, OneOpenerAtATimeAndDataOnlyWhileOpen) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abc", 4);
  GlobalUnlock(block);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  BOOL otherOpened = TRUE;
  DWORD otherError = 0;
  std::thread([&] {
    otherOpened = OpenClipboard(nullptr);
    otherError = GetLastError();
  }).join();
  EXPECT_FALSE(otherOpened);
  EXPECT_EQ(otherError, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));  // made from the text on request
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // not open
  EXPECT_FALSE(CloseClipboard());

  // Emptying frees what the clipboard held; a bitmap is owned like a memory block.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  EXPECT_EQ(GlobalSize(block), 0u);
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  SetClipboardData(CF_BITMAP, bitmap);
  EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
  EmptyClipboard();
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  CloseClipboard();
}

TEST_F(EditControl, MultiLineLineMessages) {
  HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, "one\r\ntwo\r\n\r\nfour",
                       RECT{10, 10, 210, 110});
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 4);
  struct Case {
    int line;
    LRESULT index;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 5}, Case{2, 10}, Case{3, 12}, Case{4, -1}})
    EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, c.line, 0), c.index) << c.line;
  struct Position {
    int pos;
    LRESULT line;
    LRESULT length;
  };
  for (const Position& p : {Position{0, 0, 3}, Position{6, 1, 3}, Position{10, 2, 0}, Position{14, 3, 4}}) {
    EXPECT_EQ(SendMessage(edit, EM_LINEFROMCHAR, p.pos, 0), p.line) << p.pos;
    EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, p.pos, 0), p.length) << p.pos;
  }
  char line[16] = {};
  *reinterpret_cast<WORD*>(line) = sizeof line;
  EXPECT_EQ(SendMessage(edit, EM_GETLINE, 3, reinterpret_cast<LPARAM>(line)), 4);
  EXPECT_EQ(std::string(line, 4), "four");
  *reinterpret_cast<WORD*>(line) = 2;
  EXPECT_EQ(SendMessage(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 2);

  // Down keeps to the column; Enter with ES_WANTRETURN breaks the line.
  SendMessage(edit, EM_SETSEL, 2, 2);
  Key(VK_DOWN);
  EXPECT_EQ(Sel(edit), std::make_pair(DWORD{7}, DWORD{7}));
  Type("\r");
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 5);
  EXPECT_EQ(TextOf(edit), "one\r\ntw\r\no\r\n\r\nfour");
}

TEST_F(EditControl, MultiLineWrapsWordsToTheWidth) {
  HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, "alpha beta gamma delta epsilon zeta eta theta",
                       RECT{10, 10, 90, 200});
  const LRESULT lines = SendMessage(edit, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 2);
  // Lines break after blanks, never inside a word that fits.
  for (LRESULT i = 1; i < lines; ++i) {
    const LRESULT start = SendMessage(edit, EM_LINEINDEX, i, 0);
    EXPECT_EQ(TextOf(edit)[static_cast<size_t>(start) - 1], ' ') << i;
  }
}

TEST_F(EditControl, MarginsAreSetAndReadBack) {
  HWND edit = MakeEdit();
  SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 7));
  EXPECT_EQ(SendMessage(edit, EM_GETMARGINS, 0, 0), MAKELRESULT(5, 7));
  SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(9, 0));
  EXPECT_EQ(SendMessage(edit, EM_GETMARGINS, 0, 0), MAKELRESULT(9, 7));
  SendMessage(edit, EM_SETMARGINS, EC_USEFONTINFO, 0);
  const LRESULT fromFont = SendMessage(edit, EM_GETMARGINS, 0, 0);
  EXPECT_GT(LOWORD(fromFont), 0);
  EXPECT_LT(LOWORD(fromFont), 6);
}

TEST_F(EditControl, CaretFollowsTheSelection) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "abc");
  SendMessage(edit, EM_SETSEL, 2, 2);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  const LRESULT at = SendMessage(edit, EM_POSFROMCHAR, 2, 0);
  EXPECT_EQ(caret.x, static_cast<SHORT>(LOWORD(at)));
  SetFocus(parent);
  EXPECT_FALSE(GetCaretPos(&caret));  // the caret went with the focus
}

TEST_F(EditControl, CaretBlinks) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "");
  UpdateWindow(parent);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  const POINT probe{caret.x, caret.y + 3};
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  // Shown inverted at first, then it goes and comes back with the blink timer.
  EXPECT_NE(PixelAt(edit, probe), background);
  EXPECT_TRUE(PumpUntil([&] { return PixelAt(edit, probe) == background; }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return PixelAt(edit, probe) != background; }, 3000));
  HideCaret(edit);
  EXPECT_EQ(PixelAt(edit, probe), background);
}

}  // namespace
