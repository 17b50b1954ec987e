// The mouse and user-tools managers: their assignments and tools survive a save and load, and
// stored values that are broken, foreign or out of range never replace or add what they should not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "tests/shell/ShellTestSupport.h"
#include "toolkit/core/PlxMouseManager.h"
#include "toolkit/core/PlxRegistry.h"
#include "toolkit/core/PlxUserTools.h"

using namespace shelltest;

namespace {

const std::string kProfile = "SOFTWARE\\Plx\\Test\\";

Bytes Le32(std::initializer_list<DWORD> values) {
  Bytes bytes;
  for (DWORD v : values)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(v >> (8 * i)));
  return bytes;
}

// A persistent class that is not a tool, as a foreign record would name.
class CNotATool : public CObject {
  DECLARE_SERIAL(CNotATool)

 public:
  static int s_made;
  CNotATool() { ++s_made; }
  void Serialize(CArchive&) override {}
};
int CNotATool::s_made = 0;
IMPLEMENT_SERIAL(CNotATool, CObject, 1)

class ManagersStateTest : public RegistryFixture {};

}  // namespace

TEST_F(ManagersStateTest, MouseAssignmentsRoundTripAndReplaceWhatWasThere) {
  CPlxMouseManager manager;
  EXPECT_EQ(g_pMouseManager, &manager);
  manager.SetCommandForDblClick(1, 100);
  manager.SetCommandForDblClick(2, 200);
  manager.SetCommandForDblClick(3, 300);
  ASSERT_TRUE(manager.SaveState(kProfile.c_str()));
  DWORD type = 0;
  Bytes stored;
  ASSERT_TRUE(QueryRaw(kProfile, "Mouse", type, stored));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(stored.size(), 4u + 3 * 8);

  manager.SetCommandForDblClick(1, 0);
  manager.SetCommandForDblClick(9, 900);
  ASSERT_TRUE(manager.LoadState(kProfile.c_str()));
  EXPECT_EQ(manager.GetViewDblClickCommand(1), 100u);
  EXPECT_EQ(manager.GetViewDblClickCommand(2), 200u);
  EXPECT_EQ(manager.GetViewDblClickCommand(3), 300u);
  EXPECT_EQ(manager.GetViewDblClickCommand(9), 0u) << "loading replaces every assignment";
}

TEST_F(ManagersStateTest, BrokenOrMissingMouseValueKeepsTheAssignments) {
  CPlxMouseManager manager;
  manager.SetCommandForDblClick(5, 55);
  EXPECT_FALSE(manager.LoadState(kProfile.c_str())) << "no key";
  const Bytes broken[] = {
      {},                        // empty
      {1, 0},                    // short count
      Le32({2, 7, 70}),          // two announced, one there
      Le32({0x7FFFFFFF, 1, 2}),  // a huge count
  };
  for (const Bytes& bytes : broken) {
    SetRaw(kProfile, "Mouse", REG_BINARY, bytes);
    EXPECT_FALSE(manager.LoadState(kProfile.c_str())) << bytes.size();
    EXPECT_EQ(manager.GetViewDblClickCommand(5), 55u);
    EXPECT_EQ(manager.GetViewDblClickCommand(7), 0u);
  }
}

TEST_F(ManagersStateTest, MouseViewsByNameAndClearingAnAbsentAssignment) {
  CPlxMouseManager manager;
  EXPECT_TRUE(manager.AddView(4, "Album", 300));
  EXPECT_FALSE(manager.AddView(5, "Album")) << "a name names one view";
  EXPECT_EQ(manager.GetViewIdByName("Album"), 4);
  EXPECT_EQ(manager.GetViewIdByName("album"), -1);
  EXPECT_EQ(manager.GetViewIconId(4), 300u);
  EXPECT_EQ(manager.GetViewIconId(5), 0u);
  CStringList names;
  names.AddTail("stale");
  manager.GetViewNames(names);
  ASSERT_EQ(names.GetCount(), 1);
  EXPECT_EQ(names.GetHead(), CString("Album"));
  manager.SetCommandForDblClick(4, 0);
  EXPECT_EQ(manager.GetViewDblClickCommand(4), 0u);
}

TEST_F(ManagersStateTest, ToolIdsFillTheRangeFromTheBottom) {
  CPlxUserToolsManager manager(900, 1000, 1002);
  EXPECT_EQ(g_pUserToolsManager, &manager);
  CPlxUserTool* a = manager.CreateNewTool();
  CPlxUserTool* b = manager.CreateNewTool();
  CPlxUserTool* c = manager.CreateNewTool();
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(manager.CreateNewTool(), nullptr) << "all three ids in use";
  EXPECT_TRUE(manager.RemoveTool(b));
  CPlxUserTool* again = manager.CreateNewTool();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetCommandId(), 1001u) << "the free id between the first and the third";
  EXPECT_EQ(manager.FindTool(1001), again);
  EXPECT_EQ(manager.FindTool(1003), nullptr);
  EXPECT_EQ(manager.FindTool(900), nullptr);

  EXPECT_FALSE(manager.MoveToolUp(a)) << "already first";
  EXPECT_TRUE(manager.MoveToolUp(again));
  EXPECT_FALSE(manager.MoveToolDown(c)) << "now last";
  std::vector<UINT> order;
  for (POSITION pos = manager.GetUserTools().GetHeadPosition(); pos;)
    order.push_back(static_cast<CPlxUserTool*>(manager.GetUserTools().GetNext(pos))->GetCommandId());
  EXPECT_EQ(order, (std::vector<UINT>{1000, 1001, 1002}));
  EXPECT_FALSE(manager.RemoveTool(nullptr));
}

TEST_F(ManagersStateTest, ToolsRoundTripWithLabelsCommandsFoldersAndOrder) {
  {
    CPlxUserToolsManager manager(900, 1000, 1009);
    CPlxUserTool* first = manager.CreateNewTool();
    first->m_strLabel = "&Edit";
    first->SetCommand("/usr/bin/env");
    first->m_strArguments = "--x";
    first->m_strInitialDirectory = "/tmp";
    CPlxUserTool* second = manager.CreateNewTool();
    second->m_strLabel = "List";
    second->SetCommand("ls");
    ASSERT_TRUE(manager.MoveToolUp(second));
    ASSERT_TRUE(manager.SaveState(kProfile.c_str()));
  }
  CPlxUserToolsManager manager(900, 1000, 1009);
  ASSERT_TRUE(manager.LoadState(kProfile.c_str()));
  ASSERT_EQ(manager.GetUserTools().GetCount(), 2);
  auto* head = static_cast<CPlxUserTool*>(manager.GetUserTools().GetHead());
  auto* tail = static_cast<CPlxUserTool*>(manager.GetUserTools().GetTail());
  EXPECT_EQ(head->m_strLabel, CString("List"));
  EXPECT_EQ(head->GetCommandId(), 1001u);
  EXPECT_EQ(tail->m_strLabel, CString("&Edit"));
  EXPECT_EQ(tail->GetCommand(), CString("/usr/bin/env"));
  EXPECT_EQ(tail->m_strArguments, CString("--x"));
  EXPECT_EQ(tail->m_strInitialDirectory, CString("/tmp"));
  EXPECT_EQ(tail->GetCommandId(), 1000u);
  // The same command keeps the icon it has.
  const HICON icon = tail->GetIcon();
  tail->SetCommand("/usr/bin/env");
  EXPECT_EQ(tail->GetIcon(), icon);
}

TEST_F(ManagersStateTest, StoredToolsOutOfRangeTwiceOrForeignAreRefused) {
  // Tools stored by a manager with a wider range: 1000, 1005 (outside 1000..1002), then 1000 again.
  {
    CPlxUserToolsManager wide(900, 995, 1010);
    CObList& list = const_cast<CObList&>(wide.GetUserTools());
    for (UINT id : {1000u, 1005u, 1000u, 1002u}) {
      auto* tool = new CPlxUserTool;
      // Ids come only from the manager; a stored list can hold anything, so it is written here.
      CMemFile file;
      {
        CArchive ar(&file, CArchive::store);
        ar << CString() << CString() << CString() << CString() << id;
      }
      file.SeekToBegin();
      CArchive ar(&file, CArchive::load);
      tool->Serialize(ar);
      tool->m_strLabel.Format("tool %u", id);
      list.AddTail(tool);
    }
    ASSERT_TRUE(wide.SaveState(kProfile.c_str()));
  }
  CPlxUserToolsManager manager(900, 1000, 1002);
  ASSERT_TRUE(manager.LoadState(kProfile.c_str()));
  std::vector<CString> labels;
  for (POSITION pos = manager.GetUserTools().GetHeadPosition(); pos;)
    labels.push_back(static_cast<CPlxUserTool*>(manager.GetUserTools().GetNext(pos))->m_strLabel);
  EXPECT_EQ(labels, (std::vector<CString>{"tool 1000", "tool 1002"}));

  // A list naming another class: nothing of it is made and the list is empty.
  {
    CPlxRegistryHolder holder;
    CPlxRegistry& registry = holder.Create(FALSE, FALSE);
    ASSERT_TRUE(registry.CreateKey(kProfile.c_str()));
    CObList foreign;
    foreign.AddTail(new CNotATool);
    ASSERT_TRUE(registry.WriteObList("Tools", foreign));
    delete foreign.RemoveHead();
  }
  CNotATool::s_made = 0;
  EXPECT_FALSE(manager.LoadState(kProfile.c_str()));
  EXPECT_EQ(CNotATool::s_made, 0);
  EXPECT_TRUE(manager.GetUserTools().IsEmpty());
}
