#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ComdlgFixture.h"
#include "platform/base/Utf8.h"
#include "platform/comctl/TreeView.h"
#include "platform/comdlg/BrowseForFolder.h"
#include "platform/comdlg/DialogIds.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/UserFolders.h"

using namespace comdlg_test;
using namespace pictavo::comdlg;

namespace {

// What the callback heard: each event with the path of its id list (SELCHANGED) or its text
// (VALIDATEFAILED). On BFFM_INITIALIZED it selects `start` and sets a status line, as callers do.
struct Listener {
  std::string start;
  int validateAnswer = 0;
  std::vector<std::pair<UINT, std::string>> events;

  static int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<Listener*>(data);
    std::string detail;
    if (message == BFFM_SELCHANGED) {
      char path[MAX_PATH] = {};
      SHGetPathFromIDList(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
      detail = path;
    }
    if (message == BFFM_VALIDATEFAILEDA) detail = reinterpret_cast<LPCSTR>(lParam);
    self->events.emplace_back(message, detail);
    if (message == BFFM_INITIALIZED && !self->start.empty()) {
      SendMessage(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->start.c_str()));
      SendMessage(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>("status"));
    }
    return message == BFFM_VALIDATEFAILEDA ? self->validateAnswer : 0;
  }
};

struct Browse {
  explicit Browse(HWND owner, UINT flags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT) {
    info.hwndOwner = owner;
    info.pszDisplayName = name;
    info.lpszTitle = "Current Selection";
    info.ulFlags = flags;
  }
  void Listen(Listener* listener) {
    info.lpfn = Listener::Callback;
    info.lParam = reinterpret_cast<LPARAM>(listener);
  }
  // Runs the dialog; the chosen folder's path, or "" for none.
  std::string Run() {
    LPITEMIDLIST pidl = SHBrowseForFolder(&info);
    if (!pidl) return {};
    char path[MAX_PATH] = {};
    SHGetPathFromIDList(pidl, path);
    ILFree(pidl);
    return path;
  }

  char name[MAX_PATH] = {};
  BROWSEINFO info{};
};

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      SendMessage(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string TextOf(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_HANDLE;
  query.hItem = item;
  query.pszText = text;
  query.cchTextMax = sizeof text;
  SendMessage(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return text;
}

std::vector<std::string> ChildrenOf(HWND tree, HTREEITEM item) {
  std::vector<std::string> names;
  for (HTREEITEM child = Next(tree, TVGN_CHILD, item); child; child = Next(tree, TVGN_NEXT, child))
    names.push_back(TextOf(tree, child));
  return names;
}

bool IsExpanded(HWND tree, HTREEITEM item) {
  return (SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

// The items as the tree shows them, two blanks in for each level.
void AddLines(HWND tree, HTREEITEM first, const std::string& indent, std::vector<std::string>* lines) {
  for (HTREEITEM item = first; item; item = Next(tree, TVGN_NEXT, item)) {
    lines->push_back(indent + TextOf(tree, item));
    if (IsExpanded(tree, item)) AddLines(tree, Next(tree, TVGN_CHILD, item), indent + "  ", lines);
  }
}

class FolderBrowseTest : public ComdlgTest {
 protected:
  struct View {
    std::vector<std::string> lines;     // the whole tree as shown
    std::string selected;               // the selected item's text
    std::vector<std::string> siblings;  // its parent's items
    std::vector<std::string> children;  // its own, when it is open
    std::string path;
    std::string status;
    bool statusVisible = false;
  };
  IdleSteps& Look(View* view, bool wholeTree = false) {
    return Steps().Then([view, wholeTree](HWND dialog) {
      HWND tree = GetDlgItem(dialog, kBrowseTree);
      HTREEITEM selected = Next(tree, TVGN_CARET, nullptr);
      view->lines.clear();
      if (wholeTree) AddLines(tree, Next(tree, TVGN_ROOT, nullptr), "", &view->lines);
      view->selected = TextOf(tree, selected);
      view->siblings = ChildrenOf(tree, Next(tree, TVGN_PARENT, selected));
      view->children = IsExpanded(tree, selected) ? ChildrenOf(tree, selected) : std::vector<std::string>();
      view->path = WindowText(GetDlgItem(dialog, kBrowsePath));
      view->status = WindowText(GetDlgItem(dialog, kBrowseStatus));
      view->statusVisible = IsWindowVisible(GetDlgItem(dialog, kBrowseStatus));
    });
  }
};

TEST_F(FolderBrowseTest, AScriptTypingAFolderAndEnterChoosesIt) {
  const std::string videos = Folder("out/videos");
  const struct {
    std::string typed;
  } cases[] = {{videos}, {m_root + "\\out\\videos"}, {m_root + "/out/videos/"}};
  for (const auto& c : cases) {
    Browse browse(m_owner);
    Script("wait-window \"Browse for Folder\"\ntype " + c.typed + "\nkey Enter", "Browse for Folder");
    EXPECT_EQ(browse.Run(), videos) << c.typed << m_scriptFailure;
    EXPECT_STREQ(browse.name, "videos");
  }
}

TEST_F(FolderBrowseTest, TheCallbackHearsInitializedThenTheSelectionItSet) {
  const std::string start = Folder("projects/2024");
  Folder("projects/2023");
  Listener listener;
  listener.start = start;
  Browse browse(m_owner);
  browse.Listen(&listener);
  View view;
  Look(&view).Key(VK_RETURN);
  EXPECT_EQ(browse.Run(), start);
  EXPECT_FALSE(Steps().Stuck());
  const std::vector<std::pair<UINT, std::string>> expected{{BFFM_INITIALIZED, ""}, {BFFM_SELCHANGED, start}};
  EXPECT_EQ(listener.events, expected);
  EXPECT_EQ(view.path, start);
  EXPECT_EQ(view.selected, "2024");
  EXPECT_EQ(view.siblings, (std::vector<std::string>{"2023", "2024"}));
  EXPECT_EQ(view.status, "status");
  EXPECT_TRUE(view.statusVisible);
}

TEST_F(FolderBrowseTest, WithoutASelectionFromTheCallbackTheFirstOneIsReported) {
  Listener listener;
  Browse browse(m_owner, BIF_RETURNONLYFSDIRS);
  browse.Listen(&listener);
  View view;
  Look(&view).Key(VK_ESCAPE);
  EXPECT_EQ(browse.Run(), "");
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].first, static_cast<UINT>(BFFM_INITIALIZED));
  EXPECT_EQ(listener.events[1], std::make_pair(static_cast<UINT>(BFFM_SELCHANGED), view.path));
  EXPECT_FALSE(view.statusVisible) << "no BIF_STATUSTEXT";
}

TEST_F(FolderBrowseTest, SelectionByIdListAndOpeningAFolderFromTheCaller) {
  const std::string album = Folder("album");
  Folder("album/day1");
  Folder("album/day2");
  Browse browse(m_owner);
  View byList, expanded;
  Steps().Then([&](HWND dialog) {
    LPITEMIDLIST pidl = ILCreateFromPath(album.c_str());
    SendMessage(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(pidl));
    ILFree(pidl);
  });
  const std::wstring wideAlbum = pictavo::utf8::ToWide(album);  // this message takes wide text
  Look(&byList).Then([&](HWND dialog) {
    SendMessage(dialog, BFFM_SETEXPANDED, TRUE, reinterpret_cast<LPARAM>(wideAlbum.c_str()));
  });
  Look(&expanded).Key(VK_ESCAPE);
  EXPECT_EQ(browse.Run(), "");
  EXPECT_EQ(byList.path, album);
  EXPECT_EQ(byList.children, std::vector<std::string>()) << "selected, not opened";
  EXPECT_EQ(expanded.path, album);
  EXPECT_EQ(expanded.children, (std::vector<std::string>{"day1", "day2"}));
}

TEST_F(FolderBrowseTest, TheTreeIsUsableFromTheKeyboardWithinTheRoot) {
  Folder("a/inner");
  Folder("b");
  Folder(".hidden");
  File("file.txt");
  LPITEMIDLIST root = ILCreateFromPath(m_root.c_str());
  Browse browse(m_owner);
  browse.info.pidlRoot = root;
  View atRoot, onA, openedA, onInner, back;
  Look(&atRoot, true).Key(VK_TAB, MOD_SHIFT).Key(VK_DOWN);  // to the tree; down to "a"
  Look(&onA).Key(VK_RIGHT);                                 // open "a"
  Look(&openedA, true).Key(VK_RIGHT);                       // into it
  Look(&onInner).Key(VK_BACK);                              // back to the folder above
  Look(&back).Key(VK_RETURN);                               // Enter chooses the selection
  EXPECT_EQ(browse.Run(), Path("a"));
  ILFree(root);
  EXPECT_FALSE(Steps().Stuck());
  const std::string name = m_root.substr(m_root.rfind('/') + 1);
  EXPECT_EQ(atRoot.lines, (std::vector<std::string>{name, "  a", "  b"})) << "folders only, the root alone";
  EXPECT_EQ(atRoot.path, m_root);
  EXPECT_EQ(onA.path, Path("a"));
  EXPECT_EQ(openedA.lines, (std::vector<std::string>{name, "  a", "    inner", "  b"}));
  EXPECT_EQ(onInner.path, Path("a/inner"));
  EXPECT_EQ(back.path, Path("a"));
}

TEST_F(FolderBrowseTest, WithoutARootTheHomeFolderComesFirstAndIsSelected) {
  const std::string home = pictavo::shell::HomeFolder();
  if (home == "/") GTEST_SKIP() << "the home folder is the file system's root";
  View view;
  Look(&view, true).Key(VK_ESCAPE);
  Browse browse(m_owner);
  EXPECT_EQ(browse.Run(), "");
  std::vector<std::string> tops;
  for (const std::string& line : view.lines)
    if (line.rfind(' ', 0) != 0) tops.push_back(line);
  EXPECT_EQ(tops, (std::vector<std::string>{"Home", "File System (/)"}));
  EXPECT_EQ(view.path, home);
}

TEST_F(FolderBrowseTest, FoldersThatCannotBeChosenAreToldAndTheDialogStays) {
  const std::string file = File("inside/file.txt");
  const std::string inside = Path("inside");
  LPITEMIDLIST root = ILCreateFromPath(inside.c_str());
  const std::string cases[] = {Path("inside/missing"), file, m_root};  // missing, a file, outside the root
  for (const std::string& typed : cases) {
    Browse browse(m_owner);
    browse.info.pidlRoot = root;
    Script(
        "wait-window \"Browse for Folder\"\ntype " + typed +
            "\nkey Enter\nwait-window \"Browse for Folder\"\nkey Enter\nwait-window \"Browse for Folder\"\n"
            "key Escape",
        "Browse for Folder");
    EXPECT_EQ(browse.Run(), "") << typed;
    EXPECT_EQ(m_scriptFailure, "") << typed;
  }
  ILFree(root);
}

TEST_F(FolderBrowseTest, ValidationGoesToTheCallbackWhenAskedFor) {
  for (int answer : {0, 1}) {
    Listener listener;
    listener.validateAnswer = answer;
    Browse browse(m_owner, BIF_VALIDATE | BIF_EDITBOX);
    browse.Listen(&listener);
    Steps().Type("/no/such/folder").Key(VK_RETURN);
    if (answer) Steps().Key(VK_ESCAPE);  // the callback kept the dialog up
    EXPECT_EQ(browse.Run(), "");
    EXPECT_FALSE(Steps().Stuck()) << answer;
    EXPECT_EQ(listener.events.back(),
              std::make_pair(static_cast<UINT>(BFFM_VALIDATEFAILEDA), std::string("/no/such/folder")));
  }
}

}  // namespace
