// The editable list: new, rename, move and delete by keys, buttons and clicks, what a derived
// class hears, the layout of its caption and buttons, a disabled control, and its looks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/toolkit/customize/CustomizeHost.h"
#include "toolkit/core/PlxButton.h"
#include "toolkit/core/PlxGlobalData.h"
#include "toolkit/customize/PlxEditableList.h"

namespace {

using customize_test::CHostWnd;
using customize_test::Pump;
using customize_test::Tap;
using customize_test::TypeText;

// A list that writes down what it hears and can refuse deletions.
class CRecordingList : public CPlxEditableListView {
 public:
  std::vector<std::string> heard;
  BOOL refuseDelete = FALSE;

  BOOL MayDeleteEntry(int iIndex) override {
    heard.push_back("may delete " + std::to_string(iIndex));
    return !refuseDelete;
  }
  void EntryAdded(int i) override { heard.push_back("added " + std::to_string(i)); }
  void EntryRenamed(int i) override { heard.push_back("renamed " + std::to_string(i)); }
  void EntryMovedUp(int i) override { heard.push_back("up " + std::to_string(i)); }
  void EntryMovedDown(int i) override { heard.push_back("down " + std::to_string(i)); }
  void BrowseClicked() override { heard.push_back("browse"); }
};

using Names = std::vector<std::string>;

class PlxEditableList : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { customize_test::StartDisplay(); }
  void SetUp() override {
    ASSERT_TRUE(m_host.Make(CRect(40, 40, 300, 240)));
    m_list = std::make_unique<CRecordingList>();
    ASSERT_TRUE(
        m_list->Create("Menu contents", WS_CHILD | WS_VISIBLE, CRect(10, 10, 250, 190), &m_host, 2001));
    ASSERT_TRUE(m_list->CreateStandardButtons(CPlxEditableList::BUTTON_NEW | CPlxEditableList::BUTTON_DELETE |
                                              CPlxEditableList::BUTTON_UP | CPlxEditableList::BUTTON_DOWN));
    for (const char* name : {"Alpha", "Beta", "Gamma"}) m_list->InsertEntry(name);
    m_host.SetForegroundWindow();
    m_list->ChooseEntry(1);
    m_list->SetFocus();
    Pump();
  }
  void TearDown() override {
    m_list.reset();
    if (m_host.GetSafeHwnd() != nullptr) m_host.DestroyWindow();
    Pump();
  }
  Names Entries() const {
    Names names;
    for (int i = 0; i < m_list->EntryCount(); ++i) names.emplace_back(m_list->EntryText(i).GetString());
    return names;
  }
  CPoint ItemPoint(int item) const {
    CRect rect;
    m_list->ListCtrl()->GetItemRect(item, rect, LVIR_LABEL);
    CPoint point(rect.left + 8, rect.CenterPoint().y);
    m_list->ListCtrl()->ClientToScreen(&point);
    return point;
  }
  void ClickButton(int i) {
    CRect rect;
    m_list->Button(i)->GetWindowRect(rect);
    customize_test::Click(rect.CenterPoint());
    Pump();
  }

  CHostWnd m_host;
  std::unique_ptr<CRecordingList> m_list;
};

TEST_F(PlxEditableList, KeysCreateRenameMoveAndDeleteEntries) {
  struct Step {
    const char* name;
    std::function<void()> act;
    Names entries;
    int selected;
    std::vector<std::string> heard;
  };
  const Step steps[] = {
      {"Insert, a name, Enter: the new entry below the others gets the name",
       [] {
         Tap(VK_INSERT);
         TypeText("Delta");
         Tap(VK_RETURN);
       },
       {"Alpha", "Beta", "Gamma", "Delta"},
       3,
       {"added 3"}},
      {"F2 renames the selected entry",
       [] {
         Tap(VK_F2);
         TypeText("Omega");
         Tap(VK_RETURN);
       },
       {"Alpha", "Beta", "Gamma", "Omega"},
       3,
       {"renamed 3"}},
      {"Alt+Up moves it up", [] { Tap(VK_UP, {VK_MENU}); }, {"Alpha", "Beta", "Omega", "Gamma"}, 2, {"up 2"}},
      {"Alt+Down moves it back",
       [] { Tap(VK_DOWN, {VK_MENU}); },
       {"Alpha", "Beta", "Gamma", "Omega"},
       3,
       {"down 3"}},
      {"Alt+Down on the last entry does nothing",
       [] { Tap(VK_DOWN, {VK_MENU}); },
       {"Alpha", "Beta", "Gamma", "Omega"},
       3,
       {}},
      {"Delete asks, then deletes; the last entry is selected",
       [] { Tap(VK_DELETE); },
       {"Alpha", "Beta", "Gamma"},
       2,
       {"may delete 3"}},
      {"Escape on a new entry removes it and nothing else",
       [] {
         Tap(VK_INSERT);
         TypeText("Gone");
         Tap(VK_ESCAPE);
       },
       {"Alpha", "Beta", "Gamma"},
       -1,
       {}},
      {"an empty name on a new entry removes it",
       [] {
         Tap(VK_INSERT);
         Tap(VK_RETURN);
       },
       {"Alpha", "Beta", "Gamma"},
       -1,
       {}},
  };
  for (const Step& s : steps) {
    m_list->heard.clear();
    s.act();
    Pump();
    EXPECT_EQ(Entries(), s.entries) << s.name;
    if (s.selected >= 0) EXPECT_EQ(m_list->SelectedEntry(), s.selected) << s.name;
    EXPECT_EQ(m_list->heard, s.heard) << s.name;
    EXPECT_EQ(m_list->EditedEntry(), -1) << s.name << ": no edit left open";
    EXPECT_FALSE(m_list->IsNewEntry()) << s.name;
    for (int i = 0; i < m_list->ButtonCount(); ++i)
      EXPECT_TRUE(m_list->Button(i)->IsWindowEnabled()) << s.name << ": buttons back after the edit";
  }
}

TEST_F(PlxEditableList, RenamingToNothingOrEscapeKeepsTheOldName) {
  for (UINT last : {VK_ESCAPE, VK_RETURN}) {
    Tap(VK_SPACE);  // Space edits too
    ASSERT_EQ(m_list->EditedEntry(), 1);
    EXPECT_FALSE(m_list->Button(0)->IsWindowEnabled()) << "buttons wait while a name is edited";
    Tap(VK_END);
    for (int i = 0; i < 4; ++i) Tap(VK_BACK);
    Tap(last);
    EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(m_list->heard.empty());
  }
}

TEST_F(PlxEditableList, MovesStopAtTheEndsAndNeverAskToDelete) {
  m_list->refuseDelete = TRUE;
  m_list->ChooseEntry(0);
  Tap(VK_UP, {VK_MENU});
  m_list->ChooseEntry(2);
  Tap(VK_DOWN, {VK_MENU});
  EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Gamma"}));
  Tap(VK_UP, {VK_MENU});
  EXPECT_EQ(Entries(), (Names{"Alpha", "Gamma", "Beta"}));
  Tap(VK_DELETE);
  EXPECT_EQ(Entries(), (Names{"Alpha", "Gamma", "Beta"})) << "refused";
  EXPECT_EQ(m_list->heard, (std::vector<std::string>{"up 1", "may delete 1"}));
}

TEST_F(PlxEditableList, CaptionButtonsActOnTheSelectedEntry) {
  ASSERT_EQ(m_list->ButtonCount(), 4);
  ClickButton(2);  // move up
  EXPECT_EQ(Entries(), (Names{"Beta", "Alpha", "Gamma"}));
  ClickButton(3);  // move down
  EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Gamma"}));
  ClickButton(1);  // delete
  EXPECT_EQ(Entries(), (Names{"Alpha", "Gamma"}));
  ClickButton(0);  // new
  EXPECT_EQ(m_list->EditedEntry(), 2);
  TypeText("Zeta");
  Tap(VK_RETURN);
  EXPECT_EQ(Entries(), (Names{"Alpha", "Gamma", "Zeta"}));
}

TEST_F(PlxEditableList, ASecondClickOnTheSelectedLabelEditsButADragDoesNot) {
  customize_test::Click(ItemPoint(2));  // selects
  EXPECT_EQ(m_list->SelectedEntry(), 2);
  EXPECT_EQ(m_list->EditedEntry(), -1);
  // Pressed on the label (away from the first click, which would make a double click), released
  // far away: no edit.
  const CPoint from = ItemPoint(2) + CPoint(12, 0);
  pictavo::user::InjectMouseMove(from);
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, true);
  Pump();
  pictavo::user::InjectMouseMove(from + CPoint(40, 0));
  Pump();
  pictavo::user::InjectMouseButton(pictavo::user::MouseButton::kLeft, false);
  Pump();
  EXPECT_EQ(m_list->EditedEntry(), -1);
  customize_test::Click(ItemPoint(2));
  EXPECT_EQ(m_list->EditedEntry(), 2);
  TypeText("Third");
  Tap(VK_RETURN);
  EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Third"}));
}

TEST_F(PlxEditableList, CaptionAndButtonsAreLaidOutRightToLeft) {
  CRect client;
  m_list->GetClientRect(client);
  CRect first;
  m_list->Button(0)->GetWindowRect(first);
  m_list->ScreenToClient(first);
  const CRect caption = m_list->CaptionRect();
  EXPECT_EQ(first.right, client.right - 1);
  EXPECT_EQ(first.top, 1);
  EXPECT_EQ(first.Height(), caption.Height() - 2);
  for (int i = 1; i < 4; ++i) {
    CRect rect;
    m_list->Button(i)->GetWindowRect(rect);
    m_list->ScreenToClient(rect);
    EXPECT_EQ(rect.right, first.left - (i - 1) * first.Width()) << i;
    EXPECT_EQ(m_list->Button(i)->GetDlgCtrlID(), i + 2);
  }
  CRect list;
  m_list->ListCtrl()->GetWindowRect(list);
  m_list->ScreenToClient(list);
  EXPECT_EQ(list, CRect(0, caption.bottom, client.right, client.bottom));
}

TEST_F(PlxEditableList, ADisabledControlHasNoWorkingButtons) {
  m_list->EnableWindow(FALSE);
  Pump();
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(m_list->Button(i)->IsWindowEnabled()) << i;
  EXPECT_FALSE(m_list->ListCtrl()->IsWindowEnabled());
  ClickButton(1);
  EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Gamma"}));
  m_list->EnableWindow(TRUE);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(m_list->Button(i)->IsWindowEnabled()) << i;
}

TEST_F(PlxEditableList, LooksLikeACaptionWithButtonsOverTheList) {
  m_host.SetFocus();
  m_host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  CRect area;
  m_list->GetWindowRect(area);
  area.InflateRect(4, 4);
  EXPECT_EQ(customize_test::CompareWithReference(area, "editable-list.png"), 0);
}

TEST_F(PlxEditableList, AnEditorWithABrowseButtonReportsItsClick) {
  m_list->EnableBrowseButton();
  Tap(VK_F2);
  CPlxInplaceBrowseEdit& editor = m_list->Editor();
  ASSERT_NE(editor.GetSafeHwnd(), nullptr);
  CRect window;
  editor.GetWindowRect(window);
  EXPECT_EQ(editor.m_rectBrowse, CRect(window.right - 20, window.top, window.right, window.bottom));
  CRect client;
  editor.GetClientRect(client);
  editor.ClientToScreen(client);
  EXPECT_EQ(client.right, editor.m_rectBrowse.left - 1)
      << "the text stops short of the button, inside the border";
  customize_test::Click(editor.m_rectBrowse.CenterPoint());
  EXPECT_EQ(m_list->heard, (std::vector<std::string>{"browse"}));
  EXPECT_EQ(m_list->EditedEntry(), 1) << "the edit goes on";
  Tap(VK_ESCAPE);
  EXPECT_EQ(Entries(), (Names{"Alpha", "Beta", "Gamma"}));
}

}  // namespace
