#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComdlgFixture.h"
#include "platform/comdlg/CommDlg.h"
#include "platform/comdlg/DialogIds.h"

using namespace comdlg_test;
using namespace pictavo::comdlg;
using namespace std::string_literals;

namespace {

const std::string kImages = "Images (*.jpg;*.png)\0*.jpg;*.png\0Text\0*.txt\0All Files\0*.*\0\0"s;

// An OPENFILENAME with its own buffers, as a program fills one.
struct Record {
  Record(HWND owner, DWORD flags, size_t size = 16384, const std::string& filter = kImages)
      : file(size, '\0'), filter(filter) {
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = this->filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.Flags = flags;
  }
  Record(const Record&) = delete;

  std::string File() const { return file.data(); }

  std::vector<char> file;
  std::string filter;
  char title[MAX_PATH] = {};
  OPENFILENAME ofn{};
};

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_NOCHANGEDIR;

class FileDialogTest : public ComdlgTest {
 protected:
  // The list, the folder shown and the name edit of the dialog, as the user sees them.
  struct View {
    std::vector<std::string> list;
    std::string folder;
    std::string name;
  };
  static View ViewOf(HWND dialog) {
    View view;
    view.list = ListItems(GetDlgItem(dialog, kFileList));
    view.folder = WindowText(GetDlgItem(dialog, kFileFolders));
    view.name = WindowText(GetDlgItem(dialog, kFileName));
    return view;
  }
  IdleSteps& Look(View* view) {
    return Steps().Then([view](HWND dialog) { *view = ViewOf(dialog); });
  }
};

TEST_F(FileDialogTest, AScriptTypingAPathAndEnterGetsThatPath) {
  File("photos/IMG_0001.JPG");
  File("photos/sub/b.png");
  File("notes.txt");
  struct Case {
    std::string typed;
    std::string chosen;  // below the test folder
  };
  const Case cases[] = {
      {Path("photos/IMG_0001.JPG"), "photos/IMG_0001.JPG"},  // a full path
      {"notes.txt", "notes.txt"},                            // a name in the folder shown
      {"photos\\sub\\b.png", "photos/sub/b.png"},            // a relative path, Windows style
      {"photos/sub/../../notes.txt", "notes.txt"},
  };
  for (const Case& c : cases) {
    Record r(m_owner, kOpenFlags | OFN_FILEMUSTEXIST);
    r.ofn.lpstrInitialDir = m_root.c_str();
    Script("wait-window Open\ntype " + c.typed + "\nkey Enter", "Open");
    ASSERT_TRUE(GetOpenFileName(&r.ofn)) << c.typed << ": " << m_scriptFailure;
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    const std::string path = Path(c.chosen);
    EXPECT_EQ(r.File(), path) << c.typed;
    const std::string name = path.substr(path.rfind('/') + 1);
    EXPECT_STREQ(r.title, name.c_str());
    EXPECT_EQ(r.ofn.nFileOffset, path.size() - name.size());
    EXPECT_EQ(r.ofn.nFileExtension, path.rfind('.') + 1);
  }
}

TEST_F(FileDialogTest, SeveralQuotedNamesGiveTheFolderAndTheNames) {
  File("a.jpg");
  File("b b.jpg");
  Record r(m_owner, kOpenFlags | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
  r.ofn.lpstrInitialDir = m_root.c_str();
  Script("wait-window Open\ntype \"a.jpg\" \"b b.jpg\"\nkey Enter", "Open");
  ASSERT_TRUE(GetOpenFileName(&r.ofn)) << m_scriptFailure;
  const std::string expected = m_root + "\0a.jpg\0b b.jpg\0\0"s;
  EXPECT_EQ(std::string(r.file.data(), expected.size()), expected);
  EXPECT_EQ(r.ofn.nFileOffset, m_root.size() + 1);
  EXPECT_EQ(r.ofn.nFileExtension, 0);
}

TEST_F(FileDialogTest, TheOlderMultipleSelectionFormSeparatesNamesWithBlanks) {
  File("a.jpg");
  File("b.jpg");
  File("c d.jpg");
  Record r(m_owner, OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR);
  r.ofn.lpstrInitialDir = m_root.c_str();
  Script("wait-window Open\ntype \"a.jpg\" \"b.jpg\"\nkey Enter", "Open");
  ASSERT_TRUE(GetOpenFileName(&r.ofn)) << m_scriptFailure;
  EXPECT_EQ(r.File(), m_root + " a.jpg b.jpg");

  // A blank inside a name cannot be told from a separator there.
  Record blank(m_owner, OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR);
  blank.ofn.lpstrInitialDir = m_root.c_str();
  Script("wait-window Open\ntype \"a.jpg\" \"c d.jpg\"\nkey Enter", "Open");
  EXPECT_FALSE(GetOpenFileName(&blank.ofn)) << m_scriptFailure;
  EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);
}

TEST_F(FileDialogTest, TypingAFolderOpensItAndItsFilesPassTheFilterWithoutRegardToCase) {
  File("photos/IMG_0001.JPG");
  File("photos/clip.Png");
  File("photos/notes.txt");
  File("photos/.hidden.jpg");
  Folder("photos/Sub");
  Record r(m_owner, kOpenFlags);
  r.ofn.lpstrInitialDir = m_root.c_str();
  View opened, text, typedPattern;
  Steps().Type("photos").Key(VK_RETURN);
  Look(&opened).Key('T', MOD_ALT).Key(VK_DOWN);  // "Files of type:" -> the next filter
  Look(&text).Key('N', MOD_ALT).Type("*.PNG").Key(VK_RETURN);
  Look(&typedPattern).Key(VK_ESCAPE);
  EXPECT_FALSE(GetOpenFileName(&r.ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_FALSE(Steps().Stuck());

  EXPECT_EQ(opened.list, (std::vector<std::string>{"Sub/", "clip.Png", "IMG_0001.JPG"}));
  EXPECT_EQ(opened.folder, Path("photos"));
  EXPECT_EQ(opened.name, "");
  EXPECT_EQ(text.list, (std::vector<std::string>{"Sub/", "notes.txt"}));
  EXPECT_EQ(typedPattern.list, (std::vector<std::string>{"Sub/", "clip.Png"}));
  EXPECT_EQ(typedPattern.name, "*.PNG");
}

TEST_F(FileDialogTest, TheListIsUsableFromTheKeyboard) {
  File("photos/a.jpg");
  File("photos/Sub/inner.jpg");
  const std::string photos = Path("photos");
  Record r(m_owner, kOpenFlags);
  r.ofn.lpstrInitialDir = photos.c_str();
  View inside, back;
  int caretAfterUp = -1;
  Steps().Key(VK_TAB, MOD_SHIFT).Key(VK_HOME).Key(VK_RETURN);  // to the list; "Sub/"; open it
  Look(&inside).Key(VK_BACK);
  Look(&back).Then([&](HWND dialog) {
    caretAfterUp = static_cast<int>(SendDlgItemMessage(dialog, kFileList, LB_GETCURSEL, 0, 0));
  });
  Steps().Key(VK_DOWN).Key(VK_RETURN);  // the file: Enter chooses it
  ASSERT_TRUE(GetOpenFileName(&r.ofn));
  EXPECT_FALSE(Steps().Stuck());
  EXPECT_EQ(inside.folder, Path("photos/Sub"));
  EXPECT_EQ(inside.list, (std::vector<std::string>{"inner.jpg"}));
  EXPECT_EQ(back.folder, Path("photos"));
  EXPECT_EQ(caretAfterUp, 0) << "the folder the user came from is selected";
  EXPECT_EQ(r.File(), Path("photos/a.jpg"));
}

TEST_F(FileDialogTest, CancelReturnsFalseWithoutAnErrorAndLeavesTheBuffer) {
  const char* ways[] = {"key Escape", "click 2"};
  for (const char* way : ways) {
    Record r(m_owner, kOpenFlags);
    std::snprintf(r.file.data(), r.file.size(), "keep.jpg");
    Script("wait-window Open\n"s + way, "Open");
    EXPECT_FALSE(GetOpenFileName(&r.ofn)) << way;
    EXPECT_EQ(CommDlgExtendedError(), 0u) << way;
    EXPECT_EQ(r.File(), "keep.jpg") << way;
    EXPECT_EQ(m_scriptFailure, "") << way;
  }
}

TEST_F(FileDialogTest, ATooSmallBufferGetsTheSizeItNeeds) {
  File("photos/IMG_0001.JPG");
  File("photos/IMG_0002.JPG");
  const struct {
    DWORD flags;
    const char* typed;
    size_t needed;
  } cases[] = {
      {kOpenFlags, "IMG_0001.JPG", Path("photos/IMG_0001.JPG").size() + 1},
      {kOpenFlags | OFN_ALLOWMULTISELECT, "\"IMG_0001.JPG\" \"IMG_0002.JPG\"",
       Path("photos").size() + 1 + 13 + 13 + 1},
  };
  const std::string photos = Path("photos");
  for (const auto& c : cases) {
    Record r(m_owner, c.flags, 16);
    r.ofn.lpstrInitialDir = photos.c_str();
    Script("wait-window Open\ntype "s + c.typed + "\nkey Enter", "Open");
    EXPECT_FALSE(GetOpenFileName(&r.ofn)) << c.typed;
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    const size_t size = static_cast<BYTE>(r.file[0]) | (static_cast<BYTE>(r.file[1]) << 8);
    EXPECT_EQ(size, c.needed) << c.typed;
  }
}

TEST_F(FileDialogTest, SavingOverAFileAsksFirstAndNoKeepsTheDialogOpen) {
  File("report.txt", "old");
  const struct {
    std::string answer;  // the keys after the question
    std::string chosen;
  } cases[] = {
      {"key N\nwait-window \"Save As\"\ntype summary\nkey Enter",
       "summary.txt"},  // the default extension is added
      {"key Y", "report.txt"},
  };
  for (const auto& c : cases) {
    Record r(m_owner, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NOCHANGEDIR, 2048,
             "Text File(*.txt)\0*.txt\0\0"s);
    r.ofn.lpstrDefExt = "txt";
    r.ofn.lpstrInitialDir = m_root.c_str();
    Script("wait-window \"Save As\"\ntype report\nkey Enter\nwait-window \"Save As\"\n" + c.answer,
           "Save As");
    ASSERT_TRUE(GetSaveFileName(&r.ofn)) << m_scriptFailure;
    EXPECT_EQ(r.File(), Path(c.chosen));
  }
}

TEST_F(FileDialogTest, TheDefaultExtensionGoesOnANameTypedWithoutOne) {
  File("photo.jpg");
  File("readme");
  const struct {
    bool save;
    const char* defExt;
    const char* typed;
    const char* chosen;
    bool different;  // OFN_EXTENSIONDIFFERENT
  } cases[] = {
      {true, "txt", "notes", "notes.txt", false},
      {true, "*.iso", "image", "image.iso", false},  // given as a pattern
      {true, "txt", "data.CSV", "data.CSV", true},
      {true, "txt", "draft.", "draft.", true},  // a trailing dot keeps the name as typed
      {true, "TXT", "log.txt", "log.txt", false},
      {false, "jpg", "photo", "photo.jpg", false},
      {false, "jpg", "readme", "readme", true},  // an existing file is taken as it is
  };
  for (const auto& c : cases) {
    Record r(m_owner, OFN_NOCHANGEDIR | OFN_EXPLORER);
    r.ofn.lpstrDefExt = c.defExt;
    r.ofn.lpstrInitialDir = m_root.c_str();
    const std::string title = c.save ? "Save As" : "Open";
    Script("wait-window \"" + title + "\"\ntype " + c.typed + "\nkey Enter", title);
    ASSERT_TRUE(c.save ? GetSaveFileName(&r.ofn) : GetOpenFileName(&r.ofn)) << c.typed << m_scriptFailure;
    EXPECT_EQ(r.File(), Path(c.chosen)) << c.typed;
    EXPECT_EQ((r.ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.different) << c.typed;
    if (std::string(c.chosen).back() == '.') EXPECT_EQ(r.ofn.nFileExtension, 0) << c.typed;
  }
}

TEST_F(FileDialogTest, MissingFilesAndFoldersAreToldAndTheDialogStays) {
  const std::string photos = Folder("photos");
  const struct {
    DWORD flags;
    std::string typed;
  } cases[] = {
      {OFN_FILEMUSTEXIST, "missing.jpg"},
      {OFN_PATHMUSTEXIST, "nowhere/new.jpg"},
  };
  for (const auto& c : cases) {
    Record r(m_owner, kOpenFlags | c.flags);
    r.ofn.lpstrInitialDir = photos.c_str();
    // The box takes the first Enter; Escape then cancels the dialog, which is still up.
    Script("wait-window Open\ntype " + c.typed +
               "\nkey Enter\nwait-window Open\nkey Enter\nwait-window Open\nkey Escape",
           "Open");
    EXPECT_FALSE(GetOpenFileName(&r.ofn)) << c.typed;
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(m_scriptFailure, "");
  }
  // Without the flags the name is the caller's business.
  Record free(m_owner, kOpenFlags);
  free.ofn.lpstrInitialDir = photos.c_str();
  Script("wait-window Open\ntype new.jpg\nkey Enter", "Open");
  ASSERT_TRUE(GetOpenFileName(&free.ofn)) << m_scriptFailure;
  EXPECT_EQ(free.File(), Path("photos/new.jpg"));
}

TEST_F(FileDialogTest, StartsInTheFolderOfTheInitialNameOrTheInitialFolder) {
  File("music/last.mp3");
  Folder("sub");
  Folder("work");
  std::filesystem::current_path(Path("work"));
  const struct {
    std::string file;        // the buffer's initial content
    std::string initialDir;  // empty: none
    std::string folder;
    std::string name;
  } cases[] = {
      {Path("sub/start.iso"), Path("music"), Path("sub"), "start.iso"},
      {"", Path("music/last.mp3"), Path("music"), ""},  // a remembered file means its folder
      {"DiscImage.iso", Path("missing"), Path("work"), "DiscImage.iso"},
      {"*.mp3", Path("music"), Path("music"), "*.mp3"},
  };
  for (const auto& c : cases) {
    Record r(m_owner, kOpenFlags);
    std::snprintf(r.file.data(), r.file.size(), "%s", c.file.c_str());
    if (!c.initialDir.empty()) r.ofn.lpstrInitialDir = c.initialDir.c_str();
    View view;
    Look(&view).Key(VK_ESCAPE);
    EXPECT_FALSE(GetOpenFileName(&r.ofn));
    EXPECT_EQ(view.folder, c.folder) << c.file;
    EXPECT_EQ(view.name, c.name) << c.file;
  }
}

TEST_F(FileDialogTest, RecordSizesOfBothLayoutsAreTaken) {
  const struct {
    DWORD size;
    bool taken;
  } cases[] = {
      {sizeof(OPENFILENAME), true},
      {OPENFILENAME_SIZE_VERSION_400, true},
      {76, true},
      {88, true},
      {0, false},
      {80, false},
  };
  for (const auto& c : cases) {
    Record r(m_owner, kOpenFlags);
    r.ofn.lStructSize = c.size;
    if (c.taken) Steps().Key(VK_ESCAPE);
    EXPECT_FALSE(GetOpenFileName(&r.ofn));
    EXPECT_EQ(CommDlgExtendedError(), c.taken ? 0u : CDERR_STRUCTSIZE) << c.size;
    EXPECT_TRUE(Steps().Done());
  }
  Record noBuffer(m_owner, kOpenFlags);
  noBuffer.ofn.lpstrFile = nullptr;
  EXPECT_FALSE(GetOpenFileName(&noBuffer.ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

TEST_F(FileDialogTest, TheWorkingFolderFollowsTheChoiceUnlessTold) {
  File("photos/a.jpg");
  for (DWORD flags : {DWORD{0}, DWORD{OFN_NOCHANGEDIR}}) {
    std::filesystem::current_path(m_root);
    Record r(m_owner, OFN_EXPLORER | flags);
    Script("wait-window Open\ntype photos/a.jpg\nkey Enter", "Open");
    ASSERT_TRUE(GetOpenFileName(&r.ofn)) << m_scriptFailure;
    EXPECT_EQ(std::filesystem::current_path().string(), flags ? m_root : Path("photos"));
  }
}

TEST_F(FileDialogTest, TheReadOnlyBoxShowsOnlyWhenAskedFor) {
  File("a.jpg");
  const struct {
    bool save;
    DWORD flags;
    bool visible;
    bool readOnlyAfter;
  } cases[] = {
      {false, OFN_READONLY, true, false},  // shown checked; Alt+R clears it
      {false, OFN_HIDEREADONLY, false, false},
      {true, 0, false, false},
  };
  for (const auto& c : cases) {
    Record r(m_owner, kOpenFlags | c.flags);
    r.ofn.lpstrInitialDir = m_root.c_str();
    bool visible = false;
    Steps().Then([&](HWND dialog) { visible = IsWindowVisible(GetDlgItem(dialog, kFileReadOnly)); });
    if (c.visible) Steps().Key('R', MOD_ALT).Key('N', MOD_ALT);
    Steps().Type("a.jpg").Key(VK_RETURN);
    ASSERT_TRUE(c.save ? GetSaveFileName(&r.ofn) : GetOpenFileName(&r.ofn));
    EXPECT_EQ(visible, c.visible);
    EXPECT_EQ((r.ofn.Flags & OFN_READONLY) != 0, c.readOnlyAfter);
  }
}

}  // namespace
