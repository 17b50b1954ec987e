// Command routing from a dialog to the application object, and the update pass of menus and
// controls deciding what a command does.
#include <string>
#include <vector>

#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

constexpr UINT kAppCommand = 0x8201, kDialogCommand = 0x8202, kNoHandler = 0x8203, kControlId = 0x8204;

class CRoutingApp : public CWinApp {
 public:
  std::vector<std::string> log;
  BOOL m_enabled = TRUE;
  int m_checked = 1;

 protected:
  afx_msg void OnAppCommand() { log.push_back("app"); }
  afx_msg void OnUpdateAppCommand(CCmdUI* ui) {
    ui->Enable(m_enabled);
    ui->SetCheck(m_checked);
  }
  afx_msg void OnControl() { log.push_back("app control"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRoutingApp, CWinApp)
ON_COMMAND(kAppCommand, OnAppCommand)
ON_UPDATE_COMMAND_UI(kAppCommand, OnUpdateAppCommand)
ON_EN_CHANGE(kControlId, OnControl)
END_MESSAGE_MAP()

class CRoutingDlg : public CDialog {
 public:
  CRoutingDlg() : CDialog(kFormDialog) {}
  std::vector<std::string> log;

 protected:
  afx_msg void OnDialogCommand() { log.push_back("dialog"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRoutingDlg, CDialog)
ON_COMMAND(kDialogCommand, OnDialogCommand)
END_MESSAGE_MAP()

// The update pass over a popup's items, as a window does when the popup opens.
void UpdateMenu(CMenu& menu, CCmdTarget& target) {
  CCmdUI state;
  state.m_pMenu = &menu;
  state.m_nIndexMax = menu.GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = menu.GetMenuItemID(static_cast<int>(state.m_nIndex));
    state.DoUpdate(&target, TRUE);
  }
}

class RoutingTest : public MfcTest {
 protected:
  CRoutingApp m_app;
};

TEST_F(RoutingTest, CommandsTheDialogLeavesGoToTheApplication) {
  CRoutingDlg dialog;
  ASSERT_TRUE(dialog.Create(kFormDialog));
  dialog.SendMessage(WM_COMMAND, kDialogCommand);
  dialog.SendMessage(WM_COMMAND, kAppCommand);
  EXPECT_EQ(dialog.SendMessage(WM_COMMAND, kNoHandler), 0) << "nobody handles it";
  // A control's notification (other than a click, which is a command) stays with the dialog.
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kControlId, EN_CHANGE), reinterpret_cast<LPARAM>(dialog.m_hWnd));
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"dialog"}));
  EXPECT_EQ(m_app.log, (std::vector<std::string>{"app"}));
}

TEST_F(RoutingTest, MenuItemsFollowTheUpdateHandlersAndDisabledOnesDoNothing) {
  CRoutingDlg dialog;
  ASSERT_TRUE(dialog.Create(kFormDialog));
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, kAppCommand, "&Application");
  menu.AppendMenu(MF_STRING, kDialogCommand, "&Dialog");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, kNoHandler, "&Nobody");
  const struct {
    BOOL enabled;
    int checked;
    UINT appState;  // MF_ flags of the application's item
    bool runs;
  } cases[] = {{TRUE, 1, MF_CHECKED, true}, {TRUE, 0, 0, true}, {FALSE, 1, MF_CHECKED | MF_GRAYED, false}};
  for (const auto& c : cases) {
    m_app.m_enabled = c.enabled;
    m_app.m_checked = c.checked;
    m_app.log.clear();
    UpdateMenu(menu, dialog);
    EXPECT_EQ(menu.GetMenuState(kAppCommand, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), c.appState);
    EXPECT_EQ(menu.GetMenuState(kDialogCommand, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuState(kNoHandler, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED))
        << "a command without a handler is disabled";
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, 0), 0);  // the item chosen
    EXPECT_EQ(m_app.log.size(), c.runs ? 1u : 0u) << c.enabled;
  }
}

TEST_F(RoutingTest, ControlsOfAWindowFollowTheUpdateHandlers) {
  CRoutingDlg dialog;
  ASSERT_TRUE(dialog.Create(kFormDialog));
  CButton check;
  ASSERT_TRUE(check.Create("Check", WS_VISIBLE | BS_CHECKBOX, CRect(0, 0, 60, 12), &dialog, kAppCommand));
  CButton orphan;
  ASSERT_TRUE(orphan.Create("Orphan", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 20, 60, 32), &dialog, kNoHandler));
  m_app.m_checked = 1;
  dialog.UpdateDialogControls(&dialog, TRUE);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  EXPECT_TRUE(check.IsWindowEnabled());
  EXPECT_FALSE(orphan.IsWindowEnabled());
  m_app.m_enabled = FALSE;
  m_app.m_checked = 0;
  dialog.UpdateDialogControls(&dialog, TRUE);
  EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
  EXPECT_FALSE(check.IsWindowEnabled());
}

}  // namespace
