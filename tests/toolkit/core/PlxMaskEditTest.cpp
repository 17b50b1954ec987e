// The masked edit of the property list: the 12/34 field (two groups of two digits around a
// slash), the mask characters, deletion, caret keys, paste and a plain field of valid characters.
#include "toolkit/core/PlxMaskEdit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/kernel/GlobalMemory.h"
#include "tests/support/MessagePump.h"

namespace {

struct Action {
  enum Kind { kChar, kKey, kSelect, kPaste } kind;
  UINT value = 0;
  int from = 0, to = 0;
  const char* text = nullptr;
};

Action Char(char c) {
  return {Action::kChar, static_cast<UINT>(static_cast<unsigned char>(c))};
}
Action Key(UINT vk) {
  return {Action::kKey, vk};
}
Action Select(int from, int to) {
  return {Action::kSelect, 0, from, to};
}
Action Paste(const char* text) {
  return {Action::kPaste, 0, 0, 0, text};
}

class PlxMaskEditField : public ::testing::Test {
 protected:
  void SetUp() override {
    const CString cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    ASSERT_TRUE(parent.CreateEx(0, cls, "mask", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 40), nullptr, 0));
  }
  void TearDown() override { parent.DestroyWindow(); }

  // A field of the template and mask (none when null) holding `initial`.
  void Make(const char* tmpl, const char* mask, const char* valid = nullptr, const char* initial = nullptr) {
    if (edit.GetSafeHwnd()) edit.DestroyWindow();
    if (tmpl) edit.EnableMask(mask, tmpl, ' ');
    if (valid) edit.SetValidChars(valid);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 180, 20), &parent, 3));
    if (initial) edit.SetWindowText(initial);
    edit.SetFocus();
    edit.SetSel(0, 0);
  }
  void Play(const std::vector<Action>& actions) {
    for (const Action& a : actions) {
      switch (a.kind) {
        case Action::kChar:
          edit.SendMessage(WM_CHAR, a.value);
          break;
        case Action::kKey:
          edit.SendMessage(WM_KEYDOWN, a.value);
          if (a.value == VK_BACK) edit.SendMessage(WM_CHAR, VK_BACK);
          break;
        case Action::kSelect:
          edit.SetSel(a.from, a.to);
          break;
        case Action::kPaste: {
          ASSERT_TRUE(OpenClipboard(parent.GetSafeHwnd()));
          EmptyClipboard();
          const size_t n = std::strlen(a.text) + 1;
          HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, n);
          std::memcpy(GlobalLock(memory), a.text, n);
          GlobalUnlock(memory);
          SetClipboardData(CF_TEXT, memory);
          CloseClipboard();
          edit.SendMessage(WM_PASTE);
          break;
        }
      }
      pictavo::test::PumpPending();
    }
  }
  CString Text() {
    CString text;
    edit.GetWindowText(text);
    return text;
  }

  CWnd parent;
  CPlxMaskEdit edit;
};

}  // namespace

TEST_F(PlxMaskEditField, TypingDeletingAndMovingInTheDateLikeField) {
  struct Case {
    const char* what;
    const char* initial;  // window text before the actions
    std::vector<Action> actions;
    const char* text;
    int selStart, selEnd;
  };
  const Case cases[] = {
      {"four digits jump the slash", nullptr, {Char('1'), Char('2'), Char('3'), Char('4')}, "12/34", 5, 5},
      {"a letter is refused", nullptr, {Char('a')}, "  /  ", 0, 0},
      {"typing over the slash selects the group", "12/34", {Select(1, 4), Char('5')}, "12/34", 0, 2},
      {"typing over a run shifts it", "12/34", {Select(0, 1), Char('9')}, "92/34", 1, 1},
      {"Backspace at the second group's start moves only",
       "12/34",
       {Select(3, 3), Key(VK_BACK)},
       "12/34",
       2,
       2},
      {"Backspace at the first group's start beeps", "12/34", {Key(VK_BACK)}, "12/34", 0, 0},
      {"Backspace inside a group shifts left", "12/34", {Select(1, 1), Key(VK_BACK)}, "2 /34", 0, 0},
      {"Delete at a group's end beeps", "12/34", {Select(2, 2), Key(VK_DELETE)}, "12/34", 2, 2},
      {"Delete inside a group shifts left", "12/34", {Select(3, 3), Key(VK_DELETE)}, "12/4 ", 3, 3},
      {"Delete over a selection blanks the run's end",
       "12/34",
       {Select(0, 2), Key(VK_DELETE)},
       "  /34",
       0,
       0},
      {"Home goes to the group's start", "12/34", {Select(4, 4), Key(VK_HOME)}, "12/34", 3, 3},
      {"End goes to the group's end", "12/34", {Select(0, 0), Key(VK_END)}, "12/34", 2, 2},
      {"Right at a group's end jumps the slash", "12/34", {Select(2, 2), Key(VK_RIGHT)}, "12/34", 3, 3},
      {"Left at the first group's start beeps", "12/34", {Key(VK_LEFT)}, "12/34", 0, 0},
      {"a paste inside a group overwrites", "12/34", {Select(3, 3), Paste("56")}, "12/56", 3, 3},
      {"a paste crossing the slash with another character is refused",
       "12/34",
       {Select(0, 0), Paste("1x3")},
       "12/34",
       0,
       0},
      {"text set by the owner that breaks the mask is undone", nullptr, {}, "  /  ", 0, 0},
  };
  for (const Case& c : cases) {
    Make("__/__", "DD/DD", nullptr, c.initial);
    if (std::strcmp(c.what, "text set by the owner that breaks the mask is undone") == 0)
      edit.SetWindowText("ab/cd");
    Play(c.actions);
    EXPECT_STREQ(Text(), c.text) << c.what;
    int s = 0, e = 0;
    edit.GetSel(s, e);
    if (c.actions.empty()) continue;
    EXPECT_EQ(s, c.selStart) << c.what;
    EXPECT_EQ(e, c.selEnd) << c.what;
  }
}

TEST_F(PlxMaskEditField, MaskCharactersAcceptTheirClasses) {
  struct Case {
    char mask;
    const char* accepted;
    const char* refused;
  };
  const Case cases[] = {{'D', "09", "a -"}, {'d', "5 ", "a"},  {'C', "aZ", "1 "},  {'c', "b ", "2"},
                        {'A', "a1", " -"},  {'a', "b2 ", "-"}, {'+', "+- ", "1a"}, {'x', "", "a1 "}};
  CPlxMaskEdit probe;
  for (const Case& c : cases) {
    for (const char* p = c.accepted; *p; ++p) EXPECT_TRUE(probe.MatchesMaskChar(*p, c.mask)) << c.mask << *p;
    for (const char* p = c.refused; *p; ++p) EXPECT_FALSE(probe.MatchesMaskChar(*p, c.mask)) << c.mask << *p;
  }
}

TEST_F(PlxMaskEditField, AssignTextCountsInputsAndLiterals) {
  struct Case {
    const char* text;
    BOOL literals;
    BOOL ok;
    const char* model;
  };
  const Case cases[] = {{"1234", FALSE, TRUE, "12/34"},   {"12345", FALSE, FALSE, "  /  "},
                        {"12/345", TRUE, FALSE, "  /  "}, {"12/34", TRUE, TRUE, "12/34"},
                        {"12-34", TRUE, FALSE, "  /  "},  {"1a", FALSE, FALSE, "  /  "}};
  for (const Case& c : cases) {
    CPlxMaskEdit field;
    field.EnableMask("DD/DD", "__/__", ' ');
    EXPECT_EQ(field.AssignText(c.text, c.literals), c.ok) << c.text;
    EXPECT_STREQ(field.GetFullText(), c.model) << c.text;
  }
  CPlxMaskEdit field;
  field.EnableMask("DD/DD", "__/__", ' ');
  field.AssignText("1 /3 ", TRUE);
  EXPECT_STREQ(field.GetInputChars(FALSE), "13");
  EXPECT_STREQ(field.GetInputChars(TRUE), "1 3 ");
}

TEST_F(PlxMaskEditField, ATemplateWithoutInputsRefusesEveryKey) {
  Make("--", "DD");
  Play({Char('1'), Key(VK_END), Key(VK_DELETE)});
  EXPECT_STREQ(Text(), "--");
}

TEST_F(PlxMaskEditField, ValidCharactersWithoutAMaskFilterTyping) {
  Make(nullptr, nullptr, "0123456789", "12");
  Play({Key(VK_END), Char('a'), Char('5'), Char(' ')});
  EXPECT_STREQ(Text(), "125");
  Make(nullptr, nullptr, " ", "");
  Play({Char('x'), Char(' ')});
  EXPECT_STREQ(Text(), " ");
}
