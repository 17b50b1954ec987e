#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComdlgFixture.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/comdlg/FileFilter.h"

using namespace comdlg_test;
using namespace pictavo::comdlg;
using namespace std::string_literals;

namespace {

std::vector<std::string> Descriptions(const CFileDialog& dialog) {
  std::vector<std::string> out;
  for (const FilterEntry& entry : ParseFilter(dialog.m_ofn.lpstrFilter)) out.push_back(entry.description);
  return out;
}

std::vector<std::string> AllPaths(const CFileDialog& dialog) {
  std::vector<std::string> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos;)
    paths.emplace_back(static_cast<LPCTSTR>(dialog.GetNextPathName(pos)));
  return paths;
}

TEST(CFileDialog, FiltersWithBarsBecomeTheRecordsPairs) {
  const struct {
    const char* filter;
    std::vector<std::string> descriptions;
  } cases[] = {
      {"All Supported Project File(*.r7m;*.jvk)|*.r7m;*.jvk||", {"All Supported Project File(*.r7m;*.jvk)"}},
      {"Music Files(*.mp3;*.WMA;*.wav)|*.mp3;*.WMA;*.wav|\t\tMP3 (*.mp3)|*.mp3|Wave(*.wav)|*.wav||",
       {"Music Files(*.mp3;*.WMA;*.wav)", "MP3 (*.mp3)", "Wave(*.wav)"}},
      {"Text|*.txt|", {"Text"}},  // without the closing bars
  };
  for (const auto& c : cases) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER, c.filter);
    EXPECT_EQ(Descriptions(dialog), c.descriptions) << c.filter;
  }
}

TEST(CFileDialog, TheRecordStartsAsTheConstructorSays) {
  CFileDialog save(FALSE, "txt", "DiscImage.iso");
  EXPECT_EQ(save.m_ofn.lStructSize, sizeof(OPENFILENAME));
  EXPECT_EQ(save.m_ofn.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
  EXPECT_STREQ(save.m_ofn.lpstrFile, "DiscImage.iso");
  EXPECT_STREQ(save.m_ofn.lpstrDefExt, "txt");
  EXPECT_EQ(save.m_ofn.lpstrFilter, nullptr);
  CFileDialog sized(TRUE, nullptr, nullptr, 0, nullptr, nullptr, 88);
  EXPECT_EQ(sized.m_ofn.lStructSize, 88u);
}

TEST(CFileDialog, ChosenPathsOneByOne) {
  const struct {
    DWORD flags;
    std::string buffer;
    std::string pathName;
    std::vector<std::string> paths;
  } cases[] = {
      {OFN_EXPLORER | OFN_ALLOWMULTISELECT,
       "/music\0a.mp3\0b.mp3\0\0"s,
       "/music",
       {"/music/a.mp3", "/music/b.mp3"}},
      {OFN_EXPLORER | OFN_ALLOWMULTISELECT, "/music/a.mp3\0\0"s, "/music/a.mp3", {"/music/a.mp3"}},
      {OFN_EXPLORER | OFN_ALLOWMULTISELECT, "/\0a\0b\0\0"s, "/", {"/a", "/b"}},
      {OFN_EXPLORER, "/music/a b.mp3\0"s, "/music/a b.mp3", {"/music/a b.mp3"}},
      {OFN_ALLOWMULTISELECT, "/music a.mp3 b.mp3\0"s, "/music a.mp3 b.mp3", {"/music/a.mp3", "/music/b.mp3"}},
  };
  for (const auto& c : cases) {
    CFileDialog dialog(TRUE);
    std::vector<char> buffer(64, '\0');
    std::copy(c.buffer.begin(), c.buffer.end(), buffer.begin());
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.m_ofn.Flags = c.flags;
    EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetPathName())), c.pathName);
    EXPECT_EQ(AllPaths(dialog), c.paths) << c.pathName;
  }
}

using CommonDialogsTest = ComdlgTest;

TEST_F(CommonDialogsTest, ASaveDialogAsTheProgramSetsItUp) {
  CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Text File(*.txt)|*.txt||", CWnd::FromHandle(m_owner));
  std::vector<char> name(2048, '\0');
  dialog.m_ofn.lStructSize = 88;
  dialog.m_ofn.lpstrFile = name.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(name.size());
  dialog.m_ofn.lpstrInitialDir = m_root.c_str();
  dialog.m_ofn.Flags |= OFN_NOCHANGEDIR;
  Script("wait-window \"Save As\"\ntype Report 1\nkey Enter", "Save As");
  ASSERT_EQ(dialog.DoModal(), IDOK) << m_scriptFailure;
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetPathName())), Path("Report 1.txt"));
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetFileName())), "Report 1.txt");
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetFileExt())), "txt");
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetFileTitle())), "Report 1");
}

TEST_F(CommonDialogsTest, AnOpenDialogWithSeveralFiles) {
  File("music/one.mp3");
  File("music/two.WAV");
  const std::string music = Path("music");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_ALLOWMULTISELECT,
                     "Music Files(*.mp3;*.WMA;*.wav)|*.mp3;*.WMA;*.wav|\t\tMP3 (*.mp3)|*.mp3||",
                     CWnd::FromHandle(m_owner));
  std::vector<char> name(16384, '\0');
  dialog.m_ofn.lStructSize = 88;
  dialog.m_ofn.lpstrFile = name.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(name.size());
  dialog.m_ofn.lpstrInitialDir = music.c_str();
  dialog.m_ofn.Flags |= OFN_NOCHANGEDIR;
  // Shift+Tab reaches the list; Shift+End selects from the first file to the last.
  Steps().Key(VK_TAB, MOD_SHIFT).Key(VK_HOME).Key(VK_END, MOD_SHIFT).Key('N', MOD_ALT).Key(VK_RETURN);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(Steps().Stuck());
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(dialog.GetPathName())), music);
  EXPECT_EQ(AllPaths(dialog), (std::vector<std::string>{music + "/one.mp3", music + "/two.WAV"}));
}

TEST_F(CommonDialogsTest, AColourDialogAndTheCustomColoursItKeeps) {
  CColorDialog first(RGB(10, 20, 30), CC_FULLOPEN, CWnd::FromHandle(m_owner));
  EXPECT_EQ(first.m_cc.lpCustColors, CColorDialog::GetSavedCustomColors());
  // The starting colour becomes a custom one; Enter away from the Add button is OK.
  Steps().Key('A', MOD_ALT).Key('B', MOD_ALT).Key(VK_RETURN);
  ASSERT_EQ(first.DoModal(), IDOK);
  EXPECT_EQ(first.GetColor(), RGB(10, 20, 30));
  EXPECT_EQ(CColorDialog::GetSavedCustomColors()[0], RGB(10, 20, 30));
  EXPECT_EQ(CColorDialog::GetSavedCustomColors()[1], RGB(255, 255, 255));

  CColorDialog second(0, 0, CWnd::FromHandle(m_owner));
  Steps().Key(VK_ESCAPE);
  EXPECT_EQ(second.DoModal(), IDCANCEL);
  EXPECT_EQ(second.GetColor(), RGB(0, 0, 0));
}

}  // namespace
