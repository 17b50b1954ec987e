// Property sheets: switching pages (a page may refuse to be left), OK / Cancel / Apply, and the
// pages' data exchange.
#include <string>

#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

class CPageOne : public CPropertyPage {
 public:
  CPageOne() : CPropertyPage(kPageOneDialog) {}
  CString m_text = "one";
  BOOL m_veto = FALSE;
  BOOL m_refuseCancel = FALSE;
  int m_sets = 0, m_kills = 0, m_applies = 0, m_resets = 0;

  BOOL OnSetActive() override {
    ++m_sets;
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    ++m_kills;
    return m_veto ? FALSE : CPropertyPage::OnKillActive();
  }
  BOOL OnApply() override {
    ++m_applies;
    return CPropertyPage::OnApply();
  }
  void OnReset() override { ++m_resets; }
  BOOL OnQueryCancel() override { return !m_refuseCancel; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kPageOneEdit, m_text); }
};

class CPageTwo : public CPropertyPage {
 public:
  CPageTwo() : CPropertyPage(kPageTwoDialog) {}
  int m_option = 0;
  int m_applies = 0;
  BOOL OnApply() override {
    ++m_applies;
    return CPropertyPage::OnApply();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, kPageTwoCheck, m_option); }
};

class PropertySheetTest : public MfcTest {
 protected:
  void SetUp() override {
    m_sheet.AddPage(&m_one);
    m_sheet.AddPage(&m_two);
  }
  CPropertySheet m_sheet{"Settings"};
  CPageOne m_one;
  CPageTwo m_two;
};

TEST_F(PropertySheetTest, KeysSwitchPagesAndOkAppliesThemAll) {
  int startFocus = 0, secondFocus = 0;
  bool secondMadeLate = false, firstHidden = false;
  CString textAfterSwitch;
  IdleScript script;
  script
      .Then([&] {
        startFocus = FocusId();
        secondMadeLate = m_two.m_hWnd == nullptr;
      })
      .Type("changed")
      .Key(VK_TAB, MOD_CONTROL)
      .Then([&] {
        secondFocus = FocusId();
        firstHidden = !m_one.IsWindowVisible();
        textAfterSwitch = m_one.m_text;
      })
      .Key(VK_SPACE)
      .Key(VK_RETURN);
  EXPECT_EQ(m_sheet.DoModal(), IDOK);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(startFocus, static_cast<int>(kPageOneEdit));
  EXPECT_TRUE(secondMadeLate) << "a page is made when first shown";
  EXPECT_EQ(secondFocus, static_cast<int>(kPageTwoCheck));
  EXPECT_TRUE(firstHidden);
  EXPECT_EQ(textAfterSwitch, "changed") << "leaving a page saves its controls";
  EXPECT_EQ(m_two.m_option, 1);
  EXPECT_EQ(m_one.m_applies, 1);
  EXPECT_EQ(m_two.m_applies, 1);
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftStaysActive) {
  ASSERT_TRUE(m_sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_VISIBLE));
  EXPECT_EQ(m_sheet.GetActiveIndex(), 0);
  EXPECT_EQ(m_sheet.GetPageCount(), 2);
  m_one.m_veto = TRUE;
  EXPECT_FALSE(m_sheet.SetActivePage(1));
  EXPECT_EQ(m_sheet.GetActivePage(), &m_one);
  EXPECT_TRUE(m_one.IsWindowVisible());
  EXPECT_EQ(m_two.m_hWnd, nullptr);
  m_one.m_veto = FALSE;
  EXPECT_TRUE(m_sheet.SetActivePage(&m_two));
  EXPECT_EQ(m_sheet.GetActiveIndex(), 1);
  EXPECT_EQ(m_one.m_kills, 2);
  EXPECT_EQ(m_sheet.SendMessage(PSM_GETCURRENTPAGEHWND), reinterpret_cast<LRESULT>(m_two.m_hWnd));
  // Back again: the page's members go into its controls once more.
  m_one.m_text = "reloaded";
  EXPECT_TRUE(m_sheet.SetActivePage(0));
  EXPECT_EQ(TextOf(::GetDlgItem(m_one.m_hWnd, kPageOneEdit)), "reloaded");
  EXPECT_EQ(m_one.m_sets, 2);
  EXPECT_EQ(::GetDlgItem(m_sheet.m_hWnd, IDOK), nullptr) << "a modeless sheet has no buttons";
}

TEST_F(PropertySheetTest, CancelAsksThePageThenResetsTheMadePages) {
  m_one.m_refuseCancel = TRUE;
  IdleScript script;
  script.Key(VK_ESCAPE).Then([&] { m_one.m_refuseCancel = FALSE; }).Key(VK_ESCAPE);
  EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(m_one.m_resets, 1);
  EXPECT_EQ(m_one.m_applies, 0);
}

TEST_F(PropertySheetTest, ApplyFollowsTheModifiedPages) {
  bool before = true, modified = false, afterApply = true;
  IdleScript script;
  script
      .Then([&] {
        before = ::IsWindowEnabled(::GetDlgItem(m_sheet.m_hWnd, ID_APPLY_NOW));
        m_one.SetModified();
        modified = ::IsWindowEnabled(::GetDlgItem(m_sheet.m_hWnd, ID_APPLY_NOW));
        m_sheet.PressButton(PSBTN_APPLYNOW);
      })
      .Then([&] { afterApply = ::IsWindowEnabled(::GetDlgItem(m_sheet.m_hWnd, ID_APPLY_NOW)); })
      .Key(VK_ESCAPE);
  EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
  EXPECT_FALSE(before);
  EXPECT_TRUE(modified);
  EXPECT_FALSE(afterApply);
  EXPECT_EQ(m_one.m_applies, 1);
}

}  // namespace
