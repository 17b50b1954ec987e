#include "toolkit/bars/PlxCommandManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/WinApp.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;

namespace {

std::vector<UINT> Items(const CList<UINT, UINT>& list) {
  std::vector<UINT> out;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) out.push_back(list.GetNext(pos));
  return out;
}

}  // namespace

TEST(PlxCommandManager, ImageBindingsAndCommandsWithoutImages) {
  CPlxCommandManager manager;
  struct Step {
    UINT cmd;
    int image;
    BOOL user;
  };
  // The first binding of a command stays; 0 and -1 are never stored.
  for (Step s : {Step{100, 3, FALSE}, Step{100, 7, TRUE}, Step{101, 5, TRUE}, Step{101, 9, FALSE},
                 Step{101, 6, TRUE}, Step{0, 1, FALSE}, Step{static_cast<UINT>(-1), 1, TRUE}})
    manager.SetCmdImage(s.cmd, s.image, s.user);
  struct Expect {
    UINT cmd;
    int standard, user;
  };
  for (Expect e : {Expect{100, 3, -1}, Expect{101, -1, 6}, Expect{0, -1, -1},
                   Expect{static_cast<UINT>(-1), -1, -1}, Expect{555, -1, -1}}) {
    EXPECT_EQ(manager.GetCmdImage(e.cmd, FALSE), e.standard) << e.cmd;
    EXPECT_EQ(manager.GetCmdImage(e.cmd, TRUE), e.user) << e.cmd;
  }
  manager.ClearUserCmdImage(101);
  EXPECT_EQ(manager.GetCmdImage(101, TRUE), -1);
  manager.SetCmdImage(101, 9, FALSE);
  EXPECT_EQ(manager.GetCmdImage(101, FALSE), 9);

  manager.EnableMenuItemImage(200, FALSE);
  manager.EnableMenuItemImage(200, FALSE);
  manager.EnableMenuItemImage(300, FALSE);
  EXPECT_EQ(Items(manager.m_lstCommandsWithoutImages), (std::vector<UINT>{200, 300}));
  manager.EnableMenuItemImage(200, TRUE);
  EXPECT_EQ(Items(manager.m_lstCommandsWithoutImages), (std::vector<UINT>{300}));

  manager.CleanUp();
  EXPECT_EQ(manager.GetCmdImage(100, FALSE), -1);
  EXPECT_TRUE(manager.m_lstCommandsWithoutImages.IsEmpty());
}

class PlxCommandManagerState : public RegistryFixture {};

TEST_F(PlxCommandManagerState, TheListRoundTripsThroughTheRegistry) {
  const std::string key = "Custom\\PlxCommandManager";
  CPlxCommandManager saved;
  for (UINT cmd : {32771u, 5u, 0x12345678u}) saved.EnableMenuItemImage(cmd, FALSE);
  ASSERT_TRUE(saved.SaveState("Custom\\"));
  DWORD type = 0;
  Bytes bytes;
  ASSERT_TRUE(QueryRaw(key + "", "CommandsWithoutImages", type, bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(bytes, (Bytes{3, 0, 0x03, 0x80, 0, 0, 5, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}));

  CPlxCommandManager loaded;
  loaded.EnableMenuItemImage(9, FALSE);
  ASSERT_TRUE(loaded.LoadState("Custom\\"));
  EXPECT_EQ(Items(loaded.m_lstCommandsWithoutImages), (std::vector<UINT>{32771, 5, 0x12345678}));

  // A damaged value and a missing key leave the list as it was.
  SetRaw(key, "CommandsWithoutImages", REG_BINARY, Bytes{3, 0, 1, 0, 0, 0, 2});
  EXPECT_FALSE(loaded.LoadState("Custom\\"));
  EXPECT_FALSE(loaded.LoadState("Nowhere\\"));
  EXPECT_EQ(Items(loaded.m_lstCommandsWithoutImages), (std::vector<UINT>{32771, 5, 0x12345678}));
}

TEST_F(PlxCommandManagerState, WithoutAProfileTheKeyIsUnderTheApplication) {
  CWinApp app("Pictavo");
  app.m_pszProfileName = strdup("Pictavo");
  CPlxCommandManager manager;
  manager.EnableMenuItemImage(7, FALSE);
  ASSERT_TRUE(manager.SaveState(nullptr));
  EXPECT_TRUE(KeyExists("SOFTWARE\\Pictavo\\PlxToolBars\\PlxCommandManager"));
  EXPECT_EQ(GetCommandManager(), GetCommandManager());
}
