// File operations: delete to the trash or for good, copy, move and rename, with the change
// notifications they send and the questions they ask.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/shellapi/Shell.h"
#include "platform/user/Dialog.h"
#include "platform/user/MessageBox.h"
#include "platform/user/User.h"
#include "tests/platform/shellapi/ShellFixture.h"
#include "tests/support/ScratchDir.h"

namespace {

using pictavo::test::Exists;
using pictavo::test::ReadWholeFile;
using shell_test::TempHome;

// A double-NUL-terminated list.
std::string List(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& path : paths) (out += path) += '\0';
  return out + '\0';
}

int Operate(UINT func, const std::vector<std::string>& from, const std::vector<std::string>& to = {},
            FILEOP_FLAGS flags = FOF_NOCONFIRMATION | FOF_NOERRORUI, BOOL* aborted = nullptr,
            HWND owner = nullptr) {
  const std::string source = List(from), target = List(to);
  SHFILEOPSTRUCT op{};
  op.hwnd = owner;
  op.wFunc = func;
  op.pFrom = source.c_str();
  op.pTo = to.empty() ? nullptr : target.c_str();
  op.fFlags = flags;
  op.fAnyOperationsAborted = TRUE;
  const int result = SHFileOperation(&op);
  if (aborted) *aborted = op.fAnyOperationsAborted;
  return result;
}

// Changes reported while it lives.
struct Changes {
  std::vector<pictavo::shell::ChangeEvent> seen;
  pictavo::shell::ChangeSubscription subscription =
      pictavo::shell::SubscribeToChanges([this](const pictavo::shell::ChangeEvent& e) { seen.push_back(e); });
};

TEST_F(TempHome, DeleteWithUndoMovesToTheTrash) {
  const std::string photo = File("Pictures/My Trip/beach 1.jpg", "first");
  Changes changes;
  ASSERT_EQ(Operate(FO_DELETE, {photo}, {}, FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
  EXPECT_FALSE(Exists(photo));
  const std::string trash = Home() + "/.local/share/Trash";
  EXPECT_EQ(ReadWholeFile(trash + "/files/beach 1.jpg"), "first");
  const std::string info = ReadWholeFile(trash + "/info/beach 1.jpg.trashinfo");
  EXPECT_EQ(
      info.rfind("[Trash Info]\nPath=" + Home() + "/Pictures/My%20Trip/beach%201.jpg\nDeletionDate=", 0), 0u)
      << info;
  EXPECT_EQ(info.size(),
            info.find("DeletionDate=") + std::string("DeletionDate=2024-01-01T00:00:00\n").size());
  ASSERT_EQ(changes.seen.size(), 1u);
  EXPECT_EQ(changes.seen[0].eventId, SHCNE_DELETE);
  EXPECT_EQ(changes.seen[0].path1, photo);

  // The same name again gets a number; a folder goes whole.
  File("Pictures/My Trip/beach 1.jpg", "second");
  const std::string folder = Folder("Pictures/My Trip");
  ASSERT_EQ(Operate(FO_DELETE, {photo, folder}, {}, FOF_ALLOWUNDO | FOF_NOCONFIRMATION), 0);
  EXPECT_EQ(ReadWholeFile(trash + "/files/beach 1.2.jpg"), "second");
  EXPECT_TRUE(Exists(trash + "/info/beach 1.2.jpg.trashinfo"));
  EXPECT_TRUE(Exists(trash + "/files/My Trip"));
  EXPECT_FALSE(Exists(folder));
}

TEST_F(TempHome, DeleteWithoutUndoIsForGood) {
  const std::string folder = Folder("Album");
  File("Album/a.jpg");
  File("Album/Sub/b.jpg");
  File("keep.jpg");
  ASSERT_EQ(Operate(FO_DELETE, {folder}), 0);
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(Home() + "/.local/share/Trash/files/Album"));
  EXPECT_TRUE(Exists(Home() + "/keep.jpg"));

  // Wildcards take every match; a missing source stops with its error.
  File("Shots/1.jpg");
  File("Shots/2.JPG");
  File("Shots/3.png");
  ASSERT_EQ(Operate(FO_DELETE, {Home() + "/Shots/*.jpg"}), 0);
  EXPECT_FALSE(Exists(Home() + "/Shots/1.jpg"));
  EXPECT_FALSE(Exists(Home() + "/Shots/2.JPG"));
  EXPECT_TRUE(Exists(Home() + "/Shots/3.png"));
  EXPECT_EQ(Operate(FO_DELETE, {Home() + "/Shots/none.jpg"}), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Operate(FO_DELETE, {Home() + "/Nowhere/none.jpg"}), ERROR_PATH_NOT_FOUND);
}

TEST_F(TempHome, CopyMoveAndRename) {
  const std::string photo = File("a/photo.jpg", "pixels");
  const std::string target = Folder("b");
  Changes changes;

  ASSERT_EQ(Operate(FO_COPY, {photo}, {target}), 0);
  EXPECT_EQ(ReadWholeFile(target + "/photo.jpg"), "pixels") << "into an existing folder";
  ASSERT_EQ(Operate(FO_COPY, {photo}, {Home() + "/c/renamed.jpg"}), 0);
  EXPECT_EQ(ReadWholeFile(Home() + "/c/renamed.jpg"), "pixels") << "to a new name, its folder made";
  ASSERT_EQ(Operate(FO_COPY, {photo}, {photo}), 0);
  EXPECT_EQ(ReadWholeFile(Home() + "/a/photo - Copy.jpg"), "pixels") << "a copy onto itself";
  ASSERT_EQ(Operate(FO_COPY, {photo}, {Home() + "/a"}), 0);
  EXPECT_TRUE(Exists(Home() + "/a/photo - Copy (2).jpg"));
  ASSERT_EQ(Operate(FO_COPY, {Home() + "/a"}, {Home() + "/a/inner"}), ERROR_INVALID_PARAMETER)
      << "a folder into itself";

  ASSERT_EQ(Operate(FO_MOVE, {Home() + "/a"}, {Home() + "/moved"}), 0);
  EXPECT_FALSE(Exists(Home() + "/a"));
  EXPECT_EQ(ReadWholeFile(Home() + "/moved/photo.jpg"), "pixels");

  // Rename: a bare name stays in the folder; a taken name is refused and nothing changes.
  ASSERT_EQ(Operate(FO_RENAME, {Home() + "/moved/photo.jpg"}, {"beach.jpg"}, FOF_ALLOWUNDO | FOF_NOERRORUI),
            0);
  EXPECT_EQ(ReadWholeFile(Home() + "/moved/beach.jpg"), "pixels");
  File("moved/taken.jpg", "other");
  EXPECT_EQ(Operate(FO_RENAME, {Home() + "/moved/beach.jpg"}, {Home() + "/moved/taken.jpg"}),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadWholeFile(Home() + "/moved/taken.jpg"), "other");
  EXPECT_EQ(ReadWholeFile(Home() + "/moved/beach.jpg"), "pixels");

  bool sawRename = false, sawCreate = false;
  for (const auto& e : changes.seen) {
    sawCreate |= e.eventId == SHCNE_CREATE && e.path1 == target + "/photo.jpg";
    sawRename |= e.eventId == SHCNE_RENAMEITEM && e.path1 == Home() + "/moved/photo.jpg" &&
                 e.path2 == Home() + "/moved/beach.jpg";
  }
  EXPECT_TRUE(sawCreate);
  EXPECT_TRUE(sawRename);
}

// Answers every question with `answer` and remembers the texts asked.
class Answerer {
 public:
  explicit Answerer(int answer) : m_answer(answer) {
    WNDCLASS wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "FileOperationAnswerer";
    RegisterClass(&wc);
    m_owner =
        CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, this);
    SetWindowLongPtr(m_owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Answerer() { DestroyWindow(m_owner); }
  HWND Owner() const { return m_owner; }
  const std::vector<std::string>& Questions() const { return m_questions; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE) {
      auto* self = reinterpret_cast<Answerer*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
      HWND box = reinterpret_cast<HWND>(lParam);
      char text[512] = "";
      GetWindowText(GetDlgItem(box, pictavo::user::kMessageBoxTextId), text, sizeof text);
      self->m_questions.push_back(text);
      EndDialog(box, self->m_answer);
      return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
  }

  int m_answer;
  HWND m_owner = nullptr;
  std::vector<std::string> m_questions;
};

TEST_F(TempHome, QuestionsBeforeDeletingAndReplacing) {
  const std::string photo = File("photo.jpg", "mine");
  {
    Answerer no(IDNO);
    BOOL aborted = FALSE;
    EXPECT_EQ(Operate(FO_DELETE, {photo}, {}, FOF_ALLOWUNDO, &aborted, no.Owner()), ERROR_CANCELLED);
    EXPECT_TRUE(aborted);
    EXPECT_TRUE(Exists(photo)) << "kept";
    ASSERT_EQ(no.Questions().size(), 1u);
    EXPECT_EQ(no.Questions()[0], "Are you sure you want to move 'photo.jpg' to the Trash?");
  }
  const std::string other = File("b/photo.jpg", "theirs");
  {
    Answerer no(IDNO);
    BOOL aborted = FALSE;
    EXPECT_EQ(Operate(FO_COPY, {photo}, {Home() + "/b"}, 0, &aborted, no.Owner()), 0);
    EXPECT_TRUE(aborted) << "the one file was skipped";
    EXPECT_EQ(ReadWholeFile(other), "theirs");
    ASSERT_EQ(no.Questions().size(), 1u);
  }
  {
    Answerer yes(IDYES);
    BOOL aborted = TRUE;
    EXPECT_EQ(Operate(FO_COPY, {photo}, {Home() + "/b"}, 0, &aborted, yes.Owner()), 0);
    EXPECT_FALSE(aborted);
    EXPECT_EQ(ReadWholeFile(other), "mine");
  }
  {
    Answerer ok(IDOK);
    EXPECT_EQ(Operate(FO_RENAME, {photo}, {Home() + "/b/photo.jpg"}, 0, nullptr, ok.Owner()),
              ERROR_ALREADY_EXISTS);
    ASSERT_EQ(ok.Questions().size(), 1u) << "the failure is shown";
    EXPECT_NE(ok.Questions()[0].find("Cannot rename photo.jpg"), std::string::npos) << ok.Questions()[0];
  }
}

TEST(ChangeNotify, ListenersHearPathsUntilTheyUnsubscribe) {
  std::vector<pictavo::shell::ChangeEvent> seen;
  {
    auto subscription =
        pictavo::shell::SubscribeToChanges([&](const pictavo::shell::ChangeEvent& e) { seen.push_back(e); });
    SHChangeNotify(SHCNE_MKDIR, SHCNF_PATH, "/tmp/New Folder", nullptr);
    SHChangeNotify(SHCNE_RENAMEFOLDER, SHCNF_PATHW | SHCNF_FLUSH, L"/tmp/a", L"/tmp/b");
    LPITEMIDLIST pidl = ILCreateFromPath("/");
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, pidl, nullptr);
    ILFree(pidl);
  }
  SHChangeNotify(SHCNE_DELETE, SHCNF_PATH, "/tmp/after", nullptr);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].eventId, SHCNE_MKDIR);
  EXPECT_EQ(seen[0].path1, "/tmp/New Folder");
  EXPECT_EQ(seen[1].path2, "/tmp/b");
  EXPECT_EQ(seen[2].path1, "/");
}

}  // namespace
