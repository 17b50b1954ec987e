// The random transition dialog splits the transition list into the subset and the rest, moves rows
// between them the way the user asks, and stores the subset, ordered by the list, only where it
// should.
#include <algorithm>
#include <vector>

#include "editing/RandomTransitionDlg.h"
#include "shell/AppSettings.h"
#include "tests/editing/SlideDialogFixture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"

using namespace slidedialogtest;

namespace {

constexpr int kSubset = IDC_RANDOM_SUBSET_LIST, kRest = IDC_RANDOM_UNSELECTED_LIST;

// The transition-list indexes of a list's rows, top to bottom.
std::vector<int> Rows(HWND dialog, int list) {
  HWND box = GetDlgItem(dialog, list);
  std::vector<int> rows;
  const auto count = static_cast<int>(SendMessage(box, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) rows.push_back(static_cast<int>(SendMessage(box, LB_GETITEMDATA, i, 0)));
  return rows;
}
int Selected(HWND dialog, int list) {
  return static_cast<int>(SendMessage(GetDlgItem(dialog, list), LB_GETCURSEL, 0, 0));
}
void Select(HWND dialog, int list, int row) {
  SendMessage(GetDlgItem(dialog, list), LB_SETCURSEL, row, 0);
}
std::vector<int> Range(int from, int to) {  // from .. to - 1
  std::vector<int> v;
  for (int i = from; i < to; ++i) v.push_back(i);
  return v;
}
CString Name(int index) {
  return GetTransitionList()->GetAt(index)->strName;
}

class RandomTransitionDlgTest : public SlideDialogTest {
 protected:
  void SetUp() override {
    SlideDialogTest::SetUp();
    ASSERT_GE(Count(), 6) << "the built-in transitions";
    Settings().TransitionName.RemoveAll();
    Settings().EmptySubsetIsValid = 0;
  }
  static CTransitionSettings& Settings() { return GetAppSettings()->Transition; }
  static int Count() { return static_cast<int>(GetTransitionList()->GetSize()); }
  void Saved(std::initializer_list<int> indexes) {
    Settings().TransitionName.RemoveAll();
    for (int i : indexes) Settings().TransitionName.Add(Name(i));
  }

  pictavo::test::ScratchDir m_folder;
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_folder / "config").c_str()};
};

}  // namespace

TEST_F(RandomTransitionDlgTest, StartsFromTheSavedSubset) {
  struct Case {
    const char* what;
    std::vector<int> saved;  // indexes; -1 stands for a name no longer in the list
    int emptyIsValid;
    std::vector<int> subset;
    bool okEnabled;
  };
  const Case cases[] = {
      {"no saved subset", {}, 0, Range(1, Count()), true},
      {"an empty subset chosen before", {}, 1, {}, false},
      {"saved names, one gone", {4, -1, 2}, 0, {2, 4}, true},
  };
  bool first = true;
  for (const Case& c : cases) {
    Settings().TransitionName.RemoveAll();
    for (int i : c.saved) Settings().TransitionName.Add(i < 0 ? CString("Gone[Nowhere]") : Name(i));
    Settings().EmptySubsetIsValid = c.emptyIsValid;
    CRandomTransitionDlg dialog(0, nullptr);
    Run(dialog, [&](HWND window) {
      EXPECT_EQ(Rows(window, kSubset), c.subset) << c.what;
      EXPECT_EQ(Rows(window, kSubset).size() + Rows(window, kRest).size(), static_cast<size_t>(Count()))
          << c.what;
      EXPECT_EQ(Enabled(window, IDOK), c.okEnabled) << c.what;
      EXPECT_EQ(Text(window, IDOK), "Randomize") << c.what;
      EXPECT_TRUE(Checked(window, IDC_RANDOM_DEFAULT)) << c.what;
      if (first) SnapshotWindow(window, "random-transition-dialog.png");
      first = false;
      return IDCANCEL;
    });
  }
}

TEST_F(RandomTransitionDlgTest, MovesGoToTheTopAndKeepButtonStates) {
  Saved({1, 2, 3});
  CRandomTransitionDlg dialog(0, nullptr);
  Run(dialog, [&](HWND window) {
    const std::vector<int> rest = Rows(window, kRest);  // 0, 4, 5 ...
    EXPECT_EQ(rest[0], 0);
    // "<< Add" of the second unselected row: it tops the subset, selected; the rest selects the
    // row now in its place.
    Select(window, kRest, 1);
    Click(window, IDC_RANDOM_ADD);
    EXPECT_EQ(Rows(window, kSubset), (std::vector<int>{rest[1], 1, 2, 3}));
    EXPECT_EQ(Selected(window, kSubset), 0);
    EXPECT_EQ(Selected(window, kRest), 1);
    // "Remove >>" of the subset's last row: the list selects its new last row.
    Select(window, kSubset, 3);
    Click(window, IDC_RANDOM_REMOVE);
    EXPECT_EQ(Rows(window, kSubset), (std::vector<int>{rest[1], 1, 2}));
    EXPECT_EQ(Selected(window, kSubset), 2);
    EXPECT_EQ(Rows(window, kRest)[0], 3);
    // Add All keeps the moved rows' order above the subset's own.
    std::vector<int> expected = Rows(window, kRest);
    for (int i : Rows(window, kSubset)) expected.push_back(i);
    Click(window, IDC_RANDOM_ADD_ALL);
    EXPECT_EQ(Rows(window, kSubset), expected);
    EXPECT_TRUE(Rows(window, kRest).empty());
    EXPECT_EQ(Selected(window, kSubset), 0);
    EXPECT_TRUE(Enabled(window, IDOK));
    // Nothing selected in an empty list: Add does nothing.
    Click(window, IDC_RANDOM_ADD);
    EXPECT_EQ(Rows(window, kSubset), expected);
    Click(window, IDC_RANDOM_REMOVE_ALL);
    EXPECT_EQ(Rows(window, kRest), expected);
    EXPECT_FALSE(Enabled(window, IDOK)) << "no subset, no Randomize";
    // A double click on an unselected row adds it.
    Select(window, kRest, 2);
    SendMessage(window, WM_COMMAND, MAKEWPARAM(kRest, LBN_DBLCLK),
                reinterpret_cast<LPARAM>(GetDlgItem(window, kRest)));
    EXPECT_EQ(Rows(window, kSubset), (std::vector<int>{expected[2]}));
    EXPECT_TRUE(Enabled(window, IDOK));
    return IDCANCEL;
  });
  EXPECT_EQ(Settings().TransitionName.GetSize(), 3) << "Cancel stores nothing";
}

TEST_F(RandomTransitionDlgTest, StoresTheSubsetInListOrderWhereItShould) {
  struct Case {
    const char* what;
    int mode;
    bool keepDefault;  // "Default setting for next new album" stays checked
    bool emptySubset;  // Remove All first
    WPARAM boxAnswer;  // to the empty-subset question
    INT_PTR result;
    bool stored;
    int boxes;
  };
  const Case cases[] = {
      {"album, default kept", 0, true, false, IDYES, IDOK, true, 0},
      {"album, unchecked", 0, false, false, IDYES, IDOK, false, 0},
      {"defaults mode", 1, true, false, IDYES, IDOK, true, 0},
      {"album, empty, No", 0, true, true, IDNO, IDCANCEL, false, 1},
      {"album, empty, Yes", 0, true, true, IDYES, IDOK, true, 1},
      {"album, empty, unchecked", 0, false, true, IDYES, IDOK, false, 0},
  };
  for (const Case& c : cases) {
    Saved({1, 2});
    Settings().EmptySubsetIsValid = 0;
    g_boxes = 0;
    g_boxAnswer = c.boxAnswer;
    CRandomTransitionDlg dialog(c.mode, nullptr);
    const INT_PTR result = Run(dialog, [&](HWND window) {
      EXPECT_EQ(Text(window, IDOK), c.mode == 1 ? "Ok" : "Randomize") << c.what;
      EXPECT_EQ(IsWindowVisible(GetDlgItem(window, IDC_RANDOM_DEFAULT)) != FALSE, c.mode == 0) << c.what;
      if (c.emptySubset) {
        Click(window, IDC_RANDOM_REMOVE_ALL);
        // Randomize is disabled on an empty subset; the keyboard's Enter still reaches OnOK.
      } else {
        // Two rows added in the opposite of list order: 5 on top of 4, on top of 1, 2.
        for (int index : {4, 5}) {
          const std::vector<int> rest = Rows(window, kRest);
          Select(window, kRest, static_cast<int>(std::find(rest.begin(), rest.end(), index) - rest.begin()));
          Click(window, IDC_RANDOM_ADD);
        }
        EXPECT_EQ(Rows(window, kSubset), (std::vector<int>{5, 4, 1, 2})) << c.what;
      }
      if (!c.keepDefault) {
        Check(window, IDC_RANDOM_DEFAULT, false);
        Click(window, IDC_RANDOM_DEFAULT);
      }
      return IDOK;
    });
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(g_boxes, c.boxes) << c.what;
    std::vector<CString> expected;
    if (!c.emptySubset) expected = {Name(1), Name(2), Name(4), Name(5)};
    std::vector<CString> names;
    for (int i = 0; i < dialog.GetSubsetNames().GetSize(); ++i) names.push_back(dialog.GetSubsetNames()[i]);
    if (result == IDOK) EXPECT_EQ(names, expected) << c.what << ": in transition-list order";
    std::vector<CString> settings;
    for (int i = 0; i < Settings().TransitionName.GetSize(); ++i)
      settings.push_back(Settings().TransitionName[i]);
    EXPECT_EQ(settings, (c.stored ? expected : std::vector<CString>{Name(1), Name(2)})) << c.what;
    EXPECT_EQ(Settings().EmptySubsetIsValid, c.stored ? 1 : 0) << c.what;
  }
}
