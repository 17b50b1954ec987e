// Dialogs from resource templates, driven by keys, with data exchange and validation.
#include <cstdlib>
#include <string>
#include <vector>

#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

class CFormDlg : public CDialog {
 public:
  explicit CFormDlg(CWnd* parent = nullptr) : CDialog(kFormDialog, parent) {}

  CString m_name = "Ann";
  int m_count = 3;
  int m_keep = BST_CHECKED;
  int m_choice = 1;
  CString m_color = "Green";
  int m_size = 2;
  CButton m_keepButton;
  int m_inits = 0;
  std::vector<int> m_focusOnInit;

 protected:
  BOOL OnInitDialog() override {
    for (const char* color : {"Red", "Green", "Blue"})
      SendDlgItemMessage(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(color));
    for (const char* size : {"Small", "Medium", "Large"})
      SendDlgItemMessage(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    ++m_inits;
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kName, m_name);
    DDV_MaxChars(pDX, m_name, 8);
    DDX_Text(pDX, kCount, m_count);
    DDV_MinMaxInt(pDX, m_count, 1, 10);
    DDX_Check(pDX, kKeep, m_keep);
    DDX_Control(pDX, kKeep, m_keepButton);
    DDX_Radio(pDX, kFirst, m_choice);
    DDX_CBString(pDX, kCombo, m_color);
    DDX_LBIndex(pDX, kList, m_size);
  }
};

class CDialogTest : public MfcTest {};

TEST_F(CDialogTest, OnInitDialogPutsTheMembersIntoTheControls) {
  CFormDlg dialog;
  std::string name, count;
  UINT keep = 0, first = 0, second = 0;
  LRESULT list = -1, combo = -1;
  bool subclassed = false;
  IdleScript script;
  script.Then([&] {
    name = TextOf(::GetDlgItem(dialog.m_hWnd, kName));
    count = TextOf(::GetDlgItem(dialog.m_hWnd, kCount));
    keep = dialog.IsDlgButtonChecked(kKeep);
    first = dialog.IsDlgButtonChecked(kFirst);
    second = dialog.IsDlgButtonChecked(kSecond);
    list = dialog.SendDlgItemMessage(kList, LB_GETCURSEL);
    combo = dialog.SendDlgItemMessage(kCombo, CB_GETCURSEL);
    subclassed = CWnd::FromHandlePermanent(::GetDlgItem(dialog.m_hWnd, kKeep)) == &dialog.m_keepButton;
  });
  script.Key(VK_ESCAPE);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(name, "Ann");
  EXPECT_EQ(count, "3");
  EXPECT_EQ(keep, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(first, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(second, static_cast<UINT>(BST_CHECKED)) << "m_choice 1 is the second radio button";
  EXPECT_EQ(list, 2);
  EXPECT_EQ(combo, 1) << "DDX_CBString selects the item with that text";
  EXPECT_TRUE(subclassed) << "DDX_Control attaches the object to the control";
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_keepButton.m_hWnd, nullptr) << "the control's object lets go with the window";
  EXPECT_EQ(dialog.m_name, "Ann") << "Cancel leaves the members as they were";
}

TEST_F(CDialogTest, KeysTypeMoveTheFocusAndEnterSavesTheValues) {
  CFormDlg dialog;
  std::vector<int> focus;
  IdleScript script;
  script.Then([&] { focus.push_back(FocusId()); })
      .Type("Bob")  // the name's text was selected by the initial focus: typing replaces it
      .Key(VK_TAB)
      .Then([&] { focus.push_back(FocusId()); })
      .Type("7")
      .Key(VK_TAB)
      .Then([&] { focus.push_back(FocusId()); })
      .Key(VK_SPACE)  // clears the check box
      .Key(VK_TAB)
      .Then([&] { focus.push_back(FocusId()); })
      .Key(VK_UP)  // within the radio group: the first button
      .Key(VK_RETURN);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(focus, (std::vector<int>{kName, kCount, kKeep, kSecond}));
  EXPECT_EQ(dialog.m_name, "Bob");
  EXPECT_EQ(dialog.m_count, 7);
  EXPECT_EQ(dialog.m_keep, BST_UNCHECKED);
  EXPECT_EQ(dialog.m_choice, 0);
  EXPECT_EQ(dialog.m_color, "Green");
  EXPECT_EQ(dialog.m_size, 2);
}

TEST_F(CDialogTest, AValueThatFailsItsCheckKeepsTheDialogWithTheFocusOnIt) {
  const struct {
    int control;
    const char* text;   // what the control holds when OK is pressed
    const char* fixed;  // typed over it afterwards
  } cases[] = {
      {kCount, "12", "9"},             // out of range
      {kCount, "x", "4"},              // no number
      {kName, "Bartholomew", "Bart"},  // too long
  };
  for (const auto& c : cases) {
    CFormDlg dialog;
    HWND box = nullptr;
    std::string prompt;
    int focusAfter = 0;
    DWORD selection = 0;
    IdleScript script;
    script.Then([&] { dialog.SetDlgItemText(c.control, c.text); })
        .Key(VK_RETURN)
        .Then([&] {
          box = ::GetActiveWindow();
          prompt = TextOf(::GetDlgItem(box, pictavo::user::kMessageBoxTextId));
        })
        .Key(VK_RETURN)  // the message box
        .Then([&] {
          focusAfter = FocusId();
          selection = static_cast<DWORD>(dialog.SendDlgItemMessage(c.control, EM_GETSEL));
        })
        .Type(c.fixed)
        .Key(VK_RETURN);
    EXPECT_EQ(dialog.DoModal(), IDOK) << c.text;
    EXPECT_TRUE(script.Done()) << c.text;
    EXPECT_NE(box, dialog.m_hWnd) << c.text;
    EXPECT_FALSE(prompt.empty()) << c.text;
    EXPECT_EQ(focusAfter, c.control) << c.text;
    EXPECT_EQ(LOWORD(selection), 0) << c.text;
    EXPECT_EQ(HIWORD(selection), std::string(c.text).size()) << "the failing text is selected: " << c.text;
    if (c.control == kCount)
      EXPECT_EQ(dialog.m_count, std::atoi(c.fixed));
    else
      EXPECT_EQ(dialog.m_name, c.fixed);
  }
}

TEST_F(CDialogTest, RangeMessageNamesTheLimits) {
  CFormDlg dialog;
  std::string prompt;
  IdleScript script;
  script.Then([&] { dialog.SetDlgItemText(kCount, "0"); })
      .Key(VK_RETURN)
      .Then([&] { prompt = TextOf(::GetDlgItem(::GetActiveWindow(), pictavo::user::kMessageBoxTextId)); })
      .Key(VK_RETURN)
      .Key(VK_ESCAPE);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(prompt, "Please enter an integer between 1 and 10.");
}

TEST_F(CDialogTest, ModelessDialogLivesUntilDestroyed) {
  CFormDlg dialog;
  ASSERT_TRUE(dialog.Create(kFormDialog));
  EXPECT_EQ(dialog.m_inits, 1);
  EXPECT_EQ(dialog.GetDefID(), MAKELONG(IDOK, DC_HASDEFID));
  dialog.SetDlgItemText(kCount, "5");
  EXPECT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.m_count, 5);
  dialog.GotoDlgCtrl(dialog.GetDlgItem(kList));
  EXPECT_EQ(FocusId(), static_cast<int>(kList));
  dialog.NextDlgCtrl();
  EXPECT_EQ(FocusId(), static_cast<int>(kCombo));
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(CDialogTest, AMissingTemplateOrControlFailsCleanly) {
  CDialog missing(60999);
  EXPECT_EQ(missing.DoModal(), -1);
  CDialog broken(kBrokenDialog);
  EXPECT_EQ(broken.DoModal(), -1);
  EXPECT_EQ(broken.m_hWnd, nullptr);
}

}  // namespace

// Writing the members back leaves an edit that already shows the value alone, so the caret of an
// edit being typed in stays put; a changed value is written.
TEST_F(CDialogTest, WritingBackAnUnchangedValueKeepsTheCaret) {
  CFormDlg dialog;
  ASSERT_TRUE(dialog.Create(kFormDialog));
  const struct {
    const char* what;
    int count;
    const char* text;
    DWORD selection;  // start in the low word, end in the high word
  } cases[] = {
      {"unchanged number", 3, "3", MAKELONG(1, 1)},
      {"changed number", 7, "7", MAKELONG(0, 0)},
  };
  for (const auto& c : cases) {
    dialog.m_count = 3;
    dialog.UpdateData(FALSE);
    dialog.SendDlgItemMessage(kCount, EM_SETSEL, 1, 1);
    dialog.m_count = c.count;
    dialog.UpdateData(FALSE);
    EXPECT_EQ(TextOf(::GetDlgItem(dialog.m_hWnd, kCount)), c.text) << c.what;
    EXPECT_EQ(static_cast<DWORD>(dialog.SendDlgItemMessage(kCount, EM_GETSEL)), c.selection) << c.what;
  }
  dialog.SendDlgItemMessage(kName, EM_SETSEL, 2, 2);
  dialog.UpdateData(FALSE);
  EXPECT_EQ(static_cast<DWORD>(dialog.SendDlgItemMessage(kName, EM_GETSEL)),
            static_cast<DWORD>(MAKELONG(2, 2)))
      << "unchanged text";
  dialog.DestroyWindow();
}
