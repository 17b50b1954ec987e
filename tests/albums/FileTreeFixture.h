// What the folder tree's tests share: a home folder of their own (with its desktop and documents
// folders and a trash), a dialog that hosts the tree as the file browser panel does (control 1020
// subclassed by a CFileTreeCtrl made with new), the selection notifications the host hears, a
// pump that gives the tree its keys as the program's loop does, and answers to message boxes.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "albums/FileTreeCtrl.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/InputSynth.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/WinThread.h"
#include "platform/res/ResourceModule.h"
#include "platform/user/Dialog.h"
#include "platform/user/MessageBox.h"
#include "platform/user/User.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

namespace filetree_test {

constexpr UINT kHostDialog = 64460, kTreeId = 1020;

// The host: the tree as the panel makes it, and what the host hears of it.
class CTreeHostDlg : public CDialog {
 public:
  CTreeHostDlg() : CDialog(kHostDialog) {}
  ~CTreeHostDlg() override {
    if (GetSafeHwnd()) DestroyWindow();
    delete m_pTree;
  }

  // Made before OnInitDialog subclasses the control: a test may bring a tree of its own kind.
  CFileTreeCtrl* m_pTree = nullptr;
  struct Heard {
    HTREEITEM item;
    std::string path;
  };
  std::vector<Heard> m_selections;  // TVN_SELCHANGED as the host got it
  // Questions (message boxes) answered while they were up, and the answers to give, in order.
  std::deque<int> m_answers;
  std::vector<std::string> m_questions;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (!m_pTree) m_pTree = new CFileTreeCtrl;
    m_pTree->SubclassDlgItem(kTreeId, this);
    return TRUE;
  }
  afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    // The item must still exist: its record is read here, as the panel reads the path.
    m_selections.push_back({nm->itemNew.hItem, m_pTree->GetItemPath(nm->itemNew.hItem).GetString()});
    *pResult = 0;
  }
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho) {
    if (nWhy != MSGF_DIALOGBOX || !pWho) return;
    char text[512] = "";
    ::GetWindowText(::GetDlgItem(pWho->GetSafeHwnd(), pictavo::user::kMessageBoxTextId), text, sizeof text);
    m_questions.push_back(text);
    const int answer = m_answers.empty() ? IDCANCEL : m_answers.front();
    if (!m_answers.empty()) m_answers.pop_front();
    ::EndDialog(pWho->GetSafeHwnd(), answer);
  }
  DECLARE_MESSAGE_MAP()
};

class FileTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(pictavo::display::Initialize());
    const char* bin = std::getenv("PICTAVO_BIN_DIR");
    pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
    InitCommonControls();
  }

  void SetUp() override {
    m_home = m_scratch / "home/me";
    for (const char* folder : {"Desktop/Shots", "Documents/Letters", "Pictures/Trip/Day1", "Pictures/trip",
                               "Pictures/.thumbnails", "Music", "Videos"})
      Folder("home/me/" + std::string(folder));
    m_scratch.Write("home/me/Pictures/Trip/a.jpg", "jpeg");
    m_scratch.Write("home/me/Music/song.mp3", "mp3");
  }

  void TearDown() override {
    m_host.reset();
    pictavo::test::PumpPending();
  }

  // Opens the host with the tree set up as the file browser panel sets it up; `editing` switches
  // renaming, deleting and new folders on.
  CFileTreeCtrl& OpenTree(bool editing = false, CFileTreeCtrl* tree = nullptr) {
    m_host = std::make_unique<CTreeHostDlg>();
    m_host->m_pTree = tree;
    EXPECT_TRUE(m_host->Create(kHostDialog));
    m_host->SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_host->ShowWindow(SW_SHOW);
    CFileTreeCtrl& t = *m_host->m_pTree;
    t.AttachImageList();
    t.SetShowDesktop(TRUE);
    t.SetShowMyDocuments(TRUE);
    t.SetShowNetwork(TRUE);
    t.SetShowFiles(FALSE);
    t.SetAllowRename(editing);
    t.SetAllowOpen(FALSE);
    t.SetAllowProperties(FALSE);
    t.SetAllowDelete(editing);
    t.SetAllowCreateFolder(editing);
    t.SetFocus();
    return t;
  }

  // Handles the queue as the program's loop does: the tree sees its keys first.
  static void PumpWithKeys() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (AfxPreTranslateMessage(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  static void Press(UINT key, UINT modifiers = 0) {
    pictavo::display::PressKey(key, modifiers);
    PumpWithKeys();
  }
  static void Type(const std::string& text) {
    pictavo::display::TypeText(text);
    PumpWithKeys();
  }

  std::string Folder(const std::string& relative) {
    const std::string path = m_scratch / relative;
    std::filesystem::create_directories(path);
    return path;
  }
  std::string Home(const std::string& relative = "") const {
    return relative.empty() ? m_home : m_home + "/" + relative;
  }
  static std::vector<std::string> ChildTexts(CFileTreeCtrl& tree, HTREEITEM item) {
    std::vector<std::string> texts;
    for (HTREEITEM child = item == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(item); child;
         child = tree.GetNextSiblingItem(child))
      texts.emplace_back(tree.GetItemText(child).GetString());
    return texts;
  }
  // The nearest special root (Home, Documents, Computer, or else the desktop) above an item.
  static HTREEITEM RootAbove(CFileTreeCtrl& tree, HTREEITEM item) {
    for (HTREEITEM p = tree.GetParentItem(item); p; p = tree.GetParentItem(p))
      if (p == tree.GetUserProfileItem() || p == tree.GetMyDocumentsItem() || p == tree.GetMyComputerItem() ||
          p == tree.GetDesktopItem())
        return p;
    return nullptr;
  }
  std::string SaveSnapshot(const std::string& name) {
    RECT area;
    m_host->GetWindowRect(&area);
    return pictavo::test::SaveDesktopArea(area, name);
  }

  pictavo::test::ScratchDir m_scratch;
  std::string m_home;
  pictavo::test::ScopedEnv m_homeVariable{"HOME", (m_scratch / "home/me").c_str()};
  pictavo::test::ScopedEnv m_config{"XDG_CONFIG_HOME", (m_scratch / "config").c_str()};
  pictavo::test::ScopedEnv m_data{"XDG_DATA_HOME", (m_scratch / "home/me/.local/share").c_str()};
  std::unique_ptr<CTreeHostDlg> m_host;
};

}  // namespace filetree_test
