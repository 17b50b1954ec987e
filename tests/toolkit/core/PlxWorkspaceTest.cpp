#include "toolkit/core/PlxWorkspace.h"

#include <gtest/gtest.h>

#include "platform/display/Display.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/user/Accel.h"
#include "tests/shell/ShellTestSupport.h"
#include "toolkit/bars/PlxCommandManager.h"
#include "toolkit/bars/PlxContextMenuManager.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxKeyboardManager.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxUserTools.h"

using namespace shelltest;

namespace {

// Records the data version its hooks see during a load.
class CTestWorkspace : public CPlxWorkspace {
 public:
  CTestWorkspace() { m_pszProfileName = strdup("App"); }
  void OnAfterLoad() override { versionDuringLoad = GetDataVersion(); }
  int versionDuringLoad = 0;
};

const std::string kBase = "SOFTWARE\\App\\PlxWorkspace";

class PlxWorkspaceTest : public RegistryFixture {
 protected:
  void TearDown() override { GetCommandManager()->CleanUp(); }
  CTestWorkspace workspace;
};

}  // namespace

TEST_F(PlxWorkspaceTest, DataVersionCodes) {
  struct Case {
    int major, minor, code;
  };
  for (Case c :
       {Case{7, 10, 0x70100}, Case{6, 4, 0x60400}, Case{6, 21, 0x60210}, Case{-1, 4, -1}, Case{6, -1, -1}}) {
    workspace.m_iSavedVersionMajor = c.major;
    workspace.m_iSavedVersionMinor = c.minor;
    EXPECT_EQ(workspace.GetDataVersion(), c.code) << c.major << "." << c.minor;
  }
  EXPECT_EQ(CPlxWorkspace::GetWorkspace(), &workspace);
  EXPECT_EQ(workspace.GetRegSectionPath("WindowPlacement"), kBase + "\\WindowPlacement\\");
}

TEST_F(PlxWorkspaceTest, VersionAndCommandListRoundTrip) {
  EXPECT_TRUE(workspace.LoadState());
  EXPECT_EQ(workspace.versionDuringLoad, -1);  // nothing stored yet
  EXPECT_EQ(workspace.GetDataVersion(), 0x70100);

  SetDword(kBase + "\\PlxControlBarVersion", "Major", 6);
  SetDword(kBase + "\\PlxControlBarVersion", "Minor", 21);
  EXPECT_TRUE(workspace.LoadState());
  EXPECT_EQ(workspace.versionDuringLoad, 0x60210);

  GetCommandManager()->EnableMenuItemImage(42, FALSE);
  ASSERT_TRUE(workspace.SaveState());
  DWORD type = 0;
  Bytes major;
  ASSERT_TRUE(QueryRaw(kBase + "\\PlxControlBarVersion", "Major", type, major));
  EXPECT_EQ(major, (Bytes{7, 0, 0, 0}));
  EXPECT_TRUE(KeyExists(kBase + "\\PlxCommandManager"));
  GetCommandManager()->CleanUp();
  EXPECT_TRUE(workspace.LoadState());
  EXPECT_EQ(workspace.versionDuringLoad, 0x70100);
  EXPECT_TRUE(GetCommandManager()->IsMenuItemWithoutImage(42));

  workspace.EnableSaving(FALSE);
  EXPECT_FALSE(workspace.SaveState());
}

TEST_F(PlxWorkspaceTest, WindowPlacementChangesTheOutputsOnlyWhenComplete) {
  CRect rect(1, 2, 3, 4);
  int flags = 5, show = 6;
  EXPECT_FALSE(workspace.LoadWindowPlacement(rect, flags, show));

  ASSERT_TRUE(workspace.StoreWindowPlacement(CRect(10, -20, 300, 400), 2, 3));
  DWORD type = 0;
  Bytes stored;
  ASSERT_TRUE(QueryRaw(kBase + "\\WindowPlacement", "MainWindowRect", type, stored));
  EXPECT_EQ(stored.size(), 16u);
  ASSERT_TRUE(workspace.LoadWindowPlacement(rect, flags, show));
  EXPECT_EQ(rect, CRect(10, -20, 300, 400));
  EXPECT_EQ(flags, 2);
  EXPECT_EQ(show, 3);

  // A missing or damaged value leaves all three as they were.
  for (auto damage :
       {+[] { SetRaw(kBase + "\\WindowPlacement", "ShowCmd", REG_SZ, B("x")); },
        +[] { SetRaw(kBase + "\\WindowPlacement", "MainWindowRect", REG_BINARY, Bytes(8, 1)); }}) {
    damage();
    CRect kept(1, 2, 3, 4);
    int keptFlags = 5, keptShow = 6;
    EXPECT_FALSE(workspace.LoadWindowPlacement(kept, keptFlags, keptShow));
    EXPECT_EQ(kept, CRect(1, 2, 3, 4));
    EXPECT_EQ(keptFlags, 5);
    EXPECT_EQ(keptShow, 6);
  }
}

TEST_F(PlxWorkspaceTest, CleanStateDeletesOnlyTheSection) {
  SetDword(kBase + "\\WindowPlacement", "Flags", 1);
  SetDword("SOFTWARE\\App\\Other", "Kept", 1);
  EXPECT_TRUE(workspace.CleanState());
  EXPECT_FALSE(KeyExists(kBase));
  EXPECT_TRUE(KeyExists("SOFTWARE\\App\\Other"));
  // An empty section would name the application's whole key.
  EXPECT_FALSE(workspace.CleanState(""));
  EXPECT_TRUE(KeyExists("SOFTWARE\\App\\Other"));
}

// Outside the frames, the workspace keeps the toolbar parameters and what each manager that
// exists holds: a double-click command, a user tool, the main frame's shortcuts.
TEST_F(PlxWorkspaceTest, TheManagersThatExistComeBackThroughTheWorkspace) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  CFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Workspace frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'S', 57603}};
  frame.m_hAccelTable = CreateAcceleratorTable(keys, 1);
  workspace.m_pMainWnd = &frame;
  CPlxMouseManager mouse;
  CPlxKeyboardManager keyboard;
  CPlxUserToolsManager tools(0x7E00, 0x7E01, 0x7E08);
  mouse.AddView(1, "Log");
  mouse.SetCommandForDblClick(1, 57603);
  tools.CreateNewTool()->m_strLabel = "List";
  ACCEL edited[] = {{FVIRTKEY | FCONTROL, 'S', 57603}, {FVIRTKEY | FCONTROL, 'E', 57603}};
  ASSERT_TRUE(keyboard.UpdateAcceleratorTable(edited, 2, &frame));
  CPlxToolBar::SetLargeIcons(TRUE);
  ASSERT_TRUE(workspace.SaveState());
  for (const char* key : {"PlxToolbarParameters", "PlxKeyboard-0"})
    EXPECT_TRUE(KeyExists(kBase + "\\" + key)) << key;
  for (const char* value : {"Mouse", "Tools"}) {
    DWORD type = 0;
    Bytes bytes;
    EXPECT_TRUE(QueryRaw(kBase + "\\", value, type, bytes)) << value;
  }

  mouse.SetCommandForDblClick(1, 0);
  tools.RemoveTool(static_cast<CPlxUserTool*>(tools.GetUserTools().GetHead()));
  ASSERT_TRUE(keyboard.UpdateAcceleratorTable(keys, 1, &frame));
  CPlxToolBar::SetLargeIcons(FALSE);
  EXPECT_TRUE(workspace.LoadState());
  EXPECT_EQ(mouse.GetViewDblClickCommand(1), 57603u);
  ASSERT_EQ(tools.GetUserTools().GetCount(), 1);
  EXPECT_EQ(static_cast<CPlxUserTool*>(tools.GetUserTools().GetHead())->m_strLabel, "List");
  EXPECT_EQ(CopyAcceleratorTable(frame.m_hAccelTable, nullptr, 0), 2);
  EXPECT_TRUE(CPlxToolBar::IsLargeIcons());
  CPlxToolBar::SetLargeIcons(FALSE);
  workspace.m_pMainWnd = nullptr;
  frame.DestroyWindow();
}

// The shell access is made once, at the workspace's asking, and goes with the workspace.
TEST(PlxWorkspaceShell, ShellAccessIsMadeOnceAndDeletedWithTheWorkspace) {
  {
    CTestWorkspace owner;
    EXPECT_TRUE(owner.InitShellAccess());
    ASSERT_NE(g_pShellAccess, nullptr);
    EXPECT_NE(g_pShellAccess->m_pMalloc, nullptr);
    EXPECT_FALSE(owner.InitShellAccess()) << "one exists";
    EXPECT_NE(PlxShellCommandMessage(), 0u);
  }
  EXPECT_EQ(g_pShellAccess, nullptr);
  {
    CPlxShellAccess own;  // made by someone else: the workspace neither makes another nor deletes it
    CTestWorkspace other;
    EXPECT_FALSE(other.InitShellAccess());
  }
  EXPECT_EQ(g_pShellAccess, nullptr);
}

// The context-menu manager likewise: made once at the workspace's asking, deleted with it.
TEST(PlxWorkspaceContextMenus, TheManagerIsMadeOnceAndDeletedWithTheWorkspace) {
  {
    CTestWorkspace owner;
    EXPECT_TRUE(owner.InitContextMenuManager());
    ASSERT_NE(g_pContextMenuManager, nullptr);
    EXPECT_TRUE(owner.HasContextMenuManager());
    EXPECT_FALSE(owner.InitContextMenuManager()) << "one exists";
  }
  EXPECT_EQ(g_pContextMenuManager, nullptr);
  {
    CPlxContextMenuManager own;
    CTestWorkspace other;
    EXPECT_FALSE(other.InitContextMenuManager());
    EXPECT_FALSE(other.HasContextMenuManager());
  }
  EXPECT_EQ(g_pContextMenuManager, nullptr);
}
