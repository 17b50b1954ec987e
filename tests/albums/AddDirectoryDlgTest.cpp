// The question before the photos of a folder are added: the caller's message shows, the
// sub-folder check box is read back after Yes, and No leaves the caller's flag alone.
// Snapshot: add-directory.png.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "albums/SmallAlbumDialogs.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/res/ResourceModule.h"
#include "tests/support/Snapshot.h"

namespace {

struct Answer {
  bool tick = false;
  UINT button = IDOK;
  bool seen = false;
  std::string message;
  const char* snapshot = nullptr;
};
Answer g_answer;

void CALLBACK AnswerAddDirectory(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindow(nullptr, "Add photos of a directory to the album");
  if (g_answer.seen || dialog == nullptr || !IsWindowVisible(dialog)) return;
  g_answer.seen = true;
  char text[512] = {};
  GetDlgItemText(dialog, IDC_ADD_DIRECTORY_MESSAGE, text, sizeof text);
  g_answer.message = text;
  if (g_answer.tick) CheckDlgButton(dialog, IDC_ADD_DIRECTORY_SUBFOLDERS, BST_CHECKED);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (g_answer.snapshot != nullptr)
    pictavo::display::Headless()->SaveSnapshot(pictavo::test::SnapshotPath(g_answer.snapshot), dialog);
  PostMessage(dialog, WM_COMMAND, g_answer.button, 0);
}

}  // namespace

TEST(AddDirectoryDlg, ShowsTheMessageAndReadsTheSubfolderChoiceOnYes) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  const char* bin = std::getenv("PICTAVO_BIN_DIR");
  pictavo::res::SetResourceRoot(std::string(bin ? bin : ".") + "/resources");
  InitCommonControls();
  struct Case {
    bool tick;
    UINT button;
    INT_PTR result;
    int include;
    const char* snapshot;
  };
  const Case cases[] = {{true, IDOK, IDOK, 1, "add-directory.png"},
                        {false, IDOK, IDOK, 0, nullptr},
                        {true, IDCANCEL, IDCANCEL, 0, nullptr}};
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &AnswerAddDirectory);
  for (const Case& c : cases) {
    g_answer = {c.tick, c.button, false, {}, c.snapshot};
    CAddDirectoryDlg dialog;
    dialog.m_strMessage = "Do you want to add photos of /home/me/Pictures/Trip to the album?";
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_TRUE(g_answer.seen);
    EXPECT_EQ(g_answer.message, "Do you want to add photos of /home/me/Pictures/Trip to the album?");
    EXPECT_EQ(dialog.m_bIncludeSubDirectories, c.include) << c.tick << " " << c.button;
  }
  KillTimer(nullptr, timer);
}
