#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "Recorder.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Thread.h"
#include "platform/user/Controls.h"
#include "platform/user/Dialog.h"

using namespace testing_user;

namespace {

constexpr int kForm = 61000;
constexpr int kPageOne = 61001;
constexpr int kBroken = 61003;
constexpr int kNameLabel = 61010, kName = 61011, kCountLabel = 61012, kCount = 61013, kKeep = 61014,
              kFirst = 61015, kSecond = 61016, kList = 61017, kCombo = 61018, kPageEdit = 61020;

struct Seen {
  WPARAM initFocus = 0;
  LPARAM initParam = 0;
  std::vector<UINT> commands;
};
Seen g_seen;

// Ends the dialog on OK and Cancel; WM_APP ends it with wParam and answers 99.
INT_PTR CALLBACK FormProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      g_seen.initFocus = wParam;
      g_seen.initParam = lParam;
      return TRUE;
    case WM_COMMAND:
      g_seen.commands.push_back(LOWORD(wParam));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_APP:
      EndDialog(dialog, static_cast<INT_PTR>(wParam));
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, 99);
      return TRUE;
    default:
      return FALSE;
  }
}

class DialogTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    UseTestResources();
    g_seen = {};
    m_owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 700, 600});
  }
  HWND Form() { return CreateDialogParam(nullptr, MAKEINTRESOURCE(kForm), m_owner, FormProc, 77); }
  INT_PTR RunForm() { return DialogBoxParam(nullptr, MAKEINTRESOURCE(kForm), m_owner, FormProc, 0); }

  HWND m_owner = nullptr;
};

TEST_F(DialogTest, BuildsTheDialogAndItsControlsFromTheTemplate) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  char name[32] = {};
  GetClassName(dialog, name, sizeof name);
  EXPECT_STREQ(name, "#32770");
  char caption[32] = {};
  GetWindowText(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Test Form");
  EXPECT_FALSE(IsWindowVisible(dialog)) << "the template has no WS_VISIBLE";

  RECT client{};
  GetClientRect(dialog, &client);
  const RECT size = pictavo::gdi::MapDialogUnits(RECT{0, 0, 200, 150});
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);

  HWND edit = GetDlgItem(dialog, kName);
  ASSERT_NE(edit, nullptr);
  GetClassName(edit, name, sizeof name);
  EXPECT_STREQ(name, "Edit");
  RECT r{};
  GetWindowRect(edit, &r);
  POINT topLeft{r.left, r.top};
  ScreenToClient(dialog, &topLeft);
  const RECT expected = pictavo::gdi::MapDialogUnits(RECT{50, 7, 190, 21});
  EXPECT_EQ(topLeft.x, expected.left);
  EXPECT_EQ(topLeft.y, expected.top);
  EXPECT_EQ(r.right - r.left, expected.right - expected.left);
  EXPECT_TRUE(GetWindowLong(edit, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);

  const LRESULT font = SendMessage(dialog, WM_GETFONT, 0, 0);
  EXPECT_NE(font, 0);
  for (int id : {kNameLabel, kName, kKeep, kList, IDOK})
    EXPECT_EQ(SendDlgItemMessage(dialog, id, WM_GETFONT, 0, 0), font) << id;

  EXPECT_EQ(g_seen.initParam, 77);
  EXPECT_EQ(reinterpret_cast<HWND>(g_seen.initFocus), edit) << "WM_INITDIALOG names the first tab stop";
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  DestroyWindow(dialog);
}

TEST_F(DialogTest, TabOrderSkipsControlsThatCannotTakeTheFocus) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  struct Case {
    int from;  // 0: none
    BOOL previous;
    int next;
  };
  auto check = [&](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      HWND from = c.from ? GetDlgItem(dialog, c.from) : nullptr;
      EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, from, c.previous)), c.next)
          << c.from << "/" << c.previous;
    }
  };
  check({{0, FALSE, kName},
         {0, TRUE, IDCANCEL},
         {kName, FALSE, kCount},
         {kCount, FALSE, kKeep},
         {kKeep, FALSE, kFirst},
         {kSecond, FALSE, kList},
         {kList, FALSE, kCombo},
         {kCombo, FALSE, IDOK},
         {IDCANCEL, FALSE, kName},
         {kName, TRUE, IDCANCEL},
         {kNameLabel, FALSE, kName}});
  EnableWindow(GetDlgItem(dialog, kKeep), FALSE);
  ShowWindow(GetDlgItem(dialog, kCombo), SW_HIDE);
  check({{kCount, FALSE, kFirst}, {kList, FALSE, IDOK}, {IDOK, TRUE, kList}});
  DestroyWindow(dialog);
}

TEST_F(DialogTest, GroupItemsWrapWithinTheirGroup) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  const struct {
    int from;
    BOOL previous;
    int next;
  } cases[] = {{kFirst, FALSE, kSecond}, {kSecond, FALSE, kFirst}, {kFirst, TRUE, kSecond},
               {kList, FALSE, kCombo},   {IDOK, FALSE, IDCANCEL},  {IDCANCEL, FALSE, IDOK}};
  for (const auto& c : cases)
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgGroupItem(dialog, GetDlgItem(dialog, c.from), c.previous)), c.next)
        << c.from << "/" << c.previous;
  DestroyWindow(dialog);
}

TEST_F(DialogTest, ModalDialogAnswersEnterEscapeAndTheFocusedButton) {
  const struct {
    std::vector<std::pair<UINT, UINT>> keys;
    INT_PTR result;
  } cases[] = {
      {{{VK_RETURN, kNone}}, IDOK},
      {{{VK_ESCAPE, kNone}}, IDCANCEL},
      {{{VK_TAB, kShift}, {VK_RETURN, kNone}}, IDCANCEL},
      {{{VK_TAB, kShift}, {VK_TAB, kShift}, {VK_RETURN, kNone}}, IDOK},
  };
  for (const auto& c : cases) {
    IdleSteps steps(m_owner);
    for (auto [key, modifiers] : c.keys) steps.Key(key, modifiers);
    EXPECT_EQ(RunForm(), c.result) << c.keys.size() << " keys";
    EXPECT_TRUE(steps.Done());
  }
}

TEST_F(DialogTest, KeysWalkTheTabOrderAndTheRadioGroup) {
  std::vector<int> focus;
  bool ownerDisabled = false;
  auto record = [&](HWND) { focus.push_back(FocusId()); };
  IdleSteps steps(m_owner);
  steps
      .Then([&](HWND dialog) {
        ownerDisabled = !IsWindowEnabled(m_owner);
        record(dialog);
        PressKey(VK_TAB);
      })
      .Then([&](HWND dialog) {
        record(dialog);
        PressKey(VK_TAB);
        PressKey(VK_TAB);
      })
      .Then([&](HWND dialog) {
        record(dialog);
        PressKey(VK_DOWN);
      })
      .Then([&](HWND dialog) {
        record(dialog);
        EXPECT_EQ(IsDlgButtonChecked(dialog, kSecond), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, kFirst), static_cast<UINT>(BST_UNCHECKED));
        PressKey(VK_TAB);
      })
      .Then([&](HWND dialog) {
        record(dialog);
        PressKey(VK_TAB, kShift);
      })
      .Then([&](HWND dialog) {
        record(dialog);
        PressKey(VK_ESCAPE);
      });
  EXPECT_EQ(RunForm(), IDCANCEL);
  // Checking an auto radio button hands it the group's tab stop, so Shift+Tab comes back to it.
  EXPECT_EQ(focus, (std::vector<int>{kName, kCount, kFirst, kSecond, kList, kSecond}));
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(m_owner)) << "the owner is enabled again";
}

TEST_F(DialogTest, MnemonicsReachTheirControls) {
  std::vector<int> focus;
  IdleSteps steps(m_owner);
  steps.Key('K', kAlt)
      .Then([&](HWND dialog) {
        focus.push_back(FocusId());
        EXPECT_EQ(IsDlgButtonChecked(dialog, kKeep), static_cast<UINT>(BST_CHECKED));
        PressKey('C', kAlt);  // the label "&Count:" hands the focus to the edit after it
      })
      .Then([&](HWND) {
        focus.push_back(FocusId());
        PressKey('K', kAlt);
      })
      .Then([&](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, kKeep), static_cast<UINT>(BST_UNCHECKED));
        PressKey('S');  // a plain letter works where the focus takes no characters
      })
      .Then([&](HWND dialog) {
        focus.push_back(FocusId());
        EXPECT_EQ(IsDlgButtonChecked(dialog, kSecond), static_cast<UINT>(BST_CHECKED));
        PressKey(VK_ESCAPE);
      });
  EXPECT_EQ(RunForm(), IDCANCEL);
  EXPECT_EQ(focus, (std::vector<int>{kKeep, kCount, kSecond}));
}

TEST_F(DialogTest, WindowCloseAndDefaultIdAnswerThroughTheDialogProcedure) {
  IdleSteps close(m_owner);
  close.Then([](HWND dialog) { SendMessage(dialog, WM_CLOSE, 0, 0); });
  EXPECT_EQ(RunForm(), IDCANCEL);

  IdleSteps defId(m_owner);
  defId.Then([](HWND dialog) {
    SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(RunForm(), IDCANCEL);
}

TEST_F(DialogTest, TheDefaultButtonLookFollowsTheFocus) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  auto isDefault = [&](int id) {
    return (SendDlgItemMessage(dialog, id, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
  };
  const struct {
    int focus;
    bool okDefault;
    bool cancelDefault;
  } cases[] = {{kName, true, false}, {IDCANCEL, false, true}, {IDOK, true, false}, {kList, true, false}};
  for (const auto& c : cases) {
    SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, c.focus)), TRUE);
    EXPECT_EQ(FocusId(), c.focus);
    EXPECT_EQ(isDefault(IDOK), c.okDefault) << c.focus;
    EXPECT_EQ(isDefault(IDCANCEL), c.cancelDefault) << c.focus;
  }
  DestroyWindow(dialog);
}

TEST_F(DialogTest, ADialogThatCannotBeBuiltLeavesNothingBehind) {
  SetLastError(0);
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kBroken), m_owner, FormProc, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_TRUE(IsWindowEnabled(m_owner));
  int windows = 0;
  EnumThreadWindows(
      GetCurrentThreadId(), [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
      reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 1) << "only the owner is left";
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(60999), m_owner, FormProc, 0), -1) << "no such template";
}

TEST_F(DialogTest, AnotherThreadsSendMessageIsAnsweredWhileTheDialogRuns) {
  std::promise<HWND> shown;
  std::future<HWND> dialogOf = shown.get_future();
  LRESULT answer = 0;
  std::thread other([&] {
    HWND dialog = dialogOf.get();
    answer = SendMessage(dialog, WM_APP, 42, 0);
  });
  IdleSteps steps(m_owner);
  steps.Then([&](HWND dialog) { shown.set_value(dialog); });
  EXPECT_EQ(RunForm(), 42);
  other.join();
  EXPECT_EQ(answer, 99);
}

TEST_F(DialogTest, ChildDialogsAreControlParentsThatTabEnters) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  HWND page = CreateDialogParam(nullptr, MAKEINTRESOURCE(kPageOne), dialog, nullptr, 0);
  ASSERT_NE(page, nullptr);
  const LONG style = GetWindowLong(page, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "a child dialog has no caption";
  EXPECT_TRUE(GetWindowLong(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), FALSE)), kName)
      << "a hidden page is left out";
  ShowWindow(page, SW_SHOW);
  EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), FALSE)), kPageEdit);
  EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(page, kPageEdit), FALSE)), kName);
  DestroyWindow(dialog);
}

TEST_F(DialogTest, ItemNumbersParseAsTheTextSays) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  const struct {
    const char* text;
    BOOL isSigned;
    BOOL translated;
    UINT value;
  } cases[] = {
      {"12", FALSE, TRUE, 12},
      {" -5 ", TRUE, TRUE, static_cast<UINT>(-5)},
      {"-5", FALSE, FALSE, 0},
      {"12a", TRUE, FALSE, 0},
      {"", TRUE, FALSE, 0},
      {"4294967295", FALSE, TRUE, 4294967295u},
      {"4294967296", FALSE, FALSE, 0},
      {"2147483648", TRUE, FALSE, 0},
      {"-2147483648", TRUE, TRUE, 0x80000000u},
  };
  for (const auto& c : cases) {
    SetDlgItemText(dialog, kName, c.text);
    BOOL translated = -1;
    EXPECT_EQ(GetDlgItemInt(dialog, kName, &translated, c.isSigned), c.value) << c.text;
    EXPECT_EQ(translated, c.translated) << c.text;
  }
  SetDlgItemInt(dialog, kCount, static_cast<UINT>(-7), TRUE);
  char text[16] = {};
  GetDlgItemText(dialog, kCount, text, sizeof text);
  EXPECT_STREQ(text, "-7");
  SetDlgItemInt(dialog, kCount, static_cast<UINT>(-7), FALSE);
  GetDlgItemText(dialog, kCount, text, sizeof text);
  EXPECT_STREQ(text, "4294967289");
  DestroyWindow(dialog);
}

TEST_F(DialogTest, RadioAndCheckButtonsByDialogId) {
  HWND dialog = Form();
  ASSERT_NE(dialog, nullptr);
  CheckRadioButton(dialog, kFirst, kSecond, kSecond);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kFirst), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kSecond), static_cast<UINT>(BST_CHECKED));
  CheckRadioButton(dialog, kFirst, kSecond, kFirst);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kFirst), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kSecond), static_cast<UINT>(BST_UNCHECKED));
  CheckDlgButton(dialog, kKeep, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kKeep), static_cast<UINT>(BST_CHECKED));
  RECT r{4, 8, 8, 16};
  EXPECT_TRUE(MapDialogRect(dialog, &r));
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 13);
  EXPECT_EQ(r.right, 12);
  EXPECT_EQ(r.bottom, 26);
  DestroyWindow(dialog);
}

TEST_F(DialogTest, DialogClassIsThereBeforeAnyDialog) {
  pictavo::user::RegisterDialogClass();
  WNDCLASS wc{};
  ASSERT_TRUE(GetClassInfo(nullptr, "#32770", &wc));
  EXPECT_EQ(wc.lpfnWndProc, DefDlgProc);
  EXPECT_GE(wc.cbWndExtra, DLGWINDOWEXTRA);
}

}  // namespace
